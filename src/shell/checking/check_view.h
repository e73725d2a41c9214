// The "Comprobar datos" window's content, the same for its Qt and its Win32
// shell: what the window's command line asks, the check run on a document
// and an exchange directory, the findings as rows of the list, the title's
// summary, and the report saved as the command line prints it. The check
// itself is the core's, the one enlazor-cli runs: nothing here judges data.
#pragma once

#include "check/check_report.h"
#include "shell/checking/check_texts.h"
#include "storage/settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace enlazor::app::checking {

using texts::window_title_base;

// What the window was started with: a document to check at once, as a file
// manager's "Open with" gives it, and an exchange directory.
struct CheckArguments {
    std::optional<std::filesystem::path> document;
    std::optional<std::filesystem::path> exchange_dir;
    // Why the arguments are not understood, in Spanish; empty when they are.
    std::string error;
};

// [DOCUMENT] [--exchange-dir DIR], UTF-8 arguments after the program's own;
// the option is read as enlazor-cli reads it.
CheckArguments parse_check_arguments(const std::vector<std::string>& arguments);

// A path as typed or pasted into a field, UTF-8: blanks around it dropped,
// and the quotes that a file manager's "Copy as path" adds.
std::string clean_typed_path(std::string_view typed);

// What "Comprobar" (or Enter in a field) asks, from the two fields' texts:
// the document and the settings with the exchange directory typed, or the
// one the window started with when that field is empty. Nothing when the
// document's field is empty; the window then says texts::missing_document.
// Both windows also check as soon as a document is chosen in their dialog,
// and when started with one.
struct CheckRequest {
    std::filesystem::path document;
    Settings settings;
};
std::optional<CheckRequest> check_request(std::string_view document_field, std::string_view exchange_field,
                                          const Settings& started_with);

// One row of the findings' list.
struct FindingRow {
    Severity severity = Severity::Warning;  // for the system's icon
    std::string severity_text;              // "error", "aviso"
    std::string direction_text;             // "Exportación", "Importación"
    std::string what;                       // the finding's own message
    std::string where;                      // the element or the table record
};

// The findings in the order enlazor-cli prints them: the export's, then the
// import's, each in the order the check found them.
std::vector<FindingRow> finding_rows(const CheckReport& report);

// "subject 7 «Matemáticas», nº 3, /document/subjects/subject[3]" or
// "SOLUC, registro 12, ASIG «MAT»"; empty when the finding has no place.
std::string place_text(const FindingPlace& place);

// The line under the list: "Resumen: 2 errores, 1 aviso" and what the
// import's check could not do.
std::string summary_line(const CheckReport& report);

// The lines under "Tablas de Horalis leídas:": one per table read, or
// the one that says none was (and why, when the import was not checked).
std::vector<std::string> table_lines(const CheckReport& report);

// The title once checked: the base and "(2 errores, 1 aviso)", or
// "(Nada que señalar)" when there is nothing.
std::string window_title(const CheckReport& report);

// What "Comprobar" gives: the report, or why there is none (a document that
// is not there or not XML), and a note beside a report (an exchange
// directory that is missing). Messages are Spanish; nothing is written.
struct CheckOutcome {
    std::optional<CheckReport> report;
    std::string message;
};

// Runs the check on `document` with the exchange directory of `settings`.
// Never throws for what the user chose; the message says what went wrong.
CheckOutcome check_document(const std::filesystem::path& document, const Settings& settings);

// The report saved: JSON when the file's name ends in ".json" (any case),
// else the text enlazor-cli prints, with the line ends its standard output
// gives a file on this system (CR LF on Windows). Throws Error with a
// Spanish message when the file cannot be written; a file already there is
// replaced whole or kept as it was.
void save_report(const std::filesystem::path& file, const CheckReport& report);

} // namespace enlazor::app::checking
