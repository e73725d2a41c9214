// The names the program gives elements and attributes it makes.
// Private to the XML document's own files.
#pragma once

#include "base/error.h"

#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace enlazor::xml_tree {

// A name the program gives an element or attribute. Only a rough check:
// enough that a save can never write markup that does not parse again.
inline bool is_usable_name(const char* name) {
    if (!name || !*name || std::strchr("-.0123456789", *name))
        return false;
    // Checked for every attribute the import sets, a million at a district's scale.
    static constexpr std::array<bool, 256> kRefused = [] {
        std::array<bool, 256> refused{};
        for (int c = 0; c <= ' '; ++c)
            refused[static_cast<std::size_t>(c)] = true;
        for (const char c : std::string_view("<>&\"'=/!?;,()[]{}#%$*+@^`|~\\"))
            refused[static_cast<unsigned char>(c)] = true;
        return refused;
    }();
    for (const char* c = name; *c; ++c)
        if (kRefused[static_cast<unsigned char>(*c)])
            return false;
    return true;
}

inline Error unusable_name(const char* name) {
    return Error(std::string("El nombre \"") + (name ? name : "") + "\" no sirve para un elemento o atributo XML");
}

} // namespace enlazor::xml_tree
