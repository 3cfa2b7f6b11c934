#pragma once
// One picture as a 24-bit device-independent bitmap section: pixel bytes that callers read and
// write directly and that are, at the same time, selected into a memory device context, so that
// BitBlt can copy pictures into and out of them.
//
// Layout: 3 bytes a pixel (blue, green, red); BytesPerScanLine() bytes a line (3 x Width() raised
// to a multiple of 4); with a positive height the first line at DIBSectionBitsPtr() is the
// picture's bottom row. Width() and Height() describe pixels only while hDib() is non-zero.
//
// Platform failures come back as false results; integer overflow, out-of-range byte access and
// floating-point failures raise host errors. The destructor runs ClearUp().

#include <cstdint>
#include <memory>

#include "platform/gdi/GdiTypes.h"

namespace host {
class Picture;
}

class cDIBSection {
public:
    cDIBSection() = default;
    ~cDIBSection();
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;
    cDIBSection(cDIBSection&& other) noexcept;
    cDIBSection& operator=(cDIBSection&& other) noexcept;

    // Puts a screen-compatible bitmap painted from the buffer on the clipboard. Asked for a DIB it
    // says it cannot, in a message box, and returns false.
    bool CopyToClipboard(bool bAsDIB = true);
    // Fills the header and makes a 24-bit DIB section of that size; neither frees nor selects.
    bool CreateDIB(platform::HDC lhDC, std::int32_t lWidth, std::int32_t lHeight, platform::HBITMAP& hDib);
    // Makes the buffer the size of the picture's bitmap and copies the bitmap into it. The rows of a
    // clipboard picture are not copied at once: the buffer reads them in place (they never change)
    // until it is first written to, through LoadPictureBlt, RandomiseBits, or the writable hdc() or
    // DIBSectionBitsPtr(), which copy them then. A capture that only saves the buffer copies nothing.
    void CreateFromPicture(const host::Picture& picThis);
    // Frees what the buffer holds and makes a new, all-zero section of the given size.
    bool Create(std::int32_t lWidth, std::int32_t lHeight);
    std::int32_t BytesPerScanLine() const;
    std::int32_t Width() const { return mtInfo.bmiHeader.biWidth; }
    std::int32_t Height() const { return mtInfo.bmiHeader.biHeight; }
    // Copies from a device context into the buffer's top-left corner; a negative size stands for
    // the buffer's own.
    void LoadPictureBlt(platform::HDC lhDC, std::int32_t lSrcLeft = 0, std::int32_t lSrcTop = 0,
                        std::int32_t lSrcWidth = -1, std::int32_t lSrcHeight = -1,
                        platform::DWORD eRop = platform::SRCCOPY);
    // Copies the buffer into a device context; a negative size stands for the buffer's own.
    void PaintPicture(platform::HDC lhDC, std::int32_t lDestLeft = 0, std::int32_t lDestTop = 0,
                      std::int32_t lDestWidth = -1, std::int32_t lDestHeight = -1, std::int32_t lSrcLeft = 0,
                      std::int32_t lSrcTop = 0, platform::DWORD eRop = platform::SRCCOPY);
    // The device context and the pixel bytes, for reading; the writable ones make the pixels the
    // buffer's own first.
    platform::HDC hdc() const { return mhMemDC; }
    platform::HDC hdc();
    platform::HBITMAP hDib() const { return mhDibSection; }
    const std::uint8_t* DIBSectionBitsPtr() const { return mlBits; }
    std::uint8_t* DIBSectionBitsPtr();
    // Overwrites every pixel with noise: grey, or green and red over a zero blue.
    void RandomiseBits(bool bGray = false);
    // Frees the section and the device context; the sizes stay as they were.
    void ClearUp();
    // A new buffer of the given size, resampled bilinearly from this one; none when the platform
    // refuses that size.
    std::unique_ptr<cDIBSection> Resample(std::int32_t lNewHeight, std::int32_t lNewWidth) const;

private:
    // How a new section's pixels start: zero; as they are, for a caller that overwrites every one
    // at once (the filler bytes of the lines read zero); or as the rows of a clipboard picture's
    // bitmap, read in place (when they have the section's layout).
    enum class Start { kCleared, kToFill, kOverPicture };
    bool MakeDIB(platform::HDC lhDC, std::int32_t lWidth, std::int32_t lHeight, platform::HBITMAP& hDib,
                 Start start, platform::HBITMAP picture);
    bool CreateSection(std::int32_t lWidth, std::int32_t lHeight, Start start, platform::HBITMAP picture = 0);
    // Gives a section that reads a picture's rows pixels of its own, with the same bytes.
    void OwnPixels();
    void ResampleInto(cDIBSection& target) const;

    platform::HBITMAP mhDibSection = 0;
    platform::HGDIOBJ mhPrevBitmap = 0;
    platform::HDC mhMemDC = 0;
    std::uint8_t* mlBits = nullptr;
    platform::BITMAPINFO mtInfo{};
    bool mbOverPicture = false;  // the section reads a clipboard picture's rows
};
