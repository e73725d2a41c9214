// One direction at a time per exchange directory, on Windows: a named
// semaphore of one, derived from the directory's full path, so nothing is
// added to the folder Horalis reads and the directory stays open to
// everybody. A semaphore, not a mutex: a mutex would let the same thread in
// twice. When a holder dies the system closes its handle, and with the last
// handle the semaphore itself goes, so nothing stays locked.
#include "platform/direction_lock.h"
#include "base/path_text.h"

#include "base/error.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace enlazor {

namespace {

// The same name for every spelling of the same folder: full path, one case.
std::wstring lock_name(const std::filesystem::path& directory) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = ::GetFullPathNameW(directory.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length + 1);
        length = ::GetFullPathNameW(directory.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    if (!full.empty())
        ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the UTF-16 units
    for (const wchar_t unit : full)
        hash = (hash ^ static_cast<std::uint16_t>(unit)) * 1099511628211ull;
    wchar_t name[64];
    std::swprintf(name, 64, L"Local\\Enlazor-HTEMP-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

} // namespace

DirectionLock::DirectionLock(const std::filesystem::path& exchange_dir) : directory_(exchange_dir) {
    const std::filesystem::path opened = exchange_dir.empty() ? L"." : exchange_dir;
    const DWORD attributes = ::GetFileAttributesW(opened.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throw Error("No existe el directorio de intercambio " + utf8_from_path(exchange_dir));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw Error("El directorio de intercambio " + utf8_from_path(exchange_dir) + " no es un directorio");

    const HANDLE semaphore = ::CreateSemaphoreW(nullptr, 1, 1, lock_name(opened).c_str());
    if (semaphore == nullptr)
        return;  // no lock to be had: run unguarded rather than not at all
    if (::WaitForSingleObject(semaphore, 0) == WAIT_OBJECT_0) {
        handle_ = reinterpret_cast<std::intptr_t>(semaphore);
        return;
    }
    ::CloseHandle(semaphore);
    throw Error("Otra conversión está usando el directorio de intercambio " + utf8_from_path(exchange_dir) +
                "; espere a que termine y vuelva a intentarlo");
}

DirectionLock::~DirectionLock() {
    if (handle_ != -1) {
        const HANDLE semaphore = reinterpret_cast<HANDLE>(handle_);
        ::ReleaseSemaphore(semaphore, 1, nullptr);
        ::CloseHandle(semaphore);
    }
}

// Each table was flushed with FlushFileBuffers when it was written, and the
// file system journals the folder's entries itself: a folder cannot be
// flushed on its own on Windows.
void DirectionLock::flush_directory() const {}

} // namespace enlazor
