// The private-profile (ini) write of hosted mode: the completion flag that
// Horalis reads once Enlazor's process has ended.
#pragma once

#include <filesystem>
#include <string_view>

namespace enlazor::platform {

// Sets `key` in `section` of the ini file at `path` to `value` in decimal,
// as the private-profile service does: the file is made if missing, the
// section added if missing, the key's value replaced or the key added, and
// every other line stays. Once it returns the value is on disk, and a reader
// never finds a half-written file. Throws Error "Unable to write to <path>"
// when the file cannot be written (a read-only file or folder, a folder
// that is gone).
void write_profile_int(const std::filesystem::path& path, std::string_view section, std::string_view key,
                       int value);

} // namespace enlazor::platform
