#include <gtest/gtest.h>

#include "host/HostError.h"
#include "host/TextFile.h"
#include "support/ErrorOf.h"
#include "support/TempHome.h"

using host::TextFile;

namespace {

using testing_support::ErrorOf;

TEST(NumberedTextFiles, RecordsReadAsTheyWereWritten) {
    testing_support::TempHome home;
    TextFile::OpenForOutput(3, "C:\\data.txt");
    TextFile::WriteInteger(3, -32768);
    TextFile::WriteString(3, QStringLiteral("a, \"b\" c"));  // only the first quote pair counts
    TextFile::WriteString(3, QStringLiteral("ünï"));
    TextFile::Close(3);
    EXPECT_EQ(testing_support::ReadFileBytes(home / "data.txt"), "-32768\r\n\"a, \"b\" c\"\r\n\"ünï\"\r\n");

    TextFile::OpenForInput(3, "C:\\data.txt");
    EXPECT_EQ(TextFile::InputInteger(3), -32768);
    EXPECT_EQ(TextFile::InputString(3), QStringLiteral("a, "));
    EXPECT_EQ(TextFile::InputString(3), QStringLiteral("ünï"));
    EXPECT_EQ(ErrorOf([] { TextFile::InputString(3); }), host::kInputPastEndOfFile);
    TextFile::Close(3);
    TextFile::Close(3);  // closing what is not open does nothing
}

TEST(NumberedTextFiles, FailuresCarryTheClassicNumbers) {
    testing_support::TempHome home;
    EXPECT_EQ(ErrorOf([] { TextFile::OpenForInput(1, "C:\\missing.txt"); }), host::kFileNotFound);
    EXPECT_EQ(ErrorOf([] { TextFile::OpenForInput(1, "C:\\no folder\\x.txt"); }), host::kPathNotFound);
    EXPECT_EQ(ErrorOf([] { TextFile::OpenForOutput(1, "C:\\no folder\\x.txt"); }), host::kPathNotFound);
    EXPECT_EQ(ErrorOf([] { TextFile::InputString(1); }), host::kBadFileNameOrNumber);
    home.WriteFile("n.txt", "1x\r\n99999\r\n");
    TextFile::OpenForInput(1, "C:\\n.txt");
    EXPECT_EQ(ErrorOf([] { TextFile::OpenForInput(1, "C:\\n.txt"); }), host::kFileAlreadyOpen);
    EXPECT_EQ(ErrorOf([] { TextFile::InputInteger(1); }), host::kTypeMismatch);
    EXPECT_EQ(ErrorOf([] { TextFile::InputInteger(1); }), host::kOverflow);
    TextFile::Close(1);
}

TEST(NumberedTextFiles, OutputThatIsNeverClosedLeavesNoFile) {
    testing_support::TempHome home;
    TextFile::OpenForOutput(2, "C:\\later.txt");
    TextFile::WriteInteger(2, 1);
    EXPECT_FALSE(testing_support::FileExists(home / "later.txt"));
    TextFile::Close(2);
    EXPECT_TRUE(testing_support::FileExists(home / "later.txt"));
}

}  // namespace
