#pragma once
// The system clipboard, as the program sees it.

namespace host {

class Clipboard {
public:
    // Empties the clipboard, whoever holds it: the program that put a grab there lets it go.
    static void Clear();
};

}  // namespace host
