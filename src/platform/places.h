// Where things are: the exchange directory Horalis shares with us, the file
// dialog's first folder, and text forms of paths for messages.
#pragma once

#include "base/path_text.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace enlazor {

// ENLAZOR_EXCHANGE_DIR when set; else Horalis's C:\HTEMP (on Linux, the C:
// drive of the Wine prefix in which Horalis runs: ${WINEPREFIX:-~/.wine}/drive_c/HTEMP).
std::filesystem::path default_exchange_dir();

// The dialog's initial folder, c:\htemp\saga, placed like the exchange directory.
std::filesystem::path default_saga_dir();

// Paths as text (path_from_utf8, utf8_from_path) follow base/path_text.h.

} // namespace enlazor
