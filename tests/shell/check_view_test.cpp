#include "app/checking/check_view.h"

#include "platform/console.h"
#include "base/error.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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

TEST(CheckWindowContent, SavedReportIsTheCommandLinesTextOrJsonByTheFilesType) {
    const std::filesystem::path folder = test_support::make_temp_folder("check-view");
    const CheckReport report = report_with(1, 1);
    const auto read = [](const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    };
    save_report(folder / "informe.txt", report);
    save_report(folder / "informe.JSON", report);
    // The line ends a redirected enlazor-cli gives on this system.
    EXPECT_EQ(read(folder / "informe.txt"), platform::printed_text(report_text(report)));
    EXPECT_EQ(read(folder / "informe.JSON"), platform::printed_text(report_json(report)));
    EXPECT_THROW(save_report(folder / "no-such-folder" / "informe.txt", report), Error);
    std::filesystem::remove_all(folder);
}

TEST(CheckWindowContent, DocumentsThatCannotBeCheckedAreToldNotThrown) {
    const std::filesystem::path folder = test_support::make_temp_folder("check-view");
    std::ofstream(folder / "roto.xml") << "<document><subjects>";
    Settings settings;
    settings.exchange_dir = folder / "HTEMP";
    const CheckOutcome missing = check_document(folder / "nada.xml", settings);
    EXPECT_FALSE(missing.report);
    EXPECT_EQ(missing.message.rfind("No existe archivo: ", 0), 0u) << missing.message;
    const CheckOutcome broken = check_document(folder / "roto.xml", settings);
    EXPECT_FALSE(broken.report);
    EXPECT_FALSE(broken.message.empty());
    std::filesystem::remove_all(folder);
}

} // namespace
