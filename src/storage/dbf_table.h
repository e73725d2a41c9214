// dBase (.DBF) tables of the exchange directory, as Horalis reads and writes them.
//
// Our own small table layer: no Debian library writes dBase III files with a
// Windows-1252 language driver, exclusive OS locks other processes see, and
// the exact read rules (text/integer/float of each field type) the
// conversions rely on, so we keep the format code here, in one place.
//
// Files written: version byte 0x03, language driver 0x03 (Windows-1252),
// text fields C(size), integer fields N(11,0), float fields N(20,10)
// (see dbf_format.h). Files read: types C, N, F, L, D and any other type as
// text; deleted records are skipped when iterating; a missing 0x1A end marker
// or a header record count larger than the data is tolerated.
#pragma once

#include "storage/text.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace enlazor {

// How a field is defined when a table is created.
enum class FieldType { Text, Integer, Float };

// One field of an open or defined table.
struct FieldInfo {
    std::string name;     // at most 10 characters, as stored
    char dbase_type;      // 'C', 'N', 'F', 'L', 'D', ...
    int width;            // bytes in a record
    int decimals;         // decimal count of numeric fields
    FieldType kind() const;  // how the read rules treat it
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
    // Replaces any table of this name (whatever the case of its file name)
    // with an empty one of the defined fields. The table stays closed.
    void create();

    // ---- open / close (idempotent) ----
    void open();
    // Writes pending records and the header, flushes to disk, releases the lock.
    void close();
    bool is_open() const;

    // ---- navigation over live (not deleted) records, in stored order ----
    void first();
    void next();
    bool eof() const;  // true after next on the last record, at once when empty

    // ---- writing ----
    void append();  // starts an empty record at the end; unset fields stay blank
    void set_text(const std::string& field, const Text8& value);  // cut to the field's width
    void set_integer(const std::string& field, std::int32_t value);
    void set_float(const std::string& field, double value);
    void post();    // stores the record

    // ---- reading the current record ----
    int field_index(const std::string& field) const;  // throws field-not-found
    Text8 text(const std::string& field) const;
    std::int32_t integer(const std::string& field) const;
    double floating(const std::string& field) const;
    Text8 text(int index) const;
    std::int32_t integer(int index) const;
    double floating(int index) const;

    // ---- metadata ----
    const std::vector<FieldInfo>& fields() const;
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
