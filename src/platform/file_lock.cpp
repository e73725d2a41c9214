// What a held table file does the same way on every system: it passes from
// object to object, and closes when its last owner goes.
#include "platform/file_lock.h"

namespace enlazor {

LockedFile::~LockedFile() { close(); }

LockedFile::LockedFile(LockedFile&& other) noexcept
    : handle_(other.handle_), writable_(other.writable_), path_(std::move(other.path_)) {
    other.handle_ = -1;
}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        writable_ = other.writable_;
        path_ = std::move(other.path_);
        other.handle_ = -1;
    }
    return *this;
}

} // namespace enlazor
