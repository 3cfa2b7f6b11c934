#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/files/FileServices.h"
#include "support/ParamName.h"
#include "support/TempHome.h"

using namespace platform;
using testing_support::TempHome;

namespace {

struct stat Stat(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

void SetTimes(const std::string& path, timespec access, timespec write) {
    const timespec times[2] = {access, write};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

bool operator==(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

TEST(FileServices, FindsExactlyTheNamedFile) {
    TempHome home;
    home.WriteFile("scrn000.jpg", "12345");
    WIN32_FIND_DATA data{};
    const HANDLE found = FindFirstFileA("C:\\scrn000.jpg", &data);
    ASSERT_NE(found, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_STREQ(data.cFileName, "scrn000.jpg");
    EXPECT_TRUE(FindClose(found));

    EXPECT_EQ(FindFirstFileA("C:\\scrn001.jpg", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA("C:\\scrn*.jpg", &data), INVALID_HANDLE_VALUE);  // no wildcards
    EXPECT_EQ(FindFirstFileA("C:\\scrn00?.jpg", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA("", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);

    home.MakeFolder(".shots");
    ASSERT_NE(FindFirstFileA("C:\\.shots", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
}

// Times read from one file and set on another through a reopened handle arrive to the nanosecond,
// before 1970 and far after it too.
class TimeCarryOver : public ::testing::TestWithParam<timespec> {};

TEST_P(TimeCarryOver, ArrivesExactly) {
    TempHome home;
    home.WriteFile("old.jpg", "old");
    home.WriteFile("new.jpg", "new");
    const timespec access = GetParam();
    const timespec write = {GetParam().tv_sec + 3600, (GetParam().tv_nsec + 500000001) % 1000000000};
    SetTimes(home / "old.jpg", access, write);

    WIN32_FIND_DATA data{};
    ASSERT_NE(FindFirstFileA("C:\\old.jpg", &data), INVALID_HANDLE_VALUE);
    const HFILE file = _lopen("C:\\new.jpg", OF_WRITE | OF_SHARE_DENY_WRITE);
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_TRUE(SetFileTime(file, &data.ftCreationTime, &data.ftLastAccessTime, &data.ftLastWriteTime));
    EXPECT_EQ(_lclose(file), 0);

    const struct stat st = Stat(home / "new.jpg");
    EXPECT_TRUE(st.st_atim == access) << st.st_atim.tv_sec << "." << st.st_atim.tv_nsec;
    EXPECT_TRUE(st.st_mtim == write) << st.st_mtim.tv_sec << "." << st.st_mtim.tv_nsec;
    EXPECT_EQ(testing_support::ReadFileBytes(home / "new.jpg"), "new");  // reopening wrote nothing
}

INSTANTIATE_TEST_SUITE_P(Times, TimeCarryOver,
                         ::testing::Values(timespec{1'000'000'000, 123'456'789}, timespec{0, 1},
                                           timespec{-31'536'000, 999'999'999}, timespec{4'102'444'800, 5},
                                           timespec{1'700'000'000, 0}),
                         [](const auto& info) {
                             return "Seconds" + testing_support::NumberName(info.param.tv_sec) +
                                    "Nanoseconds" + std::to_string(info.param.tv_nsec);
                         });

TEST(FileServices, ANullTimeIsLeftAsItIs) {
    TempHome home;
    home.WriteFile("a.jpg", "a");
    SetTimes(home / "a.jpg", {1'000'000'000, 7}, {1'100'000'000, 9});
    WIN32_FIND_DATA data{};
    ASSERT_NE(FindFirstFileA("C:\\a.jpg", &data), INVALID_HANDLE_VALUE);
    SetTimes(home / "a.jpg", {1'200'000'000, 0}, {1'200'000'000, 0});
    const HFILE file = _lopen("C:\\a.jpg", OF_WRITE);
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &data.ftLastWriteTime));
    _lclose(file);
    const struct stat st = Stat(home / "a.jpg");
    EXPECT_TRUE(st.st_atim == (timespec{1'200'000'000, 0}));
    EXPECT_TRUE(st.st_mtim == (timespec{1'100'000'000, 9}));
}

TEST(FileServices, OpensOnlyAFileThatExists) {
    TempHome home;
    home.MakeFolder("shots");
    EXPECT_EQ(_lopen("C:\\missing.jpg", OF_WRITE), HFILE_ERROR);
    EXPECT_FALSE(testing_support::FileExists(home / "missing.jpg"));  // never created
    EXPECT_EQ(_lopen("C:\\shots", OF_READ), HFILE_ERROR);             // nor a folder
    EXPECT_EQ(_lopen("", OF_WRITE), HFILE_ERROR);
}

struct AttributeCase {
    const char* name;
    mode_t before;
    std::uint32_t readOnlySeen;  // what FindFirstFileA reports of FILE_ATTRIBUTE_READONLY
    std::uint32_t set;           // the attributes then set
    mode_t after;
};

class Attributes : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(Attributes, ReadOnlyIsTheWritePermission) {
    TempHome home;
    home.WriteFile("a.jpg", "a");
    ASSERT_EQ(::chmod((home / "a.jpg").c_str(), GetParam().before), 0);
    WIN32_FIND_DATA data{};
    ASSERT_NE(FindFirstFileA("C:\\a.jpg", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY, GetParam().readOnlySeen);
    EXPECT_TRUE(SetFileAttributesA("C:\\a.jpg", GetParam().set));
    EXPECT_EQ(Stat(home / "a.jpg").st_mode & 07777, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Attributes,
    ::testing::Values(
        AttributeCase{"Mode644SetArchive", 0644, 0, FILE_ATTRIBUTE_ARCHIVE, 0644},
        AttributeCase{"Mode640SetNormal", 0640, 0, FILE_ATTRIBUTE_NORMAL, 0640},
        AttributeCase{"Mode444SetReadOnly", 0444, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY, 0444},
        AttributeCase{"Mode464SetArchive", 0464, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_ARCHIVE, 0664},
        AttributeCase{"Mode666SetReadOnlyArchive", 0666, 0, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE,
                      0444},
        AttributeCase{"Mode400SetNormal", 0400, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_NORMAL, 0600}),
    testing_support::ByName);

TEST(FileServices, SettingAttributesOfNothingFails) {
    TempHome home;
    EXPECT_FALSE(SetFileAttributesA("C:\\missing.jpg", FILE_ATTRIBUTE_NORMAL));
    EXPECT_FALSE(SetFileAttributesA(nullptr, FILE_ATTRIBUTE_NORMAL));
}

}  // namespace
