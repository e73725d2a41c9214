// PROFT, the teachers: a code from the name's initials, numbered on a stem
// of 3 so that a fourth initial gives way to the number (ADEF, then ADE1).
#include "export/catalog_values.h"
#include "export/codes.h"
#include "export/table_builders.h"
#include "export/table_setup.h"

namespace enlazor {

std::size_t build_teacher_table(const XmlDocument& document, const Exchange& exchange) {
    DbfTable table(exchange.directory(), "PROFT.DBF", OpenMode::Shared,
                   exchange.decimal_separator());
    recreate_table(table, "PROFT",
                   {{"ABREV", FieldType::Text, 4},
                    {"NOMBRE", FieldType::Text, 40},
                    {"DEPART", FieldType::Text, 40},
                    {"DNI", FieldType::Integer, 0},
                    {"IDSAGA", FieldType::Text, 60}});
    UsedCodes codes;
    table.open();
    std::size_t records = 0;
    for (pugi::xml_node teacher : catalog_elements(document, "teachers", "teacher")) {
        const Text8 id = attribute_value(teacher, "id");
        // The name is the element's content, not a `name` attribute.
        const Text8 name = first_child_value(teacher);
        const Text8 base = left_part(initials(name), 4);

        table.append();
        table.set_text("ABREV", codes.claim(base, left_part(base, 3)));
        table.set_text("NOMBRE", name);
        table.set_text("IDSAGA", id);
        table.post();  // DEPART and DNI stay empty for Horalis to fill
        ++records;
    }
    table.close();
    return records;
}

} // namespace enlazor
