#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "app/Form1.h"
#include "app/Form2.h"
#include "host/ErrorNotice.h"
#include "host/HostError.h"
#include "platform/files/HostPath.h"
#include "support/Layout.h"
#include "support/ParamName.h"
#include "support/PermissionBitsApply.h"
#include "support/TempHome.h"

namespace fs = std::filesystem;

namespace {

// Three removable volumes seen by this test alone (a private mount namespace): D: can be read; E:
// is mounted but out of reach, hidden under D:, as a volume whose medium has gone; F: is there but
// its entries cannot be read (for a user: the tests run as root unless permission bits apply).
class UnreadableDrive {
public:
    UnreadableDrive() {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return;
        if (mount("tallowin-test", "/media", "tmpfs", 0, "size=64k") != 0) return;
        mkdir("/media/stick", 0755);
        mkdir("/media/stick/card", 0755);
        mkdir("/media/zlocked", 0755);
        ready_ = mount("tallowin-test", "/media/stick/card", "tmpfs", 0, "size=64k") == 0 &&
                 mount("tallowin-test", "/media/stick", "tmpfs", 0, "size=64k") == 0 &&
                 mount("tallowin-test", "/media/zlocked", "tmpfs", 0, "size=64k,mode=0311") == 0;
    }
    ~UnreadableDrive() {
        umount2("/media/zlocked", MNT_DETACH);
        umount2("/media/stick", MNT_DETACH);
        umount2("/media/stick/card", MNT_DETACH);
        umount2("/media", MNT_DETACH);
    }
    bool Ready() const { return ready_; }

private:
    bool ready_ = false;
};

class Chooser : public ::testing::Test {
protected:
    Chooser() {
        home.MakeFolder("Shots/Week");
        home.MakeFolder("Other");
        home.WriteFile("notes.txt", "x");
        home.WriteFile("Shots/Week/scrn000.jpg", "x");
        home.WriteFile("Shots/Week/scrn001.jpg", "x");
    }
    ~Chooser() override {
        // Whatever chooser a test left is gone with the main window; let the deletion land.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Browse with this target in the main window's field (and so in the target of the program state).
    Form2& BrowseWith(const QString& target) {
        main.Text1.SetText(target);
        main.State.sTarget = target;
        main.Browse.Click();
        return ChooserForm();
    }
    // Opens the folder in row `row` of Dir1 the way the user does: mark it, press Enter.
    static void UserOpens(Form2& chooser, int row) {
        chooser.Dir1.List()->setCurrentRow(row);
        QTest::keyClick(chooser.Dir1.List(), Qt::Key_Return);
    }

    testing_support::TempHome home;
    Form1 main;
};

// The drive list over both lists, the folders beside the files, and Done under the files in their
// column.
TEST_F(Chooser, WindowAndControlsStandAtTheirPlaces) {
    Form2& chooser = BrowseWith(QStringLiteral("C:\\"));
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Tallowin Target"));
    EXPECT_EQ(chooser.width() * 15, 4560);
    EXPECT_EQ(chooser.height() * 15, 3120);
    EXPECT_FALSE(chooser.windowIcon().isNull());
    EXPECT_EQ(chooser.parentWidget(), nullptr);  // no owner
    EXPECT_EQ(chooser.windowModality(), Qt::NonModal);
    EXPECT_TRUE(chooser.isVisible());
    testing_support::ExpectInsideAndApart(chooser, {chooser.Drive1.Widget(), chooser.Dir1.Widget(),
                                                    chooser.File1.Widget(), chooser.Done.Widget()});
    const QRect drive = chooser.Drive1.Widget()->geometry(), dir = chooser.Dir1.Widget()->geometry(),
                file = chooser.File1.Widget()->geometry(), done = chooser.Done.Widget()->geometry();
    EXPECT_EQ(drive.left(), dir.left());
    EXPECT_EQ(drive.right(), file.right());
    EXPECT_LT(drive.bottom(), dir.top());
    EXPECT_EQ(file.top(), dir.top());
    EXPECT_LT(dir.right(), file.left());
    EXPECT_EQ(done.left(), file.left());
    EXPECT_EQ(done.width(), file.width());
    EXPECT_LT(file.bottom(), done.top());
    EXPECT_EQ(chooser.Done.Caption(), QStringLiteral("Done"));
    // The tab order: Drive1, Dir1, File1, Done.
    QList<QWidget*> chain;
    for (QWidget* w = chooser.Drive1.Widget(); chain.size() < 40; w = w->nextInFocusChain()) chain << w;
    EXPECT_LT(chain.indexOf(chooser.Drive1.Widget()), chain.indexOf(chooser.Dir1.Widget()));
    EXPECT_LT(chain.indexOf(chooser.Dir1.Widget()), chain.indexOf(chooser.File1.Widget()));
    EXPECT_LT(chain.indexOf(chooser.File1.Widget()), chain.indexOf(chooser.Done.Widget()));
}

struct LoadCase {
    const char* name;
    const char* target;
    const char* shown;  // Dir1, and then the target and Text1
    QStringList files;
};

class ChooserLoad : public Chooser, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(ChooserLoad, ShowsTheTargetOrFallsBackToTheHomeRootWithoutAMessage) {
    const LoadCase& c = GetParam();
    Form2& chooser = BrowseWith(QString::fromLatin1(c.target));
    EXPECT_EQ(chooser.Drive1.Drive(), QStringLiteral("C:"));
    EXPECT_EQ(chooser.Dir1.Path(), QString::fromLatin1(c.shown)) << c.target;
    EXPECT_EQ(chooser.File1.Path(), QString::fromLatin1(c.shown));
    EXPECT_EQ(chooser.File1.Entries(), c.files);
    EXPECT_EQ(main.State.sTarget, QString::fromLatin1(c.shown));
    EXPECT_EQ(main.Text1.Text(), QString::fromLatin1(c.shown));
    EXPECT_TRUE(host::ErrorNotice::CurrentText().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ChooserLoad,
    ::testing::Values(LoadCase{"DriveRoot", "C:\\", "C:\\", {"notes.txt"}},
                      LoadCase{
                          "Folder", "C:\\Shots\\Week", "C:\\Shots\\Week", {"scrn000.jpg", "scrn001.jpg"}},
                      LoadCase{"LowerCaseWithTrailingBackslash",
                               "c:\\Shots\\Week\\",
                               "C:\\Shots\\Week",
                               {"scrn000.jpg", "scrn001.jpg"}},
                      LoadCase{"Empty", "", "C:\\", {"notes.txt"}},              // too short to split
                      LoadCase{"DriveLetterAlone", "C", "C:\\", {"notes.txt"}},  // likewise
                      LoadCase{"NetworkPath", "\\\\server\\share\\Shots", "C:\\", {"notes.txt"}},
                      LoadCase{"FolderNotThere", "C:\\Nowhere", "C:\\", {"notes.txt"}},
                      LoadCase{"NoSuchDrive", "Q:\\Shots", "C:\\", {"notes.txt"}},
                      LoadCase{"AFileNotAFolder", "C:\\notes.txt", "C:\\", {"notes.txt"}}),
    testing_support::ByName);

TEST_F(Chooser, LoadingOnAnotherDriveMovesBothLists) {
    Form2& chooser = BrowseWith(QStringLiteral("Z:\\"));
    EXPECT_EQ(chooser.Drive1.Drive(), QStringLiteral("Z:"));
    EXPECT_EQ(chooser.Dir1.Path(), QStringLiteral("Z:\\"));
    EXPECT_EQ(chooser.File1.Path(), QStringLiteral("Z:\\"));
    EXPECT_EQ(main.State.sTarget, QStringLiteral("Z:\\"));
}

TEST_F(Chooser, OpeningAFolderMovesTheTargetAtOnceAndTheFieldAtDone) {
    Form2& chooser = BrowseWith(QStringLiteral("C:\\"));
    UserOpens(chooser, 2);                                       // C:\, Other, Shots
    EXPECT_EQ(main.State.sTarget, QStringLiteral("C:\\Shots"));  // where the next grab goes
    EXPECT_EQ(main.Text1.Text(), QStringLiteral("C:\\"));
    EXPECT_TRUE(chooser.File1.Entries().isEmpty());

    chooser.Done.Click();
    EXPECT_EQ(main.Text1.Text(), QStringLiteral("C:\\Shots"));
    EXPECT_EQ(main.State.sTarget, QStringLiteral("C:\\Shots"));
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(ExistingChooserForm(), &chooser);  // hidden, not gone
}

// A folder made in another encoding: opened and taken with Done, the target and the field hold
// a name whose bytes are that folder's, and Browse shows it again.
TEST_F(Chooser, AFolderWhoseNameIsNotUtf8IsOpenedAndBecomesTheTarget) {
    home.MakeFolder("Shots/caf\xe9");
    Form2& chooser = BrowseWith(QStringLiteral("C:\\Shots"));
    const auto found = chooser.Dir1.List()->findItems(QStringLiteral("caf"), Qt::MatchStartsWith);
    ASSERT_EQ(found.size(), 1);
    UserOpens(chooser, chooser.Dir1.List()->row(found[0]));
    chooser.Done.Click();
    EXPECT_EQ(platform::HostPath(main.State.sTarget), home / "Shots/caf\xe9");
    EXPECT_EQ(platform::HostPath(main.Text1.Text()), home / "Shots/caf\xe9");
    main.Browse.Click();
    EXPECT_EQ(chooser.Dir1.Path(), main.State.sTarget);
    EXPECT_TRUE(host::ErrorNotice::CurrentText().isEmpty());
}

TEST_F(Chooser, BrowseAfterDoneShowsTheSameListsWithoutLoadingAgain) {
    Form2& chooser = BrowseWith(QStringLiteral("C:\\Shots\\Week"));
    chooser.Done.Click();
    home.WriteFile("Shots/Week/scrn002.jpg", "x");  // the lists are not read again
    main.Browse.Click();
    EXPECT_EQ(&ChooserForm(), &chooser);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(chooser.Dir1.Path(), QStringLiteral("C:\\Shots\\Week"));
    EXPECT_EQ(chooser.File1.Entries(), QStringList({"scrn000.jpg", "scrn001.jpg"}));
    EXPECT_EQ(main.Text1.Text(), QStringLiteral("C:\\Shots\\Week"));
}

TEST_F(Chooser, AFolderTypedAfterDoneIsTheTarget) {
    Form2& chooser = BrowseWith(QStringLiteral("C:\\Shots\\Week"));
    chooser.Done.Click();
    main.Text1.Edit()->selectAll();
    QTest::keyClicks(main.Text1.Edit(), QStringLiteral("C:\\Other"));
    ASSERT_EQ(main.State.sTarget, QStringLiteral("C:\\Other"));
    main.Browse.Click();
    EXPECT_EQ(main.State.sTarget, QStringLiteral("C:\\Other"));
    EXPECT_EQ(main.Text1.Text(), QStringLiteral("C:\\Other"));
    EXPECT_EQ(chooser.Dir1.Path(), QStringLiteral("C:\\Shots\\Week"));  // still where it was
}

TEST_F(Chooser, ClosingThroughTheFrameDestroysItAndBrowseLoadsAfresh) {
    Form2* first = &BrowseWith(QStringLiteral("C:\\"));
    UserOpens(*first, 2);  // Shots
    QPointer<Form2> closed(first);
    first->close();
    EXPECT_EQ(ExistingChooserForm(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(main.State.sTarget, QStringLiteral("C:\\Shots"));
    EXPECT_EQ(main.Text1.Text(), QStringLiteral("C:\\"));  // Done's steps did not run

    main.Browse.Click();
    Form2& second = ChooserForm();
    EXPECT_EQ(second.Dir1.Path(), QStringLiteral("C:\\Shots"));
    EXPECT_EQ(main.Text1.Text(), QStringLiteral("C:\\Shots"));
}

TEST_F(Chooser, AFolderThatCannotBeListedLeavesTheTargetAsItWas) {
    // The user can see the folder and open it, but may not read it: File1 fails, so the target
    // does not move there, although Dir1 shows it.
    fs::create_directory(home / "Locked");
    home.WriteFile("Locked/secret.jpg", "x");
    fs::permissions(home / "Locked", fs::perms::owner_exec);
    Form2& chooser = BrowseWith(QStringLiteral("C:\\"));
    testing_support::PermissionBitsApply asAUser;
    UserOpens(chooser, 1);  // C:\, Locked, Other, Shots
    EXPECT_EQ(chooser.Dir1.Path(), QStringLiteral("C:\\Locked"));
    EXPECT_EQ(chooser.File1.Path(), QStringLiteral("C:\\"));
    EXPECT_EQ(chooser.File1.Entries(), QStringList({"notes.txt"}));
    EXPECT_EQ(main.State.sTarget, QStringLiteral("C:\\"));
    EXPECT_TRUE(host::ErrorNotice::CurrentText().isEmpty());
}

TEST_F(Chooser, AFailingFallbackReachesTheHostAndLeavesNoChooser) {
    // Drive C: itself has gone: there is nothing to fall back to.
    setenv("HOME", (home / "gone").c_str(), 1);
    main.State.sTarget = QStringLiteral("C:\\");
    try {
        main.Browse.Click();
        ADD_FAILURE() << "Browse succeeded without a drive C:";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::kPathNotFound);
    }
    setenv("HOME", home.Path().c_str(), 1);
    EXPECT_EQ(ExistingChooserForm(), nullptr);
    main.Browse.Click();  // with C: back, the next Browse loads it
    EXPECT_EQ(ChooserForm().Dir1.Path(), QStringLiteral("C:\\"));
}

class ChooserDrives : public Chooser, public ::testing::WithParamInterface<char> {};

TEST_P(ChooserDrives, ADriveThatCannotBeReadChangesNothingButTheDriveListAndIsReported) {
    UnreadableDrive volumes;
    if (!volumes.Ready()) GTEST_SKIP() << "no private mount namespace here";
    Form2& chooser = BrowseWith(QStringLiteral("C:\\Shots\\Week"));
    QComboBox* drives = chooser.Drive1.Combo();
    const int picked = drives->findData(QChar(GetParam()));
    ASSERT_GE(picked, 0);
    {
        testing_support::PermissionBitsApply asAUser;
        drives->setCurrentIndex(picked);
        emit drives->activated(picked);  // the user picks the drive
    }
    EXPECT_EQ(chooser.Drive1.Drive(), QStringLiteral("%1:").arg(GetParam()));
    EXPECT_EQ(chooser.Dir1.Path(), QStringLiteral("C:\\Shots\\Week"));
    EXPECT_EQ(chooser.File1.Path(), QStringLiteral("C:\\Shots\\Week"));
    EXPECT_EQ(main.State.sTarget, QStringLiteral("C:\\Shots\\Week"));
    EXPECT_TRUE(host::ErrorNotice::CurrentText().startsWith(
        QStringLiteral("Run-time error '68':\n\nDevice unavailable")))
        << host::ErrorNotice::CurrentText().toStdString();
    host::ErrorNotice::Window()->close();

    // A target on it takes the fallback; one on the readable volume is shown.
    chooser.close();
    BrowseWith(QStringLiteral("E:\\"));
    EXPECT_EQ(ChooserForm().Dir1.Path(), QStringLiteral("C:\\"));
    ChooserForm().close();
    BrowseWith(QStringLiteral("D:\\"));
    EXPECT_EQ(ChooserForm().Drive1.Drive(), QStringLiteral("D:"));
    EXPECT_EQ(ChooserForm().Dir1.Path(), QStringLiteral("D:\\"));
    EXPECT_EQ(main.State.sTarget, QStringLiteral("D:\\"));
}

INSTANTIATE_TEST_SUITE_P(Unreadable, ChooserDrives, ::testing::Values('E', 'F'), [](const auto& info) {
    return info.param == 'E' ? "MediumGone" : "EntriesUnreadable";
});

}  // namespace
