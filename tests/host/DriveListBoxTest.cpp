#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QWidget>

#include "host/DriveListBox.h"
#include "host/HostError.h"
#include "support/ParamName.h"
#include "support/TempHome.h"

namespace {

TEST(DriveList, StartsOnTheCurrentDriveAndListsHomeFirstAndRootLast) {
    testing_support::TempHome home;
    QWidget form;
    host::DriveListBox drives(&form, "Drive1", 120, 120, 4335, 315, 0);
    EXPECT_EQ(drives.Drive(), QStringLiteral("C:"));
    QComboBox* combo = drives.Combo();
    ASSERT_GE(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("C: [Home]"));
    EXPECT_EQ(combo->itemText(combo->count() - 1), QStringLiteral("Z: [File system]"));
    EXPECT_EQ(combo->currentIndex(), 0);
}

class DriveNames : public ::testing::TestWithParam<const char*> {};

TEST_P(DriveNames, TheFirstLetterNamesTheDrive) {
    testing_support::TempHome home;
    QWidget form;
    host::DriveListBox drives(&form, "Drive1", 120, 120, 4335, 315, 0);
    QStringList seen;
    drives.OnChange([&] { seen << drives.Drive(); });
    drives.SetDrive(QString::fromLatin1(GetParam()));
    drives.SetDrive(QStringLiteral("Z:"));  // already chosen: nothing changes
    EXPECT_EQ(seen, QStringList({"Z:"}));
    EXPECT_EQ(drives.Combo()->currentText(), QStringLiteral("Z: [File system]"));
}

INSTANTIATE_TEST_SUITE_P(Cases, DriveNames, ::testing::Values("z", "Z:", "z:\\tmp", "Z: [File system]"),
                         [](const auto& info) { return testing_support::ParamName(info.param); });

struct Unknown {
    const char* name;
    const char* drive;
};
class NoSuchDrive : public ::testing::TestWithParam<Unknown> {};

TEST_P(NoSuchDrive, RaisesDeviceUnavailableAndStays) {
    testing_support::TempHome home;
    QWidget form;
    host::DriveListBox drives(&form, "Drive1", 120, 120, 4335, 315, 0);
    int changes = 0;
    drives.OnChange([&] { ++changes; });
    try {
        drives.SetDrive(QString::fromLatin1(GetParam().drive));
        FAIL() << GetParam().drive << " was taken";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), 68);
        EXPECT_EQ(e.Description(), QStringLiteral("Device unavailable"));
    }
    EXPECT_EQ(drives.Drive(), QStringLiteral("C:"));
    EXPECT_EQ(changes, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, NoSuchDrive,
                         ::testing::Values(Unknown{"NoSuchLetter", "Q:"}, Unknown{"NetworkPrefix", "\\\\"},
                                           Unknown{"Empty", ""}, Unknown{"Digit", "1:"}),
                         testing_support::ByName);

TEST(DriveList, PickingADriveRunsTheHandlerAsAnEvent) {
    testing_support::TempHome home;
    QWidget form;
    host::DriveListBox drives(&form, "Drive1", 120, 120, 4335, 315, 0);
    QStringList seen;
    drives.OnChange([&] { seen << drives.Drive(); });
    QComboBox* combo = drives.Combo();
    combo->setCurrentIndex(combo->count() - 1);
    emit combo->activated(combo->count() - 1);  // what the user's choice in the drop-down sends
    emit combo->activated(combo->count() - 1);
    EXPECT_EQ(seen, QStringList({"Z:"}));
}

// Screen readers call the list by its name whichever drive it shows, read the drive as its value
// and its text, find the entries as its child, and open them through its action.
TEST(DriveList, ScreenReadersHearItsNameAndTheDriveItShows) {
    testing_support::TempHome home;
    QWidget form;
    host::DriveListBox drives(&form, "Drive1", 120, 120, 4335, 315, 0);
    QComboBox* combo = drives.Combo();
    combo->setAccessibleName(QStringLiteral("Drive"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(combo);
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->textInterface(), nullptr);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    drives.SetDrive(QStringLiteral("Z:"));

    EXPECT_EQ(accessible->role(), QAccessible::ComboBox);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Drive"));
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("Z: [File system]"));
    EXPECT_EQ(accessible->textInterface()->text(0, -1), QStringLiteral("Z: [File system]"));
    EXPECT_EQ(accessible->textInterface()->characterCount(), 16);
    ASSERT_EQ(accessible->childCount(), 1);
    EXPECT_EQ(accessible->child(0)->object(), combo->view());
    EXPECT_EQ(accessible->indexOfChild(accessible->child(0)), 0);

    form.show();
    accessible->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(combo->view()->isVisible());
    accessible->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_FALSE(combo->view()->isVisible());
}

}  // namespace
