#include "export/catalog_table.h"

#include "export/catalog_values.h"

namespace enlazor {

namespace {

void derive_records(const std::vector<pugi::xml_node>& elements, const CatalogTable& catalog,
                    ExportObserver& observer,
                    const std::function<void(pugi::xml_node, const Record&)>& visit) {
    UsedCodes codes;
    for (pugi::xml_node element : elements)
        visit(element, catalog.record(element, codes, observer));
}

} // namespace

void derive_records(const XmlDocument& document, const CatalogTable& catalog,
                    ExportObserver& observer,
                    const std::function<void(pugi::xml_node, const Record&)>& visit) {
    derive_records(catalog_elements(document, catalog.section, catalog.item), catalog, observer, visit);
}

int FieldPositions::operator()(const char* field) {
    for (const auto& [name, position] : known_)
        if (name == field)
            return position;
    const int position = table_.field_index(field);
    known_.emplace_back(field, position);
    return position;
}

void assign_fields(DbfTable& table, const Record& record, FieldPositions& positions) {
    for (const FieldValue& field : record)
        table.set_text(positions(field.field), field.value);
}

std::size_t build_catalog_table(const XmlDocument& document, const Exchange& exchange,
                                const CatalogTable& catalog, ExportObserver& observer) {
    DbfTable table(exchange.directory(), std::string(catalog.table) + ".DBF", OpenMode::Shared,
                   exchange.decimal_separator());
    recreate_table(table, catalog.table, catalog.fields);
    table.open();
    const std::vector<pugi::xml_node> elements = catalog_elements(document, catalog.section, catalog.item);
    table.reserve(elements.size());
    std::size_t records = 0;
    FieldPositions positions(table);
    derive_records(elements, catalog, observer, [&](pugi::xml_node, const Record& record) {
        table.append();
        assign_fields(table, record, positions);
        table.post();
        ++records;
    });
    table.close();
    return records;
}

} // namespace enlazor
