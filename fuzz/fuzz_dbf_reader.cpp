// The .DBF reader on arbitrary bytes: open the table, walk every live record
// and read each field as text and, when it holds a number, as integer and
// float, with either decimal separator. A damaged table may only ever give the table engine's or the
// read rules' Error. The bytes are read from memory by the same code that
// reads a table's file, without a file per input, which would cost more
// than everything else the reader does.
#include "storage/dbf_table.h"
#include "base/error.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using enlazor::DbfTable;
using enlazor::Error;

// Records, and names, read per input.
constexpr std::size_t kRecordsRead = 4;

// A text field read as a number only gives the numbers' own rules, which
// their fuzzer covers; here each field is read as what it holds, so that
// no input spends its time throwing "not a number" for every text.
void read_every_field(DbfTable& table) {
    const int field_count = static_cast<int>(table.fields().size());
    for (int i = 0; i < field_count; ++i) {
        try {
            (void)table.text(i);
            if (table.fields()[static_cast<std::size_t>(i)].kind() == enlazor::FieldType::Text)
                continue;
            (void)table.integer(i);
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
        // Every record is walked, but only the first few are read: the
        // rest run the same code again on other bytes, and a table of tiny
        // records would spend each input on thousands of them.
        std::size_t read = 0;
        for (table.first(); !table.eof(); table.next())
            if (read++ < kRecordsRead)
                read_every_field(table);
        // By name as well, which goes through the folded-name index: the
        // first few names, which every table has, lower case and all.
        const std::size_t named = std::min<std::size_t>(table.fields().size(), kRecordsRead);
        for (std::size_t i = 0; i < named; ++i) {
            try {
                (void)table.text(table.fields()[i].name);
            } catch (const Error&) {
            }
        }
        table.close();
    } catch (const Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Either decimal separator, by the input's length, rather than both for
    // every input: twice the inputs in the same time, both covered.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    read_table(bytes, size % 2 == 0 ? '.' : ',');
    return 0;
}
