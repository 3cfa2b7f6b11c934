// A clipboard owner for the end-to-end tests that behaves the ways real programs sometimes do.
//   clipowner [options] FILE
// Takes the CLIPBOARD selection and offers FILE's bytes as one picture type, until it loses the
// selection (then it exits) or is killed. Options:
//   --type T          the type offered (default image/png)
//   --ready PATH      creates PATH once it owns the clipboard
//   --hang            never answers a request, as a program that stopped
//   --chunk N         sends in incremental (INCR) pieces of N bytes (default: all at once)
//   --delay MS        waits MS milliseconds before each piece
//   --claim N         announces N bytes at the start of an incremental transfer, whatever it sends
//   --die-after N     exits once N bytes were sent, in the middle of a transfer
//   --put-back        when the clipboard is emptied (given to no one), takes it again with the same
//                     picture, as clipboard managers that keep images do; prints "put back" each time
//   --tell-requests   prints "asked" and the type's name for every request that reaches it
//   --keep-sending    goes on with an incremental transfer after losing the clipboard, sending a
//                     piece whenever the requestor's property is deleted, as xclip does
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Options {
    std::string type = "image/png", ready, file;
    bool hang = false, putBack = false, keepSending = false, tellRequests = false;
    std::size_t chunk = 0, claim = 0, dieAfter = 0;
    int delayMs = 0;
};

xcb_connection_t* conn;
xcb_window_t window;

xcb_atom_t Atom(const char* name) {
    auto* reply = xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

xcb_window_t Owner(xcb_atom_t selection) {
    auto* reply = xcb_get_selection_owner_reply(conn, xcb_get_selection_owner(conn, selection), nullptr);
    const xcb_window_t owner = reply ? reply->owner : XCB_NONE;
    std::free(reply);
    return owner;
}

void Notify(const xcb_selection_request_event_t& request, xcb_atom_t property) {
    xcb_selection_notify_event_t notice{};
    notice.response_type = XCB_SELECTION_NOTIFY;
    notice.time = request.time;
    notice.requestor = request.requestor;
    notice.selection = request.selection;
    notice.target = request.target;
    notice.property = property;
    xcb_send_event(conn, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notice));
    xcb_flush(conn);
}

// One incremental transfer in progress.
struct Transfer {
    xcb_window_t requestor = XCB_NONE;
    xcb_atom_t property = XCB_NONE, type = XCB_NONE;
    std::size_t sent = 0;
    bool done = false;
};

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&] { return i + 1 < argc ? std::string(argv[++i]) : std::string(); };
        if (a == "--type")
            o.type = next();
        else if (a == "--ready")
            o.ready = next();
        else if (a == "--hang")
            o.hang = true;
        else if (a == "--keep-sending")
            o.keepSending = true;
        else if (a == "--put-back")
            o.putBack = true;
        else if (a == "--tell-requests")
            o.tellRequests = true;
        else if (a == "--chunk")
            o.chunk = std::stoul(next());
        else if (a == "--claim")
            o.claim = std::stoul(next());
        else if (a == "--die-after")
            o.dieAfter = std::stoul(next());
        else if (a == "--delay")
            o.delayMs = std::stoi(next());
        else
            o.file = a;
    }
    std::ifstream in(o.file, std::ios::binary);
    const std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (o.file.empty() || !in) {
        std::fprintf(stderr, "clipowner: cannot read %s\n", o.file.c_str());
        return 2;
    }

    conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn)) return 2;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    window = xcb_generate_id(conn);
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t clipboard = Atom("CLIPBOARD"), targets = Atom("TARGETS"), incr = Atom("INCR"),
                     offered = Atom(o.type.c_str());
    auto take = [&] {
        xcb_set_selection_owner(conn, window, clipboard, XCB_CURRENT_TIME);
        xcb_flush(conn);
        return Owner(clipboard) == window;
    };
    if (!take()) return 2;
    if (!o.ready.empty()) std::ofstream(o.ready).put('\n');
    if (o.hang)
        for (;;) std::this_thread::sleep_for(std::chrono::hours(1));

    Transfer transfer;
    auto sendPiece = [&] {
        if (o.delayMs) std::this_thread::sleep_for(std::chrono::milliseconds(o.delayMs));
        const std::size_t n = std::min(o.chunk, data.size() - transfer.sent);
        xcb_change_property(conn, XCB_PROP_MODE_REPLACE, transfer.requestor, transfer.property, transfer.type,
                            8, static_cast<std::uint32_t>(n), data.data() + transfer.sent);
        xcb_flush(conn);
        transfer.sent += n;
        if (o.dieAfter && transfer.sent >= o.dieAfter) std::_Exit(0);
        if (n == 0) transfer.done = true;  // the empty piece ends it
    };

    while (xcb_generic_event_t* event = xcb_wait_for_event(conn)) {
        const std::uint8_t kind = event->response_type & 0x7f;
        if (kind == XCB_SELECTION_REQUEST) {
            const auto request = *reinterpret_cast<xcb_selection_request_event_t*>(event);
            const xcb_atom_t property = request.property ? request.property : request.target;
            if (o.tellRequests) {
                std::printf("asked %s\n", request.target == targets   ? "TARGETS"
                                          : request.target == offered ? o.type.c_str()
                                                                      : "another type");
                std::fflush(stdout);
            }
            if (request.target == targets) {
                const xcb_atom_t list[] = {targets, offered};
                xcb_change_property(conn, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM,
                                    32, 2, list);
                Notify(request, property);
            } else if (request.target != offered) {
                Notify(request, XCB_NONE);
            } else if (o.chunk == 0 || data.size() <= o.chunk) {
                xcb_change_property(conn, XCB_PROP_MODE_REPLACE, request.requestor, property, offered, 8,
                                    static_cast<std::uint32_t>(data.size()), data.data());
                Notify(request, property);
            } else {
                // Incremental: announce, then send a piece each time the requestor deletes the last.
                const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(conn, request.requestor, XCB_CW_EVENT_MASK, &events);
                const std::uint32_t claim = static_cast<std::uint32_t>(o.claim ? o.claim : data.size());
                xcb_change_property(conn, XCB_PROP_MODE_REPLACE, request.requestor, property, incr, 32, 1,
                                    &claim);
                transfer = Transfer{request.requestor, property, offered, 0, false};
                Notify(request, property);
            }
        } else if (kind == XCB_PROPERTY_NOTIFY) {
            const auto& change = *reinterpret_cast<xcb_property_notify_event_t*>(event);
            if (change.window == transfer.requestor && change.atom == transfer.property &&
                change.state == XCB_PROPERTY_DELETE && !transfer.done)
                sendPiece();
        } else if (kind == XCB_SELECTION_CLEAR) {
            if (o.keepSending) {
                std::free(event);
                continue;  // killed by the test
            }
            if (!o.putBack) break;
            // Emptied (no owner) means put it back; another owner means a new grab: leave it.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (Owner(clipboard) == XCB_NONE && take()) {
                std::printf("put back\n");
                std::fflush(stdout);
            }
        }
        std::free(event);
    }
    xcb_disconnect(conn);
    return 0;
}
