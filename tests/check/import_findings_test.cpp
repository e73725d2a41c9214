// The check of the import: every kind of finding on Horalis tables made to
// hold each of them, at the record it concerns, and what stops the import.
#include "check_test_support.h"

#include "check/check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace enlazor;
using namespace enlazor::testing;

namespace {

// Exported into the exchange directory first: its catalogs hold A101, ABG,
// A1 and 1EA for SB-A101, PR-01, LC-1 and GR-1.
const std::string kSchool = "tests/check/fixtures/small_school.xml";

const std::vector<Field> kDayPeriodFields = {
    {"DIHO", 'C', 10}, {"CODDIHO", 'C', 10}, {"DIA", 'C', 20}, {"TEXTODIA", 'C', 20},
    {"HORA", 'C', 8},  {"HORADESDE", 'C', 8}, {"HORAHASTA", 'C', 8}, {"MINUTOS", 'C', 8},
};

const std::vector<Field> kSolutionFields = {
    {"CODGRUPO", 'C', 4}, {"PROF", 'C', 4}, {"ASIG", 'C', 10}, {"AULA", 'C', 4},
    {"DIA", 'N'},         {"HORA", 'F'},    {"SESIONES", 'F'},
};

class CheckOfTheImport : public ::testing::Test {
protected:
    void SetUp() override {
        export_into(source_file(kSchool), dir_.exchange());
        // DIA, HORA, TEXTODIA of each record.
        write_table(dir_.exchange(), "DIASHORAST.DBF", kDayPeriodFields,
                    {{"", "", "1", "Lunes", "1", "8:00", "8:55"},
                     {"", "", "1", "Lunes", "2", "8:55", "9:50"},
                     {"", "", "01", "Lunes", "3", "9:50", "10:45"},   // no day: "01"
                     {"", "", "2", "Martes", "41", "8:00", "8:55"},  // no interval: 41
                     {"", "", "2", "Martes", "1", "8:00", "8:55"}});
    }

    void write_solution(const std::vector<std::vector<std::string>>& rows) {
        write_table(dir_.exchange(), "SOLUC.DBF", kSolutionFields, rows);
    }

    CheckReport check() {
        return run_check(source_file(kSchool), Settings{dir_.exchange(), '.'});
    }

    CheckDir dir_;
};

} // namespace

TEST_F(CheckOfTheImport, ReportsEveryKindAtTheRecordItConcerns) {
    write_solution({
        {"1EA", "ABG", "A101", "A1", "1", "1", "1"},  // 1: placed as it should be
        {"ZZZ", "ABG", "A101", "A1", "1", "2", "1"},  // 2: a group Horalis made up
        {"1EA", "ABG", "QQQ", "A1", "1", "1", "1"},   // 3: a subject no catalog has
        {"1EA", "ABG", "QQQ", "A1", "2", "1", "1"},   // 4: the same again
        {"1EA", "ABG", "A101", "A1", "1", "9", "1"},  // 5: a period day 1 does not have
        {"1EA", "XYZ", "A101", "", "0", "0", "0"},    // 6: not placed: no input at all
    });
    const CheckReport report = check();
    EXPECT_TRUE(report.import_checked);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"day-never-read", "DIASHORAST#3"},
        {"interval-never-read", "DIASHORAST#4"},
        {"code-without-record", "SOLUC#2"},
        {"subject-code-stops-import", "SOLUC#3"},
        {"input-outside-days", "SOLUC#5"},
    };
    EXPECT_EQ(kinds_and_places(report), expected);

    auto stop = std::find_if(report.findings.begin(), report.findings.end(), [](const Finding& f) {
        return f.kind == "subject-code-stops-import";
    });
    ASSERT_NE(stop, report.findings.end());
    EXPECT_EQ(stop->severity, Severity::Error);
    EXPECT_EQ(stop->count, 2u);
    EXPECT_EQ(stop->place.code, "QQQ");
    EXPECT_NE(stop->message.find("List index out of bounds (-1)"), std::string::npos);
    EXPECT_EQ(report.errors(), 1u);
}

TEST_F(CheckOfTheImport, ASubjectCodeMatchingASubjectIdIgnoringCaseOnlyWarns) {
    // No ASIGNOMT record has the code, but the listed activity's subject is
    // SB-A101: the input finds that activity and carries the code itself.
    write_solution({{"1EA", "ABG", "A101", "A1", "1", "1", "1"},
                    {"1EA", "ABG", "sb-a101", "A1", "1", "2", "1"}});
    const CheckReport report = check();
    EXPECT_EQ(report.errors(), 0u);
    EXPECT_EQ(kinds_and_places(report).back(),
              (std::pair<std::string, std::string>{"code-without-record", "SOLUC#2"}));
}

TEST_F(CheckOfTheImport, AMissingTableIsTheErrorThatStopsTheImport) {
    write_solution({{"1EA", "ABG", "A101", "A1", "1", "1", "1"}});
    std::filesystem::remove(dir_.exchange() / "AULAT.DBF");
    const CheckReport report = check();
    ASSERT_EQ(report.errors(), 1u);
    const Finding& stop = report.findings.back();
    EXPECT_EQ(stop.kind, "import-stopped");
    EXPECT_EQ(stop.severity, Severity::Error);
    EXPECT_NE(stop.message.find("AULAT"), std::string::npos) << stop.message;
}

TEST_F(CheckOfTheImport, WithoutSolutionOnlyTheExportIsChecked) {
    const CheckReport report = check();
    EXPECT_FALSE(report.import_checked);
    EXPECT_TRUE(report.findings.empty());
}
