// Places on Windows: Horalis's own exchange directory, C:\HTEMP, unless the
// environment names another one. Paths are wide text; UTF-8 is how the
// program's messages and arguments carry them.
#include "platform/places.h"

#include <cstdlib>

namespace enlazor {

std::filesystem::path default_exchange_dir() {
    if (const wchar_t* dir = ::_wgetenv(L"ENLAZOR_EXCHANGE_DIR"); dir && *dir)
        return std::filesystem::path(dir);
    return std::filesystem::path(L"C:\\HTEMP");
}

std::filesystem::path default_saga_dir() { return default_exchange_dir() / L"saga"; }

std::filesystem::path path_from_utf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8_from_path(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

} // namespace enlazor
