#include "app/CommandLine.h"

#include <cstring>

#include "app/RemoteCommands.h"

namespace {

constexpr const char* kUsage =
    "Usage: tallowin [--help | --version]\n"
    "       tallowin --pause | --resume | --toggle | --status\n";

constexpr const char* kHelp =
    "\n"
    "Saves every picture that is put on the clipboard, such as a screen grab, as a\n"
    "numbered JPEG, PNG or bitmap file in the target folder, shows a preview of it\n"
    "and empties the clipboard. The target folder, the name prefix and the next\n"
    "number are kept in Tallowin.INI in the folder Tallowin is started from.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "Commands to the Tallowin running on this display (none is started; exit status 3\n"
    "when none runs). Each prints the state line that --status prints:\n"
    "      --pause    stop watching the clipboard: pictures copied now are left alone\n"
    "      --resume   watch again; what the clipboard holds now is left alone too\n"
    "      --toggle   pause when watching, resume when paused\n"
    "      --status   print watching or paused, the target folder, the next file name\n"
    "                 and the number of grabs saved since it started\n";

// The commands for the running copy, by option.
struct Command {
    const char* option;
    const char* line;
};
constexpr Command kCommands[] = {
    {"--pause", "pause"}, {"--resume", "resume"}, {"--toggle", "toggle"}, {"--status", "status"}};

bool Is(const char* argument, const char* name) { return std::strcmp(argument, name) == 0; }

}  // namespace

const char* ProgramVersion() { return TALLOWIN_VERSION; }

std::optional<int> AnswerCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (Is(argument, "--help") || Is(argument, "-h")) {
            std::fputs(kUsage, out);
            std::fputs(kHelp, out);
            return 0;
        }
        if (Is(argument, "--version")) {
            std::fprintf(out,
                         "tallowin %s\n"
                         "Copyright (c) The Tallowin developers\n"
                         "MIT License: this is free software; you are free to change and redistribute it.\n",
                         ProgramVersion());
            return 0;
        }
        for (const Command& command : kCommands) {
            if (!Is(argument, command.option)) continue;
            if (i + 1 < argc) {
                std::fprintf(err, "tallowin: %s takes nothing after it ('%s')\n", argument, argv[i + 1]);
                std::fputs(kUsage, err);
                return 2;
            }
            return SendToRunningCopy(command.line, out, err);
        }
        // Only the options above exist; the toolkit's own options are not offered either.
        const bool option = argument[0] == '-' && argument[1] != '\0';
        std::fprintf(err, "tallowin: %s '%s'\n", option ? "unknown option" : "unexpected argument", argument);
        std::fputs(kUsage, err);
        std::fputs("Try 'tallowin --help' for more information.\n", err);
        return 2;
    }
    return std::nullopt;
}
