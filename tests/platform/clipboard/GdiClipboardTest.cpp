#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "platform/clipboard/User32Clipboard.h"
#include "platform/gdi/BitmapImage.h"
#include "platform/gdi/Gdi.h"
#include "support/GdiLeakCheck.h"

namespace {

using namespace platform;

QImage Pattern() {
    QImage image(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) image.setPixel(x, y, qRgb(x * 80, y * 90 + 10, 200 - x * 30));
    return image;
}

class Clipboard : public GdiLeakCheck {
protected:
    void TearDown() override {
        CloseClipboard();
        GdiLeakCheck::TearDown();
    }
};

TEST_F(Clipboard, OpensOnceUntilClosed) {
    EXPECT_TRUE(OpenClipboard(0));
    EXPECT_FALSE(OpenClipboard(0));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_TRUE(OpenClipboard(0));
}

TEST_F(Clipboard, TakesABitmapThatReadsBackWithTheSamePixelsAndFreesIt) {
    const HBITMAP bitmap = CreateBitmapFromImage(Pattern());
    ASSERT_TRUE(OpenClipboard(0));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(SetClipboardData(CF_BITMAP, bitmap), bitmap);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GdiObjectsAlive(), 0u);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), Pattern());
}

TEST_F(Clipboard, RefusesWhatItCannotTake) {
    const HBITMAP bitmap = CreateBitmapFromImage(Pattern());
    EXPECT_FALSE(EmptyClipboard());                      // not open
    EXPECT_EQ(SetClipboardData(CF_BITMAP, bitmap), 0u);  // not open
    ASSERT_TRUE(OpenClipboard(0));
    EXPECT_EQ(SetClipboardData(8, bitmap), 0u);  // a DIB: not offered
    const HDC dc = CreateCompatibleDC(0);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    EXPECT_EQ(SetClipboardData(CF_BITMAP, bitmap), 0u);  // still selected
    SelectObject(dc, previous);
    DeleteDC(dc);
    EXPECT_EQ(SetClipboardData(CF_BITMAP, dc), 0u);  // no bitmap
    EXPECT_EQ(GdiObjectsAlive(), 1u);                // the refused bitmap is still the caller's
    DeleteObject(bitmap);
}

}  // namespace
