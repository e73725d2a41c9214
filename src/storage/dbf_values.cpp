#include "storage/dbf_values.h"

#include "storage/dbf_messages.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace enlazor::dbf {

namespace {

bool is_padding(char c) { return c == ' ' || c == '\0'; }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string blank(const FieldInfo& field) {
    return std::string(static_cast<std::size_t>(field.width), ' ');
}

std::string cut_to_width(const FieldInfo& field, const Text8& value) {
    std::string stored(static_cast<std::size_t>(field.width), ' ');
    write_text(field, value, stored.data());
    return stored;
}

// The number a numeric field holds; throws the field kind's conversion error
// (with the stored text) when it holds something else.
double stored_number(const FieldInfo& field, std::string_view unpadded) {
    if (std::optional<double> number = parse_stored_number(unpadded))
        return *number;
    if (field.kind() == FieldType::Integer)
        throw dbf_messages::not_an_integer(Text8(unpadded));
    throw dbf_messages::not_a_float(Text8(unpadded));
}

// Integer fields hold their digits exactly, beyond what a double keeps.
std::optional<std::int64_t> stored_whole_number(std::string_view unpadded) {
    if (!unpadded.empty() && unpadded.front() == '+')
        unpadded.remove_prefix(1);
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(unpadded.data(), unpadded.data() + unpadded.size(), value);
    if (error != std::errc() || end != unpadded.data() + unpadded.size())
        return std::nullopt;
    return value;
}

// ---- binary codings ----

std::uint64_t little_endian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i > 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[i - 1]);
    return value;
}

std::uint64_t big_endian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (const char byte : bytes)
        value = value << 8 | static_cast<unsigned char>(byte);
    return value;
}

bool made_of(std::string_view bytes, char filler) {
    return bytes.find_first_not_of(filler) == std::string_view::npos;
}

double double_from_bits(std::uint64_t bits) {
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// dBase 7 keeps doubles so that their bytes sort as their values: a
// positive number with its sign bit set, a negative one with every bit
// inverted.
double sortable_double(std::string_view bytes) {
    const std::uint64_t stored = big_endian(bytes);
    const std::uint64_t sign = std::uint64_t{1} << 63;
    return double_from_bits(stored & sign ? stored ^ sign : ~stored);
}

// A binary field holds no value when it is blank, as a record just appended
// is, or, in dBase 7 and for FoxPro's date-times, when it is all zeros.
bool holds_no_value(const FieldInfo& field, std::string_view stored) {
    if (made_of(stored, ' '))
        return true;
    switch (field.coding) {
    case FieldCoding::SortableInt32:
    case FieldCoding::SortableDouble:
    case FieldCoding::SortableTimestamp:
        return made_of(stored, '\0');
    case FieldCoding::JulianDateTime:
        return little_endian(stored.substr(0, 4)) == 0;  // day 0: no date
    default:
        return false;
    }
}

// The number a binary number field holds, or nothing when it holds none.
std::optional<double> binary_number(const FieldInfo& field, std::string_view stored) {
    if (holds_no_value(field, stored))
        return std::nullopt;
    switch (field.coding) {
    case FieldCoding::Int32:
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(little_endian(stored)));
    case FieldCoding::SortableInt32:
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(big_endian(stored)) ^ 0x80000000u);
    case FieldCoding::Double:
        return double_from_bits(little_endian(stored));
    case FieldCoding::SortableDouble:
        return sortable_double(stored);
    case FieldCoding::Currency:
        return static_cast<double>(static_cast<std::int64_t>(little_endian(stored))) / 10000.0;
    default:
        return std::nullopt;
    }
}

bool is_binary_number(const FieldInfo& field) {
    return field.coding != FieldCoding::Characters && field.kind() != FieldType::Text;
}

constexpr std::int64_t kMillisecondsPerDay = 86400000;
constexpr std::int64_t kFirstJulianDay = 1721426;  // 1 January of year 1
constexpr std::int64_t kLastJulianDay = 5373484;   // 31 December 9999

// "YYYY-MM-DD hh:mm:ss" of a Julian day number and the milliseconds into
// that day; empty outside the years 1 to 9999.
Text8 date_time_text(std::int64_t julian_day, std::int64_t milliseconds) {
    if (julian_day < kFirstJulianDay || julian_day > kLastJulianDay || milliseconds < 0 ||
        milliseconds >= kMillisecondsPerDay)
        return {};
    // The Gregorian date of a Julian day number (Fliegel and Van Flandern).
    const std::int64_t a = julian_day + 32044;
    const std::int64_t b = (4 * a + 3) / 146097;
    const std::int64_t c = a - 146097 * b / 4;
    const std::int64_t d = (4 * c + 3) / 1461;
    const std::int64_t e = c - 1461 * d / 4;
    const std::int64_t m = (5 * e + 2) / 153;
    const std::int64_t day = e - (153 * m + 2) / 5 + 1;
    const std::int64_t month = m + 3 - 12 * (m / 10);
    const std::int64_t year = 100 * b + d - 4800 + m / 10;
    const std::int64_t seconds = milliseconds / 1000;
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", static_cast<int>(year),
                  static_cast<int>(month), static_cast<int>(day), static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

Text8 timestamp_text(const FieldInfo& field, std::string_view stored) {
    if (holds_no_value(field, stored))
        return {};
    if (field.coding == FieldCoding::JulianDateTime)
        return date_time_text(static_cast<std::int64_t>(little_endian(stored.substr(0, 4))),
                              static_cast<std::int64_t>(little_endian(stored.substr(4, 4))));
    // Milliseconds from the start of 1 January of year 1, which is day 1.
    const double milliseconds = sortable_double(stored);
    if (!(milliseconds >= 0 && milliseconds < 1e15))
        return {};
    const auto whole = static_cast<std::int64_t>(milliseconds);
    const std::int64_t day = whole / kMillisecondsPerDay;
    return date_time_text(day + kFirstJulianDay - 1, whole % kMillisecondsPerDay);
}

} // namespace

std::string_view without_padding(std::string_view stored) {
    while (!stored.empty() && is_padding(stored.front()))
        stored.remove_prefix(1);
    while (!stored.empty() && is_padding(stored.back()))
        stored.remove_suffix(1);
    return stored;
}

std::string_view without_trailing_padding(std::string_view stored) {
    while (!stored.empty() && is_padding(stored.back()))
        stored.remove_suffix(1);
    return stored;
}

std::optional<double> parse_stored_number(std::string_view text) {
    // Checked by hand first: from_chars alone would also take "inf" and "nan".
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    const std::size_t mantissa = i;
    std::size_t digits = 0;
    for (; i < text.size() && is_digit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && is_digit(text[i]); ++i)
            ++digits;
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        if (i == text.size() || !is_digit(text[i]))
            return std::nullopt;
        while (i < text.size() && is_digit(text[i]))
            ++i;
    }
    if (i != text.size())
        return std::nullopt;

    double value = 0;
    const char* first = text.data() + mantissa;
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<std::int32_t> round_to_int32(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    double whole = std::floor(value);
    const double fraction = value - whole;  // exact for every finite double
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < std::numeric_limits<std::int32_t>::min() ||
        whole > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(whole);
}

void write_text(const FieldInfo& field, std::string_view value, char* out) {
    const auto width = static_cast<std::size_t>(field.width);
    const std::size_t kept = std::min(width, value.size());
    std::copy_n(value.data(), kept, out);
    std::fill_n(out + kept, width - kept, ' ');
}

bool write_number(double value, int width, int decimals, char* out) {
    if (!std::isfinite(value))
        return false;
    if (value == 0.0)
        value = 0.0;  // no "-0.0000000000"
    const auto columns = static_cast<std::size_t>(width);
    const auto right_aligned = [&](std::string_view digits) {
        std::fill_n(out, columns - digits.size(), ' ');
        std::copy(digits.begin(), digits.end(), out + (columns - digits.size()));
        return true;
    };
    // The longest fixed form: 309 digits, sign, point and up to 255 decimals.
    char buffer[640];
    auto fixed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                               decimals);
    std::string_view text(buffer, fixed.ec == std::errc() ? fixed.ptr - buffer : sizeof buffer);
    if (fixed.ec == std::errc() && text.size() <= columns)
        return right_aligned(text);
    if (decimals == 0)
        return false;  // an integer column never takes an exponent
    auto shortest = std::to_chars(buffer, buffer + sizeof buffer, value);
    text = std::string_view(buffer, shortest.ptr - buffer);
    if (shortest.ec == std::errc() && text.size() <= columns)
        return right_aligned(text);
    return false;
}

std::optional<std::string> format_number(double value, int width, int decimals) {
    std::string stored(static_cast<std::size_t>(width), ' ');
    if (!write_number(value, width, decimals, stored.data()))
        return std::nullopt;
    return stored;
}

Text8 read_text(const FieldInfo& field, std::string_view stored, char decimal_separator) {
    if (field.coding == FieldCoding::JulianDateTime || field.coding == FieldCoding::SortableTimestamp)
        return timestamp_text(field, stored);
    if (is_binary_number(field)) {
        const std::optional<double> number = binary_number(field, stored);
        if (!number)
            return {};
        if (field.kind() == FieldType::Integer)
            return int_to_text(static_cast<std::int64_t>(*number));
        return float_to_text(*number, decimal_separator);
    }
    if (field.kind() == FieldType::Text)
        return Text8(without_trailing_padding(stored));
    const std::string_view unpadded = without_padding(stored);
    if (unpadded.empty())
        return {};
    if (field.kind() == FieldType::Integer) {
        if (std::optional<std::int64_t> whole = stored_whole_number(unpadded))
            return int_to_text(*whole);
        const double number = stored_number(field, unpadded);
        const double rounded = std::nearbyint(number);
        if (std::fabs(rounded) < 9.2e18)
            return int_to_text(static_cast<std::int64_t>(rounded));
        return float_to_text(number, decimal_separator);
    }
    return float_to_text(stored_number(field, unpadded), decimal_separator);
}

std::int32_t read_integer(const FieldInfo& field, std::string_view stored, char decimal_separator) {
    if (field.kind() == FieldType::Text)
        return text_to_int(read_text(field, stored, decimal_separator));
    if (is_binary_number(field)) {
        const std::optional<double> number = binary_number(field, stored);
        if (!number)
            return 0;
        if (std::optional<std::int32_t> value = round_to_int32(*number))
            return *value;
        throw dbf_messages::not_an_integer(float_to_text(*number, decimal_separator));
    }
    const std::string_view unpadded = without_padding(stored);
    if (unpadded.empty())
        return 0;
    if (std::optional<std::int32_t> value = round_to_int32(stored_number(field, unpadded)))
        return *value;
    throw dbf_messages::not_an_integer(Text8(unpadded));
}

double read_float(const FieldInfo& field, std::string_view stored, char decimal_separator) {
    if (field.kind() == FieldType::Text) {
        const Text8 text = read_text(field, stored, decimal_separator);
        if (std::optional<double> value = parse_float(text, decimal_separator))
            return *value;
        throw dbf_messages::not_a_float(text);
    }
    if (is_binary_number(field))
        return binary_number(field, stored).value_or(0.0);
    const std::string_view unpadded = without_padding(stored);
    if (unpadded.empty())
        return 0.0;
    return stored_number(field, unpadded);
}

std::optional<std::string> store_text(const FieldInfo& field, const Text8& value,
                                      char decimal_separator) {
    switch (field.kind()) {
    case FieldType::Text:
        return cut_to_width(field, value);
    case FieldType::Integer:
        if (value.empty())
            return blank(field);
        return store_integer(field, text_to_int(value), decimal_separator);
    case FieldType::Float:
        break;
    }
    if (value.empty())
        return blank(field);
    std::optional<double> number = parse_float(value, decimal_separator);
    if (!number)
        throw dbf_messages::not_a_float(value);
    return store_float(field, *number, decimal_separator);
}

std::optional<std::string> store_integer(const FieldInfo& field, std::int32_t value,
                                         char /*decimal_separator*/) {
    if (field.kind() == FieldType::Text)
        return cut_to_width(field, int_to_text(value));
    return format_number(value, field.width, field.kind() == FieldType::Float ? field.decimals : 0);
}

std::optional<std::string> store_float(const FieldInfo& field, double value,
                                       char decimal_separator) {
    switch (field.kind()) {
    case FieldType::Text:
        return cut_to_width(field, float_to_text(value, decimal_separator));
    case FieldType::Integer:
        if (std::optional<std::int32_t> whole = round_to_int32(value))
            return format_number(*whole, field.width, 0);
        return std::nullopt;
    case FieldType::Float:
        break;
    }
    return format_number(value, field.width, field.decimals);
}

} // namespace enlazor::dbf
