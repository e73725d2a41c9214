#include "check/check.h"

#include "check/export_check.h"
#include "check/import_check.h"
#include "platform/leftover_saves.h"
#include "platform/places.h"
#include "storage/dbf_table.h"
#include "base/error.h"

namespace enlazor {

namespace {

// Temporary files of interrupted saves beside the document: the check only
// tells of them (it writes nothing); the next direction removes them.
void check_leftover_saves(const std::filesystem::path& document, CheckReport& report) {
    for (const std::filesystem::path& leftover : leftover_saves(document)) {
        Finding finding;
        finding.severity = Severity::Warning;
        finding.direction = Direction::Export;
        finding.kind = "leftover-save";
        finding.message = "Junto al documento queda el archivo temporal de un guardado interrumpido: " +
                          utf8_from_path(leftover) +
                          ". La próxima exportación o importación lo eliminará.";
        report.findings.push_back(std::move(finding));
    }
}

} // namespace

CheckReport run_check(const std::filesystem::path& saga_path, const Settings& settings) {
    if (saga_path.empty() || !file_exists(saga_path))
        throw MissingFile();
    XmlDocument document;
    try {
        document.load(saga_path);
    } catch (const Error& error) {
        throw DocumentNotLoaded(error.what());
    }

    CheckReport report;
    report.document = saga_path;
    report.exchange_dir = settings.exchange_dir;
    report.decimal_separator = settings.decimal_separator;
    check_leftover_saves(saga_path, report);
    check_export(document, settings.decimal_separator, report);
    // Last: the import replaces the document's time-tables section, in
    // this copy only, which is never saved.
    check_import(document, settings, report);
    return report;
}

CheckReport unchecked_document_report(const std::filesystem::path& saga_path, const Settings& settings,
                                      const Error& stopped) {
    CheckReport report;
    report.document = saga_path;
    report.exchange_dir = settings.exchange_dir;
    report.decimal_separator = settings.decimal_separator;
    Finding finding;
    finding.severity = Severity::Error;
    finding.kind = dynamic_cast<const MissingFile*>(&stopped) ? "missing-document" : "document-not-loaded";
    finding.message = stopped.what();
    report.findings.push_back(std::move(finding));
    return report;
}

} // namespace enlazor
