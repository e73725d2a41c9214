// Reading integers and floating-point values from 8-bit text.
#include "storage/text.h"

#include "base/error.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace enlazor {

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

} // namespace enlazor
