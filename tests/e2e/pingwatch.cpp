// Watches that a window keeps answering, for the end-to-end tests.
//   pingwatch WINDOW SECONDS [LIMIT_MS]
// Sends the window manager's ping (_NET_WM_PING) to WINDOW every 20 ms for SECONDS and times each
// answer, or until told to stop (SIGTERM) or the window is gone. Prints how many pings were sent and the
// slowest answer; exits 1 when any answer took longer than LIMIT_MS (default 100) or never came.
#include <poll.h>
#include <signal.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

volatile sig_atomic_t stop = 0;

xcb_atom_t Atom(xcb_connection_t* conn, const char* name) {
    auto* reply = xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const xcb_window_t window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const double seconds = std::atof(argv[2]);
    const long limitMs = argc > 3 ? std::atol(argv[3]) : 100;
    signal(SIGTERM, [](int) { stop = 1; });
    xcb_connection_t* conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn)) return 2;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
    // The toolkit answers to the root window for StructureNotify or SubstructureRedirect listeners.
    const std::uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(conn, root, XCB_CW_EVENT_MASK, &events);
    const xcb_atom_t protocols = Atom(conn, "WM_PROTOCOLS"), ping = Atom(conn, "_NET_WM_PING");

    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    long sent = 0, late = 0, worstMs = 0;
    for (std::uint32_t serial = 1; Clock::now() < end && !stop; ++serial) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols;
        message.data.data32[0] = ping;
        message.data.data32[1] = serial;  // the time field: echoed back, so it tells the answers apart
        message.data.data32[2] = window;
        const auto start = Clock::now();
        xcb_send_event(conn, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(conn);
        ++sent;
        bool answered = false;
        while (!answered) {
            const long waitedMs =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            if (waitedMs > 2000) break;
            xcb_generic_event_t* event = xcb_poll_for_event(conn);
            if (!event) {
                pollfd fd{xcb_get_file_descriptor(conn), POLLIN, 0};
                poll(&fd, 1, 10);
                if (xcb_connection_has_error(conn)) return 2;
                continue;
            }
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* answer = reinterpret_cast<xcb_client_message_event_t*>(event);
                answered = answer->type == protocols && answer->data.data32[0] == ping &&
                           answer->data.data32[1] == serial;
            }
            std::free(event);
        }
        // A window that is gone (the program ended) leaves its last ping unanswered: no late answer.
        if (!answered) {
            auto* attributes =
                xcb_get_window_attributes_reply(conn, xcb_get_window_attributes(conn, window), nullptr);
            std::free(attributes);
            if (!attributes) {
                --sent;
                break;
            }
        }
        const long tookMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        worstMs = std::max(worstMs, tookMs);
        if (!answered || tookMs > limitMs) ++late;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::printf("pings %ld, late %ld, slowest %ld ms\n", sent, late, worstMs);
    xcb_disconnect(conn);
    return late == 0 && sent > 0 ? 0 : 1;
}
