// The import's half of the check.
#pragma once

#include "check/check_report.h"
#include "storage/settings.h"
#include "storage/xml_document.h"

namespace enlazor {

// When the exchange directory holds SOLUC, runs the import's own stages on
// `document` in memory, reading Horalis's tables through shared opens, and
// adds what deserves a look to `report`, or the error that would stop the
// import. The document is changed in memory and must not be saved; no table
// is changed.
void check_import(XmlDocument& document, const Settings& settings, CheckReport& report);

} // namespace enlazor
