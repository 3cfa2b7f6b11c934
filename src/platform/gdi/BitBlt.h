#pragma once
// Block transfer between device contexts (Windows BitBlt).
//
// Copies a cx x cy rectangle from (x1, y1) of the source to (x, y) of the destination, both in
// picture coordinates (y = 0 is the top row, whatever the orientation of the bitmaps). The
// rectangle is clipped to both surfaces; a size below 1 copies nothing. 24- and 32-bit surfaces
// mix freely; the unused fourth byte of a 32-bit destination is written as 0. Each colour byte is
// combined by the raster operation: SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, SRCERASE, NOTSRCCOPY,
// NOTSRCERASE, MERGEPAINT, DSTINVERT, BLACKNESS or WHITENESS (the last three need no source).
// FALSE, with nothing changed, for any other code, a device context that is not there, or one that
// holds a bitmap over a clipboard picture's rows (which are never changed).

#include "platform/gdi/GdiTypes.h"

namespace platform {

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);

}  // namespace platform
