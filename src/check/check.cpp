#include "check/check.h"

#include "check/export_check.h"
#include "check/import_check.h"
#include "storage/dbf_table.h"
#include "storage/error.h"

namespace enlazor {

CheckReport run_check(const std::filesystem::path& saga_path, const Settings& settings) {
    if (saga_path.empty() || !file_exists(saga_path))
        throw MissingFile();
    XmlDocument document;
    document.load(saga_path);

    CheckReport report;
    report.document = saga_path;
    report.exchange_dir = settings.exchange_dir;
    report.decimal_separator = settings.decimal_separator;
    check_export(document, settings.decimal_separator, report);
    // Last: the import replaces the document's time-tables section, in
    // this copy only, which is never saved.
    check_import(document, settings, report);
    return report;
}

} // namespace enlazor
