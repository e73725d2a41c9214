// ASIGT, what Horalis must place: one record per subject assigned to a
// group, with the codes the earlier builders gave to that subject, its
// teacher and the group, found through the IDSAGA of their records.
#include "export/catalog_index.h"
#include "export/catalog_values.h"
#include "export/lesson_pattern.h"
#include "export/table_builders.h"
#include "export/table_setup.h"

#include <array>

namespace enlazor {

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

// What one group gives every record of its assigned subjects.
enum GroupValue { kGroupCode, kShift, kLevel, kCourse, kLetter, kGroupValueCount };
const std::vector<std::string> kGroupFields = {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO"};

enum SubjectValue { kSubjectCode, kHoursText };
const std::vector<std::string> kSubjectFields = {"COD", "HORAS"};

enum TeacherValue { kTeacherCode };
const std::vector<std::string> kTeacherFields = {"ABREV"};

// The teacher code of the subject's last assigned teacher: it alone decides,
// so the code is empty when that one is unknown, even if an earlier was found.
Text8 last_teacher_code(pugi::xml_node assigned_subject, const CatalogIndex& teachers) {
    Text8 code;
    for (pugi::xml_node teacher :
         nested_elements(assigned_subject, "assigned-teachers", "assigned-teacher")) {
        const std::vector<Text8>* record = teachers.find(attribute_value(teacher, "id"));
        code = record ? (*record)[kTeacherCode] : Text8{};
    }
    return code;
}

} // namespace

std::size_t build_assignment_table(const XmlDocument& document, Exchange& exchange) {
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
    const CatalogIndex groups(exchange.grupos(), kGroupFields);
    const CatalogIndex teachers(exchange.profesor(), kTeacherFields);
    const CatalogIndex subjects(exchange.nom_asg(), kSubjectFields);

    const std::vector<Text8> no_group(kGroupValueCount);
    std::size_t records = 0;
    for (pugi::xml_node group : catalog_elements(document, "groups", "group")) {
        const std::vector<Text8>* found = groups.find(attribute_value(group, "id"));
        const std::vector<Text8>& group_values = found ? *found : no_group;

        for (pugi::xml_node assigned :
             nested_elements(group, "assigned-subjects", "assigned-subject")) {
            const std::vector<Text8>* subject = subjects.find(attribute_value(assigned, "id"));
            const Text8 subject_code = subject ? (*subject)[kSubjectCode] : Text8{};
            const Text8 hours = subject ? hours_with_comma((*subject)[kHoursText]) : Text8{};

            table.append();
            table.set_text("CASIG", subject_code);
            table.set_text("CPROF", last_teacher_code(assigned, teachers));
            table.set_text("CGRUP", group_values[kGroupCode]);
            table.set_text("CAULA", Text8{});  // Horalis chooses the rooms
            table.set_text("TURNO", group_values[kShift]);
            table.set_text("NIVEL", group_values[kLevel]);
            table.set_text("CURSO", group_values[kCourse]);
            table.set_text("GRUPO", group_values[kLetter]);
            // Unknown hours leave the field without value (read back as 0,
            // so no lessons); hours that are no number count as 1.
            if (!hours.empty())
                table.set_float("HORAS", weekly_hours(hours, exchange.decimal_separator()));
            // The lessons follow the value as the field stores it, not as typed.
            table.set_text("SESIONES", lesson_pattern(ceiling(table.floating("HORAS"))));
            table.post();
            ++records;
        }
    }

    table.close();
    catalogs.close();
    return records;
}

} // namespace enlazor
