// How the check names an element of the SAGA document in its report.
#pragma once

#include "check/check_report.h"

#include <pugixml.hpp>

#include <string>

namespace enlazor {

// The element's path, its position among the elements of its kind in its
// list, its id and its name (the `name` attribute, or the first child's text
// for teachers and locations, which carry their name as content).
FindingPlace element_place(pugi::xml_node element);

// "Asignatura nº 3 (id «SB-A101», «Lengua castellana»)"; an assigned subject
// or teacher also names its group ("del grupo «GR-1»"), an assigned teacher
// its assigned subject.
std::string describe_element(const FindingPlace& place, pugi::xml_node element);

// The same, as named inside a sentence: "asignatura nº 3 (...)".
std::string mention_element(pugi::xml_node element);

// The text in Spanish quotes, «text».
std::string quoted(const std::string& utf8);

} // namespace enlazor
