#include "platform/file_reading.h"

#include "platform/win32/system_errors.h"

#include <windows.h>

namespace enlazor::platform {

namespace {

template <typename Bytes>
std::error_code read_regular(const std::filesystem::path& path, Bytes& bytes) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::make_error_code(std::errc::is_a_directory);
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return win32::last_error();
    struct Closer {
        HANDLE handle;
        ~Closer() { ::CloseHandle(handle); }
    } closer{file};
    // A pipe or a device could make us wait for ever: only disk files count.
    if (::GetFileType(file) != FILE_TYPE_DISK)
        return std::make_error_code(std::errc::invalid_argument);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size))
        return win32::last_error();
    return read_to_end(static_cast<std::size_t>(size.QuadPart), bytes,
                       [&](char* into, std::size_t room, std::size_t& got) -> std::error_code {
                           // ReadFile takes at most 4 GB less one byte at a time.
                           const DWORD wanted = room > 0xFFFFFFFEu ? 0xFFFFFFFEu : static_cast<DWORD>(room);
                           DWORD count = 0;
                           if (!::ReadFile(file, into, wanted, &count, nullptr))
                               return win32::last_error();
                           got = count;
                           return {};
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
