// The program's texts, kept in UTF-8, as the wide text the W functions of
// Windows take.
#pragma once

#include "storage/text.h"

#include <string>
#include <string_view>

namespace enlazor::win {

inline std::wstring wide(std::string_view utf8) {
    const WideText text = wide_from_utf8(utf8);
    return std::wstring(text.begin(), text.end());
}

} // namespace enlazor::win
