// Writing integers and floating-point values as 8-bit text, and the ceiling.
#include "storage/text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace enlazor {

Text8 int_to_text(std::int64_t value) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;  // 24 characters always hold an int64
    return Text8(digits, end);
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
    // Whole numbers of up to fifteen digits, the periods and days the import
    // writes by the million, are their digits.
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        return int_to_text(static_cast<std::int64_t>(value));

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

} // namespace enlazor
