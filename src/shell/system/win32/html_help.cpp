// HTML Help on Windows: HtmlHelpA from the system's HHCtrl.ocx, loaded once
// at start and unloaded when the last copy of the entry point goes.
#include "shell/system/html_help.h"

#include "base/unicode.h"
#include "platform/code_page.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace enlazor::help {

namespace {

using HtmlHelpAFunction = HWND(WINAPI*)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);

// The bridge builds the file from the executable's folder, and paths give
// their text as UTF-8 here; HtmlHelpA reads the system code page.
Text8 system_text(const std::string& utf8) {
    return platform::encode_system_code_page(wide_from_utf8(utf8));
}

} // namespace

HtmlHelpEntryPoint load_html_help(const std::string& provider) {
    const std::string library = provider.empty() ? std::string("HHCtrl.ocx") : provider;
    HMODULE module = LoadLibraryA(library.c_str());
    if (!module)
        return {};
    const auto entry = reinterpret_cast<HtmlHelpAFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
    if (!entry) {
        FreeLibrary(module);
        return {};
    }
    const std::shared_ptr<std::remove_pointer_t<HMODULE>> loaded(module, FreeLibrary);
    return [loaded, entry](std::uintptr_t owner, const std::string& file, unsigned command,
                           const HtmlHelpData& data) {
        const Text8 file_text = system_text(file);
        Text8 keyword;
        DWORD_PTR value = 0;
        if (const std::string* text = std::get_if<std::string>(&data)) {
            keyword = system_text(*text);
            value = reinterpret_cast<DWORD_PTR>(keyword.c_str());
        } else {
            value = std::get<std::uintptr_t>(data);
        }
        entry(reinterpret_cast<HWND>(owner), file_text.empty() ? nullptr : file_text.c_str(), command, value);
    };
}

} // namespace enlazor::help
