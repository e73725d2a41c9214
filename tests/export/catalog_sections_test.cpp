// Which elements each table is made from and how their values are read:
// exact paths, document order, attributes versus first child, trimming,
// and the cuts of the table fields.
#include "export_test_support.h"

#include "export/catalog_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace enlazor::testing {
namespace {

using Rows = std::vector<std::vector<Text8>>;

const std::vector<std::pair<std::string, std::size_t>> kTablesAndFieldCounts = {
    {"ASIGNOMT", 5}, {"PROFT", 5}, {"AULAT", 5}, {"GRUPOST", 7}, {"ASIGT", 10},
    {"DIASHORAST", 8}};

void expect_all_tables_empty(const std::filesystem::path& dir) {
    for (const auto& [table, field_count] : kTablesAndFieldCounts) {
        const TableContents contents = read_table(dir, table);
        EXPECT_EQ(contents.fields.size(), field_count) << table;
        EXPECT_TRUE(contents.rows.empty()) << table;
    }
}

TEST(CatalogSections, AnotherRootNameGivesEmptyTables) {
    TempDir dir;
    export_xml("<documento><subjects><subject id='S' name='N'/></subjects>"
               "<teachers><teacher id='T'>N</teacher></teachers></documento>",
               dir.path());
    expect_all_tables_empty(dir.path());
}

TEST(CatalogSections, MissingSectionsGiveEmptyTablesWithTheirFields) {
    TempDir dir;
    export_xml(saga_document(""), dir.path());
    expect_all_tables_empty(dir.path());
}

TEST(CatalogSections, OnlyTheExactPathIsRead) {
    TempDir dir;
    export_xml(saga_document("<extra><subjects><subject id='DEEP' name='N'/></subjects></extra>"
                             "<Subjects><subject id='CASE' name='N'/></Subjects>"
                             "<subjects><Subject id='CASE2' name='N'/>"
                             "<subject id='S1' name='N'/></subjects>"
                             "<subjects><subject id='S2' name='N'/></subjects>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "ASIGNOMT").column("IDSAGA"),
              (std::vector<Text8>{"S1", "S2"}));
}

TEST(CatalogSections, RecordsFollowDocumentOrderWhateverTheIds) {
    TempDir dir;
    export_xml(saga_document("<teachers><teacher id='Z'>Zeta</teacher>"
                             "<teacher id='A'>Alfa</teacher><teacher id='M'>Eme</teacher>"
                             "</teachers>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "PROFT").column("IDSAGA"),
              (std::vector<Text8>{"Z", "A", "M"}));
}

TEST(CatalogSections, SubjectValuesAreTrimmedDefaultedAndCut) {
    const std::string name45(45, 'n');
    const std::string id70 = std::string(66, 'i') + "WXYZ";
    TempDir dir;
    export_xml(saga_document("<subjects>"
                             "<subject id=' \tSB-1\t ' name='  Arte  ' hours='  3 '/>"
                             "<subject id='SB-2' name='Blank' hours='   '/>"
                             "<subject id='SB-3' name='Case' HOURS='2'/>"
                             "<subject id='SB-4' name='Half' hours='12.5'/>"
                             "<subject id='SB-5' name='Long' hours='1234567890'/>"
                             "<subject id='" + id70 + "' name='" + name45 + "'/>"
                             "<subject/>"
                             "</subjects>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "ASIGNOMT").rows, (Rows{
        {"SB-1", "Arte", "Arte", "SB-1", "3"},
        {"SB-2", "Blank", "Blank", "SB-2", "4"},
        {"SB-3", "Case", "Case", "SB-3", "4"},
        {"SB-4", "Half", "Half", "SB-4", "12.5"},
        {"SB-5", "Long", "Long", "SB-5", "12345678"},
        {"WXYZ", "nnnnn", std::string(40, 'n'), id70.substr(0, 60), "4"},
        {"", "", "", "", "4"},  // nothing to read: empty values, default hours
    }));
}

TEST(CatalogSections, TeachersAndRoomsAreNamedByTheirFirstChildNode) {
    TempDir dir;
    export_xml(saga_document("<teachers>"
                             "<teacher id='T1' name='Attribute'>Ana Sol</teacher>"
                             "<teacher id='T2'>\n    <full>Berta <i>Luz</i></full>\n  Rest</teacher>"
                             "<teacher id='T3'/>"
                             "<teacher id='T4'>   </teacher>"
                             "<teacher id='T5'><![CDATA[ Carla < Mar ]]></teacher>"
                             "</teachers>"
                             "<locations><location id='L1' name='Attribute'>Aula 3</location>"
                             "</locations>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "PROFT").column("NOMBRE"),
              (std::vector<Text8>{"Ana Sol", "Berta Luz", "", "", "Carla < Mar"}));
    EXPECT_EQ(read_table(dir.path(), "AULAT").column("NOMBRE"), std::vector<Text8>{"Aula 3"});
}

TEST(CatalogSections, CharactersOutsideTheCodePageAreSubstitutedNotLost) {
    TempDir dir;
    // ā and ł have plain-letter stand-ins; a Chinese character has none.
    export_xml(saga_document("<teachers><teacher id='T\xe4\xb8\xad'>"
                             "M\xc4\x81ria \xc5\x81opez \xe4\xb8\xad</teacher></teachers>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "PROFT").rows,
              (Rows{{"ML?", "Maria Lopez ?", "", "", "T?"}}));
}

TEST(TableFiles, OldTablesAndIndexesAreReplacedWhateverTheirCase) {
    TempDir dir;
    for (const char* name : {"asignomt.dbf", "ASIGNOMT.MDX", "proft.mdx", "Asigt.Mdx"}) {
        std::ofstream(dir.path() / name) << "left by another program";
    }
    export_xml(saga_document("<subjects><subject id='S' name='N'/></subjects>"), dir.path());
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files.size(), 6u);
    for (const std::string& file : files)
        EXPECT_EQ(file.substr(file.size() - 4), ".DBF") << file;
    EXPECT_EQ(read_table(dir.path(), "ASIGNOMT").rows.size(), 1u);
}

// Values Windows-1252 holds byte for byte skip the trip through wide text;
// every value must still read exactly as the general conversion reads it,
// in an attribute and as an element's text.
TEST(CatalogSections, ValuesReadAsTheGeneralConversionReadsThem) {
    const std::vector<std::string> values = {
        "SB-0001", "  padded\t", "", "   ", "Matemáticas", "Ñandú ÿ ¿?", "\u00A0nbsp\u00A0",
        "a&#13;b", "a&#13;&#10;b", "&#x80;", "€ 5", "ā ł – x", "e\u0301", "日本", "tab&#9;in",
        "&lt;&amp;&gt;", "\u00C2\u00A0\u00C3"};
    std::string items;
    for (const std::string& value : values)
        items += "<teacher id=\"" + value + "\">" + value + "</teacher>";
    XmlDocument document;
    document.load_from_memory(saga_document("<teachers>" + items +
                                            "<teacher id='x'><![CDATA[ñ ]]></teacher>"
                                            "<teacher id='y'><b>Ñ</b></teacher></teachers>"),
                              "doc", XmlUse::ReadOnly);
    for (pugi::xml_node teacher : catalog_elements(document, "teachers", "teacher")) {
        SCOPED_TRACE(teacher.attribute("id").value());
        EXPECT_EQ(attribute_value(teacher, "id"), table_text(attribute_wide(teacher, "id"), teacher, "id"));
        EXPECT_EQ(first_child_value(teacher), table_text(first_child_wide(teacher), teacher, "text"));
    }
}

} // namespace
} // namespace enlazor::testing
