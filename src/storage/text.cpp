#include "storage/text.h"

#include "storage/codepage_1252.h"
#include "storage/error.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <langinfo.h>
#include <limits>
#include <locale.h>
#include <system_error>

namespace enlazor {

// ---- trimming and conversions ---------------------------------------------

WideText trim(const WideText& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] <= 32)
        ++first;
    while (last > first && text[last - 1] <= 32)
        --last;
    return text.substr(first, last - first);
}

namespace {

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool is_ascii_letter(char16_t unit) {
    return (unit >= 'A' && unit <= 'Z') || (unit >= 'a' && unit <= 'z');
}

} // namespace

Text8 to_8bit(const WideText& text) {
    Text8 result;
    result.reserve(text.size());
    // The letter a following combining mark may still join (e + U+0301 is é).
    char16_t open_base = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (cp1252::is_combining_mark(unit)) {
            // A mark that cannot join its letter is left out: the plain
            // letter is the best fit for a letter the code page lacks.
            if (open_base != 0) {
                if (const unsigned char letter = cp1252::compose(open_base, unit))
                    result.back() = static_cast<char>(letter);
                open_base = 0;
            }
            continue;
        }
        open_base = is_ascii_letter(unit) ? unit : 0;
        if (is_high_surrogate(unit) && i + 1 < text.size() && is_low_surrogate(text[i + 1]))
            ++i;  // one character beyond the BMP, one "?"
        result += static_cast<char>(cp1252::encode(unit));
    }
    return result;
}

WideText to_wide(const Text8& text) {
    WideText result;
    result.reserve(text.size());
    for (const char byte : text)
        result += cp1252::decode(static_cast<unsigned char>(byte));
    return result;
}

namespace {

constexpr char16_t replacement_character = 0xFFFD;

// Length of the well-formed UTF-8 sequence at `at` and its code point, or
// 0 when the byte there does not start one.
std::size_t decode_utf8(std::string_view utf8, std::size_t at, char32_t& code_point) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        code_point = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code_point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code_point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code_point = lead & 0x07;
    } else {
        return 0;
    }
    if (utf8.size() - at < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code_point = (code_point << 6) | (byte(at + i) & 0x3F);
    }
    const bool surrogate = code_point >= 0xD800 && code_point <= 0xDFFF;
    if (code_point < minimum || code_point > 0x10FFFF || surrogate)
        return 0;
    return length;
}

void append_utf8(std::string& out, char32_t code_point) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code_point >> 18));
        out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

} // namespace

WideText wide_from_utf8(std::string_view utf8) {
    WideText result;
    result.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        char32_t code_point = 0;
        const std::size_t length = decode_utf8(utf8, at, code_point);
        if (length == 0) {
            result += replacement_character;  // one per byte that starts nothing valid
            ++at;
            continue;
        }
        at += length;
        if (code_point < 0x10000) {
            result += static_cast<char16_t>(code_point);
        } else {
            code_point -= 0x10000;
            result += static_cast<char16_t>(0xD800 + (code_point >> 10));
            result += static_cast<char16_t>(0xDC00 + (code_point & 0x3FF));
        }
    }
    return result;
}

std::string utf8_from_wide(const WideText& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (is_high_surrogate(unit) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
            const char32_t high = unit - 0xD800u;
            const char32_t low = text[++i] - 0xDC00u;
            append_utf8(result, 0x10000 + (high << 10) + low);
        } else if (is_high_surrogate(unit) || is_low_surrogate(unit)) {
            append_utf8(result, replacement_character);
        } else {
            append_utf8(result, unit);
        }
    }
    return result;
}

std::string utf8_from_8bit(const Text8& text) { return utf8_from_wide(to_wide(text)); }

Text8 to_8bit_from_utf8(std::string_view utf8) { return to_8bit(wide_from_utf8(utf8)); }

// ---- cutting, case, comparison --------------------------------------------
//
// The code page has one byte per character and every byte survives the trip
// to wide text and back, so cutting characters is cutting bytes.

Text8 left_part(const Text8& text, int count) {
    if (count <= 0)
        return {};
    return text.substr(0, static_cast<std::size_t>(count));
}

namespace {

template <typename Text>
Text last_units(const Text& text, int count) {
    if (count <= 0)
        return {};
    const auto wanted = static_cast<std::size_t>(count);
    return wanted >= text.size() ? text : text.substr(text.size() - wanted);
}

} // namespace

Text8 right_part(const Text8& text, int count) { return last_units(text, count); }

WideText right_part(const WideText& text, int count) { return last_units(text, count); }

Text8 substring(const Text8& text, int position, int count) {
    const std::size_t first = position <= 0 ? 0 : static_cast<std::size_t>(position) - 1;
    if (first >= text.size() || count <= 0)
        return {};
    return text.substr(first, static_cast<std::size_t>(count));
}

Text8 ascii_lower(const Text8& text) {
    Text8 result = text;
    for (char& byte : result)
        if (byte >= 'A' && byte <= 'Z')
            byte = static_cast<char>(byte + 32);
    return result;
}

Text8 fold_case(const Text8& text) {
    Text8 result = text;
    for (char& byte : result)
        byte = static_cast<char>(cp1252::fold_case(static_cast<unsigned char>(byte)));
    return result;
}

void LookupList::add(const Text8& text) {
    // Only the first of equal entries is ever found, so later ones keep the
    // position already recorded.
    first_position_.try_emplace(fold_case(text), size());
    entries_.push_back(text);
}

int LookupList::find(const Text8& text) const {
    const auto found = first_position_.find(fold_case(text));
    return found == first_position_.end() ? -1 : found->second;
}

const Text8& LookupList::at(int position) const {
    if (position < 0 || position >= size())
        throw Error("List index out of bounds (" + int_to_text(position) + ")");
    return entries_[static_cast<std::size_t>(position)];
}

// ---- numbers ----------------------------------------------------------------

Text8 int_to_text(std::int64_t value) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;  // 24 characters always hold an int64
    return Text8(digits, end);
}

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

int hex_digit_value(char c) {
    if (is_digit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::size_t skip_spaces(const Text8& text, std::size_t at) {
    while (at < text.size() && text[at] == ' ')
        ++at;
    return at;
}

// Reads an optional "+" or "-" at `at`; true when it was "-".
bool read_sign(const Text8& text, std::size_t& at) {
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        return text[at++] == '-';
    return false;
}

// Consumes a hexadecimal marker: "$", "x", "X", "0x" or "0X".
bool read_hex_marker(const Text8& text, std::size_t& at) {
    if (at < text.size() && (text[at] == '$' || text[at] == 'x' || text[at] == 'X')) {
        ++at;
        return true;
    }
    if (at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X')) {
        at += 2;
        return true;
    }
    return false;
}

// The 32 bits of the hexadecimal digits from `at` to the end.
std::optional<std::uint32_t> read_hex_to_end(const Text8& text, std::size_t at) {
    if (at == text.size())
        return std::nullopt;
    std::uint32_t value = 0;
    int significant_digits = 0;
    for (; at < text.size(); ++at) {
        const int digit = hex_digit_value(text[at]);
        if (digit < 0)
            return std::nullopt;
        if (significant_digits == 0 && digit == 0)
            continue;
        if (++significant_digits > 8)
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

// The magnitude of the decimal digits from `at` to the end, when it is at
// most 2^31 (the magnitude of the smallest integer).
std::optional<std::uint32_t> read_decimal_to_end(const Text8& text, std::size_t at) {
    constexpr std::uint64_t limit = 2147483648u;
    if (at == text.size())
        return std::nullopt;
    std::uint64_t value = 0;
    for (; at < text.size(); ++at) {
        if (!is_digit(text[at]))
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[at] - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::int32_t text_to_int(const Text8& text) {
    std::size_t at = skip_spaces(text, 0);
    const bool negative = read_sign(text, at);
    const bool hexadecimal = read_hex_marker(text, at);
    const std::optional<std::uint32_t> magnitude =
        hexadecimal ? read_hex_to_end(text, at) : read_decimal_to_end(text, at);
    // Hexadecimal digits give all 32 bits (FFFFFFFF is -1); decimal digits
    // may reach 2^31 only with a minus sign.
    if (!magnitude || (!hexadecimal && !negative && *magnitude > 2147483647u))
        throw Error("'" + utf8_from_8bit(text) + "' no es un valor entero válido");
    // Unsigned negation wraps, so even the smallest integer negates safely.
    const std::uint32_t bits = negative ? 0u - *magnitude : *magnitude;
    return static_cast<std::int32_t>(bits);
}

namespace {

// The value of the significant decimal digits `digits` times 10^`exponent`,
// correctly rounded. Out of range it gives infinity or zero.
double decimal_value(const std::string& digits, std::int64_t exponent) {
    if (digits.empty())
        return 0.0;
    const std::string canonical = digits + "e" + std::to_string(exponent);
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        const auto order = exponent + static_cast<std::int64_t>(digits.size());
        return order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

} // namespace

std::optional<double> parse_float(const Text8& text, char decimal_separator) {
    std::size_t at = skip_spaces(text, 0);
    const bool negative = read_sign(text, at);

    // The number as significant digits (no leading zeros) times 10^exponent.
    std::string digits;
    std::int64_t exponent = 0;
    const std::size_t number_start = at;
    for (; at < text.size() && is_digit(text[at]); ++at)
        if (!digits.empty() || text[at] != '0')
            digits += text[at];
    if (at < text.size() && text[at] == decimal_separator) {
        for (++at; at < text.size() && is_digit(text[at]); ++at) {
            if (!digits.empty() || text[at] != '0')
                digits += text[at];
            --exponent;
        }
    }
    if (at == number_start)
        return std::nullopt;

    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        ++at;
        const bool negative_exponent = read_sign(text, at);
        int written_exponent = 0;
        while (at < text.size() && is_digit(text[at]) &&
               written_exponent * 10 + (text[at] - '0') < 500) {
            written_exponent = written_exponent * 10 + (text[at] - '0');
            ++at;
        }
        exponent += negative_exponent ? -written_exponent : written_exponent;
    }
    if (skip_spaces(text, at) != text.size())
        return std::nullopt;

    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    const double magnitude = decimal_value(digits, exponent);
    return negative ? -magnitude : magnitude;
}

double text_to_float(const Text8& text, double fallback, char decimal_separator) {
    return parse_float(text, decimal_separator).value_or(fallback);
}

namespace {

// Adds one unit in the last place of a string of decimal digits; true when
// the carry ran past the first digit ("999" becomes "000").
bool increment_digits(std::string& digits) {
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        if (*digit != '9') {
            ++*digit;
            return false;
        }
        *digit = '0';
    }
    return true;
}

// The first 1 + `precision` significant digits of a positive finite value,
// correctly rounded, and the power of ten of the first digit.
void scientific_digits(double magnitude, int precision, std::string& digits, int& exponent) {
    char written[800];  // a double's exact expansion has at most 767 digits
    const auto [end, error] = std::to_chars(written, written + sizeof written, magnitude,
                                            std::chars_format::scientific, precision);
    (void)error;
    const std::string_view form(written, static_cast<std::size_t>(end - written));
    const std::size_t e_at = form.find('e');
    digits.clear();
    for (const char c : form.substr(0, e_at))
        if (c != '.')
            digits += c;
    std::string_view power = form.substr(e_at + 1);
    const bool negative = power.front() == '-';
    power.remove_prefix(1);  // the sign, always written
    std::from_chars(power.data(), power.data() + power.size(), exponent);
    if (negative)
        exponent = -exponent;
}

} // namespace

Text8 float_to_text(double value, char decimal_separator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    // Fifteen digits, rounded up when the value's decimal expansion goes on
    // with a 5 or more. Sixteen correctly rounded digits settle that unless
    // the sixteenth is a 5, which may stand for a 4999...; then the exact
    // expansion decides (so an exact tie rounds up, not to even).
    std::string digits;
    int scientific_exponent = 0;
    scientific_digits(std::fabs(value), 15, digits, scientific_exponent);
    if (digits[15] == '5')
        scientific_digits(std::fabs(value), 766, digits, scientific_exponent);
    const bool round_up = digits[15] >= '5';
    digits.resize(15);
    if (round_up && increment_digits(digits)) {
        digits.insert(digits.begin(), '1');
        ++scientific_exponent;
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // Written as 0.d1d2d3... x 10^E.
    const int e = scientific_exponent + 1;
    Text8 text = value < 0 ? "-" : "";
    if (e >= -3 && e <= 15) {
        if (e <= 0) {
            text += '0';
            text += decimal_separator;
            text.append(static_cast<std::size_t>(-e), '0');
            text += digits;
        } else {
            const auto whole = static_cast<std::size_t>(e);
            if (digits.size() <= whole) {
                text += digits;
                text.append(whole - digits.size(), '0');
            } else {
                text += digits.substr(0, whole);
                text += decimal_separator;
                text += digits.substr(whole);
            }
        }
    } else {
        text += digits[0];
        if (digits.size() > 1) {
            text += decimal_separator;
            text += digits.substr(1);
        }
        text += 'E';
        text += int_to_text(e - 1);
    }
    return text;
}

std::int32_t ceiling(double value) {
    constexpr double largest = std::numeric_limits<std::int32_t>::max();
    constexpr double smallest = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(value))
        return 0;
    if (value >= largest)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= smallest)
        return std::numeric_limits<std::int32_t>::min();
    const double whole = std::trunc(value);
    const auto result = static_cast<std::int32_t>(whole);
    return value - whole > 0 ? result + 1 : result;
}

// ---- decimal separator ------------------------------------------------------

namespace {

// Locale names go to the C library only when they look like one
// (language_TERRITORY.codeset@modifier), never as a path.
bool is_plain_locale_name(const std::string& name) {
    if (name.empty() || name.size() > 64)
        return false;
    for (const char c : name) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || is_digit(c) ||
                             c == '_' || c == '.' || c == '@' || c == '-';
        if (!allowed)
            return false;
    }
    return true;
}

// The first character of an installed locale's decimal point, in 1252.
std::optional<char> installed_decimal_separator(const std::string& name) {
    if (!is_plain_locale_name(name))
        return std::nullopt;
    const locale_t locale = newlocale(LC_NUMERIC_MASK, name.c_str(), locale_t{});
    if (locale == locale_t{})
        return std::nullopt;
    const std::string point = nl_langinfo_l(RADIXCHAR, locale);
    freelocale(locale);
    if (point.empty())
        return std::nullopt;
    if (static_cast<unsigned char>(point[0]) < 0x80)
        return point[0];
    const Text8 converted = to_8bit_from_utf8(point);  // a non-ASCII point, as UTF-8
    if (converted.empty() || converted[0] == '?')
        return std::nullopt;
    return converted[0];
}

// The decimal point of the languages the schools use, for when their locale
// is not installed on this machine.
char known_decimal_separator(const std::string& name) {
    const std::string language = name.substr(0, name.find_first_of("_.@"));
    constexpr std::array<std::string_view, 9> comma_languages = {"es", "fr", "de", "it", "pt",
                                                                 "ca", "gl", "eu", "nl"};
    for (const std::string_view comma_language : comma_languages)
        if (language == comma_language)
            return ',';
    return '.';  // en, C, POSIX and anything unknown
}

} // namespace

char decimal_separator_for_locale_name(const std::string& name) {
    if (const std::optional<char> installed = installed_decimal_separator(name))
        return *installed;
    return known_decimal_separator(name);
}

char decimal_separator_from_environment() {
    constexpr std::array<const char*, 3> variables = {"LC_ALL", "LC_NUMERIC", "LANG"};
    for (const char* variable : variables) {
        const char* name = std::getenv(variable);
        if (name != nullptr && *name != '\0')
            return decimal_separator_for_locale_name(name);
    }
    return '.';
}

} // namespace enlazor
