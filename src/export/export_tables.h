// The export: the SAGA document's catalogs become the six Horalis tables.
#pragma once

#include "platform/leftover_saves.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <cstddef>
#include <string>
#include <vector>

namespace enlazor {

struct TableCount {
    std::string table;     // "ASIGNOMT", ...
    std::size_t records;   // records written
};

struct ExportSummary {
    std::vector<TableCount> tables;  // in the order the builders ran
    // What interrupted saves had left beside the document, removed first.
    LeftoverRemoval leftovers;
};

// Runs the six builders in order: subjects, teachers, rooms, groups,
// assignments, day-periods. Throws Error on the first failure; tables
// rebuilt before it stay rebuilt.
ExportSummary export_tables(const XmlDocument& document, Exchange& exchange);

// The whole export direction after the file has been chosen: the file check
// (MissingFile when the path names no file), the direction lock, the removal
// of interrupted saves' temporary files beside the document, the load and
// the export.
ExportSummary run_export(const std::filesystem::path& saga_path, Exchange& exchange);

} // namespace enlazor
