#include "platform/file_reading.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace enlazor::platform {

namespace {

template <typename Bytes>
std::error_code read_regular(const std::filesystem::path& path, Bytes& bytes) {
    const auto last_error = [] { return std::error_code(errno, std::generic_category()); };
    // O_NONBLOCK: a named pipe given as the document must not hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return last_error();
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return last_error();
    if (S_ISDIR(info.st_mode))
        return std::make_error_code(std::errc::is_a_directory);
    if (!S_ISREG(info.st_mode))
        return std::make_error_code(std::errc::invalid_argument);
    return read_to_end(static_cast<std::size_t>(info.st_size), bytes,
                       [&](char* into, std::size_t room, std::size_t& got) -> std::error_code {
                           for (;;) {
                               const ssize_t count = ::read(fd, into, room);
                               if (count >= 0) {
                                   got = static_cast<std::size_t>(count);
                                   return {};
                               }
                               if (errno != EINTR)
                                   return last_error();
                           }
                       });
}

} // namespace

std::error_code read_regular_file(const std::filesystem::path& path, std::string& bytes) {
    return read_regular(path, bytes);
}

std::error_code read_regular_file(const std::filesystem::path& path, BulkBytes& bytes) {
    return read_regular(path, bytes);
}

} // namespace enlazor::platform
