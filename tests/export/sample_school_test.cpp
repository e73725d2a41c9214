// The bundled sample school exports cleanly: every assignment finds its
// subject, teacher and group, and the repeated initials and name beginnings
// come out numbered.
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace enlazor::testing {
namespace {

class SampleSchool : public ::testing::Test {
protected:
    void SetUp() override {
        Exchange exchange(Settings{dir.path(), ','});
        summary = run_export(source_file("samples/saga-ies-ejemplo.xml"), exchange);
    }
    TempDir dir;
    ExportSummary summary;
};

TEST_F(SampleSchool, EveryAssignmentIsResolvedAndHasLessons) {
    const TableContents asigt = read_table(dir.path(), "ASIGT");
    ASSERT_FALSE(asigt.rows.empty());
    for (const char* field : {"CASIG", "CPROF", "CGRUP", "TURNO", "CURSO", "GRUPO", "SESIONES"}) {
        const std::vector<Text8> values = asigt.column(field);
        EXPECT_EQ(std::count(values.begin(), values.end(), Text8{}), 0) << field;
    }
    const std::vector<Text8> hours = asigt.column("HORAS");
    EXPECT_NE(std::find(hours.begin(), hours.end(), "2,5"), hours.end());
}

TEST_F(SampleSchool, CodesAreUniqueWhereHoralisNeedsThem) {
    for (const auto& [table, field] : std::vector<std::pair<std::string, std::string>>{
             {"ASIGNOMT", "COD"}, {"ASIGNOMT", "CODLARGO"}, {"PROFT", "ABREV"},
             {"AULAT", "ABREV"}, {"GRUPOST", "ABREV"}}) {
        const std::vector<Text8> codes = read_table(dir.path(), table).column(field);
        std::set<Text8> folded;
        for (const Text8& code : codes)
            folded.insert(fold_case(code));
        EXPECT_EQ(folded.size(), codes.size()) << table << "." << field;
    }
}

TEST_F(SampleSchool, SharedInitialsAndBeginningsAreNumbered) {
    const std::vector<Text8> teachers = read_table(dir.path(), "PROFT").column("ABREV");
    EXPECT_NE(std::find(teachers.begin(), teachers.end(), "JLM1"), teachers.end());
    const std::vector<Text8> subjects = read_table(dir.path(), "ASIGNOMT").column("CODLARGO");
    EXPECT_NE(std::find(subjects.begin(), subjects.end(), "Matem1"), subjects.end());
    const std::vector<Text8> rooms = read_table(dir.path(), "AULAT").column("ABREV");
    EXPECT_NE(std::find(rooms.begin(), rooms.end(), "A11"), rooms.end());
}

} // namespace
} // namespace enlazor::testing
