// Replacing the SAGA document on Windows: the new content goes to a
// temporary file beside it, is flushed to the disk, and then takes the
// document's place with ReplaceFileW, which keeps the document's attributes,
// security and creation time. A new document is moved into place with
// write-through.
#include "platform/atomic_file.h"

#include "platform/win32/system_errors.h"

#include <windows.h>

#include <string>

namespace enlazor {
namespace {

using platform::win32::last_error;

// The temporary file until it has taken the document's place: closed and
// removed when the save stops early, so a failed save leaves nothing behind.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& document) {
        const std::filesystem::path folder = document.has_parent_path() ? document.parent_path() : L".";
        const std::wstring stem = L"." + document.filename().wstring().substr(0, 200) + L".";
        for (unsigned attempt = 0; attempt < 100 && handle_ == INVALID_HANDLE_VALUE; ++attempt) {
            path_ = folder / (stem + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                              std::to_wstring(::GetTickCount64() + attempt));
            handle_ = ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle_ == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
        if (created_ && !moved_)
            ::DeleteFileW(path_.c_str());
    }

    bool open() { return created_ = handle_ != INVALID_HANDLE_VALUE; }
    HANDLE handle() const { return handle_; }
    const std::filesystem::path& path() const { return path_; }
    bool close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }
    void mark_moved() { moved_ = true; }

private:
    std::filesystem::path path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool created_ = false;
    bool moved_ = false;
};

bool write_all(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return false;
        if (written == 0) {  // no progress and no error: do not spin
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

std::error_code replace_file_atomically(const std::filesystem::path& requested,
                                        const std::function<void(const ContentWriter&)>& produce) {
    // ReplaceFileW wants the system's own separators; a path given with
    // forward slashes (as a script may write it) would otherwise fail.
    std::filesystem::path path = requested;
    path.make_preferred();
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return std::make_error_code(std::errc::is_a_directory);
        // Made read-only on purpose: ReplaceFileW would refuse it too, but
        // say so before anything is written.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return std::make_error_code(std::errc::permission_denied);
    } else if (const DWORD error = ::GetLastError(); error != ERROR_FILE_NOT_FOUND) {
        ::SetLastError(error);
        return last_error();
    }

    TemporaryFile temporary(path);
    if (!temporary.open())
        return last_error();
    std::error_code write_error;
    produce([&](std::string_view bytes) {
        if (!write_error && !write_all(temporary.handle(), bytes))
            write_error = last_error();
    });
    if (write_error)
        return write_error;
    if (!::FlushFileBuffers(temporary.handle()))
        return last_error();
    if (!temporary.close())
        return last_error();
    if (replacing) {
        if (!::ReplaceFileW(path.c_str(), temporary.path().c_str(), nullptr,
                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            // With these two the document has already left its name while
            // the new content is still the temporary file: it is put in place
            // now, or the document would be lost with the temporary file.
            const DWORD error = ::GetLastError();
            if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
                return last_error();
            if (!::MoveFileExW(temporary.path().c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return last_error();
        }
        // ReplaceFileW carries the attributes over; where it does not (Wine)
        // they are set again, so a hidden or archived document stays so.
        if (::GetFileAttributesW(path.c_str()) != attributes)
            ::SetFileAttributesW(path.c_str(), attributes);
    } else if (!::MoveFileExW(temporary.path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return last_error();
    }
    temporary.mark_moved();
    return {};
}

} // namespace enlazor
