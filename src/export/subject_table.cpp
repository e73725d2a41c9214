// ASIGNOMT, the subjects: subject code from the id, long subject code
// numbered from the name, and the weekly hours kept as the document's text.
#include "export/catalog_table.h"
#include "export/catalog_values.h"
#include "export/table_builders.h"

namespace enlazor {

namespace {

// A subject whose hours are missing or blank is taught 4 hours a week.
const Text8 kDefaultHours = "4";

Record subject_record(pugi::xml_node subject, UsedCodes& long_codes, ExportObserver& observer) {
    const Text8 id = attribute_value(subject, "id", observer);
    const Text8 name = attribute_value(subject, "name", observer);
    // Stays text: the assignment builder reads it as a number later. A
    // subject without hours is usual (it gets the default), so a missing
    // attribute is nothing to report.
    Text8 hours = attribute_value(subject, "hours");
    if (hours.empty())
        hours = kDefaultHours;
    const Text8 base = long_subject_base(name);
    return {{"COD", subject_code(id)},
            {"CODLARGO", long_codes.claim(base, base)},
            {"NOMBRE", name},
            {"IDSAGA", id},
            {"HORAS", hours}};
}

} // namespace

const CatalogTable kSubjectTable{"ASIGNOMT",
                                 "subjects",
                                 "subject",
                                 {{"COD", FieldType::Text, 4},
                                  {"CODLARGO", FieldType::Text, 8},
                                  {"NOMBRE", FieldType::Text, 40},
                                  {"IDSAGA", FieldType::Text, 60},
                                  {"HORAS", FieldType::Text, 8}},
                                 subject_record};

std::size_t build_subject_table(const XmlDocument& document, const Exchange& exchange,
                                ExportObserver& observer) {
    return build_catalog_table(document, exchange, kSubjectTable, observer);
}

} // namespace enlazor
