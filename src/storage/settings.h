// The process-wide settings the conversions depend on, passed as a value.
#pragma once

#include <filesystem>

namespace enlazor {

struct Settings {
    // Where Horalis keeps its tables (the Windows program's C:\HTEMP).
    std::filesystem::path exchange_dir;
    // First character of the locale's decimal point.
    char decimal_separator = '.';
};

// ENLAZOR_EXCHANGE_DIR when set, else the C: drive of the Wine prefix in which
// Horalis runs: ${WINEPREFIX:-$HOME/.wine}/drive_c/HTEMP.
std::filesystem::path default_exchange_dir();

// The dialog's initial folder, c:\htemp\saga, mapped like the exchange directory.
std::filesystem::path default_saga_dir();

// Settings from the environment (exchange directory and decimal separator).
Settings settings_from_environment();

} // namespace enlazor
