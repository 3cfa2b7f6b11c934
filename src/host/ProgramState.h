#pragma once
// The program's module-wide strings: one set for the whole run, owned by the main window and
// handed by reference to what reads or writes them (the capture cycle, the settings module, the
// folder chooser). The main window's text boxes write straight through to the first three.

#include <QString>

namespace host {

struct ProgramState {
    QString sTarget;    // target folder
    QString sName;      // file name prefix
    QString sNumber;    // three-digit sequence number, as text
    QString sFileName;  // the last file name built: prefix, number, extension
    QString sAppDir;    // current directory at start-up: the settings file's folder
};

}  // namespace host
