#pragma once
// A seat's clipboard through a Wayland data-control protocol: the standard
// ext_data_control_manager_v1 or its older wlroots form zwlr_data_control_manager_v1. Both carry the
// same messages under two names; this is the one place that knows which is spoken, so the clipboard
// code above it is written once.
//
// Every call, and every event, happens on the thread that dispatches the connection's events.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct wl_registry;
struct wl_seat;

namespace platform {

class DataControlDevice {
public:
    // An offer of the selection's contents, as the compositor introduced it; owned by whoever gets
    // it in Selection() and given back through DestroyOffer().
    using Offer = void*;

    struct Events {
        virtual ~Events() = default;
        // The selection changed: `offer` (null when nobody holds it) offers these types.
        virtual void Selection(Offer offer, const std::vector<std::string>& types) = 0;
        // The seat went away; the device does nothing more.
        virtual void Finished() = 0;
    };

    // Which of the two protocols a compositor offers, by their global's name.
    enum class Protocol { Ext, Wlr };
    static const char* InterfaceName(Protocol protocol);

    // The device for `seat`, through the manager global `name` of `protocol` in `registry`. Its
    // first Selection() comes with the connection's next round trip.
    static std::unique_ptr<DataControlDevice> Bind(Protocol protocol, wl_registry* registry,
                                                   std::uint32_t name, wl_seat* seat, Events& events);

    virtual ~DataControlDevice() = default;
    // Asks the selection's owner to write `offer` as `type` into `fd`; the fd may be closed once the
    // request is flushed.
    virtual void Receive(Offer offer, const char* type, int fd) = 0;
    virtual void DestroyOffer(Offer offer) = 0;
    // Gives the selection to no one: the program that held it lets it go.
    virtual void ClearSelection() = 0;
};

}  // namespace platform
