// The two conversions as the frames call them, once the SAGA document has
// been chosen and found. The window uses the core's (CoreConversions);
// tests put stand-ins in their place.
#pragma once

#include <filesystem>

namespace enlazor::app {

class Conversions {
public:
    virtual ~Conversions() = default;

    // Loads the document and rebuilds the six Horalis tables from it.
    // Throws enlazor::Error (MissingFile when the file is gone).
    virtual void run_export(const std::filesystem::path& saga_document) = 0;

    // Loads the document, writes Horalis's solution into its time-tables
    // section and saves it over the same file. Throws enlazor::Error.
    virtual void run_import(const std::filesystem::path& saga_document) = 0;
};

} // namespace enlazor::app
