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

} // namespace enlazor
