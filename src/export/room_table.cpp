// AULAT, the rooms: a code from the first 2 initials of the location name,
// numbered on the whole base (A1, A11, A12, ...).
#include "export/catalog_table.h"
#include "export/catalog_values.h"
#include "export/table_builders.h"

namespace enlazor {

namespace {

Record room_record(pugi::xml_node location, UsedCodes& codes, ExportObserver& observer) {
    const Text8 id = attribute_value(location, "id", observer);
    const Text8 name = first_child_value(location, observer);
    const Text8 base = left_part(initials(name), 2);
    // EDIFICIO and MAXALUM stay empty for Horalis to fill.
    return {{"ABREV", codes.claim(base, base)}, {"NOMBRE", name}, {"IDSAGA", id}};
}

} // namespace

const CatalogTable kRoomTable{"AULAT",
                              "locations",
                              "location",
                              {{"ABREV", FieldType::Text, 4},
                               {"NOMBRE", FieldType::Text, 40},
                               {"EDIFICIO", FieldType::Text, 1},
                               {"MAXALUM", FieldType::Integer, 0},
                               {"IDSAGA", FieldType::Text, 60}},
                              room_record};

std::size_t build_room_table(const XmlDocument& document, const Exchange& exchange,
                             ExportObserver& observer) {
    return build_catalog_table(document, exchange, kRoomTable, observer);
}

} // namespace enlazor
