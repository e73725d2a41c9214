// What each subject assigned to a group puts in its ASIGT record: the codes
// of the subject, its teacher and the group, found by SAGA id in the
// catalogs, and the weekly hours. The assignment builder writes these
// records; the check resolves the same ones against catalogs in memory.
#pragma once

#include "export/catalog_index.h"
#include "export/export_observer.h"
#include "storage/xml_document.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace enlazor {

// The fields each catalog index must hold, in this order.
extern const std::vector<std::string> kAssignedGroupFields;    // GRUPOST: ABREV, TURNO, NIVEL, CURSO, GRUPO
extern const std::vector<std::string> kAssignedSubjectFields;  // ASIGNOMT: COD, HORAS
extern const std::vector<std::string> kAssignedTeacherFields;  // PROFT: ABREV

// The catalogs as the earlier builders stored them, by IDSAGA.
struct AssignmentCatalogs {
    const CatalogIndex& groups;
    const CatalogIndex& subjects;
    const CatalogIndex& teachers;
};

// One assigned subject, by the positions of its records in the catalogs
// (CatalogIndex::kNotFound for an id no record has).
struct Assignment {
    std::size_t group = CatalogIndex::kNotFound;
    std::size_t subject = CatalogIndex::kNotFound;
    std::size_t teacher = CatalogIndex::kNotFound;  // of its last assigned teacher
    std::optional<double> hours;  // HORAS; none when the subject's hours text is empty
};

// Calls `visit` for every assigned subject of every group, groups and their
// assigned subjects in document order.
void resolve_assignments(const XmlDocument& document, const AssignmentCatalogs& catalogs,
                         char decimal_separator, ExportObserver& observer,
                         const std::function<void(const Assignment&)>& visit);

} // namespace enlazor
