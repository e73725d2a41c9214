// `enlazor-cli check`: what the export and the import would make of a
// school's data, told before anything is written.
#pragma once

#include "base/error.h"
#include "check/check_report.h"
#include "storage/settings.h"

#include <filesystem>

namespace enlazor {

// The SAGA document did not load: the check could not even begin.
class DocumentNotLoaded : public Error {
public:
    using Error::Error;
};

// Loads the SAGA document and checks the export against it and, when the
// exchange directory holds SOLUC, the import against Horalis's tables. Reads
// only: no table, no document and no lock file is written. Throws
// MissingFile when the path names no file, DocumentNotLoaded (with the
// loader's message) when the document does not load.
CheckReport run_check(const std::filesystem::path& saga_path, const Settings& settings);

// The report of a check that could not begin: one error finding, of kind
// "document-not-loaded" or "missing-document", whose message is the one the
// check stopped with. Scripts reading the JSON report get the finding
// rather than nothing.
CheckReport unchecked_document_report(const std::filesystem::path& saga_path, const Settings& settings,
                                      const Error& stopped);

} // namespace enlazor
