// A path as text and back, the one rule for every path a message, a report
// or an argument carries: UTF-8 on both systems. On Linux a path's bytes
// pass through as they are (a name that is not valid UTF-8 still names the
// same file); on Windows the wide name is converted, where a narrow path
// would go through the ANSI code page and lose letters.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace enlazor {

std::filesystem::path path_from_utf8(std::string_view utf8);
std::string utf8_from_path(const std::filesystem::path& path);

} // namespace enlazor
