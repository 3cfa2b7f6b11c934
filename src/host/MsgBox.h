#pragma once
// The host's message box: a text, an OK button and the program's name as title.

#include <QString>

namespace host {

// Shows the message without waiting for it: the box stays open beside the program's windows, with
// no event loop of its own, and goes away when the user presses OK.
void MsgBox(const QString& prompt);

}  // namespace host
