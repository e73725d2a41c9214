#include "base/table_messages.h"
#include "base/path_text.h"

#include <cerrno>
#include <cstring>

namespace enlazor::dbf_messages {

namespace {

Error engine(const char* text, const std::filesystem::path& table) {
    return Error(std::string(text) + "\nTable: " + utf8_from_path(table));
}

Error engine(const char* text, const std::filesystem::path& table, int error_number) {
    return Error(std::string(text) + "\nTable: " + utf8_from_path(table) + ": " +
                 std::strerror(error_number));
}

} // namespace

Error table_missing(const std::filesystem::path& table) {
    return engine("Table does not exist.", table);
}

Error table_busy(const std::filesystem::path& table) {
    return engine("Table is busy.", table);
}

Error corrupt_header(const std::filesystem::path& table) {
    return engine("Corrupt table/index header.", table);
}

Error out_of_memory(const std::filesystem::path& table) {
    return engine("Insufficient memory for this operation.", table);
}

Error cannot_open(const std::filesystem::path& table, int error_number) {
    return engine("Cannot open table.", table, error_number);
}

Error cannot_lock(const std::filesystem::path& table, int error_number) {
    return engine("Cannot lock table.", table, error_number);
}

Error cannot_read(const std::filesystem::path& table, int error_number) {
    return engine("Cannot read from table.", table, error_number);
}

Error cannot_create(const std::filesystem::path& table, int error_number) {
    return engine("Cannot create table.", table, error_number);
}

Error cannot_write(const std::filesystem::path& table, int error_number) {
    if (error_number == ENOSPC)
        return engine("Insufficient disk space.", table);
    return engine("Cannot write to table.", table, error_number);
}

Error table_closed(const std::filesystem::path& table) {
    return engine("Cannot perform this operation on a closed table.", table);
}

Error not_editing(const std::filesystem::path& table) {
    return engine("Table is not in edit or insert mode.", table);
}

Error record_mismatch(const std::filesystem::path& table) {
    return engine("Record size does not match the table.", table);
}

Error no_fields(const std::filesystem::path& table) {
    return engine("Table has no fields defined.", table);
}

Error record_too_large(const std::filesystem::path& table) {
    return engine("Record size is too big for table.", table);
}

Error table_full(const std::filesystem::path& table) {
    return engine("Table is full.", table);
}

Error read_only(const std::filesystem::path& table) {
    return engine("Table is read only.", table);
}

Error field_index_out_of_range(int index) {
    return Error("Field index out of range (" + std::to_string(index) + ")");
}

} // namespace enlazor::dbf_messages
