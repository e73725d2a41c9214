// ASIGNOMT, the subjects: subject code from the id, long subject code
// numbered from the name, and the weekly hours kept as the document's text.
#include "export/catalog_values.h"
#include "export/codes.h"
#include "export/table_builders.h"
#include "export/table_setup.h"

namespace enlazor {

namespace {
// A subject whose hours are missing or blank is taught 4 hours a week.
const Text8 kDefaultHours = "4";
} // namespace

std::size_t build_subject_table(const XmlDocument& document, const Exchange& exchange) {
    DbfTable table(exchange.directory(), "ASIGNOMT.DBF", OpenMode::Shared,
                   exchange.decimal_separator());
    recreate_table(table, "ASIGNOMT",
                   {{"COD", FieldType::Text, 4},
                    {"CODLARGO", FieldType::Text, 8},
                    {"NOMBRE", FieldType::Text, 40},
                    {"IDSAGA", FieldType::Text, 60},
                    {"HORAS", FieldType::Text, 8}});
    UsedCodes long_codes;
    table.open();
    std::size_t records = 0;
    for (pugi::xml_node subject : catalog_elements(document, "subjects", "subject")) {
        const Text8 id = attribute_value(subject, "id");
        const Text8 name = attribute_value(subject, "name");
        // Stays text: the assignment builder reads it as a number later.
        Text8 hours = attribute_value(subject, "hours");
        if (hours.empty())
            hours = kDefaultHours;
        const Text8 base = long_subject_base(name);

        table.append();
        table.set_text("COD", subject_code(id));
        table.set_text("CODLARGO", long_codes.claim(base, base));
        table.set_text("NOMBRE", name);
        table.set_text("IDSAGA", id);
        table.set_text("HORAS", hours);
        table.post();
        ++records;
    }
    table.close();
    return records;
}

} // namespace enlazor
