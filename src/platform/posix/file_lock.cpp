#include "platform/file_lock.h"

#include "base/table_messages.h"

#include <cerrno>
#include <optional>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace enlazor {

namespace {

int fd_of(std::intptr_t handle) { return static_cast<int>(handle); }

// A quota reached is a full disk to the person at the window.
int write_error(int error_number) { return error_number == EDQUOT ? ENOSPC : error_number; }

int open_retrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do
        fd = ::open(path, flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool try_lock(int fd, LockKind kind, int& error_number) {
    const int operation = (kind == LockKind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int result;
    do
        result = ::flock(fd, operation);
    while (result < 0 && errno == EINTR);
    error_number = result < 0 ? errno : 0;
    return result == 0;
}

} // namespace

LockedFile LockedFile::open_existing(const std::filesystem::path& path, LockKind lock) {
    LockedFile file;
    file.path_ = path;
    file.handle_ = open_retrying(path.c_str(), O_RDWR | O_NONBLOCK);
    file.writable_ = fd_of(file.handle_) >= 0;
    if (fd_of(file.handle_) < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        file.handle_ = open_retrying(path.c_str(), O_RDONLY | O_NONBLOCK);  // reading still works
    if (fd_of(file.handle_) < 0) {
        if (errno == ENOENT || errno == EISDIR || errno == ENOTDIR)
            throw dbf_messages::table_missing(path);
        throw dbf_messages::cannot_open(path, errno);
    }
    struct stat status {};
    if (::fstat(fd_of(file.handle_), &status) != 0 || !S_ISREG(status.st_mode))
        throw dbf_messages::table_missing(path);
    int error_number = 0;
    if (!try_lock(fd_of(file.handle_), lock, error_number)) {
        if (error_number == EWOULDBLOCK)
            throw dbf_messages::table_busy(path);
        throw dbf_messages::cannot_lock(path, error_number);
    }
    return file;
}

LockedFile LockedFile::create_new(const std::filesystem::path& path) {
    LockedFile file;
    file.path_ = path;
    file.handle_ = open_retrying(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
    file.writable_ = true;
    if (fd_of(file.handle_) < 0)
        throw dbf_messages::cannot_create(path, errno);
    int error_number = 0;
    if (!try_lock(fd_of(file.handle_), LockKind::Exclusive, error_number)) {
        if (error_number == EWOULDBLOCK)  // opened and locked by another the moment it was made
            throw dbf_messages::table_busy(path);
        // An empty file left behind would read as a damaged table.
        file.close();
        ::unlink(path.c_str());
        throw dbf_messages::cannot_lock(path, error_number);
    }
    return file;
}



std::size_t LockedFile::current_size() const {
    struct stat status {};
    if (::fstat(fd_of(handle_), &status) != 0)
        throw dbf_messages::cannot_read(path_, errno);
    return static_cast<std::size_t>(status.st_size);
}

std::size_t LockedFile::read_some(std::size_t offset, char* into, std::size_t count) const {
    for (;;) {
        const ssize_t got = ::pread(fd_of(handle_), into, count, static_cast<off_t>(offset));
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            throw dbf_messages::cannot_read(path_, errno);
    }
}

std::size_t LockedFile::write_some(std::size_t offset, const char* from, std::size_t count) const {
    for (;;) {
        const ssize_t written = ::pwrite(fd_of(handle_), from, count, static_cast<off_t>(offset));
        if (written >= 0)
            return static_cast<std::size_t>(written);
        if (errno != EINTR)
            throw dbf_messages::cannot_write(path_, write_error(errno));
    }
}

void LockedFile::truncate(std::size_t size) const {
    if (!writable_)
        throw dbf_messages::cannot_write(path_, EACCES);
    int result;
    do
        result = ::ftruncate(fd_of(handle_), static_cast<off_t>(size));
    while (result < 0 && errno == EINTR);
    if (result < 0)
        throw dbf_messages::cannot_write(path_, write_error(errno));
}

void LockedFile::sync() const {
    if (::fsync(fd_of(handle_)) != 0 && errno != EINVAL && errno != EROFS)
        throw dbf_messages::cannot_write(path_, write_error(errno));
}

void LockedFile::close() noexcept {
    if (handle_ >= 0) {
        ::close(fd_of(handle_));  // releases the flock with the last descriptor
        handle_ = -1;
    }
}

// Unlinking a file that is open elsewhere succeeds on Linux, so the holder
// is tested first by taking the exclusive lock, and kept while unlinking.
std::error_code remove_unless_held(const std::filesystem::path& path) {
    std::optional<LockedFile> held;
    try {
        held.emplace(LockedFile::open_existing(path, LockKind::Exclusive));
    } catch (const Error&) {
        std::error_code ignored;
        if (!std::filesystem::exists(path, ignored))
            return {};  // gone meanwhile: nothing left to remove
        throw;
    }
    std::error_code error;
    std::filesystem::remove(path, error);
    return error;
}

bool is_locked_by_others(const std::filesystem::path& path) {
    const int fd = open_retrying(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int error_number = 0;
    const bool free = try_lock(fd, LockKind::Exclusive, error_number);
    ::close(fd);
    return !free && error_number == EWOULDBLOCK;
}

} // namespace enlazor
