#include <gtest/gtest.h>

#include <QWidget>

#include "capture/ShowPreview.h"
#include "host/Checked.h"
#include "host/HostError.h"

namespace {

struct Fitted {
    float left, top, width, height;
};

class PreviewFitting : public ::testing::Test {
protected:
    Fitted Show(int widthPx, int heightPx) {
        QImage image(widthPx, heightPx, QImage::Format_RGB32);
        image.fill(Qt::red);
        const host::Picture picture(image);
        ShowPreview(box, picture);
        return {box.Left(), box.Top(), box.Width(), box.Height()};
    }
    QWidget form;
    host::PictureBox box{&form, "Picture1", 500, 500, 100, 100, 9};
};

TEST_F(PreviewFitting, LandscapeKeepsTheWidthAndMovesDown) {
    const Fitted f = Show(480, 360);  // r = 4/3 exactly in HIMETRIC (multiples of 24 pixels)
    EXPECT_EQ(f.left, 120.0f);
    EXPECT_EQ(f.width, 3255.0f);
    EXPECT_EQ(f.height, 2441.25f);
    EXPECT_EQ(f.top, 2326.875f);
}

TEST_F(PreviewFitting, PortraitTakesTheHeightAndMovesByHalfTheHeightsSurplus) {
    const Fitted f = Show(360, 480);  // r = 3/4
    EXPECT_EQ(f.top, 1920.0f);
    EXPECT_EQ(f.height, 3135.0f);
    EXPECT_EQ(f.width, 2351.25f);
    EXPECT_EQ(f.left, 511.875f);
}

TEST_F(PreviewFitting, SquareNarrowsTheBoxInPlace) {
    const Fitted f = Show(250, 250);
    EXPECT_EQ(f.width, 3135.0f);
    EXPECT_EQ(f.left, 120.0f);
    EXPECT_EQ(f.top, 1920.0f);
    EXPECT_EQ(f.height, 3135.0f);
}

TEST_F(PreviewFitting, BoxProportionsMoveTheBoxDownSixtyTwips) {
    // Find a picture whose HIMETRIC proportions equal the box's in single precision.
    const float b = host::checked::CSng(3255.0 / 3135.0);
    int w = 0, h = 0;
    for (int hh = 50; hh < 2000 && !w; ++hh)
        for (int ww = hh; ww < hh * 2 && !w; ++ww) {
            const double wm = host::checked::CLng(ww * 2540.0 / 96),
                         hm = host::checked::CLng(hh * 2540.0 / 96);
            if (host::checked::CSng(wm / hm) == b) w = ww, h = hh;
        }
    ASSERT_NE(w, 0);
    const Fitted f = Show(w, h);
    EXPECT_EQ(f.height, 3135.0f);
    EXPECT_EQ(f.top, 1980.0f);
    EXPECT_EQ(f.width, 3255.0f);
}

TEST_F(PreviewFitting, SlightlyWiderThanSquareMovesLeft) {
    const Fitted f = Show(202, 200);  // 1 < r < b
    EXPECT_LT(f.left, 120.0f);
    EXPECT_EQ(f.height, 3135.0f);
}

TEST_F(PreviewFitting, EveryFittingStartsFromTheFullBox) {
    Show(360, 480);
    const Fitted f = Show(480, 360);
    EXPECT_EQ(f.left, 120.0f);
    EXPECT_EQ(f.width, 3255.0f);
    EXPECT_EQ(f.height, 2441.25f);
    EXPECT_EQ(f.top, 2326.875f);
}

TEST_F(PreviewFitting, PaintsTheWholePictureCentredAndSmoothlyScaled) {
    // A picture much larger than the box, half black (left) and half white (right).
    QImage image(3840, 2160, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < image.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), 1920, qRgb(0, 0, 0));
    ShowPreview(box, host::Picture(image));
    EXPECT_TRUE(box.AutoRedraw());
    const QImage& canvas = box.Canvas();
    const int midY = canvas.height() / 2;
    EXPECT_EQ(qGray(canvas.pixel(2, midY)), 0);
    EXPECT_EQ(qGray(canvas.pixel(canvas.width() - 3, midY)), 255);
    // The seam sits in the middle: nothing dropped or doubled.
    int firstWhite = 0;
    while (firstWhite < canvas.width() && qGray(canvas.pixel(firstWhite, midY)) < 128) ++firstWhite;
    EXPECT_NEAR(firstWhite, canvas.width() / 2, 1);
}

// Pictures far flatter or narrower than the box still show as a line one pixel thick.
class ThinPreview : public PreviewFitting, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ThinPreview, ShowsAtLeastOneLine) {
    const auto [w, h] = GetParam();
    Show(w, h);
    const QImage& canvas = box.Canvas();
    ASSERT_GE(canvas.width(), 1);
    ASSERT_GE(canvas.height(), 1);
    int red = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) red += canvas.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GE(red, std::max(canvas.width(), canvas.height()) - 1);
}

INSTANTIATE_TEST_SUITE_P(Shapes, ThinPreview,
                         ::testing::Values(std::pair{5400, 100}, std::pair{8000, 1}, std::pair{1, 8000},
                                           std::pair{100, 5400}),
                         [](const auto& info) {
                             return std::to_string(info.param.first) + "x" +
                                    std::to_string(info.param.second);
                         });

TEST_F(PreviewFitting, PictureWithoutHeightRaisesAnArithmeticError) {
    const host::Picture none;
    EXPECT_THROW(ShowPreview(box, none), host::HostError);
}

}  // namespace
