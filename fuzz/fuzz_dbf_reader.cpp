// The .DBF reader on arbitrary bytes: open the table, walk every live record
// and read each field as text, integer and float, with both decimal
// separators. A damaged table may only ever give the table engine's or the
// read rules' Error. The bytes are read from memory by the same code that
// reads a table's file, without a file per input, which would cost more
// than everything else the reader does.
#include "storage/dbf_table.h"
#include "storage/error.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using enlazor::DbfTable;
using enlazor::Error;

void read_every_field(DbfTable& table) {
    const int field_count = static_cast<int>(table.fields().size());
    for (int i = 0; i < field_count; ++i) {
        try {
            (void)table.text(i);
        } catch (const Error&) {
        }
        try {
            (void)table.integer(i);
        } catch (const Error&) {
        }
        try {
            (void)table.floating(i);
        } catch (const Error&) {
        }
    }
}

void read_table(std::string_view bytes, char decimal_separator) {
    DbfTable table("", "FUZZ.DBF", enlazor::OpenMode::Shared, decimal_separator);
    try {
        table.open_from_memory(bytes);
        (void)table.record_count();
        // Before the first record too: an empty table reads as blank fields.
        read_every_field(table);
        for (table.first(); !table.eof(); table.next())
            read_every_field(table);
        // By name as well, which goes through the folded-name index.
        for (const enlazor::FieldInfo& field : table.fields()) {
            try {
                (void)table.text(field.name);
            } catch (const Error&) {
            }
        }
        table.close();
    } catch (const Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    read_table(bytes, '.');
    read_table(bytes, ',');
    return 0;
}
