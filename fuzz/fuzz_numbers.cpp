// The text-to-number rules on arbitrary text, with the properties the
// tables rely on: what we write we read back, and the ceiling is the
// mathematical one wherever it fits in 32 bits.
#include "fuzz_check.h"

#include "base/error.h"
#include "storage/text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

using enlazor::Text8;

void check_integer(const Text8& text) {
    std::int32_t value = 0;
    try {
        value = enlazor::text_to_int(text);
    } catch (const enlazor::Error&) {
        return;
    }
    FUZZ_CHECK(enlazor::text_to_int(enlazor::int_to_text(value)) == value);
}

void check_float(const Text8& text, char decimal_separator) {
    const std::optional<double> parsed = enlazor::parse_float(text, decimal_separator);
    const double fallback = -12345.5;
    const double read = enlazor::text_to_float(text, fallback, decimal_separator);
    if (!parsed) {
        FUZZ_CHECK(read == fallback);
        return;
    }
    const double value = *parsed;
    FUZZ_CHECK(read == value);
    FUZZ_CHECK(!std::isnan(value));

    const Text8 written = enlazor::float_to_text(value, decimal_separator);
    // Fifteen significant digits read back within their rounding; values
    // near the largest double round up past it, and infinity has no text
    // that reads back, so both stay out of the round trip.
    if (std::isfinite(value) && std::fabs(value) < 1e308) {
        const std::optional<double> again = enlazor::parse_float(written, decimal_separator);
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(std::fabs(*again - value) <= std::fabs(value) * 1e-14);
    }

    const std::int32_t rounded_up = enlazor::ceiling(value);
    if (value > -2147483648.0 && value < 2147483647.0)
        FUZZ_CHECK(static_cast<double>(rounded_up) == std::ceil(value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text8 text(reinterpret_cast<const char*>(data), size);
    check_integer(text);
    check_float(text, '.');
    check_float(text, ',');
    return 0;
}
