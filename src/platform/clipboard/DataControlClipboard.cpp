#include "platform/clipboard/DataControlClipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/clipboard/DataControlDevice.h"
#include "platform/clipboard/PipeTransfer.h"

namespace platform {
namespace {

using Protocol = DataControlDevice::Protocol;

// The globals this needs, as the registry announces them.
struct Globals {
    wl_seat* seat = nullptr;
    std::optional<std::uint32_t> ext, wlr;

    static void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                         std::uint32_t) {
        auto* self = static_cast<Globals*>(data);
        // The first seat is the one a desktop session has.
        if (!self->seat && std::strcmp(interface, wl_seat_interface.name) == 0)
            self->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        else if (std::strcmp(interface, DataControlDevice::InterfaceName(Protocol::Ext)) == 0)
            self->ext = name;
        else if (std::strcmp(interface, DataControlDevice::InterfaceName(Protocol::Wlr)) == 0)
            self->wlr = name;
    }
    static void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}
    static constexpr wl_registry_listener kListener{OnGlobal, OnGlobalRemove};
};

}  // namespace

class DataControlClipboard::Impl final : public DataControlDevice::Events {
public:
    explicit Impl(wl_display* display) : display_(display) {}

    ~Impl() override {
        if (thread_.joinable()) {
            Command([this] { stop_ = true; });
            thread_.join();
        }
        if (device_) device_->DestroyOffer(offer_);
        device_.reset();
        if (seat_) wl_seat_destroy(seat_);
        if (registry_) wl_registry_destroy(registry_);
        if (wake_ >= 0) close(wake_);
        wl_display_disconnect(display_);
    }

    // Binds the data-control device and learns the selection; false with the reason when the
    // compositor cannot give them.
    bool Connect(std::string* problem) {
        registry_ = wl_display_get_registry(display_);
        Globals globals;
        wl_registry_add_listener(registry_, &Globals::kListener, &globals);
        if (wl_display_roundtrip(display_) < 0)
            return Fail(problem, "the Wayland compositor closed the connection");
        seat_ = globals.seat;
        if (!globals.ext && !globals.wlr)
            return Fail(problem, std::string("the Wayland compositor offers no data-control protocol (") +
                                     DataControlDevice::InterfaceName(Protocol::Ext) + " or " +
                                     DataControlDevice::InterfaceName(Protocol::Wlr) + ")");
        if (!seat_) return Fail(problem, "the Wayland compositor has no seat");
        const Protocol protocol = globals.ext ? Protocol::Ext : Protocol::Wlr;
        device_ = DataControlDevice::Bind(protocol, registry_, globals.ext ? *globals.ext : *globals.wlr,
                                          seat_, *this);
        // The device's first selection event comes with this round trip.
        if (wl_display_roundtrip(display_) < 0)
            return Fail(problem, "the Wayland compositor closed the connection");
        wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wake_ < 0) return Fail(problem, std::string("eventfd: ") + std::strerror(errno));
        return true;
    }

    bool Lost() const { return lost_; }

    void Start(Listener listener) {
        listener_ = std::move(listener);
        announce_ = true;
        thread_ = std::thread([this] { Run(); });
    }

    FetchResult Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) {
        bytes.clear();
        if (mark != Mark() || !offer_) return FetchResult::kChanged;
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) < 0) return FetchResult::kRefused;
        device_->Receive(offer_, type.c_str(), fds[1]);
        wl_display_flush(display_);
        close(fds[1]);
        PipeTransfer transfer(fds[0], bytes, kMaxFetchBytes, kFetchPatience);
        for (;;) {
            bool readable = false;
            if (!Pump(&transfer, &readable) || Mark() != mark) return FetchResult::kChanged;
            switch (readable ? transfer.ReadAvailable() : transfer.Check(PipeTransfer::Clock::now())) {
                case PipeTransfer::State::kReading:
                    break;
                case PipeTransfer::State::kDone:
                    return FetchResult::kDone;
                case PipeTransfer::State::kTooLarge:
                    return FetchResult::kTooLarge;
                case PipeTransfer::State::kFailed:
                    return FetchResult::kTimedOut;
            }
        }
    }

    void Clear(ClipboardMark mark) {
        Command([this, mark] { clearMarks_.push_back(mark); });
    }
    void ClearAll() {
        Command([this] { clearAll_ = true; });
    }

private:
    static bool Fail(std::string* problem, std::string why) {
        if (problem) *problem = std::move(why);
        return false;
    }

    ClipboardMark Mark() const { return ClipboardMark(offer_ ? mark_ : 0); }

    template <class F>
    void Command(F&& record) {
        {
            std::lock_guard lock(commandsMutex_);
            record();
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t ignored = write(wake_, &one, sizeof one);
    }

    // DataControlDevice::Events: only noted here; the listener hears of it from Run.
    void Selection(DataControlDevice::Offer offer, const std::vector<std::string>& types) override {
        device_->DestroyOffer(offer_);
        offer_ = offer;
        types_ = offer ? types : std::vector<std::string>();
        ++mark_;
        announce_ = true;
    }
    void Finished() override { Lose(); }

    // The clipboard's thread: tells the listener of each new selection, in between waits for the
    // compositor and the interface thread's commands.
    void Run() {
        for (;;) {
            if (announce_) {
                announce_ = false;
                // A copy: a Fetch from within the listener may learn of a newer selection.
                const std::vector<std::string> types = types_;
                listener_(Mark(), types);
                continue;
            }
            if (lost_ || !Pump(nullptr, nullptr)) return;
        }
    }

    // Waits once for the compositor, the interface thread's commands and, while fetching,
    // `transfer` (`readable` says whether it has data); never past the transfer's time-out.
    // Dispatches what the compositor sent and carries out the commands. False when the backend
    // stops or the connection ended.
    bool Pump(PipeTransfer* transfer, bool* readable) {
        while (wl_display_prepare_read(display_) != 0)
            if (wl_display_dispatch_pending(display_) < 0) return Lose();
        wl_display_flush(display_);
        pollfd fds[3] = {{wl_display_get_fd(display_), POLLIN, 0}, {wake_, POLLIN, 0}, {-1, POLLIN, 0}};
        int timeout = -1;
        if (transfer) {
            fds[2].fd = transfer->Fd();
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(transfer->Deadline() -
                                                                           PipeTransfer::Clock::now());
            timeout = static_cast<int>(std::max<std::int64_t>(0, left.count()));
        }
        if (poll(fds, 3, timeout) < 0 && errno != EINTR) {
            wl_display_cancel_read(display_);
            return Lose();
        }
        if (fds[0].revents & POLLIN) {
            if (wl_display_read_events(display_) < 0) return Lose();
        } else {
            wl_display_cancel_read(display_);
            if (fds[0].revents & (POLLERR | POLLHUP)) return Lose();
        }
        if (wl_display_dispatch_pending(display_) < 0) return Lose();
        if (readable) *readable = fds[2].revents != 0;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count;
            [[maybe_unused]] ssize_t ignored = read(wake_, &count, sizeof count);
        }
        return RunCommands() && !lost_;
    }

    // Empties the clipboard as asked. The connection is brought up to date first, so that a
    // selection made meanwhile is known: it stays. (What the compositor takes between that round
    // trip and the request is beyond any client's reach: the protocol has no "if still".)
    bool RunCommands() {
        bool all = false;
        std::vector<ClipboardMark> marks;
        {
            std::lock_guard lock(commandsMutex_);
            if (stop_) return false;
            std::swap(all, clearAll_);
            marks.swap(clearMarks_);
        }
        if (!all && marks.empty()) return true;
        if (wl_display_roundtrip(display_) < 0) return Lose();
        const ClipboardMark now = Mark();
        if (all || (!now.IsEmpty() && std::find(marks.begin(), marks.end(), now) != marks.end())) {
            device_->ClearSelection();
            wl_display_flush(display_);
        }
        return true;
    }

    // The compositor (or the seat) went away: the clipboard holds nothing from now on.
    bool Lose() {
        if (!lost_) {
            lost_ = true;
            if (device_) device_->DestroyOffer(offer_);
            offer_ = nullptr;
            types_.clear();
            announce_ = true;
        }
        return false;
    }

    wl_display* display_;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    std::unique_ptr<DataControlDevice> device_;
    int wake_ = -1;
    Listener listener_;
    std::thread thread_;

    // The clipboard's thread only (and Connect, before it runs).
    DataControlDevice::Offer offer_ = nullptr;
    std::vector<std::string> types_;
    std::uint64_t mark_ = 0;
    bool announce_ = false;
    std::atomic<bool> lost_{false};  // set on the clipboard's thread

    std::mutex commandsMutex_;
    bool stop_ = false;
    bool clearAll_ = false;
    std::vector<ClipboardMark> clearMarks_;
};

std::unique_ptr<DataControlClipboard> DataControlClipboard::Open(std::string* problem, bool* reached) {
    if (reached) *reached = false;
    if (!std::getenv("WAYLAND_DISPLAY") && !std::getenv("WAYLAND_SOCKET")) {
        if (problem) *problem = "no Wayland compositor was found (WAYLAND_DISPLAY is not set)";
        return nullptr;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        if (problem)
            *problem = std::string("the Wayland compositor cannot be reached (") + std::strerror(errno) + ")";
        return nullptr;
    }
    if (reached) *reached = true;
    auto impl = std::make_unique<Impl>(display);
    if (!impl->Connect(problem)) return nullptr;
    return std::unique_ptr<DataControlClipboard>(new DataControlClipboard(std::move(impl)));
}

DataControlClipboard::DataControlClipboard(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DataControlClipboard::~DataControlClipboard() = default;

void DataControlClipboard::Start(Listener listener) { impl_->Start(std::move(listener)); }
FetchResult DataControlClipboard::Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) {
    return impl_->Fetch(mark, type, bytes);
}
void DataControlClipboard::Clear(ClipboardMark mark) { impl_->Clear(mark); }
void DataControlClipboard::ClearAll() { impl_->ClearAll(); }
bool DataControlClipboard::ConnectionLost() const { return impl_->Lost(); }

}  // namespace platform
