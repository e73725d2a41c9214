// The new time-tables section and its first list, the days with their
// intervals from DIASHORAST.
#pragma once

#include "import/import_observer.h"
#include "storage/dbf_table.h"

#include <pugixml.hpp>

#include <cstddef>

namespace enlazor {

// Removes every time-tables child of the document element (deeper ones
// stay), appends a new one as its last child and gives it the one
// time-table element, tt1 "Horalis", which it returns.
pugi::xml_node replace_time_tables_section(pugi::xml_node document_element);

struct DaysWritten {
    std::size_t days = 0;
    std::size_t intervals = 0;
};

// Appends `days` to `time_table`: days 1 to 7 and their periods 1 to 40, as
// DIASHORAST names them by exact text, from the open table.
DaysWritten write_days(pugi::xml_node time_table, DbfTable& dias_horas,
                       ImportObserver& observer = ignore_import_findings());

// The `end` of an interval: a time of 1 to 4 characters not starting with
// "0" gets one in front ("9:30" becomes "09:30"); anything else stays.
Text8 with_leading_zero(const Text8& end_time);

} // namespace enlazor
