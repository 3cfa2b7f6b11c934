#pragma once
// The icon in the desktop's tray (a StatusNotifierItem on Linux desktops, through the toolkit):
// the application's icon while watching, PausedIcon() while paused, a tooltip with the state, the
// target and the grabs saved, and a menu to pause or resume, open the target folder, show the
// window and exit. A click on the icon pauses or resumes. Where the desktop has no tray nothing
// shows and nothing else changes.

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

class Form1;

class TrayIcon {
public:
    explicit TrayIcon(Form1& form);

    QSystemTrayIcon& Icon() { return icon_; }
    QAction& PauseAction() { return *pause_; }
    QAction& OpenTargetAction() { return *openTarget_; }
    QAction& ShowWindowAction() { return *showWindow_; }
    QAction& ExitAction() { return *exit_; }

private:
    // Shows the state, the target and the count as they are now.
    void Update();

    Form1& form_;
    QIcon watching_, paused_;
    QMenu menu_;
    QAction* pause_;
    QAction* openTarget_;
    QAction* showWindow_;
    QAction* exit_;
    QSystemTrayIcon icon_;
};

// Opens the target folder in the desktop's file manager. A target that names no folder raises
// "Path not found" (76) with the folder's name; a desktop that cannot show folders raises 75.
void OpenTargetFolder(const Form1& form);
