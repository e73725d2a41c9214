// `enlazor-cli check`: what the export and the import would make of a
// school's data, told before anything is written.
#pragma once

#include "check/check_report.h"
#include "storage/settings.h"

#include <filesystem>

namespace enlazor {

// Loads the SAGA document and checks the export against it and, when the
// exchange directory holds SOLUC, the import against Horalis's tables. Reads
// only: no table, no document and no lock file is written. Throws
// MissingFile when the path names no file, Error when the document does not
// load.
CheckReport run_check(const std::filesystem::path& saga_path, const Settings& settings);

} // namespace enlazor
