#include "platform/bulk_memory.h"

#include <cstdlib>

namespace enlazor::platform {

// Large pages need a privilege that schools' accounts do not hold: the
// heap it is.
void* allocate_bulk_memory(std::size_t size) noexcept { return std::malloc(size == 0 ? 1 : size); }

void free_bulk_memory(void* block) noexcept { std::free(block); }

} // namespace enlazor::platform
