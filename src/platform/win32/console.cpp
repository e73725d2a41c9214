#include "platform/console.h"

#include "platform/places.h"

#include <windows.h>
#include <shellapi.h>

namespace enlazor::platform {

// argv holds the arguments in the ANSI code page, which loses every letter
// outside it: the wide command line keeps them all.
std::vector<std::string> utf8_arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(utf8_from_path(std::filesystem::path(wide[i])));
    ::LocalFree(wide);
    return arguments;
}

// The console shows UTF-8 once its output code page says so; a stream
// redirected to a file or a pipe simply receives the UTF-8 bytes.
void prepare_utf8_console() {
    ::SetConsoleOutputCP(CP_UTF8);
}

} // namespace enlazor::platform
