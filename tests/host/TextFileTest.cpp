#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "host/HostError.h"
#include "host/TextFile.h"
#include "support/ErrorOf.h"
#include "support/PermissionBitsApply.h"
#include "support/TempHome.h"

using host::TextFile;

namespace {

using testing_support::ErrorOf;

TEST(NumberedTextFiles, RecordsReadAsTheyWereWritten) {
    testing_support::TempHome home;
    TextFile::OpenForOutput(3, "C:\\data.txt");
    TextFile::WriteInteger(3, -32768);
    TextFile::WriteString(3, QStringLiteral("a, \"b\" c"));
    TextFile::WriteString(3, QStringLiteral("ünï"));
    TextFile::Close(3);
    EXPECT_EQ(testing_support::ReadFileBytes(home / "data.txt"), "-32768\r\n\"a, \"b\" c\"\r\n\"ünï\"\r\n");

    TextFile::OpenForInput(3, "C:\\data.txt");
    EXPECT_EQ(TextFile::InputInteger(3), -32768);
    EXPECT_EQ(TextFile::InputString(3), QStringLiteral("a, \"b\" c"));
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

TEST(NumberedTextFiles, AWritableFileInAFolderThatTakesNoNewFilesIsRewrittenInPlace) {
    testing_support::TempHome home;
    home.MakeFolder("locked");
    home.WriteFile("locked/Tallowin.INI", "1\r\n2\r\n\"old and longer\"\r\n");
    ASSERT_EQ(chmod((home / "locked").c_str(), 0555), 0);
    {
        testing_support::PermissionBitsApply bits;
        TextFile::OpenForOutput(1, "C:\\locked\\Tallowin.INI");
        TextFile::WriteString(1, QStringLiteral("new"));
        TextFile::Close(1);
        EXPECT_EQ(ErrorOf([] { TextFile::OpenForOutput(1, "C:\\locked\\other.INI"); }),
                  host::kPermissionDenied);
    }
    chmod((home / "locked").c_str(), 0755);
    EXPECT_EQ(testing_support::ReadFileBytes(home / "locked/Tallowin.INI"), "\"new\"\r\n");
}

// A quoted value runs to the last quote of its line, so every value a text field can hold reads
// back; files without a quote inside a value read as they always did.
struct QuotedCase {
    const char* name;
    std::string bytes;
    std::vector<QString> values;
};

class QuotedValues : public ::testing::TestWithParam<QuotedCase> {};

TEST_P(QuotedValues, ReadAsWritten) {
    testing_support::TempHome home;
    home.WriteFile("t.INI", GetParam().bytes);
    TextFile::OpenForInput(1, "C:\\t.INI");
    for (const QString& value : GetParam().values) EXPECT_EQ(TextFile::InputString(1), value);
    TextFile::Close(1);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, QuotedValues,
    ::testing::Values(QuotedCase{"QuoteInside", "\"my\"shot\"\r\n\"000\"\r\n", {"my\"shot", "000"}},
                      QuotedCase{"OnlyQuotes", "\"\"\"\r\n\"\"\r\n\"\"\"\"\r\n", {"\"", "", "\"\""}},
                      QuotedCase{"QuoteThenComma", "\"a\",b\"\r\n", {"a\",b"}},
                      QuotedCase{"TextAfterTheLastQuote", "\"a\"b\"c\r\nd\r\n", {"a\"b", "d"}},
                      QuotedCase{"CommaInsideQuotes", "\"Shots, old\"\r\n", {"Shots, old"}},
                      QuotedCase{"LoneLineFeeds", "\"a\"\n\"b\"\"\n", {"a", "b\""}},
                      QuotedCase{"UnclosedRunsToTheNextQuote", "\"a\r\nb\"\r\n\"c\"", {"a\r\nb", "c"}},
                      QuotedCase{"UnclosedAtTheEnd", "\"abc", {"abc"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
