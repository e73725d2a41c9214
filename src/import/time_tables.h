// The import: Horalis's solution becomes the document's time-tables section.
#pragma once

#include "import/import_observer.h"
#include "platform/leftover_saves.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <cstddef>
#include <filesystem>

namespace enlazor {

struct ImportSummary {
    std::size_t days = 0;
    std::size_t intervals = 0;
    std::size_t groups = 0;
    std::size_t members = 0;
    std::size_t activities = 0;
    std::size_t inputs = 0;
    // What interrupted saves had left beside the document, removed first
    // (run_import only).
    LeftoverRemoval leftovers;
};

// Replaces every time-tables child of the document element with one new
// section built from SOLUC, DIASHORAST and the catalog tables, in memory
// only, telling the observer what deserves a look. Throws Error on any
// failure. The tables are opened through the exchange's objects (shared
// ones for a check) and read, never changed.
ImportSummary build_time_tables(XmlDocument& document, Exchange& exchange,
                                ImportObserver& observer = ignore_import_findings());

// build_time_tables, then saves the document over `saga_path`. Throws Error
// on any failure; the file then stays as it was. The inputs are made during
// the save and written straight into the file: afterwards the document in
// memory holds the section with an empty inputs element.
ImportSummary write_time_tables(XmlDocument& document, Exchange& exchange,
                                const std::filesystem::path& saga_path);

// The whole import direction after the file has been chosen: file check,
// direction lock, removal of interrupted saves' temporary files beside the
// document, load, write_time_tables.
ImportSummary run_import(const std::filesystem::path& saga_path, Exchange& exchange);

} // namespace enlazor
