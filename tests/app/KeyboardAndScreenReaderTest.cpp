// Both windows as a keyboard or screen-reader user meets them: every field and list has a name,
// Enter presses the focused button, and Escape closes the chooser as its frame's button does.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QPointer>
#include <QTest>

#include "app/Form1.h"
#include "app/Form2.h"
#include "support/TempHome.h"

namespace {

struct Named {
    const char* object;
    const char* name;  // what a screen reader says
};
std::string ObjectOf(const ::testing::TestParamInfo<Named>& info) { return info.param.object; }

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

class Windows : public ::testing::Test {
protected:
    ~Windows() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    Form2& OpenChooser() {
        main.Text1.SetText(QStringLiteral("C:\\"));
        main.Browse.Click();
        return ChooserForm();
    }

    testing_support::TempHome home;
    Form1 main;
};

class MainWindowNames : public Windows, public ::testing::WithParamInterface<Named> {};

TEST_P(MainWindowNames, EachControlIsNamedByItsCaption) {
    QWidget* widget = main.findChild<QWidget*>(QString::fromLatin1(GetParam().object));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(AccessibleName(widget), QString::fromLatin1(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Controls, MainWindowNames,
                         ::testing::Values(Named{"Text1", "Target"}, Named{"Text2", "Name"},
                                           Named{"Text3", "Number"}, Named{"Picture1", "Preview"},
                                           Named{"Browse", "Browse"}, Named{"Exit", "EXIT"},
                                           Named{"Option1", "JPG"}, Named{"Option2", "BMP"},
                                           Named{"Option3", "PNG"}),
                         ObjectOf);

class ChooserNames : public Windows, public ::testing::WithParamInterface<Named> {};

TEST_P(ChooserNames, EachListIsNamed) {
    QWidget* widget = OpenChooser().findChild<QWidget*>(QString::fromLatin1(GetParam().object));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(AccessibleName(widget), QString::fromLatin1(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Controls, ChooserNames,
                         ::testing::Values(Named{"Drive1", "Drive"}, Named{"Dir1", "Folders"},
                                           Named{"File1", "Files"}, Named{"Done", "Done"}),
                         ObjectOf);

TEST_F(Windows, EnterPressesTheFocusedButton) {
    main.Text1.SetText(QStringLiteral("C:\\"));
    QTest::keyClick(main.Browse.Widget(), Qt::Key_Return);
    Form2* chooser = ExistingChooserForm();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());

    QTest::keyClick(chooser->Done.Widget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(chooser->isVisible());  // Done hid it
    EXPECT_EQ(ExistingChooserForm(), chooser);
}

class ChooserEscape : public Windows, public ::testing::WithParamInterface<const char*> {};

TEST_P(ChooserEscape, ClosesTheChooserAsItsFrameDoes) {
    Form2& chooser = OpenChooser();
    QPointer<Form2> closed(&chooser);
    QWidget* focused = chooser.findChild<QWidget*>(QString::fromLatin1(GetParam()));
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, Qt::Key_Escape);
    EXPECT_EQ(ExistingChooserForm(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
}

INSTANTIATE_TEST_SUITE_P(Focus, ChooserEscape, ::testing::Values("Drive1", "Dir1", "File1", "Done"));

}  // namespace
