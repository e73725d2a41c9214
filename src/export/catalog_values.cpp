#include "export/catalog_values.h"

#include <cstring>
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

// A value whose characters the tables' code page holds byte for byte goes
// straight from the document to the table, trimmed, without the round trip
// through wide text; the rest takes table_text, with its findings.
std::optional<Text8> exact_table_text(std::string_view utf8) {
    return exact_8bit_from_utf8(trim_view(utf8));
}

} // namespace

Text8 attribute_value(pugi::xml_node element, const char* name, ExportObserver& observer) {
    if (const pugi::xml_attribute attribute = element.attribute(name))
        if (std::optional<Text8> exact = exact_table_text(attribute.value()))
            return std::move(*exact);
    return table_text(attribute_wide(element, name, observer), element, name, observer);
}

std::optional<std::string_view> ascii_attribute_value(pugi::xml_node element, const char* name) {
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        return std::nullopt;
    const std::string_view value = trim_view(attribute.value());
    for (const char c : value)
        if (static_cast<unsigned char>(c) >= 0x80)
            return std::nullopt;
    return value;
}

WideText first_child_wide(pugi::xml_node element, ExportObserver& observer) {
    std::optional<WideText> text = first_child_text(element);
    if (!text)
        observer.value_missing(element, ExportObserver::kFirstChild);
    return trim(text.value_or(WideText{}));
}

Text8 first_child_value(pugi::xml_node element, ExportObserver& observer) {
    const pugi::xml_node child = first_child(element);
    // An element's text reads a carriage return as a line feed: such text
    // takes the general way.
    const bool has_value = child.type() != pugi::node_null && child.type() != pugi::node_element &&
                           child.type() != pugi::node_document;
    if (has_value && !std::strchr(child.value(), '\r'))
        if (std::optional<Text8> exact = exact_table_text(child.value()))
            return std::move(*exact);
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
