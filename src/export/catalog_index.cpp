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
        auto [entry, inserted] = records_.try_emplace(table.text(id_field));
        if (!inserted)
            continue;  // a later record with the same id is never found
        entry->second.reserve(wanted.size());
        for (int index : wanted)
            entry->second.push_back(table.text(index));
    }
}

const std::vector<Text8>* CatalogIndex::find(const Text8& id) const {
    auto entry = records_.find(id);
    return entry == records_.end() ? nullptr : &entry->second;
}

} // namespace enlazor
