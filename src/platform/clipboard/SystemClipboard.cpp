#include "platform/clipboard/SystemClipboard.h"

#include <QGuiApplication>

#include "platform/clipboard/DataControlClipboard.h"
#include "platform/clipboard/QtClipboard.h"
#include "platform/clipboard/X11Clipboard.h"

namespace platform {
namespace {

std::unique_ptr<ClipboardReader> reader;

// Data-control where the compositor offers it: on Wayland only it sees the clipboard from the
// background (sway and KWin show it to XWayland only while an X11 window has the focus). Otherwise
// X11, over a connection of its own whichever way the window is shown: an X11 session, or XWayland
// under a compositor without data-control (GNOME), where the clipboard is emptied by holding it
// empty so that native programs see it empty too.
std::unique_ptr<ClipboardBackend> ChooseBackend(std::string* whyNot) {
    const QString platform = QGuiApplication::platformName();
    const bool desktop = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
    if (!desktop) return std::make_unique<QtClipboard>();  // offscreen: the toolkit's own clipboard

    std::string noDataControl;
    bool wayland = false;
    if (auto dataControl = DataControlClipboard::Open(&noDataControl, &wayland)) return dataControl;
    if (auto x11 = X11Clipboard::Open(wayland ? X11Clipboard::EmptyBy::kHoldingEmpty
                                              : X11Clipboard::EmptyBy::kGivingToNoOne))
        return x11;
    if (!whyNot) return nullptr;
    if (platform == QLatin1String("xcb"))
        *whyNot =
            "The X server does not report clipboard changes (its XFixes extension is missing), "
            "so Tallowin cannot watch the clipboard.";
    else
        *whyNot = "Tallowin cannot watch the clipboard: " + noDataControl +
                  ", and there is no XWayland to read it through. Start Tallowin with XWayland running "
                  "(DISPLAY set), or on a compositor that offers data-control (sway, KDE Plasma).";
    return nullptr;
}

}  // namespace

bool OpenSystemClipboard(std::string* whyNot) {
    if (reader) return true;
    std::unique_ptr<ClipboardBackend> backend = ChooseBackend(whyNot);
    if (!backend) return false;
    reader = std::make_unique<ClipboardReader>(std::move(backend));
    return true;
}

ClipboardReader& SystemClipboard() {
    if (!reader && !OpenSystemClipboard())
        reader = std::make_unique<ClipboardReader>(std::make_unique<QtClipboard>());
    return *reader;
}

void CloseSystemClipboard() { reader.reset(); }

}  // namespace platform
