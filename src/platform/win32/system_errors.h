// Win32 error codes in the terms the table engine's messages use, so both
// systems word a full disk or a table in use the same way.
#pragma once

#include <windows.h>

#include <cerrno>
#include <system_error>

namespace enlazor::platform::win32 {

inline int errno_from_win32(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    default:
        return EIO;
    }
}

// The last Win32 error as a portable error code (its message is the C
// library's English text, never the ANSI text of FormatMessage).
inline std::error_code last_error() {
    return {errno_from_win32(::GetLastError()), std::generic_category()};
}

} // namespace enlazor::platform::win32
