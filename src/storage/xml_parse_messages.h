// The Spanish words for what the XML parser can find wrong in a document.
// No text of the parser's own reaches a user: every fault it can report has
// its sentence here.
#pragma once

#include <expat.h>

#include <string>
#include <string_view>

namespace enlazor {

// What is wrong, as the middle of "El archivo X no es un documento XML
// válido: ... (línea L, columna C)". `name` is the element, entity or prefix
// involved when the loader could tell which, else empty; `open_element` the
// element still open where the fault was met, for a closing tag that does
// not match it.
std::string describe_parse_fault(XML_Error code, std::string_view name, std::string_view open_element);

} // namespace enlazor
