// One direction at a time per exchange directory.
//
// Two conversions on the same exchange directory (two command-line runs, or
// the window and a script) would interleave their table rebuilds and reads.
// The first to start holds a system lock tied to the directory for its whole
// run (on Linux an exclusive flock() on the directory itself, on Windows a
// named semaphore); the second fails at once with a message saying why. Horalis
// sees nothing of it: no file is added to the directory, and the lock does
// not stand in the way of opening the tables inside it.
#pragma once

#include <cstdint>
#include <filesystem>

namespace enlazor {

class DirectionLock {
public:
    // Opens and locks `exchange_dir`. Throws Error when the directory does not
    // exist, is not a directory, cannot be opened, or is locked by another
    // direction. A file system that knows no locks (ENOLCK, EOPNOTSUPP) runs
    // unguarded rather than not at all.
    explicit DirectionLock(const std::filesystem::path& exchange_dir);
    ~DirectionLock();
    DirectionLock(const DirectionLock&) = delete;
    DirectionLock& operator=(const DirectionLock&) = delete;

    // Flushes the directory's entries to disk, so that the tables created and
    // deleted in it survive a power cut as surely as their contents do.
    // Throws Error when the disk reports a failure.
    void flush_directory() const;

private:
    std::filesystem::path directory_;
    std::intptr_t handle_ = -1;  // the system's lock object; -1 while none is held
};

} // namespace enlazor
