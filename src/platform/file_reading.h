// Reading a whole document file.
#pragma once

#include "platform/bulk_memory.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace enlazor::platform {

// Reads every byte of the regular file at `path` into `bytes`. A folder
// gives errc::is_a_directory, any other kind of file (a pipe, a device)
// errc::invalid_argument without waiting on it; other failures give the
// system's error, with `bytes` then unspecified.
std::error_code read_regular_file(const std::filesystem::path& path, std::string& bytes);
// The same into a document's memory.
std::error_code read_regular_file(const std::filesystem::path& path, BulkBytes& bytes);

// The reading loop of both systems: the file's bytes go straight into
// `bytes`, sized from the length the file had when opened (one more byte, so
// that the end is seen without growing it), and it grows only for a file
// that grew meanwhile. `read_some(into, room, got)` reads at most `room`
// bytes; `got` of 0 is the end.
template <typename Bytes, typename ReadSome>
std::error_code read_to_end(std::size_t expected_size, Bytes& bytes, ReadSome read_some) {
    bytes.resize(expected_size + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        std::size_t got = 0;
        if (const std::error_code error = read_some(bytes.data() + filled, bytes.size() - filled, got))
            return error;
        if (got == 0) {
            bytes.resize(filled);
            return {};
        }
        filled += got;
    }
}

} // namespace enlazor::platform
