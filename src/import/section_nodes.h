// Small helpers for writing the time-tables section into the loaded document.
#pragma once

#include "storage/text.h"
#include "storage/xml_document.h"

#include <pugixml.hpp>

namespace enlazor {

// Appends a new, empty element as the last child of `parent`.
inline pugi::xml_node append_element(pugi::xml_node parent, const char* name) {
    return parent.append_child(name);
}

// Sets an attribute after those already set, its value taken from an 8-bit
// table text. It goes through the document layer so that a control byte in
// a Horalis table can never make the saved document unreadable.
inline void set_text_attribute(pugi::xml_node element, const char* name, const Text8& value) {
    set_attribute_8bit(element, name, value);
}

} // namespace enlazor
