// Preloaded (LD_PRELOAD) into a program under test, it follows which files
// the program changed and which of those it flushed to disk, so a test can
// tell whether "Proceso finalizado" came with everything on disk or only in
// the page cache. At exit it writes to $ENLAZOR_SYNC_LOG one line per path:
//
//   written <path>        a file the program created or wrote to
//   unsynced-file <path>  a file changed since its last fsync/fdatasync
//   unsynced-dir <path>   a directory whose entries changed (a file created,
//                         renamed or deleted in it) since its last fsync
//
// Paths are as the program named them, made absolute against the working
// directory; that is enough for programs that are given absolute paths.
//
// It follows every call of the C library that writes to, truncates,
// creates, renames or removes a file. A call that could change a followed
// file behind its back and that it does not follow (a shared writable
// mapping, a splice into it) ends the program with a message on standard
// error and SIGABRT: a save moved onto such a call fails its test loudly
// instead of passing unchecked.
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>

namespace {

struct Tracker {
    std::map<int, std::string> descriptors;  // open descriptors we follow, by path
    std::set<std::string> written, dirty_files, dirty_dirs;
};

Tracker& tracker() {
    static Tracker* instance = new Tracker;  // never destroyed: used until the very end
    return *instance;
}

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

std::string parent_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string absolute(int directory_fd, const char* path) {
    if (path[0] == '/')
        return path;
    if (directory_fd != AT_FDCWD) {
        const auto found = tracker().descriptors.find(directory_fd);
        return (found == tracker().descriptors.end() ? std::string("?") : found->second) + "/" + path;
    }
    char cwd[4096];
    return std::string(::getcwd(cwd, sizeof cwd) ? cwd : "?") + "/" + path;
}

void changed_file(const std::string& path) {
    tracker().written.insert(path);
    tracker().dirty_files.insert(path);
}

void changed_descriptor(int fd) {
    const auto found = tracker().descriptors.find(fd);
    if (found != tracker().descriptors.end())
        changed_file(found->second);
}

// A call this library cannot follow, on a file it follows: the test must
// not pass on what it did not see.
void unfollowed(const char* call, int fd) {
    const auto found = tracker().descriptors.find(fd);
    if (found == tracker().descriptors.end())
        return;
    ::fprintf(stderr, "sync_tracker: %s on %s, which it does not follow\n", call, found->second.c_str());
    ::abort();
}

// A file made without a name (O_TMPFILE) is followed under a name of its
// own until linkat() gives it one in its folder.
std::string unnamed(int fd) { return "(unnamed " + std::to_string(fd) + ")"; }

// After an open: follow the descriptor, and note a new file or a truncation.
int opened(int fd, const std::string& path, int flags, bool existed) {
    if (fd < 0)
        return fd;
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        tracker().descriptors[fd] = unnamed(fd);
        changed_file(unnamed(fd));
        return fd;
    }
    tracker().descriptors[fd] = path;
    if ((flags & O_CREAT) && !existed) {
        changed_file(path);
        tracker().dirty_dirs.insert(parent_of(path));
    } else if ((flags & O_TRUNC) && (flags & O_ACCMODE) != O_RDONLY) {
        changed_file(path);
    }
    return fd;
}

int open_at(const char* function, int directory_fd, const char* path, int flags, mode_t mode) {
    const std::string full = absolute(directory_fd, path);
    const bool existed = ::faccessat(directory_fd, path, F_OK, 0) == 0;
    using Open = int (*)(int, const char*, int, ...);
    return opened(real<Open>(function)(directory_fd, path, flags, mode), full, flags, existed);
}

int open_path(const char* function, const char* path, int flags, mode_t mode) {
    const std::string full = absolute(AT_FDCWD, path);
    const bool existed = ::access(path, F_OK) == 0;
    using Open = int (*)(const char*, int, ...);
    return opened(real<Open>(function)(path, flags, mode), full, flags, existed);
}

mode_t mode_argument(int flags, va_list arguments) {
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

int made_temporary(int fd, const char* path) {
    if (fd >= 0) {
        const std::string full = absolute(AT_FDCWD, path);
        tracker().descriptors[fd] = full;
        changed_file(full);
        tracker().dirty_dirs.insert(parent_of(full));
    }
    return fd;
}

void moved(const std::string& from, const std::string& to) {
    if (tracker().dirty_files.erase(from))
        tracker().dirty_files.insert(to);
    if (tracker().written.count(from))
        tracker().written.insert(to);
    tracker().dirty_dirs.insert(parent_of(from));
    tracker().dirty_dirs.insert(parent_of(to));
}

void removed(const std::string& path) {
    tracker().dirty_files.erase(path);
    tracker().dirty_dirs.insert(parent_of(path));
}

void synced(int fd) {
    const auto found = tracker().descriptors.find(fd);
    if (found == tracker().descriptors.end())
        return;
    tracker().dirty_files.erase(found->second);
    tracker().dirty_dirs.erase(found->second);
}

__attribute__((destructor)) void write_report() {
    const char* log = ::getenv("ENLAZOR_SYNC_LOG");
    if (!log)
        return;
    FILE* out = ::fopen(log, "w");
    if (!out)
        return;
    for (const std::string& path : tracker().written)
        ::fprintf(out, "written %s\n", path.c_str());
    for (const std::string& path : tracker().dirty_files)
        ::fprintf(out, "unsynced-file %s\n", path.c_str());
    for (const std::string& path : tracker().dirty_dirs)
        ::fprintf(out, "unsynced-dir %s\n", path.c_str());
    ::fclose(out);
}

} // namespace

extern "C" {

int __open_2(const char* path, int flags);
int __open64_2(const char* path, int flags);
int __openat_2(int directory_fd, const char* path, int flags);
int __openat64_2(int directory_fd, const char* path, int flags);

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_argument(flags, arguments);
    va_end(arguments);
    return open_path("open", path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_argument(flags, arguments);
    va_end(arguments);
    return open_path("open64", path, flags, mode);
}

int __open_2(const char* path, int flags) { return open_path("open", path, flags, 0); }
int __open64_2(const char* path, int flags) { return open_path("open64", path, flags, 0); }

int openat(int directory_fd, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_argument(flags, arguments);
    va_end(arguments);
    return open_at("openat", directory_fd, path, flags, mode);
}

int openat64(int directory_fd, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_argument(flags, arguments);
    va_end(arguments);
    return open_at("openat64", directory_fd, path, flags, mode);
}

int __openat_2(int directory_fd, const char* path, int flags) {
    return open_at("openat", directory_fd, path, flags, 0);
}
int __openat64_2(int directory_fd, const char* path, int flags) {
    return open_at("openat64", directory_fd, path, flags, 0);
}

int creat(const char* path, mode_t mode) { return open_path("open", path, O_CREAT | O_WRONLY | O_TRUNC, mode); }
int creat64(const char* path, mode_t mode) {
    return open_path("open64", path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}

int mkstemp(char* path_template) {
    return made_temporary(real<int (*)(char*)>("mkstemp")(path_template), path_template);
}
int mkstemp64(char* path_template) {
    return made_temporary(real<int (*)(char*)>("mkstemp64")(path_template), path_template);
}
int mkostemp(char* path_template, int flags) {
    return made_temporary(real<int (*)(char*, int)>("mkostemp")(path_template, flags), path_template);
}
int mkostemp64(char* path_template, int flags) {
    return made_temporary(real<int (*)(char*, int)>("mkostemp64")(path_template, flags), path_template);
}

ssize_t write(int fd, const void* bytes, size_t count) {
    changed_descriptor(fd);
    return real<ssize_t (*)(int, const void*, size_t)>("write")(fd, bytes, count);
}

ssize_t pwrite(int fd, const void* bytes, size_t count, off_t offset) {
    changed_descriptor(fd);
    return real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite")(fd, bytes, count, offset);
}

ssize_t pwrite64(int fd, const void* bytes, size_t count, off64_t offset) {
    changed_descriptor(fd);
    return real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64")(fd, bytes, count, offset);
}

ssize_t writev(int fd, const struct iovec* parts, int count) {
    changed_descriptor(fd);
    return real<ssize_t (*)(int, const struct iovec*, int)>("writev")(fd, parts, count);
}

ssize_t pwritev(int fd, const struct iovec* parts, int count, off_t offset) {
    changed_descriptor(fd);
    return real<ssize_t (*)(int, const struct iovec*, int, off_t)>("pwritev")(fd, parts, count, offset);
}

ssize_t pwritev64(int fd, const struct iovec* parts, int count, off64_t offset) {
    changed_descriptor(fd);
    return real<ssize_t (*)(int, const struct iovec*, int, off64_t)>("pwritev64")(fd, parts, count, offset);
}

// RWF_DSYNC and RWF_SYNC write through to the disk: what they wrote is no
// change left in the page cache.
ssize_t pwritev2(int fd, const struct iovec* parts, int count, off_t offset, int flags) {
    if (!(flags & (RWF_DSYNC | RWF_SYNC)))
        changed_descriptor(fd);
    return real<ssize_t (*)(int, const struct iovec*, int, off_t, int)>("pwritev2")(fd, parts, count, offset,
                                                                                   flags);
}

ssize_t pwritev64v2(int fd, const struct iovec* parts, int count, off64_t offset, int flags) {
    if (!(flags & (RWF_DSYNC | RWF_SYNC)))
        changed_descriptor(fd);
    return real<ssize_t (*)(int, const struct iovec*, int, off64_t, int)>("pwritev64v2")(fd, parts, count,
                                                                                        offset, flags);
}

ssize_t copy_file_range(int from_fd, off64_t* from_offset, int to_fd, off64_t* to_offset, size_t count,
                        unsigned int flags) {
    changed_descriptor(to_fd);
    return real<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned int)>("copy_file_range")(
        from_fd, from_offset, to_fd, to_offset, count, flags);
}

ssize_t sendfile(int to_fd, int from_fd, off_t* offset, size_t count) {
    changed_descriptor(to_fd);
    return real<ssize_t (*)(int, int, off_t*, size_t)>("sendfile")(to_fd, from_fd, offset, count);
}

ssize_t sendfile64(int to_fd, int from_fd, off64_t* offset, size_t count) {
    changed_descriptor(to_fd);
    return real<ssize_t (*)(int, int, off64_t*, size_t)>("sendfile64")(to_fd, from_fd, offset, count);
}

int fallocate(int fd, int mode, off_t offset, off_t length) {
    changed_descriptor(fd);
    return real<int (*)(int, int, off_t, off_t)>("fallocate")(fd, mode, offset, length);
}

int fallocate64(int fd, int mode, off64_t offset, off64_t length) {
    changed_descriptor(fd);
    return real<int (*)(int, int, off64_t, off64_t)>("fallocate64")(fd, mode, offset, length);
}

int posix_fallocate(int fd, off_t offset, off_t length) {
    changed_descriptor(fd);
    return real<int (*)(int, off_t, off_t)>("posix_fallocate")(fd, offset, length);
}

int posix_fallocate64(int fd, off64_t offset, off64_t length) {
    changed_descriptor(fd);
    return real<int (*)(int, off64_t, off64_t)>("posix_fallocate64")(fd, offset, length);
}

// What a shared writable mapping writes reaches the file with no call to
// follow; splice and tee move bytes the same way.
void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) {
    if ((protection & PROT_WRITE) && (flags & MAP_SHARED))
        unfollowed("mmap", fd);
    return real<void* (*)(void*, size_t, int, int, int, off_t)>("mmap")(address, length, protection, flags, fd,
                                                                        offset);
}

void* mmap64(void* address, size_t length, int protection, int flags, int fd, off64_t offset) {
    if ((protection & PROT_WRITE) && (flags & MAP_SHARED))
        unfollowed("mmap64", fd);
    return real<void* (*)(void*, size_t, int, int, int, off64_t)>("mmap64")(address, length, protection, flags,
                                                                            fd, offset);
}

ssize_t splice(int from_fd, off64_t* from_offset, int to_fd, off64_t* to_offset, size_t count,
               unsigned int flags) {
    unfollowed("splice", to_fd);
    return real<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned int)>("splice")(
        from_fd, from_offset, to_fd, to_offset, count, flags);
}

// A range flushed is not the file flushed: its metadata and the rest of it
// may still be in the cache, so the file stays changed.
int sync_file_range(int fd, off64_t offset, off64_t count, unsigned int flags) {
    return real<int (*)(int, off64_t, off64_t, unsigned int)>("sync_file_range")(fd, offset, count, flags);
}

int ftruncate(int fd, off_t size) {
    changed_descriptor(fd);
    return real<int (*)(int, off_t)>("ftruncate")(fd, size);
}

int ftruncate64(int fd, off64_t size) {
    changed_descriptor(fd);
    return real<int (*)(int, off64_t)>("ftruncate64")(fd, size);
}

int fsync(int fd) {
    const int result = real<int (*)(int)>("fsync")(fd);
    if (result == 0)
        synced(fd);
    return result;
}

int fdatasync(int fd) {
    const int result = real<int (*)(int)>("fdatasync")(fd);
    if (result == 0)
        synced(fd);
    return result;
}

// A copy of a followed descriptor writes to the same file.
int duplicated(int fd, int copy) {
    if (copy < 0)
        return copy;
    const auto found = tracker().descriptors.find(fd);
    if (found != tracker().descriptors.end())
        tracker().descriptors[copy] = found->second;
    else
        tracker().descriptors.erase(copy);  // dup2 closed what it had
    return copy;
}

int dup(int fd) { return duplicated(fd, real<int (*)(int)>("dup")(fd)); }
int dup2(int fd, int copy) { return duplicated(fd, real<int (*)(int, int)>("dup2")(fd, copy)); }
int dup3(int fd, int copy, int flags) { return duplicated(fd, real<int (*)(int, int, int)>("dup3")(fd, copy, flags)); }

int close(int fd) {
    tracker().descriptors.erase(fd);
    return real<int (*)(int)>("close")(fd);
}

int rename(const char* from, const char* to) {
    const int result = real<int (*)(const char*, const char*)>("rename")(from, to);
    if (result == 0)
        moved(absolute(AT_FDCWD, from), absolute(AT_FDCWD, to));
    return result;
}

int renameat(int from_fd, const char* from, int to_fd, const char* to) {
    const int result = real<int (*)(int, const char*, int, const char*)>("renameat")(from_fd, from, to_fd, to);
    if (result == 0)
        moved(absolute(from_fd, from), absolute(to_fd, to));
    return result;
}

// RENAME_EXCHANGE swaps the two names: each file now has the other's.
int renameat2(int from_fd, const char* from, int to_fd, const char* to, unsigned int flags) {
    const std::string old_name = absolute(from_fd, from), new_name = absolute(to_fd, to);
    const int result =
        real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2")(from_fd, from, to_fd, to, flags);
    if (result != 0)
        return result;
    if (flags & RENAME_EXCHANGE) {
        const bool old_dirty = tracker().dirty_files.erase(old_name) > 0;
        const bool new_dirty = tracker().dirty_files.erase(new_name) > 0;
        if (old_dirty)
            tracker().dirty_files.insert(new_name);
        if (new_dirty)
            tracker().dirty_files.insert(old_name);
        if (tracker().written.count(old_name) || tracker().written.count(new_name)) {
            tracker().written.insert(old_name);
            tracker().written.insert(new_name);
        }
        tracker().dirty_dirs.insert(parent_of(old_name));
        tracker().dirty_dirs.insert(parent_of(new_name));
    } else {
        moved(old_name, new_name);
    }
    return result;
}

// Naming an unnamed file through /proc/self/fd: from then on it is that
// file in that folder, and the folder has changed.
int linkat(int from_fd, const char* from, int to_fd, const char* to, int flags) {
    const int result = real<int (*)(int, const char*, int, const char*, int)>("linkat")(from_fd, from, to_fd, to, flags);
    const std::string prefix = "/proc/self/fd/";
    if (result == 0 && std::string(from).rfind(prefix, 0) == 0) {
        const int fd = std::atoi(from + prefix.size());
        const auto found = tracker().descriptors.find(fd);
        if (found != tracker().descriptors.end()) {
            const std::string name = absolute(to_fd, to);
            if (tracker().dirty_files.erase(found->second))
                tracker().dirty_files.insert(name);
            if (tracker().written.erase(found->second))
                tracker().written.insert(name);
            tracker().dirty_dirs.insert(parent_of(name));
            for (auto& [descriptor, path] : tracker().descriptors)
                if (path == unnamed(fd))
                    path = name;
        }
    }
    return result;
}

int unlink(const char* path) {
    const int result = real<int (*)(const char*)>("unlink")(path);
    if (result == 0)
        removed(absolute(AT_FDCWD, path));
    return result;
}

int unlinkat(int directory_fd, const char* path, int flags) {
    const std::string full = absolute(directory_fd, path);
    const int result = real<int (*)(int, const char*, int)>("unlinkat")(directory_fd, path, flags);
    if (result == 0)
        removed(full);
    return result;
}

int remove(const char* path) {
    const int result = real<int (*)(const char*)>("remove")(path);
    if (result == 0)
        removed(absolute(AT_FDCWD, path));
    return result;
}

} // extern "C"
