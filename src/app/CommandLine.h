#pragma once
// The command line, read before anything else: --help and --version answer without a display and
// without touching the clipboard, as do the commands to the running copy (--pause, --resume,
// --toggle, --status); anything else on the line is refused with the usage.

#include <cstdio>
#include <optional>

// The version the build states, such as "0.1.0".
const char* ProgramVersion();

// Reads the arguments. When they ask for help or the version, send a command to the running copy,
// or are not understood, writes the answer (to out, or to err for a mistake) and returns the exit
// status: 0, 2 for a mistake, or what SendToRunningCopy returns.
// Returns nothing when the program is to open its window.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err);
