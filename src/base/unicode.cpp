#include "base/unicode.h"

namespace enlazor {

namespace {

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

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

} // namespace enlazor
