// Table files on Windows. The lock is the share mode of the open handle:
// the engine Horalis uses opens its tables with share modes too, so an
// exclusive handle keeps it out and a table it holds keeps us out.
#include "platform/file_lock.h"

#include "platform/win32/system_errors.h"
#include "base/table_messages.h"

#include <windows.h>

#include <cerrno>

namespace enlazor {

namespace {

using platform::win32::errno_from_win32;

HANDLE handle_of(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t stored(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

// Shared holders let each other read and write; an exclusive one lets
// nobody in. Deleting a held table is never shared: it fails, as it must.
DWORD share_mode(LockKind kind) {
    return kind == LockKind::Exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
}

bool names_directory(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

OVERLAPPED at_offset(std::size_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    return where;
}

// One system call moves at most a gigabyte; the callers loop for the rest.
DWORD largest_transfer(std::size_t count) {
    return count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
}

} // namespace

LockedFile LockedFile::open_existing(const std::filesystem::path& path, LockKind lock) {
    LockedFile file;
    file.path_ = path;
    if (names_directory(path))
        throw dbf_messages::table_missing(path);
    HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share_mode(lock), nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    file.writable_ = handle != INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED)  // reading still works
        handle = ::CreateFileW(path.c_str(), GENERIC_READ, share_mode(lock), nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            throw dbf_messages::table_missing(path);
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            throw dbf_messages::table_busy(path);
        throw dbf_messages::cannot_open(path, errno_from_win32(error));
    }
    file.handle_ = stored(handle);
    if (::GetFileType(handle) != FILE_TYPE_DISK)
        throw dbf_messages::table_missing(path);
    return file;
}

LockedFile LockedFile::create_new(const std::filesystem::path& path) {
    LockedFile file;
    file.path_ = path;
    const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION)
            throw dbf_messages::table_busy(path);
        throw dbf_messages::cannot_create(path, errno_from_win32(error));
    }
    file.handle_ = stored(handle);
    file.writable_ = true;
    return file;
}



std::size_t LockedFile::current_size() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_of(handle_), &size))
        throw dbf_messages::cannot_read(path_, errno_from_win32(::GetLastError()));
    return static_cast<std::size_t>(size.QuadPart);
}

std::size_t LockedFile::read_some(std::size_t offset, char* into, std::size_t count) const {
    OVERLAPPED where = at_offset(offset);
    DWORD got = 0;
    if (::ReadFile(handle_of(handle_), into, largest_transfer(count), &got, &where))
        return got;
    if (::GetLastError() == ERROR_HANDLE_EOF)
        return 0;
    throw dbf_messages::cannot_read(path_, errno_from_win32(::GetLastError()));
}

std::size_t LockedFile::write_some(std::size_t offset, const char* from, std::size_t count) const {
    OVERLAPPED where = at_offset(offset);
    DWORD written = 0;
    if (!::WriteFile(handle_of(handle_), from, largest_transfer(count), &written, &where))
        throw dbf_messages::cannot_write(path_, errno_from_win32(::GetLastError()));
    return written;
}

void LockedFile::truncate(std::size_t size) const {
    if (!writable_)
        throw dbf_messages::cannot_write(path_, EACCES);
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(handle_of(handle_), position, nullptr, FILE_BEGIN) ||
        !::SetEndOfFile(handle_of(handle_)))
        throw dbf_messages::cannot_write(path_, errno_from_win32(::GetLastError()));
}

void LockedFile::sync() const {
    if (writable_ && !::FlushFileBuffers(handle_of(handle_)))
        throw dbf_messages::cannot_write(path_, errno_from_win32(::GetLastError()));
}

void LockedFile::close() noexcept {
    if (handle_ != -1) {
        ::CloseHandle(handle_of(handle_));  // ends the share-mode lock
        handle_ = -1;
    }
}

// Deleting a file that somebody holds open fails with a sharing violation:
// the holder is the test itself.
std::error_code remove_unless_held(const std::filesystem::path& path) {
    if (::DeleteFileW(path.c_str()))
        return {};
    const DWORD error = ::GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        throw dbf_messages::table_busy(path);
    if (error == ERROR_FILE_NOT_FOUND)
        return {};  // gone meanwhile: nothing left to remove
    return {errno_from_win32(error), std::generic_category()};
}

bool is_locked_by_others(const std::filesystem::path& path) {
    const HANDLE handle =
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION;
    ::CloseHandle(handle);
    return false;
}

} // namespace enlazor
