// Replacing a file's content so that a reader, or a crash, sees either the
// old content or the new one, never a half-written file.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace enlazor {

// Writes `bytes` to a temporary file beside `path`, flushes it to disk, gives
// it the permission bits (and, where allowed, the owner) of the file it
// replaces, renames it over `path` and flushes the folder. A new file gets
// 0644 less the umask. A symbolic link keeps pointing at its target, whose
// content is replaced.
//
// A file without any write permission bit is refused even for root, which
// could otherwise replace it: it was made read-only on purpose.
//
// Returns the system error of the first step that failed, or an empty code.
// On failure the temporary file is gone and `path` is exactly as it was.
std::error_code replace_file_atomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace enlazor
