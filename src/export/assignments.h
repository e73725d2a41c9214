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
#include <string_view>
#include <vector>

namespace enlazor {

// The fields each catalog index must hold, in this order.
extern const std::vector<std::string> kAssignedGroupFields;    // GRUPOST: ABREV, TURNO, NIVEL, CURSO, GRUPO
extern const std::vector<std::string> kAssignedSubjectFields;  // ASIGNOMT: COD, HORAS
extern const std::vector<std::string> kAssignedTeacherFields;  // PROFT: ABREV
// Positions in those lists.
enum AssignedGroupValue { kGroupCode, kShift, kLevel, kCourse, kLetter };
enum AssignedSubjectValue { kSubjectCode, kHoursText };
enum AssignedTeacherValue { kTeacherCode };

// The catalogs as the earlier builders stored them, by IDSAGA.
struct AssignmentCatalogs {
    const CatalogIndex& groups;
    const CatalogIndex& subjects;
    const CatalogIndex& teachers;
};

// The ids of every group, assigned subject and assigned teacher, in
// document order, read before any catalog exists: the export reads them
// while it builds the catalogs, on the machine's other core. Reading them
// tells no observer. A plain ASCII id is kept as a view into the document,
// which must outlive this; any other id (missing, or with characters that
// may need the general conversion and its findings) is read again where it
// is resolved, so findings still come in the order of the walk.
struct AssignedIds {
    struct Id {
        pugi::xml_node element;
        std::optional<std::string_view> ascii;  // the id, when plain ASCII
    };
    struct Subject {
        Id id;
        std::size_t teachers_end;  // its teachers end here in `teachers`
    };
    struct Group {
        Id id;
        std::size_t subjects_end;  // its subjects end here in `subjects`
    };

    explicit AssignedIds(const XmlDocument& document);

    std::vector<Group> groups;
    std::vector<Subject> subjects;
    std::vector<Id> teachers;
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
void resolve_assignments(const AssignedIds& ids, const AssignmentCatalogs& catalogs,
                         char decimal_separator, ExportObserver& observer,
                         const std::function<void(const Assignment&)>& visit);

// The same, reading the ids first.
void resolve_assignments(const XmlDocument& document, const AssignmentCatalogs& catalogs,
                         char decimal_separator, ExportObserver& observer,
                         const std::function<void(const Assignment&)>& visit);

} // namespace enlazor
