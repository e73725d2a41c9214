// Every message the table layer reports: the engine's own, that name a
// table file (base/table_messages.h), and here those that name a field or
// show a value, in the system code page's text (the engine's words for
// field definitions, the conversions' Spanish for fields and numbers).
#pragma once

#include "base/table_messages.h"
#include "storage/text.h"

#include <filesystem>
#include <string>

namespace enlazor::dbf_messages {

// ---- field definitions ----
Error invalid_field_name(const std::string& field);
Error invalid_field_size(const std::string& field);
Error duplicate_field_name(const std::string& field);
Error value_out_of_range(const std::string& field, const std::filesystem::path& table);

// ---- fields and numbers ----
// "No se encuentra el campo '%s'", led by "<object>: " when the object has a name.
Error field_not_found(const std::string& object_name, const Text8& field);
Error not_an_integer(const Text8& text);
Error not_a_float(const Text8& text);

} // namespace enlazor::dbf_messages
