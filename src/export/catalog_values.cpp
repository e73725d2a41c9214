#include "export/catalog_values.h"

namespace enlazor {

std::vector<pugi::xml_node> catalog_elements(const XmlDocument& document, const char* section,
                                             const char* item) {
    return select_nodes(document.root(), {"document", section, item});
}

std::vector<pugi::xml_node> nested_elements(pugi::xml_node element, const char* list,
                                            const char* item) {
    return select_nodes(element, {list, item});
}

// Schools' documents sometimes lack a value the export reads (an element
// without its id, a teacher without a name). Such a value is taken as the
// empty text and the export goes on: the record is still written, so every
// element of a section keeps its own record and later look-ups stay aligned.
WideText attribute_wide(pugi::xml_node element, const char* name) {
    return trim(attribute_text(element, name).value_or(WideText{}));
}

Text8 attribute_value(pugi::xml_node element, const char* name) {
    return to_8bit(attribute_wide(element, name));
}

WideText first_child_wide(pugi::xml_node element) {
    return trim(first_child_text(element).value_or(WideText{}));
}

Text8 first_child_value(pugi::xml_node element) {
    return to_8bit(first_child_wide(element));
}

} // namespace enlazor
