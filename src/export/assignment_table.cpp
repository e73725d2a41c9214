// ASIGT, what Horalis must place: one record per subject assigned to a
// group, with the codes the earlier builders gave to that subject, its
// teacher and the group, found through the IDSAGA of their records.
#include "export/assignments.h"
#include "export/catalog_values.h"
#include "export/lesson_pattern.h"
#include "export/table_builders.h"
#include "export/table_setup.h"

#include <array>

namespace enlazor {

const std::vector<std::string> kAssignedGroupFields = {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO"};
const std::vector<std::string> kAssignedSubjectFields = {"COD", "HORAS"};
const std::vector<std::string> kAssignedTeacherFields = {"ABREV"};

namespace {

// The exchange's exclusive table objects for the four catalogs, open while
// the builder runs (Horalis must not change a catalog while its codes are
// copied) and closed however the builder ends: left open after a failure,
// their locks would keep Horalis out of its own tables.
class OpenCatalogs {
public:
    explicit OpenCatalogs(Exchange& exchange)
        : tables_{&exchange.grupos(), &exchange.profesor(), &exchange.aulas(),
                  &exchange.nom_asg()} {}
    ~OpenCatalogs() {
        // Only reached by a failure already on its way to the user; a second
        // failure while releasing must not replace it.
        try {
            close();
        } catch (...) {
        }
    }
    OpenCatalogs(const OpenCatalogs&) = delete;
    OpenCatalogs& operator=(const OpenCatalogs&) = delete;

    void open() {
        for (DbfTable* table : tables_)
            table->open();
    }
    void close() {
        for (DbfTable* table : tables_)
            table->close();
    }

private:
    std::array<DbfTable*, 4> tables_;  // GRUPOST, PROFT, AULAT, ASIGNOMT
};

// Positions in the field lists above.
enum GroupValue { kGroupCode, kShift, kLevel, kCourse, kLetter, kGroupValueCount };
enum SubjectValue { kSubjectCode, kHoursText };
enum TeacherValue { kTeacherCode };

// The teacher code of the subject's last assigned teacher: it alone decides,
// so the code is empty when that one is unknown, even if an earlier was found.
Text8 last_teacher_code(pugi::xml_node assigned_subject, const CatalogIndex& teachers,
                        ExportObserver& observer) {
    Text8 code;
    for_each_nested(assigned_subject, "assigned-teachers", "assigned-teacher", [&](pugi::xml_node teacher) {
        const Text8 id = attribute_value(teacher, "id", observer);
        const std::vector<Text8>* record = teachers.find(id);
        if (!record)
            observer.assigned_id_unknown(teacher, id);
        code = record ? (*record)[kTeacherCode] : Text8{};
    });
    return code;
}

} // namespace

void resolve_assignments(const XmlDocument& document, const AssignmentCatalogs& catalogs,
                         char decimal_separator, ExportObserver& observer,
                         const std::function<void(const Assignment&)>& visit) {
    const std::vector<Text8> no_group(kGroupValueCount);
    // One record filled again for every assigned subject: its list of fields
    // keeps its memory from one to the next.
    Assignment assignment;
    for (pugi::xml_node group : catalog_elements(document, "groups", "group")) {
        const std::vector<Text8>* found = catalogs.groups.find(attribute_value(group, "id", observer));
        const std::vector<Text8>& group_values = found ? *found : no_group;

        for_each_nested(group, "assigned-subjects", "assigned-subject", [&](pugi::xml_node assigned) {
            const Text8 subject_id = attribute_value(assigned, "id", observer);
            const std::vector<Text8>* subject = catalogs.subjects.find(subject_id);
            if (!subject)
                observer.assigned_id_unknown(assigned, subject_id);
            const Text8 hours = subject ? hours_with_comma((*subject)[kHoursText]) : Text8{};

            assignment.fields = {{"CASIG", subject ? (*subject)[kSubjectCode] : Text8{}},
                                 {"CPROF", last_teacher_code(assigned, catalogs.teachers, observer)},
                                 {"CGRUP", group_values[kGroupCode]},
                                 {"CAULA", Text8{}},  // Horalis chooses the rooms
                                 {"TURNO", group_values[kShift]},
                                 {"NIVEL", group_values[kLevel]},
                                 {"CURSO", group_values[kCourse]},
                                 {"GRUPO", group_values[kLetter]}};
            // Unknown hours leave the field without value (read back as 0,
            // so no lessons); hours that are no number count as 1.
            assignment.hours.reset();
            if (!hours.empty()) {
                const std::optional<double> number = hours_number(hours, decimal_separator);
                assignment.hours = number ? *number : weekly_hours(hours, decimal_separator);
                if (!number)
                    observer.hours_not_a_number(assigned, subject_id, hours);
            }
            visit(assignment);
        });
    }
}

std::size_t build_assignment_table(const XmlDocument& document, Exchange& exchange,
                                   ExportObserver& observer) {
    DbfTable table(exchange.directory(), "ASIGT.DBF", OpenMode::Shared,
                   exchange.decimal_separator());
    recreate_table(table, "ASIGT",
                   {{"CASIG", FieldType::Text, 4},
                    {"CPROF", FieldType::Text, 4},
                    {"CGRUP", FieldType::Text, 4},
                    {"CAULA", FieldType::Text, 4},
                    {"TURNO", FieldType::Text, 1},
                    {"NIVEL", FieldType::Text, 5},
                    {"CURSO", FieldType::Text, 3},
                    {"GRUPO", FieldType::Text, 2},
                    {"HORAS", FieldType::Float, 0},
                    {"SESIONES", FieldType::Text, 20}});
    table.open();

    OpenCatalogs catalogs(exchange);
    catalogs.open();
    // Each catalog is read once; every look-up is then a hash probe.
    const CatalogIndex groups(exchange.grupos(), kAssignedGroupFields);
    const CatalogIndex teachers(exchange.profesor(), kAssignedTeacherFields);
    const CatalogIndex subjects(exchange.nom_asg(), kAssignedSubjectFields);

    std::size_t records = 0;
    FieldPositions positions(table);
    const int hours_field = table.field_index("HORAS");
    const int lessons_field = table.field_index("SESIONES");
    resolve_assignments(document, {groups, subjects, teachers}, exchange.decimal_separator(),
                        observer, [&](const Assignment& assignment) {
                            table.append();
                            assign_fields(table, assignment.fields, positions);
                            if (assignment.hours)
                                table.set_float(hours_field, *assignment.hours);
                            // The lessons follow the value as the field stores
                            // it, not as typed.
                            table.set_text(lessons_field,
                                           lesson_pattern(ceiling(table.floating(hours_field))));
                            table.post();
                            ++records;
                        });

    table.close();
    catalogs.close();
    return records;
}

} // namespace enlazor
