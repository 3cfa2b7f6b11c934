#include "platform/gdi/Desktop.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/gdi/HandleTable.h"

namespace platform {

namespace {
// Window handles live apart from the handle table; the desktop is the only window we know.
constexpr HWND kDesktopWindow = 0x10010;
}  // namespace

HWND GetDesktopWindow() { return kDesktopWindow; }

HDC GetDC(HWND hWnd) {
    if (hWnd != 0 && hWnd != kDesktopWindow) return 0;
    return HandleTable::Instance().Add(GdiDC{GdiDC::Kind::Screen, 0});
}

int ReleaseDC(HWND, HDC hDC) {
    const GdiDC* dc = HandleTable::Instance().DC(hDC);
    if (dc == nullptr || dc->kind != GdiDC::Kind::Screen) return 0;
    return HandleTable::Instance().Remove(hDC) ? 1 : 0;
}

Surface ScreenSurface() {
    Surface screen;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QSize size = primary->geometry().size() * primary->devicePixelRatio();
            screen.width = size.width();
            screen.height = size.height();
        }
    }
    screen.stride = screen.width * 4;
    return screen;
}

}  // namespace platform
