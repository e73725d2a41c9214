// UTF-8 (what pugixml, the terminal and our own texts use) to and from
// UTF-16: pure conversions that need nothing of the system, shared by the
// platform seam and the text rules above it.
#pragma once

#include "base/text_types.h"

#include <string>
#include <string_view>

namespace enlazor {

// Invalid UTF-8 sequences decode to U+FFFD, one per byte that starts
// nothing valid; lone surrogates encode as U+FFFD.
WideText wide_from_utf8(std::string_view utf8);
std::string utf8_from_wide(const WideText& text);

// Writes one code point as UTF-8.
inline void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace enlazor
