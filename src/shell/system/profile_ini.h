// The completion flag that Horalis reads: one integer in an ini file beside
// the executable. Here the ini text as the Windows private-profile service
// edits it; shell/system/profile.h writes the file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace enlazor {

// Returns `content` with `key` in `section` set to `value`: section and key
// matched ignoring case, the value replaced in place, a missing key added at
// the end of its section, a missing section added at the end of the text.
// Every other line stays byte for byte; new lines take the text's line
// ending (CRLF for a new file, as Windows programs write it).
std::string set_profile_value(std::string_view content, std::string_view section,
                              std::string_view key, std::string_view value);

// The value of `key` in `section`, or empty when absent (tests and the host).
std::string read_profile_value(std::string_view content, std::string_view section,
                               std::string_view key);

// "Horalis.ini" in the folder of the running executable.
std::filesystem::path completion_ini_path();

} // namespace enlazor
