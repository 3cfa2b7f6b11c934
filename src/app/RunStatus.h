#pragma once
// What the running copy tells of itself: the answer to `tallowin --status` and the tray icon's
// tooltip.

#include <QString>

class Form1;

// "watching" or "paused".
QString StateWord(const Form1& form);
// The target as the window shows it, followed by the folder it names when that reads otherwise:
// "C:\shots (/home/ann/shots)".
QString TargetText(const Form1& form);
// The name the next grab gets: the prefix, the number and the chosen format's extension.
QString NextFileName(const Form1& form);
// "1 grab saved", "3 grabs saved".
QString GrabsSavedText(const Form1& form);

// All of it on one line: "watching; target C:\ (/home/ann); next file scrn004.jpg; 3 grabs saved".
QString StatusLine(const Form1& form);
