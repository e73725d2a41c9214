#include "export/lesson_pattern.h"

#include <algorithm>
#include <cmath>

namespace enlazor {

Text8 hours_with_comma(const Text8& hours) {
    Text8 result = hours;
    std::replace(result.begin(), result.end(), '.', ',');
    return result;
}

std::optional<double> hours_number(const Text8& hours, char decimal_separator) {
    const std::optional<double> value = parse_float(hours, decimal_separator);
    if (value && std::isfinite(*value))
        return value;
    return std::nullopt;
}

double weekly_hours(const Text8& hours, char decimal_separator) {
    constexpr double kNoNumber = 1.0;
    return hours_number(hours, decimal_separator).value_or(kNoNumber);
}

Text8 lesson_pattern(std::int32_t lessons) {
    constexpr std::int32_t kSingleLessons = 13;
    if (lessons <= 0)
        return {};
    if (lessons <= kSingleLessons)
        return Text8(static_cast<std::size_t>(lessons), '1');
    // Widened so that the largest count cannot overflow.
    return int_to_text(std::int64_t{lessons} - kSingleLessons) + Text8(kSingleLessons, '1');
}

} // namespace enlazor
