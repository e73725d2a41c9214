// Every message the table layer reports, in one place: the engine's own
// texts (English, one line for the failure and one per detail, the way the
// dBase engine words them) and the field and number messages the
// conversions show (Spanish, as the rest of the program's).
#pragma once

#include "storage/error.h"
#include "storage/text.h"

#include <filesystem>
#include <string>

namespace enlazor::dbf_messages {

// ---- the table engine ----
Error table_missing(const std::filesystem::path& table);
Error table_busy(const std::filesystem::path& table);
Error corrupt_header(const std::filesystem::path& table);
Error out_of_memory(const std::filesystem::path& table);
Error cannot_open(const std::filesystem::path& table, int error_number);
Error cannot_lock(const std::filesystem::path& table, int error_number);
Error cannot_read(const std::filesystem::path& table, int error_number);
Error cannot_create(const std::filesystem::path& table, int error_number);
// "Insufficient disk space." for a full disk (ENOSPC; the platform side maps
// a quota reached to it), else the system's reason.
Error cannot_write(const std::filesystem::path& table, int error_number);
Error table_closed(const std::filesystem::path& table);
Error not_editing(const std::filesystem::path& table);
Error no_fields(const std::filesystem::path& table);
Error record_too_large(const std::filesystem::path& table);
Error table_full(const std::filesystem::path& table);
// Bytes given as a record that are not one of this table's.
Error record_mismatch(const std::filesystem::path& table);
// Records are added only to tables laid out as we write them.
Error read_only(const std::filesystem::path& table);
Error invalid_field_name(const std::string& field);
Error invalid_field_size(const std::string& field);
Error duplicate_field_name(const std::string& field);
Error value_out_of_range(const std::string& field, const std::filesystem::path& table);
Error field_index_out_of_range(int index);

// ---- fields and numbers ----
// "No se encuentra el campo '%s'", led by "<object>: " when the object has a name.
Error field_not_found(const std::string& object_name, const Text8& field);
Error not_an_integer(const Text8& text);
Error not_a_float(const Text8& text);

} // namespace enlazor::dbf_messages
