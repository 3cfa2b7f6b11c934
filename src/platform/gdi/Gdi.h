#pragma once
// The Windows graphics calls (GDI) that the bitmap buffer makes, under their Windows names, over
// our own bitmaps and device contexts. Failures are results, as with Windows: 0 or FALSE.
//
// - A memory device context starts with the stock 1 x 1 bitmap selected. A bitmap can be selected
//   into one device context at a time; selecting it into a second one fails, and a bitmap that is
//   still selected somewhere cannot be deleted.
// - DIB sections: 24 or 32 bits, BI_RGB, DIB_RGB_COLORS, no file-mapping section. A positive
//   height makes the section bottom-up, a negative one top-down. Rows are padded to 4 bytes; the
//   bytes are zero at first and addressable through the bits out-parameter. A width or height of 0
//   gives a section without pixels; a negative width, or more than 1 GiB of pixels, is refused.
// - Compatible bitmaps have the screen's format: 32 bits a pixel (blue, green, red, unused), top
//   down, zero at first; a size below 1 x 1 is refused.

#include "platform/gdi/GdiTypes.h"

namespace platform {

HDC CreateCompatibleDC(HDC hdc);
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection,
                         DWORD offset);
// The same for a section whose every pixel the caller writes at once: only the rows' filler bytes
// are zeroed, which spares clearing a screen-sized block that is overwritten anyway.
HBITMAP CreateDIBSectionToFill(HDC hdc, const BITMAPINFO* pbmi, void** ppvBits);
// A DIB section over the rows of a clipboard picture's bitmap (CreateBitmapFromPicture), without a
// copy: for reading only, since those rows never change (a block transfer into it fails). 0 when
// the picture's rows are not what `pbmi` describes (24-bit, bottom-up, the picture's size).
HBITMAP CreateDIBSectionOverPicture(HDC hdc, const BITMAPINFO* pbmi, HBITMAP picture, void** ppvBits);
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);
// Selects a bitmap into a memory device context and returns the one selected before (0 on failure).
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
BOOL DeleteObject(HGDIOBJ ho);
BOOL DeleteDC(HDC hdc);
// Fills a BITMAP record for a bitmap handle and returns the bytes written; 0 and nothing written
// for any other handle or a buffer too small. A null buffer asks for the size.
int GetObjectA(HANDLE h, int c, void* pv);

}  // namespace platform
