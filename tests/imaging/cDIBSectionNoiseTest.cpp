#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "host/HostError.h"
#include "host/Random.h"
#include "imaging/cDIBSection.h"
#include "support/GdiLeakCheck.h"

namespace {

constexpr std::uint8_t kFiller = 0xAB;

// A 5 x 4 buffer (15 pixel bytes and 1 filler byte a line) whose filler bytes are marked.
void MakeMarked(cDIBSection& dib) {
    ASSERT_TRUE(dib.Create(5, 4));
    for (int r = 0; r < 4; ++r) dib.DIBSectionBitsPtr()[r * 16 + 15] = kFiller;
}

std::uint8_t At(const cDIBSection& dib, int column, int row) {
    return dib.DIBSectionBitsPtr()[row * dib.BytesPerScanLine() + column];
}

std::uint8_t Draw() { return static_cast<std::uint8_t>(std::nearbyint(double(host::Rnd()) * 255.0)); }

// Whether one of the seeds that the clock gave between two readings, drawn from in the order
// given, yields the buffer's bytes.
template <class Matches>
bool SomeSeedBetween(float before, float after, Matches matches) {
    for (float seed = before; seed <= after; seed = std::nextafter(seed, after + 1.0f)) {
        host::Randomize(seed);
        if (matches()) return true;
    }
    return false;
}

class RandomiseBits : public GdiLeakCheck {};

TEST_F(RandomiseBits, GreyGivesEqualBytesInEachPixelAndKeepsTheFillers) {
    cDIBSection dib;
    MakeMarked(dib);
    dib.RandomiseBits(true);
    std::set<int> values;
    for (int r = 0; r < 4; ++r) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(At(dib, 3 * x, r), At(dib, 3 * x + 1, r));
            EXPECT_EQ(At(dib, 3 * x, r), At(dib, 3 * x + 2, r));
            values.insert(At(dib, 3 * x, r));
        }
        EXPECT_EQ(At(dib, 15, r), kFiller);
    }
    EXPECT_GT(values.size(), 5u);
}

TEST_F(RandomiseBits, ColourLeavesBlueAtZeroAndKeepsTheFillers) {
    cDIBSection dib;
    MakeMarked(dib);
    std::memset(dib.DIBSectionBitsPtr(), 0x55, 15);  // blue must be written, not left
    dib.RandomiseBits();
    std::set<int> greens, reds;
    for (int r = 0; r < 4; ++r) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(At(dib, 3 * x, r), 0);
            greens.insert(At(dib, 3 * x + 1, r));
            reds.insert(At(dib, 3 * x + 2, r));
        }
        EXPECT_EQ(At(dib, 15, r), kFiller);
    }
    EXPECT_GT(greens.size(), 5u);
    EXPECT_GT(reds.size(), 5u);
}

TEST_F(RandomiseBits, GreyDrawsRowByRowFromTheBottomLine) {
    cDIBSection dib;
    MakeMarked(dib);
    const float before = host::SecondsSinceMidnight();
    dib.RandomiseBits(true);
    const float after = host::SecondsSinceMidnight();
    if (after < before) GTEST_SKIP() << "the clock passed midnight";
    EXPECT_TRUE(SomeSeedBetween(before, after, [&] {
        for (int r = 0; r < 4; ++r)
            for (int x = 0; x < 5; ++x)
                if (At(dib, 3 * x, r) != Draw()) return false;
        return true;
    }));
}

TEST_F(RandomiseBits, ColourDrawsColumnByColumnGreenBeforeRed) {
    cDIBSection dib;
    MakeMarked(dib);
    const float before = host::SecondsSinceMidnight();
    dib.RandomiseBits(false);
    const float after = host::SecondsSinceMidnight();
    if (after < before) GTEST_SKIP() << "the clock passed midnight";
    EXPECT_TRUE(SomeSeedBetween(before, after, [&] {
        for (int x = 0; x < 5; ++x)
            for (int r = 0; r < 4; ++r)
                if (At(dib, 3 * x + 1, r) != Draw() || At(dib, 3 * x + 2, r) != Draw()) return false;
        return true;
    }));
}

TEST_F(RandomiseBits, ANeverCreatedBufferIsLeftAlone) {
    cDIBSection dib;
    dib.RandomiseBits(true);
    dib.RandomiseBits(false);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
}

TEST_F(RandomiseBits, ABufferWithSizesButNoPixelsIsOutOfRange) {
    cDIBSection dib;
    EXPECT_FALSE(dib.Create(20000, 20000));
    try {
        dib.RandomiseBits(true);
        ADD_FAILURE() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::kSubscriptOutOfRange);
    }
}

}  // namespace
