// Memory for what a conversion holds in bulk: a SAGA document's text and
// the tree parsed from it, a table's records.
#pragma once

#include <cstddef>
#include <limits>
#include <new>
#include <string>

namespace enlazor::platform {

// A block for a document's text or tree or a table's records, aligned for
// any type, or nullptr when memory runs out. They are large, written once
// from end to end and let go together, so Linux takes them from regions the
// kernel may back with 2 MB pages: a district's 20 MB then cost a few dozen
// page faults instead of thousands. Windows takes them from its heap.
void* allocate_bulk_memory(std::size_t size) noexcept;

// Gives back a block of allocate_bulk_memory; nullptr does nothing.
void free_bulk_memory(void* block) noexcept;

// The standard allocator over that memory.
template <typename T>
struct BulkAllocator {
    using value_type = T;

    BulkAllocator() = default;
    template <typename U>
    BulkAllocator(const BulkAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(T))
            throw std::bad_array_new_length();
        void* block = allocate_bulk_memory(count * sizeof(T));
        if (!block)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t) noexcept { free_bulk_memory(block); }

    friend bool operator==(const BulkAllocator&, const BulkAllocator&) { return true; }
};

// A document's or a table's bytes.
using BulkBytes = std::basic_string<char, std::char_traits<char>, BulkAllocator<char>>;

} // namespace enlazor::platform
