// AULAT, the rooms: a code from the first 2 initials of the location name,
// numbered on the whole base (A1, A11, A12, ...).
#include "export/catalog_values.h"
#include "export/codes.h"
#include "export/table_builders.h"
#include "export/table_setup.h"

namespace enlazor {

std::size_t build_room_table(const XmlDocument& document, const Exchange& exchange) {
    DbfTable table(exchange.directory(), "AULAT.DBF", OpenMode::Shared,
                   exchange.decimal_separator());
    recreate_table(table, "AULAT",
                   {{"ABREV", FieldType::Text, 4},
                    {"NOMBRE", FieldType::Text, 40},
                    {"EDIFICIO", FieldType::Text, 1},
                    {"MAXALUM", FieldType::Integer, 0},
                    {"IDSAGA", FieldType::Text, 60}});
    UsedCodes codes;
    table.open();
    std::size_t records = 0;
    for (pugi::xml_node location : catalog_elements(document, "locations", "location")) {
        const Text8 id = attribute_value(location, "id");
        const Text8 name = first_child_value(location);
        const Text8 base = left_part(initials(name), 2);

        table.append();
        table.set_text("ABREV", codes.claim(base, base));
        table.set_text("NOMBRE", name);
        table.set_text("IDSAGA", id);
        table.post();  // EDIFICIO and MAXALUM stay empty for Horalis to fill
        ++records;
    }
    table.close();
    return records;
}

} // namespace enlazor
