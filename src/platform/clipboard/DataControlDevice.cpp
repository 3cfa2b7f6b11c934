#include "platform/clipboard/DataControlDevice.h"

#include <wayland-client.h>

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace platform {
namespace {

// The generated calls of one protocol, under names that do not say which one: `p` is the prefix
// of its interfaces.
#define TALLOWIN_DATA_CONTROL_CALLS(Name, p, protocol)                                                 \
    struct Name {                                                                                      \
        static constexpr DataControlDevice::Protocol kProtocol = protocol;                             \
        using Manager = p##_manager_v1;                                                                \
        using Device = p##_device_v1;                                                                  \
        using Offer = p##_offer_v1;                                                                    \
        using DeviceListener = p##_device_v1_listener;                                                 \
        using OfferListener = p##_offer_v1_listener;                                                   \
        static const wl_interface* ManagerInterface() { return &p##_manager_v1_interface; }            \
        static Device* GetDevice(Manager* m, wl_seat* seat) {                                          \
            return p##_manager_v1_get_data_device(m, seat);                                            \
        }                                                                                              \
        static void DestroyManager(Manager* m) { p##_manager_v1_destroy(m); }                          \
        static void Listen(Device* d, const DeviceListener* l, void* data) {                           \
            p##_device_v1_add_listener(d, l, data);                                                    \
        }                                                                                              \
        static void Listen(Offer* o, const OfferListener* l, void* data) {                             \
            p##_offer_v1_add_listener(o, l, data);                                                     \
        }                                                                                              \
        static void ClearSelection(Device* d) { p##_device_v1_set_selection(d, nullptr); }             \
        static void DestroyDevice(Device* d) { p##_device_v1_destroy(d); }                             \
        static void Receive(Offer* o, const char* type, int fd) { p##_offer_v1_receive(o, type, fd); } \
        static void DestroyOffer(Offer* o) { p##_offer_v1_destroy(o); }                                \
    };

TALLOWIN_DATA_CONTROL_CALLS(ExtCalls, ext_data_control, DataControlDevice::Protocol::Ext)
TALLOWIN_DATA_CONTROL_CALLS(WlrCalls, zwlr_data_control, DataControlDevice::Protocol::Wlr)
#undef TALLOWIN_DATA_CONTROL_CALLS

// An offer's types arrive one event each right after the offer itself; they are kept with the
// offer until it is destroyed.
using OfferedTypes = std::vector<std::string>;

template <class Calls>
class Device final : public DataControlDevice {
public:
    Device(wl_registry* registry, std::uint32_t name, wl_seat* seat, Events& events) : events_(events) {
        // Version 1 is all this needs: a version 2 wlroots manager adds only the primary selection.
        manager_ = static_cast<typename Calls::Manager*>(
            wl_registry_bind(registry, name, Calls::ManagerInterface(), 1));
        device_ = Calls::GetDevice(manager_, seat);
        Calls::Listen(device_, &kDeviceListener, this);
    }
    ~Device() override {
        Calls::DestroyDevice(device_);
        Calls::DestroyManager(manager_);
    }

    void Receive(Offer offer, const char* type, int fd) override {
        Calls::Receive(static_cast<typename Calls::Offer*>(offer), type, fd);
    }

    void DestroyOffer(Offer offer) override { Destroy(static_cast<typename Calls::Offer*>(offer)); }

    void ClearSelection() override { Calls::ClearSelection(device_); }

private:
    static void Destroy(typename Calls::Offer* offer) {
        if (!offer) return;
        delete static_cast<OfferedTypes*>(wl_proxy_get_user_data(reinterpret_cast<wl_proxy*>(offer)));
        Calls::DestroyOffer(offer);
    }

    static void OnDataOffer(void*, typename Calls::Device*, typename Calls::Offer* offer) {
        Calls::Listen(offer, &kOfferListener, new OfferedTypes);
    }
    static void OnOfferType(void* data, typename Calls::Offer*, const char* type) {
        static_cast<OfferedTypes*>(data)->emplace_back(type);
    }
    static void OnSelection(void* data, typename Calls::Device*, typename Calls::Offer* offer) {
        static const OfferedTypes kNone;
        const auto* types =
            offer ? static_cast<OfferedTypes*>(wl_proxy_get_user_data(reinterpret_cast<wl_proxy*>(offer)))
                  : &kNone;
        static_cast<Device*>(data)->events_.Selection(offer, *types);
    }
    // The primary selection (middle-click paste) is not the clipboard: its offers are let go at once.
    static void OnPrimarySelection(void*, typename Calls::Device*, typename Calls::Offer* offer) {
        Destroy(offer);
    }
    static void OnFinished(void* data, typename Calls::Device*) {
        static_cast<Device*>(data)->events_.Finished();
    }

    static constexpr typename Calls::DeviceListener kDeviceListener{OnDataOffer, OnSelection, OnFinished,
                                                                    OnPrimarySelection};
    static constexpr typename Calls::OfferListener kOfferListener{OnOfferType};

    Events& events_;
    typename Calls::Manager* manager_ = nullptr;
    typename Calls::Device* device_ = nullptr;
};

}  // namespace

const char* DataControlDevice::InterfaceName(Protocol protocol) {
    return protocol == Protocol::Ext ? ext_data_control_manager_v1_interface.name
                                     : zwlr_data_control_manager_v1_interface.name;
}

std::unique_ptr<DataControlDevice> DataControlDevice::Bind(Protocol protocol, wl_registry* registry,
                                                           std::uint32_t name, wl_seat* seat,
                                                           Events& events) {
    if (protocol == Protocol::Ext) return std::make_unique<Device<ExtCalls>>(registry, name, seat, events);
    return std::make_unique<Device<WlrCalls>>(registry, name, seat, events);
}

}  // namespace platform
