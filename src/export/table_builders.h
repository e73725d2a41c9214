// The six builders of the export, each rebuilding one Horalis table in the
// exchange directory from the SAGA document. Each returns the number of
// records it wrote. export_tables runs them in order. The observer hears
// of the decisions worth a look (see export_observer.h).
#pragma once

#include "export/assignments.h"
#include "export/export_observer.h"
#include "storage/exchange.h"
#include "storage/xml_document.h"

#include <cstddef>

namespace enlazor {

// ASIGNOMT: one record per /document/subjects/subject.
std::size_t build_subject_table(const XmlDocument& document, const Exchange& exchange,
                                ExportObserver& observer = ignore_export_findings());

// PROFT: one record per /document/teachers/teacher.
std::size_t build_teacher_table(const XmlDocument& document, const Exchange& exchange,
                                ExportObserver& observer = ignore_export_findings());

// AULAT: one record per /document/locations/location.
std::size_t build_room_table(const XmlDocument& document, const Exchange& exchange,
                             ExportObserver& observer = ignore_export_findings());

// GRUPOST: one record per /document/groups/group.
std::size_t build_group_table(const XmlDocument& document, const Exchange& exchange,
                              ExportObserver& observer = ignore_export_findings());

// ASIGT: one record per assigned subject of every group, resolved against
// the four tables above through the exchange's exclusive table objects.
std::size_t build_assignment_table(const XmlDocument& document, Exchange& exchange,
                                   ExportObserver& observer = ignore_export_findings());
// The same with the assignments' ids already read from the document.
std::size_t build_assignment_table(const AssignedIds& ids, Exchange& exchange,
                                   ExportObserver& observer = ignore_export_findings());

// DIASHORAST: re-created empty, for Horalis to fill with days and periods.
std::size_t build_day_period_table(const Exchange& exchange);

} // namespace enlazor
