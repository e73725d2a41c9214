// The check of the import: every kind of finding on Horalis tables made to
// hold each of them, at the record it concerns, and what stops the import.
#include "check_test_support.h"

#include "check/check.h"
#include "support/dbase_dialects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace enlazor;
using namespace enlazor::testing;

namespace {

// Exported into the exchange directory first: its catalogs hold A101, ABG,
// A1 and 1EA for SB-A101, PR-01, LC-1 and GR-1.
const std::string kSchool = "tests/check/fixtures/small_school.xml";

const std::vector<FieldDef> kDayPeriodFields = {
    {"DIHO", FieldType::Text, 10}, {"CODDIHO", FieldType::Text, 10}, {"DIA", FieldType::Text, 20}, {"TEXTODIA", FieldType::Text, 20},
    {"HORA", FieldType::Text, 8},  {"HORADESDE", FieldType::Text, 8}, {"HORAHASTA", FieldType::Text, 8}, {"MINUTOS", FieldType::Text, 8},
};

const std::vector<FieldDef> kSolutionFields = {
    {"CODGRUPO", FieldType::Text, 4}, {"PROF", FieldType::Text, 4}, {"ASIG", FieldType::Text, 10}, {"AULA", FieldType::Text, 4},
    {"DIA", FieldType::Integer},         {"HORA", FieldType::Float},    {"SESIONES", FieldType::Float},
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

TEST_F(CheckOfTheImport, NamesEachTablesDialectAndWarnsOfTextItCannotConvert) {
    using namespace enlazor::test_support;
    const auto write_raw = [&](const std::string& name, const DialectTable& table) {
        std::filesystem::remove(dir_.exchange() / name);
        std::ofstream(dir_.exchange() / name, std::ios::binary) << table.bytes();
    };
    DialectTable solution(0x04, 0x00, "DB850ES0");
    solution.fields = {{"CODGRUPO", 'C', 4}, {"PROF", 'C', 4}, {"ASIG", 'C', 10}, {"AULA", 'C', 4},
                       {"DIA", 'I', 4},      {"HORA", 'O', 8}, {"SESIONES", 'O', 8}};
    solution.records = {{"1EA", "ABG", "A101", "A1", dbase7_integer(1), dbase7_double(1),
                         dbase7_double(1)}};
    write_raw("SOLUC.DBF", solution);
    // Russian DOS: two day names Windows-1252 cannot hold.
    DialectTable days(0x03, 0x65);
    days.fields = {{"DIA", 'C', 20}, {"TEXTODIA", 'C', 20}, {"HORA", 'C', 8},
                   {"HORADESDE", 'C', 8}, {"HORAHASTA", 'C', 8}};
    days.records = {{"1", "\x8F\xAD", "1", "8:00", "8:55"}, {"2", "\x82\xE2", "1", "8:00", "8:55"}};
    write_raw("DIASHORAST.DBF", days);
    DialectTable rooms(0x03, 0xEE);  // a driver nobody knows
    rooms.fields = {{"ABREV", 'C', 4}, {"IDSAGA", 'C', 60}};
    rooms.records = {{"A1", "LC-1"}};
    write_raw("AULAT.DBF", rooms);

    const CheckReport report = check();
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"text-lost-in-code-page", "DIASHORAST#1"},
        {"unknown-driver", "AULAT#0"},
    };
    EXPECT_EQ(kinds_and_places(report), expected);
    EXPECT_EQ(report.findings.at(0).count, 2u);
    EXPECT_EQ(report.findings.at(0).place.code, "Пн");
    EXPECT_EQ(report.findings.at(0).message,
              "DIASHORAST, registro 1: el texto «Пн» de TEXTODIA no cabe en la página de códigos "
              "del sistema (1252); se lee como «??» (2 registros).");

    std::vector<std::string> tables;
    for (const TableRead& table : report.tables)
        tables.push_back(table.table + " " + table.level + " " + std::to_string(table.code_page) +
                         (table.converted ? " converted" : ""));
    EXPECT_EQ(tables, (std::vector<std::string>{
                          "SOLUC dBase 7 850 converted", "DIASHORAST dBase III+/IV/5 866 converted",
                          "GRUPOST dBase III+/IV/5 1252", "PROFT dBase III+/IV/5 1252",
                          "ASIGNOMT dBase III+/IV/5 1252", "AULAT dBase III+/IV/5 0"}));
    const std::string text = report_text(report);
    EXPECT_NE(text.find("  Tablas leídas:\n    SOLUC: dBase 7; controlador DB850ES0 (0x00), página "
                        "de códigos 850, convertida a la del sistema\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("    AULAT: dBase III+/IV/5; controlador 0xEE, desconocido: página de "
                        "códigos del sistema\n"),
              std::string::npos)
        << text;
    EXPECT_NE(report_json(report).find("{\"table\": \"SOLUC\", \"level\": \"dBase 7\", "
                                       "\"driver_id\": 0, \"driver_name\": \"DB850ES0\", "
                                       "\"code_page\": 850, \"converted\": true, \"variable_fields\": []}"),
              std::string::npos);
}

TEST_F(CheckOfTheImport, WarnsOfDriverlessDosTextAndNamesVarcharFields) {
    using namespace enlazor::test_support;
    const auto write_raw = [&](const std::string& name, const DialectTable& table) {
        std::filesystem::remove(dir_.exchange() / name);
        std::ofstream(dir_.exchange() / name, std::ios::binary) << table.bytes();
    };
    // Visual FoxPro 9, codes in Varchar fields: read whole, and named.
    DialectTable solution(0x32, 0x03);
    solution.fields = {{"CODGRUPO", 'V', 10, 0, 0x02}, {"PROF", 'V', 10}, {"ASIG", 'V', 10}, {"AULA", 'C', 4},
                       {"DIA", 'I', 4}, {"HORA", 'B', 8, 2}, {"SESIONES", 'B', 8, 2}};
    solution.records = {{"1EA", "ABG", "A101", "A1", foxpro_integer(1), foxpro_double(1), foxpro_double(1)}};
    store_as_varchar(solution);
    write_raw("SOLUC.DBF", solution);
    // A DOS-era engine left no driver; its day names are in code page 850.
    DialectTable days(0x03, 0x00);
    days.fields = {{"DIA", 'C', 20}, {"TEXTODIA", 'C', 20}, {"HORA", 'C', 8},
                   {"HORADESDE", 'C', 8}, {"HORAHASTA", 'C', 8}};
    days.records = {{"1", "Lunes", "1", "8:00", "8:55"},
                    {"3", "Mi\x82rcoles", "1", "8:00", "8:55"},
                    {"6", "S\xA0" "bado", "1", "8:00", "8:55"}};
    write_raw("DIASHORAST.DBF", days);

    const CheckReport report = check();
    const std::vector<std::pair<std::string, std::string>> expected = {{"assumed-code-page", "DIASHORAST#2"}};
    EXPECT_EQ(kinds_and_places(report), expected);
    const Finding& assumed = report.findings.at(0);
    EXPECT_EQ(assumed.place.field, "TEXTODIA");
    EXPECT_EQ(assumed.count, 2u);
    EXPECT_NE(assumed.message.find("no tiene controlador de idioma"), std::string::npos) << assumed.message;
    EXPECT_NE(assumed.message.find("página de códigos del sistema (1252)"), std::string::npos) << assumed.message;
    EXPECT_EQ(report.tables.at(0).variable_fields, (std::vector<std::string>{"CODGRUPO", "PROF", "ASIG"}));
    EXPECT_NE(report_text(report).find("; campos de longitud variable: CODGRUPO, PROF, ASIG\n"), std::string::npos);
}
