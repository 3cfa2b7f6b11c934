// JPEG files are decoded by libjpeg-turbo into the buffer's layout, to the toolkit's pixels; a file
// the library has to warn about is no picture.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <QBuffer>
#include <QImage>
#include <string>
#include <vector>

#include "platform/codec/DecodePicture.h"
#include "platform/codec/JpegDecoder.h"
#include "support/ParamName.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

QImage Ramp(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (y * 255) / height, (x * y) % 251));
    return image;
}

// The picture as libjpeg-turbo writes it with the given chroma subsampling (TJSAMP_*).
Bytes Compressed(const QImage& image, int subsampling, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int failed = tjCompress2(tj, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(),
                                   TJPF_RGB, &out, &size, subsampling, quality, 0);
    Bytes bytes = failed ? Bytes() : Bytes(out, out + size);
    tjFree(out);
    tjDestroy(tj);
    return bytes;
}

struct Kind {
    const char* name;
    int subsampling;
    int width, height;
};

class JpegKinds : public ::testing::TestWithParam<Kind> {};

TEST_P(JpegKinds, DecodeToTheToolkitsPixels) {
    const Bytes jpeg = Compressed(Ramp(GetParam().width, GetParam().height), GetParam().subsampling, 90);
    ASSERT_FALSE(jpeg.empty());
    const QImage toolkit =
        QImage::fromData(jpeg.data(), int(jpeg.size()), "JPG").convertToFormat(QImage::Format_RGB32);
    const platform::Decoded ours = platform::DecodeJpeg(jpeg);
    ASSERT_NE(ours.bits, nullptr) << platform::Describe(ours.declined);
    EXPECT_EQ(ours.bits->ToImage(), toolkit);
}

INSTANTIATE_TEST_SUITE_P(All, JpegKinds,
                         ::testing::Values(Kind{"Chroma420", TJSAMP_420, 301, 157},
                                           Kind{"Chroma422", TJSAMP_422, 64, 33},
                                           Kind{"Chroma444", TJSAMP_444, 17, 9},
                                           Kind{"Grey", TJSAMP_GRAY, 40, 31},
                                           Kind{"OnePixel", TJSAMP_420, 1, 1}),
                         testing_support::ByName);

TEST(JpegDecoder, AFileCutShortIsNoPictureEvenWithItsEndMarkPutBack) {
    const Bytes whole = Compressed(Ramp(400, 300), TJSAMP_420, 90);
    Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(whole.size() * 6 / 10));
    cut.insert(cut.end(), {0xff, 0xd9});
    EXPECT_EQ(platform::DecodeJpeg(cut).declined, platform::Declined::kCutShort);
    // Not handed to the toolkit either, which would fill the missing rows with grey.
    EXPECT_EQ(platform::DecodePicture(cut).outcome, platform::DecodedPicture::Outcome::kBroken);
}

}  // namespace
