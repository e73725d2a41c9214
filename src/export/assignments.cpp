#include "export/assignments.h"

#include "export/catalog_values.h"
#include "export/lesson_pattern.h"

namespace enlazor {

const std::vector<std::string> kAssignedGroupFields = {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO"};
const std::vector<std::string> kAssignedSubjectFields = {"COD", "HORAS"};
const std::vector<std::string> kAssignedTeacherFields = {"ABREV"};

namespace {

AssignedIds::Id read_id(pugi::xml_node element) {
    return {element, ascii_attribute_value(element, "id")};
}

// An id's text as attribute_value gives it: read now, with its findings,
// unless it was plain ASCII when read ahead.
class IdText {
public:
    IdText(const AssignedIds::Id& id, ExportObserver& observer) {
        if (id.ascii) {
            text_ = *id.ascii;
        } else {
            read_ = attribute_value(id.element, "id", observer);
            text_ = read_;
        }
    }
    IdText(const IdText&) = delete;  // the view may point into read_
    IdText& operator=(const IdText&) = delete;
    std::string_view view() const { return text_; }
    Text8 text() const { return Text8(text_); }

private:
    Text8 read_;
    std::string_view text_;
};

// The hours an assignment takes from its subject's stored HORAS text.
struct SubjectHours {
    std::optional<double> hours;  // none when the text is empty
    bool not_a_number = false;    // then the hours count as 1
};

SubjectHours subject_hours(const Text8& stored_hours, char decimal_separator) {
    const Text8 hours = hours_with_comma(stored_hours);
    if (hours.empty())
        return {};
    // Unknown hours leave the field without value (read back as 0, so no
    // lessons); hours that are no number count as 1.
    const std::optional<double> number = hours_number(hours, decimal_separator);
    return {number ? *number : weekly_hours(hours, decimal_separator), !number};
}

} // namespace

AssignedIds::AssignedIds(const XmlDocument& document) {
    const std::vector<pugi::xml_node> group_elements = catalog_elements(document, "groups", "group");
    // Counted first, so that each list is filled in place: growing them
    // would copy each one several times over fresh memory, which costs
    // more than this walk.
    std::size_t subject_count = 0;
    std::size_t teacher_count = 0;
    for (pugi::xml_node group : group_elements)
        for_each_nested(group, "assigned-subjects", "assigned-subject", [&](pugi::xml_node assigned) {
            ++subject_count;
            for_each_nested(assigned, "assigned-teachers", "assigned-teacher",
                            [&](pugi::xml_node) { ++teacher_count; });
        });
    groups.reserve(group_elements.size());
    subjects.reserve(subject_count);
    teachers.reserve(teacher_count);

    for (pugi::xml_node group : group_elements) {
        const Id group_id = read_id(group);
        for_each_nested(group, "assigned-subjects", "assigned-subject", [&](pugi::xml_node assigned) {
            const Id subject_id = read_id(assigned);
            for_each_nested(assigned, "assigned-teachers", "assigned-teacher",
                            [&](pugi::xml_node teacher) { teachers.push_back(read_id(teacher)); });
            subjects.push_back({subject_id, teachers.size()});
        });
        groups.push_back({group_id, subjects.size()});
    }
}

void resolve_assignments(const AssignedIds& ids, const AssignmentCatalogs& catalogs,
                         char decimal_separator, ExportObserver& observer,
                         const std::function<void(const Assignment&)>& visit) {
    // Every assignment of a subject takes the same hours: read once each.
    std::vector<std::optional<SubjectHours>> hours_of(catalogs.subjects.size());
    Assignment assignment;
    std::size_t subject = 0;
    std::size_t teacher = 0;
    for (const AssignedIds::Group& group : ids.groups) {
        assignment.group = catalogs.groups.find(IdText(group.id, observer).view());
        for (; subject < group.subjects_end; ++subject) {
            const AssignedIds::Subject& assigned = ids.subjects[subject];
            const IdText subject_id(assigned.id, observer);
            assignment.subject = catalogs.subjects.find(subject_id.view());
            if (assignment.subject == CatalogIndex::kNotFound)
                observer.assigned_id_unknown(assigned.id.element, subject_id.text());

            // The last assigned teacher alone decides, so the teacher is
            // unknown when that one is, even if an earlier was found.
            assignment.teacher = CatalogIndex::kNotFound;
            for (; teacher < assigned.teachers_end; ++teacher) {
                const IdText teacher_id(ids.teachers[teacher], observer);
                assignment.teacher = catalogs.teachers.find(teacher_id.view());
                if (assignment.teacher == CatalogIndex::kNotFound)
                    observer.assigned_id_unknown(ids.teachers[teacher].element, teacher_id.text());
            }

            assignment.hours.reset();
            if (assignment.subject != CatalogIndex::kNotFound) {
                const Text8& stored = catalogs.subjects.values(assignment.subject)[kHoursText];
                std::optional<SubjectHours>& hours = hours_of[assignment.subject];
                if (!hours)
                    hours = subject_hours(stored, decimal_separator);
                assignment.hours = hours->hours;
                if (hours->not_a_number)
                    observer.hours_not_a_number(assigned.id.element, subject_id.text(),
                                                hours_with_comma(stored));
            }
            visit(assignment);
        }
    }
}

void resolve_assignments(const XmlDocument& document, const AssignmentCatalogs& catalogs,
                         char decimal_separator, ExportObserver& observer,
                         const std::function<void(const Assignment&)>& visit) {
    resolve_assignments(AssignedIds(document), catalogs, decimal_separator, observer, visit);
}

} // namespace enlazor
