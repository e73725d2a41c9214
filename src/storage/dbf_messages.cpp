#include "storage/dbf_messages.h"
#include "base/path_text.h"

namespace enlazor::dbf_messages {

Error invalid_field_name(const std::string& field) {
    return Error("Invalid field name.\nField: " + utf8_from_8bit(field));
}

Error invalid_field_size(const std::string& field) {
    return Error("Invalid field size.\nField: " + utf8_from_8bit(field));
}

Error duplicate_field_name(const std::string& field) {
    return Error("Duplicate field name.\nField: " + utf8_from_8bit(field));
}

Error value_out_of_range(const std::string& field, const std::filesystem::path& table) {
    return Error("Field value out of range.\nField: " + utf8_from_8bit(field) +
                 "\nTable: " + utf8_from_path(table));
}

Error field_not_found(const std::string& object_name, const Text8& field) {
    std::string message = "No se encuentra el campo '" + utf8_from_8bit(field) + "'";
    return Error(object_name.empty() ? message : object_name + ": " + message);
}

Error not_an_integer(const Text8& text) {
    return Error("'" + utf8_from_8bit(text) + "' no es un valor entero válido");
}

Error not_a_float(const Text8& text) {
    return Error("'" + utf8_from_8bit(text) + "' no es un valor punto flotante válido");
}

} // namespace enlazor::dbf_messages
