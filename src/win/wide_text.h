// The program's texts, kept in UTF-8, as the wide text the W functions of
// Windows take, and back.
#pragma once

#include "storage/text.h"

#include <string>
#include <string_view>

namespace enlazor::win {

inline std::wstring wide(std::string_view utf8) {
    const WideText text = wide_from_utf8(utf8);
    return std::wstring(text.begin(), text.end());
}

// And back: what a control holds, as the program's UTF-8.
inline std::string utf8(std::wstring_view text) {
    return utf8_from_wide(WideText(text.begin(), text.end()));
}

} // namespace enlazor::win
