// A table file held open with an OS lock that other processes see.
//
// A shared lock admits other shared ones, an exclusive lock admits nobody,
// and two table objects of this process conflict just as two processes do
// (on Linux flock() on the open file description, on Windows the share mode
// of the open handle, which Horalis's engine honours). The file stays open,
// and locked, until close() or destruction.
#pragma once

#include "platform/bulk_memory.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace enlazor {

enum class LockKind { Shared, Exclusive };

class LockedFile {
public:
    LockedFile() = default;
    ~LockedFile();
    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&& other) noexcept;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    // Opens an existing table file for reading and, where permitted, writing.
    // Throws the engine's "does not exist", "busy" or system error.
    static LockedFile open_existing(const std::filesystem::path& path, LockKind lock);
    // Creates a new file (none of that name may exist), locked exclusively.
    static LockedFile create_new(const std::filesystem::path& path);

    bool is_open() const { return handle_ != -1; }
    const std::filesystem::path& path() const { return path_; }

    // The whole file as it is now.
    platform::BulkBytes read_all() const;
    // Writes every byte at `offset`, or throws the engine's write error.
    void write_at(std::size_t offset, std::string_view bytes) const;
    void truncate(std::size_t size) const;
    // Flushes the file's data to the disk.
    void sync() const;
    // Releases the lock and the descriptor; nothing when not open.
    void close() noexcept;

private:
    // The system's part, one side for each system: the file's size now, and
    // one read or write at `offset` giving the count it moved (a read gives
    // 0 at the end of the file). Each throws the engine's error.
    std::size_t current_size() const;
    std::size_t read_some(std::size_t offset, char* into, std::size_t count) const;
    std::size_t write_some(std::size_t offset, const char* from, std::size_t count) const;

    std::intptr_t handle_ = -1;  // the system's open file; -1 while closed
    bool writable_ = false;
    std::filesystem::path path_;
};

// Deletes the table file at `path` unless some open file (of this process
// or another) holds it, which gives the engine's "busy" error. Returns the
// system's error when the file cannot be deleted for another reason.
std::error_code remove_unless_held(const std::filesystem::path& path);

// True when some other open file (of this process or another) holds the
// table, so it cannot be deleted or replaced now. Nothing to test gives false.
bool is_locked_by_others(const std::filesystem::path& path);

} // namespace enlazor
