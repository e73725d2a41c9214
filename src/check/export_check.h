// The export's half of the check.
#pragma once

#include "check/check_report.h"
#include "storage/xml_document.h"

namespace enlazor {

// Runs the export's own record derivation and assignment resolution over the
// document in memory, with the tables' field rules applied to what would be
// stored, and adds what deserves a look to `report`. Writes nothing.
void check_export(const XmlDocument& document, char decimal_separator, CheckReport& report);

} // namespace enlazor
