#include "imaging/cDIBSection.h"

#include <cstring>
#include <utility>

#include "host/Checked.h"
#include "host/MsgBox.h"
#include "host/Picture.h"
#include "platform/BitBlt.h"
#include "platform/Desktop.h"
#include "platform/Gdi.h"
#include "platform/User32Clipboard.h"

using namespace platform;
using host::checked::Add32;
using host::checked::Mul32;

cDIBSection::~cDIBSection() { ClearUp(); }

cDIBSection::cDIBSection(cDIBSection&& other) noexcept
    : mhDibSection(std::exchange(other.mhDibSection, 0)),
      mhPrevBitmap(std::exchange(other.mhPrevBitmap, 0)),
      mhMemDC(std::exchange(other.mhMemDC, 0)),
      mlBits(std::exchange(other.mlBits, nullptr)),
      mtInfo(std::exchange(other.mtInfo, BITMAPINFO{})) {}

cDIBSection& cDIBSection::operator=(cDIBSection&& other) noexcept {
    if (this != &other) {
        ClearUp();
        mhDibSection = std::exchange(other.mhDibSection, 0);
        mhPrevBitmap = std::exchange(other.mhPrevBitmap, 0);
        mhMemDC = std::exchange(other.mhMemDC, 0);
        mlBits = std::exchange(other.mlBits, nullptr);
        mtInfo = std::exchange(other.mtInfo, BITMAPINFO{});
    }
    return *this;
}

bool cDIBSection::CopyToClipboard(bool bAsDIB) {
    bool result = false;
    const HDC screenDC = GetDC(GetDesktopWindow());
    if (screenDC == 0) return false;
    const HDC memDC = CreateCompatibleDC(screenDC);
    if (memDC == 0) {
        ReleaseDC(GetDesktopWindow(), screenDC);
        return false;
    }
    // Nothing from here to the release below can raise.
    if (bAsDIB) {
        host::MsgBox(
            QStringLiteral("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"));
    } else {
        const HBITMAP bitmap = CreateCompatibleBitmap(screenDC, Width(), Height());
        if (bitmap != 0) {
            const HGDIOBJ previous = SelectObject(memDC, bitmap);
            PaintPicture(memDC, 0, 0, -1, -1, 0, 0, SRCCOPY);
            SelectObject(memDC, previous);
            if (!OpenClipboard(0)) {
                DeleteObject(bitmap);
            } else {
                EmptyClipboard();
                result = SetClipboardData(CF_BITMAP, bitmap) != 0;
                if (!result) DeleteObject(bitmap);  // otherwise the clipboard owns it
                CloseClipboard();
            }
        }
    }
    DeleteDC(memDC);
    ReleaseDC(GetDesktopWindow(), screenDC);
    return result;
}

bool cDIBSection::CreateDIB(HDC lhDC, std::int32_t lWidth, std::int32_t lHeight, HBITMAP& hDib,
                            bool cleared) {
    BITMAPINFOHEADER& header = mtInfo.bmiHeader;
    header.biSize = 40;
    header.biWidth = lWidth;
    header.biHeight = lHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<std::uint32_t>(Mul32(header.biHeight, BytesPerScanLine()));
    void* bits = nullptr;
    hDib = cleared ? CreateDIBSection(lhDC, &mtInfo, DIB_RGB_COLORS, &bits, 0, 0)
                   : CreateDIBSectionToFill(lhDC, &mtInfo, &bits);
    mlBits = static_cast<std::uint8_t*>(bits);
    return hDib != 0;
}

void cDIBSection::CreateFromPicture(const host::Picture& picThis) {
    BITMAP record{};
    GetObjectA(picThis.Handle(), sizeof record, &record);
    // The block transfer overwrites every pixel of a screen-sized buffer: clearing it first would
    // cost a pass over all its memory. Where the transfer cannot run, it is cleared after all.
    if (!CreateSection(record.bmWidth, record.bmHeight, false)) return;
    const auto clear = [this] { std::memset(mlBits, 0, std::size_t(mtInfo.bmiHeader.biSizeImage)); };
    const HDC screenDC = GetDC(GetDesktopWindow());
    if (screenDC == 0) return clear();
    const HDC pictureDC = CreateCompatibleDC(screenDC);
    ReleaseDC(GetDesktopWindow(), screenDC);
    if (pictureDC == 0) return clear();
    // Nothing from here to the DeleteDC can raise.
    const HGDIOBJ previous = SelectObject(pictureDC, picThis.Handle());
    if (previous != 0) {
        LoadPictureBlt(pictureDC, 0, 0, -1, -1, SRCCOPY);
        SelectObject(pictureDC, previous);
    } else {
        clear();
    }
    DeleteDC(pictureDC);
}

bool cDIBSection::Create(std::int32_t lWidth, std::int32_t lHeight) {
    return CreateSection(lWidth, lHeight, true);
}

bool cDIBSection::CreateSection(std::int32_t lWidth, std::int32_t lHeight, bool cleared) {
    ClearUp();
    mhMemDC = CreateCompatibleDC(0);
    if (mhMemDC == 0) return false;
    if (CreateDIB(mhMemDC, lWidth, lHeight, mhDibSection, cleared)) {
        mhPrevBitmap = SelectObject(mhMemDC, mhDibSection);
        return true;
    }
    DeleteDC(mhMemDC);
    mhMemDC = 0;
    return false;
}

std::int32_t cDIBSection::BytesPerScanLine() const { return Add32(Mul32(Width(), 3), 3) & ~3; }

void cDIBSection::LoadPictureBlt(HDC lhDC, std::int32_t lSrcLeft, std::int32_t lSrcTop,
                                 std::int32_t lSrcWidth, std::int32_t lSrcHeight, DWORD eRop) {
    const std::int32_t width = lSrcWidth < 0 ? Width() : lSrcWidth;
    const std::int32_t height = lSrcHeight < 0 ? Height() : lSrcHeight;
    BitBlt(mhMemDC, 0, 0, width, height, lhDC, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::PaintPicture(HDC lhDC, std::int32_t lDestLeft, std::int32_t lDestTop,
                               std::int32_t lDestWidth, std::int32_t lDestHeight, std::int32_t lSrcLeft,
                               std::int32_t lSrcTop, DWORD eRop) {
    const std::int32_t width = lDestWidth < 0 ? Width() : lDestWidth;
    const std::int32_t height = lDestHeight < 0 ? Height() : lDestHeight;
    BitBlt(lhDC, lDestLeft, lDestTop, width, height, mhMemDC, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::ClearUp() {
    if (mhMemDC != 0) {
        if (mhDibSection != 0) {
            SelectObject(mhMemDC, mhPrevBitmap);
            DeleteObject(mhDibSection);
        }
        DeleteDC(mhMemDC);
    }
    mhMemDC = 0;
    mhDibSection = 0;
    mhPrevBitmap = 0;
    mlBits = nullptr;
}
