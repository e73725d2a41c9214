// What the import decides about Horalis's tables that deserves a look before
// the document is changed. The stages call an observer where a rule makes
// such a decision; the default observer ignores it all, so a normal import
// runs as if there were none. `enlazor-cli check` passes one that collects.
//
// Records are counted from 1 in the order the stages read them (deleted
// records are not counted), as a table viewer shows them.
#pragma once

#include "storage/text.h"

#include <pugixml.hpp>

#include <cstddef>

namespace enlazor {

class ImportObserver {
public:
    virtual ~ImportObserver() = default;

    // DIASHORAST record `record` gives no day: its DIA is not the plain text
    // of 1 to 7 ("01", "0", "8" and " 1" are not).
    virtual void day_never_read(std::size_t /*record*/, const Text8& /*dia*/) {}

    // DIASHORAST record `record` names a day but gives no interval: its HORA
    // is not the plain text of 1 to 40.
    virtual void period_never_read(std::size_t /*record*/, const Text8& /*dia*/,
                                   const Text8& /*hora*/) {}

    // The code of SOLUC record `record` in `field` (CODGRUPO, PROF, AULA or
    // ASIG) names no catalog record: the input carries the code itself.
    virtual void code_without_record(std::size_t /*record*/, const char* /*field*/,
                                     const Text8& /*code*/) {}

    // SOLUC record `record` finds no activity: `subject` (its ASIG code's
    // IDSAGA, or the code itself) is no subject of a listed activity. The
    // import stops here with "List index out of bounds (-1)"; an observer
    // that returns true lets it go on, writing the input without activity,
    // so that a check sees every such record.
    virtual bool go_on_without_activity(std::size_t /*record*/, const Text8& /*asig*/,
                                        const Text8& /*subject*/) {
        return false;
    }

    // SOLUC record `record` became `input`, complete.
    virtual void input_written(std::size_t /*record*/, pugi::xml_node /*input*/) {}
};

// The observer that ignores everything: what the stages use by default.
ImportObserver& ignore_import_findings();

} // namespace enlazor
