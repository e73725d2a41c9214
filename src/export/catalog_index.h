// A catalog table's records by their SAGA id, read once.
#pragma once

#include "storage/dbf_table.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace enlazor {

// The values of chosen fields of each record of an open table, keyed by the
// record's IDSAGA text as the table gives it back. Where ids repeat, the
// first record in stored order wins, so `find` answers exactly what a scan
// from the first record would, at constant cost per look-up. Comparison is
// byte for byte: case counts, and an id that was cut to the field's 60
// characters when stored matches only its cut form.
class CatalogIndex {
public:
    // Reads every record of `table` (which must be open) from the first.
    CatalogIndex(DbfTable& table, std::vector<std::string> fields);
    // An empty index, filled with `add` in stored order (records in memory).
    CatalogIndex() = default;

    // Adds a record's values under its id, unless an earlier record has that
    // id: then it returns false, as such a record is never found.
    bool add(const Text8& id, std::vector<Text8> values);

    // The record's values, in the order of `fields`, or nullptr.
    const std::vector<Text8>* find(const Text8& id) const;

private:
    std::unordered_map<Text8, std::vector<Text8>> records_;
};

} // namespace enlazor
