#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/memory/PixelBytes.h"
#include "platform/memory/PixelMemory.h"

namespace {

using namespace platform;

TEST(PixelMemory, AReusedBlockReadsAllZeros) {
    constexpr std::size_t kSize = 3 << 20;
    std::uint8_t* first;
    {
        PixelBlock block = PixelBlock::Zeroed(kSize);
        ASSERT_TRUE(block);
        first = block.Data();
        std::memset(first, 0xEE, kSize);
    }
    PixelBlock again = PixelBlock::Zeroed(kSize - 100);
    ASSERT_TRUE(again);
    EXPECT_EQ(again.Data(), first);  // the kept block
    const std::vector<std::uint8_t> zeros(kSize - 100, 0);
    EXPECT_EQ(std::memcmp(again.Data(), zeros.data(), zeros.size()), 0);
    PixelBlock larger = PixelBlock::Zeroed(kSize * 2);
    EXPECT_NE(larger.Data(), first);
}

// A transfer of unknown size comes in pieces. Once it outgrows the block its first piece took, it
// moves into the largest kept block and fills it without being copied again, whole.
TEST(PixelMemory, AGrowingTransferMovesOnceIntoTheLargestKeptBlock) {
    PixelBlock::ReleaseKept();
    constexpr std::size_t kPiece = 64 << 10;
    std::uint8_t* larger;
    {
        PixelBlock small = PixelBlock::Uninitialised(2 << 20), large = PixelBlock::Uninitialised(8 << 20);
        ASSERT_TRUE(small && large);
        larger = large.Data();
    }
    PixelBytes bytes;
    std::vector<std::uint8_t> piece(kPiece);
    for (int i = 0; i < 64; ++i) {  // 4 MB: past the smaller kept block
        std::memset(piece.data(), i, kPiece);
        bytes.append(piece.data(), kPiece);
        if (i == 0) {
            EXPECT_NE(bytes.data(), larger) << "a single piece takes no kept block";
        } else {
            ASSERT_EQ(bytes.data(), larger) << "after piece " << i;
        }
    }
    ASSERT_EQ(bytes.size(), 64 * kPiece);
    for (int i = 0; i < 64; ++i) {
        const std::uint8_t* at = bytes.data() + i * kPiece;
        EXPECT_TRUE(at[0] == i && at[kPiece - 1] == i && std::memcmp(at, at + 1, kPiece - 1) == 0)
            << "piece " << i;
    }
}

}  // namespace
