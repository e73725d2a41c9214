// ASIGT, what Horalis must place: one record per subject assigned to a
// group, with the codes the earlier builders gave to that subject, its
// teacher and the group, found through the IDSAGA of their records.
#include "export/assignments.h"
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

// ASIGT's fields, by position in the table.
struct AssignmentFields {
    explicit AssignmentFields(const DbfTable& table)
        : subject(table.field_index("CASIG")),
          teacher(table.field_index("CPROF")),
          group(table.field_index("CGRUP")),
          shift(table.field_index("TURNO")),
          level(table.field_index("NIVEL")),
          course(table.field_index("CURSO")),
          letter(table.field_index("GRUPO")),
          hours(table.field_index("HORAS")),
          lessons(table.field_index("SESIONES")) {}
    int subject, teacher, group, shift, level, course, letter, hours, lessons;
};

// Each ASIGT record put together from the prepared records of its group,
// subject and teacher: every catalog record's values are encoded once, not
// once for each of the hundreds of assignments that name it. A part is
// prepared the first time it is needed; the last slot of each list stands
// for an unknown id.
class AssignmentRecords {
public:
    AssignmentRecords(DbfTable& table, const AssignmentCatalogs& catalogs)
        : table_(table),
          fields_(table),
          catalogs_(catalogs),
          groups_(catalogs.groups.size() + 1),
          subjects_(catalogs.subjects.size() + 1),
          teachers_(catalogs.teachers.size() + 1) {}

    void post(const Assignment& assignment) {
        const std::string& group = group_part(assignment.group);
        const std::string& subject = subject_part(assignment);
        const std::string& teacher = teacher_part(assignment.teacher);
        table_.append_from(group);
        table_.copy_field(fields_.subject, subject);
        table_.copy_field(fields_.hours, subject);
        table_.copy_field(fields_.lessons, subject);
        table_.copy_field(fields_.teacher, teacher);
        table_.post();
    }

private:
    // A record holding what `set` writes, taken before it is dropped.
    template <typename Set>
    std::string prepared(Set&& set) {
        table_.append();
        set();
        std::string record(table_.record_bytes());
        table_.cancel();
        return record;
    }

    static std::size_t slot(std::size_t position, const std::vector<std::string>& parts) {
        return position == CatalogIndex::kNotFound ? parts.size() - 1 : position;
    }

    // CGRUP, TURNO, NIVEL, CURSO, GRUPO; CAULA stays empty, Horalis
    // chooses the rooms. The record every assignment of the group starts from.
    const std::string& group_part(std::size_t position) {
        std::string& part = groups_[slot(position, groups_)];
        if (part.empty())
            part = prepared([&] {
                if (position == CatalogIndex::kNotFound)
                    return;
                const std::vector<Text8>& values = catalogs_.groups.values(position);
                table_.set_text(fields_.group, values[kGroupCode]);
                table_.set_text(fields_.shift, values[kShift]);
                table_.set_text(fields_.level, values[kLevel]);
                table_.set_text(fields_.course, values[kCourse]);
                table_.set_text(fields_.letter, values[kLetter]);
            });
        return part;
    }

    // CASIG, HORAS and SESIONES.
    const std::string& subject_part(const Assignment& assignment) {
        std::string& part = subjects_[slot(assignment.subject, subjects_)];
        if (part.empty())
            part = prepared([&] {
                if (assignment.subject != CatalogIndex::kNotFound)
                    table_.set_text(fields_.subject,
                                    catalogs_.subjects.values(assignment.subject)[kSubjectCode]);
                if (assignment.hours)
                    table_.set_float(fields_.hours, *assignment.hours);
                // The lessons follow the value as the field stores it, not as typed.
                table_.set_text(fields_.lessons,
                                lesson_pattern(ceiling(table_.floating(fields_.hours))));
            });
        return part;
    }

    // CPROF.
    const std::string& teacher_part(std::size_t position) {
        std::string& part = teachers_[slot(position, teachers_)];
        if (part.empty())
            part = prepared([&] {
                if (position != CatalogIndex::kNotFound)
                    table_.set_text(fields_.teacher, catalogs_.teachers.values(position)[kTeacherCode]);
            });
        return part;
    }

    DbfTable& table_;
    const AssignmentFields fields_;
    const AssignmentCatalogs& catalogs_;
    std::vector<std::string> groups_;
    std::vector<std::string> subjects_;
    std::vector<std::string> teachers_;
};

} // namespace

std::size_t build_assignment_table(const XmlDocument& document, Exchange& exchange,
                                   ExportObserver& observer) {
    return build_assignment_table(AssignedIds(document), exchange, observer);
}

std::size_t build_assignment_table(const AssignedIds& ids, Exchange& exchange,
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
                    {"SESIONES", FieldType::Text, 20}},
                   DbfTable::Flush::AtClose);  // opened and filled at once: its close flushes it
    table.open();

    OpenCatalogs catalogs(exchange);
    catalogs.open();
    // Each catalog is read once; every look-up is then a hash probe.
    const CatalogIndex groups(exchange.grupos(), kAssignedGroupFields);
    const CatalogIndex teachers(exchange.profesor(), kAssignedTeacherFields);
    const CatalogIndex subjects(exchange.nom_asg(), kAssignedSubjectFields);
    const AssignmentCatalogs indexed{groups, subjects, teachers};

    table.reserve(ids.subjects.size());  // one record per assigned subject
    std::size_t records = 0;
    AssignmentRecords assembled(table, indexed);
    resolve_assignments(ids, indexed, exchange.decimal_separator(), observer,
                        [&](const Assignment& assignment) {
                            assembled.post(assignment);
                            ++records;
                        });

    table.close();
    catalogs.close();
    return records;
}

} // namespace enlazor
