#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <tuple>

#include "app/Form1.h"
#include "support/Layout.h"
#include "support/TempHome.h"

namespace {

class MainWindow : public ::testing::Test {
protected:
    testing_support::TempHome home;
};

// The boxes and buttons in rows and clear of each other, each label over the left end of its box
// (the classic layout lets a label reach a pixel into its box), the two buttons in one column, and
// the preview below everything, as wide as the rows above it.
TEST_F(MainWindow, ControlsStandInRowsInsideTheWindow) {
    Form1 form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tallowin"));
    EXPECT_EQ(form.width() * 15, 3510);
    EXPECT_EQ(form.height() * 15, 5235);
    const auto at = [](const host::Control& control) { return control.Widget()->geometry(); };
    testing_support::ExpectInsideAndApart(
        form, {form.Text1.Widget(), form.Browse.Widget(), form.Text2.Widget(), form.Text3.Widget(),
               form.Exit.Widget(), form.Option1.Widget(), form.Option2.Widget(), form.Option3.Widget(),
               form.Picture1.Widget()});
    testing_support::ExpectInsideAndApart(
        form, {form.Label3.Widget(), form.Label2.Widget(), form.Label4.Widget(), form.Label1.Widget()});
    const std::pair<const host::Control*, const host::Control*> labelled[] = {
        {&form.Label3, &form.Text1}, {&form.Label2, &form.Text2}, {&form.Label4, &form.Text3}};
    for (const auto& [label, box] : labelled) {
        EXPECT_EQ(at(*label).left(), at(*box).left()) << qPrintable(label->Widget()->objectName());
        EXPECT_LT(at(*label).center().y(), at(*box).top()) << qPrintable(label->Widget()->objectName());
    }
    EXPECT_EQ(at(form.Browse).top(), at(form.Text1).top());
    EXPECT_EQ(at(form.Label4).top(), at(form.Label2).top());
    EXPECT_EQ(at(form.Text3).top(), at(form.Text2).top());
    EXPECT_EQ(at(form.Exit).top(), at(form.Text2).top());
    EXPECT_EQ(at(form.Option1).top(), at(form.Label1).top());
    EXPECT_EQ(at(form.Option2).top(), at(form.Label1).top());
    EXPECT_LT(at(form.Label1).right(), at(form.Option1).left());
    EXPECT_EQ(at(form.Option3).top(), at(form.Label1).top());
    EXPECT_LT(at(form.Option1).right(), at(form.Option2).left());
    EXPECT_LT(at(form.Option2).right(), at(form.Option3).left());
    EXPECT_EQ(at(form.Exit).left(), at(form.Browse).left());
    EXPECT_EQ(at(form.Exit).width(), at(form.Browse).width());
    EXPECT_GT(at(form.Picture1).top(), at(form.Option2).bottom());
    EXPECT_EQ(at(form.Picture1).left(), at(form.Text1).left());
    EXPECT_EQ(at(form.Picture1).right(), at(form.Browse).right());
    EXPECT_EQ(form.Exit.Caption(), QStringLiteral("EXIT"));
    EXPECT_EQ(form.Option1.Caption(), QStringLiteral("JPG"));
    EXPECT_EQ(form.Option2.Caption(), QStringLiteral("BMP"));
    EXPECT_EQ(form.Option3.Caption(), QStringLiteral("PNG"));
    EXPECT_EQ(form.Timer1.Interval(), 2000);
    EXPECT_FALSE(form.Timer1.Enabled());
}

TEST_F(MainWindow, FirstRunShowsTheDefaultsAndEmptiesTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("copied before start"));
    Form1 form;
    form.Option3.SetValue(true);  // a choice left from before does not survive a new window
    Form1 second;
    second.Form_Load();
    EXPECT_EQ(second.Text1.Text(), QStringLiteral("C:\\"));
    EXPECT_EQ(second.Text2.Text(), QStringLiteral("scrn"));
    EXPECT_EQ(second.Text3.Text(), QStringLiteral("000"));
    EXPECT_TRUE(second.Option1.Value());
    EXPECT_FALSE(second.Option2.Value());
    EXPECT_FALSE(second.Option3.Value());
    EXPECT_TRUE(second.Timer1.Enabled());
    EXPECT_EQ(second.Left(), 200.0f);
    EXPECT_EQ(second.Top(), 200.0f);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
}

// The three formats are one group: choosing one, by click or by the arrow keys, lets go of the others.
TEST_F(MainWindow, SaveAsIsOneChoiceOfThree) {
    Form1 form;
    form.Form_Load();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::mouseClick(form.Option3.Widget(), Qt::LeftButton);
    EXPECT_EQ(std::tuple(form.Option1.Value(), form.Option2.Value(), form.Option3.Value()),
              std::tuple(false, false, true));
    form.Option3.SetFocus();
    QTest::keyClick(form.Option3.Widget(), Qt::Key_Left);
    EXPECT_EQ(std::tuple(form.Option1.Value(), form.Option2.Value(), form.Option3.Value()),
              std::tuple(false, true, false));
    QTest::keyClick(form.Option2.Widget(), Qt::Key_Right);
    EXPECT_TRUE(form.Option3.Value());
    QTest::mouseClick(form.Option1.Widget(), Qt::LeftButton);
    EXPECT_EQ(std::tuple(form.Option1.Value(), form.Option2.Value(), form.Option3.Value()),
              std::tuple(true, false, false));
}

TEST_F(MainWindow, ProgramStateFollowsEveryEdit) {
    Form1 form;
    form.Form_Load();
    form.show();
    QTest::keyClicks(form.Text1.Edit(), QStringLiteral("Shots"));
    EXPECT_EQ(form.State.sTarget, QStringLiteral("C:\\Shots"));
    form.Text2.Edit()->selectAll();
    QTest::keyClick(form.Text2.Edit(), Qt::Key_Delete);
    EXPECT_EQ(form.State.sName, QString());
    QTest::keyClicks(form.Text2.Edit(), QStringLiteral("a, b"));
    EXPECT_EQ(form.State.sName, QStringLiteral("a, b"));
    form.Text3.SetText(QStringLiteral("12"));  // code assignments run the change handler too
    EXPECT_EQ(form.State.sNumber, QStringLiteral("12"));
    form.Text3.Edit()->selectAll();
    QTest::keyClick(form.Text3.Edit(), Qt::Key_Backspace);
    EXPECT_EQ(form.State.sNumber, QString());
}

TEST_F(MainWindow, ExitSavesTheSettings) {
    Form1 form;
    form.Form_Load();
    form.SetLeft(450);
    form.Text2.SetText(QStringLiteral("doc"));
    form.Exit.Click();
    EXPECT_EQ(testing_support::ReadFileBytes(home / "Tallowin.INI"),
              "450\r\n200\r\n\"C:\\\"\r\n\"doc\"\r\n\"000\"\r\n");
}

}  // namespace
