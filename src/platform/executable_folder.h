// The folder of the running executable, as the system reports it: where the
// help file lies and where hosted mode leaves its ini file.
#pragma once

#include <filesystem>

namespace enlazor {

// The folder of the running executable (on Linux /proc/self/exe; on Windows
// the module file name); the working folder when that cannot be read.
std::filesystem::path executable_folder();

} // namespace enlazor
