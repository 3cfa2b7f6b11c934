#pragma once
// The system clipboard's one reader, over the backend chosen for the desktop the program runs on.
// This is the one place where the backend is chosen.

#include <string>

#include "platform/clipboard/ClipboardReader.h"

namespace platform {

// Chooses the backend and starts reading the clipboard; false, with the reason in `whyNot`, when
// the desktop's clipboard cannot be watched. Called once at start-up; later calls do nothing.
bool OpenSystemClipboard(std::string* whyNot = nullptr);

// The reader; opens the clipboard first if that has not happened (falling back to the toolkit's
// in-process clipboard when the desktop's cannot be watched).
ClipboardReader& SystemClipboard();

// Stops reading: its thread ends and its connection closes. Before the application object goes.
void CloseSystemClipboard();

}  // namespace platform
