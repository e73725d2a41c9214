#include "export/catalog_index.h"

namespace enlazor {

CatalogIndex::CatalogIndex(DbfTable& table, std::vector<std::string> fields) {
    const int id_field = table.field_index("IDSAGA");
    std::vector<int> wanted;
    wanted.reserve(fields.size());
    for (const std::string& field : fields)
        wanted.push_back(table.field_index(field));

    records_.reserve(table.record_count());
    for (table.first(); !table.eof(); table.next()) {
        Text8 id = table.text(id_field);
        if (records_.contains(id))
            continue;  // read nothing more of a record that is never found
        std::vector<Text8> values;
        values.reserve(wanted.size());
        for (int index : wanted)
            values.push_back(table.text(index));
        add(id, std::move(values));
    }
}

bool CatalogIndex::add(const Text8& id, std::vector<Text8> values) {
    return records_.try_emplace(id, std::move(values)).second;
}

const std::vector<Text8>* CatalogIndex::find(const Text8& id) const {
    auto entry = records_.find(id);
    return entry == records_.end() ? nullptr : &entry->second;
}

} // namespace enlazor
