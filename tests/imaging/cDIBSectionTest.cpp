#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <climits>
#include <cstring>

#include "host/HostError.h"
#include "host/Picture.h"
#include "imaging/cDIBSection.h"
#include "platform/clipboard/User32Clipboard.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/BitmapImage.h"
#include "platform/gdi/Desktop.h"
#include "platform/gdi/Gdi.h"
#include "support/ErrorOf.h"
#include "support/GdiLeakCheck.h"
#include "support/ParamName.h"

namespace {

using namespace platform;

using testing_support::ErrorOf;

// A picture whose every pixel differs from its neighbours.
QImage Pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 40 + 3, y * 50 + 7, (x * 13 + y * 29) % 256));
    return image;
}

// The buffer's pixels as a picture, reading its lines bottom-up.
QImage PixelsOf(const cDIBSection& dib) {
    QImage image(dib.Width(), dib.Height(), QImage::Format_RGB32);
    for (int y = 0; y < dib.Height(); ++y) {
        const std::uint8_t* line = dib.DIBSectionBitsPtr() + (dib.Height() - 1 - y) * dib.BytesPerScanLine();
        for (int x = 0; x < dib.Width(); ++x)
            image.setPixel(x, y, qRgb(line[3 * x + 2], line[3 * x + 1], line[3 * x]));
    }
    return image;
}

class DibSection : public GdiLeakCheck {};

TEST_F(DibSection, ANewBufferHoldsNothing) {
    cDIBSection dib;
    EXPECT_EQ(dib.Width(), 0);
    EXPECT_EQ(dib.Height(), 0);
    EXPECT_EQ(dib.BytesPerScanLine(), 0);
    EXPECT_EQ(dib.hdc(), 0u);
    EXPECT_EQ(dib.hDib(), 0u);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    dib.ClearUp();
    EXPECT_EQ(GdiObjectsAlive(), 0u);
}

class LineLength : public GdiLeakCheckOf<::testing::TestWithParam<std::pair<int, int>>> {};

TEST_P(LineLength, IsThreeBytesAPixelRaisedToAMultipleOfFour) {
    cDIBSection dib;
    dib.Create(GetParam().first, 1);
    EXPECT_EQ(dib.BytesPerScanLine(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Widths, LineLength,
                         ::testing::Values(std::pair{1, 4}, std::pair{2, 8}, std::pair{3, 12},
                                           std::pair{4, 12}, std::pair{5, 16}, std::pair{1366, 4100},
                                           std::pair{-2, -4}),
                         [](const auto& info) {
                             return "Width" + testing_support::NumberName(info.param.first);
                         });

TEST_F(DibSection, ANewSectionIsAllZeroEvenWhereAnEarlierOneWasWritten) {
    cDIBSection dib;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(dib.Create(1366, 768));
        const std::size_t size = std::size_t(dib.BytesPerScanLine()) * dib.Height();
        std::vector<std::uint8_t> zeros(size, 0);
        EXPECT_EQ(std::memcmp(dib.DIBSectionBitsPtr(), zeros.data(), size), 0) << "round " << round;
        std::memset(dib.DIBSectionBitsPtr(), 0xFF, size);
    }
}

TEST_F(DibSection, CreatingAgainFreesTheFirstSection) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(10, 10));
    EXPECT_EQ(GdiObjectsAlive(), 2u);  // the memory device context and the section
    const HDC firstDC = dib.hdc();
    const HBITMAP firstSection = dib.hDib();
    ASSERT_TRUE(dib.Create(20, 5));
    EXPECT_EQ(GdiObjectsAlive(), 2u);
    EXPECT_NE(dib.hdc(), firstDC);
    EXPECT_NE(dib.hDib(), firstSection);
    EXPECT_EQ(GetObjectA(firstSection, sizeof(BITMAP), nullptr), 0);
    EXPECT_EQ(dib.Width(), 20);
    EXPECT_EQ(dib.Height(), 5);
}

TEST_F(DibSection, AFailedCreateLeavesNoHandlesButTheRequestedSize) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 4));
    EXPECT_FALSE(dib.Create(-3, 7));
    EXPECT_EQ(dib.hdc(), 0u);
    EXPECT_EQ(dib.hDib(), 0u);
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(dib.Width(), -3);
    EXPECT_EQ(dib.Height(), 7);
    EXPECT_EQ(GdiObjectsAlive(), 0u);
}

struct HugeSize {
    int width, height;
};
class CreateHuge : public GdiLeakCheckOf<::testing::TestWithParam<HugeSize>> {};

TEST_P(CreateHuge, RaisesOverflowAndClearUpFreesTheDeviceContext) {
    cDIBSection dib;
    EXPECT_EQ(ErrorOf([&] { dib.Create(GetParam().width, GetParam().height); }), host::kOverflow);
    EXPECT_NE(dib.hdc(), 0u);  // kept until the next ClearUp
    EXPECT_EQ(dib.hDib(), 0u);
    dib.ClearUp();
    EXPECT_EQ(dib.hdc(), 0u);
}

// 715827882 x 3 + 3 exceeds 32 bits; 1000 lines of 2147483644 bytes, or 1000000 of 3000, do too.
INSTANTIATE_TEST_SUITE_P(WidthsAndHeights, CreateHuge,
                         ::testing::Values(HugeSize{715827882, 1}, HugeSize{INT_MAX, 1},
                                           HugeSize{715827881, 1000}, HugeSize{1000, 1000000},
                                           HugeSize{1000, -1000000}),
                         [](const auto& info) {
                             return "Width" + testing_support::NumberName(info.param.width) + "Height" +
                                    testing_support::NumberName(info.param.height);
                         });

TEST_F(DibSection, ABufferLargerThanThePlatformAllowsIsRefused) {
    cDIBSection dib;
    EXPECT_FALSE(dib.Create(715827881, 1));
    EXPECT_EQ(dib.hdc(), 0u);
}

TEST_F(DibSection, FromAPictureIsBottomUpAndKeepsEveryPixelOfAnOddWidth) {
    const host::Picture picture(Pattern(7, 5));
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    ASSERT_NE(dib.hdc(), 0u);
    EXPECT_EQ(dib.Width(), 7);
    EXPECT_EQ(dib.Height(), 5);
    EXPECT_EQ(PixelsOf(dib), Pattern(7, 5));
    // The first line in memory is the picture's bottom row; the filler bytes stay zero.
    const QRgb bottomLeft = Pattern(7, 5).pixel(0, 4);
    EXPECT_EQ(dib.DIBSectionBitsPtr()[0], qBlue(bottomLeft));
    EXPECT_EQ(dib.DIBSectionBitsPtr()[2], qRed(bottomLeft));
    for (int r = 0; r < 5; ++r) EXPECT_EQ(dib.DIBSectionBitsPtr()[r * 24 + 21], 0);
}

TEST_F(DibSection, FromAPictureInReusedMemoryHasExactlyItsBytes) {
    // A screen-sized buffer's memory is reused from the one before and not cleared before the block
    // transfer: what the earlier buffer held must not show, in pixels or in the lines' filler bytes.
    const QImage pattern = Pattern(1001, 400);  // 3003 bytes a line and one filler byte
    const host::Picture picture(pattern);
    {
        cDIBSection earlier;
        ASSERT_TRUE(earlier.Create(1001, 400));
        std::memset(earlier.DIBSectionBitsPtr(), 0xab, std::size_t(earlier.BytesPerScanLine()) * 400);
    }
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    ASSERT_EQ(dib.Height(), 400);
    EXPECT_EQ(PixelsOf(dib), pattern);
    for (int r = 0; r < 400; ++r) ASSERT_EQ(dib.DIBSectionBitsPtr()[r * 3004 + 3003], 0) << r;
}

// A buffer made from a clipboard picture reads the picture's rows in place; every way of writing
// to it must change the buffer alone, never the picture (which the clipboard reader keeps).
struct WriteToBuffer {
    const char* name;
    void (*write)(cDIBSection& dib);
};

class WrittenBuffer : public GdiLeakCheckOf<::testing::TestWithParam<WriteToBuffer>> {};

TEST_P(WrittenBuffer, ChangesTheBufferAndNotThePicture) {
    const QImage pattern = Pattern(9, 6);
    const host::Picture picture(platform::PictureBits::FromImage(pattern));
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    ASSERT_EQ(PixelsOf(dib), pattern);
    GetParam().write(dib);
    EXPECT_NE(PixelsOf(dib), pattern);
    EXPECT_EQ(picture.ToImage(), pattern);
    // A second buffer from the same picture still starts from the picture's pixels.
    cDIBSection again;
    again.CreateFromPicture(picture);
    EXPECT_EQ(PixelsOf(again), pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, WrittenBuffer,
    ::testing::Values(
        WriteToBuffer{"ThroughItsBits", [](cDIBSection& dib) { dib.DIBSectionBitsPtr()[4] ^= 0xff; }},
        WriteToBuffer{"ByNoise", [](cDIBSection& dib) { dib.RandomiseBits(); }},
        WriteToBuffer{"ByLoadingABlockTransfer",
                      [](cDIBSection& dib) { dib.LoadPictureBlt(dib.hdc(), 0, 0, -1, -1, DSTINVERT); }},
        WriteToBuffer{"IntoItsDeviceContext",
                      [](cDIBSection& dib) { BitBlt(dib.hdc(), 0, 0, 3, 3, 0, 0, 0, WHITENESS); }}),
    testing_support::ByName);

TEST_F(DibSection, APicturesBitmapIsNeverDrawnInto) {
    const QImage pattern = Pattern(9, 6);
    const host::Picture picture(platform::PictureBits::FromImage(pattern));
    const HDC dc = CreateCompatibleDC(0);
    const HGDIOBJ previous = SelectObject(dc, picture.Handle());
    EXPECT_FALSE(BitBlt(dc, 0, 0, 9, 6, 0, 0, 0, BLACKNESS));
    SelectObject(dc, previous);
    DeleteDC(dc);
    EXPECT_EQ(picture.ToImage(), pattern);
}

TEST_F(DibSection, FromAPictureWithoutBitmapAsksForNothing) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(3, 3));
    dib.CreateFromPicture(host::Picture());
    EXPECT_EQ(dib.Width(), 0);
    EXPECT_EQ(dib.Height(), 0);
}

class NegativeSize : public GdiLeakCheckOf<::testing::TestWithParam<int>> {};

TEST_P(NegativeSize, PaintsAndLoadsTheWholeBuffer) {
    const QImage pattern = Pattern(6, 4);
    cDIBSection dib;
    const host::Picture picture(pattern);
    ASSERT_TRUE(dib.Create(6, 4));
    // Load from a device context holding the picture, then paint into one holding a blank bitmap.
    const HDC screen = GetDC(GetDesktopWindow());
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP blank = CreateCompatibleBitmap(screen, 6, 4);
    HGDIOBJ previous = SelectObject(dc, picture.Handle());
    dib.LoadPictureBlt(dc, 0, 0, GetParam(), GetParam());
    SelectObject(dc, blank);
    dib.PaintPicture(dc, 0, 0, GetParam(), GetParam());
    SelectObject(dc, previous);
    EXPECT_EQ(PixelsOf(dib), pattern);
    EXPECT_EQ(ReadBitmapImage(blank), pattern);
    DeleteObject(blank);
    DeleteDC(dc);
    ReleaseDC(GetDesktopWindow(), screen);
}

INSTANTIATE_TEST_SUITE_P(Widths, NegativeSize, ::testing::Values(-1, -7, INT_MIN),
                         [](const auto& info) { return "Width" + testing_support::NumberName(info.param); });

TEST_F(DibSection, LoadsFromAnOffsetWithARasterOperation) {
    const QImage pattern = Pattern(6, 4);
    const host::Picture picture(pattern);
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(3, 2));
    const HDC dc = CreateCompatibleDC(0);
    const HGDIOBJ previous = SelectObject(dc, picture.Handle());
    dib.LoadPictureBlt(dc, 2, 1, -1, -1, NOTSRCCOPY);
    SelectObject(dc, previous);
    DeleteDC(dc);
    QImage expected = pattern.copy(2, 1, 3, 2);
    expected.invertPixels();
    EXPECT_EQ(PixelsOf(dib), expected);
}

QMessageBox* OpenMessageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
    return nullptr;
}

TEST_F(DibSection, CopyingAsDibSaysItCannotAndReturnsFalse) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(2, 2));
    EXPECT_FALSE(dib.CopyToClipboard());
    QMessageBox* box = OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!");
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    box->close();
    QApplication::processEvents();
}

TEST_F(DibSection, CopyingAsBitmapPutsThePixelsOnTheClipboard) {
    const QImage pattern = Pattern(5, 3);
    const host::Picture picture(pattern);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    QGuiApplication::clipboard()->clear();
    EXPECT_TRUE(dib.CopyToClipboard(false));
    const QImage pasted = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(pasted, pattern);
    EXPECT_EQ(GdiObjectsAlive(), 3u);  // the picture's bitmap and the buffer's two objects
    EXPECT_EQ(PixelsOf(dib), pattern);
}

TEST_F(DibSection, CopyingWhileTheClipboardIsHeldOpenFailsAndLeavesNothingBehind) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 4));
    ASSERT_TRUE(OpenClipboard(0));
    EXPECT_FALSE(dib.CopyToClipboard(false));
    CloseClipboard();
    EXPECT_EQ(GdiObjectsAlive(), 2u);
}

TEST_F(DibSection, CopyingAnEmptyBufferFails) {
    cDIBSection dib;
    EXPECT_FALSE(dib.CopyToClipboard(false));
}

TEST_F(DibSection, MovingHandsTheSectionOver) {
    cDIBSection first;
    ASSERT_TRUE(first.Create(3, 2));
    const HBITMAP section = first.hDib();
    cDIBSection second(std::move(first));
    EXPECT_EQ(second.hDib(), section);
    EXPECT_EQ(first.hDib(), 0u);
    EXPECT_EQ(first.Width(), 0);
    cDIBSection third;
    ASSERT_TRUE(third.Create(1, 1));
    third = std::move(second);
    EXPECT_EQ(third.hDib(), section);
    EXPECT_EQ(GdiObjectsAlive(), 2u);
}

}  // namespace
