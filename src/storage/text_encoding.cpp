// Conversions between wide text, Windows-1252 and UTF-8.
#include "storage/text.h"

#include "platform/code_page.h"

#include <string>
#include <string_view>

namespace enlazor {

Text8 to_8bit(const WideText& text) { return platform::encode_system_code_page(text); }

WideText to_wide(const Text8& text) { return platform::decode_system_code_page(text); }

std::string utf8_from_8bit(const Text8& text) { return utf8_from_wide(to_wide(text)); }

Text8 to_8bit_from_utf8(std::string_view utf8) {
    if (std::optional<Text8> exact = exact_8bit_from_utf8(utf8))
        return std::move(*exact);
    return to_8bit(wide_from_utf8(utf8));
}

std::optional<Text8> exact_8bit_from_utf8(std::string_view utf8) {
    // Windows-1252 holds ASCII and U+00A0..U+00FF as bytes of the same number.
    constexpr unsigned kLatin1CodePage = 1252;
    static const bool latin1 = platform::system_code_page() == kLatin1CodePage;
    // Ids and codes are mostly ASCII, which is the same bytes in both.
    std::size_t ascii = 0;
    while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80)
        ++ascii;
    Text8 bytes(utf8.substr(0, ascii));
    if (ascii == utf8.size())
        return bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = ascii; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            bytes += static_cast<char>(byte);
            continue;
        }
        // C2 A0..C2 BF and C3 80..C3 BF are U+00A0..U+00FF.
        const bool latin1_lead = byte == 0xC2 || byte == 0xC3;
        if (!latin1 || !latin1_lead || i + 1 == utf8.size())
            return std::nullopt;
        const auto next = static_cast<unsigned char>(utf8[i + 1]);
        if ((next & 0xC0) != 0x80 || (byte == 0xC2 && next < 0xA0))
            return std::nullopt;
        bytes += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3F));
        ++i;
    }
    return bytes;
}

} // namespace enlazor
