// Every spelling of one display gives one lock, so no way of starting the program makes a second
// copy miss the first.
#include <gtest/gtest.h>

#include "app/SingleInstance.h"
#include "support/ParamName.h"

namespace {

struct Spelling {
    const char* name;
    const char* display;
    const char* wayland;
    const char* key;
};

class DisplayKeys : public ::testing::TestWithParam<Spelling> {};

TEST_P(DisplayKeys, NameOneLockForOneDisplay) {
    EXPECT_EQ(DisplayKey(GetParam().display, GetParam().wayland), QByteArray(GetParam().key));
}

INSTANTIATE_TEST_SUITE_P(
    All, DisplayKeys,
    ::testing::Values(Spelling{"Plain", ":1", "", ":1"}, Spelling{"WithScreen", ":1.0", "", ":1"},
                      Spelling{"UnixSocket", "unix:1", "", ":1"},
                      Spelling{"UnixSocketWithScreen", "unix:1.2", "", ":1"},
                      Spelling{"HostUnixSocket", "myhost/unix:1", "", ":1"},
                      Spelling{"RemoteHostStaysApart", "otherhost:1", "", "otherhost:1"},
                      Spelling{"WaylandOnly", "", "wayland-1", "wayland-wayland-1"},
                      Spelling{"WaylandByPath", "", "/run/user/1000/wayland-1", "wayland-wayland-1"},
                      Spelling{"WaylandDefault", "", "", "wayland-wayland-0"},
                      Spelling{"XWaylandWinsOverWayland", ":0", "wayland-1", ":0"}),
    testing_support::ByName);

}  // namespace
