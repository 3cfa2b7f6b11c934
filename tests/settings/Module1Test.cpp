#include <gtest/gtest.h>
#include <unistd.h>

#include "host/HostError.h"
#include "platform/files/HostPath.h"
#include "settings/Module1.h"
#include "support/FullDisk.h"
#include "support/ParamName.h"
#include "support/TempHome.h"

using testing_support::ReadFileBytes;
using testing_support::TempHome;

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { iLeft = iTop = 0; }
    void Save(float left, float top) {
        form.SetLeft(left);
        form.SetTop(top);
        SaveSettings(form, state);
    }
    TempHome home;
    host::ProgramState state;
    host::Form form{QStringLiteral("Tallowin"), 3510, 5235};
};

TEST_F(Settings, DefaultsAreTheThirtyTwoBytesOfTheWorkedExample) {
    LoadSettings(form, state);  // no file: defaults
    Save(200, 200);
    EXPECT_EQ(ReadFileBytes(home / "Tallowin.INI"), "200\r\n200\r\n\"C:\\\"\r\n\"scrn\"\r\n\"000\"\r\n");
    EXPECT_EQ(ReadFileBytes(home / "Tallowin.INI").size(), 32u);
}

// Started from a folder whose name is not UTF-8, with a target of the same kind: the settings live
// there and both folders come back byte for byte.
TEST_F(Settings, FoldersWhoseNamesAreNotUtf8WorkAsTheSettingsFolderAndTheTarget) {
    home.MakeFolder("caf\xe9/\xff\xfeshots");
    ASSERT_EQ(chdir((home / "caf\xe9").c_str()), 0);
    LoadSettings(form, state);
    state.sTarget = state.sAppDir + QStringLiteral("\\") + platform::BytesText("\xff\xfeshots");
    Save(200, 200);
    EXPECT_EQ(ReadFileBytes(home / "caf\xe9/Tallowin.INI"),
              "200\r\n200\r\n\"C:\\caf\xe9\\\xff\xfeshots\"\r\n\"scrn\"\r\n\"000\"\r\n");

    host::ProgramState again;
    LoadSettings(form, again);
    EXPECT_EQ(again.sTarget, state.sTarget);
    EXPECT_EQ(platform::HostPath(again.sTarget), home / "caf\xe9/\xff\xfeshots");
}

TEST_F(Settings, SavedValuesComeBackWhole) {
    LoadSettings(form, state);
    state.sTarget = QStringLiteral("C:\\Shots, old\\two words");
    state.sName = QStringLiteral(" shot ");
    state.sNumber = QStringLiteral("041");
    Save(-1200, 30000);
    state.sTarget = state.sName = state.sNumber = QString();

    host::Form second{QStringLiteral("Tallowin"), 3510, 5235};
    LoadSettings(second, state);
    EXPECT_EQ(state.sTarget, QStringLiteral("C:\\Shots, old\\two words"));
    EXPECT_EQ(state.sName, QStringLiteral(" shot "));
    EXPECT_EQ(state.sNumber, QStringLiteral("041"));
    EXPECT_EQ(second.Left(), -1200.0f);
    EXPECT_EQ(second.Top(), 30000.0f);
    EXPECT_EQ(ReadFileBytes(home / "Tallowin.INI").substr(0, 7), "-1200\r\n");
}

TEST_F(Settings, PositionsRoundHalfToEven) {
    LoadSettings(form, state);
    Save(1234.5f, 1235.5f);
    EXPECT_EQ(ReadFileBytes(home / "Tallowin.INI").substr(0, 12), "1234\r\n1236\r\n");
    EXPECT_EQ(iLeft, 1234);
    EXPECT_EQ(iTop, 1236);
}

struct Broken {
    const char* name;
    const char* contents;  // nullptr: no file at all
};
class BrokenSettingsFile : public Settings, public ::testing::WithParamInterface<Broken> {};

TEST_P(BrokenSettingsFile, FallsBackToEveryDefault) {
    if (GetParam().contents) home.WriteFile("Tallowin.INI", GetParam().contents);
    form.SetLeft(3000);
    LoadSettings(form, state);
    EXPECT_EQ(state.sTarget, QStringLiteral("C:\\"));
    EXPECT_EQ(state.sName, QStringLiteral("scrn"));
    EXPECT_EQ(state.sNumber, QStringLiteral("000"));
    EXPECT_EQ(form.Left(), 200.0f);
    EXPECT_EQ(form.Top(), 200.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenSettingsFile,
    ::testing::Values(Broken{"NoFile", nullptr}, Broken{"EmptyFile", ""},
                      Broken{"FourLines", "10\r\n20\r\n\"D:\\x\"\r\n\"pre\"\r\n"},
                      Broken{"LeftIsAWord", "ten\r\n20\r\n\"D:\\x\"\r\n\"pre\"\r\n\"001\"\r\n"},
                      Broken{"LeftHasAFraction", "12.5\r\n20\r\n\"D:\\x\"\r\n\"pre\"\r\n\"001\"\r\n"},
                      Broken{"LeftPast16Bits", "40000\r\n20\r\n\"D:\\x\"\r\n\"pre\"\r\n\"001\"\r\n"},
                      Broken{"LeftQuoted", "\"10\"\r\n20\r\n\"D:\\x\"\r\n\"pre\"\r\n\"001\"\r\n"}),
    testing_support::ByName);

TEST_F(Settings, ReadsFilesWithPlainLineFeedsAndBlanks) {
    home.WriteFile("Tallowin.INI", "  15\n-30\n \"D:\\x\"\n\"pre\",\n\"001\"\n");
    LoadSettings(form, state);
    EXPECT_EQ(state.sTarget, QStringLiteral("D:\\x"));
    EXPECT_EQ(state.sName, QStringLiteral("pre"));
    EXPECT_EQ(state.sNumber, QStringLiteral("001"));
    EXPECT_EQ(form.Left(), 15.0f);
    EXPECT_EQ(form.Top(), -30.0f);
}

TEST_F(Settings, DriveRootCurrentDirectoryNamesTheFileInThatRoot) {
    // The home is drive C:'s root, so the current directory reads "C:\" and the file's name has two
    // backslashes in a row.
    LoadSettings(form, state);
    EXPECT_EQ(state.sAppDir, QStringLiteral("C:\\"));
    Save(200, 200);
    EXPECT_TRUE(testing_support::FileExists(home / "Tallowin.INI"));
}

TEST_F(Settings, PositionBeyondTheStoredRangeKeepsTheEarlierFile) {
    LoadSettings(form, state);
    Save(300, 400);
    const std::string before = ReadFileBytes(home / "Tallowin.INI");
    form.SetLeft(40000);
    try {
        SaveSettings(form, state);
        FAIL() << "no error raised";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::kOverflow);
    }
    EXPECT_EQ(ReadFileBytes(home / "Tallowin.INI"), before);
}

TEST_F(Settings, FailedSaveKeepsTheEarlierFileIntact) {
    LoadSettings(form, state);
    Save(300, 400);
    const std::string before = ReadFileBytes(home / "Tallowin.INI");
    // A file-size limit makes the write fail part way, as a full disk would.
    state.sName = QString(200, QChar('x'));
    {
        testing_support::FileSizeLimit limit(64);
        EXPECT_THROW(SaveSettings(form, state), host::HostError);
    }
    EXPECT_EQ(ReadFileBytes(home / "Tallowin.INI"), before);
}

}  // namespace
