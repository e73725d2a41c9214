// The process-wide settings the conversions depend on, passed as a value.
#pragma once

#include "platform/places.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace enlazor {

struct Settings {
    // Where Horalis keeps its tables (the Windows program's C:\HTEMP).
    std::filesystem::path exchange_dir;
    // First character of the locale's decimal point.
    char decimal_separator = '.';
};

// Settings from the environment (exchange directory and decimal separator).
Settings settings_from_environment();

// The option that points enlazor-cli and both "Comprobar datos" windows at
// another exchange directory: "--exchange-dir DIR" or "--exchange-dir=DIR",
// in UTF-8. Returns nothing when `arguments[i]` is some other argument;
// else the directory, with `i` left on the last argument it used. Throws
// Error with a short Spanish message, lower case and without a full stop
// (each program words it its own way), when no directory follows or the one
// given is empty: an empty directory would be the current folder, which is
// never where Horalis keeps its tables.
std::optional<std::filesystem::path> exchange_dir_option(const std::vector<std::string>& arguments,
                                                         std::size_t& i);

} // namespace enlazor
