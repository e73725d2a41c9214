// Replacing the SAGA document on Windows: the new content goes to a
// temporary file beside it, is flushed to the disk, and then takes the
// document's place with ReplaceFileW, which keeps the document's attributes,
// security and creation time (under Wine, whose ReplaceFileW leaves a moment
// without any document, with a rename). A new document is moved into place
// with write-through.
//
// The temporary file is opened sharing nothing, so that while the save runs
// nobody can delete it: that is how another run's removal of leftovers
// (DeleteFileW failing with a sharing violation) tells a save in progress
// from what an interrupted save left behind.
#include "platform/atomic_file.h"
#include "platform/leftover_saves.h"

#include "platform/win32/system_errors.h"

#include <windows.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace enlazor {
namespace {

using platform::win32::last_error;

std::filesystem::path folder_of(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(L".");
}

// ".saga.xml.enlazor-": what every temporary file of this document's saves
// begins with, before the unique part.
std::wstring temporary_prefix(const std::filesystem::path& document) {
    const std::string_view marker = platform::kSaveMarker;
    return L"." + document.filename().wstring().substr(0, platform::kDocumentNameKept) +
           std::wstring(marker.begin(), marker.end());
}

// The unique part: lower case only, since the file system ignores case.
std::wstring unique_part(std::mt19937& random) {
    static constexpr wchar_t kAlphabet[] = L"0123456789abcdefghijklmnopqrstuvwxyz";
    std::uniform_int_distribution<std::size_t> pick(0, 35);
    std::wstring unique;
    for (std::size_t i = 0; i < platform::kUniqueLength; ++i)
        unique += kAlphabet[pick(random)];
    return unique;
}

// The temporary file until it has taken the document's place: closed and
// removed when the save stops early, so a failed save leaves nothing behind.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& document) {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        std::mt19937 random(static_cast<unsigned>(now.QuadPart) ^ (::GetCurrentProcessId() << 16) ^
                            static_cast<unsigned>(::GetTickCount64()));
        const std::wstring prefix = temporary_prefix(document);
        for (unsigned attempt = 0; attempt < 100 && handle_ == INVALID_HANDLE_VALUE; ++attempt) {
            path_ = folder_of(document) / (prefix + unique_part(random));
            // Shared with nobody: no other program can open, rename or
            // delete it until the handle is closed.
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

// Wine's ReplaceFileW first moves the document aside to a temporary name of
// its own (rfXXXX.tmp) and only then moves the new content in: killed
// between the two, it leaves no document at all, the old one under that
// name. There a rename over the document is one step, as on Linux, and
// Wine keeps no security of its own to carry over; the attributes are set
// again below.
bool replace_leaves_a_gap() {
    static const bool wine =
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

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
        if (replace_leaves_a_gap()) {
            if (!::MoveFileExW(temporary.path().c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return last_error();
        } else if (!::ReplaceFileW(path.c_str(), temporary.path().c_str(), nullptr,
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

namespace {

bool names_leftover(std::wstring_view name, std::wstring_view prefix) {
    if (name.size() != prefix.size() + platform::kUniqueLength)
        return false;
    // The document's name is compared as the file system compares names, so
    // "SAGA.XML" given one day and "saga.xml" the next are one document.
    if (::CompareStringOrdinal(name.data(), static_cast<int>(prefix.size()), prefix.data(),
                               static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL)
        return false;
    for (const wchar_t c : name.substr(prefix.size()))
        if (!platform::is_unique_character(c))
            return false;
    return true;
}

// The regular files beside the document that bear a name its saves give:
// no folder, and no link or other reparse point, whatever its name.
std::vector<std::filesystem::path> leftover_files(const std::filesystem::path& requested) {
    std::vector<std::filesystem::path> found;
    std::filesystem::path document = requested;
    document.make_preferred();
    const std::filesystem::path folder = folder_of(document);
    const std::wstring prefix = temporary_prefix(document);
    WIN32_FIND_DATAW entry;
    const HANDLE search = ::FindFirstFileW((folder / (prefix + L"*")).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do {
        if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        if (names_leftover(entry.cFileName, prefix))
            found.push_back(folder / entry.cFileName);
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return found;
}

} // namespace

std::vector<std::filesystem::path> leftover_saves(const std::filesystem::path& document) {
    std::vector<std::filesystem::path> leftovers;
    for (const std::filesystem::path& candidate : leftover_files(document)) {
        // Opened for reading and sharing everything: it fails only while a
        // save holds the file (which shares nothing), and reads nothing.
        const HANDLE probe = ::CreateFileW(candidate.c_str(), FILE_READ_DATA,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (probe != INVALID_HANDLE_VALUE) {
            ::CloseHandle(probe);
            leftovers.push_back(candidate);
        } else if (const DWORD error = ::GetLastError();
                   error != ERROR_SHARING_VIOLATION && error != ERROR_FILE_NOT_FOUND) {
            leftovers.push_back(candidate);
        }
    }
    return leftovers;
}

LeftoverRemoval remove_leftover_saves(const std::filesystem::path& document) {
    LeftoverRemoval removal;
    for (const std::filesystem::path& candidate : leftover_files(document)) {
        if (::DeleteFileW(candidate.c_str())) {
            removal.removed.push_back(candidate);
            continue;
        }
        // A sharing violation is a save in progress; a file not found went
        // meanwhile. Anything else is worth telling.
        const DWORD error = ::GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_FILE_NOT_FOUND)
            removal.kept.push_back({candidate, last_error()});
    }
    return removal;
}

} // namespace enlazor
