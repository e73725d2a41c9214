// Rebuilding one Horalis table from nothing, the first step of every builder.
#pragma once

#include "storage/dbf_table.h"

#include <string>
#include <vector>

namespace enlazor {

// One field of a table layout, in the order Horalis expects.
struct FieldLayout {
    const char* name;
    FieldType type;
    int size;  // characters of a text field; 0 for numbers
};

// Deletes <table>.DBF and <table>.MDX from the table's directory (whatever
// the case of their names, without looking at the outcome: an index file
// left by another program must not outlive the table it indexed), then
// defines `fields` in order and creates the table empty. It stays closed,
// and reaches the disk as `flush` says.
void recreate_table(DbfTable& table, const std::string& table_stem,
                    const std::vector<FieldLayout>& fields,
                    DbfTable::Flush flush = DbfTable::Flush::Now);

} // namespace enlazor
