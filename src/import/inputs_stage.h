// One input per lesson that the solution places.
#pragma once

#include "import/catalog_lists.h"
#include "import/import_observer.h"
#include "storage/exchange.h"

#include <pugixml.hpp>

#include <cstddef>
#include <functional>

namespace enlazor {

// Appends `inputs` to `time_table` with one input per SOLUC record whose DIA
// is not 0, in SOLUC order. SOLUC and the four catalogs must be open.
// Returns the number of inputs written.
std::size_t write_inputs(pugi::xml_node time_table, Exchange& exchange, const ActivityLists& lists,
                         ImportObserver& observer = ignore_import_findings());

// The same inputs, each handed to `write_input` as soon as it is made and
// forgotten after, for a save that writes them straight into the file.
std::size_t stream_inputs(Exchange& exchange, const ActivityLists& lists, ImportObserver& observer,
                          const std::function<void(pugi::xml_node)>& write_input);

// The input's interval number as text: HORA, or HORA * 2 - 1 for a half
// session (SESIONES exactly 0.5), written without a decimal part when whole.
Text8 interval_number(double hora, double sesiones, char decimal_separator);

} // namespace enlazor
