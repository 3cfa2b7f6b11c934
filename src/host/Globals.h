#pragma once
// The program's module-wide strings, alive for the whole run. The text boxes of the main window
// write straight through to the first three; the capture cycle reads them on every tick.

#include <QString>

inline QString sTarget;    // target folder
inline QString sName;      // file name prefix
inline QString sNumber;    // three-digit sequence number, as text
inline QString sFileName;  // the last file name built: prefix, number, extension
inline QString sAppDir;    // current directory at start-up: the settings file's folder
