#include "platform/ClipboardSelection.h"

#include <xcb/xcb.h>

#include <QClipboard>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

xcb_connection_t* QtConnection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* conn, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

xcb_window_t Owner(xcb_connection_t* conn, xcb_atom_t selection) {
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(conn, xcb_get_selection_owner(conn, selection), nullptr);
    const xcb_window_t owner = reply ? reply->owner : xcb_window_t{XCB_NONE};
    std::free(reply);
    return owner;
}

// The X server's clock, read through a connection of our own (so that the event it takes does not
// pass through Qt): a zero-length append to a property of a hidden window, and the time stamp of
// the change it reports.
class ServerClock {
public:
    ServerClock() {
        conn_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(conn_)) return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
        window_ = xcb_generate_id(conn_);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(conn_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
        property_ = Atom(conn_, "TALLOWIN_CLOCK");
        ok_ = property_ != XCB_ATOM_NONE;
    }
    ~ServerClock() {
        if (conn_) xcb_disconnect(conn_);
    }

    xcb_timestamp_t Now() {
        if (!ok_) return XCB_CURRENT_TIME;
        xcb_change_property(conn_, XCB_PROP_MODE_APPEND, window_, property_, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(conn_);
        while (xcb_generic_event_t* event = xcb_wait_for_event(conn_)) {
            const bool change = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            const xcb_timestamp_t time =
                change ? reinterpret_cast<xcb_property_notify_event_t*>(event)->time : 0;
            std::free(event);
            if (change) return time;
        }
        ok_ = false;  // the connection broke
        return XCB_CURRENT_TIME;
    }

private:
    xcb_connection_t* conn_ = nullptr;
    xcb_window_t window_ = 0;
    xcb_atom_t property_ = XCB_ATOM_NONE;
    bool ok_ = false;
};

void ClearInProcess() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) app->clipboard()->clear();
}

}  // namespace

ClipboardMark MarkClipboard() {
    xcb_connection_t* conn = QtConnection();
    if (!conn) return {};
    static ServerClock clock;
    ClipboardMark mark;
    mark.owner = Owner(conn, Atom(conn, "CLIPBOARD"));
    mark.time = clock.Now();
    return mark;
}

void ClearClipboard() {
    xcb_connection_t* conn = QtConnection();
    if (!conn) return ClearInProcess();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard()) clipboard->clear();
    xcb_set_selection_owner(conn, XCB_NONE, Atom(conn, "CLIPBOARD"), XCB_CURRENT_TIME);
    xcb_flush(conn);
}

void ClearClipboard(const ClipboardMark& asOf) {
    xcb_connection_t* conn = QtConnection();
    if (!conn || asOf.time == XCB_CURRENT_TIME) return ClearClipboard();
    const xcb_atom_t selection = Atom(conn, "CLIPBOARD");
    // A new owner means a new grab. The same owner may have put a new one there since: the server
    // ignores a change stamped before the selection's last change, so the mark's time protects it.
    if (Owner(conn, selection) != asOf.owner) return;
    xcb_set_selection_owner(conn, XCB_NONE, selection, asOf.time);
    xcb_flush(conn);
}

}  // namespace platform
