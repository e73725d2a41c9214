#include "shell/checking/check_view.h"

#include "platform/console.h"
#include "base/error.h"
#include "support/files.h"

#include <gtest/gtest.h>


using namespace enlazor;
using namespace enlazor::app::checking;

namespace {

Finding finding(Severity severity, Direction direction, const std::string& message, FindingPlace place = {}) {
    Finding made;
    made.severity = severity;
    made.direction = direction;
    made.kind = "duplicate-id";
    made.message = message;
    made.place = std::move(place);
    return made;
}

CheckReport report_with(std::size_t errors, std::size_t warnings) {
    CheckReport report;
    report.import_checked = true;
    for (std::size_t i = 0; i < errors; ++i)
        report.findings.push_back(finding(Severity::Error, Direction::Export, "e"));
    for (std::size_t i = 0; i < warnings; ++i)
        report.findings.push_back(finding(Severity::Warning, Direction::Import, "w"));
    return report;
}

TEST(CheckWindowContent, TitleCountsAgreeInNumberAsTheCommandLineSummarySays) {
    const struct {
        std::size_t errors, warnings;
        const char* title;
    } cases[] = {
        {0, 0, "Enlazor: comprobar datos (Nada que señalar)"},
        {1, 0, "Enlazor: comprobar datos (1 error, 0 avisos)"},
        {0, 1, "Enlazor: comprobar datos (0 errores, 1 aviso)"},
        {2, 3, "Enlazor: comprobar datos (2 errores, 3 avisos)"},
    };
    for (const auto& c : cases) {
        const CheckReport report = report_with(c.errors, c.warnings);
        EXPECT_EQ(window_title(report), c.title);
        if (c.errors + c.warnings > 0) {
            EXPECT_NE(report_text(report).find("Resumen: " + summary_counts(report) + "\n"), std::string::npos);
        }
    }
}

TEST(CheckWindowContent, RowsListTheExportFirstAsTheCommandLineDoes) {
    CheckReport report;
    FindingPlace element;
    element.element = "subject";
    element.id = "7";
    element.name = "Matemáticas";
    element.position = 3;
    element.path = "/document/subjects/subject[3]";
    FindingPlace record;
    record.table = "SOLUC";
    record.record = 12;
    record.field = "ASIG";
    record.code = "";  // an empty code is still shown
    report.findings = {finding(Severity::Warning, Direction::Import, "importación", record),
                       finding(Severity::Error, Direction::Export, "exportación", element),
                       finding(Severity::Warning, Direction::Export, "sin lugar")};

    const std::vector<FindingRow> rows = finding_rows(report);
    ASSERT_EQ(rows.size(), 3u);
    const struct {
        const char *severity, *direction, *what, *where;
    } expected[] = {
        {"error", "Exportación", "exportación", "subject 7 «Matemáticas», nº 3, /document/subjects/subject[3]"},
        {"aviso", "Exportación", "sin lugar", ""},
        {"aviso", "Importación", "importación", "SOLUC, registro 12, ASIG «»"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].severity_text, expected[i].severity) << i;
        EXPECT_EQ(rows[i].direction_text, expected[i].direction) << i;
        EXPECT_EQ(rows[i].what, expected[i].what) << i;
        EXPECT_EQ(rows[i].where, expected[i].where) << i;
    }
}

TEST(CheckWindowContent, CommandLineTakesOneDocumentAndAnExchangeDirectory) {
    const struct {
        std::vector<std::string> arguments;
        const char* document;  // "" for none
        const char* exchange;  // "" for none
        bool error;
    } cases[] = {
        {{}, "", "", false},
        {{"saga.xml"}, "saga.xml", "", false},
        {{"--exchange-dir", "/h", "saga.xml"}, "saga.xml", "/h", false},
        {{"saga.xml", "--exchange-dir=/h"}, "saga.xml", "/h", false},
        {{"saga.xml", "--exchange-dir"}, "", "", true},
        {{"saga.xml", "--exchange-dir="}, "", "", true},  // as enlazor-cli: an empty directory is none
        {{"saga.xml", "--exchange-dir", ""}, "", "", true},
        {{"--exchange-dirx"}, "", "", true},
        {{"a.xml", "b.xml"}, "", "", true},
        {{"--json"}, "", "", true},
    };
    for (const auto& c : cases) {
        const CheckArguments parsed = parse_check_arguments(c.arguments);
        EXPECT_EQ(!parsed.error.empty(), c.error) << c.arguments.size();
        if (c.error)
            continue;
        EXPECT_EQ(parsed.document.value_or("").string(), c.document);
        EXPECT_EQ(parsed.exchange_dir.value_or("").string(), c.exchange);
    }
}

TEST(CheckWindowContent, ArgumentErrorsAreTheCommandLinesAsSentences) {
    EXPECT_EQ(parse_check_arguments({"--exchange-dir"}).error, "Falta el directorio tras --exchange-dir.");
    EXPECT_EQ(parse_check_arguments({"--exchange-dir="}).error, "El directorio de --exchange-dir está vacío.");
    EXPECT_EQ(parse_check_arguments({"--json"}).error, "Opción desconocida: --json.");
}

// What both windows check when "Comprobar" is pressed, from their fields.
TEST(CheckWindowContent, TheFieldsGiveTheDocumentAndExchangeDirectoryWithoutQuotes) {
    Settings started;
    started.exchange_dir = "/HTEMP";
    started.decimal_separator = ',';
    const struct {
        const char *document, *exchange;
        const char* checked;  // nullptr when nothing is checked
        const char* exchange_dir;
    } cases[] = {
        {"/c/saga.xml", "/h", "/c/saga.xml", "/h"},
        {"  \"/c/mi saga.xml\" ", "\t\"/h h\"", "/c/mi saga.xml", "/h h"},  // Explorer's "Copy as path"
        {"/c/saga.xml", "  ", "/c/saga.xml", "/HTEMP"},                     // the directory started with
        {"\"/c/\"saga\".xml\"", "", "/c/\"saga\".xml", "/HTEMP"},             // quotes inside stay
        {"\"", "", "\"", "/HTEMP"},                                          // one quote is no pair
        {"", "/h", nullptr, ""},
        {" \t ", "/h", nullptr, ""},
        {"\"\"", "/h", nullptr, ""},
    };
    for (const auto& c : cases) {
        const std::optional<CheckRequest> request = check_request(c.document, c.exchange, started);
        ASSERT_EQ(request.has_value(), c.checked != nullptr) << c.document;
        if (!request)
            continue;
        EXPECT_EQ(request->document, c.checked);
        EXPECT_EQ(request->settings.exchange_dir, c.exchange_dir) << c.document;
        EXPECT_EQ(request->settings.decimal_separator, ',');
    }
}

TEST(CheckWindowContent, TablesReadAreListedOrTheirAbsenceSaid) {
    CheckReport report;
    EXPECT_EQ(table_lines(report), std::vector<std::string>{"Ninguna: la importación no se ha comprobado."});
    report.import_checked = true;
    EXPECT_EQ(table_lines(report), std::vector<std::string>{"Ninguna."});
    report.tables.resize(2);
    EXPECT_EQ(table_lines(report).size(), 2u);
}

TEST(CheckWindowContent, SavedReportIsTheCommandLinesTextOrJsonByTheFilesType) {
    const test_support::TempDir folder;
    const CheckReport report = report_with(1, 1);
    save_report(folder / "informe.txt", report);
    save_report(folder / "informe.JSON", report);
    // The line ends a redirected enlazor-cli gives on this system.
    EXPECT_EQ(test_support::read_file(folder / "informe.txt"), platform::printed_text(report_text(report)));
    EXPECT_EQ(test_support::read_file(folder / "informe.JSON"), platform::printed_text(report_json(report)));
    EXPECT_THROW(save_report(folder / "no-such-folder" / "informe.txt", report), Error);
}

TEST(CheckWindowContent, DocumentsThatCannotBeCheckedAreToldNotThrown) {
    const test_support::TempDir folder;
    test_support::write_file(folder / "roto.xml", "<document><subjects>");
    Settings settings;
    settings.exchange_dir = folder / "HTEMP";
    const CheckOutcome missing = check_document(folder / "nada.xml", settings);
    EXPECT_FALSE(missing.report);
    EXPECT_EQ(missing.message.rfind("No existe archivo: ", 0), 0u) << missing.message;
    const CheckOutcome broken = check_document(folder / "roto.xml", settings);
    EXPECT_FALSE(broken.report);
    EXPECT_FALSE(broken.message.empty());
}

} // namespace
