// GRUPOST: course, level and letter split from the name, the shift from the
// regime, the description from the name and the element's own text.
#include "export_test_support.h"

#include <gtest/gtest.h>

namespace enlazor::testing {
namespace {

struct GroupNameCase {
    const char* title;
    const char* name;
    const char* curso;
    const char* nivel;
    const char* grupo;
    const char* abrev;
};

class GroupTableFields : public ::testing::TestWithParam<GroupNameCase> {};

TEST_P(GroupTableFields, SplitTheGroupName) {
    TempDir dir;
    export_xml(saga_document(std::string("<groups><group id='G' regim='ORD-M' name='") +
                             GetParam().name + "'>Texto</group></groups>"),
               dir.path());
    const TableContents groups = read_table(dir.path(), "GRUPOST");
    ASSERT_EQ(groups.rows.size(), 1u);
    EXPECT_EQ(groups.column("CURSO")[0], GetParam().curso);
    EXPECT_EQ(groups.column("NIVEL")[0], GetParam().nivel);
    EXPECT_EQ(groups.column("GRUPO")[0], GetParam().grupo);
    EXPECT_EQ(groups.column("ABREV")[0], GetParam().abrev);
}

// NIVEL is cut to 5 by its field; a dBase reader gives text fields back
// without the blanks that fill them, so "BACH " of "BACH CT" reads "BACH".
INSTANTIATE_TEST_SUITE_P(Names, GroupTableFields, ::testing::Values(
    GroupNameCase{"Usual", "1 ESO A", "1", "ESO", "A", "1EA"},
    GroupNameCase{"TwoWordLevelCut", "2 BACH CT B", "2", "BACH", "B", "2BC"},
    GroupNameCase{"OneSpace", "1ESO A", "1", "", "A", "1A"},
    GroupNameCase{"NoSpace", "Taller", "T", "", "r", "T"},
    GroupNameCase{"TwoWords", "3 A", "3", "", "A", "3A"},
    GroupNameCase{"AdjacentSpaces", "1  A", "1", "", "A", "1 A"},
    GroupNameCase{"LongLevelCut", "4 ESO DIV D", "4", "ESO D", "D", "4ED"},
    GroupNameCase{"OneCharacter", "A", "A", "", "A", "A"},
    GroupNameCase{"Empty", "", "", "", "", ""}),
    [](const auto& info) { return std::string(info.param.title); });

struct ShiftCase {
    const char* title;
    const char* regim_attribute;  // as written in the element
    Text8 turno;
};

class GroupShift : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(GroupShift, IsTheLastCharacterOfTheTrimmedRegime) {
    TempDir dir;
    export_xml(saga_document(std::string("<groups><group id='G' name='1 ESO A' ") +
                             GetParam().regim_attribute + ">x</group></groups>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "GRUPOST").column("TURNO"),
              std::vector<Text8>{GetParam().turno});
}

INSTANTIATE_TEST_SUITE_P(Regimes, GroupShift, ::testing::Values(
    ShiftCase{"Morning", "regim='ORD-M'", "M"},
    ShiftCase{"TrailingBlanks", "regim='ORD-M   '", "M"},
    ShiftCase{"OnlyBlanks", "regim='   '", ""},
    ShiftCase{"Missing", "", ""},
    ShiftCase{"AccentedLast", "regim='ORD-\xc3\x91'", "\xd1"},
    // A character outside the code page is cut first, then replaced.
    ShiftCase{"OutsideTheCodePage", "regim='ORD-\xe4\xb8\xad'", "?"}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(GroupDescription, JoinsTheNameAndTheFirstChildText) {
    TempDir dir;
    export_xml(saga_document(
                   "<groups>"
                   "<group id='G1' name='1 ESO A' regim='M'>\n   Primero A \t\n</group>"
                   "<group id='G2' name='1 ESO B' regim='M'><assigned-subjects/></group>"
                   "<group id='G3' name='1 ESO C' regim='M'/>"
                   "<group id='G4' name='1 ESO D' regim='M'><d>Grupo <b>D</b></d>tail</group>"
                   "<group id='G5' name='1234567890123456789012345678901234567X' regim='M'>"
                   "Texto</group>"
                   "<group id='G6' name='1 ESO E' regim='M'>Se\xc3\xb1or \xe2\x80\x93 \xc3\xa9</group>"
                   "</groups>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "GRUPOST").column("DESCRIP"),
              (std::vector<Text8>{
                  "1 ESO A (Primero A)",
                  "1 ESO B ()",  // the first child is an element without text
                  "1 ESO C ()",  // no child at all: read as empty
                  "1 ESO D (Grupo D)",
                  "1234567890123456789012345678901234567X (",  // cut to 40
                  cp1252("1 ESO E (Señor – é)"),
              }));
}

} // namespace
} // namespace enlazor::testing
