// The check of the export: every kind of finding on a document made to hold
// each of them, at the element it concerns, and the export itself doing what
// the check foretold.
#include "check_test_support.h"

#include "check/check.h"
#include "storage/dbf_table.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace enlazor;
using namespace enlazor::testing;

namespace {

const std::string kFixture = "tests/check/fixtures/every_export_finding.xml";
const std::string kSubjects = "/document/subjects/subject";
const std::string kTeachers = "/document/teachers/teacher";
const std::string kFirstGroup = "/document/groups/group[1]/assigned-subjects/assigned-subject";

using Places = std::vector<std::pair<std::string, std::string>>;

Places sorted(Places places) {
    std::sort(places.begin(), places.end());
    return places;
}

CheckReport check_fixture(CheckDir& dir, char separator) {
    return run_check(source_file(kFixture), Settings{dir.exchange(), separator});
}

std::vector<Text8> column(const std::filesystem::path& dir, const char* table, const char* field) {
    DbfTable dbf(dir, table, OpenMode::Shared, '.');
    dbf.open();
    std::vector<Text8> values;
    for (dbf.first(); !dbf.eof(); dbf.next())
        values.push_back(dbf.text(field));
    return values;
}

} // namespace

TEST(CheckOfTheExport, ReportsEveryKindAtTheElementItConcerns) {
    CheckDir dir;
    const CheckReport report = check_fixture(dir, '.');
    const Places expected = {
        {"missing-value", kSubjects + "[4]"},           // no id
        {"text-not-kept", kSubjects + "[6]"},           // Ŝ
        {"long-id", kSubjects + "[5]"},                 // 70 characters
        {"shared-subject-code", kSubjects + "[2]"},     // XX-A101 and SB-A101
        {"missing-value", kTeachers + "[12]"},          // no name
        {"codes-stored-alike", kTeachers + "[11]"},     // ABG10 stored as ABG1
        {"missing-value", "/document/locations/location[2]"},
        {"missing-value", "/document/groups/group[2]"},  // no regim
        {"duplicate-id", kSubjects + "[3]"},
        {"unknown-teacher", kFirstGroup + "[1]/assigned-teachers/assigned-teacher"},
        {"unknown-subject", kFirstGroup + "[2]"},
        {"unknown-subject", kFirstGroup + "[4]"},       // the long id, never found
        {"hours-not-a-number", kSubjects + "[2]"},      // 2.5 with the point as separator
    };
    EXPECT_EQ(sorted(kinds_and_places(report)), sorted(expected));
    EXPECT_EQ(report.errors(), 0u);
    EXPECT_FALSE(report.import_checked);
}

TEST(CheckOfTheExport, FindingsNameTheElementByIdNameAndPosition) {
    CheckDir dir;
    const CheckReport report = check_fixture(dir, '.');
    auto finding = std::find_if(report.findings.begin(), report.findings.end(),
                                [](const Finding& f) { return f.kind == "codes-stored-alike"; });
    ASSERT_NE(finding, report.findings.end());
    EXPECT_EQ(finding->place.id, "PR-11");
    EXPECT_EQ(finding->place.name, "Alfa Beta Gamma");
    EXPECT_EQ(finding->place.position, 11u);
    // The message says which code, how it is stored, and which element it meets.
    for (const char* part : {"Profesor nº 11", "«ABG10»", "«ABG1»", "profesor nº 2", "«PR-02»"})
        EXPECT_NE(finding->message.find(part), std::string::npos) << part << "\n" << finding->message;

    auto changed = std::find_if(report.findings.begin(), report.findings.end(),
                                [](const Finding& f) { return f.kind == "text-not-kept"; });
    ASSERT_NE(changed, report.findings.end());
    EXPECT_NE(changed->message.find("«Esperanto Si»"), std::string::npos) << changed->message;
}

TEST(CheckOfTheExport, HoursFollowTheDecimalSeparatorInUse) {
    CheckDir dir;
    const CheckReport report = check_fixture(dir, ',');
    for (const Finding& finding : report.findings)
        EXPECT_NE(finding.kind, "hours-not-a-number") << finding.message;
}

// The check runs the builders' own rules: what it foretells is what the
// export then writes.
TEST(CheckOfTheExport, TheExportWritesWhatTheCheckForetold) {
    CheckDir dir;
    export_into(source_file(kFixture), dir.exchange());

    const std::vector<Text8> teacher_codes = column(dir.exchange(), "PROFT.DBF", "ABREV");
    ASSERT_EQ(teacher_codes.size(), 12u);
    EXPECT_EQ(teacher_codes[10], teacher_codes[1]);  // teachers 11 and 2

    const std::vector<Text8> subject_codes = column(dir.exchange(), "ASIGNOMT.DBF", "COD");
    EXPECT_EQ(subject_codes[1], subject_codes[0]);

    const std::vector<Text8> ids = column(dir.exchange(), "ASIGNOMT.DBF", "IDSAGA");
    EXPECT_EQ(ids[4].size(), 60u);

    // Assigned subjects 2 and 4 found no subject, 1 no teacher, 3 counts as one hour.
    EXPECT_EQ(column(dir.exchange(), "ASIGT.DBF", "CASIG"),
              (std::vector<Text8>{"A101", "", "A101", ""}));
    EXPECT_EQ(column(dir.exchange(), "ASIGT.DBF", "CPROF")[0], "");
    EXPECT_EQ(column(dir.exchange(), "ASIGT.DBF", "SESIONES")[2], "1");
}
