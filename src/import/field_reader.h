// A field of an open table object, read record by record.
#pragma once

#include "storage/dbf_table.h"

#include <cstdint>
#include <string>

namespace enlazor {

// Resolves the field's position on the first value read, not before: a table
// whose records are never read never complains about a field it lacks, just
// as a scan that reads nothing would not. Reads go through the position, so
// a long scan does not look the name up again for every record.
class FieldReader {
public:
    FieldReader(DbfTable& table, std::string name) : table_(table), name_(std::move(name)) {}

    Text8 text() { return table_.text(index()); }
    std::int32_t integer() { return table_.integer(index()); }
    double floating() { return table_.floating(index()); }

private:
    int index() {
        if (index_ < 0)
            index_ = table_.field_index(name_);  // throws the table's field-not-found error
        return index_;
    }

    DbfTable& table_;
    std::string name_;
    int index_ = -1;
};

} // namespace enlazor
