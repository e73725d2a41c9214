// The process-wide settings the conversions depend on, passed as a value.
#pragma once

#include "platform/places.h"

#include <filesystem>

namespace enlazor {

struct Settings {
    // Where Horalis keeps its tables (the Windows program's C:\HTEMP).
    std::filesystem::path exchange_dir;
    // First character of the locale's decimal point.
    char decimal_separator = '.';
};

// Settings from the environment (exchange directory and decimal separator).
Settings settings_from_environment();

} // namespace enlazor
