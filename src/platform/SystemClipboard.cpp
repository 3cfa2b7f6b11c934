#include "platform/SystemClipboard.h"

#include <QGuiApplication>

#include "platform/QtClipboard.h"
#include "platform/X11Clipboard.h"

namespace platform {
namespace {

std::unique_ptr<ClipboardReader> reader;

std::unique_ptr<ClipboardBackend> ChooseBackend(std::string* whyNot) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto x11 = X11Clipboard::Open()) return x11;
        if (whyNot)
            *whyNot =
                "The X server does not report clipboard changes (its XFixes extension is missing), "
                "so Tallowin cannot watch the clipboard.";
        return nullptr;
    }
    return std::make_unique<QtClipboard>();
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
