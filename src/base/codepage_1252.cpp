#include "base/codepage_1252.h"

#include <array>
#include <string_view>

namespace enlazor::cp1252 {
namespace {

// Where 1252 departs from Latin-1: the characters of bytes 0x80..0x9F. The
// five undefined bytes keep their own value.
constexpr std::array<char16_t, 32> upper_controls_area = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Best-fit substitutes, one byte per character of a Unicode block, "?" where
// there is none. Letters that 1252 has outright (Œ, Š, Ÿ, ƒ...) are found
// in the table above before these are consulted, so their slots here are
// never read.
constexpr std::string_view latin_extended_a =  // U+0100..U+017F
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "Ii??JjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo"
    "Oo??RrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYy?ZzZz??s";

constexpr std::string_view latin_extended_b =  // U+0180..U+024F
    "bBBb???CcDDDd???"
    "?F?G???IKkl??NnO"
    "Oo??Pp?????tTtTU"
    "u?VYyZz?????????"
    "?????????????AaI"
    "iOoUuUuUuUuUu?Aa"
    "Aa" "\xC6" "\xE6" "GgGgKkOoOo??"        // Ǣ ǣ become Æ æ
    "j???Gg??Nn" "\xC5\xE5\xC6\xE6\xD8\xF8"  // Ǻ ǻ Ǽ ǽ Ǿ ǿ become Å å Æ æ Ø ø
    "AaAaEeEeIiIiOoOo"
    "RrRrUuUuSsTt??Hh"
    "Nd??ZzAaEeOoOoOo"
    "OoYylntj??ACcLTs"
    "z??BU?EeJjQqRrYy";

constexpr std::string_view latin_extended_additional =  // U+1E00..U+1EFF
    "AaBbBbBbCcDdDdDd"
    "DdDdEeEeEeEeEeFf"
    "GgHhHhHhHhHhIiIi"
    "KkKkKkLlLlLlLlMm"
    "MmMmNnNnNnNnOoOo"
    "OoOoPpPpRrRrRrRr"
    "SsSsSsSsSsTtTtTt"
    "TtUuUuUuUuUuVvVv"
    "WwWwWwWwWwXxXxYy"
    "ZzZzZzhtwyasss??"
    "AaAaAaAaAaAaAaAa"
    "AaAaAaAaEeEeEeEe"
    "EeEeEeEeIiIiOoOo"
    "OoOoOoOoOoOoOoOo"
    "OoOoUuUuUuUuUuUu"
    "UuYyYyYyYy??????";

static_assert(latin_extended_a.size() == 0x80);
static_assert(latin_extended_b.size() == 0xD0);
static_assert(latin_extended_additional.size() == 0x100);

constexpr unsigned char no_substitute = '?';

unsigned char from_block(std::string_view block, char16_t first, char16_t character) {
    return static_cast<unsigned char>(block[character - first]);
}

// Punctuation and spaces that have a plain ASCII stand-in.
unsigned char punctuation_substitute(char16_t c) {
    if ((c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000)
        return ' ';
    if ((c >= 0x2010 && c <= 0x2015) || c == 0x2212)  // – and — are found earlier
        return '-';
    switch (c) {
    case 0x02B9: case 0x02BC: case 0x201B: case 0x2032: case 0x2035:
        return '\'';
    case 0x02BA: case 0x201F: case 0x2033: case 0x2036:
        return '"';
    case 0x2024:
        return '.';
    case 0x2044: case 0x2215:
        return '/';
    default:
        break;
    }
    if (c >= 0xFF01 && c <= 0xFF5E)  // full-width forms of the ASCII characters
        return static_cast<unsigned char>(c - 0xFEE0);
    return no_substitute;
}

unsigned char best_fit(char16_t c) {
    if (c >= 0x0100 && c <= 0x017F)
        return from_block(latin_extended_a, 0x0100, c);
    if (c >= 0x0180 && c <= 0x024F)
        return from_block(latin_extended_b, 0x0180, c);
    if (c >= 0x1E00 && c <= 0x1EFF)
        return from_block(latin_extended_additional, 0x1E00, c);
    return punctuation_substitute(c);
}

// One combining mark and the letters it forms within 1252: `bases[i]` with
// the mark is the byte `letters[i]`.
struct Composition {
    char16_t mark;
    std::string_view bases;
    std::string_view letters;
};

constexpr std::array<Composition, 8> compositions = {{
    {0x0300, "AEIOUaeiou", "\xC0\xC8\xCC\xD2\xD9\xE0\xE8\xEC\xF2\xF9"},
    {0x0301, "AEIOUYaeiouy", "\xC1\xC9\xCD\xD3\xDA\xDD\xE1\xE9\xED\xF3\xFA\xFD"},
    {0x0302, "AEIOUaeiou", "\xC2\xCA\xCE\xD4\xDB\xE2\xEA\xEE\xF4\xFB"},
    {0x0303, "ANOano", "\xC3\xD1\xD5\xE3\xF1\xF5"},
    {0x0308, "AEIOUYaeiouy", "\xC4\xCB\xCF\xD6\xDC\x9F\xE4\xEB\xEF\xF6\xFC\xFF"},
    {0x030A, "Aa", "\xC5\xE5"},
    {0x030C, "SZsz", "\x8A\x8E\x9A\x9E"},
    {0x0327, "Cc", "\xC7\xE7"},
}};

} // namespace

char16_t decode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return upper_controls_area[byte - 0x80];
    return byte;  // ASCII and 0xA0..0xFF are Latin-1
}

unsigned char encode(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<unsigned char>(character);
    for (std::size_t i = 0; i < upper_controls_area.size(); ++i)
        if (upper_controls_area[i] == character)
            return static_cast<unsigned char>(0x80 + i);
    return best_fit(character);
}

bool is_combining_mark(char16_t character) {
    return character >= 0x0300 && character <= 0x036F;
}

unsigned char compose(char16_t base, char16_t mark) {
    if (base > 0x7F)
        return 0;
    for (const Composition& composition : compositions) {
        if (composition.mark != mark)
            continue;
        const auto at = composition.bases.find(static_cast<char>(base));
        return at == std::string_view::npos ? 0
                                            : static_cast<unsigned char>(composition.letters[at]);
    }
    return 0;
}

unsigned char fold_case(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z')
        return byte + 32;
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)  // À..Þ, but not ×
        return byte + 32;
    switch (byte) {
    case 0x8A: return 0x9A;  // Š
    case 0x8C: return 0x9C;  // Œ
    case 0x8E: return 0x9E;  // Ž
    case 0x9F: return 0xFF;  // Ÿ
    default: return byte;
    }
}

} // namespace enlazor::cp1252
