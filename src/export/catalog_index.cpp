#include "export/catalog_index.h"

namespace enlazor {

CatalogIndex::CatalogIndex(DbfTable& table, const std::vector<std::string>& fields) {
    const int id_field = table.field_index("IDSAGA");
    std::vector<int> wanted;
    wanted.reserve(fields.size());
    for (const std::string& field : fields)
        wanted.push_back(table.field_index(field));

    records_.reserve(table.record_count());
    positions_.reserve(table.record_count());
    for (table.first(); !table.eof(); table.next()) {
        Text8 id = table.text(id_field);
        if (positions_.contains(id))
            continue;  // read nothing more of a record that is never found
        std::vector<Text8> values;
        values.reserve(wanted.size());
        for (int index : wanted)
            values.push_back(table.text(index));
        add(id, std::move(values));
    }
}

bool CatalogIndex::add(const Text8& id, std::vector<Text8> values) {
    const auto [entry, added] = positions_.try_emplace(id, records_.size());
    if (!added)
        return false;
    try {
        records_.push_back(std::move(values));
    } catch (...) {
        positions_.erase(entry);  // no position without its record
        throw;
    }
    return true;
}

std::size_t CatalogIndex::find(std::string_view id) const {
    const auto entry = positions_.find(id);
    return entry == positions_.end() ? kNotFound : entry->second;
}

} // namespace enlazor
