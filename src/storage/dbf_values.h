// The read and write rules of one field: how its stored bytes read as text,
// integer and float, and how a value is stored in its width. Numbers are
// stored and parsed with "." whatever the locale; the table's decimal
// separator only enters where text meets a number.
#pragma once

#include "storage/dbf_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace enlazor::dbf {

// ---- reading: `stored` is the field's bytes in the record ----
Text8 read_text(const FieldInfo& field, std::string_view stored, char decimal_separator);
std::int32_t read_integer(const FieldInfo& field, std::string_view stored, char decimal_separator);
double read_float(const FieldInfo& field, std::string_view stored, char decimal_separator);

// ---- writing: the bytes to store, exactly the field's width, or nothing
// when the value cannot be stored in it ----
// Text is cut to the width; a numeric field takes it as a number (blank when empty).
std::optional<std::string> store_text(const FieldInfo& field, const Text8& value,
                                      char decimal_separator);
std::optional<std::string> store_integer(const FieldInfo& field, std::int32_t value,
                                         char decimal_separator);
std::optional<std::string> store_float(const FieldInfo& field, double value,
                                       char decimal_separator);

// ---- number forms, exposed for the tests of the formats ----
// A numeric field's text without padding (blanks and NULs on both sides).
std::string_view without_padding(std::string_view stored);
// A text field's bytes without the blanks and NULs that fill it to its width.
std::string_view without_trailing_padding(std::string_view stored);
// Optional sign, digits with one optional ".", optional exponent; nothing else.
std::optional<double> parse_stored_number(std::string_view unpadded);
// Nearest integer, ties to even; nothing outside 32 bits.
std::optional<std::int32_t> round_to_int32(double value);
// Fixed with `decimals` when it fits the width, else the shortest form that
// reads back to the same value if that fits; right-aligned.
std::optional<std::string> format_number(double value, int width, int decimals);
// The same written over the `width` bytes at `out`; false, with `out`
// untouched, where format_number gives nothing.
bool write_number(double value, int width, int decimals, char* out);
// Text cut to the field's width and padded with blanks, written over the
// field's bytes at `out`: what store_text stores in a text field.
void write_text(const FieldInfo& field, std::string_view value, char* out);

} // namespace enlazor::dbf
