// The weekly hours of an assignment and the lesson pattern Horalis places.
#pragma once

#include "storage/text.h"

#include <cstdint>
#include <optional>

namespace enlazor {

// SAGA writes hours with a point ("2.5"); Horalis's side reads them with the
// system's decimal separator, which schools set to the comma. Every point
// becomes a comma, so "2.5" reads as 2.5 only where the separator is ",".
Text8 hours_with_comma(const Text8& hours);

// The hours as a number read with the system's decimal separator, or
// nothing when the text is no number: a text beyond the range of numbers
// ("1e400") is none either, as the table cannot store an infinite value.
std::optional<double> hours_number(const Text8& hours, char decimal_separator);

// hours_number, or 1 when the text is no number: one bad subject must not
// stop the whole export.
double weekly_hours(const Text8& hours, char decimal_separator);

// One "1" per weekly lesson for up to 13 lessons ("1111" for 4). Beyond 13,
// Horalis reads a count prefix: n - 13 followed by thirteen "1" (so 14 is
// fourteen "1" and 15 is "2" and thirteen "1"). Empty for 0 or less. Hours
// too large for a count arrive saturated, and their pattern is cut by the field.
Text8 lesson_pattern(std::int32_t lessons);

} // namespace enlazor
