// The memory documents and tables live in: blocks of any size, apart from
// each other, aligned for any type, whatever order they come back in.
#include "platform/bulk_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace enlazor {
namespace {

using platform::allocate_bulk_memory;
using platform::free_bulk_memory;

struct Block {
    unsigned char* bytes;
    std::size_t size;
    unsigned char fill;
};

bool keeps_fill(const Block& block) {
    for (std::size_t i = 0; i < block.size; ++i)
        if (block.bytes[i] != block.fill)
            return false;
    return true;
}

TEST(BulkMemory, BlocksAreAlignedApartAndKeepTheirBytesThroughReuse) {
    // The parser's pages, small strings, and a text larger than a region.
    const std::size_t sizes[] = {32768, 1, 15, 17, 3u << 20, 40000, 0, 5u << 20, 64};
    for (int round = 0; round < 3; ++round) {
        std::vector<Block> blocks;
        for (int copy = 0; copy < 8; ++copy)
            for (const std::size_t size : sizes) {
                auto* bytes = static_cast<unsigned char*>(allocate_bulk_memory(size));
                ASSERT_NE(bytes, nullptr);
                EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % alignof(std::max_align_t), 0u);
                const auto fill = static_cast<unsigned char>(blocks.size() * 7 + 1);
                std::memset(bytes, fill, size);
                blocks.push_back({bytes, size, fill});
            }
        // Every other block back first, then the rest: regions empty in any order.
        for (std::size_t i = 0; i < blocks.size(); i += 2) {
            ASSERT_TRUE(keeps_fill(blocks[i])) << "block " << i << ", round " << round;
            free_bulk_memory(blocks[i].bytes);
        }
        for (std::size_t i = 1; i < blocks.size(); i += 2) {
            ASSERT_TRUE(keeps_fill(blocks[i])) << "block " << i << ", round " << round;
            free_bulk_memory(blocks[i].bytes);
        }
    }
    free_bulk_memory(nullptr);
}

TEST(BulkMemory, BulkBytesGrowWithTheirContent) {
    platform::BulkBytes text = "<document>";
    for (int i = 0; i < 100000; ++i)
        text += "<a/>";
    text += "</document>";
    EXPECT_EQ(text.size(), 10u + 400000u + 11u);
    EXPECT_EQ(text.substr(text.size() - 15), "<a/></document>");
}

} // namespace
} // namespace enlazor
