// Text and number rules shared by both directions.
//
// Two kinds of text never mix (base/text_types.h). Conversions between them
// are the named functions below and in base/unicode.h, nothing else.
#pragma once

#include "base/text_types.h"
#include "base/unicode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace enlazor {

// ---- trimming and conversions ---------------------------------------------

// Removes every code unit of value 32 or less from both ends.
WideText trim(const WideText& text);
// The same for 8-bit text: every byte of value 32 or less.
Text8 trim(const Text8& text);
// The part of `text` that trim keeps, without a copy. For UTF-8 it trims
// exactly what trimming the text's conversion would: bytes of 32 or less
// are ASCII, and no other character converts to one.
std::string_view trim_view(std::string_view text);

// Wide text to Windows-1252: best-fit substitutes where one exists
// (ā→a, ł→l, – → -), else "?". Never fails.
Text8 to_8bit(const WideText& text);

// Windows-1252 to wide text; the five undefined bytes decode to U+0081 etc.
WideText to_wide(const Text8& text);

// Windows-1252 straight to and from UTF-8, for messages and the terminal.
std::string utf8_from_8bit(const Text8& text);
Text8 to_8bit_from_utf8(std::string_view utf8);

// What to_8bit_from_utf8 gives, without the trip through wide text, for text
// whose every character the system code page holds as the same number
// (ASCII, and U+00A0..U+00FF where that code page is Windows-1252): ids,
// codes and Spanish names. Nothing for any other text, which takes the
// general conversion with its best fit.
std::optional<Text8> exact_8bit_from_utf8(std::string_view utf8);

// ---- cutting, case, comparison --------------------------------------------

// First / last `count` characters; whole text when count >= length; empty when count <= 0.
Text8 left_part(const Text8& text, int count);
Text8 right_part(const Text8& text, int count);
WideText right_part(const WideText& text, int count);

// Bytes from 1-based `position` for `count` bytes (position <= 0 counts as 1).
Text8 substring(const Text8& text, int position, int count);

// "A".."Z" to "a".."z"; every other byte unchanged.
Text8 ascii_lower(const Text8& text);

// Same length, same bytes.
inline bool exact_equal(const Text8& a, const Text8& b) { return a == b; }

// Case folding of the lookup list: folds every Windows-1252 letter to one
// case (ñ and Ñ, é and É fold together; é and e stay apart).
Text8 fold_case(const Text8& text);

// Unsorted, case-insensitive list of 8-bit texts with the first-match find.
// A hash index on the folded text keeps `find` constant-time while giving
// exactly the position a scan from position 0 would give.
class LookupList {
public:
    // Appends without testing for an equal entry.
    void add(const Text8& text);
    // Appends unless an equal entry is there: true when it did. One look-up
    // where find and add would make two.
    bool add_if_new(const Text8& text);
    // Position of the first entry equal ignoring case, or -1.
    int find(const Text8& text) const;
    // Entry at `position`; throws Error "List index out of bounds (%d)" outside 0..size-1.
    const Text8& at(int position) const;
    // True when `find` gives a position.
    bool contains(const Text8& text) const { return find(text) >= 0; }
    int size() const { return static_cast<int>(entries_.size()); }

private:
    std::vector<Text8> entries_;
    std::unordered_map<Text8, int> first_position_;  // folded text -> first position
};

// ---- numbers ----------------------------------------------------------------

// Decimal digits with "-" when negative.
Text8 int_to_text(std::int64_t value);

// Strict integer form: leading spaces, one sign, hex ($, x, X, 0x, 0X) or
// decimal within 32 bits, nothing after. Throws Error
// "'%s' no es un valor entero válido" otherwise.
std::int32_t text_to_int(const Text8& text);

// The floating-point form with the given decimal separator; nullopt when the
// text is not a number.
std::optional<double> parse_float(const Text8& text, char decimal_separator);

// parse_float, or `fallback` when the text is not a number.
double text_to_float(const Text8& text, double fallback, char decimal_separator);

// At most 15 significant digits, plain for exponents -3..15, else scientific.
Text8 float_to_text(double value, char decimal_separator);

// Truncate toward zero, add 1 when a positive fraction remains. Values
// outside 32 bits saturate.
std::int32_t ceiling(double value);

} // namespace enlazor
