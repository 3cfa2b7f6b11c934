// The X11 backend's transfers: one ConvertSelection into our property, whole or in pieces (INCR).

#include <cstring>
#include <new>

#include "platform/clipboard/X11ClipboardImpl.h"

namespace platform {

using namespace x11;

FetchResult X11Clipboard::Impl::Interrupted() const {
    return stop_ || broken_ || pending_ ? FetchResult::kChanged : FetchResult::kTimedOut;
}

FetchResult X11Clipboard::Impl::Request(ClipboardMark mark, xcb_atom_t target,
                                        ReplyPtr<xcb_get_property_reply_t>& reply) {
    if (pending_ || mark.Value() != latest_.load()) return FetchResult::kChanged;
    const xcb_timestamp_t time = TimeOf(mark);
    NewRequestor();
    xcb_convert_selection(conn_, requestor_, clipboard_, target, property_, time);
    xcb_flush(conn_);

    // The owner's answer: the data is in our property, or it refused (property None).
    const auto deadline = Clock::now() + kFetchPatience;
    for (;;) {
        auto event = NextEvent(deadline);
        if (!event) return Interrupted();
        if (TakeSelectionNotice(*event)) return FetchResult::kChanged;
        if (event->Type() != XCB_SELECTION_NOTIFY) continue;
        const auto& answer = event->As<xcb_selection_notify_event_t>();
        // An answer to an earlier request (given up on) names another time or target.
        if (answer.requestor != requestor_ || answer.selection != clipboard_ || answer.target != target ||
            answer.time != time)
            continue;
        if (answer.property == XCB_NONE) return FetchResult::kRefused;
        break;
    }
    reply = Own(xcb_get_property_reply(
        conn_,
        xcb_get_property(conn_, 0, requestor_, property_, XCB_GET_PROPERTY_TYPE_ANY, 0, kWholeProperty),
        nullptr));
    if (!reply || reply->type == XCB_NONE) return FetchResult::kRefused;
    return FetchResult::kDone;
}

void X11Clipboard::Impl::NewRequestor() {
    if (requestor_ != XCB_NONE) xcb_destroy_window(conn_, requestor_);
    requestor_ = xcb_generate_id(conn_);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(conn_, XCB_COPY_FROM_PARENT, requestor_, root_, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
}

std::optional<std::vector<xcb_atom_t>> X11Clipboard::Impl::Targets(ClipboardMark mark) {
    auto reply = Own<xcb_get_property_reply_t>(nullptr);
    const FetchResult result = Request(mark, targets_, reply);
    if (result != FetchResult::kDone)
        return result == FetchResult::kChanged ? std::nullopt : std::optional(std::vector<xcb_atom_t>());
    xcb_delete_property(conn_, requestor_, property_);
    xcb_flush(conn_);
    // A list of types is a list of atoms, whole: anything else (a piece of an earlier transfer, an
    // incremental answer) offers nothing.
    if (reply->type != XCB_ATOM_ATOM || reply->format != 32 || reply->bytes_after != 0)
        return std::vector<xcb_atom_t>();
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    return std::vector<xcb_atom_t>(atoms, atoms + xcb_get_property_value_length(reply.get()) / 4);
}

FetchResult X11Clipboard::Impl::Transfer(ClipboardMark mark, xcb_atom_t target, PixelBytes& bytes) {
    bytes.clear();
    auto reply = Own<xcb_get_property_reply_t>(nullptr);
    if (const FetchResult result = Request(mark, target, reply); result != FetchResult::kDone) return result;
    // Data comes in bytes (format 8); an incremental transfer is announced by a 32-bit INCR value.
    const bool incremental = reply->type == incr_;
    if (reply->format != (incremental ? 32 : 8) || reply->bytes_after != 0) return FetchResult::kRefused;
    if (incremental) ReserveAnnounced(bytes, *reply);
    const FetchResult whole = incremental ? FetchResult::kDone
                                          : Append(bytes, xcb_get_property_value(reply.get()),
                                                   xcb_get_property_value_length(reply.get()));
    reply.reset();
    // Deleting the property tells an incremental owner to send the first piece.
    xcb_delete_property(conn_, requestor_, property_);
    xcb_flush(conn_);
    return incremental ? Incremental(bytes) : whole;
}

void X11Clipboard::Impl::ReserveAnnounced(PixelBytes& bytes, const xcb_get_property_reply_t& incr) {
    // The owner may announce the size of an incremental transfer: room for all of it at once spares
    // moving the pieces so far when the buffer outgrows its block. It is only a lower bound, and
    // may be a lie: more still arrives, and no more than a fetch may take is set aside. An owner
    // that announces nothing (xclip) leaves the buffer to grow as PixelBytes does, moving once into
    // the largest kept block.
    if (xcb_get_property_value_length(&incr) < 4) return;
    std::uint32_t announced = 0;
    std::memcpy(&announced, xcb_get_property_value(&incr), 4);
    try {
        bytes.reserve(std::min<std::size_t>(announced, kMaxFetchBytes));
    } catch (const std::bad_alloc&) {
        // Memory is short: the buffer grows as the pieces come.
    }
}

FetchResult X11Clipboard::Impl::Incremental(PixelBytes& bytes) {
    for (;;) {
        const auto deadline = Clock::now() + kFetchPatience;  // every piece renews the patience
        for (;;) {
            auto event = NextEvent(deadline);
            if (!event) return Interrupted();
            if (TakeSelectionNotice(*event)) return FetchResult::kChanged;
            if (event->Type() != XCB_PROPERTY_NOTIFY) continue;
            const auto& change = event->As<xcb_property_notify_event_t>();
            // Only a new value of our own property on this request's window is the owner's next piece.
            if (change.window == requestor_ && change.atom == property_ &&
                change.state == XCB_PROPERTY_NEW_VALUE)
                break;
        }
        auto piece = Own(xcb_get_property_reply(
            conn_,
            xcb_get_property(conn_, 1, requestor_, property_, XCB_GET_PROPERTY_TYPE_ANY, 0, kWholeProperty),
            nullptr));
        xcb_flush(conn_);
        if (!piece) return FetchResult::kRefused;
        const int length = xcb_get_property_value_length(piece.get());
        if (length == 0) return FetchResult::kDone;  // the empty piece ends the transfer
        if (piece->format != 8) return FetchResult::kRefused;
        const FetchResult appended = Append(bytes, xcb_get_property_value(piece.get()), length);
        if (appended != FetchResult::kDone) return appended;
    }
}

FetchResult X11Clipboard::Impl::Append(PixelBytes& bytes, const void* data, std::size_t length) {
    const auto* from = static_cast<const std::uint8_t*>(data);
    if (bytes.size() + length > kMaxFetchBytes) {
        bytes.append(from, kMaxFetchBytes - bytes.size());
        return FetchResult::kTooLarge;
    }
    bytes.append(from, length);
    return FetchResult::kDone;
}

}  // namespace platform
