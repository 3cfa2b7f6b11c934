#pragma once
// The system clipboard, as the program sees it.

#include "host/Picture.h"

namespace host {

class Clipboard {
public:
    static constexpr int kBitmap = 2;

    // The clipboard's bitmap as a picture; a picture whose Handle is 0 when it holds none (or
    // the format asked for is not the bitmap). Asks the clipboard for its formats once and
    // fetches the image only when one is offered, so an idle check moves no image data.
    static Picture GetData(int format);
    // Empties the clipboard, whoever holds it: the program that put a grab there lets it go. After a
    // bitmap was read, only that one is emptied: a grab put there since stays for the next look.
    static void Clear();
};

}  // namespace host
