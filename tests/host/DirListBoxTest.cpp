#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <filesystem>

#include "host/DirListBox.h"
#include "host/HostError.h"
#include "support/ParamName.h"
#include "support/TempHome.h"

namespace {

struct PathCase {
    const char* name;
    const char* start;     // where the list stands first
    const char* assigned;  // what code assigns to Path
    const char* shown;     // what Path reads back
};

class DirListPath : public ::testing::TestWithParam<PathCase> {
protected:
    DirListPath() {
        home.MakeFolder("Shots/Week");
        home.MakeFolder("Shots/Old");
    }
    testing_support::TempHome home;
    QWidget form;
};

TEST_P(DirListPath, TakesEveryFormOfPathAndReadsBackTheFullPath) {
    const PathCase& c = GetParam();
    host::DirListBox dir(&form, "Dir1", 120, 600, 1935, 2340, 1);
    dir.SetPath(QString::fromLatin1(c.start));
    dir.SetPath(QString::fromLatin1(c.assigned));
    EXPECT_EQ(dir.Path(), QString::fromLatin1(c.shown)) << c.start << " then " << c.assigned;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DirListPath,
    ::testing::Values(PathCase{"FullPath", "C:\\", "C:\\Shots\\Week", "C:\\Shots\\Week"},
                      PathCase{"DriveAloneIsItsRoot", "C:\\Shots\\Week", "C:", "C:\\"},
                      PathCase{"RootedOnTheListsDrive", "C:\\Shots", "\\Shots\\Week", "C:\\Shots\\Week"},
                      PathCase{"RootOfTheListsDrive", "Z:\\tmp", "\\", "Z:\\"},
                      PathCase{"Subfolder", "C:\\Shots", "Week", "C:\\Shots\\Week"},
                      PathCase{"ThroughTheParent", "C:\\Shots\\Week", "..\\Old", "C:\\Shots\\Old"},
                      PathCase{"LowerCaseAndForwardSlashes", "C:\\", "c:/Shots//Week/", "C:\\Shots\\Week"},
                      PathCase{"EmptyStays", "C:\\Shots", "", "C:\\Shots"}),
    testing_support::ByName);

class DirListMissing : public ::testing::TestWithParam<const char*> {};

TEST_P(DirListMissing, NoFolderThereRaisesPathNotFoundAndStays) {
    testing_support::TempHome home;
    home.MakeFolder("Shots");
    home.WriteFile("Shots/scrn000.jpg", "x");
    QWidget form;
    host::DirListBox dir(&form, "Dir1", 120, 600, 1935, 2340, 1);
    dir.SetPath(QStringLiteral("C:\\Shots"));
    int changes = 0;
    dir.OnChange([&] { ++changes; });
    try {
        dir.SetPath(QString::fromLatin1(GetParam()));
        FAIL() << GetParam() << " was taken";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::kPathNotFound);
    }
    EXPECT_EQ(dir.Path(), QStringLiteral("C:\\Shots"));
    EXPECT_EQ(changes, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, DirListMissing,
                         ::testing::Values("C:\\Nowhere", "\\\\server\\share", "Q:\\",
                                           "C:\\Shots\\scrn000.jpg", "Nowhere"),
                         [](const auto& info) { return testing_support::ParamName(info.param); });

TEST(DirList, ShowsAncestorsThenSubfoldersSortedWithoutFiles) {
    testing_support::TempHome home;
    for (const char* f : {"Shots/Week/Mon", "Shots/Week/alpha", "Shots/Week/Zed", "Shots/Week/.hidden"})
        home.MakeFolder(f);
    home.WriteFile("Shots/Week/scrn000.jpg", "x");
    QWidget form;
    host::DirListBox dir(&form, "Dir1", 120, 600, 1935, 2340, 1);
    dir.SetPath(QStringLiteral("C:\\Shots\\Week"));
    EXPECT_EQ(dir.Entries(), QStringList({"C:\\", "Shots", "Week", ".hidden", "alpha", "Mon", "Zed"}));
    EXPECT_EQ(dir.List()->currentRow(), 2);  // the current folder is the one marked
}

TEST(DirList, ChangeHandlerRunsNestedOnEveryAssignment) {
    testing_support::TempHome home;
    home.MakeFolder("Shots");
    QWidget form;
    host::DirListBox dir(&form, "Dir1", 120, 600, 1935, 2340, 1);
    dir.SetPath(QStringLiteral("C:\\"));
    QStringList seen;
    dir.OnChange([&] { seen << dir.Path(); });
    dir.SetPath(QStringLiteral("C:\\Shots"));
    dir.SetPath(QStringLiteral("\\Shots"));  // the same folder again
    EXPECT_EQ(seen, QStringList({"C:\\Shots", "C:\\Shots"}));
}

TEST(DirList, DoubleClickAndEnterOpenAFolder) {
    testing_support::TempHome home;
    home.MakeFolder("Shots/Week");
    QWidget form;
    host::DirListBox dir(&form, "Dir1", 120, 600, 1935, 2340, 1);
    dir.SetPath(QStringLiteral("C:\\"));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QStringList seen;
    dir.OnChange([&] { seen << dir.Path(); });

    QListWidget* list = dir.List();
    const QRect shots = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, shots.center());
    EXPECT_EQ(dir.Path(), QStringLiteral("C:\\"));  // one click only marks it
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, shots.center());
    ASSERT_EQ(dir.Path(), QStringLiteral("C:\\Shots"));
    list->setCurrentRow(2);  // Week
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dir.Path(), QStringLiteral("C:\\Shots\\Week"));
    list->setCurrentRow(0);  // back up to the root
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(seen, QStringList({"C:\\Shots", "C:\\Shots\\Week", "C:\\"}));
}

TEST(DirList, OpeningAFolderThatWentAwayFailsAndShowsWhatIsThere) {
    testing_support::TempHome home;
    home.MakeFolder("Shots/Gone");
    home.MakeFolder("Shots/Kept");
    QWidget form;
    host::DirListBox dir(&form, "Dir1", 120, 600, 1935, 2340, 1);
    dir.SetPath(QStringLiteral("C:\\Shots"));
    std::filesystem::remove(home / "Shots/Gone");
    int changes = 0;
    dir.OnChange([&] { ++changes; });
    try {
        dir.Open(2);  // "Gone", as listed before it was removed
        FAIL() << "a removed folder was opened";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::kPathNotFound);
    }
    EXPECT_EQ(dir.Path(), QStringLiteral("C:\\Shots"));
    EXPECT_EQ(dir.Entries(), QStringList({"C:\\", "Shots", "Kept"}));
    EXPECT_EQ(changes, 0);
}

}  // namespace
