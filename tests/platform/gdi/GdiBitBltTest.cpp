#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>

#include "platform/gdi/BitBlt.h"
#include "platform/gdi/BitmapImage.h"
#include "platform/gdi/Desktop.h"
#include "platform/gdi/Gdi.h"
#include "support/GdiLeakCheck.h"
#include "support/ParamName.h"

namespace {

using namespace platform;

// A DIB section selected into a memory device context, filled with random bytes.
class Canvas {
public:
    Canvas(int width, int height, int bitCount = 24, bool bottomUp = true, unsigned seed = 1) {
        BITMAPINFO info{};
        info.bmiHeader = {
            40, width, bottomUp ? height : -height, 1, static_cast<std::uint16_t>(bitCount), BI_RGB, 0, 0, 0,
            0,  0};
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(0, &info, DIB_RGB_COLORS, &bits, 0, 0);
        bits_ = static_cast<std::uint8_t*>(bits);
        size_ = std::size_t((width * bitCount + 31) / 32 * 4) * height;
        std::mt19937 random(seed);
        for (std::size_t i = 0; i < size_; ++i) bits_[i] = static_cast<std::uint8_t>(random());
        dc_ = CreateCompatibleDC(0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    // Sets every byte, the fillers at the ends of the rows too.
    void Fill(std::uint8_t byte) { std::memset(bits_, byte, size_); }
    std::vector<std::uint8_t> Bytes() const { return {bits_, bits_ + size_}; }
    QImage Image() const { return ReadBitmapImage(bitmap_); }

private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ previous_;
    std::uint8_t* bits_;
    std::size_t size_;
};

// Source 0xCC (1100 1100) and destination 0xAA (1010 1010) meet in all four pairs of bits, so the
// byte an operation makes of them is its whole truth table, worked out here by hand. Windows numbers
// the operations by these same tables, so each is also the middle byte of its operation's code.
struct RasterCase {
    const char* name;
    DWORD rop;
    std::uint8_t result;
};
class RasterOperation : public GdiLeakCheckOf<::testing::TestWithParam<RasterCase>> {};

TEST_P(RasterOperation, CombinesEachColourByteAndLeavesTheFillers) {
    Canvas source(3, 2, 24, true), dest(3, 2, 24, true);
    source.Fill(0xCC);
    dest.Fill(0xAA);
    ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, 3, 2, source.dc(), 0, 0, GetParam().rop));
    const auto after = dest.Bytes();
    for (std::size_t i = 0; i < after.size(); ++i) {
        const bool filler = i % 12 >= 9;  // a row's 9 bytes are padded to 12
        EXPECT_EQ(after[i], filler ? 0xAA : GetParam().result) << "byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, RasterOperation,
                         ::testing::Values(RasterCase{"SRCCOPY", SRCCOPY, 0xCC},          // s
                                           RasterCase{"SRCPAINT", SRCPAINT, 0xEE},        // s or d
                                           RasterCase{"SRCAND", SRCAND, 0x88},            // s and d
                                           RasterCase{"SRCINVERT", SRCINVERT, 0x66},      // s xor d
                                           RasterCase{"SRCERASE", SRCERASE, 0x44},        // s and not d
                                           RasterCase{"NOTSRCCOPY", NOTSRCCOPY, 0x33},    // not s
                                           RasterCase{"NOTSRCERASE", NOTSRCERASE, 0x11},  // not (s or d)
                                           RasterCase{"MERGEPAINT", MERGEPAINT, 0xBB},    // not s or d
                                           RasterCase{"DSTINVERT", DSTINVERT, 0x55},      // not d
                                           RasterCase{"BLACKNESS", BLACKNESS, 0x00},
                                           RasterCase{"WHITENESS", WHITENESS, 0xFF}),
                         testing_support::ByName);

class Formats : public GdiLeakCheckOf<::testing::TestWithParam<std::tuple<int, bool, int, bool>>> {};

TEST_P(Formats, CopyThePictureWhateverTheDepthAndOrientation) {
    const auto [sourceBits, sourceBottomUp, destBits, destBottomUp] = GetParam();
    const Canvas source(5, 3, sourceBits, sourceBottomUp, 3);
    const Canvas dest(5, 3, destBits, destBottomUp, 4);
    ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, 5, 3, source.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(dest.Image(), source.Image());
    if (destBits == 32) {
        for (std::size_t i = 3; i < dest.Bytes().size(); i += 4) EXPECT_EQ(dest.Bytes()[i], 0);
    }
}

std::string FormatName(int bits, bool bottomUp) {
    return std::to_string(bits) + (bottomUp ? "BottomUp" : "TopDown");
}

std::string FormatsName(const ::testing::TestParamInfo<Formats::ParamType>& info) {
    const auto [sourceBits, sourceBottomUp, destBits, destBottomUp] = info.param;
    return "From" + FormatName(sourceBits, sourceBottomUp) + "To" + FormatName(destBits, destBottomUp);
}

INSTANTIATE_TEST_SUITE_P(DepthsAndOrientations, Formats,
                         ::testing::Combine(::testing::Values(24, 32), ::testing::Bool(),
                                            ::testing::Values(24, 32), ::testing::Bool()),
                         FormatsName);

struct Rect {
    const char* name;
    int x, y, cx, cy, x1, y1;
};
class Clipping : public GdiLeakCheckOf<::testing::TestWithParam<Rect>> {};

TEST_P(Clipping, CopiesOnlyWhatLiesInsideBothSurfaces) {
    const auto [name, x, y, cx, cy, x1, y1] = GetParam();
    const Canvas source(4, 3, 24, true, 5);
    const Canvas dest(5, 4, 32, false, 6);
    const QImage from = source.Image();
    QImage expected = dest.Image();
    for (int dy = 0; dy < 4; ++dy)
        for (int dx = 0; dx < 5; ++dx) {
            const long long sx = 0LL + dx - x + x1, sy = 0LL + dy - y + y1;
            if (dx >= x && dx < 0LL + x + cx && dy >= y && dy < 0LL + y + cy && sx >= 0 && sx < 4 &&
                sy >= 0 && sy < 3)
                expected.setPixel(dx, dy, from.pixel(int(sx), int(sy)));
        }
    EXPECT_TRUE(BitBlt(dest.dc(), x, y, cx, cy, source.dc(), x1, y1, SRCCOPY));
    EXPECT_EQ(dest.Image(), expected);
}

INSTANTIATE_TEST_SUITE_P(Rectangles, Clipping,
                         ::testing::Values(Rect{"WholeSource", 0, 0, 4, 3, 0, 0},
                                           Rect{"StartsLeftOfAndAboveTheDestination", -2, -1, 9, 9, 0, 0},
                                           Rect{"RunsPastTheDestinationsEdges", 3, 2, 9, 9, 0, 0},
                                           Rect{"StartsLeftOfAndAboveTheSource", 0, 0, 9, 9, -2, -1},
                                           Rect{"InsideBoth", 1, 1, 2, 2, 2, 1},
                                           Rect{"StartsPastTheSourcesEnd", 0, 0, 5, 4, 4, 3},
                                           Rect{"NegativeWidth", 0, 0, -3, 2, 0, 0},
                                           Rect{"ZeroHeight", 0, 0, 3, 0, 0, 0},
                                           Rect{"SumsPast32Bits", INT32_MAX - 1, 0, 5, 5, INT32_MIN, 0},
                                           Rect{"LargestSize", -5, -5, INT32_MAX, INT32_MAX, -5, -5}),
                         testing_support::ByName);

class Blit : public GdiLeakCheck {};

TEST_F(Blit, AnUnknownRasterOperationChangesNothing) {
    const Canvas source(3, 3, 24, true, 1), dest(3, 3, 24, true, 2);
    const auto before = dest.Bytes();
    EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 3, 3, source.dc(), 0, 0, 0x00F00021));  // a pattern copy
    EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 3, 3, source.dc(), 0, 0, 0));
    EXPECT_EQ(dest.Bytes(), before);
}

TEST_F(Blit, DeviceContextsThatAreNotThereAreRefused) {
    const Canvas dest(3, 3);
    const auto before = dest.Bytes();
    EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 3, 3, 0x5554, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(0, 0, 0, 3, 3, dest.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 3, 3, 0, 0, 0, WHITENESS));  // needs no source
    EXPECT_NE(dest.Bytes(), before);
}

TEST_F(Blit, OverlappingPartsOfOneBitmapCopyAsIfThroughACopy) {
    const Canvas canvas(6, 4, 24, true, 9);
    const QImage before = canvas.Image();
    ASSERT_TRUE(BitBlt(canvas.dc(), 1, 1, 5, 3, canvas.dc(), 0, 0, SRCCOPY));
    QImage expected = before;
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 6; ++x) expected.setPixel(x, y, before.pixel(x - 1, y - 1));
    EXPECT_EQ(canvas.Image(), expected);
}

TEST_F(Blit, TheScreenReadsAsBlackAndKeepsNothing) {
    const HDC screen = GetDC(GetDesktopWindow());
    const Canvas canvas(4, 4, 24, true, 2);
    const auto before = canvas.Bytes();
    EXPECT_TRUE(BitBlt(screen, 0, 0, 4, 4, canvas.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(canvas.Bytes(), before);
    EXPECT_TRUE(BitBlt(canvas.dc(), 0, 0, 4, 4, screen, 0, 0, SRCCOPY));
    QImage black(4, 4, QImage::Format_RGB32);
    black.fill(qRgb(0, 0, 0));
    if (ScreenSurface().width >= 4 && ScreenSurface().height >= 4) {
        EXPECT_EQ(canvas.Image(), black);
    }
    ReleaseDC(GetDesktopWindow(), screen);
}

}  // namespace
