// Small helpers for writing the time-tables section into the loaded document.
#pragma once

#include "storage/text.h"

#include <pugixml.hpp>

namespace enlazor {

// Appends a new, empty element as the last child of `parent`.
inline pugi::xml_node append_element(pugi::xml_node parent, const char* name) {
    return parent.append_child(name);
}

// Appends an attribute after those already set, its value taken from an
// 8-bit table text (the document holds UTF-8).
inline void set_text_attribute(pugi::xml_node element, const char* name, const Text8& value) {
    element.append_attribute(name).set_value(utf8_from_8bit(value).c_str());
}

} // namespace enlazor
