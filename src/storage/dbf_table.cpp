#include "storage/dbf_table.h"

#include "storage/dbf_format.h"
#include "storage/dbf_messages.h"
#include "storage/dbf_values.h"
#include "platform/code_page.h"
#include "platform/file_lock.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <unordered_map>

namespace enlazor {

namespace {

constexpr std::size_t kNoRecord = std::numeric_limits<std::size_t>::max();
// Posted records reach the file in blocks of about this many bytes.
constexpr std::size_t kWriteBlock = std::size_t{1} << 20;

bool is_ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// dBase names: a letter, then letters, digits or "_", at most 10 in all.
bool is_valid_field_name(const std::string& name) {
    if (name.empty() || name.size() > dbf::kMaxNameLength || !is_ascii_letter(name.front()))
        return false;
    for (char c : name)
        if (!is_ascii_letter(c) && !(c >= '0' && c <= '9') && c != '_')
            return false;
    return true;
}

// dBase keeps field names in capitals.
std::string ascii_upper(std::string name) {
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return name;
}

// Each byte of a single-byte code page as the character it stands for.
using ByteDecoding = std::array<char16_t, 256>;

// The decoding of a table's code page, or nothing when its text is read as
// it is stored: already in the system code page, in none we know, or in one
// the system cannot convert from.
std::optional<ByteDecoding> decoding_of(unsigned code_page) {
    if (code_page == 0 || code_page == platform::system_code_page())
        return std::nullopt;
    std::string every_byte(256, '\0');
    for (std::size_t byte = 0; byte < every_byte.size(); ++byte)
        every_byte[byte] = static_cast<char>(byte);
    const std::optional<std::u16string> decoded = platform::decode_code_page(code_page, every_byte);
    if (!decoded || decoded->size() != every_byte.size())
        return std::nullopt;  // not one character per byte
    ByteDecoding decoding{};
    std::copy(decoded->begin(), decoded->end(), decoding.begin());
    return decoding;
}

TableDialect dialect_of(const dbf::Layout& layout, bool converted) {
    TableDialect dialect;
    dialect.version = layout.version;
    dialect.level = dbf::level_name(layout.version, layout.production_index);
    dialect.driver_id = layout.driver_id;
    dialect.driver_name = layout.driver_name;
    dialect.code_page = dbf::driver_code_page(layout.driver_id, layout.driver_name);
    dialect.converted = converted;
    return dialect;
}

} // namespace

struct DbfTable::State {
    // ---- what the object names ----
    std::filesystem::path directory;
    std::string table_name;
    OpenMode mode;
    char decimal_separator;
    std::string object_name;
    std::vector<FieldInfo> definitions;

    // ---- the open table ----
    bool opened = false;
    LockedFile file;  // not open for a table read from memory
    dbf::Layout layout;
    // The file from its first byte up to its last record, then the records
    // posted since it was opened.
    platform::BulkBytes bytes;
    std::size_t record_total = 0;   // records in `bytes`
    std::size_t written_total = 0;  // of them, those already in the file
    std::size_t live_total = 0;     // not marked deleted
    std::unordered_map<std::string, int> index_by_name;  // folded name -> first field
    // Fields no earlier field's name matches ignoring case: for them the name
    // as stored, which callers mostly use, is found without folding.
    std::vector<bool> first_of_name;
    TableDialect dialect;
    // Text stored in another code page than the system's: how to decode it.
    std::optional<ByteDecoding> decoding;
    // Only tables as we write them take records: text in the system code
    // page and no binary field, whose values we would have to encode.
    bool writable = true;
    std::string blank_record;  // what the fields of an empty table read as
    std::size_t cursor = kNoRecord;
    bool at_end = true;
    std::string edited;  // the appended record, before post
    bool editing = false;
    bool modified = false;
    bool flush_pending = false;  // created with Flush::AtClose, not yet flushed

    std::filesystem::path path() const {
        return file.is_open() ? file.path() : find_file_ignoring_case(directory, table_name);
    }

    std::string_view record(std::size_t number) const {
        return std::string_view(bytes).substr(
            layout.header_length + number * layout.record_length, layout.record_length);
    }

    // Records marked deleted are skipped when iterating; they stay in the file.
    bool is_live(std::size_t number) const { return record(number)[0] != dbf::kDeletedFlag; }

    std::size_t live_from(std::size_t number) const {
        while (number < record_total && !is_live(number))
            ++number;
        return number < record_total ? number : kNoRecord;
    }

    std::string_view current_record() const {
        if (editing)
            return edited;
        return cursor == kNoRecord ? std::string_view(blank_record) : record(cursor);
    }

    std::string_view field_bytes(int index) const {
        return dbf::value_bytes(layout, current_record(), static_cast<std::size_t>(index));
    }

    void require_open() const {
        if (!opened)
            throw dbf_messages::table_closed(path());
    }

    // The text a field stores, padding removed, decoded from the table's code page.
    WideText decoded(std::string_view stored) const {
        WideText text;
        text.reserve(stored.size());
        for (const char byte : stored)
            text += (*decoding)[static_cast<unsigned char>(byte)];
        return text;
    }

    void require_editing() const {
        require_open();
        if (!editing)
            throw dbf_messages::not_editing(path());
    }

    const FieldInfo& checked_field(int index) const {
        require_open();
        if (index < 0 || static_cast<std::size_t>(index) >= layout.fields.size())
            throw dbf_messages::field_index_out_of_range(index);
        return layout.fields[static_cast<std::size_t>(index)];
    }

    void write_pending() {
        if (written_total == record_total)
            return;
        const std::size_t start = layout.header_length + written_total * layout.record_length;
        file.write_at(start, std::string_view(bytes).substr(start));
        written_total = record_total;
    }

    void post() {
        if (record_total >= std::numeric_limits<std::uint32_t>::max())
            throw dbf_messages::table_full(path());
        try {
            bytes += edited;
        } catch (const std::bad_alloc&) {
            throw dbf_messages::out_of_memory(path());
        }
        editing = false;
        cursor = record_total++;
        ++live_total;
        at_end = false;
        if ((record_total - written_total) * layout.record_length >= kWriteBlock)
            write_pending();
    }

    // Starts an appended record holding `initial`, after posting the one
    // before if it was set.
    void start_record(std::string_view initial) {
        if (!writable)
            throw dbf_messages::read_only(path());
        leave_edit();
        edited.assign(initial);
        editing = true;
    }

    // Moving away from an appended record posts it when a field was set and
    // drops it otherwise, as the engine's browse mode does.
    void leave_edit() {
        if (editing && modified)
            post();
        editing = false;
    }

    // Puts a value into the appended record with `encode(field)`, which
    // gives the field's bytes or nothing when the value does not fit.
    template <typename Encode>
    void store(int index, Encode encode) {
        const FieldInfo& field = layout.fields[static_cast<std::size_t>(index)];
        const std::optional<std::string> stored = encode(field);
        if (!stored)
            throw dbf_messages::value_out_of_range(field.name, path());
        edited.replace(layout.offsets[static_cast<std::size_t>(index)], stored->size(), *stored);
        modified = true;
    }

    // Writes what was posted, the end marker and the header's count and date,
    // and flushes it all to the disk.
    void finish_file() {
        if (record_total == layout.record_count) {
            // Only read: the file stays as it was, flushed if still new.
            if (flush_pending)
                file.sync();
            flush_pending = false;
            return;
        }
        write_pending();
        const std::size_t end = layout.header_length + record_total * layout.record_length;
        file.write_at(end, std::string_view(&dbf::kEndMarker, 1));
        file.truncate(end + 1);
        file.write_at(dbf::kDateOffset,
                      dbf::date_and_count(static_cast<std::uint32_t>(record_total), dbf::today()));
        file.sync();
        flush_pending = false;
    }

    // Takes the table's bytes as read from `opened_file`, or from memory
    // when that is not open: then nothing can be written. `source` names
    // them in the error of a damaged header.
    void adopt(LockedFile opened_file, platform::BulkBytes read, const std::filesystem::path& source) {
        std::optional<dbf::Layout> parsed = dbf::parse_layout(read);
        if (!parsed)
            throw dbf_messages::corrupt_header(source);
        // The end marker and whatever follows the last record go: posted
        // records follow it directly.
        read.resize(parsed->header_length + parsed->record_count * parsed->record_length);

        std::unordered_map<std::string, int> names;
        std::vector<bool> first_names;
        for (std::size_t i = 0; i < parsed->fields.size(); ++i)
            first_names.push_back(names.emplace(fold_case(parsed->fields[i].name), static_cast<int>(i)).second);

        std::optional<ByteDecoding> text_decoding =
            decoding_of(dbf::driver_code_page(parsed->driver_id, parsed->driver_name));
        writable = opened_file.is_open() && !text_decoding &&
                   std::all_of(parsed->fields.begin(), parsed->fields.end(), [](const FieldInfo& field) {
                       return field.coding == FieldCoding::Characters;
                   });
        dialect = dialect_of(*parsed, text_decoding.has_value());
        decoding = std::move(text_decoding);
        file = std::move(opened_file);
        layout = std::move(*parsed);
        bytes = std::move(read);
        index_by_name = std::move(names);
        first_of_name = std::move(first_names);
        record_total = written_total = layout.record_count;
        live_total = 0;
        for (std::size_t n = 0; n < record_total; ++n)
            live_total += is_live(n) ? 1 : 0;
        blank_record.assign(layout.record_length, ' ');
        editing = modified = false;
        cursor = live_from(0);
        at_end = cursor == kNoRecord;
        opened = true;
    }

    void release() noexcept {
        opened = false;
        file.close();
        layout = dbf::Layout{};
        platform::BulkBytes().swap(bytes);
        std::string().swap(edited);
        index_by_name.clear();
        first_of_name.clear();
        dialect = TableDialect{};
        decoding.reset();
        writable = true;
        record_total = written_total = live_total = 0;
        cursor = kNoRecord;
        at_end = true;
        editing = modified = false;
    }
};

DbfTable::DbfTable(std::filesystem::path directory, std::string table_name, OpenMode mode,
                   char decimal_separator, std::string object_name)
    : state_(std::make_unique<State>()) {
    state_->directory = std::move(directory);
    state_->table_name = std::move(table_name);
    state_->mode = mode;
    state_->decimal_separator = decimal_separator;
    state_->object_name = std::move(object_name);
}

DbfTable::~DbfTable() {
    try {
        close();
    } catch (...) {
        // A destructor must not throw; the table is released all the same.
    }
}

// ---- definition and creation ----

void DbfTable::clear_fields() { state_->definitions.clear(); }

void DbfTable::add_field(const std::string& name, FieldType type, int size) {
    if (!is_valid_field_name(name))
        throw dbf_messages::invalid_field_name(name);
    for (const FieldInfo& field : state_->definitions)
        if (field.name == ascii_upper(name))
            throw dbf_messages::duplicate_field_name(name);
    if (type == FieldType::Text && (size < 1 || size > dbf::kMaxTextWidth))
        throw dbf_messages::invalid_field_size(name);
    state_->definitions.push_back(dbf::describe(ascii_upper(name), type, size));
}

void DbfTable::create(Flush flush) {
    State& s = *state_;
    const std::filesystem::path path = s.directory / s.table_name;
    if (s.definitions.empty())
        throw dbf_messages::no_fields(path);
    const std::string header = dbf::make_header(s.definitions, 0, dbf::today());
    std::size_t record_length = 1;
    for (const FieldInfo& field : s.definitions)
        record_length += static_cast<std::size_t>(field.width);
    if (header.size() > 0xFFFF || record_length > 0xFFFF)
        throw dbf_messages::record_too_large(path);
    close();

    // Every case variant goes (a Windows program sees them all as this one),
    // but not while anyone has it open.
    for (int attempt = 0;; ++attempt) {
        const std::filesystem::path old = find_file_ignoring_case(s.directory, s.table_name);
        if (!file_exists(old))
            break;  // found none: `old` is the plain name
        if (attempt == 256)  // a file that does not go away
            throw dbf_messages::cannot_create(old, EEXIST);
        if (const std::error_code error = remove_unless_held(old))
            throw dbf_messages::cannot_create(old, error.value());
    }

    LockedFile created = LockedFile::create_new(path);
    try {
        created.write_at(0, header + dbf::kEndMarker);
        if (flush == Flush::Now)
            created.sync();
    } catch (...) {
        // A half-written table would only be reported as corrupt later.
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw;
    }
    s.flush_pending = flush == Flush::AtClose;
}

// ---- open / close ----

void DbfTable::open() {
    State& s = *state_;
    if (s.opened)
        return;
    LockedFile file = LockedFile::open_existing(
        find_file_ignoring_case(s.directory, s.table_name),
        s.mode == OpenMode::Exclusive ? LockKind::Exclusive : LockKind::Shared);
    platform::BulkBytes bytes = file.read_all();
    const std::filesystem::path source = file.path();
    s.adopt(std::move(file), std::move(bytes), source);
}

void DbfTable::open_from_memory(std::string_view bytes) {
    State& s = *state_;
    if (s.opened)
        return;
    platform::BulkBytes copy;
    try {
        copy.assign(bytes.begin(), bytes.end());
    } catch (const std::bad_alloc&) {
        throw dbf_messages::out_of_memory(s.directory / s.table_name);
    }
    // Named as the table object names it, without a look at the disk.
    s.adopt(LockedFile{}, std::move(copy), s.directory / s.table_name);
}

void DbfTable::close() {
    State& s = *state_;
    if (!s.opened)
        return;
    s.editing = false;  // a record never posted is not stored
    try {
        s.finish_file();
    } catch (...) {
        s.release();
        throw;
    }
    s.release();
}

bool DbfTable::is_open() const { return state_->opened; }

// ---- navigation ----

void DbfTable::first() {
    State& s = *state_;
    s.require_open();
    s.leave_edit();
    s.cursor = s.live_from(0);
    s.at_end = s.cursor == kNoRecord;
}

void DbfTable::next() {
    State& s = *state_;
    s.require_open();
    s.leave_edit();
    if (s.at_end)
        return;
    const std::size_t following = s.live_from(s.cursor + 1);
    if (following == kNoRecord)
        s.at_end = true;  // the last record stays current, as the engine leaves it
    else
        s.cursor = following;
}

bool DbfTable::eof() const { return !state_->opened || state_->at_end; }

// ---- writing ----

void DbfTable::reserve(std::size_t records) {
    State& s = *state_;
    s.require_open();
    try {
        s.bytes.reserve(s.bytes.size() + records * s.layout.record_length);
    } catch (const std::bad_alloc&) {
        // Only a hint: the records still go in, growing the buffer as they come.
    } catch (const std::length_error&) {
    }
}

void DbfTable::append() {
    State& s = *state_;
    s.require_open();
    s.start_record(s.blank_record);  // flag ' ' and blank fields
    s.modified = false;
}

void DbfTable::set_text(const std::string& field, const Text8& value) {
    state_->require_editing();
    set_text(field_index(field), value);
}

void DbfTable::set_text(int index, std::string_view value) {
    State& s = *state_;
    const FieldInfo& field = s.checked_field(index);
    s.require_editing();
    if (field.kind() != FieldType::Text) {
        s.store(index, [&](const FieldInfo& info) {
            return dbf::store_text(info, Text8(value), s.decimal_separator);
        });
        return;
    }
    // Written in place: the builders set several for every record.
    dbf::write_text(field, value, s.edited.data() + s.layout.offsets[static_cast<std::size_t>(index)]);
    s.modified = true;
}

void DbfTable::set_integer(const std::string& field, std::int32_t value) {
    State& s = *state_;
    s.require_editing();
    s.store(field_index(field), [&](const FieldInfo& info) {
        return dbf::store_integer(info, value, s.decimal_separator);
    });
}

void DbfTable::set_float(const std::string& field, double value) {
    state_->require_editing();
    set_float(field_index(field), value);
}

void DbfTable::set_float(int index, double value) {
    State& s = *state_;
    const FieldInfo& field = s.checked_field(index);
    s.require_editing();
    if (field.kind() == FieldType::Float) {
        // Written in place: the assignment builder sets one for every record.
        if (!dbf::write_number(value, field.width, field.decimals,
                               s.edited.data() + s.layout.offsets[static_cast<std::size_t>(index)]))
            throw dbf_messages::value_out_of_range(field.name, s.path());
        s.modified = true;
        return;
    }
    s.store(index, [&](const FieldInfo& info) {
        return dbf::store_float(info, value, s.decimal_separator);
    });
}

void DbfTable::post() {
    State& s = *state_;
    s.require_editing();
    s.post();
}

void DbfTable::cancel() {
    State& s = *state_;
    s.require_open();
    s.editing = s.modified = false;
}

std::string_view DbfTable::record_bytes() const {
    const State& s = *state_;
    s.require_open();
    return s.current_record();
}

void DbfTable::append_from(std::string_view record) {
    State& s = *state_;
    s.require_open();
    if (record.size() != s.layout.record_length)
        throw dbf_messages::record_mismatch(s.path());
    s.start_record(record);
    s.modified = true;
}

void DbfTable::copy_field(int index, std::string_view record) {
    State& s = *state_;
    const FieldInfo& field = s.checked_field(index);
    s.require_editing();
    if (record.size() != s.layout.record_length)
        throw dbf_messages::record_mismatch(s.path());
    const std::size_t offset = s.layout.offsets[static_cast<std::size_t>(index)];
    std::memcpy(s.edited.data() + offset, record.data() + offset,
                static_cast<std::size_t>(field.width));
    s.modified = true;
}

// ---- reading ----

int DbfTable::field_index(const std::string& field) const {
    const State& s = *state_;
    s.require_open();
    for (std::size_t i = 0; i < s.layout.fields.size(); ++i)
        if (s.first_of_name[i] && s.layout.fields[i].name == field)
            return static_cast<int>(i);
    auto found = s.index_by_name.find(fold_case(field));
    if (found == s.index_by_name.end())
        throw dbf_messages::field_not_found(s.object_name, field);
    return found->second;
}

Text8 DbfTable::text(const std::string& field) const { return text(field_index(field)); }

std::int32_t DbfTable::integer(const std::string& field) const {
    return integer(field_index(field));
}

double DbfTable::floating(const std::string& field) const { return floating(field_index(field)); }

Text8 DbfTable::text(int index) const {
    const State& s = *state_;
    const FieldInfo& field = s.checked_field(index);
    if (s.decoding && field.kind() == FieldType::Text && field.coding == FieldCoding::Characters)
        return to_8bit(s.decoded(dbf::without_trailing_padding(s.field_bytes(index))));
    return dbf::read_text(field, s.field_bytes(index), s.decimal_separator);
}

WideText DbfTable::stored_text(int index) const {
    const State& s = *state_;
    const FieldInfo& field = s.checked_field(index);
    if (s.decoding && field.kind() == FieldType::Text && field.coding == FieldCoding::Characters)
        return s.decoded(dbf::without_trailing_padding(s.field_bytes(index)));
    return to_wide(text(index));
}

std::int32_t DbfTable::integer(int index) const {
    const FieldInfo& field = state_->checked_field(index);
    return dbf::read_integer(field, state_->field_bytes(index), state_->decimal_separator);
}

double DbfTable::floating(int index) const {
    const FieldInfo& field = state_->checked_field(index);
    return dbf::read_float(field, state_->field_bytes(index), state_->decimal_separator);
}

// ---- metadata ----

const std::vector<FieldInfo>& DbfTable::fields() const {
    return state_->opened ? state_->layout.fields : state_->definitions;
}

const TableDialect& DbfTable::dialect() const { return state_->dialect; }

std::size_t DbfTable::record_count() const { return state_->live_total; }

const std::string& DbfTable::table_name() const { return state_->table_name; }

const std::string& DbfTable::object_name() const { return state_->object_name; }

std::filesystem::path DbfTable::file_path() const { return state_->path(); }

} // namespace enlazor
