// GRUPOST, the groups: Horalis keeps the course, level and letter that SAGA
// writes together in the group name ("1 ESO A"), the shift from the last
// character of the regime ("ORD-M"), and a description made of the name and
// the element's own text.
#include "export/catalog_table.h"
#include "export/catalog_values.h"
#include "export/table_builders.h"

namespace enlazor {

namespace {

// The text strictly between the first and the last space of the name:
// "ESO" of "1 ESO A", "BACH CT" of "2 BACH CT B"; empty with fewer than two
// spaces or with only two adjacent ones.
Text8 level_text(const Text8& name) {
    const std::size_t first = name.find(' ');
    if (first == Text8::npos)
        return {};
    const std::size_t last = name.rfind(' ');
    if (last <= first + 1)
        return {};
    return name.substr(first + 1, last - first - 1);
}

// "1 ESO A (Primero A)". Joined as wide text so that the element's text is
// converted once, with the name, into the tables' code page.
Text8 description(const Text8& name, pugi::xml_node group, ExportObserver& observer) {
    return table_text(to_wide(name + " (") + first_child_wide(group, observer) + u")", group,
                      "DESCRIP", observer);
}

Record group_record(pugi::xml_node group, UsedCodes& codes, ExportObserver& observer) {
    const Text8 id = attribute_value(group, "id", observer);
    // Cut while still wide, so the shift is one character of the regime
    // whatever its conversion.
    const Text8 shift =
        table_text(right_part(attribute_wide(group, "regim", observer), 1), group, "regim", observer);
    const Text8 name = attribute_value(group, "name", observer);
    const Text8 base = left_part(initials(name), 3);
    return {{"ABREV", codes.claim(base, base)},
            {"TURNO", shift},
            {"NIVEL", level_text(name)},
            {"CURSO", substring(name, 1, 1)},
            {"GRUPO", right_part(name, 1)},
            {"IDSAGA", id},
            {"DESCRIP", description(name, group, observer)}};
}

} // namespace

const CatalogTable kGroupTable{"GRUPOST",
                               "groups",
                               "group",
                               {{"ABREV", FieldType::Text, 4},
                                {"TURNO", FieldType::Text, 1},
                                {"NIVEL", FieldType::Text, 5},
                                {"CURSO", FieldType::Text, 3},
                                {"GRUPO", FieldType::Text, 2},
                                {"IDSAGA", FieldType::Text, 60},
                                {"DESCRIP", FieldType::Text, 40}},
                               group_record};

std::size_t build_group_table(const XmlDocument& document, const Exchange& exchange,
                              ExportObserver& observer) {
    return build_catalog_table(document, exchange, kGroupTable, observer);
}

} // namespace enlazor
