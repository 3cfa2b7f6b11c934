#include <gtest/gtest.h>
#include <unistd.h>

#include <QWidget>
#include <filesystem>

#include "host/FileListBox.h"
#include "host/HostError.h"
#include "support/ParamName.h"
#include "support/PermissionBitsApply.h"
#include "support/TempHome.h"

namespace fs = std::filesystem;

namespace {

class FileList : public ::testing::Test {
protected:
    FileList() {
        home.MakeFolder("Shots/Week");
        home.MakeFolder("Shots/Sub");
        for (const char* f :
             {"Shots/b.jpg", "Shots/A.bmp", "Shots/.hidden", "Shots/c d.jpg", "Shots/Week/x.jpg"})
            home.WriteFile(f, "x");
        fs::create_symlink(home / "Shots/Sub", home / "Shots/to-folder");
        fs::create_symlink(home / "nowhere", home / "Shots/dangling");
    }
    testing_support::TempHome home;
    QWidget form;
};

TEST_F(FileList, ListsEveryFileOfTheFolderSortedAndNoFolders) {
    host::FileListBox files(&form, "File1", 2280, 600, 2175, 1845, 2);
    files.SetPath(QStringLiteral("C:\\Shots"));
    EXPECT_EQ(files.Path(), QStringLiteral("C:\\Shots"));
    EXPECT_EQ(files.Entries(), QStringList({".hidden", "A.bmp", "b.jpg", "c d.jpg", "dangling"}));
    files.SetPath(QStringLiteral("Week"));  // below the folder shown
    EXPECT_EQ(files.Path(), QStringLiteral("C:\\Shots\\Week"));
    EXPECT_EQ(files.Entries(), QStringList({"x.jpg"}));
}

TEST_F(FileList, SettingTheSameFolderReadsItAgain) {
    host::FileListBox files(&form, "File1", 2280, 600, 2175, 1845, 2);
    files.SetPath(QStringLiteral("C:\\Shots\\Week"));
    home.WriteFile("Shots/Week/scrn000.jpg", "x");
    files.SetPath(QStringLiteral("C:\\Shots\\Week"));
    EXPECT_EQ(files.Entries(), QStringList({"scrn000.jpg", "x.jpg"}));
}

struct FailCase {
    const char* path;
    int number;
};

class FileListFailure : public FileList, public ::testing::WithParamInterface<FailCase> {};

TEST_P(FileListFailure, AFolderThatCannotBeListedRaisesAndKeepsTheList) {
    fs::create_directory(home / "Locked");
    home.WriteFile("Locked/secret.jpg", "x");
    fs::permissions(home / "Locked", fs::perms::owner_exec);  // can be entered, not read
    host::FileListBox files(&form, "File1", 2280, 600, 2175, 1845, 2);
    files.SetPath(QStringLiteral("C:\\Shots\\Week"));
    testing_support::PermissionBitsApply asAUser;
    try {
        files.SetPath(QString::fromLatin1(GetParam().path));
        FAIL() << GetParam().path << " was listed";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), GetParam().number);
    }
    EXPECT_EQ(files.Path(), QStringLiteral("C:\\Shots\\Week"));
    EXPECT_EQ(files.Entries(), QStringList({"x.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, FileListFailure,
                         ::testing::Values(FailCase{"C:\\Locked", host::kPermissionDenied},
                                           FailCase{"C:\\Nowhere", host::kPathNotFound},
                                           FailCase{"C:\\Shots\\b.jpg", host::kPathNotFound},
                                           FailCase{"\\\\server\\share", host::kPathNotFound}),
                         [](const auto& info) { return testing_support::ParamName(info.param.path); });

}  // namespace
