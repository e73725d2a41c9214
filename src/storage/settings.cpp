#include "storage/settings.h"

#include "storage/text.h"

#include <cstdlib>

namespace enlazor {

namespace {

std::filesystem::path wine_drive_c() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return std::filesystem::path(prefix) / "drive_c";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".wine" / "drive_c";
}

} // namespace

std::filesystem::path default_exchange_dir() {
    if (const char* dir = std::getenv("ENLAZOR_EXCHANGE_DIR"); dir && *dir)
        return dir;
    return wine_drive_c() / "HTEMP";
}

std::filesystem::path default_saga_dir() {
    return default_exchange_dir() / "saga";
}

Settings settings_from_environment() {
    return Settings{default_exchange_dir(), decimal_separator_from_environment()};
}

} // namespace enlazor
