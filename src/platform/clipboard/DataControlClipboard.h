#pragma once
// The Wayland clipboard as a clipboard backend, through a data-control protocol: a background
// client sees every new selection as it happens, whichever window has the focus, and empties it
// without the input serial a focused window would need. It has a connection to the compositor and
// a thread of its own, so it works the same whether the window is shown through XWayland or as a
// native Wayland window, and no clipboard owner can hold up the interface.
//
// A mark counts the selections seen; 0 is no selection. Data arrives through a pipe that the owner
// writes into and closes.

#include <memory>
#include <string>

#include "platform/clipboard/ClipboardBackend.h"

namespace platform {

class DataControlClipboard final : public ClipboardBackend {
public:
    // The backend on the compositor that WAYLAND_DISPLAY names. Null when there is none or it
    // offers no data-control protocol; `problem` then says which, and `reached` whether a
    // compositor answered at all.
    static std::unique_ptr<DataControlClipboard> Open(std::string* problem, bool* reached = nullptr);
    ~DataControlClipboard() override;

    void Start(Listener listener) override;
    FetchResult Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) override;
    void Clear(ClipboardMark mark) override;
    void ClearAll() override;
    bool ConnectionLost() const override;

private:
    class Impl;  // in the source file, with everything that speaks Wayland
    explicit DataControlClipboard(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
