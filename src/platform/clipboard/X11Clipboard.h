#pragma once
// The X11 CLIPBOARD selection as a clipboard backend.
//
// It has a connection and a thread of its own, so no clipboard owner can stall the interface:
// XFixes tells it of every change of owner as it happens, and it fetches with ConvertSelection
// into a property of its own hidden window, incremental (INCR) transfers included.
//
// A mark is the owner's window and the selection's time stamp as the server reports it with each
// change. Emptying gives the selection to no one stamped with that time: the server ignores a
// change stamped before the selection's last one, so a grab that arrived since stays, and no
// reading of the server's clock is needed.
//
// Under XWayland that is not enough: the compositor keeps offering the grab to native programs,
// and mutter offers its own copy to X11 again once the copying program ends. There the clipboard is
// emptied by taking it with an offer of no types and holding it until another program copies
// something; the compositor then drops the grab for everyone. The held clipboard reads as empty.

#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>

#include "platform/clipboard/ClipboardBackend.h"

namespace platform {

class X11Clipboard final : public ClipboardBackend {
public:
    enum class Emptying {
        kGiveToNoOne,  // an X11 session
        kHoldEmpty,    // XWayland: native programs must see the clipboard empty too
    };

    // The backend on the X server that DISPLAY names; null when there is none, or it lacks XFixes.
    static std::unique_ptr<X11Clipboard> Open(Emptying emptying = Emptying::kGiveToNoOne);
    ~X11Clipboard() override;

    void Start(Listener listener) override;
    FetchResult Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) override;
    void Clear(ClipboardMark mark) override;
    void ClearAll() override;

private:
    struct Event;  // an event taken from the connection, freed when it goes
    using Clock = std::chrono::steady_clock;

    X11Clipboard(xcb_connection_t* conn, std::uint8_t xfixesEvent, Emptying emptying);
    bool Init();
    void Run();
    void Announce(ClipboardMark mark);
    // The next event; null when the deadline passed, the backend stops or the connection broke.
    std::unique_ptr<Event> NextEvent(std::optional<Clock::time_point> deadline);
    // Notes a change of the clipboard's owner; false for any other event.
    bool TakeSelectionNotice(const Event& event);
    // Answers a program that asks the held clipboard for its contents: it offers nothing. False for
    // any other event.
    bool AnswerRequest(const Event& event);
    // Gives the clipboard to no one, or holds it empty, if it has not changed since `time`.
    void Empty(xcb_timestamp_t time);
    FetchResult Transfer(ClipboardMark mark, xcb_atom_t target, PixelBytes& bytes);
    // Sets room aside for the size an incremental transfer's owner announces (its INCR property).
    static void ReserveAnnounced(PixelBytes& bytes, const xcb_get_property_reply_t& incr);
    FetchResult Incremental(PixelBytes& bytes);
    FetchResult Append(PixelBytes& bytes, const void* data, std::size_t length);
    FetchResult Interrupted() const;
    void Wake();
    std::vector<std::string> Names(const std::vector<xcb_atom_t>& atoms);
    xcb_atom_t Intern(const std::string& name);

    xcb_connection_t* conn_;
    std::uint8_t xfixesEvent_;
    Emptying emptying_;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t clipboard_ = XCB_NONE, targets_ = XCB_NONE, incr_ = XCB_NONE, property_ = XCB_NONE;
    int wake_ = -1;  // an eventfd that wakes the thread to stop
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> latest_{0};  // the mark of the newest contents seen
    bool broken_ = false;                   // the connection failed (backend thread only)
    std::optional<ClipboardMark> pending_;  // contents not yet announced (backend thread only)
    std::unordered_map<xcb_atom_t, std::string> names_;
    std::unordered_map<std::string, xcb_atom_t> atoms_;
    Listener listener_;
    std::thread thread_;
};

}  // namespace platform
