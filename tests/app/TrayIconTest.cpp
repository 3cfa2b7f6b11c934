// The tray icon's menu and click: each does what the window and the commands do.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include "app/LoadedForm.h"
#include "app/TrayIcon.h"
#include "host/ErrorNotice.h"

namespace {

// Stands in for the desktop's file manager: keeps the address it was asked to open.
class FileManager : public QObject {
    Q_OBJECT
public:
    FileManager() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~FileManager() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    Q_INVOKABLE void Open(const QUrl& url) { opened.push_back(url); }
    std::vector<QUrl> opened;
};

class Tray : public testing_support::LoadedForm {
protected:
    TrayIcon tray{form};  // made before the start-up steps: it follows what they load
};

TEST_F(Tray, PauseAndResumeShowInTheIconTheMenuTheTooltipAndTheTitle) {
    QCoreApplication::processEvents();
    const QImage watchingIcon = tray.Icon().icon().pixmap(32).toImage();
    EXPECT_EQ(tray.PauseAction().text(), QStringLiteral("Pause"));
    EXPECT_TRUE(tray.Icon().toolTip().startsWith(QStringLiteral("Tallowin: watching\nTarget: C:\\ (")));
    tray.PauseAction().trigger();
    EXPECT_TRUE(form.Watch.Paused());
    EXPECT_EQ(tray.PauseAction().text(), QStringLiteral("Resume"));
    EXPECT_TRUE(tray.Icon().toolTip().startsWith(QStringLiteral("Tallowin: paused\n")));
    EXPECT_TRUE(tray.Icon().toolTip().endsWith(QStringLiteral("\n0 grabs saved")));
    EXPECT_NE(tray.Icon().icon().pixmap(32).toImage(), watchingIcon);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tallowin (paused)"));
    tray.PauseAction().trigger();
    EXPECT_FALSE(form.Watch.Paused());
    EXPECT_EQ(tray.Icon().icon().pixmap(32).toImage(), watchingIcon);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tallowin"));
}

TEST_F(Tray, AClickOnTheIconTogglesAndOtherActivationsDoNot) {
    emit tray.Icon().activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form.Watch.Paused());
    emit tray.Icon().activated(QSystemTrayIcon::Context);
    emit tray.Icon().activated(QSystemTrayIcon::MiddleClick);
    EXPECT_TRUE(form.Watch.Paused());
    emit tray.Icon().activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(form.Watch.Paused());
}

TEST_F(Tray, TheTooltipFollowsTheTarget) {
    form.Text1.SetText(QStringLiteral("C:\\Shots"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(tray.Icon().toolTip().contains(QStringLiteral("Target: C:\\Shots (")));
}

TEST_F(Tray, OpenTargetFolderHandsTheFolderToTheFileManager) {
    FileManager files;
    home.MakeFolder("Shots");
    form.Text1.SetText(QStringLiteral("C:\\Shots"));
    tray.OpenTargetAction().trigger();
    ASSERT_EQ(files.opened.size(), 1u);
    EXPECT_EQ(files.opened[0], QUrl::fromLocalFile(QString::fromStdString(home / "Shots")));

    // A target that is not there: said as every other error is, and nothing is opened.
    form.Text1.SetText(QStringLiteral("C:\\Later"));
    tray.OpenTargetAction().trigger();
    EXPECT_EQ(files.opened.size(), 1u);
    EXPECT_TRUE(host::ErrorNotice::CurrentText().startsWith(QStringLiteral("Run-time error '76':")))
        << host::ErrorNotice::CurrentText().toStdString();
    EXPECT_TRUE(host::ErrorNotice::CurrentText().contains(QString::fromStdString(home / "Later")));
    host::ErrorNotice::Window()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(Tray, ShowWindowBringsBackTheMinimisedWindow) {
    form.Show();
    form.showMinimized();
    tray.ShowWindowAction().trigger();
    EXPECT_FALSE(form.isMinimized());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(Tray, ExitWritesTheSettingsAsTheExitButtonDoes) {
    form.Text2.SetText(QStringLiteral("doc"));
    tray.ExitAction().trigger();
    EXPECT_EQ(testing_support::ReadFileBytes(home / "Tallowin.INI"),
              "200\r\n200\r\n\"C:\\\"\r\n\"doc\"\r\n\"000\"\r\n");
}

}  // namespace

#include "TrayIconTest.moc"
