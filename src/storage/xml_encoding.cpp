#include "storage/xml_encoding.h"

#include "base/codepage_1252.h"
#include "base/unicode.h"
#include "storage/xml_document.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>

namespace enlazor {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Reads one strictly valid UTF-8 sequence at `i` and moves past it; nullopt
// (and `i` unchanged) for overlong forms, surrogates, values beyond U+10FFFF
// and cut-off sequences.
std::optional<char32_t> next_code_point(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (s.size() - i < length)
        return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    i += length;
    return c;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool is_xml_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

std::string_view declared_encoding(std::string_view bytes) {
    if (bytes.size() < 6 || bytes.substr(0, 5) != "<?xml" || !is_xml_space(bytes[5]))
        return {};
    const std::size_t end = bytes.find("?>");
    if (end == std::string_view::npos)
        return {};
    const std::string_view declaration = bytes.substr(0, end);
    std::size_t at = declaration.find("encoding");
    while (at != std::string_view::npos && !is_xml_space(declaration[at - 1]))
        at = declaration.find("encoding", at + 1);
    if (at == std::string_view::npos)
        return {};
    std::size_t i = at + 8;
    while (i < declaration.size() && is_xml_space(declaration[i]))
        ++i;
    if (i >= declaration.size() || declaration[i] != '=')
        return {};
    ++i;
    while (i < declaration.size() && is_xml_space(declaration[i]))
        ++i;
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\''))
        return {};
    const char quote = declaration[i++];
    const std::size_t close = declaration.find(quote, i);
    if (close == std::string_view::npos)
        return {};
    return declaration.substr(i, close - i);
}

namespace {

std::optional<XmlEncoding> encoding_named(std::string_view name) {
    // ASCII is a subset of UTF-8, so a file declared as ASCII reads as UTF-8.
    for (std::string_view utf8 : {"UTF-8", "UTF8", "US-ASCII", "ASCII"})
        if (equals_ignoring_case(name, utf8))
            return XmlEncoding::Utf8;
    for (std::string_view latin1 : {"ISO-8859-1", "ISO8859-1", "ISO_8859-1", "latin1", "latin-1"})
        if (equals_ignoring_case(name, latin1))
            return XmlEncoding::Latin1;
    for (std::string_view cp1252 : {"windows-1252", "cp1252"})
        if (equals_ignoring_case(name, cp1252))
            return XmlEncoding::Windows1252;
    return std::nullopt;
}

bool starts_with(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

DecodedText decode_utf16(std::string_view body, bool little_endian) {
    DecodedText result;
    result.utf8.reserve(body.size() / 2);
    const auto unit = [&](std::size_t k) -> char16_t {
        const auto lo = static_cast<unsigned char>(body[k + (little_endian ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(body[k + (little_endian ? 1 : 0)]);
        return static_cast<char16_t>(lo | (hi << 8));
    };
    std::size_t i = 0;
    for (; i + 1 < body.size(); i += 2) {
        char32_t c = unit(i);
        if (c == 0 || (c >= 0xDC00 && c <= 0xDFFF))
            break;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 3 >= body.size())
                break;
            const char16_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                break;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        append_utf8(result.utf8, c);
    }
    if (i != body.size())
        result.fault = result.utf8.size();
    return result;
}

DecodedText decode_single_byte(std::string_view body, XmlEncoding encoding) {
    DecodedText result;
    result.utf8.reserve(body.size() + body.size() / 8);
    for (const char ch : body) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == 0) {
            result.fault = result.utf8.size();
            break;
        }
        const bool remapped = encoding == XmlEncoding::Windows1252 && b >= 0x80 && b <= 0x9F;
        append_utf8(result.utf8, remapped ? cp1252::decode(b) : b);
    }
    return result;
}

std::optional<unsigned char> windows1252_byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    // Only the exact characters of the code page: a best fit would change
    // the school's text, so anything else becomes a character reference.
    for (unsigned b = 0x80; b <= 0x9F; ++b)
        if (cp1252::decode(static_cast<unsigned char>(b)) == c)
            return static_cast<unsigned char>(b);
    return std::nullopt;
}

void append_utf16(std::string& out, char32_t c, bool little_endian) {
    const auto put = [&](char32_t u) {
        const char lo = static_cast<char>(u & 0xFF);
        const char hi = static_cast<char>((u >> 8) & 0xFF);
        out += little_endian ? lo : hi;
        out += little_endian ? hi : lo;
    };
    if (c >= 0x10000) {
        put(0xD800 + ((c - 0x10000) >> 10));
        put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        put(c);
    }
}

} // namespace

bool declared_encoding_fits(std::string_view declared, XmlEncoding actual) {
    switch (actual) {
    case XmlEncoding::Utf8Bom:
        return encoding_named(declared) == XmlEncoding::Utf8;
    case XmlEncoding::Utf16LE:
    case XmlEncoding::Utf16BE:
        for (std::string_view utf16 : {"UTF-16", "UTF-16LE", "UTF-16BE", "UTF16", "ISO-10646-UCS-2", "UCS-2"})
            if (equals_ignoring_case(declared, utf16))
                return true;
        return false;
    default:
        return true;  // the declaration itself chose the encoding
    }
}

EncodingGuess guess_xml_encoding(std::string_view bytes) {
    using namespace std::string_view_literals;
    if (starts_with(bytes, "\xFF\xFE\0\0"sv) || starts_with(bytes, "\0\0\xFE\xFF"sv) ||
        starts_with(bytes, "<\0\0\0"sv) || starts_with(bytes, "\0\0\0<"sv))
        return {XmlEncoding::Utf8, 0, "UTF-32"};
    if (starts_with(bytes, "\xEF\xBB\xBF"sv))
        return {XmlEncoding::Utf8Bom, 3, {}};
    if (starts_with(bytes, "\xFF\xFE"sv))
        return {XmlEncoding::Utf16LE, 2, {}};
    if (starts_with(bytes, "\xFE\xFF"sv))
        return {XmlEncoding::Utf16BE, 2, {}};
    if (starts_with(bytes, "<\0"sv))
        return {XmlEncoding::Utf16LE, 0, {}};
    if (starts_with(bytes, "\0<"sv))
        return {XmlEncoding::Utf16BE, 0, {}};
    const std::string_view name = declared_encoding(bytes);
    if (name.empty())
        return {XmlEncoding::Utf8, 0, {}};
    if (const auto known = encoding_named(name))
        return {*known, 0, {}};
    return {XmlEncoding::Utf8, 0, std::string(name)};
}

std::optional<std::size_t> find_utf8_fault(std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Most of a document is ASCII: eight bytes at a time while none is
        // a NUL or has its high bit set.
        constexpr std::uint64_t kOnes = 0x0101010101010101u;
        constexpr std::uint64_t kHighBits = 0x8080808080808080u;
        while (utf8.size() - i >= sizeof(std::uint64_t)) {
            std::uint64_t word;
            std::memcpy(&word, utf8.data() + i, sizeof word);
            const bool has_nul = ((word - kOnes) & ~word & kHighBits) != 0;
            if ((word & kHighBits) != 0 || has_nul)
                break;
            i += sizeof word;
        }
        if (i == utf8.size())
            break;
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        if (b == 0)
            return i;
        if (b < 0x80) {  // the common case, without the general decoder
            ++i;
            continue;
        }
        if (!next_code_point(utf8, i))
            return i;
    }
    return std::nullopt;
}

DecodedText decode_to_utf8(std::string_view body, XmlEncoding encoding) {
    switch (encoding) {
    case XmlEncoding::Utf8:
    case XmlEncoding::Utf8Bom: {
        DecodedText result;
        result.fault = find_utf8_fault(body);
        result.utf8 = body.substr(0, result.fault.value_or(body.size()));
        return result;
    }
    case XmlEncoding::Utf16LE:
        return decode_utf16(body, true);
    case XmlEncoding::Utf16BE:
        return decode_utf16(body, false);
    case XmlEncoding::Latin1:
    case XmlEncoding::Windows1252:
        return decode_single_byte(body, encoding);
    }
    return {};
}

std::string encode_from_utf8(std::string_view utf8, XmlEncoding encoding) {
    if (encoding == XmlEncoding::Utf8 || encoding == XmlEncoding::Utf8Bom)
        return std::string(utf8);
    std::string out;
    const bool utf16 = encoding == XmlEncoding::Utf16LE || encoding == XmlEncoding::Utf16BE;
    out.reserve(utf16 ? utf8.size() * 2 : utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = kReplacement;
        if (const auto decoded = next_code_point(utf8, i))
            c = *decoded;
        else
            ++i;  // never from the serializer; keep going rather than loop
        if (utf16) {
            append_utf16(out, c, encoding == XmlEncoding::Utf16LE);
            continue;
        }
        const std::optional<unsigned char> b =
            encoding == XmlEncoding::Latin1 ? (c <= 0xFF ? std::optional<unsigned char>(static_cast<unsigned char>(c))
                                                         : std::nullopt)
                                            : windows1252_byte(c);
        if (b)
            out += static_cast<char>(*b);
        else
            out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
    }
    return out;
}

TextPosition position_in_utf8(std::string_view utf8, std::size_t offset) {
    TextPosition position;
    const std::size_t end = offset < utf8.size() ? offset : utf8.size();
    for (std::size_t i = 0; i < end; ++i) {
        const char c = utf8[i];
        const bool line_end = c == '\n' || (c == '\r' && (i + 1 >= utf8.size() || utf8[i + 1] != '\n'));
        if (line_end) {
            ++position.line;
            position.column = 1;
        } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++position.column;
        }
    }
    return position;
}

} // namespace enlazor
