#include "platform/atomic_file.h"
#include "platform/leftover_saves.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <random>
#include <utility>
#include <vector>

namespace enlazor {
namespace {

std::error_code last_error() { return {errno, std::generic_category()}; }

mode_t current_umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The temporary file until it has been renamed. It is held with an exclusive
// flock() from its creation to the rename, so that another run removing the
// leftovers of interrupted saves passes it by; closed and removed when the
// save stops early, so a failed save leaves nothing behind.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path_template) : template_(std::move(path_template)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (created_ && !renamed_)
            ::unlink(path_.data());
        release_lock();  // only now: removed before anyone else may take it
    }

    // Creates and locks the file; false with errno set when it cannot.
    bool open() {
        if (open_unnamed_then_name())
            return true;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_.assign(template_.begin(), template_.end());
            path_.push_back('\0');
            // A help viewer started meanwhile must not inherit it.
            const int fd = ::mkostemp(path_.data(), O_CLOEXEC);
            if (fd < 0)
                return false;
            // Between mkostemp() and flock() another run may have taken the
            // new file for a leftover and locked it: one removing leftovers
            // removes it, one checking only looks. Either lets go at once,
            // so the wait is short, and afterwards the name is ours only if
            // it still names our file; otherwise we start again.
            int locked;
            do
                locked = ::flock(fd, LOCK_EX);
            while (locked != 0 && errno == EINTR);
            if (locked != 0 && (errno == ENOLCK || errno == EOPNOTSUPP)) {
                // A file system without locks: saved unguarded, as the
                // direction lock runs unguarded there. Leftovers on it are
                // never removed, since nobody can tell them from a save.
                fd_ = fd;
                return created_ = true;
            }
            if (locked != 0) {
                const int error_number = errno;
                if (names_file(fd))
                    ::unlink(path_.data());
                ::close(fd);
                errno = error_number;
                return false;
            }
            if (names_file(fd)) {
                fd_ = fd;
                lock_fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
                if (lock_fd_ < 0) {
                    const int error_number = errno;
                    ::unlink(path_.data());
                    errno = error_number;
                    return false;
                }
                return created_ = true;
            }
            ::close(fd);
        }
        errno = EEXIST;
        return false;
    }

    int fd() const { return fd_; }
    const char* path() const { return path_.data(); }

    // Closes the written file, reporting what the close reports (a network
    // file system's late write error); the lock stays on its duplicate
    // until the rename is done.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void mark_renamed() {
        renamed_ = true;
        release_lock();
    }

private:
    // Where the file system allows it, the file is made without a name,
    // locked, and only then given its name: a run removing leftovers never
    // finds it unheld, not even for a moment. False, with nothing left
    // behind, where it does not (no O_TMPFILE, no /proc): the named way
    // then takes over.
    bool open_unnamed_then_name() {
        const std::size_t slash = template_.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : template_.substr(0, slash + 1);
        const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        int locked;
        do
            locked = ::flock(fd, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        const int lock_fd = locked == 0 ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int attempt = 0; lock_fd >= 0 && attempt < 100; ++attempt) {
            path_.assign(template_.begin(), template_.end());
            fill_random_suffix(path_);
            path_.push_back('\0');
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.data(), AT_SYMLINK_FOLLOW) == 0) {
                fd_ = fd;
                lock_fd_ = lock_fd;
                return created_ = true;
            }
            if (errno != EEXIST)
                break;
        }
        if (lock_fd >= 0)
            ::close(lock_fd);
        ::close(fd);  // unnamed, it goes with its last descriptor
        return false;
    }

    // The trailing X's of the template, as mkostemp() would fill them.
    static void fill_random_suffix(std::vector<char>& name) {
        static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        static std::minstd_rand random(static_cast<unsigned>(std::random_device{}()) ^
                                       static_cast<unsigned>(::getpid()));
        for (auto at = name.rbegin(); at != name.rend() && *at == 'X'; ++at)
            *at = letters[random() % (sizeof letters - 1)];
    }

    bool names_file(int fd) const {
        struct stat opened {}, named {};
        return ::fstat(fd, &opened) == 0 && ::lstat(path_.data(), &named) == 0 &&
               opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
    }
    void release_lock() {
        if (lock_fd_ >= 0)
            ::close(lock_fd_);
        lock_fd_ = -1;
    }

    std::string template_;
    std::vector<char> path_;
    int fd_ = -1;
    int lock_fd_ = -1;
    bool created_ = false;
    bool renamed_ = false;
};

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {  // no progress and no error: do not spin
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Once the rename is done the new content is in place; flushing the folder
// only makes the rename itself survive a power cut, so a folder that cannot
// be flushed (some file systems refuse) does not undo the save.
void flush_folder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Where the save of `requested` really writes: a symbolic link's target.
std::error_code save_target(const std::filesystem::path& requested, std::filesystem::path& path) {
    path = requested;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::error_code error;
        path = std::filesystem::canonical(requested, error);
        return error;
    }
    return {};
}

std::filesystem::path folder_of(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// ".saga.xml.enlazor-": what every temporary file of this document's saves
// begins with, before the unique part that mkostemp() fills in.
std::string temporary_prefix(const std::filesystem::path& document) {
    return "." + document.filename().string().substr(0, platform::kDocumentNameKept) +
           std::string(platform::kSaveMarker);
}


bool names_leftover(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() != prefix.size() + platform::kUniqueLength)
        return false;
    for (const char c : name.substr(prefix.size()))
        if (!platform::is_unique_character(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Every name in the document's folder that a save of the document gives its
// temporary file; what kind of file each is, is for the caller to see.
std::vector<std::filesystem::path> leftover_names(const std::filesystem::path& document) {
    std::vector<std::filesystem::path> found;
    std::filesystem::path target;
    if (save_target(document, target))
        return found;
    const std::string prefix = temporary_prefix(target);
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder_of(target), error), end; !error && entry != end;
         entry.increment(error)) {
        if (names_leftover(entry->path().filename().string(), prefix))
            found.push_back(entry->path());
    }
    return found;
}

enum class Found { Leftover, Held, NotOne, Gone, Failed };

// Opens `path` (never through a link, never waiting on a pipe) and takes a
// lock of `kind` without waiting: a running save holds its file exclusively,
// so the lock fails exactly while the file is a save in progress. On
// Leftover `fd` is open and locked, and `path` still names that file.
Found lock_candidate(const std::filesystem::path& path, int kind, int& fd, std::error_code& error) {
    fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return Found::Gone;
        if (errno == ELOOP)  // a symbolic link: not a file a save makes
            return Found::NotOne;
        error = last_error();
        return Found::Failed;
    }
    struct stat opened {}, named {};
    Found found = Found::Leftover;
    int locked;
    do
        locked = ::flock(fd, kind | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (::fstat(fd, &opened) != 0) {
        error = last_error();
        found = Found::Failed;
    } else if (!S_ISREG(opened.st_mode)) {
        found = Found::NotOne;
    } else if (locked != 0) {
        if (errno == EWOULDBLOCK) {
            found = Found::Held;
        } else {
            error = last_error();  // no locks here: a save in progress cannot be told apart
            found = Found::Failed;
        }
    } else if (::lstat(path.c_str(), &named) != 0 || named.st_dev != opened.st_dev ||
               named.st_ino != opened.st_ino) {
        found = Found::Gone;  // removed meanwhile, or the name went to a newer save
    }
    if (found != Found::Leftover) {
        ::close(fd);
        fd = -1;
    }
    return found;
}
} // namespace

std::error_code replace_file_atomically(const std::filesystem::path& requested,
                                        const std::function<void(const ContentWriter&)>& produce) {
    std::filesystem::path path;
    if (const std::error_code error = save_target(requested, path))
        return error;
    struct stat info {};

    mode_t mode = 0644 & ~current_umask();
    bool replacing = false;
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return std::make_error_code(std::errc::is_a_directory);
        if (!S_ISREG(info.st_mode))
            return std::make_error_code(std::errc::invalid_argument);
        // access() alone passes for root whatever the mode bits say.
        if ((info.st_mode & 0222) == 0)
            return std::make_error_code(std::errc::permission_denied);
        if (::access(path.c_str(), W_OK) != 0)
            return last_error();
        mode = info.st_mode & 07777;
        replacing = true;
    } else if (errno != ENOENT) {
        return last_error();
    }

    const std::filesystem::path folder = folder_of(path);
    static_assert(platform::kUniqueLength == 6, "mkostemp() fills in exactly six characters");
    TemporaryFile temporary((folder / (temporary_prefix(path) + "XXXXXX")).string());
    if (!temporary.open())
        return last_error();
    std::error_code write_error;
    produce([&](std::string_view bytes) {
        if (!write_error && !write_all(temporary.fd(), bytes))
            write_error = last_error();
    });
    if (write_error)
        return write_error;
    if (::fsync(temporary.fd()) != 0)
        return last_error();
    if (::fchmod(temporary.fd(), mode) != 0)
        return last_error();
    if (replacing && (info.st_uid != ::geteuid() || info.st_gid != ::getegid())) {
        // Only root may give the file away; anyone else keeps it as theirs,
        // as any editor's save would.
        [[maybe_unused]] const int ignored = ::fchown(temporary.fd(), info.st_uid, info.st_gid);
    }
    if (!temporary.close())
        return last_error();
    if (::rename(temporary.path(), path.c_str()) != 0)
        return last_error();
    temporary.mark_renamed();
    flush_folder(folder);
    return {};
}

std::vector<std::filesystem::path> leftover_saves(const std::filesystem::path& document) {
    std::vector<std::filesystem::path> leftovers;
    for (const std::filesystem::path& candidate : leftover_names(document)) {
        // A shared lock is enough to see a save's exclusive one; it changes
        // nothing in the file.
        int fd = -1;
        std::error_code error;
        const Found found = lock_candidate(candidate, LOCK_SH, fd, error);
        if (fd >= 0)
            ::close(fd);
        if (found == Found::Leftover || found == Found::Failed)
            leftovers.push_back(candidate);
    }
    return leftovers;
}

LeftoverRemoval remove_leftover_saves(const std::filesystem::path& document) {
    LeftoverRemoval removal;
    for (const std::filesystem::path& candidate : leftover_names(document)) {
        int fd = -1;
        std::error_code error;
        const Found found = lock_candidate(candidate, LOCK_EX, fd, error);
        if (found == Found::Failed)
            removal.kept.push_back({candidate, error});
        if (found != Found::Leftover)
            continue;
        // Locked, and still the file the name gives: no save can be using
        // it, and no new save can take the name while it exists.
        if (::unlink(candidate.c_str()) == 0)
            removal.removed.push_back(candidate);
        else if (errno != ENOENT)
            removal.kept.push_back({candidate, last_error()});
        ::close(fd);
    }
    return removal;
}

} // namespace enlazor
