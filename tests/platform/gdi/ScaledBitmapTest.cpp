// Thumbnails of a bitmap: each pixel the plain average of the block it covers (of a third of the
// rows of a block taller than four, and at least four), and to the eye the toolkit's smooth scaling
// of the same picture.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "platform/gdi/BitmapImage.h"
#include "platform/gdi/Gdi.h"
#include "support/GdiLeakCheck.h"
#include "support/ParamName.h"

namespace {

using namespace platform;

// A picture of smooth shapes with noise on them, like a photograph or a screen.
QImage Natural(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int r = int(120 + 100 * std::sin(x * 0.05) + random() % 20);
            const int g = int(120 + 90 * std::cos(y * 0.07 + x * 0.01) + random() % 20);
            image.setPixel(x, y, qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), (x * y) % 256));
        }
    return image;
}

struct Thumbnail {
    const char* name;
    int width, height, toWidth, toHeight;
    bool bottomUp24;  // the picture as a clipboard picture's 24-bit bottom-up bitmap, else as 32-bit rows
};

class ScaledBitmap : public GdiLeakCheckOf<::testing::TestWithParam<Thumbnail>> {
protected:
    // The picture in a bitmap of the case's kind.
    HBITMAP Bitmap(const QImage& image) {
        if (!GetParam().bottomUp24) return CreateBitmapFromImage(image);
        return CreateBitmapFromPicture(PictureBits::FromImage(image));
    }
};

TEST_P(ScaledBitmap, EachPixelIsTheAverageOfItsBlock) {
    const Thumbnail t = GetParam();
    const QImage image = Natural(t.width, t.height);
    const HBITMAP bitmap = Bitmap(image);
    const QImage thumbnail = ScaledBitmapImage(bitmap, t.toWidth, t.toHeight);
    ASSERT_EQ(thumbnail.size(), QSize(t.toWidth, t.toHeight));
    for (int y = 0; y < t.toHeight; ++y)
        for (int x = 0; x < t.toWidth; ++x) {
            const int left = x * t.width / t.toWidth, right = (x + 1) * t.width / t.toWidth;
            const int top = y * t.height / t.toHeight, bottom = (y + 1) * t.height / t.toHeight;
            // Every row of a block of up to four; else a third of them, at least four, each in the
            // middle of its share.
            std::vector<int> rows;
            const int taken = std::min(bottom - top, std::max(4, (bottom - top + 2) / 3));
            for (int i = 0; i < taken; ++i) rows.push_back(top + (2 * i + 1) * (bottom - top) / (2 * taken));
            double sum[3] = {0, 0, 0};
            for (int v : rows)
                for (int u = left; u < right; ++u) {
                    sum[0] += qRed(image.pixel(u, v));
                    sum[1] += qGreen(image.pixel(u, v));
                    sum[2] += qBlue(image.pixel(u, v));
                }
            const double n = double(right - left) * taken;
            const QRgb p = thumbnail.pixel(x, y);
            ASSERT_EQ(qRed(p), int(std::floor(sum[0] / n + 0.5))) << x << "," << y;
            ASSERT_EQ(qGreen(p), int(std::floor(sum[1] / n + 0.5))) << x << "," << y;
            ASSERT_EQ(qBlue(p), int(std::floor(sum[2] / n + 0.5))) << x << "," << y;
        }
    DeleteObject(bitmap);
}

TEST_P(ScaledBitmap, LooksLikeTheToolkitsSmoothScaling) {
    const Thumbnail t = GetParam();
    const QImage image = Natural(t.width, t.height);
    const HBITMAP bitmap = Bitmap(image);
    const QImage ours = ScaledBitmapImage(bitmap, t.toWidth, t.toHeight);
    const QImage toolkit =
        image.scaled(t.toWidth, t.toHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double difference = 0;
    for (int y = 0; y < t.toHeight; ++y)
        for (int x = 0; x < t.toWidth; ++x) {
            const QRgb a = ours.pixel(x, y), b = toolkit.pixel(x, y);
            difference +=
                std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    // On average within a few levels of 255 a channel. (Reading four rows of nine, the thumbnail of
    // the blue channel's fine moire pattern differs by about 3.3.)
    EXPECT_LT(difference / (3.0 * t.toWidth * t.toHeight), 4.0);
    DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScaledBitmap,
                         ::testing::Values(Thumbnail{"ScreenToPreview", 1920, 1080, 217, 122, true},
                                           Thumbnail{"ScreenToPreview32", 1920, 1080, 217, 122, false},
                                           Thumbnail{"TallBlocks", 300, 2000, 100, 7, true},
                                           Thumbnail{"BlocksOfFourRowsOrFewer", 1920, 1080, 217, 300, true},
                                           Thumbnail{"SameSize", 50, 40, 50, 40, true}),
                         testing_support::ByName);

class EnlargedBitmap : public GdiLeakCheckOf<::testing::TestWithParam<QSize>> {};

TEST_P(EnlargedBitmap, IsScaledSmoothlyByTheToolkit) {
    const QImage image = Natural(400, 10);
    const HBITMAP bitmap = CreateBitmapFromImage(image);
    const QSize to = GetParam();
    EXPECT_EQ(ScaledBitmapImage(bitmap, to.width(), to.height()),
              image.scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(Sizes, EnlargedBitmap, ::testing::Values(QSize(800, 30), QSize(100, 20)),
                         [](const auto& info) {
                             return "To" + std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });

}  // namespace
