// A catalog table's records by their SAGA id, read once.
#pragma once

#include "storage/dbf_table.h"

#include <cstddef>
#include <limits>
#include <functional>
#include <string>
#include <string_view>
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
    // What `find` gives for an id no record has.
    static constexpr std::size_t kNotFound = std::numeric_limits<std::size_t>::max();

    // Reads every record of `table` (which must be open) from the first.
    CatalogIndex(DbfTable& table, const std::vector<std::string>& fields);
    // An empty index, filled with `add` in stored order (records in memory).
    CatalogIndex() = default;

    // Adds a record's values under its id, unless an earlier record has that
    // id: then it returns false, as such a record is never found.
    bool add(const Text8& id, std::vector<Text8> values);

    // The position of the record found by `id`, or kNotFound. Positions
    // count the records that can be found, from 0 in stored order, so a
    // reader can keep what it derives from each record in a plain vector.
    std::size_t find(std::string_view id) const;
    // The found record's values, in the order of `fields`.
    const std::vector<Text8>& values(std::size_t position) const { return records_[position]; }
    std::size_t size() const { return records_.size(); }

private:
    // Looked up by views into the document as well as by stored texts.
    struct IdHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view id) const { return std::hash<std::string_view>{}(id); }
    };
    std::vector<std::vector<Text8>> records_;
    std::unordered_map<Text8, std::size_t, IdHash, std::equal_to<>> positions_;
};

} // namespace enlazor
