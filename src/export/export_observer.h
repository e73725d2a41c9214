// What the export decides about a school's data that deserves a look before
// the tables are written. The builders call an observer where a rule makes
// such a decision; the default observer ignores it all, so a normal export
// runs as if there were none. `enlazor-cli check` passes one that collects.
#pragma once

#include "storage/text.h"

#include <pugixml.hpp>

namespace enlazor {

class ExportObserver {
public:
    virtual ~ExportObserver() = default;

    // `element` has no attribute `value` (or, for kFirstChild, no child node)
    // although the export reads it: it is taken as the empty text.
    virtual void value_missing(pugi::xml_node /*element*/, const char* /*value*/) {}

    // Windows-1252 cannot hold `read`, the value `value` of `element`: the
    // table gets `stored`, with best-fit letters or "?".
    virtual void text_changed(pugi::xml_node /*element*/, const char* /*value*/,
                              const WideText& /*read*/, const Text8& /*stored*/) {}

    // An assigned-subject or assigned-teacher whose id no record of its
    // catalog has: the assignment's code stays empty.
    virtual void assigned_id_unknown(pugi::xml_node /*assigned*/, const Text8& /*id*/) {}

    // The hours of the subject with `subject_id`, as the assignment reads them
    // (points made commas), are no number with the decimal separator in use:
    // the assignment of `assigned_subject` counts them as 1.
    virtual void hours_not_a_number(pugi::xml_node /*assigned_subject*/,
                                    const Text8& /*subject_id*/, const Text8& /*hours*/) {}

    // The name the observer is given for an element's first child node.
    static constexpr const char* kFirstChild = "(primer hijo)";
};

// The observer that ignores everything: what the builders use by default.
ExportObserver& ignore_export_findings();

} // namespace enlazor
