// GRUPOST, the groups: Horalis keeps the course, level and letter that SAGA
// writes together in the group name ("1 ESO A"), the shift from the last
// character of the regime ("ORD-M"), and a description made of the name and
// the element's own text.
#include "export/catalog_values.h"
#include "export/codes.h"
#include "export/table_builders.h"
#include "export/table_setup.h"

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
Text8 description(const Text8& name, const WideText& text) {
    return to_8bit(to_wide(name + " (") + text + u")");
}

} // namespace

std::size_t build_group_table(const XmlDocument& document, const Exchange& exchange) {
    DbfTable table(exchange.directory(), "GRUPOST.DBF", OpenMode::Shared,
                   exchange.decimal_separator());
    recreate_table(table, "GRUPOST",
                   {{"ABREV", FieldType::Text, 4},
                    {"TURNO", FieldType::Text, 1},
                    {"NIVEL", FieldType::Text, 5},
                    {"CURSO", FieldType::Text, 3},
                    {"GRUPO", FieldType::Text, 2},
                    {"IDSAGA", FieldType::Text, 60},
                    {"DESCRIP", FieldType::Text, 40}});
    UsedCodes codes;
    table.open();
    std::size_t records = 0;
    for (pugi::xml_node group : catalog_elements(document, "groups", "group")) {
        const Text8 id = attribute_value(group, "id");
        // Cut while still wide, so the shift is one character of the regime
        // whatever its conversion.
        const Text8 shift = to_8bit(right_part(attribute_wide(group, "regim"), 1));
        const Text8 name = attribute_value(group, "name");
        const Text8 base = left_part(initials(name), 3);

        table.append();
        table.set_text("ABREV", codes.claim(base, base));
        table.set_text("TURNO", shift);
        table.set_text("NIVEL", level_text(name));
        table.set_text("CURSO", substring(name, 1, 1));
        table.set_text("GRUPO", right_part(name, 1));
        table.set_text("IDSAGA", id);
        table.set_text("DESCRIP", description(name, first_child_wide(group)));
        table.post();
        ++records;
    }
    table.close();
    return records;
}

} // namespace enlazor
