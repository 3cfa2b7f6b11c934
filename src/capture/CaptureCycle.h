#pragma once
// One capture: when the clipboard holds a bitmap, write it to the target folder as the next
// numbered JPEG, PNG or bitmap file, show it in the preview, advance the number and empty the
// clipboard. Runs on every tick of the main window's timer.

#include "host/OptionButton.h"
#include "host/Picture.h"
#include "host/PictureBox.h"
#include "host/ProgramState.h"
#include "host/TextBox.h"
#include "platform/memory/IdleRelease.h"

// The main window's controls that a capture reads and writes.
struct CaptureControls {
    host::OptionButton& Option1;  // "JPG" selected
    host::OptionButton& Option3;  // "PNG" selected
    host::TextBox& Text3;         // the number
    host::PictureBox& Picture1;   // the preview
};

class CaptureCycle {
public:
    CaptureCycle(CaptureControls form, host::ProgramState& state) : form_(form), state_(state) {}

    // One tick; true when it saved a grab. Any error ends it at the step that raised it and passes
    // to the caller; the grab then stays on the clipboard for the next tick. A grab larger than a
    // 4K screen is written away from the interface thread, whose events go on meanwhile; a Run
    // called during that one does nothing and returns false.
    bool Run();

    // The picture last taken from the clipboard (Handle 0 when it held no bitmap, or once it was
    // given back with the rest of the kept memory, a minute after the last grab).
    const host::Picture& picClip() const { return picClip_; }

private:
    CaptureControls form_;
    host::ProgramState& state_;
    host::Picture picClip_;
    bool running_ = false;
    platform::KeptMemory keptPicture_{[this] { picClip_ = host::Picture(); }};
};
