// dBase (.DBF) tables of the exchange directory, as Horalis reads and writes them.
//
// Our own small table layer: no Debian library writes dBase III files with a
// Windows-1252 language driver, exclusive OS locks other processes see, and
// the exact read rules (text/integer/float of each field type) the
// conversions rely on, so we keep the format code here, in one place.
//
// Files written: version byte 0x03, language driver 0x03 (Windows-1252),
// text fields C(size), integer fields N(11,0), float fields N(20,10)
// (see dbf_format.h). Files read: every dBase level from III+ to 7 and the
// FoxPro ones (see dbf_dialect.h), with their binary number, date-time and
// memo-reference types; text is converted from the code page the table's
// language driver names to the system code page. Deleted records are
// skipped when iterating; a missing 0x1A end marker or a header record count
// larger than the data is tolerated.
#pragma once

#include "storage/text.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace enlazor {

// How a field is defined when a table is created.
enum class FieldType { Text, Integer, Float };

// How a field's bytes hold its value, as the table's dialect stores its type.
enum class FieldCoding : unsigned char {
    Characters,         // text, or a number in digits: C, N, F, L, D, dBase memo numbers
    Int32,              // little-endian: Visual FoxPro I and memo numbers
    SortableInt32,      // dBase 7 I and +: big-endian, the sign bit inverted
    Double,             // little-endian: Visual FoxPro B
    SortableDouble,     // dBase 7 O: big-endian, ordered by its bytes
    Currency,           // Visual FoxPro Y: little-endian count of ten-thousandths
    JulianDateTime,     // Visual FoxPro T: Julian day and milliseconds of the day
    SortableTimestamp,  // dBase 7 @: milliseconds since the start of year 1, stored as O
};

// One field of an open or defined table.
struct FieldInfo {
    std::string name;     // as stored: up to 10 characters, 32 in dBase 7
    char dbase_type;      // 'C', 'N', 'F', 'L', 'D', 'I', 'O', '@', ...
    int width;            // bytes in a record
    int decimals;         // decimal count of numeric fields
    FieldCoding coding = FieldCoding::Characters;
    // Visual FoxPro's bits for the field in the record's hidden _NullFlags
    // field, -1 for none: a Varchar or Varbinary (V, Q) field whose length
    // bit is set holds a shorter value, its length in the field's last
    // byte; a nullable field whose null bit is set holds no value.
    int length_bit = -1;
    int null_bit = -1;
    // How the read rules treat it: binary integers and memo references as
    // integers, binary doubles and currency as floats, date-times as text.
    FieldType kind() const;
};

// What a table says about itself: the level that wrote it and the language
// driver of its text.
struct TableDialect {
    unsigned char version = 0;  // the header's first byte
    std::string level;          // "dBase 7", "Visual FoxPro", ... (Spanish where words are needed)
    unsigned char driver_id = 0;  // byte 29
    std::string driver_name;      // dBase 7's driver name ("DB850ES0"), else empty
    unsigned code_page = 0;       // of the stored text; 0 when the driver names none we know
    // True when text is converted from `code_page` to the system code page;
    // false when it is read as it is stored (the system's own code page, no
    // driver, or one the system cannot convert from).
    bool converted = false;
};

// Shared opens for the builders' own tables, exclusive for the main window's.
enum class OpenMode { Shared, Exclusive };

// A table object: a directory, a table name ("ASIGNOMT.DBF") and an open mode.
// Field access is by name, ignoring case. Every failure throws Error with the
// table engine's message (or the field/number messages of the read rules).
class DbfTable {
public:
    // `object_name` leads the field-not-found message ("wwTableSoluc: ...");
    // empty for the builders' own objects.
    DbfTable(std::filesystem::path directory, std::string table_name, OpenMode mode,
             char decimal_separator, std::string object_name = {});
    ~DbfTable();
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    // ---- definition and creation ----
    void clear_fields();
    void add_field(const std::string& name, FieldType type, int size = 0);
    // When a new table reaches the disk: at once, or at the first close
    // after it is opened, with the records it got by then (for a writer
    // that opens and fills it straight away: one flush instead of two).
    enum class Flush { Now, AtClose };
    // Replaces any table of this name (whatever the case of its file name)
    // with an empty one of the defined fields, flushed to disk as `flush`
    // says. The table stays closed. Its directory entry is flushed with the
    // rest of the direction's (DirectionLock::flush_directory), not once
    // per table.
    void create(Flush flush = Flush::Now);

    // ---- open / close (idempotent) ----
    void open();
    // Reads the table from `bytes`, as open() reads its file, for a reader
    // that holds a table in memory (the fuzzer): nothing is locked, and the
    // table takes no records.
    void open_from_memory(std::string_view bytes);
    // Writes pending records and the header, flushes to disk, releases the lock.
    void close();
    bool is_open() const;

    // ---- navigation over live (not deleted) records, in stored order ----
    void first();
    void next();
    bool eof() const;  // true after next on the last record, at once when empty

    // ---- writing ----
    // Room for this many more records, for a writer that knows how many it
    // will post: they then go into one buffer without regrowing it.
    void reserve(std::size_t records);
    void append();  // starts an empty record at the end; unset fields stay blank
    void set_text(const std::string& field, const Text8& value);  // cut to the field's width
    void set_integer(const std::string& field, std::int32_t value);
    void set_float(const std::string& field, double value);
    // The same by field position (see field_index), for builders that
    // resolve their fields once rather than by name in every record.
    void set_text(int index, std::string_view value);
    void set_float(int index, double value);
    void post();    // stores the record
    void cancel();  // drops the appended record unstored

    // ---- records put together from prepared ones ----
    // A writer that posts many records alike prepares their parts once
    // (append, set, record_bytes, cancel) and then assembles each record
    // from them: byte copies instead of encoding every value again.
    // The current record's bytes as stored, flag first: the appended one
    // while appending.
    std::string_view record_bytes() const;
    // Starts an appended record holding `record`, bytes of this open table.
    void append_from(std::string_view record);
    // Sets a field of the appended record to its bytes in `record`.
    void copy_field(int index, std::string_view record);

    // ---- reading the current record ----
    int field_index(const std::string& field) const;  // throws field-not-found
    Text8 text(const std::string& field) const;
    std::int32_t integer(const std::string& field) const;
    double floating(const std::string& field) const;
    Text8 text(int index) const;
    std::int32_t integer(int index) const;
    double floating(int index) const;
    // The field's text decoded from the table's own code page: what `text`
    // gives before it is converted to the system code page. The two differ
    // where the system code page lacks a character.
    WideText stored_text(int index) const;

    // ---- metadata ----
    const std::vector<FieldInfo>& fields() const;
    const TableDialect& dialect() const;  // of the open table
    std::size_t record_count() const;  // live records
    const std::string& table_name() const;
    const std::string& object_name() const;
    // The file this table is (or would be) stored in.
    std::filesystem::path file_path() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// True for an existing regular file, false for a folder or nothing.
bool file_exists(const std::filesystem::path& path);

// Deletes the file if present, reporting nothing; in the exchange directory a
// name is matched whatever its case (a program under Wine may write soluc.dbf).
void delete_file(const std::filesystem::path& path);

// The file in `directory` whose name equals `name` ignoring ASCII case, or
// directory / name when none exists.
std::filesystem::path find_file_ignoring_case(const std::filesystem::path& directory,
                                              const std::string& name);

} // namespace enlazor
