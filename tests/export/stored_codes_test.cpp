// Codes as the tables store them: derived per table, numbered in document
// order, and cut by the field while the numbering keeps whole candidates.
#include "export_test_support.h"

#include <gtest/gtest.h>

namespace enlazor::testing {
namespace {

enum class Catalog { Subjects, Teachers, Rooms, Groups };

struct StoredCodesCase {
    const char* title;
    Catalog catalog;
    std::vector<std::string> names;
    std::vector<Text8> codes;
};

std::string catalog_xml(Catalog catalog, const std::vector<std::string>& names) {
    std::string body;
    int n = 0;
    for (const std::string& name : names) {
        const std::string id = "\"ID" + std::to_string(++n) + "\"";
        switch (catalog) {
        case Catalog::Subjects:
            body += "<subject id=" + id + " name=\"" + name + "\"/>";
            break;
        case Catalog::Teachers:
            body += "<teacher id=" + id + ">" + name + "</teacher>";
            break;
        case Catalog::Rooms:
            body += "<location id=" + id + ">" + name + "</location>";
            break;
        case Catalog::Groups:
            body += "<group id=" + id + " name=\"" + name + "\" regim=\"ORD-M\">x</group>";
            break;
        }
    }
    switch (catalog) {
    case Catalog::Subjects: return saga_document("<subjects>" + body + "</subjects>");
    case Catalog::Teachers: return saga_document("<teachers>" + body + "</teachers>");
    case Catalog::Rooms: return saga_document("<locations>" + body + "</locations>");
    case Catalog::Groups: return saga_document("<groups>" + body + "</groups>");
    }
    return {};
}

std::vector<Text8> stored_codes(Catalog catalog, const std::filesystem::path& dir) {
    switch (catalog) {
    case Catalog::Subjects: return read_table(dir, "ASIGNOMT").column("CODLARGO");
    case Catalog::Teachers: return read_table(dir, "PROFT").column("ABREV");
    case Catalog::Rooms: return read_table(dir, "AULAT").column("ABREV");
    case Catalog::Groups: return read_table(dir, "GRUPOST").column("ABREV");
    }
    return {};
}

std::vector<std::string> repeated(const std::string& name, int times) {
    return std::vector<std::string>(static_cast<std::size_t>(times), name);
}

std::vector<Text8> numbered(const Text8& bare, const Text8& stem, int from, int to) {
    std::vector<Text8> codes{bare};
    for (int n = from; n <= to; ++n)
        codes.push_back(stem + std::to_string(n));
    return codes;
}

template <typename T>
std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class CodeNumbering : public ::testing::TestWithParam<StoredCodesCase> {};

TEST_P(CodeNumbering, StoresTheCodesOfTheRules) {
    TempDir dir;
    export_xml(catalog_xml(GetParam().catalog, GetParam().names), dir.path());
    EXPECT_EQ(stored_codes(GetParam().catalog, dir.path()), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(Tables, CodeNumbering, ::testing::Values(
    StoredCodesCase{"TeacherStemDropsTheFourthInitial", Catalog::Teachers,
                    {"Alfa Delta Eco Foxtrot", "Alfa Delta Eco Fuego"}, {"ADEF", "ADE1"}},
    StoredCodesCase{"ShortTeacherBaseIsItsOwnStem", Catalog::Teachers,
                    {"Delta Eco", "Delta Eco"}, {"DE", "DE1"}},
    StoredCodesCase{"TeacherNumberTenIsStoredCut", Catalog::Teachers,
                    repeated("Alfa Beta Gamma", 11), numbered("ABG", "ABG", 1, 9) + std::vector<Text8>{"ABG1"}},
    StoredCodesCase{"LowerCaseNameCollidesButKeepsItsCase", Catalog::Teachers,
                    {"Alfa Beta Gamma", "alfa beta gamma"}, {"ABG", "abg1"}},
    StoredCodesCase{"NumberedAndBareCodesShareTheList", Catalog::Teachers,
                    {"Alfa Beta Gamma", "Alfa Bravo Golf", "Ana Bella Gil 1"},
                    {"ABG", "ABG1", "ABG2"}},
    StoredCodesCase{"EmptyNamesAreNumberedFromTheEmptyStem", Catalog::Teachers,
                    {"", "", ""}, {"", "1", "2"}},
    StoredCodesCase{"OneWordRoom", Catalog::Rooms, {"Gimnasio", "Gimnasio"}, {"G", "G1"}},
    StoredCodesCase{"BareCodesAndNumberedCandidatesMeet", Catalog::Rooms,
                    {"Aula", "Aula", "Aula 1", "Aula"}, {"A", "A1", "A11", "A2"}},
    StoredCodesCase{"RoomNumbersUpTo99Fit", Catalog::Rooms,
                    repeated("Aula 1", 101), numbered("A1", "A1", 1, 99) + std::vector<Text8>{"A110"}},
    StoredCodesCase{"TwoSpacesPutASpaceInTheCode", Catalog::Teachers, {"Aula  7"}, {"A 7"}},
    StoredCodesCase{"GroupNumberTenIsStoredCut", Catalog::Groups,
                    repeated("1 ESO A", 11), numbered("1EA", "1EA", 1, 9) + std::vector<Text8>{"1EA1"}},
    StoredCodesCase{"LongSubjectNumbersUpTo999Fit", Catalog::Subjects,
                    repeated("Lengua", 1001),
                    numbered("Lengu", "Lengu", 1, 999) + std::vector<Text8>{"Lengu100"}},
    StoredCodesCase{"AccentedCapitalsCollideWithTheirSmallLetters", Catalog::Teachers,
                    {"\xc3\x81ngel \xc3\x91u\xc3\xb1" "ez", "\xc3\xa1ngel \xc3\xb1" "a", "Angel Na"},
                    {"\xc1\xd1", "\xe1\xf1" "1", "AN"}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(CodeNumbering, EachTableHasItsOwnUsedCodes) {
    TempDir dir;
    export_xml(saga_document("<teachers><teacher id='T'>Aula 12</teacher></teachers>"
                             "<locations><location id='L'>Aula 12</location></locations>"
                             "<groups><group id='G' name='A 1' regim='X'>x</group></groups>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "PROFT").column("ABREV"), std::vector<Text8>{"A1"});
    EXPECT_EQ(read_table(dir.path(), "AULAT").column("ABREV"), std::vector<Text8>{"A1"});
    EXPECT_EQ(read_table(dir.path(), "GRUPOST").column("ABREV"), std::vector<Text8>{"A1"});
}

TEST(SubjectCodes, ComeFromTheIdsLastFourCharactersEvenWhenShared) {
    TempDir dir;
    export_xml(saga_document("<subjects><subject id='SB-A101' name='A'/>"
                             "<subject id='XX-A101' name='B'/><subject id='12' name='C'/>"
                             "</subjects>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "ASIGNOMT").column("COD"),
              (std::vector<Text8>{"A101", "A101", "12"}));
}

} // namespace
} // namespace enlazor::testing
