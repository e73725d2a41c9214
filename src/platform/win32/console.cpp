#include "platform/console.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

namespace enlazor::platform {

namespace {

// UTF-16 to UTF-8 as Windows converts it: a lone surrogate, which a command
// line may hold, becomes U+FFFD rather than an error.
std::string utf8_of(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(size) - 1, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

UINT console_code_page_before = 0;

void restore_console_code_page() { ::SetConsoleOutputCP(console_code_page_before); }

} // namespace

// argv holds the arguments in the ANSI code page, which loses every letter
// outside it: the wide command line keeps them all.
std::vector<std::string> utf8_arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return argc < 1 ? std::vector<std::string>{} : std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(utf8_of(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

// The console shows UTF-8 once its output code page says so; a stream
// redirected to a file or a pipe simply receives the UTF-8 bytes. The code
// page belongs to the console, not to this program: the one it had comes
// back when the program ends, for whatever runs in that console next.
void prepare_utf8_console() {
    console_code_page_before = ::GetConsoleOutputCP();
    if (console_code_page_before == 0 || console_code_page_before == CP_UTF8)
        return;  // no console, or one already in UTF-8
    if (::SetConsoleOutputCP(CP_UTF8))
        std::atexit(restore_console_code_page);
}

std::string printed_text(std::string_view text) {
    std::string printed;
    printed.reserve(text.size() + text.size() / 32);
    for (const char c : text) {
        if (c == '\n')
            printed += '\r';
        printed += c;
    }
    return printed;
}

} // namespace enlazor::platform
