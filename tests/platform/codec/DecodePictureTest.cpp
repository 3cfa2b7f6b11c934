#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/codec/DecodePicture.h"

using platform::DecodedPicture;
using platform::DecodePicture;
using Outcome = DecodedPicture::Outcome;
using Bytes = std::vector<std::uint8_t>;

namespace {

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = v & 0xff;
    b[at + 1] = (v >> 8) & 0xff;
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xff;
}

// A Windows bitmap file made by hand, the way a grabbing program writes one: file header, a
// 40-byte info header, a palette for 8 bits a pixel, then the rows (pixel bytes all `fill`).
struct Bitmap {
    std::int32_t width = 4, height = 3;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::uint16_t planes = 1;
    std::uint8_t fill = 0x80;

    std::size_t Stride() const {
        return (static_cast<std::size_t>(std::abs(width)) * bitCount + 31) / 32 * 4;
    }
    std::size_t PaletteBytes() const { return bitCount <= 8 ? (std::size_t{1} << bitCount) * 4 : 0; }

    Bytes Make() const {
        const std::size_t offset = 14 + headerSize + PaletteBytes();
        const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
        Bytes b(offset + (compression == 0 ? Stride() * rows : 0), 0);
        b[0] = 'B';
        b[1] = 'M';
        Put32(b, 2, static_cast<std::uint32_t>(b.size()));
        Put32(b, 10, static_cast<std::uint32_t>(offset));
        Put32(b, 14, headerSize);
        Put32(b, 18, static_cast<std::uint32_t>(width));
        Put32(b, 22, static_cast<std::uint32_t>(height));
        Put16(b, 26, planes);
        Put16(b, 28, bitCount);
        Put32(b, 30, compression);
        for (std::size_t i = 0; i < PaletteBytes() / 4; ++i)
            b[14 + headerSize + i * 4 + 1] = static_cast<std::uint8_t>(i);
        std::fill(b.begin() + static_cast<std::ptrdiff_t>(offset), b.end(), fill);
        return b;
    }
};

Bytes Encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return Bytes(data.begin(), data.end());
}

QImage Ramp(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 90));
    return image;
}

// A PNG that is only its signature, an IHDR for 1-bit grey of the given size, `padding` bytes and
// an IEND: what its header claims decides every check made before decoding.
Bytes PngClaiming(std::uint32_t width, std::uint32_t height, std::size_t padding) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) b.push_back((v >> shift) & 0xff);
    b.insert(b.end(), {1, 0, 0, 0, 0, 0, 0, 0, 0});  // depth 1, grey, then the CRC (unchecked here)
    b.resize(b.size() + padding);
    b.insert(b.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xae, 0x42, 0x60, 0x82});
    return b;
}

// Under AddressSanitizer, a process that loaded the toolkit's JPEG plugin makes LeakSanitizer's
// thread scan crash at exit (a thread-local block it cannot read); the normal build runs these.
bool JpegUnderSanitizer(const std::string& type) {
#if defined(__SANITIZE_ADDRESS__)
    return type == "image/jpeg";
#else
    return type.empty();
#endif
}

struct BrokenCase {
    const char* name;
    std::string type;
    std::function<Bytes()> bytes;
};

class BrokenPicture : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenPicture, IsNoPicture) {
    if (JpegUnderSanitizer(GetParam().type)) GTEST_SKIP() << "the toolkit's JPEG plugin and LeakSanitizer";
    const DecodedPicture decoded = DecodePicture(GetParam().bytes());
    EXPECT_EQ(decoded.outcome, Outcome::kBroken);
    EXPECT_FALSE(decoded.bits);
}

Bytes Cut(Bytes b, std::size_t keep) {
    b.resize(keep);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    HandMade, BrokenPicture,
    ::testing::Values(
        BrokenCase{"BitmapClaiming4000x4000In200Bytes", "image/bmp",
                   [] { return Cut(Bitmap{.width = 4000, .height = 4000}.Make(), 200); }},
        BrokenCase{"BitmapCutToAThirdOfItsRows", "image/bmp",
                   [] {
                       const Bytes whole = Bitmap{.width = 640, .height = 480}.Make();
                       return Cut(whole, 54 + (whole.size() - 54) / 3);
                   }},
        BrokenCase{"BitmapOneByteShort", "image/bmp",
                   [] {
                       const Bytes whole = Bitmap{}.Make();
                       return Cut(whole, whole.size() - 1);
                   }},
        BrokenCase{"BitmapTopDownCutShort", "image/bmp",
                   [] { return Cut(Bitmap{.width = 64, .height = -64}.Make(), 2000); }},
        BrokenCase{"BitmapOfWidthZero", "image/bmp", [] { return Bitmap{.width = 0}.Make(); }},
        BrokenCase{"BitmapOfNegativeWidth", "image/bmp", [] { return Bitmap{.width = -4}.Make(); }},
        BrokenCase{"BitmapOfHeightZero", "image/bmp", [] { return Bitmap{.height = 0}.Make(); }},
        BrokenCase{"BitmapWithTwoPlanes", "image/bmp", [] { return Bitmap{.planes = 2}.Make(); }},
        BrokenCase{"BitmapOfSevenBitsAPixel", "image/bmp", [] { return Bitmap{.bitCount = 7}.Make(); }},
        BrokenCase{"BitmapWithAnUnknownHeaderSize", "image/bmp",
                   [] { return Bitmap{.headerSize = 200}.Make(); }},
        BrokenCase{"BitmapWithAPngInside", "image/bmp", [] { return Bitmap{.compression = 5}.Make(); }},
        BrokenCase{"BitmapWhosePixelsStartBeyondItsEnd", "image/bmp",
                   [] {
                       Bytes b = Bitmap{}.Make();
                       Put32(b, 10, static_cast<std::uint32_t>(b.size() + 1));
                       return b;
                   }},
        BrokenCase{"RunLengthBitmapWithoutItsEndMark", "image/bmp",
                   [] {
                       Bytes b = Bitmap{.width = 8, .height = 2, .bitCount = 8, .compression = 1}.Make();
                       b.insert(b.end(), {8, 1, 0, 0, 8, 2, 0, 0});  // two rows, no end of bitmap
                       return b;
                   }},
        BrokenCase{"NoBitmapAtAll", "image/bmp", [] { return Bytes(100, 'x'); }},
        BrokenCase{"EmptyBytes", "image/png", [] { return Bytes(); }},
        BrokenCase{"PngCutInItsPixelData", "image/png",
                   [] {
                       const Bytes whole = Encoded(Ramp(300, 200), "PNG");
                       return Cut(whole, whole.size() / 2);
                   }},
        BrokenCase{"PngClaimingMoreThanItsLengthCanInflateTo", "image/png",
                   [] { return PngClaiming(40000, 40000, 100); }},
        BrokenCase{"JpegCutShort", "image/jpeg",
                   [] {
                       const Bytes whole = Encoded(Ramp(300, 200), "JPG", 90);
                       return Cut(whole, whole.size() * 2 / 3);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

struct WholeCase {
    const char* name;
    std::string type;
    std::function<Bytes()> bytes;
    QSize size;
};

class WholePicture : public ::testing::TestWithParam<WholeCase> {};

TEST_P(WholePicture, DecodesToEveryPixel) {
    if (JpegUnderSanitizer(GetParam().type)) GTEST_SKIP() << "the toolkit's JPEG plugin and LeakSanitizer";
    const DecodedPicture decoded = DecodePicture(GetParam().bytes());
    ASSERT_EQ(decoded.outcome, Outcome::kPicture);
    ASSERT_TRUE(decoded.bits);
    EXPECT_EQ(QSize(decoded.bits->Width(), decoded.bits->Height()), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    HandMade, WholePicture,
    ::testing::Values(
        WholeCase{"Bitmap24BitsBottomUp", "image/bmp", [] { return Bitmap{}.Make(); }, QSize(4, 3)},
        WholeCase{"Bitmap24BitsTopDown", "image/bmp", [] { return Bitmap{.height = -3}.Make(); },
                  QSize(4, 3)},
        WholeCase{"Bitmap32Bits", "image/bmp", [] { return Bitmap{.bitCount = 32}.Make(); }, QSize(4, 3)},
        WholeCase{"Bitmap8BitsWithPalette", "image/bmp",
                  [] { return Bitmap{.width = 5, .bitCount = 8}.Make(); }, QSize(5, 3)},
        WholeCase{"RunLengthBitmapWithItsEndMark", "image/bmp",
                  [] {
                      Bytes b = Bitmap{.width = 8, .height = 2, .bitCount = 8, .compression = 1}.Make();
                      b.insert(b.end(), {8, 1, 0, 0, 8, 2, 0, 1});
                      return b;
                  },
                  QSize(8, 2)},
        WholeCase{"BitmapFromTheToolkit", "image/bmp", [] { return Encoded(Ramp(33, 17), "BMP"); },
                  QSize(33, 17)},
        WholeCase{"Png", "image/png", [] { return Encoded(Ramp(300, 200), "PNG"); }, QSize(300, 200)},
        WholeCase{"Jpeg", "image/jpeg", [] { return Encoded(Ramp(300, 200), "JPG", 90); }, QSize(300, 200)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DecodePicture, KeepsThePixelsOfABitmap) {
    const Bytes bytes = Bitmap{.width = 2, .height = 2, .fill = 0x40}.Make();
    const DecodedPicture decoded = DecodePicture(bytes);
    ASSERT_EQ(decoded.outcome, Outcome::kPicture);
    EXPECT_EQ(decoded.bits->ToImage().pixel(1, 1), qRgb(0x40, 0x40, 0x40));
}

TEST(DecodePicture, TransparencyIsLaidOverWhite) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 0));  // hidden red
    image.setPixel(1, 0, qRgba(0, 0, 255, 255));
    const DecodedPicture decoded = DecodePicture(Encoded(image, "PNG"));
    ASSERT_EQ(decoded.outcome, Outcome::kPicture);
    const QImage seen = decoded.bits->ToImage();
    EXPECT_EQ(seen.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(seen.pixel(1, 0), qRgb(0, 0, 255));
}

TEST(DecodePicture, APictureNoBitmapCanHoldIsTooLargeWithItsSize) {
    // 20000 x 20000 is more than a bitmap holds; the claim is plausible for the length, so the
    // size is all that stops it, before anything is allocated.
    const DecodedPicture decoded = DecodePicture(PngClaiming(20000, 20000, 60000));
    EXPECT_EQ(decoded.outcome, Outcome::kTooLarge);
    EXPECT_EQ(decoded.size, QSize(20000, 20000));
}

TEST(DecodePicture, ThePictureLimitCountsTheThreeBytesAPixelThatTheBufferKeeps) {
    // 16384 rows of 49152 bytes: 21845 of them fit in the largest pixel block, one more does not.
    // (At four bytes a pixel, the first would have been refused too.)
    EXPECT_EQ(DecodePicture(PngClaiming(16384, 21846, 50000)).outcome, Outcome::kTooLarge);
    EXPECT_NE(DecodePicture(PngClaiming(16384, 21845, 50000)).outcome, Outcome::kTooLarge);
}

}  // namespace
