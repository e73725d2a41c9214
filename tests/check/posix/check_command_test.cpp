// enlazor-cli check as a school's technician and a script run it: nothing
// to report on the bundled sample, exit codes that tell warnings from
// errors, a JSON report that parses, and not one byte written anywhere.
#include "check_test_support.h"

#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace enlazor;
using namespace enlazor::testing;

namespace fs = std::filesystem;

namespace {

class CheckCommand : public ::testing::Test {
protected:
    // The document in a folder of its own, so that its listing can be compared.
    fs::path place_document(const std::string& source) {
        fs::create_directories(dir_.path() / "school");
        const fs::path document = dir_.path() / "school" / fs::path(source).filename();
        fs::copy_file(source_file(source), document);
        return document;
    }

    // `enlazor-cli <command> <document> --exchange-dir HTEMP <options>` in a
    // Spanish school's locale.
    Outcome run_cli(const std::string& command, const fs::path& document, const std::string& options = {}) {
        return run_command("LC_ALL=es_ES.UTF-8 " + shell_quoted(program("enlazor-cli")) + " " +
                               command + " " + shell_quoted(document.string()) + " --exchange-dir " +
                               shell_quoted(dir_.exchange().string()) + " " + options,
                           dir_.path());
    }

    // What an independent parser, Python's json, prints of a JSON report
    // when it runs `script` on it (bound to `r`).
    Outcome read_json_report(const std::string& report, const std::string& script) {
        const fs::path json = dir_.path() / "report.json";
        std::ofstream(json, std::ios::binary) << report;
        return run_command("/usr/bin/python3 -c " +
                               shell_quoted("import json, sys\nr = json.load(open(sys.argv[1], encoding='utf-8'))\n" +
                                            script) +
                               " " + shell_quoted(json.string()),
                           dir_.path());
    }

    CheckDir dir_;
};

} // namespace

TEST_F(CheckCommand, TheBundledSampleHasNothingToReportEitherWay) {
    const fs::path sample = place_document("samples/saga-ies-ejemplo.xml");
    ASSERT_EQ(run_cli("export", sample).exit_code, 0);
    ASSERT_EQ(run_command(shell_quoted(program("horalis-standin")) + " --exchange-dir " +
                              shell_quoted(dir_.exchange().string()),
                          dir_.path())
                  .exit_code,
              0);

    const Outcome run = run_cli("check", sample);
    EXPECT_EQ(run.exit_code, cli::kSuccess) << run.out << run.err;
    EXPECT_NE(run.out.find("Exportación (SAGA -> Horalis)\n  Nada que señalar."), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Importación (Horalis -> SAGA)\n  Nada que señalar."), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Resumen: 0 errores, 0 avisos"), std::string::npos) << run.out;
}

TEST_F(CheckCommand, ExitCodesTellWarningsFromErrors) {
    const fs::path warnings_only = place_document("tests/check/fixtures/every_export_finding.xml");
    EXPECT_EQ(run_cli("check", warnings_only).exit_code, cli::kCheckWarnings);

    // A SOLUC whose only lesson names a subject no catalog has stops the import.
    const fs::path school = place_document("tests/check/fixtures/small_school.xml");
    export_into(school, dir_.exchange());
    write_table(dir_.exchange(), "SOLUC.DBF",
                {{"CODGRUPO", FieldType::Text, 4}, {"PROF", FieldType::Text, 4}, {"ASIG", FieldType::Text, 4}, {"AULA", FieldType::Text, 4},
                 {"DIA", FieldType::Integer}, {"HORA", FieldType::Float}, {"SESIONES", FieldType::Float}},
                {{"1EA", "ABG", "QQQ", "A1", "1", "1", "1"}});
    const Outcome run = run_cli("check", school);
    EXPECT_EQ(run.exit_code, cli::kCheckErrors) << run.out;
    EXPECT_NE(run.out.find("ERROR  SOLUC, registro 1:"), std::string::npos) << run.out;

    EXPECT_EQ(run_cli("check", dir_.path() / "nada.xml").exit_code, cli::kMissingFile);
    EXPECT_EQ(run_cli("export", school, "--json").exit_code, cli::kUsageError);
}

TEST_F(CheckCommand, TheJsonReportParsesAndCarriesTheSameFindings) {
    const fs::path document = place_document("tests/check/fixtures/every_export_finding.xml");
    const Outcome run = run_cli("check", document, "--json");
    ASSERT_EQ(run.exit_code, cli::kCheckWarnings) << run.err;
    // An independent parser reads it back: the counts, and one finding's place.
    const Outcome parsed = read_json_report(
        run.out, "s = r['summary']\n"
                 "print(s['errors'], s['warnings'], len(r['findings']), s['kinds']['unknown-subject'])\n"
                 "f = [f for f in r['findings'] if f['kind'] == 'codes-stored-alike'][0]\n"
                 "print(f['severity'], f['direction'], f['place']['id'], f['place']['position'])\n"
                 "print(r['import_checked'], r['decimal_separator'])\n");
    ASSERT_EQ(parsed.exit_code, 0) << parsed.err;
    EXPECT_EQ(parsed.out, "0 12 12 2\nwarning export PR-11 11\nFalse ,\n");
    EXPECT_EQ(run_command("/usr/bin/python3 -m json.tool " + shell_quoted((dir_.path() / "report.json").string()),
                          dir_.path())
                  .exit_code,
              0);
}

TEST_F(CheckCommand, AJsonReportTellsOfADocumentThatDoesNotLoad) {
    std::ofstream(dir_.path() / "roto.xml", std::ios::binary) << "<document>Matem&aacute;ticas</document>";
    const struct {
        fs::path document;
        int exit_code;
        const char* kind;
        const char* message;
    } cases[] = {
        {dir_.path() / "roto.xml", cli::kConversionError, "document-not-loaded", "la entidad «aacute»"},
        {dir_.path() / "nada.xml", cli::kMissingFile, "missing-document", "No existe archivo"},
    };
    for (const auto& c : cases) {
        const Outcome run = run_cli("check", c.document, "--json");
        EXPECT_EQ(run.exit_code, c.exit_code) << run.out << run.err;
        const Outcome parsed = read_json_report(run.out, "f, = r['findings']\n"
                                                         "print(r['summary']['errors'], f['severity'], f['kind'])\n"
                                                         "print(f['message'])\n");
        ASSERT_EQ(parsed.exit_code, 0) << parsed.err << run.out;
        EXPECT_EQ(parsed.out.substr(0, parsed.out.find('\n')), std::string("1 error ") + c.kind);
        EXPECT_NE(parsed.out.find(c.message), std::string::npos) << parsed.out;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << "the terminal is told the same: " << run.err;
    }
}

TEST_F(CheckCommand, NothingIsWrittenToTheDocumentOrTheExchangeDirectory) {
    const fs::path document = place_document("tests/check/fixtures/every_export_finding.xml");
    export_into(document, dir_.exchange());
    write_table(dir_.exchange(), "SOLUC.DBF",
                {{"CODGRUPO", FieldType::Text, 4}, {"PROF", FieldType::Text, 4}, {"ASIG", FieldType::Text, 4}, {"AULA", FieldType::Text, 4},
                 {"DIA", FieldType::Integer}, {"HORA", FieldType::Float}, {"SESIONES", FieldType::Float}},
                {{"1EA", "ABG", "A101", "A1", "1", "1", "1"}, {"1EA", "ABG", "QQQ", "A1", "1", "2", "1"}});
    const auto school_before = snapshot(document.parent_path());
    const auto exchange_before = snapshot(dir_.exchange());

    EXPECT_EQ(run_cli("check", document).exit_code, cli::kCheckErrors);
    EXPECT_EQ(run_cli("check", document, "--json").exit_code, cli::kCheckErrors);

    EXPECT_EQ(snapshot(document.parent_path()), school_before);
    EXPECT_EQ(snapshot(dir_.exchange()), exchange_before);
}

TEST(CheckCommandLine, CheckTakesTheDocumentAndJsonOnlyWithIt) {
    const cli::Invocation check =
        cli::parse_command_line({"check", "saga.xml", "--json", "--exchange-dir", "/x"});
    EXPECT_EQ(check.command, cli::Command::Check);
    EXPECT_EQ(check.saga_path, "saga.xml");
    EXPECT_TRUE(check.json);
    EXPECT_FALSE(cli::parse_command_line({"check", "saga.xml"}).json);
    EXPECT_THROW(cli::parse_command_line({"import", "saga.xml", "--json"}), cli::UsageError);
    EXPECT_THROW(cli::parse_command_line({"check"}), cli::UsageError);
}
