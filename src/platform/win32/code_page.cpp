// The system code page on Windows: the ANSI code page of the user's regional
// settings, converted by the system itself with its default options, so the
// best-fit substitutes and the default character are Windows' own.
#include "platform/code_page.h"

#include <windows.h>

#include <climits>

namespace enlazor::platform {

std::string encode_system_code_page(const std::u16string& text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string result(static_cast<std::size_t>(needed), '\0');
    const int written = ::WideCharToMultiByte(CP_ACP, 0, wide, length, result.data(), needed, nullptr, nullptr);
    if (written <= 0)
        return {};
    result.resize(static_cast<std::size_t>(written));
    return result;
}

std::u16string decode_system_code_page(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int written = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    if (written <= 0)
        return {};
    return std::u16string(wide.begin(), wide.begin() + written);
}

unsigned system_code_page() { return ::GetACP(); }

// MultiByteToWideChar with no flags: an undefined byte becomes what Windows
// gives it by default. A code page Windows does not have fails at once.
std::optional<std::u16string> decode_code_page(unsigned code_page, std::string_view text) {
    if (!::IsValidCodePage(code_page))
        return std::nullopt;
    if (text.empty())
        return std::u16string();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(code_page, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int written = ::MultiByteToWideChar(code_page, 0, text.data(), length, wide.data(), needed);
    if (written <= 0)
        return std::nullopt;
    return std::u16string(wide.begin(), wide.begin() + written);
}

// The sort key of the user's locale with case ignored: two texts have equal
// keys exactly when CompareStringA with NORM_IGNORECASE calls them equal.
std::string case_insensitive_key(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX)
        return text;
    const int length = static_cast<int>(text.size());
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int needed = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return "\x01" + text;  // no key: then only the same bytes match
    std::string key(static_cast<std::size_t>(needed), '\0');
    const int written = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), length, key.data(), needed);
    if (written <= 0)
        return "\x01" + text;
    key.resize(static_cast<std::size_t>(written));
    return "\x02" + key;
}

} // namespace enlazor::platform
