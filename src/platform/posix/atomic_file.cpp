#include "platform/atomic_file.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace enlazor {
namespace {

std::error_code last_error() { return {errno, std::generic_category()}; }

mode_t current_umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The temporary file until it has been renamed: closed and removed when the
// save stops early, so a failed save leaves nothing behind.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path_template) : path_(path_template.begin(), path_template.end()) {
        path_.push_back('\0');
        fd_ = ::mkostemp(path_.data(), O_CLOEXEC);  // a help viewer started meanwhile must not inherit it
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!renamed_ && opened_)
            ::unlink(path_.data());
    }

    bool open() { return opened_ = fd_ >= 0; }
    int fd() const { return fd_; }
    const char* path() const { return path_.data(); }

    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void mark_renamed() { renamed_ = true; }

private:
    std::vector<char> path_;
    int fd_ = -1;
    bool opened_ = false;
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

// Room for the dot, the suffix and the random part within a file name's 255 bytes.
constexpr std::size_t kLongestNameKept = 200;

} // namespace

std::error_code replace_file_atomically(const std::filesystem::path& requested,
                                        const std::function<void(const ContentWriter&)>& produce) {
    std::filesystem::path path = requested;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::error_code error;
        path = std::filesystem::canonical(requested, error);
        if (error)
            return error;
    }

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

    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    const std::string name = path.filename().string().substr(0, kLongestNameKept);
    TemporaryFile temporary((folder / ("." + name + ".XXXXXX")).string());
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

} // namespace enlazor
