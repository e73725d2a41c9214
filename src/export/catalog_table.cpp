#include "export/catalog_table.h"

#include "export/catalog_values.h"

namespace enlazor {

void derive_records(const XmlDocument& document, const CatalogTable& catalog,
                    ExportObserver& observer,
                    const std::function<void(pugi::xml_node, const Record&)>& visit) {
    UsedCodes codes;
    for (pugi::xml_node element : catalog_elements(document, catalog.section, catalog.item))
        visit(element, catalog.record(element, codes, observer));
}

void assign_fields(DbfTable& table, const Record& record) {
    for (const FieldValue& field : record)
        table.set_text(field.field, field.value);
}

std::size_t build_catalog_table(const XmlDocument& document, const Exchange& exchange,
                                const CatalogTable& catalog, ExportObserver& observer) {
    DbfTable table(exchange.directory(), std::string(catalog.table) + ".DBF", OpenMode::Shared,
                   exchange.decimal_separator());
    recreate_table(table, catalog.table, catalog.fields);
    table.open();
    std::size_t records = 0;
    derive_records(document, catalog, observer, [&](pugi::xml_node, const Record& record) {
        table.append();
        assign_fields(table, record);
        table.post();
        ++records;
    });
    table.close();
    return records;
}

} // namespace enlazor
