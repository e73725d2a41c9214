#include "export/catalog_values.h"

#include "platform/code_page.h"

#include <optional>
#include <string_view>
#include <utility>

namespace enlazor {

std::vector<pugi::xml_node> catalog_elements(const XmlDocument& document, const char* section,
                                             const char* item) {
    return select_nodes(document.root(), {"document", section, item});
}

// Schools' documents sometimes lack a value the export reads (an element
// without its id, a teacher without a name). Such a value is taken as the
// empty text and the export goes on: the record is still written, so every
// element of a section keeps its own record and later look-ups stay aligned.
WideText attribute_wide(pugi::xml_node element, const char* name, ExportObserver& observer) {
    std::optional<WideText> value = attribute_text(element, name);
    if (!value)
        observer.value_missing(element, name);
    return trim(value.value_or(WideText{}));
}

namespace {

// Windows-1252 holds ASCII and U+00A0..U+00FF as bytes of the same number.
constexpr unsigned kLatin1CodePage = 1252;

// Text made only of those characters, as the tables' code page is that one,
// goes straight from the document's UTF-8 to the table's bytes, trimmed as
// `trim` trims: ids, codes, hours and the accents of Spanish names, without
// the trip through wide text and back. Nothing for any other text (it takes
// the general conversion, with its best fit and its findings), nor for a
// carriage return, which the document's text reads as a line feed.
std::optional<Text8> direct_table_text(std::string_view utf8) {
    static const bool latin1_tables = platform::system_code_page() == kLatin1CodePage;
    Text8 bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80 && byte != '\r') {
            bytes += static_cast<char>(byte);
            continue;
        }
        // C2 A0..C2 BF and C3 80..C3 BF are U+00A0..U+00FF.
        const bool latin1_lead = byte == 0xC2 || byte == 0xC3;
        if (!latin1_tables || !latin1_lead || i + 1 == utf8.size())
            return std::nullopt;
        const auto next = static_cast<unsigned char>(utf8[i + 1]);
        if ((next & 0xC0) != 0x80 || (byte == 0xC2 && next < 0xA0))
            return std::nullopt;
        bytes += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3F));
        ++i;
    }
    const auto blank = [](char byte) { return static_cast<unsigned char>(byte) <= 32; };
    std::size_t first = 0;
    std::size_t last = bytes.size();
    while (first < last && blank(bytes[first]))
        ++first;
    while (last > first && blank(bytes[last - 1]))
        --last;
    return bytes.substr(first, last - first);
}

} // namespace

Text8 attribute_value(pugi::xml_node element, const char* name, ExportObserver& observer) {
    if (const pugi::xml_attribute attribute = element.attribute(name))
        if (std::optional<Text8> direct = direct_table_text(attribute.value()))
            return std::move(*direct);
    return table_text(attribute_wide(element, name, observer), element, name, observer);
}

WideText first_child_wide(pugi::xml_node element, ExportObserver& observer) {
    std::optional<WideText> text = first_child_text(element);
    if (!text)
        observer.value_missing(element, ExportObserver::kFirstChild);
    return trim(text.value_or(WideText{}));
}

Text8 first_child_value(pugi::xml_node element, ExportObserver& observer) {
    const pugi::xml_node child = first_child(element);
    const bool has_value = child.type() != pugi::node_null && child.type() != pugi::node_element &&
                           child.type() != pugi::node_document;
    if (has_value)
        if (std::optional<Text8> direct = direct_table_text(child.value()))
            return std::move(*direct);
    return table_text(first_child_wide(element, observer), element, ExportObserver::kFirstChild,
                      observer);
}

Text8 table_text(const WideText& text, pugi::xml_node element, const char* value,
                 ExportObserver& observer) {
    Text8 converted = to_8bit(text);
    // The conversion keeps a text exactly when its result decodes back to it.
    if (to_wide(converted) != text)
        observer.text_changed(element, value, text, converted);
    return converted;
}

} // namespace enlazor
