#include "platform/direction_lock.h"
#include "base/path_text.h"

#include "base/error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace enlazor {

namespace {

Error cannot_open(const std::filesystem::path& directory, int error_number) {
    if (error_number == ENOENT)
        return Error("No existe el directorio de intercambio " + utf8_from_path(directory));
    if (error_number == ENOTDIR)
        return Error("El directorio de intercambio " + utf8_from_path(directory) + " no es un directorio");
    return Error("No se puede abrir el directorio de intercambio " + utf8_from_path(directory) + ": " +
                 std::strerror(error_number));
}

} // namespace

DirectionLock::DirectionLock(const std::filesystem::path& exchange_dir) : directory_(exchange_dir) {
    const std::filesystem::path opened = exchange_dir.empty() ? "." : exchange_dir;
    int fd;
    do
        fd = ::open(opened.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw cannot_open(exchange_dir, errno);

    int result;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result < 0 && errno == EINTR);
    if (result == 0 || errno == ENOLCK || errno == EOPNOTSUPP) {
        handle_ = fd;
        return;
    }
    const int error_number = errno;
    ::close(fd);
    if (error_number == EWOULDBLOCK)
        throw Error("Otra conversión está usando el directorio de intercambio " +
                    utf8_from_path(exchange_dir) + "; espere a que termine y vuelva a intentarlo");
    throw Error("No se puede reservar el directorio de intercambio " + utf8_from_path(exchange_dir) +
                ": " + std::strerror(error_number));
}

DirectionLock::~DirectionLock() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));  // releases the lock
}

void DirectionLock::flush_directory() const {
    // Some file systems cannot flush a directory (EINVAL) or are read-only
    // (EROFS, nothing to flush): neither leaves anything unwritten.
    if (::fsync(static_cast<int>(handle_)) != 0 && errno != EINVAL && errno != EROFS)
        throw Error("No se pueden asegurar en el disco las tablas del directorio de intercambio " +
                    utf8_from_path(directory_) + ": " + std::strerror(errno));
}

} // namespace enlazor
