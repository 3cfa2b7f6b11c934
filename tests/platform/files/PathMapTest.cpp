#include <gtest/gtest.h>

#include "platform/files/PathMap.h"
#include "support/ParamName.h"
#include "support/TempHome.h"

using platform::MapPath;
using platform::UnmapPath;

namespace {

struct MapCase {
    const char* name;
    const char* windows;
    const char* relativeToHome;  // nullptr: compare with absolute instead
    const char* absolute;
};

class PathMapping : public ::testing::TestWithParam<MapCase> {};

TEST_P(PathMapping, MapsWindowsNamesOntoHomeAndRoot) {
    testing_support::TempHome home;
    const MapCase& c = GetParam();
    const std::string expected =
        c.relativeToHome ? (std::string(c.relativeToHome).empty() ? home.Path() : home / c.relativeToHome)
                         : std::string(c.absolute);
    EXPECT_EQ(MapPath(c.windows), expected) << c.windows;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathMapping,
    ::testing::Values(MapCase{"DriveRoot", "C:\\", "", nullptr}, MapCase{"DriveAlone", "C:", "", nullptr},
                      MapCase{"LowerCaseDrive", "c:\\Shots", "Shots", nullptr},
                      MapCase{"DoubledBackslash", "C:\\\\scrn000.jpg", "scrn000.jpg", nullptr},
                      MapCase{"MixedAndTrailingSlashes", "C:\\Shots/Week\\", "Shots/Week", nullptr},
                      MapCase{"CommaAndSpaces", "C:\\Shots, old\\a b.jpg", "Shots, old/a b.jpg", nullptr},
                      // The current drive is C: (the current directory is the home).
                      MapCase{"RootedOnTheCurrentDrive", "\\Shots", "Shots", nullptr},
                      MapCase{"ZDriveRoot", "Z:\\", nullptr, "/"},
                      MapCase{"ZDriveFile", "Z:\\tmp\\x.bmp", nullptr, "/tmp/x.bmp"},
                      MapCase{"HostPath", "/home/me/shots", nullptr, "/home/me/shots"},
                      MapCase{"HostPathTidied", "/home//me/shots/", nullptr, "/home/me/shots"},
                      MapCase{"NetworkName", "\\\\server\\share", nullptr, ""},
                      MapCase{"NoSuchDrive", "Q:\\x", nullptr, ""}, MapCase{"Empty", "", nullptr, ""}),
    testing_support::ByName);

TEST(PathMapping, HostPathsReadBackInWindowsForm) {
    testing_support::TempHome home;
    EXPECT_EQ(UnmapPath(home.Path()), "C:\\");
    EXPECT_EQ(UnmapPath(home / "Shots/Week"), "C:\\Shots\\Week");
    EXPECT_EQ(UnmapPath("/"), "Z:\\");
    EXPECT_EQ(UnmapPath("/etc/x"), "Z:\\etc\\x");
    EXPECT_EQ(platform::CurrentDirectory(), "C:\\");
    // A folder next to home whose name starts like it is not on C:.
    EXPECT_EQ(UnmapPath(home.Path() + "x/y").substr(0, 3), "Z:\\");
}

TEST(PathMapping, DrivesAlwaysIncludeHomeAndRoot) {
    testing_support::TempHome home;
    const auto drives = platform::ListDrives();
    ASSERT_GE(drives.size(), 2u);
    EXPECT_EQ(drives.front().letter, 'C');
    EXPECT_EQ(drives.front().root, home.Path());
    EXPECT_EQ(drives.back().letter, 'Z');
    EXPECT_EQ(drives.back().root, "/");
}

}  // namespace

TEST(MountTable, RemovableVolumesAreReadWithTheirEscapesDecoded) {
    const char* table =
        "/dev/sda1 / ext4 rw 0 0\n"
        "/dev/sdb1 /media/me/USB\\040STICK vfat rw 0 0\n"
        "/dev/sdc1 /run/media/me/back\\134slash exfat rw 0 0\n"
        "/dev/sdd1 /media/me/odd\\9x\\04 vfat rw 0 0\n"  // no escape: taken as it stands
        "tmpfs /mnt/media/x tmpfs rw 0 0\n"
        "broken-line-without-mount-point\n";
    EXPECT_EQ(platform::RemovableMounts(table),
              (std::vector<std::string>{"/media/me/USB STICK", "/media/me/odd\\9x\\04",
                                        "/run/media/me/back\\slash"}));
    EXPECT_TRUE(platform::RemovableMounts("").empty());
}

TEST(MountTable, OneOperationMapsOverOneViewOfTheDrives) {
    testing_support::TempHome home;
    std::string first;
    {
        platform::MappingScope operation;
        first = MapPath("C:\\Shots");
        setenv("HOME", "/elsewhere", 1);  // the drives change in the middle of the operation
        EXPECT_EQ(MapPath("C:\\Shots"), first);
        EXPECT_EQ(MapPath("C:\\Other"), home / "Other");
    }
    EXPECT_EQ(MapPath("C:\\Shots"), "/elsewhere/Shots");  // a new operation sees them anew
    setenv("HOME", home.Path().c_str(), 1);
}
