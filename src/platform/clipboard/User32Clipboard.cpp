#include "platform/clipboard/User32Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/clipboard/SystemClipboard.h"
#include "platform/gdi/BitmapImage.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/HandleTable.h"

namespace platform {

namespace {

bool clipboardOpen = false;

QClipboard* ToolkitClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                        : nullptr;
}

}  // namespace

BOOL OpenClipboard(HWND) {
    if (clipboardOpen) return 0;
    clipboardOpen = true;
    return 1;
}

BOOL EmptyClipboard() {
    if (!clipboardOpen) return 0;
    SystemClipboard().ClearAll();
    return 1;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem) {
    if (!clipboardOpen || uFormat != CF_BITMAP) return 0;
    const GdiBitmap* bitmap = HandleTable::Instance().Bitmap(hMem);
    QClipboard* clipboard = ToolkitClipboard();
    if (bitmap == nullptr || bitmap->selectedInto != 0 || hMem == HandleTable::Instance().StockBitmap() ||
        clipboard == nullptr)
        return 0;
    const QImage image = ReadBitmapImage(hMem);
    if (image.isNull()) return 0;
    clipboard->setImage(image);
    DeleteObject(hMem);
    return hMem;
}

BOOL CloseClipboard() {
    if (!clipboardOpen) return 0;
    clipboardOpen = false;
    return 1;
}

}  // namespace platform
