// What the XML document's loading, saving and reading share about its tree:
// where created elements wait, and which text forms no node for a reader.
// Private to the document's own files.
#pragma once

#include <pugixml.hpp>

#include <cstring>

namespace enlazor::xml_tree {

// Where created elements wait until they are appended. "#" cannot start an
// XML name, so no element read from a file has this name.
inline constexpr const char* kWaitingRoomName = "#created";

inline bool is_waiting_room(pugi::xml_node node) {
    return node.type() == pugi::node_element && std::strcmp(node.name(), kWaitingRoomName) == 0;
}

inline bool is_xml_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Text made only of XML whitespace forms no node for the reading helpers.
inline bool is_blank(const char* text) {
    for (const char* c = text; *c; ++c)
        if (!is_xml_space(*c))
            return false;
    return true;
}

inline bool is_blank_text(pugi::xml_node node) {
    return node.type() == pugi::node_pcdata && is_blank(node.value());
}

} // namespace enlazor::xml_tree
