#pragma once
// The system clipboard, as the program sees it. Reading happens ahead, off the interface thread
// (platform::ClipboardReader); what is asked here returns at once, whatever the clipboard's owner
// does.

#include <QString>

#include "host/Picture.h"

namespace host {

class Clipboard {
public:
    static constexpr int kBitmap = 2;

    // Starts watching the desktop's clipboard; false, with the reason, when it cannot be watched.
    // Called once at start-up (the first use opens it otherwise).
    static bool Open(QString* whyNot = nullptr);
    // Stops watching, before the application goes.
    static void Close();

    // The clipboard's bitmap as a picture; a picture whose Handle is 0 when it holds none ready
    // (or the format asked for is not the bitmap). A picture larger than a bitmap can hold raises
    // "Out of memory" with its size, once for as long as it stays on the clipboard.
    static Picture GetData(int format);
    // Empties the clipboard, whoever holds it: the program that put a grab there lets it go. After a
    // bitmap was read, only that one is emptied: a grab put there since stays for the next look.
    static void Clear();

    // Paused, nothing is read from the clipboard and GetData finds no bitmap; the contents there
    // when the pause starts or ends are never taken, so only what is copied after the resume is.
    // Every run starts watching.
    static void SetPaused(bool paused);
    static bool Paused();
};

}  // namespace host
