// What the check says of each Horalis table the import reads: the dBase
// level and language driver it was written with, and whether its text
// reaches the program whole.
#pragma once

#include "check/check_report.h"
#include "storage/settings.h"

namespace enlazor {

// Opens each of the import's tables present in the exchange directory
// (shared, reading only), lists its level and driver in `report`, and warns
// of a driver we cannot convert from and of every field text the system
// code page cannot hold. A table that does not open is left to the import,
// which reports why.
void check_table_dialects(const Settings& settings, CheckReport& report);

} // namespace enlazor
