// Documents and paths outside the happy path: a clear error or tables made
// by the usual rules, never a crash, never a half-touched exchange.
#include "export_test_support.h"
#include "base/error.h"

#include <gtest/gtest.h>

#include <fstream>

namespace enlazor::testing {
namespace {

TEST(ExportInputs, AMissingDocumentIsReportedAndTouchesNoTable) {
    TempDir dir;
    write_file(dir.path() / "ASIGNOMT.DBF", "kept");
    Exchange exchange(Settings{dir.path(), ','});
    for (const std::filesystem::path& path :
         {dir.path() / "absent.xml", dir.path(), std::filesystem::path()}) {
        try {
            run_export(path, exchange);
            ADD_FAILURE() << "no error for " << path;
        } catch (const MissingFile& error) {
            EXPECT_STREQ(error.what(), "No existe archivo");
        }
    }
    EXPECT_EQ(read_file(dir.path() / "ASIGNOMT.DBF"), "kept");
}

TEST(ExportInputs, ADocumentThatIsNotXmlFailsBeforeAnyTableIsTouched) {
    TempDir dir;
    write_file(dir.path() / "ASIGNOMT.DBF", "kept");
    write_file(dir.path() / "broken.xml", "<document><subjects><subject id='S'></document>");
    Exchange exchange(Settings{dir.path(), ','});
    EXPECT_THROW(run_export(dir.path() / "broken.xml", exchange), Error);
    EXPECT_EQ(read_file(dir.path() / "ASIGNOMT.DBF"), "kept");
}

TEST(ExportInputs, AMissingExchangeDirectoryIsAnError) {
    TempDir dir;
    write_file(dir.path() / "school.xml", saga_document(""));
    Exchange exchange(Settings{dir.path() / "no-such-dir", ','});
    EXPECT_THROW(run_export(dir.path() / "school.xml", exchange), Error);
}

TEST(ExportInputs, TablesLeftOpenByAnEarlierRunAreReadAfresh) {
    TempDir dir;
    Exchange exchange(Settings{dir.path(), ','});
    auto school = [](const char* group_name) {
        return saga_document(std::string("<subjects><subject id='S' name='N'/></subjects>"
                                         "<groups><group id='G' regim='M' name='") +
                             group_name + "'>a<assigned-subjects><assigned-subject id='S'/>"
                                          "</assigned-subjects></group></groups>");
    };
    write_file(dir.path() / "first.xml", school("1 ESO A"));
    write_file(dir.path() / "second.xml", school("2 BACH B"));
    run_export(dir.path() / "first.xml", exchange);
    // As a failed import might leave them.
    exchange.grupos().open();
    exchange.nom_asg().open();
    run_export(dir.path() / "second.xml", exchange);
    EXPECT_EQ(read_table(dir.path(), "ASIGT").column("CGRUP"), std::vector<Text8>{"2BB"});
    EXPECT_FALSE(exchange.grupos().is_open());
    EXPECT_FALSE(exchange.nom_asg().is_open());
}

TEST(UntrustedDocuments, HugeNamesAndIdsAreCutByTheirFields) {
    const std::string huge(5000, 'x');
    const std::string words = [] {
        std::string text;
        for (int i = 0; i < 2000; ++i)
            text += "w ";
        return text + "end";
    }();
    TempDir dir;
    export_xml(saga_document("<subjects><subject id='" + huge + "' name='" + huge + "' hours='" +
                             huge + "'/></subjects>"
                             "<teachers><teacher id='" + huge + "'>" + words + "</teacher></teachers>"
                             "<locations><location id='" + huge + "'>" + words + "</location></locations>"
                             "<groups><group id='" + huge + "' name='" + words + "' regim='" + huge +
                             "'>" + huge + "<assigned-subjects><assigned-subject id='" + huge +
                             "'><assigned-teachers><assigned-teacher id='" + huge +
                             "'/></assigned-teachers></assigned-subject></assigned-subjects>"
                             "</group></groups>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "ASIGNOMT").rows,
              (std::vector<std::vector<Text8>>{
                  {"xxxx", "xxxxx", huge.substr(0, 40), huge.substr(0, 60), "xxxxxxxx"}}));
    EXPECT_EQ(read_table(dir.path(), "PROFT").column("ABREV"), std::vector<Text8>{"wwww"});
    EXPECT_EQ(read_table(dir.path(), "GRUPOST").rows,
              (std::vector<std::vector<Text8>>{
                  {"www", "x", "w w w", "w", "d", huge.substr(0, 60),
                   words.substr(0, 39)}}));  // the 40th, a blank, reads back as filling
    // Ids of 5000 characters were stored cut, so none of them is found.
    EXPECT_EQ(read_table(dir.path(), "ASIGT").rows,
              (std::vector<std::vector<Text8>>{{"", "", "", "", "", "", "", "", "", ""}}));
}

TEST(UntrustedDocuments, CharactersOutsideTheCodePageNeverBreakTheExport) {
    TempDir dir;
    // An emoji (a surrogate pair in wide text), a Chinese character, a
    // Cyrillic word and a no-break space.
    const std::string odd = "\xf0\x9f\x98\x80 \xe4\xb8\xad \xd0\x9c\xd0\xb8\xd1\x80\xc2\xa0" "az";
    const ExportSummary summary = export_xml(
        saga_document("<subjects><subject id='" + odd + "' name='" + odd + "' hours='" + odd +
                      "'/></subjects><teachers><teacher id='" + odd + "'>" + odd +
                      "</teacher></teachers><groups><group id='" + odd + "' name='" + odd +
                      "' regim='" + odd + "'>" + odd + "<assigned-subjects><assigned-subject id='" +
                      odd + "'/></assigned-subjects></group></groups>"),
        dir.path());
    for (const TableCount& table : summary.tables)
        EXPECT_EQ(table.records, table.table == "AULAT" || table.table == "DIASHORAST" ? 0u : 1u)
            << table.table;
    const TableContents subjects = read_table(dir.path(), "ASIGNOMT");
    const Text8 name = subjects.column("NOMBRE")[0];
    EXPECT_NE(name.find('?'), Text8::npos);
    EXPECT_NE(name.find('\xa0'), Text8::npos);  // the no-break space is in the code page
    // The subject is found again by its converted id, so its hours (no
    // number: 1) reach the assignment.
    EXPECT_EQ(read_table(dir.path(), "ASIGT").column("SESIONES"), std::vector<Text8>{"1"});
}

TEST(UntrustedDocuments, DeeplyNestedFirstChildIsReadWithoutExhaustingTheStack) {
    std::string nested;
    for (int i = 0; i < 20000; ++i)
        nested += "<n>";
    nested += "Ana Sol";
    for (int i = 0; i < 20000; ++i)
        nested += "</n>";
    TempDir dir;
    export_xml(saga_document("<teachers><teacher id='T'>" + nested + "</teacher></teachers>"),
               dir.path());
    EXPECT_EQ(read_table(dir.path(), "PROFT").column("NOMBRE"), std::vector<Text8>{"Ana Sol"});
}

} // namespace
} // namespace enlazor::testing
