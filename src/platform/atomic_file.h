// Replacing a file's content so that a reader, or a crash, sees either the
// old content or the new one, never a half-written file.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace enlazor {

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// puts it in the place of `path`, keeping what the system records of the
// file it replaces. On Linux: the permission bits (and, where allowed, the
// owner), a rename, then the folder flushed; a new file gets 0644 less the
// umask, and a symbolic link keeps pointing at its target, whose content is
// replaced. On Windows: ReplaceFileW, which keeps the attributes and the
// security of the document (under Wine a rename, then the attributes set
// again); a new file is moved in with write-through.
//
// A read-only file (no write permission bit, or the read-only attribute) is
// refused even for an administrator, who could otherwise replace it: it was
// made read-only on purpose.
//
// Returns the system error of the first step that failed, or an empty code.
// On failure the temporary file is gone and `path` is exactly as it was.
std::error_code replace_file_atomically(const std::filesystem::path& path, std::string_view bytes);

// Takes the new content in pieces, in order.
using ContentWriter = std::function<void(std::string_view bytes)>;

// The same save with content that is produced while it is written, so that
// a large document never has to be held whole in memory. `produce` is called
// once, after the checks and the creation of the temporary file, and hands
// every piece to the writer it is given; each piece goes straight to the
// file, so it should come in sizeable blocks. When a write fails, the later
// pieces are dropped and the error is returned once `produce` has returned.
// When the save fails before the temporary file exists, `produce` is not
// called at all. An exception from `produce` leaves through this function
// with the temporary file gone and `path` exactly as it was.
std::error_code replace_file_atomically(const std::filesystem::path& path,
                                        const std::function<void(const ContentWriter&)>& produce);

} // namespace enlazor
