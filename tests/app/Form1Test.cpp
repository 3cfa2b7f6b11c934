#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "app/Form1.h"
#include "support/TempHome.h"

namespace {

struct Place {
    const char* name;
    float left, top, width, height;
};

class MainWindow : public ::testing::Test {
protected:
    testing_support::TempHome home;
};

TEST_F(MainWindow, ControlsStandAtTheirTwipsPlaces) {
    Form1 form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tallowin"));
    EXPECT_EQ(form.width() * 15, 3510);
    EXPECT_EQ(form.height() * 15, 5235);
    const Place places[] = {
        {"Label3", 120, 120, 495, 255},    {"Text1", 120, 360, 2295, 315},
        {"Browse", 2520, 360, 855, 375},   {"Label2", 120, 720, 495, 255},
        {"Label4", 1680, 720, 615, 255},   {"Text2", 120, 960, 1335, 315},
        {"Text3", 1680, 960, 735, 315},    {"Exit", 2520, 960, 855, 375},
        {"Label1", 120, 1440, 615, 255},   {"Option1", 840, 1440, 615, 255},
        {"Option2", 1560, 1440, 735, 255}, {"Picture1", 120, 1920, 3255, 3135},
    };
    for (const Place& p : places) {
        auto* w = form.findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr) << p.name;
        const QRect g = w->geometry();
        EXPECT_NEAR(g.x() * 15, p.left, 7.5) << p.name;
        EXPECT_NEAR(g.y() * 15, p.top, 7.5) << p.name;
        EXPECT_NEAR(g.width() * 15, p.width, 7.5) << p.name;
        EXPECT_NEAR(g.height() * 15, p.height, 7.5) << p.name;
    }
    EXPECT_EQ(form.Exit.Caption(), QStringLiteral("EXIT"));
    EXPECT_EQ(form.Option1.Caption(), QStringLiteral("JPG"));
    EXPECT_EQ(form.Timer1.Interval(), 2000);
    EXPECT_FALSE(form.Timer1.Enabled());
}

TEST_F(MainWindow, FirstRunShowsTheDefaultsAndEmptiesTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("copied before start"));
    Form1 form;
    form.Option2.SetValue(true);  // a choice left from before does not survive a new window
    Form1 second;
    second.Form_Load();
    EXPECT_EQ(second.Text1.Text(), QStringLiteral("C:\\"));
    EXPECT_EQ(second.Text2.Text(), QStringLiteral("scrn"));
    EXPECT_EQ(second.Text3.Text(), QStringLiteral("000"));
    EXPECT_TRUE(second.Option1.Value());
    EXPECT_FALSE(second.Option2.Value());
    EXPECT_TRUE(second.Timer1.Enabled());
    EXPECT_EQ(second.Left(), 200.0f);
    EXPECT_EQ(second.Top(), 200.0f);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
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
