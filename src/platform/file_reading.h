// Reading a whole document file.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace enlazor::platform {

// Reads every byte of the regular file at `path` into `bytes`. A folder
// gives errc::is_a_directory, any other kind of file (a pipe, a device)
// errc::invalid_argument without waiting on it; other failures give the
// system's error, with `bytes` then unspecified.
std::error_code read_regular_file(const std::filesystem::path& path, std::string& bytes);

} // namespace enlazor::platform
