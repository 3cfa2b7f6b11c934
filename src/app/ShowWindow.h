#pragma once

// Brings the main window to the front, restored when it was minimised, with the keyboard focus.
void ShowMainWindow();
