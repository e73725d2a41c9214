#include "platform/bulk_memory.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <sys/mman.h>

namespace enlazor::platform {

namespace {

// Blocks are cut one after the other from regions aligned to the kernel's
// huge pages and marked for them. Space inside a region is not reused block
// by block: a region goes back to the system when its last block does,
// which for a document is when the document goes (the tree frees its pages
// and the text together), and the region being cut from is kept, emptied,
// for the next document. The parser keeps reusing its own last page, so
// a scratch document built and emptied over and over stays in one page.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kFirstRegion = kHugePage;
constexpr std::size_t kLargestStep = std::size_t{64} << 20;
constexpr std::size_t kAlignment = alignof(std::max_align_t);

struct Region {
    char* base = nullptr;
    std::size_t size = 0;
    std::size_t used = 0;
    std::size_t blocks = 0;  // given out and not yet back

    bool holds(const void* block) const {
        const auto* byte = static_cast<const char*>(block);
        return base != nullptr && byte >= base && byte < base + size;
    }
};

// Beyond this many regions (gigabytes) blocks come from malloc; free_bulk_memory
// tells them apart by address.
constexpr std::size_t kMaxRegions = 64;

struct Regions {
    std::mutex mutex;
    std::array<Region, kMaxRegions> slots{};
    Region* current = nullptr;  // where the next block is cut
    std::size_t next_size = kFirstRegion;
};

// Never destroyed: a document in a static object may outlive everything.
Regions& regions() {
    static Regions* all = new Regions;
    return *all;
}

std::size_t round_up(std::size_t value, std::size_t unit) { return (value + unit - 1) / unit * unit; }

// `size` bytes starting on a huge-page boundary, or nullptr.
char* map_region(std::size_t size) {
    const std::size_t padded = size + kHugePage;
    void* mapped = ::mmap(nullptr, padded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = round_up(start, kHugePage);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    const std::uintptr_t end = start + padded;
    if (end > aligned + size)
        ::munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    // Only a hint: without transparent huge pages the region works the same.
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<char*>(aligned);
}

Region* free_slot(Regions& all) {
    for (Region& slot : all.slots)
        if (slot.base == nullptr)
            return &slot;
    return nullptr;
}

// Under AddressSanitizer every block is malloc's, so that a read past the
// end of a document's text is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kBlocksFromMalloc = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kBlocksFromMalloc = true;
#else
constexpr bool kBlocksFromMalloc = false;
#endif
#else
constexpr bool kBlocksFromMalloc = false;
#endif

} // namespace

void* allocate_bulk_memory(std::size_t size) noexcept {
    if (kBlocksFromMalloc)
        return std::malloc(size == 0 ? 1 : size);
    if (size > std::numeric_limits<std::size_t>::max() - kHugePage * 2)
        return nullptr;
    size = round_up(size == 0 ? 1 : size, kAlignment);
    Regions& all = regions();
    const std::lock_guard<std::mutex> lock(all.mutex);
    if (all.current == nullptr || all.current->size - all.current->used < size) {
        Region* slot = free_slot(all);
        if (slot == nullptr)
            return std::malloc(size);
        const std::size_t region_size = round_up(std::max(size, all.next_size), kHugePage);
        char* base = map_region(region_size);
        if (base == nullptr)
            return nullptr;
        *slot = Region{base, region_size, 0, 0};
        all.current = slot;
        all.next_size = std::min(all.next_size * 2, kLargestStep);
    }
    Region& region = *all.current;
    void* block = region.base + region.used;
    region.used += size;
    ++region.blocks;
    return block;
}

void free_bulk_memory(void* block) noexcept {
    if (block == nullptr)
        return;
    Regions& all = regions();
    const std::lock_guard<std::mutex> lock(all.mutex);
    for (Region& region : all.slots) {
        if (!region.holds(block))
            continue;
        if (--region.blocks == 0) {
            if (all.current == &region) {
                region.used = 0;  // kept for the next document, cut again from its start
            } else {
                ::munmap(region.base, region.size);
                region = Region{};
            }
        }
        return;
    }
    std::free(block);  // one of malloc's, given out when every region was taken
}

} // namespace enlazor::platform
