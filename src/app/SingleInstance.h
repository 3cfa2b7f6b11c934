#pragma once
// One running copy per user and display. Two copies would count on their own and write over each
// other's files, so a second start hands over to the first: it asks the running copy to bring its
// window to the front and ends, without touching the clipboard or the settings file.

#include <QByteArray>

// Call once, after the application object exists and before the main window is loaded. True when
// another copy runs for this user on this display: it has been asked to show its window, a line
// on standard error says so, and this copy must end. False when this is the only copy: from now on
// it answers later starts by raising the main window, and the commands of RemoteCommands.h.
bool HandOverToRunningCopy();

// The socket the copy running for this user and display listens on; empty when no private folder
// for it can be had.
QByteArray CommandSocketPath();

// The display a copy works on, as one file-name part, from DISPLAY and WAYLAND_DISPLAY: ":1",
// ":1.0", "unix:1" and "host/unix:1" are the same clipboard.
QByteArray DisplayKey(QByteArray display, const QByteArray& waylandDisplay);
