#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

#include "platform/files/AtomicFile.h"
#include "support/FullDisk.h"
#include "support/PermissionBitsApply.h"
#include "support/TempHome.h"

using namespace platform;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempHome;

namespace {

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* e = dir ? readdir(dir) : nullptr)
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.insert(e->d_name);
    if (dir) closedir(dir);
    return names;
}

int Write(const std::string& path, const std::string& bytes,
          AtomicFile::Refused refused = AtomicFile::Refused::Fail) {
    return WriteFileAtomically(path, bytes.data(), bytes.size(), refused);
}

// Every case runs with nameless temporary files and with the named ones a file system without
// them gets.
class AtomicWrite : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { AtomicFile::SetNamelessFilesForTests(GetParam()); }
    void TearDown() override { AtomicFile::SetNamelessFilesForTests(true); }
    TempHome home;
};

TEST_P(AtomicWrite, TheLongestNameTheFolderTakesCanBeWritten) {
    const std::string name = std::string(248, 'n') + "000.jpg";  // 255 bytes
    ASSERT_EQ(Write(home / name, "picture"), 0);
    EXPECT_EQ(ReadFileBytes(home / name), "picture");
    EXPECT_EQ(Names(home.Path()), std::set<std::string>{name});
}

TEST_P(AtomicWrite, NothingButTheTargetIsLeftWhateverHappens) {
    home.WriteFile("scrn000.jpg", "earlier");
    {
        AtomicFile file;  // written, never committed
        ASSERT_TRUE(file.Open(home / "scrn000.jpg"));
        ASSERT_TRUE(file.Write("half", 4));
    }
    EXPECT_EQ(Names(home.Path()), std::set<std::string>{"scrn000.jpg"});
    EXPECT_EQ(ReadFileBytes(home / "scrn000.jpg"), "earlier");

    home.MakeFolder("small");
    testing_support::SmallDisk disk(home / "small", 64);
    if (!disk.Mounted()) GTEST_SKIP() << "no right to mount a small disk";
    ASSERT_EQ(Write(home / "small/scrn000.jpg", "earlier"), 0);
    EXPECT_EQ(Write(home / "small/scrn000.jpg", std::string(128 * 1024, 'x')), ENOSPC);
    EXPECT_EQ(LastWriteError(), ENOSPC);
    EXPECT_EQ(Names(home / "small"), std::set<std::string>{"scrn000.jpg"});
    EXPECT_EQ(ReadFileBytes(home / "small/scrn000.jpg"), "earlier");
}

TEST_P(AtomicWrite, ALinkIsWrittenThroughToItsTarget) {
    home.MakeFolder("real");
    home.WriteFile("real/Tallowin.INI", "old");
    ASSERT_EQ(symlink("real/Tallowin.INI", (home / "Tallowin.INI").c_str()), 0);
    ASSERT_EQ(Write(home / "Tallowin.INI", "new"), 0);
    struct stat st {};
    ASSERT_EQ(lstat((home / "Tallowin.INI").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFileBytes(home / "real/Tallowin.INI"), "new");

    // A link to a file that does not exist yet makes that file.
    ASSERT_EQ(symlink("real/later.INI", (home / "later.INI").c_str()), 0);
    ASSERT_EQ(Write(home / "later.INI", "made"), 0);
    EXPECT_EQ(ReadFileBytes(home / "real/later.INI"), "made");
}

TEST_P(AtomicWrite, AFolderThatRefusesNewFilesIsWrittenInPlaceOnlyWhenAsked) {
    home.MakeFolder("locked");
    home.WriteFile("locked/Tallowin.INI", "a longer earlier content");
    ASSERT_EQ(chmod((home / "locked").c_str(), 0555), 0);
    {
        testing_support::PermissionBitsApply bits;
        EXPECT_EQ(Write(home / "locked/Tallowin.INI", "new"), EACCES);
        EXPECT_EQ(Write(home / "locked/Tallowin.INI", "new", AtomicFile::Refused::WriteInPlace), 0);
        EXPECT_EQ(Write(home / "locked/other.INI", "new", AtomicFile::Refused::WriteInPlace), EACCES);
    }
    chmod((home / "locked").c_str(), 0755);
    EXPECT_EQ(ReadFileBytes(home / "locked/Tallowin.INI"), "new");
    EXPECT_EQ(Names(home / "locked"), std::set<std::string>{"Tallowin.INI"});
}

INSTANTIATE_TEST_SUITE_P(Temporaries, AtomicWrite, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Nameless" : "Named"; });

TEST(StaleTemporaries, OnlyOurOwnOfEndedRunsAreRemoved) {
    TempHome home;
    const std::string alive = ".tallowin-" + std::to_string(getpid()) + "-AbC123";
    // The user's own files that look like temporary names (backups, a synchroniser's partial
    // files) stay, whatever their name.
    const std::set<std::string> kept = {
        "scrn000.jpg",          alive,
        ".tallowin-x-AbC123",   ".notes.txt.AbC123",
        ".scrn000.jpg.AbC12",   "scrn000.jpg.AbC123",
        ".holiday.jpg.backup",  ".scan.bmp.orig01",
        ".Tallowin.INI.backup", ".scrn000.bmp.Xy9ZZ1",
        ".Tallowin.INI.q1w2e3",
    };
    for (const auto& name : kept) home.WriteFile(name, "x");
    // A process number that no process has (beyond the kernel's largest).
    home.WriteFile(".tallowin-4194305-AbC123", "stale");
    home.MakeFolder(".tallowin-4194306-Folder");  // only files go

    RemoveStaleTemporaryFiles(home.Path());
    std::set<std::string> expected = kept;
    expected.insert(".tallowin-4194306-Folder");
    EXPECT_EQ(Names(home.Path()), expected);
}

}  // namespace
