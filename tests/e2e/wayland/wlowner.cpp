// A Wayland clipboard owner that misbehaves on purpose, through wlroots data-control (as sway and
// KWin offer it): it sets the selection to a picture file offered as image/png and serves every
// request for it in one of these ways, until another selection replaces it:
//   whole    all bytes at once
//   slow     a 24th every 250 ms: 6 s in all, longer than the reader's patience, but always moving
//   hang     the first 1000 bytes, then nothing, with the pipe kept open
//   short    the first third, then the end
// Prints "ready" once the selection is set.
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace {

std::string mode;
std::vector<char> picture;
bool cancelled = false;
std::vector<int> held;  // pipes of hung transfers, kept open

void WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0) return;  // the reader gave up
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void OnSend(void*, zwlr_data_control_source_v1*, const char*, int fd) {
    if (mode == "hang") {
        WriteAll(fd, picture.data(), std::min<std::size_t>(1000, picture.size()));
        held.push_back(fd);
        return;
    }
    if (mode == "slow") {
        const std::size_t piece = (picture.size() + 23) / 24;
        for (std::size_t at = 0; at < picture.size(); at += piece) {
            WriteAll(fd, picture.data() + at, std::min(piece, picture.size() - at));
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
    } else {
        WriteAll(fd, picture.data(), mode == "short" ? picture.size() / 3 : picture.size());
    }
    close(fd);
}

void OnCancelled(void*, zwlr_data_control_source_v1*) { cancelled = true; }

constexpr zwlr_data_control_source_v1_listener kSourceListener{OnSend, OnCancelled};

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_data_control_manager_v1* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_data_control_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}
constexpr wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

// The device's events are of no interest here, but offers it announces must be let go.
void OnDataOffer(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {}
void OnSelection(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
    if (offer) zwlr_data_control_offer_v1_destroy(offer);
}
void OnFinished(void*, zwlr_data_control_device_v1*) { cancelled = true; }
void OnPrimary(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
    if (offer) zwlr_data_control_offer_v1_destroy(offer);
}
constexpr zwlr_data_control_device_v1_listener kDeviceListener{OnDataOffer, OnSelection, OnFinished,
                                                               OnPrimary};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wlowner whole|slow|hang|short <picture file>\n");
        return 2;
    }
    mode = argv[1];
    std::ifstream file(argv[2], std::ios::binary);
    picture.assign(std::istreambuf_iterator<char>(file), {});
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return 1;
    Globals globals;
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, &globals);
    wl_display_roundtrip(display);
    if (!globals.seat || !globals.manager) {
        std::fprintf(stderr, "wlowner: no wlroots data-control here\n");
        return 1;
    }
    auto* device = zwlr_data_control_manager_v1_get_data_device(globals.manager, globals.seat);
    zwlr_data_control_device_v1_add_listener(device, &kDeviceListener, nullptr);
    auto* source = zwlr_data_control_manager_v1_create_data_source(globals.manager);
    zwlr_data_control_source_v1_add_listener(source, &kSourceListener, nullptr);
    zwlr_data_control_source_v1_offer(source, "image/png");
    zwlr_data_control_device_v1_set_selection(device, source);
    // Ready once the request is on its way: a round trip could already bring (and serve) a slow
    // request for the data.
    wl_display_flush(display);
    std::printf("ready\n");
    std::fflush(stdout);
    while (!cancelled && wl_display_dispatch(display) >= 0) {
    }
    for (int fd : held) close(fd);
    wl_display_disconnect(display);
    return 0;
}
