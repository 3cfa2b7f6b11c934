#include <gtest/gtest.h>

#include <QMetaEnum>

#include "host/Picture.h"
#include "platform/gdi/Gdi.h"
#include "support/GdiLeakCheck.h"
#include "support/ParamName.h"

namespace {

QImage Pattern(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 37 % 256, y * 59 % 256, (x + y) * 11 % 256));
    return image.convertToFormat(format);
}

class PictureFormats : public GdiLeakCheckOf<::testing::TestWithParam<QImage::Format>> {};

TEST_P(PictureFormats, KeepsEveryPixel) {
    const QImage image = Pattern(7, 5, GetParam());
    const host::Picture picture(image);
    ASSERT_NE(picture.Handle(), 0u);
    EXPECT_EQ(picture.ToImage(), image.convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(ClipboardFormats, PictureFormats,
                         ::testing::Values(QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888,
                                           QImage::Format_BGR888, QImage::Format_RGB16),
                         [](const auto& info) {
                             return testing_support::ParamName(
                                 QMetaEnum::fromType<QImage::Format>().valueToKey(info.param));
                         });

TEST(PictureAlpha, TransparencyIsLaidOverWhite) {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 0));     // hidden red
    image.setPixel(1, 0, qRgba(0, 0, 255, 128));   // half blue
    image.setPixel(2, 0, qRgba(10, 20, 30, 255));  // opaque
    const QImage seen = host::Picture(image).ToImage();
    EXPECT_EQ(seen.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_NEAR(qRed(seen.pixel(1, 0)), 127, 1);
    EXPECT_EQ(qBlue(seen.pixel(1, 0)), 255);
    EXPECT_EQ(seen.pixel(2, 0), qRgb(10, 20, 30));
}

class PictureSize : public GdiLeakCheckOf<::testing::TestWithParam<std::pair<int, int>>> {};

TEST_P(PictureSize, IsInHimetricRoundedHalfToEven) {
    const host::Picture picture(QImage(GetParam().first, 2, QImage::Format_RGB32));
    EXPECT_EQ(picture.Width(), GetParam().second);
    EXPECT_EQ(picture.Height(), 53);  // 52.9 for 2 pixels
}

// 12 pixels are exactly 317.5; 36 are 952.5.
INSTANTIATE_TEST_SUITE_P(Widths, PictureSize,
                         ::testing::Values(std::pair{1, 26}, std::pair{3, 79}, std::pair{12, 318},
                                           std::pair{36, 952}, std::pair{96, 2540}, std::pair{1366, 36142},
                                           std::pair{3840, 101600}),
                         [](const auto& info) { return "Width" + std::to_string(info.param.first); });

class Picture : public GdiLeakCheck {};

TEST_F(Picture, WithoutAnImageHasNoBitmap) {
    const host::Picture none(QImage{});
    EXPECT_EQ(none.Handle(), 0u);
    EXPECT_EQ(none.Width(), 0);
    EXPECT_TRUE(none.ToImage().isNull());
    EXPECT_EQ(host::Picture().Handle(), 0u);
}

TEST_F(Picture, FreesItsBitmapWhenReplacedOrGone) {
    host::Picture picture(Pattern(3, 3, QImage::Format_RGB32));
    const platform::HBITMAP first = picture.Handle();
    EXPECT_EQ(platform::GdiObjectsAlive(), 1u);
    picture = host::Picture(Pattern(4, 4, QImage::Format_RGB32));
    EXPECT_EQ(platform::GdiObjectsAlive(), 1u);
    EXPECT_NE(picture.Handle(), first);
    EXPECT_EQ(platform::GetObjectA(first, sizeof(platform::BITMAP), nullptr), 0);
}

}  // namespace
