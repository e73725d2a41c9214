// Memory for SAGA documents: the file's text and the tree parsed from it.
#pragma once

#include <cstddef>
#include <limits>
#include <new>
#include <string>

namespace enlazor::platform {

// A block for a document's text or tree, aligned for any type, or nullptr
// when memory runs out. Both are large, written once from end to end and let
// go with their document, so Linux takes them from regions the kernel may
// back with 2 MB pages: a district's 15 MB then costs a few dozen page
// faults instead of thousands. Windows takes them from its heap.
void* allocate_document_memory(std::size_t size) noexcept;

// Gives back a block of allocate_document_memory; nullptr does nothing.
void free_document_memory(void* block) noexcept;

// The standard allocator over that memory, for a document's text.
template <typename T>
struct DocumentAllocator {
    using value_type = T;

    DocumentAllocator() = default;
    template <typename U>
    DocumentAllocator(const DocumentAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(T))
            throw std::bad_array_new_length();
        void* block = allocate_document_memory(count * sizeof(T));
        if (!block)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t) noexcept { free_document_memory(block); }

    friend bool operator==(const DocumentAllocator&, const DocumentAllocator&) { return true; }
};

// A document file's bytes.
using DocumentBytes = std::basic_string<char, std::char_traits<char>, DocumentAllocator<char>>;

} // namespace enlazor::platform
