// Bitmap files as grabbing programs offer them are read by our decoder, every other file is left
// to the toolkit's; either way the picture has the toolkit's pixels (made opaque).
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/codec/BmpDecoder.h"
#include "platform/codec/DecodePicture.h"
#include "platform/picture/Opaque.h"
#include "support/ParamName.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::size_t at, std::uint32_t v, int size = 4) {
    for (int i = 0; i < size; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

struct Kind {
    const char* name;
    int bits = 24;
    bool topDown = false;
    std::uint32_t infoSize = 40;
    std::uint32_t compression = 0;  // BI_RGB; 3 is BI_BITFIELDS
    std::uint32_t masks[4] = {0x00ff0000, 0x0000ff00, 0x000000ff, 0};
    std::size_t cutBy = 0;  // bytes missing at the end
    int width = 13, height = 7;
};

Bytes Bmp(const Kind& k) {
    const std::size_t stride = (std::size_t(k.width) * k.bits + 31) / 32 * 4;
    // A 40-byte header with BI_BITFIELDS has its three masks after it.
    const bool masksAfter = k.infoSize == 40 && k.compression == 3;
    const std::size_t offset = 14 + k.infoSize + (masksAfter ? 12 : 0);
    Bytes b(offset + stride * k.height);
    b[0] = 'B';
    b[1] = 'M';
    Put(b, 2, std::uint32_t(b.size()));
    Put(b, 10, std::uint32_t(offset));
    Put(b, 14, k.infoSize);
    Put(b, 18, std::uint32_t(k.width));
    Put(b, 22, std::uint32_t(k.topDown ? -k.height : k.height));
    Put(b, 26, 1, 2);
    Put(b, 28, std::uint32_t(k.bits), 2);
    Put(b, 30, k.compression);
    Put(b, 34, std::uint32_t(stride * k.height));
    // The masks follow the 40-byte header's fields, in the header (versions 4 and 5) or after it.
    if (masksAfter || k.infoSize >= 56)
        for (int i = 0; i < (masksAfter ? 3 : 4); ++i) Put(b, 54 + 4 * i, k.masks[i]);
    for (std::size_t i = offset; i < b.size(); ++i) b[i] = std::uint8_t(i * 29 + (i >> 7));
    b.resize(b.size() - k.cutBy);
    return b;
}

// Why our decoder leaves a case to the toolkit (the cases named "Left..."), or kNot for one it takes.
platform::Declined WhyLeft(const std::string& name) {
    using platform::Declined;
    if (name.rfind("Left", 0) != 0) return Declined::kNot;
    if (name == "LeftCutShort") return Declined::kCutShort;
    if (name == "LeftBitFieldsV5WithAlpha") return Declined::kTransparent;
    return Declined::kOtherKind;
}

class BmpKinds : public ::testing::TestWithParam<Kind> {};

TEST_P(BmpKinds, BecomeTheToolkitsPixelsWhicheverDecoderTakesThem) {
    const Bytes bmp = Bmp(GetParam());
    const QImage toolkit = platform::Opaque(QImage::fromData(bmp.data(), int(bmp.size()), "BMP"));
    const platform::Decoded ours = platform::DecodePlainBmp(bmp);
    EXPECT_EQ(ours.declined, WhyLeft(GetParam().name)) << platform::Describe(ours.declined);
    EXPECT_EQ(ours.bits != nullptr, ours.declined == platform::Declined::kNot);
    const platform::DecodedPicture decoded = platform::DecodePicture(bmp);
    // A file cut short is no picture, though the toolkit would fill its missing rows with black.
    ASSERT_EQ(decoded.bits != nullptr, !toolkit.isNull() && GetParam().cutBy == 0);
    if (decoded.bits) {
        EXPECT_EQ(decoded.bits->ToImage(), toolkit);
    }
}

TEST_P(BmpKinds, TakeTheTransfersMemoryOnlyWhereItsRowsAreTheBuffersLayout) {
    const Bytes bmp = Bmp(GetParam());
    platform::PixelBytes transfer;
    transfer.append(bmp.data(), bmp.size());
    const platform::DecodedPicture decoded = platform::DecodePicture(transfer);
    const platform::DecodedPicture copied = platform::DecodePicture(bmp);
    ASSERT_EQ(decoded.bits != nullptr, copied.bits != nullptr);
    const std::string name = GetParam().name;
    const bool taken = name == "Rgb24" || name == "Rgb24V5";  // 24-bit rows, bottom row first
    EXPECT_EQ(transfer.empty(), taken);
    if (!taken) {
        EXPECT_TRUE(std::equal(transfer.begin(), transfer.end(), bmp.begin(), bmp.end()));
    }
    if (!decoded.bits) return;
    // The next transfer must not show through the picture, and the file's filler bytes (not 0
    // here) are 0 in the picture's rows.
    transfer.resize(bmp.size());
    std::fill(transfer.data(), transfer.data() + transfer.size(), 0xee);
    EXPECT_EQ(decoded.bits->ToImage(), copied.bits->ToImage());
    for (int y = 0; y < decoded.bits->Height(); ++y)
        for (int i = decoded.bits->Width() * 3; i < decoded.bits->Stride(); ++i)
            ASSERT_EQ(decoded.bits->Row(y)[i], 0) << "row " << y;
}

INSTANTIATE_TEST_SUITE_P(
    All, BmpKinds,
    ::testing::Values(
        Kind{"Rgb24"}, Kind{"Rgb24TopDown", 24, true}, Kind{"Rgb32", 32}, Kind{"Rgb32TopDown", 32, true},
        Kind{"BitFields32", 32, false, 40, 3},
        Kind{"BitFieldsV5", 32, false, 124, 3, {0x00ff0000, 0x0000ff00, 0x000000ff, 0}},
        Kind{"LeftBitFieldsV5WithAlpha", 32, false, 124, 3, {0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000}},
        Kind{"Rgb24V5", 24, false, 124}, Kind{"LeftCutShort", 24, false, 40, 0, {}, 5},
        Kind{"LeftPalette8", 8}, Kind{"LeftRgb16", 16},
        Kind{"LeftOtherMasks", 32, false, 40, 3, {0x000000ff, 0x0000ff00, 0x00ff0000, 0}},
        Kind{"LeftRunLength", 24, false, 40, 1}),
    testing_support::ByName);

}  // namespace
