#include "export/catalog_table.h"

#include "export/catalog_values.h"

namespace enlazor {

namespace {

// Hands `visit` each element's record, which it may keep.
template <typename Visit>
void derive_records(const std::vector<pugi::xml_node>& elements, const CatalogTable& catalog,
                    ExportObserver& observer, Visit&& visit) {
    UsedCodes codes;
    for (pugi::xml_node element : elements)
        visit(element, catalog.record(element, codes, observer));
}

// An empty table of the catalog's layout, open, with room for `records`.
class NewCatalogTable {
public:
    NewCatalogTable(const Exchange& exchange, const CatalogTable& catalog, std::size_t records)
        : table_(exchange.directory(), std::string(catalog.table) + ".DBF", OpenMode::Shared,
                 exchange.decimal_separator()),
          positions_(table_) {
        // Opened and filled at once: its close flushes it.
        recreate_table(table_, catalog.table, catalog.fields, DbfTable::Flush::AtClose);
        table_.open();
        table_.reserve(records);
    }

    void post(const Record& record) {
        table_.append();
        assign_fields(table_, record, positions_);
        table_.post();
        ++written_;
    }

    std::size_t close() {
        table_.close();
        return written_;
    }

private:
    DbfTable table_;
    FieldPositions positions_;
    std::size_t written_ = 0;
};

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
    const std::vector<pugi::xml_node> elements = catalog_elements(document, catalog.section, catalog.item);
    NewCatalogTable table(exchange, catalog, elements.size());
    derive_records(elements, catalog, observer,
                   [&](pugi::xml_node, const Record& record) { table.post(record); });
    return table.close();
}

std::vector<Record> derive_catalog(const XmlDocument& document, const CatalogTable& catalog,
                                   ExportObserver& observer) {
    const std::vector<pugi::xml_node> elements = catalog_elements(document, catalog.section, catalog.item);
    std::vector<Record> records;
    records.reserve(elements.size());
    derive_records(elements, catalog, observer,
                   [&](pugi::xml_node, Record&& record) { records.push_back(std::move(record)); });
    return records;
}

std::size_t write_catalog_table(const Exchange& exchange, const CatalogTable& catalog,
                                const std::vector<Record>& records) {
    NewCatalogTable table(exchange, catalog, records.size());
    for (const Record& record : records)
        table.post(record);
    return table.close();
}

} // namespace enlazor
