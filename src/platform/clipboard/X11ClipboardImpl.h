#pragma once
// The X11 backend's workings, for its own source files only: the connection, its thread and its
// transfers.
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
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>

#include "platform/clipboard/X11Clipboard.h"

namespace platform {

namespace x11 {

// The most names of types kept from one owner to the next.
inline constexpr std::size_t kMaxKnownNames = 1024;

// The most one GetProperty asks for, in 32-bit units: all of it.
inline constexpr std::uint32_t kWholeProperty = 0x1fffffff;

inline ClipboardMark MarkOf(xcb_window_t owner, xcb_timestamp_t time) {
    return owner == XCB_NONE ? ClipboardMark() : ClipboardMark(std::uint64_t{owner} << 32 | time);
}
inline xcb_window_t OwnerOf(ClipboardMark mark) { return static_cast<xcb_window_t>(mark.Value() >> 32); }
inline xcb_timestamp_t TimeOf(ClipboardMark mark) { return static_cast<xcb_timestamp_t>(mark.Value()); }

// A reply of xcb's, freed when it goes.
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply>
ReplyPtr<Reply> Own(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

}  // namespace x11

using x11::ReplyPtr;

class X11Clipboard::Impl {
public:
    Impl(xcb_connection_t* conn, std::uint8_t xfixesEvent, EmptyBy emptyBy);
    ~Impl();
    bool Init();

    void Start(Listener listener);
    FetchResult Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes);
    void Clear(ClipboardMark mark);
    void ClearAll();
    bool ConnectionLost() const { return broken_; }
    void SetPaused(bool paused) { paused_ = paused; }

private:
    struct Event;  // an event taken from the connection, freed when it goes
    using Clock = std::chrono::steady_clock;

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
    // Asks the owner of the contents of `mark` for `target` into our property and waits for its
    // answer: kDone with the property's first reply, or why not.
    FetchResult Request(ClipboardMark mark, xcb_atom_t target, ReplyPtr<xcb_get_property_reply_t>& reply);
    // The types the owner of the contents of `mark` offers: a list of atoms, or none when it sends
    // anything else.
    std::optional<std::vector<xcb_atom_t>> Targets(ClipboardMark mark);
    FetchResult Transfer(ClipboardMark mark, xcb_atom_t target, PixelBytes& bytes);
    // A fresh window for the next request's data, the last one destroyed: an owner still sending the
    // pieces of a transfer we gave up on writes to a window that is gone, never into the next
    // owner's answer.
    void NewRequestor();
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
    EmptyBy emptyBy_;
    xcb_window_t window_ = XCB_NONE;     // ours for good: it holds the clipboard empty
    xcb_window_t requestor_ = XCB_NONE;  // the data of the request under way comes into its property
    xcb_window_t root_ = XCB_NONE;
    xcb_atom_t clipboard_ = XCB_NONE, targets_ = XCB_NONE, incr_ = XCB_NONE, property_ = XCB_NONE;
    int wake_ = -1;  // an eventfd that wakes the thread to stop
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> latest_{0};  // the mark of the newest contents seen
    std::atomic<bool> broken_{false};       // the connection failed (set on the backend thread)
    std::atomic<bool> paused_{false};       // the owner is not asked for its types
    std::optional<ClipboardMark> pending_;  // contents not yet announced (backend thread only)
    std::unordered_map<xcb_atom_t, std::string> names_;
    std::unordered_map<std::string, xcb_atom_t> atoms_;
    Listener listener_;
    std::thread thread_;
};

struct X11Clipboard::Impl::Event {
    explicit Event(xcb_generic_event_t* e) : raw(e) {}
    ~Event() { std::free(raw); }
    std::uint8_t Type() const { return raw->response_type & 0x7f; }
    template <typename T>
    const T& As() const {
        return *reinterpret_cast<const T*>(raw);
    }
    xcb_generic_event_t* raw;
};

}  // namespace platform
