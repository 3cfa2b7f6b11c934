#include "platform/gdi/Gdi.h"

#include <cstdlib>
#include <cstring>

#include "platform/gdi/HandleTable.h"

namespace platform {

namespace {

HandleTable& Table() { return HandleTable::Instance(); }

HANDLE AddBitmap(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel, bool bottomUp,
                 bool isDibSection, GdiBitmap::Fill fill = GdiBitmap::Fill::kZeroed) {
    auto bitmap = GdiBitmap::Make(width, height, bitsPerPixel, bottomUp, fill);
    if (!bitmap) return 0;
    bitmap->isDibSection = isDibSection;
    return Table().Add(std::move(*bitmap));
}

HBITMAP AddDIBSection(HDC hdc, const BITMAPINFO* pbmi, void** ppvBits, GdiBitmap::Fill fill) {
    if (ppvBits != nullptr) *ppvBits = nullptr;
    if (hdc != 0 && Table().DC(hdc) == nullptr) return 0;
    if (pbmi == nullptr) return 0;
    const BITMAPINFOHEADER& header = pbmi->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biCompression != BI_RGB)
        return 0;
    if (header.biWidth < 0 || header.biHeight == INT32_MIN) return 0;
    const HBITMAP handle = AddBitmap(header.biWidth, std::abs(header.biHeight), header.biBitCount,
                                     header.biHeight > 0, true, fill);
    if (handle != 0 && ppvBits != nullptr) *ppvBits = Table().Bitmap(handle)->surface.bits;
    return handle;
}

}  // namespace

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc != 0 && Table().DC(hdc) == nullptr) return 0;
    return Table().Add(GdiDC{GdiDC::Kind::Memory, Table().StockBitmap()});
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection,
                         DWORD offset) {
    if (usage != DIB_RGB_COLORS || hSection != 0 || offset != 0) {
        if (ppvBits != nullptr) *ppvBits = nullptr;
        return 0;
    }
    return AddDIBSection(hdc, pbmi, ppvBits, GdiBitmap::Fill::kZeroed);
}

HBITMAP CreateDIBSectionToFill(HDC hdc, const BITMAPINFO* pbmi, void** ppvBits) {
    return AddDIBSection(hdc, pbmi, ppvBits, GdiBitmap::Fill::kFillerOnly);
}

HBITMAP CreateDIBSectionOverPicture(HDC hdc, const BITMAPINFO* pbmi, HBITMAP picture, void** ppvBits) {
    if (ppvBits != nullptr) *ppvBits = nullptr;
    if (hdc != 0 && Table().DC(hdc) == nullptr) return 0;
    const GdiBitmap* source = Table().Bitmap(picture);
    if (pbmi == nullptr || source == nullptr || source->picture == nullptr) return 0;
    const BITMAPINFOHEADER& header = pbmi->bmiHeader;
    // A picture's rows are 24-bit, bottom row first, each padded to 4 bytes (PictureBits): the
    // section's own layout whenever the sizes match.
    const Surface& rows = source->surface;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biCompression != BI_RGB ||
        header.biBitCount != 24 || header.biWidth != rows.width || header.biHeight != rows.height)
        return 0;
    GdiBitmap section;
    section.surface = rows;
    section.picture = source->picture;
    section.isDibSection = true;
    const HBITMAP handle = Table().Add(std::move(section));
    if (handle != 0 && ppvBits != nullptr) *ppvBits = Table().Bitmap(handle)->surface.bits;
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    if (Table().DC(hdc) == nullptr || cx < 1 || cy < 1) return 0;
    return AddBitmap(cx, cy, 32, false, false);
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    GdiDC* dc = Table().DC(hdc);
    GdiBitmap* bitmap = Table().Bitmap(h);
    if (dc == nullptr || dc->kind != GdiDC::Kind::Memory || bitmap == nullptr) return 0;
    const bool stock = h == Table().StockBitmap();
    if (!stock && bitmap->selectedInto != 0 && bitmap->selectedInto != hdc) return 0;
    const HBITMAP previous = dc->selected;
    if (GdiBitmap* old = Table().Bitmap(previous); old != nullptr && previous != Table().StockBitmap())
        old->selectedInto = 0;
    dc->selected = h;
    if (!stock) bitmap->selectedInto = hdc;
    return previous;
}

BOOL DeleteObject(HGDIOBJ ho) {
    if (ho == Table().StockBitmap()) return 1;
    const GdiBitmap* bitmap = Table().Bitmap(ho);
    if (bitmap == nullptr || bitmap->selectedInto != 0) return 0;
    return Table().Remove(ho);
}

BOOL DeleteDC(HDC hdc) {
    const GdiDC* dc = Table().DC(hdc);
    if (dc == nullptr || dc->kind != GdiDC::Kind::Memory) return 0;
    if (dc->selected != Table().StockBitmap()) Table().Bitmap(dc->selected)->selectedInto = 0;
    return Table().Remove(hdc);
}

int GetObjectA(HANDLE h, int c, void* pv) {
    const GdiBitmap* bitmap = Table().Bitmap(h);
    if (bitmap == nullptr) return 0;
    if (pv == nullptr) return sizeof(BITMAP);
    if (c < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP record{};
    record.bmWidth = bitmap->surface.width;
    record.bmHeight = bitmap->surface.height;
    record.bmWidthBytes = bitmap->surface.stride;
    record.bmPlanes = 1;
    record.bmBitsPixel = static_cast<std::uint16_t>(bitmap->surface.bytesPerPixel * 8);
    record.bmBits = bitmap->isDibSection ? bitmap->surface.bits : nullptr;
    std::memcpy(pv, &record, sizeof record);
    return sizeof(BITMAP);
}

}  // namespace platform
