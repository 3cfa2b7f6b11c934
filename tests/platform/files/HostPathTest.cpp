#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <string>

#include "platform/files/HostPath.h"
#include "platform/files/PathMap.h"

using namespace platform;

namespace {

// The bytes of a name come back exactly from the text the program holds it as, UTF-8 or not.
struct BytesCase {
    const char* name;
    std::string bytes;
    int textLength;
};

class NameEncoding : public ::testing::TestWithParam<BytesCase> {};

TEST_P(NameEncoding, BytesSurviveTheirText) {
    const QString text = BytesText(GetParam().bytes);
    EXPECT_EQ(text.size(), GetParam().textLength);
    EXPECT_EQ(TextBytes(text), GetParam().bytes);
    EXPECT_EQ(NameBytes(text), std::optional<std::string>(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameEncoding,
    ::testing::Values(BytesCase{"Ascii", "Shots", 5}, BytesCase{"Utf8", "caf\xc3\xa9 \xe5\x86\x99", 6},
                      BytesCase{"Latin1", "caf\xe9", 4}, BytesCase{"LoneContinuation", "a\x80z", 3},
                      BytesCase{"CutShort", "\xe5\x86", 2}, BytesCase{"Overlong", "\xc0\xaf", 2},
                      BytesCase{"EncodedSurrogate", "\xed\xb2\x80", 3},
                      BytesCase{"BeyondUnicode", "\xf4\x90\x80\x80", 4},
                      BytesCase{"Astral", "\xf0\x9f\x93\xb7", 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NameEncoding, ValidTextIsUtf8AndANulIsRefused) {
    EXPECT_EQ(BytesText("caf\xc3\xa9"), QStringLiteral("café"));
    EXPECT_EQ(TextBytes(QStringLiteral("写")), "\xe5\x86\x99");
    EXPECT_FALSE(NameBytes(QString(QChar(0)) + QStringLiteral("x")).has_value());
}

// A removable volume of this test alone (a private mount namespace) at a path that holds a
// backslash, as a volume labelled "A\B" is mounted.
TEST(DriveRoots, ABackslashInAMountPathIsPartOfTheRoot) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tallowin-test", "/media", "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no private mount namespace here";
    mkdir("/media/A\\B", 0755);
    ASSERT_EQ(mount("tallowin-test", "/media/A\\B", "tmpfs", 0, "size=64k"), 0);
    const auto drives = ListDrives();
    ASSERT_GE(drives.size(), 3u);
    EXPECT_EQ(drives[1].root, "/media/A\\B");
    EXPECT_EQ(MapPath("D:\\Shots"), "/media/A\\B/Shots");
    EXPECT_EQ(MapPath("D:"), "/media/A\\B");
    EXPECT_EQ(UnmapPath("/media/A\\B/Shots"), "D:\\Shots");
    EXPECT_EQ(UnmapPath("/media/A\\B"), "D:\\");
    umount2("/media/A\\B", MNT_DETACH);
    umount2("/media", MNT_DETACH);
}

}  // namespace
