#pragma once
// The settings kept between runs: the main window's position and the three fields, in
// "Tallowin.INI" in the folder that was current at start-up.

#include <cstdint>

#include "host/Form.h"
#include "host/ProgramState.h"

// Window position in twips, carried between the settings file and the window.
inline int16_t iLeft = 0;
inline int16_t iTop = 0;

// Captures the current directory into sAppDir, then places the window and sets sTarget, sName and
// sNumber from the settings file, or to 200, 200, "C:\", "scrn", "000" if the file cannot be read.
void LoadSettings(host::Form& form, host::ProgramState& state);

// Writes the window's position and the three fields. Errors pass to the caller; a failure never
// leaves an earlier settings file emptied or half written.
void SaveSettings(host::Form& form, const host::ProgramState& state);
