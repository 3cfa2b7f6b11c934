#pragma once
// The clipboard as Windows USER offers it, over the system clipboard that Qt reaches.
//
// The open/close protocol is kept within this program: OpenClipboard fails while the clipboard is
// open, and EmptyClipboard and SetClipboardData need it open. SetClipboardData takes CF_BITMAP
// only: it hands the bitmap's pixels to the system clipboard (QClipboard::setImage), so that other
// programs can paste them, and then frees the bitmap, which the clipboard now owns. A bitmap still
// selected into a device context is refused.

#include "platform/gdi/GdiTypes.h"

namespace platform {

BOOL OpenClipboard(HWND hWndNewOwner);
BOOL EmptyClipboard();
// The handle of the data that the clipboard took (the handle is no longer valid); 0 on failure.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
BOOL CloseClipboard();

}  // namespace platform
