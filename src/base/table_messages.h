// The table engine's own messages, the ones that name a table file (English,
// one line for the failure and one per detail, the way the dBase engine
// words them). The platform's locked files report with them, and the table
// layer above adds those that name fields and values (storage/dbf_messages.h).
#pragma once

#include "base/error.h"

#include <filesystem>
#include <string>

namespace enlazor::dbf_messages {

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
Error field_index_out_of_range(int index);

} // namespace enlazor::dbf_messages
