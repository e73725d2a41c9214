// The small school document that carries every value the export reads,
// exported with a comma as decimal separator: every record of every table.
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace enlazor::testing {
namespace {

using Rows = std::vector<std::vector<Text8>>;

class SmallSchoolExport : public ::testing::Test {
protected:
    void SetUp() override {
        Exchange exchange(Settings{dir.path(), ','});
        summary = run_export(source_file("tests/export/fixtures/small_school.xml"), exchange);
    }
    TableContents table(const std::string& name) const { return read_table(dir.path(), name); }

    TempDir dir;
    ExportSummary summary;
};

TEST_F(SmallSchoolExport, SubjectsGetIdCodesNumberedLongCodesAndDefaultHours) {
    EXPECT_EQ(table("ASIGNOMT").rows, (Rows{
        {"A101", "Lengu", "Lengua castellana", "SB-A101", "4"},
        {"A102", "Lengu1", "Lengua extranjera", "SB-A102", "2.5"},
        {"T900", "Tutor", "Tutoria", "SB-T900", "4"},
    }));
}

TEST_F(SmallSchoolExport, TeachersGetInitialsNumberedOnTheirStem) {
    EXPECT_EQ(table("PROFT").rows, (Rows{
        {"ABG", "Alfa Beta Gamma", "", "", "PR-01"},
        {"ABG1", "Alfa Bravo Golf", "", "", "PR-02"},
        {"DE", "Delta Eco", "", "", "PR-03"},
    }));
}

TEST_F(SmallSchoolExport, RoomsSkipEveryTakenCandidate) {
    EXPECT_EQ(table("AULAT").rows, (Rows{
        {"A1", "Aula 12", "", "", "LC-1"},
        {"A11", "Aula 14", "", "", "LC-2"},
        {"A12", "Aula 15", "", "", "LC-3"},
        {"G", "Gimnasio", "", "", "LC-4"},
    }));
}

TEST_F(SmallSchoolExport, GroupsSplitTheirNameAndDescribeThemselves) {
    EXPECT_EQ(table("GRUPOST").rows, (Rows{
        {"1EA", "M", "ESO", "1", "A", "GR-1", "1 ESO A (Primero A)"},
        {"2BB", "T", "BACH", "2", "B", "GR-2", "2 BACH B (Segundo B)"},
    }));
}

TEST_F(SmallSchoolExport, AssignmentsCarryCodesHoursAndLessons) {
    EXPECT_EQ(table("ASIGT").rows, (Rows{
        {"A101", "ABG", "1EA", "", "M", "ESO", "1", "A", "4", "1111"},
        {"A102", "DE", "1EA", "", "M", "ESO", "1", "A", "2,5", "111"},
        {"T900", "", "2BB", "", "T", "BACH", "2", "B", "4", "1111"},
    }));
}

TEST_F(SmallSchoolExport, DayPeriodsAreCreatedEmpty) {
    EXPECT_TRUE(table("DIASHORAST").rows.empty());
}

TEST_F(SmallSchoolExport, SummaryCountsTheRecordsOfEachTableInBuildOrder) {
    std::vector<std::pair<std::string, std::size_t>> counts;
    for (const TableCount& t : summary.tables)
        counts.emplace_back(t.table, t.records);
    EXPECT_EQ(counts, (std::vector<std::pair<std::string, std::size_t>>{
        {"ASIGNOMT", 3}, {"PROFT", 3}, {"AULAT", 4}, {"GRUPOST", 2}, {"ASIGT", 3},
        {"DIASHORAST", 0}}));
}

TEST_F(SmallSchoolExport, ASecondExportGivesIdenticalFiles) {
    auto bytes = [&](const std::string& name) {
        std::ifstream in(dir.path() / (name + ".DBF"), std::ios::binary);
        std::string content(std::istreambuf_iterator<char>(in), {});
        if (content.size() > 4)
            content.replace(1, 3, "   ");  // the date of the last update
        return content;
    };
    std::vector<std::string> first;
    for (const char* name : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"})
        first.push_back(bytes(name));
    Exchange exchange(Settings{dir.path(), ','});
    run_export(source_file("tests/export/fixtures/small_school.xml"), exchange);
    std::size_t i = 0;
    for (const char* name : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"})
        EXPECT_EQ(bytes(name), first[i++]) << name;
}

} // namespace
} // namespace enlazor::testing
