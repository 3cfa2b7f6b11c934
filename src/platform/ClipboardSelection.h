#pragma once
// The desktop clipboard below Qt: emptying it whoever owns it, without ever emptying a grab that
// arrived after the one the program read.
//
// On X11 the CLIPBOARD selection is given to no one. Qt's own clear() does nothing there while
// another program owns it, and taking it over through Qt can be refused for an old time stamp.
// Elsewhere (an in-process clipboard, as under the offscreen platform) Qt's clear() does the job.

#include <cstdint>

namespace platform {

// Who held the clipboard, and the X server's clock, when the program looked at it.
struct ClipboardMark {
    std::uint32_t owner = 0;  // the owner's window, 0 for none
    std::uint32_t time = 0;   // server time; 0 where there is no X server
};

// Notes the clipboard's owner and the server time, just before its content is read.
ClipboardMark MarkClipboard();

// Empties the clipboard whatever it holds.
void ClearClipboard();

// Empties the clipboard if it still holds what it held at the mark: if another program (or the same
// one, later) has put something there since, that stays for the next look.
void ClearClipboard(const ClipboardMark& asOf);

}  // namespace platform
