#pragma once
// The desktop window and the screen's device context (Windows USER calls).
//
// The screen's device context has the screen's size and its 32-bit format. It is a stand-in:
// reading from it with BitBlt gives black pixels, and what is painted into it is dropped; the
// program never shows anything through it. Every GetDC needs its ReleaseDC.

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/GdiTypes.h"

namespace platform {

HWND GetDesktopWindow();
// A device context for the whole screen; hWnd must be 0 or the desktop window.
HDC GetDC(HWND hWnd);
// Releases a device context that GetDC gave; 1 when released, 0 otherwise.
int ReleaseDC(HWND hWnd, HDC hDC);

// The screen as a surface: the primary screen's size in device pixels, no bytes.
Surface ScreenSurface();

}  // namespace platform
