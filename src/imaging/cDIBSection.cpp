#include "imaging/cDIBSection.h"

#include <cstring>
#include <utility>

#include "host/Checked.h"
#include "host/MsgBox.h"
#include "host/Picture.h"
#include "platform/clipboard/User32Clipboard.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Desktop.h"
#include "platform/gdi/Gdi.h"

using namespace platform;
using host::checked::Add32;
using host::checked::Mul32;

cDIBSection::~cDIBSection() { ClearUp(); }

cDIBSection::cDIBSection(cDIBSection&& other) noexcept
    : mhDibSection(std::exchange(other.mhDibSection, 0)),
      mhPrevBitmap(std::exchange(other.mhPrevBitmap, 0)),
      mhMemDC(std::exchange(other.mhMemDC, 0)),
      mlBits(std::exchange(other.mlBits, nullptr)),
      mtInfo(std::exchange(other.mtInfo, BITMAPINFO{})),
      mbOverPicture(std::exchange(other.mbOverPicture, false)) {}

cDIBSection& cDIBSection::operator=(cDIBSection&& other) noexcept {
    if (this != &other) {
        ClearUp();
        mhDibSection = std::exchange(other.mhDibSection, 0);
        mhPrevBitmap = std::exchange(other.mhPrevBitmap, 0);
        mhMemDC = std::exchange(other.mhMemDC, 0);
        mlBits = std::exchange(other.mlBits, nullptr);
        mtInfo = std::exchange(other.mtInfo, BITMAPINFO{});
        mbOverPicture = std::exchange(other.mbOverPicture, false);
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

bool cDIBSection::CreateDIB(HDC lhDC, std::int32_t lWidth, std::int32_t lHeight, HBITMAP& hDib) {
    return MakeDIB(lhDC, lWidth, lHeight, hDib, Start::kCleared, 0);
}

bool cDIBSection::MakeDIB(HDC lhDC, std::int32_t lWidth, std::int32_t lHeight, HBITMAP& hDib, Start start,
                          HBITMAP picture) {
    BITMAPINFOHEADER& header = mtInfo.bmiHeader;
    header.biSize = 40;
    header.biWidth = lWidth;
    header.biHeight = lHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<std::uint32_t>(Mul32(header.biHeight, BytesPerScanLine()));
    void* bits = nullptr;
    switch (start) {
        case Start::kCleared:
            hDib = CreateDIBSection(lhDC, &mtInfo, DIB_RGB_COLORS, &bits, 0, 0);
            break;
        case Start::kToFill:
            hDib = CreateDIBSectionToFill(lhDC, &mtInfo, &bits);
            break;
        case Start::kOverPicture:
            hDib = CreateDIBSectionOverPicture(lhDC, &mtInfo, picture, &bits);
            break;
    }
    mlBits = static_cast<std::uint8_t*>(bits);
    mbOverPicture = start == Start::kOverPicture && hDib != 0;
    return hDib != 0;
}

void cDIBSection::CreateFromPicture(const host::Picture& picThis) {
    BITMAP record{};
    GetObjectA(picThis.Handle(), sizeof record, &record);
    // A clipboard picture's rows are already in the buffer's layout: read in place, they are
    // copied only if the buffer is written to.
    if (CreateSection(record.bmWidth, record.bmHeight, Start::kOverPicture, picThis.Handle())) return;
    // The block transfer overwrites every pixel of a screen-sized buffer: clearing it first would
    // cost a pass over all its memory. Where the transfer cannot run, it is cleared after all.
    if (!CreateSection(record.bmWidth, record.bmHeight, Start::kToFill)) return;
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
    return CreateSection(lWidth, lHeight, Start::kCleared);
}

bool cDIBSection::CreateSection(std::int32_t lWidth, std::int32_t lHeight, Start start, HBITMAP picture) {
    ClearUp();
    mhMemDC = CreateCompatibleDC(0);
    if (mhMemDC == 0) return false;
    if (MakeDIB(mhMemDC, lWidth, lHeight, mhDibSection, start, picture)) {
        mhPrevBitmap = SelectObject(mhMemDC, mhDibSection);
        return true;
    }
    DeleteDC(mhMemDC);
    mhMemDC = 0;
    return false;
}

void cDIBSection::OwnPixels() {
    if (!mbOverPicture) return;
    void* bits = nullptr;
    const HBITMAP own = CreateDIBSectionToFill(mhMemDC, &mtInfo, &bits);
    if (own == 0) host::RaiseError(host::kOutOfMemory);
    std::memcpy(bits, mlBits, std::size_t(mtInfo.bmiHeader.biSizeImage));
    SelectObject(mhMemDC, own);
    DeleteObject(mhDibSection);
    mhDibSection = own;
    mlBits = static_cast<std::uint8_t*>(bits);
    mbOverPicture = false;
}

HDC cDIBSection::hdc() {
    OwnPixels();
    return mhMemDC;
}

std::uint8_t* cDIBSection::DIBSectionBitsPtr() {
    OwnPixels();
    return mlBits;
}

std::int32_t cDIBSection::BytesPerScanLine() const { return Add32(Mul32(Width(), 3), 3) & ~3; }

void cDIBSection::LoadPictureBlt(HDC lhDC, std::int32_t lSrcLeft, std::int32_t lSrcTop,
                                 std::int32_t lSrcWidth, std::int32_t lSrcHeight, DWORD eRop) {
    const std::int32_t width = lSrcWidth < 0 ? Width() : lSrcWidth;
    const std::int32_t height = lSrcHeight < 0 ? Height() : lSrcHeight;
    OwnPixels();
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
    mbOverPicture = false;
}
