// PROFT, the teachers: a code from the name's initials, numbered on a stem
// of 3 so that a fourth initial gives way to the number (ADEF, then ADE1).
#include "export/catalog_table.h"
#include "export/catalog_values.h"
#include "export/table_builders.h"

namespace enlazor {

namespace {

Record teacher_record(pugi::xml_node teacher, UsedCodes& codes, ExportObserver& observer) {
    const Text8 id = attribute_value(teacher, "id", observer);
    // The name is the element's content, not a `name` attribute.
    const Text8 name = first_child_value(teacher, observer);
    const Text8 base = left_part(initials(name), 4);
    // DEPART and DNI stay empty for Horalis to fill.
    return {{"ABREV", codes.claim(base, left_part(base, 3))}, {"NOMBRE", name}, {"IDSAGA", id}};
}

} // namespace

const CatalogTable kTeacherTable{"PROFT",
                                 "teachers",
                                 "teacher",
                                 {{"ABREV", FieldType::Text, 4},
                                  {"NOMBRE", FieldType::Text, 40},
                                  {"DEPART", FieldType::Text, 40},
                                  {"DNI", FieldType::Integer, 0},
                                  {"IDSAGA", FieldType::Text, 60}},
                                 teacher_record};

std::size_t build_teacher_table(const XmlDocument& document, const Exchange& exchange,
                                ExportObserver& observer) {
    return build_catalog_table(document, exchange, kTeacherTable, observer);
}

} // namespace enlazor
