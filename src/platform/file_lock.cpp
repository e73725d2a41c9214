// What a held table file does the same way on every system: it passes from
// object to object, closes when its last owner goes, and reads and writes
// whole byte runs over the system's single reads and writes.
#include "platform/file_lock.h"

#include "base/table_messages.h"

#include <cerrno>
#include <new>

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

platform::BulkBytes LockedFile::read_all() const {
    platform::BulkBytes bytes;
    try {
        bytes.resize(current_size());
    } catch (const std::bad_alloc&) {
        throw dbf_messages::out_of_memory(path_);
    } catch (const std::length_error&) {
        throw dbf_messages::out_of_memory(path_);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t got = read_some(done, bytes.data() + done, bytes.size() - done);
        if (got == 0)
            break;  // the file shrank meanwhile: what is there is the table
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

void LockedFile::write_at(std::size_t offset, std::string_view bytes) const {
    if (!writable_)
        throw dbf_messages::cannot_write(path_, EACCES);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t written = write_some(offset + done, bytes.data() + done, bytes.size() - done);
        if (written == 0)  // no progress and no error: a full disk, not a loop for ever
            throw dbf_messages::cannot_write(path_, ENOSPC);
        done += written;
    }
}

} // namespace enlazor
