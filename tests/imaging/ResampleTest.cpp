#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "host/HostError.h"
#include "imaging/ResampleReference.h"
#include "imaging/cDIBSection.h"
#include "support/ErrorOf.h"
#include "support/GdiLeakCheck.h"
#include "support/ParamName.h"

namespace {

using Pixel = std::array<int, 3>;  // blue, green, red
using Line = std::vector<Pixel>;

// A buffer whose lines, listed in memory order (bottom row first), hold the given pixels.
void Fill(cDIBSection& dib, const std::vector<Line>& lines) {
    ASSERT_TRUE(dib.Create(static_cast<int>(lines[0].size()), static_cast<int>(lines.size())));
    for (size_t r = 0; r < lines.size(); ++r)
        for (size_t x = 0; x < lines[r].size(); ++x)
            for (int k = 0; k < 3; ++k)
                dib.DIBSectionBitsPtr()[r * dib.BytesPerScanLine() + 3 * x + k] =
                    static_cast<std::uint8_t>(lines[r][x][k]);
}

std::vector<Line> Lines(const cDIBSection& dib) {
    std::vector<Line> lines(dib.Height(), Line(dib.Width()));
    for (int r = 0; r < dib.Height(); ++r)
        for (int x = 0; x < dib.Width(); ++x)
            for (int k = 0; k < 3; ++k)
                lines[r][x][k] = dib.DIBSectionBitsPtr()[r * dib.BytesPerScanLine() + 3 * x + k];
    return lines;
}

using testing_support::ErrorOf;

std::vector<std::uint8_t> Bytes(const cDIBSection& dib) {
    const std::uint8_t* bits = dib.DIBSectionBitsPtr();
    return std::vector<std::uint8_t>(bits, bits + std::size_t(dib.Height()) * dib.BytesPerScanLine());
}

class Resample : public GdiLeakCheck {};

TEST_F(Resample, EnlargingTwoPixelsToFourWeighsTheSecondAtQuarters) {
    cDIBSection source;
    const Line line{{0, 10, 20}, {200, 110, 40}};
    Fill(source, {line, line});
    const auto target = source.Resample(4, 4);
    ASSERT_TRUE(target);
    const Line expected{{0, 10, 20}, {50, 35, 25}, {100, 60, 30}, {150, 85, 35}};
    EXPECT_EQ(Lines(*target), (std::vector<Line>(4, expected)));
}

TEST_F(Resample, LinesFollowTheirOrderInMemory) {
    cDIBSection source;
    Fill(source, {Line(2, {0, 0, 0}), Line(2, {100, 100, 100})});
    const auto target = source.Resample(4, 2);
    ASSERT_TRUE(target);
    ASSERT_EQ(target->Width(), 2);
    EXPECT_EQ(Lines(*target), (std::vector<Line>{Line(2, {0, 0, 0}), Line(2, {25, 25, 25}),
                                                 Line(2, {50, 50, 50}), Line(2, {75, 75, 75})}));
}

TEST_F(Resample, HalfwayRoundsToEven) {
    cDIBSection source;
    const Line line{{0, 1, 5}, {1, 2, 6}};
    Fill(source, {line, line});
    const auto target = source.Resample(2, 4);
    ASSERT_TRUE(target);
    for (const Line& l : Lines(*target)) EXPECT_EQ(l[2], (Pixel{0, 2, 6}));
}

TEST_F(Resample, ShrinkingAveragesTheNeighbours) {
    cDIBSection source;
    const Line line{{0, 0, 0}, {100, 0, 0}, {200, 0, 0}, {250, 0, 0}};
    Fill(source, {line, line});
    const auto target = source.Resample(2, 2);
    ASSERT_TRUE(target);
    EXPECT_EQ(Lines(*target), (std::vector<Line>(2, Line{{0, 0, 0}, {150, 0, 0}})));
}

TEST_F(Resample, ToItsOwnSizeCopiesEveryByte) {
    cDIBSection source;
    ASSERT_TRUE(source.Create(5, 3));
    source.RandomiseBits(false);
    const auto target = source.Resample(3, 5);
    ASSERT_TRUE(target);
    EXPECT_EQ(Bytes(*target), Bytes(source));
    EXPECT_NE(target->hDib(), source.hDib());
}

struct ThinSource {
    int width, height;
};
class ResampleThin : public GdiLeakCheckOf<::testing::TestWithParam<ThinSource>> {};

TEST_P(ResampleThin, ToAnotherSizeIsOutOfRangeAndGivesNoBuffer) {
    cDIBSection source;
    ASSERT_TRUE(source.Create(GetParam().width, GetParam().height));
    source.RandomiseBits(true);
    std::unique_ptr<cDIBSection> target;
    EXPECT_EQ(ErrorOf([&] { target = source.Resample(GetParam().height + 1, GetParam().width + 1); }),
              host::kSubscriptOutOfRange);
    EXPECT_FALSE(target);
}

TEST_P(ResampleThin, ToItsOwnSizeIsCopied) {
    cDIBSection source;
    ASSERT_TRUE(source.Create(GetParam().width, GetParam().height));
    source.RandomiseBits(true);
    const auto target = source.Resample(GetParam().height, GetParam().width);
    ASSERT_TRUE(target);
    EXPECT_EQ(Bytes(*target), Bytes(source));
}

INSTANTIATE_TEST_SUITE_P(OnePixelWideOrOneLineHigh, ResampleThin,
                         ::testing::Values(ThinSource{1, 5}, ThinSource{7, 1}, ThinSource{1, 1}),
                         [](const auto& info) {
                             return "Width" + std::to_string(info.param.width) + "Height" +
                                    std::to_string(info.param.height);
                         });

TEST_F(Resample, ToASizeThePlatformRefusesGivesNoBuffer) {
    cDIBSection source;
    ASSERT_TRUE(source.Create(4, 4));
    EXPECT_FALSE(source.Resample(4, -1));
    EXPECT_FALSE(source.Resample(20000, 20000));  // more than 1 GiB of pixels
}

struct ZeroTarget {
    int sourceWidth, newHeight, newWidth, error;
};
class ResampleToNothing : public GdiLeakCheckOf<::testing::TestWithParam<ZeroTarget>> {};

TEST_P(ResampleToNothing, RaisesTheFloatingPointError) {
    cDIBSection source;
    ASSERT_TRUE(source.Create(GetParam().sourceWidth, 3));
    std::unique_ptr<cDIBSection> target;
    EXPECT_EQ(ErrorOf([&] { target = source.Resample(GetParam().newHeight, GetParam().newWidth); }),
              GetParam().error);
    EXPECT_FALSE(target);
}

// (W - 1) / 0 is a division by zero; 0 / 0 (a source one pixel wide) an invalid operation.
INSTANTIATE_TEST_SUITE_P(ZeroWidthOrHeight, ResampleToNothing,
                         ::testing::Values(ZeroTarget{3, 5, 0, host::kDivisionByZero},
                                           ZeroTarget{3, 0, 5, host::kDivisionByZero},
                                           ZeroTarget{1, 5, 0, host::kOverflow}),
                         [](const auto& info) {
                             return (info.param.newWidth == 0 ? "ZeroWidthFromWidth"
                                                              : "ZeroHeightFromWidth") +
                                    std::to_string(info.param.sourceWidth);
                         });

TEST_F(Resample, ANeverCreatedBufferIsOutOfRangeAtTheFirstRead) {
    cDIBSection source;
    EXPECT_EQ(ErrorOf([&] { source.Resample(3, 3); }), host::kSubscriptOutOfRange);
}

TEST_F(Resample, ABufferWithSizesButNoPixelsIsOutOfRange) {
    cDIBSection source;
    EXPECT_FALSE(source.Create(20000, 20000));
    EXPECT_EQ(ErrorOf([&] { source.Resample(3, 3); }), host::kSubscriptOutOfRange);
}

TEST_F(Resample, LeavesTheSourceUnchanged) {
    cDIBSection source;
    ASSERT_TRUE(source.Create(9, 7));
    source.RandomiseBits(false);
    const auto before = Bytes(source);
    const auto target = source.Resample(4, 13);
    EXPECT_EQ(Bytes(source), before);
}

// The fast resampling against the byte-by-byte one: random sizes (shrinking a little and a lot,
// enlarging, one way or both) and random pixels, filler bytes included.
TEST_F(Resample, GivesTheSameBytesAsTheByteByByteVersion) {
    std::mt19937 random(20240611);
    auto size = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int round = 0; round < 300; ++round) {
        cDIBSection source;
        ASSERT_TRUE(source.Create(size(2, round % 10 == 0 ? 400 : 40), size(2, 40)));
        for (std::size_t i = 0; i < std::size_t(source.Height()) * source.BytesPerScanLine(); ++i)
            source.DIBSectionBitsPtr()[i] = static_cast<std::uint8_t>(random());
        const int newWidth = size(1, 60), newHeight = size(1, 60);
        const auto fast = source.Resample(newHeight, newWidth);
        const auto plain = reference::Resample(source, newHeight, newWidth);
        ASSERT_TRUE(fast && plain);
        ASSERT_EQ(Bytes(*fast), Bytes(*plain))
            << source.Width() << "x" << source.Height() << " to " << newWidth << "x" << newHeight;
    }
}

TEST_F(Resample, FailsWhereTheByteByByteVersionFails) {
    const std::array<std::array<int, 4>, 6> cases{{
        {1, 4, 3, 3},
        {4, 1, 3, 3},
        {0, 0, 2, 2},
        {3, 3, 0, 4},
        {3, 3, 4, 0},
        {1, 3, 0, 2},
    }};
    for (const auto& [width, height, newWidth, newHeight] : cases) {
        cDIBSection source;
        source.Create(width, height);
        const int expected = ErrorOf([&] { reference::Resample(source, newHeight, newWidth); });
        EXPECT_NE(expected, 0);
        EXPECT_EQ(ErrorOf([&] { source.Resample(newHeight, newWidth); }), expected)
            << width << "x" << height << " to " << newWidth << "x" << newHeight;
    }
}

}  // namespace
