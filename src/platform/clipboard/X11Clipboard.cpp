#include "platform/clipboard/X11Clipboard.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "platform/clipboard/X11ClipboardImpl.h"

namespace platform {

using namespace x11;

std::unique_ptr<X11Clipboard> X11Clipboard::Open(EmptyBy emptyBy) {
    xcb_connection_t* conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn)) {
        xcb_disconnect(conn);
        return nullptr;
    }
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(conn, &xcb_xfixes_id);
    auto version =
        xfixes && xfixes->present
            ? Own(xcb_xfixes_query_version_reply(conn, xcb_xfixes_query_version(conn, 5, 0), nullptr))
            : Own<xcb_xfixes_query_version_reply_t>(nullptr);
    if (!version) {
        xcb_disconnect(conn);
        return nullptr;
    }
    auto impl = std::make_unique<Impl>(conn, xfixes->first_event, emptyBy);
    if (!impl->Init()) return nullptr;
    return std::unique_ptr<X11Clipboard>(new X11Clipboard(std::move(impl)));
}

X11Clipboard::X11Clipboard(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
X11Clipboard::~X11Clipboard() = default;

void X11Clipboard::Start(Listener listener) { impl_->Start(std::move(listener)); }
FetchResult X11Clipboard::Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) {
    return impl_->Fetch(mark, type, bytes);
}
void X11Clipboard::Clear(ClipboardMark mark) { impl_->Clear(mark); }
void X11Clipboard::ClearAll() { impl_->ClearAll(); }
bool X11Clipboard::ConnectionLost() const { return impl_->ConnectionLost(); }
void X11Clipboard::SetPaused(bool paused) { impl_->SetPaused(paused); }

X11Clipboard::Impl::Impl(xcb_connection_t* conn, std::uint8_t xfixesEvent, EmptyBy emptyBy)
    : conn_(conn), xfixesEvent_(xfixesEvent), emptyBy_(emptyBy) {}

bool X11Clipboard::Impl::Init() {
    clipboard_ = Intern("CLIPBOARD");
    targets_ = Intern("TARGETS");
    incr_ = Intern("INCR");
    property_ = Intern("TALLOWIN_SELECTION");
    wake_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (clipboard_ == XCB_NONE || targets_ == XCB_NONE || incr_ == XCB_NONE || property_ == XCB_NONE ||
        wake_ < 0)
        return false;

    // A hidden window receives the data; its property changes pace incremental transfers.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
    root_ = screen->root;
    window_ = xcb_generate_id(conn_);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    const xcb_void_cookie_t made = xcb_create_window_checked(
        conn_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
        XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    if (auto error = Own(xcb_request_check(conn_, made))) {
        window_ = XCB_NONE;
        return false;
    }
    static constexpr char kName[] = "Tallowin clipboard";
    xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        sizeof kName - 1, kName);
    xcb_xfixes_select_selection_input(conn_, window_, clipboard_,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(conn_);
    return true;
}

X11Clipboard::Impl::~Impl() {
    stop_ = true;
    Wake();
    if (thread_.joinable()) thread_.join();
    if (requestor_ != XCB_NONE) xcb_destroy_window(conn_, requestor_);
    if (window_ != XCB_NONE) xcb_destroy_window(conn_, window_);
    xcb_disconnect(conn_);
    if (wake_ >= 0) close(wake_);
}

void X11Clipboard::Impl::Start(Listener listener) {
    listener_ = std::move(listener);
    thread_ = std::thread([this] { Run(); });
}

void X11Clipboard::Impl::Run() {
    // The contents found at start: their time stamp is unknown until the next change.
    auto owner =
        Own(xcb_get_selection_owner_reply(conn_, xcb_get_selection_owner(conn_, clipboard_), nullptr));
    const ClipboardMark first = MarkOf(owner ? owner->owner : XCB_NONE, XCB_CURRENT_TIME);
    latest_ = first.Value();
    pending_ = first;
    while (!stop_ && !broken_) {
        while (pending_ && !stop_) {
            const ClipboardMark mark = *pending_;
            pending_.reset();
            Announce(mark);
        }
        if (auto event = NextEvent(std::nullopt)) TakeSelectionNotice(*event);
    }
    if (broken_ && !stop_) listener_(ClipboardMark(), {});  // nothing more can be read
}

void X11Clipboard::Impl::Announce(ClipboardMark mark) {
    // Paused, the owner is not asked: the contents are known by their mark alone.
    if (mark.IsEmpty() || paused_) return listener_(mark, {});
    const std::optional<std::vector<xcb_atom_t>> atoms = Targets(mark);
    if (!atoms) return;  // the newer contents are announced next
    listener_(mark, Names(*atoms));
}

FetchResult X11Clipboard::Impl::Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) {
    const xcb_atom_t target = Intern(type);
    if (target == XCB_NONE) return FetchResult::kRefused;
    return Transfer(mark, target, bytes);
}

void X11Clipboard::Impl::Clear(ClipboardMark mark) {
    if (mark.IsEmpty() || mark.Value() != latest_.load()) return;  // already replaced
    xcb_timestamp_t time = TimeOf(mark);
    if (time == XCB_CURRENT_TIME) {
        // Contents from before the start carry no time stamp: check the owner instead.
        auto owner =
            Own(xcb_get_selection_owner_reply(conn_, xcb_get_selection_owner(conn_, clipboard_), nullptr));
        if (!owner || owner->owner != OwnerOf(mark)) return;
    }
    Empty(time);
}

void X11Clipboard::Impl::ClearAll() { Empty(XCB_CURRENT_TIME); }

void X11Clipboard::Impl::Empty(xcb_timestamp_t time) {
    xcb_set_selection_owner(conn_, emptyBy_ == EmptyBy::kHoldingEmpty ? window_ : XCB_NONE, clipboard_, time);
    xcb_flush(conn_);
    Wake();
}

bool X11Clipboard::Impl::AnswerRequest(const Event& event) {
    if (event.Type() != XCB_SELECTION_REQUEST) return false;
    const auto& request = event.As<xcb_selection_request_event_t>();
    xcb_selection_notify_event_t answer{};
    answer.response_type = XCB_SELECTION_NOTIFY;
    answer.time = request.time;
    answer.requestor = request.requestor;
    answer.selection = request.selection;
    answer.target = request.target;
    answer.property = XCB_NONE;  // refused
    if (request.selection == clipboard_ && request.owner == window_ && request.target == targets_) {
        // An old client names no property: the target's name is the property then.
        answer.property = request.property != XCB_NONE ? request.property : request.target;
        xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, request.requestor, answer.property, XCB_ATOM_ATOM,
                            32, 0, nullptr);
    }
    xcb_send_event(conn_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&answer));
    xcb_flush(conn_);
    return true;
}

void X11Clipboard::Impl::Wake() {
    // Also after a request from another thread: xcb may have read our events into its queue while
    // it sent, and poll() on the socket would then not see them.
    if (wake_ < 0) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wake_, &one, sizeof one);
}

std::unique_ptr<X11Clipboard::Impl::Event> X11Clipboard::Impl::NextEvent(
    std::optional<Clock::time_point> deadline) {
    for (;;) {
        if (stop_ || broken_) return nullptr;
        if (xcb_generic_event_t* raw = xcb_poll_for_event(conn_)) {
            auto event = std::make_unique<Event>(raw);
            if (!AnswerRequest(*event)) return event;
            continue;
        }
        if (xcb_connection_has_error(conn_)) {
            broken_ = true;
            return nullptr;
        }
        int sleepMs = -1;
        if (deadline) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
            if (left <= 0) return nullptr;
            sleepMs = static_cast<int>(std::min<long long>(left, 60'000));
        }
        pollfd fds[2] = {{xcb_get_file_descriptor(conn_), POLLIN, 0}, {wake_, POLLIN, 0}};
        if (poll(fds, 2, sleepMs) > 0 && (fds[1].revents & POLLIN)) {
            std::uint64_t count;
            [[maybe_unused]] const auto drained = read(wake_, &count, sizeof count);
        }
    }
}

bool X11Clipboard::Impl::TakeSelectionNotice(const Event& event) {
    if (event.Type() != xfixesEvent_ + XCB_XFIXES_SELECTION_NOTIFY) return false;
    const auto& notice = event.As<xcb_xfixes_selection_notify_event_t>();
    if (notice.selection != clipboard_) return false;
    // A destroyed owner or one that disconnected leaves the clipboard empty: its owner reads None.
    // Held empty by us, it is empty too.
    const ClipboardMark mark =
        notice.owner == window_ ? ClipboardMark() : MarkOf(notice.owner, notice.selection_timestamp);
    latest_ = mark.Value();
    pending_ = mark;
    return true;
}

std::vector<std::string> X11Clipboard::Impl::Names(const std::vector<xcb_atom_t>& atoms) {
    // The names known stay for the next owner, which most likely offers the same types; an owner
    // that offers thousands of them does not make us keep them all.
    if (names_.size() > kMaxKnownNames) names_.clear();
    // Ask for every unknown name first, then collect the answers: one round trip in all.
    std::unordered_map<xcb_atom_t, xcb_get_atom_name_cookie_t> asked;
    for (xcb_atom_t atom : atoms)
        if (!names_.contains(atom) && !asked.contains(atom))
            asked.emplace(atom, xcb_get_atom_name(conn_, atom));
    for (auto& [atom, cookie] : asked) {
        auto reply = Own(xcb_get_atom_name_reply(conn_, cookie, nullptr));
        names_[atom] = reply
                           ? std::string(xcb_get_atom_name_name(reply.get()),
                                         static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())))
                           : std::string();
    }
    std::vector<std::string> names;
    for (xcb_atom_t atom : atoms) names.push_back(names_[atom]);
    return names;
}

xcb_atom_t X11Clipboard::Impl::Intern(const std::string& name) {
    if (auto known = atoms_.find(name); known != atoms_.end()) return known->second;
    auto reply = Own(xcb_intern_atom_reply(
        conn_, xcb_intern_atom(conn_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr));
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_NONE};
    if (atom != XCB_NONE) atoms_[name] = atom;
    return atom;
}

}  // namespace platform
