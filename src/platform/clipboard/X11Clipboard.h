#pragma once
// The X11 CLIPBOARD selection as a clipboard backend.
//
// It has a connection and a thread of its own, so no clipboard owner can stall the interface:
// XFixes tells it of every change of owner as it happens, and it fetches with ConvertSelection
// into a property of its own hidden window, incremental (INCR) transfers included.
//
// Emptying gives the selection to no one, stamped with the time of the contents it empties, so a
// grab that arrived since stays. Under XWayland the clipboard is instead held empty until another
// program copies something, since the compositor would keep offering the grab to native programs.

#include <memory>

#include "platform/clipboard/ClipboardBackend.h"

namespace platform {

class X11Clipboard final : public ClipboardBackend {
public:
    enum class EmptyBy {
        kGivingToNoOne,  // an X11 session
        kHoldingEmpty,   // XWayland: native programs must see the clipboard empty too
    };

    // The backend on the X server that DISPLAY names; null when there is none, or it lacks XFixes.
    static std::unique_ptr<X11Clipboard> Open(EmptyBy emptyBy = EmptyBy::kGivingToNoOne);
    ~X11Clipboard() override;

    void Start(Listener listener) override;
    FetchResult Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) override;
    void Clear(ClipboardMark mark) override;
    void ClearAll() override;
    bool ConnectionLost() const override;
    void SetPaused(bool paused) override;

private:
    class Impl;  // X11ClipboardImpl.h
    explicit X11Clipboard(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
