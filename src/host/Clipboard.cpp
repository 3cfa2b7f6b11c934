#include "host/Clipboard.h"

#include <xcb/xcb.h>

#include <cstdlib>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace host {
namespace {

// On X11 Qt's clear() does nothing while another program owns the selection, and taking ownership
// through Qt can be refused for an old time stamp; giving the selection to no one at the server's
// current time always works.
bool ClearX11Selection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* conn = x11 ? x11->connection() : nullptr;
    if (!conn) return false;
    static const char kName[] = "CLIPBOARD";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 0, sizeof kName - 1, kName), nullptr);
    if (!atom) return false;
    xcb_set_selection_owner(conn, XCB_NONE, atom->atom, XCB_CURRENT_TIME);
    free(atom);
    xcb_flush(conn);
    return true;
}

bool OffersImage(const QStringList& formats) {
    for (const QString& f : formats)
        if (f.startsWith(QLatin1String("image/")) || f == QLatin1String("application/x-qt-image")) return true;
    return false;
}

}  // namespace

Picture Clipboard::GetData(int format) {
    if (format != kBitmap) return Picture();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !OffersImage(data->formats())) return Picture();
    // A picture that does not decode (cut short, unknown) counts as no bitmap.
    return Picture(qvariant_cast<QImage>(data->imageData()));
}

void Clipboard::Clear() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard()) clipboard->clear(QClipboard::Clipboard);
    if (!ClearX11Selection()) clipboard->clear(QClipboard::Clipboard);
}

}  // namespace host
