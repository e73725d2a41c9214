// The byte forms of a SAGA document: which encoding a file uses, and the
// transcoding between that form and the UTF-8 that the parser works on.
//
// The parser only ever sees UTF-8, so that one code path reads every file and
// error positions mean the same thing whatever the file's encoding. A save
// turns the UTF-8 back into the bytes the file was read in.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace enlazor {

enum class XmlEncoding;

// What the first bytes of a file say about its encoding.
struct EncodingGuess {
    XmlEncoding encoding;
    std::size_t bom_size = 0;   // bytes of byte-order mark before the text
    std::string unsupported;    // a declared encoding we cannot read, else empty
};

// Byte-order mark first, then the UTF-16 pattern of "<", then the encoding
// named in the XML declaration; UTF-8 when nothing says otherwise.
EncodingGuess guess_xml_encoding(std::string_view bytes);

// The name a file's XML declaration gives its encoding, read from text in an
// ASCII-compatible form (the file's own bytes, or its UTF-8), or empty.
std::string_view declared_encoding(std::string_view text);

// Whether a file whose bytes are in `actual` (known from its byte-order mark
// or its first bytes) may declare the encoding `declared`. A UTF-8 mark with
// a declaration of ISO-8859-1, say, is a contradiction: which of the two is
// wrong cannot be told, so the file is refused rather than misread.
bool declared_encoding_fits(std::string_view declared, XmlEncoding actual);

// A document turned into UTF-8. When the input holds a sequence that is not
// valid in its encoding, or a NUL character (which XML never allows),
// `fault` is the offset in `utf8` where it was met; `utf8` then stops there.
struct DecodedText {
    std::string utf8;
    std::optional<std::size_t> fault;
};

// Decodes text without its byte-order mark. UTF-8 input is only checked.
DecodedText decode_to_utf8(std::string_view body, XmlEncoding encoding);

// The offset of the first invalid UTF-8 sequence or NUL byte, if any.
std::optional<std::size_t> find_utf8_fault(std::string_view utf8);

// Encodes valid UTF-8 (what the serializer writes) back into `encoding`.
// The single-byte encodings write a character they lack as a numeric
// character reference "&#N;", which holds in text and attribute values alike.
std::string encode_from_utf8(std::string_view utf8, XmlEncoding encoding);

// 1-based line and column of a byte offset in UTF-8 text. CR LF, CR and LF
// each end a line; columns count characters, not bytes.
struct TextPosition {
    std::size_t line = 1;
    std::size_t column = 1;
};
TextPosition position_in_utf8(std::string_view utf8, std::size_t offset);

} // namespace enlazor
