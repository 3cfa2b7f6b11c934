#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/BitmapImage.h"
#include "platform/gdi/Desktop.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/HandleTable.h"
#include "support/GdiLeakCheck.h"

namespace {

using namespace platform;

BITMAPINFO Info(int width, int height, int bitCount = 24) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<std::uint16_t>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP Section(int width, int height, void** bits = nullptr, int bitCount = 24) {
    const BITMAPINFO info = Info(width, height, bitCount);
    return CreateDIBSection(0, &info, DIB_RGB_COLORS, bits, 0, 0);
}

BITMAP Describe(HANDLE h) {
    BITMAP record{};
    GetObjectA(h, sizeof record, &record);
    return record;
}

class Gdi : public GdiLeakCheck {};

TEST_F(Gdi, SectionRowsArePaddedToFourBytesAndAddressable) {
    for (const auto& [width, stride] : {std::pair{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}}) {
        void* bits = nullptr;
        const HBITMAP section = Section(width, 3, &bits);
        ASSERT_NE(section, 0u);
        const BITMAP record = Describe(section);
        EXPECT_EQ(record.bmWidth, width);
        EXPECT_EQ(record.bmHeight, 3);
        EXPECT_EQ(record.bmWidthBytes, stride);
        EXPECT_EQ(record.bmPlanes, 1);
        EXPECT_EQ(record.bmBitsPixel, 24);
        EXPECT_EQ(record.bmBits, bits);
        std::memset(bits, 0x7F, std::size_t(stride) * 3);  // every byte is ours to write
        EXPECT_TRUE(DeleteObject(section));
    }
}

TEST_F(Gdi, APositiveHeightIsBottomUpAndANegativeOneTopDown) {
    for (const int height : {2, -2}) {
        void* bits = nullptr;
        const HBITMAP section = Section(1, height, &bits);
        auto* bytes = static_cast<std::uint8_t*>(bits);
        bytes[0] = 10;       // blue of the first line in memory
        bytes[4 + 2] = 200;  // red of the second
        const QImage image = ReadBitmapImage(section);
        const int firstLine = height > 0 ? 1 : 0;
        EXPECT_EQ(image.pixel(0, firstLine), qRgb(0, 0, 10)) << height;
        EXPECT_EQ(image.pixel(0, 1 - firstLine), qRgb(200, 0, 0)) << height;
        DeleteObject(section);
    }
}

TEST_F(Gdi, SectionsItCannotMakeAreRefusedWithNoBits) {
    BITMAPINFO eightBits = Info(4, 4, 8), compressed = Info(4, 4), twoPlanes = Info(4, 4),
               shortHeader = Info(4, 4);
    compressed.bmiHeader.biCompression = 1;
    twoPlanes.bmiHeader.biPlanes = 2;
    shortHeader.bmiHeader.biSize = 12;
    const BITMAPINFO negativeWidth = Info(-4, 4), tooLarge = Info(20000, 20000), fine = Info(4, 4);
    void* bits = &bits;
    for (const BITMAPINFO* info : std::initializer_list<const BITMAPINFO*>{
             &eightBits, &compressed, &twoPlanes, &shortHeader, &negativeWidth, &tooLarge}) {
        EXPECT_EQ(CreateDIBSection(0, info, DIB_RGB_COLORS, &bits, 0, 0), 0u);
        EXPECT_EQ(bits, nullptr);
    }
    EXPECT_EQ(CreateDIBSection(0, &fine, 1, &bits, 0, 0), 0u);                     // palette colours
    EXPECT_EQ(CreateDIBSection(0, &fine, DIB_RGB_COLORS, &bits, 4, 0), 0u);        // a file mapping
    EXPECT_EQ(CreateDIBSection(0x12345, &fine, DIB_RGB_COLORS, &bits, 0, 0), 0u);  // no such device context
    EXPECT_EQ(CreateDIBSection(0, nullptr, DIB_RGB_COLORS, &bits, 0, 0), 0u);
}

TEST_F(Gdi, AnEmptySectionHasNoPixelsButIsMade) {
    void* bits = nullptr;
    const HBITMAP section = Section(0, 0, &bits);
    EXPECT_NE(section, 0u);
    EXPECT_NE(bits, nullptr);
    DeleteObject(section);
}

TEST_F(Gdi, SelectingReturnsTheBitmapSelectedBefore) {
    const HDC dc = CreateCompatibleDC(0);
    const HBITMAP first = Section(2, 2), second = Section(3, 3);
    const HGDIOBJ stock = SelectObject(dc, first);
    EXPECT_NE(stock, 0u);
    EXPECT_EQ(Describe(stock).bmWidth, 1);  // a new device context holds a 1 x 1 bitmap
    EXPECT_EQ(SelectObject(dc, second), first);
    EXPECT_EQ(SelectObject(dc, stock), second);
    EXPECT_EQ(GdiObjectsAlive(), 3u);
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(second));
    EXPECT_TRUE(DeleteDC(dc));
}

TEST_F(Gdi, ABitmapIsSelectedIntoOneDeviceContextAtATimeAndNotDeletedThere) {
    const HDC one = CreateCompatibleDC(0), two = CreateCompatibleDC(0);
    const HBITMAP bitmap = Section(2, 2);
    const HGDIOBJ stock = SelectObject(one, bitmap);
    EXPECT_EQ(SelectObject(two, bitmap), 0u);
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(one));  // lets go of the bitmap
    EXPECT_EQ(SelectObject(two, bitmap), stock);
    SelectObject(two, stock);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(two));
}

TEST_F(Gdi, StaleForeignAndWrongKindsOfHandlesAreRefused) {
    const HDC dc = CreateCompatibleDC(0);
    const HBITMAP bitmap = Section(2, 2);
    const HDC screen = GetDC(GetDesktopWindow());
    EXPECT_FALSE(DeleteObject(dc));
    EXPECT_FALSE(DeleteDC(bitmap));
    EXPECT_FALSE(DeleteDC(screen));
    EXPECT_EQ(ReleaseDC(GetDesktopWindow(), dc), 0);
    EXPECT_EQ(SelectObject(bitmap, dc), 0u);
    EXPECT_EQ(SelectObject(screen, bitmap), 0u);
    EXPECT_EQ(GetObjectA(dc, sizeof(BITMAP), nullptr), 0);
    EXPECT_EQ(GetDC(0x4321), 0u);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(ReleaseDC(GetDesktopWindow(), screen), 1);
    for (const HANDLE stale : {dc, bitmap, screen, HANDLE{0}, HANDLE{0x7777}}) {
        EXPECT_FALSE(DeleteObject(stale));
        EXPECT_FALSE(DeleteDC(stale));
        EXPECT_EQ(ReleaseDC(GetDesktopWindow(), stale), 0);
        EXPECT_EQ(SelectObject(stale, HandleTable::Instance().StockBitmap()), 0u);
        if (stale != 0) {
            EXPECT_EQ(CreateCompatibleDC(stale), 0u);
        }
        BITMAP record{};
        record.bmWidth = 99;
        EXPECT_EQ(GetObjectA(stale, sizeof record, &record), 0);
        EXPECT_EQ(record.bmWidth, 99);
    }
}

TEST_F(Gdi, CompatibleBitmapsHaveTheScreensFormat) {
    const HDC screen = GetDC(0);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 3, 2);
    const BITMAP record = Describe(bitmap);
    EXPECT_EQ(record.bmBitsPixel, 32);
    EXPECT_EQ(record.bmWidthBytes, 12);
    EXPECT_EQ(record.bmBits, nullptr);
    QImage black(3, 2, QImage::Format_RGB32);
    black.fill(qRgb(0, 0, 0));
    EXPECT_EQ(ReadBitmapImage(bitmap), black);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 0, 2), 0u);
    EXPECT_EQ(CreateCompatibleBitmap(0, 2, 2), 0u);
    DeleteObject(bitmap);
    ReleaseDC(0, screen);
}

}  // namespace
