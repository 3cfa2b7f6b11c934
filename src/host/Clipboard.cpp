#include "host/Clipboard.h"

#include <cstdio>
#include <optional>
#include <string>

#include "host/App.h"
#include "host/HostError.h"
#include "platform/clipboard/SystemClipboard.h"
#include "platform/memory/PixelMemory.h"

namespace host {
namespace {

// The error of grabs that were missed: a number of the program's own, as the JPEG writer's 26001.
constexpr int kGrabsMissed = 26003;

// The contents a bitmap was last read from; Clear then empties only those.
std::optional<platform::ClipboardMark> readMark;

[[noreturn]] void RaiseTooLarge(QSize size) {
    RaiseError(kOutOfMemory, App::EXEName(),
               QStringLiteral("Out of memory: the picture on the clipboard is %1 x %2 pixels, more than the "
                              "%3 pixels a bitmap can hold")
                   .arg(size.width())
                   .arg(size.height())
                   .arg(platform::kMaxPixelBytes / 3));
}

// Grabs copied faster than they could be saved, beyond what waits for the ticks.
[[noreturn]] void RaiseMissed(std::size_t missed) {
    RaiseError(kGrabsMissed, App::EXEName(),
               QStringLiteral("%1 grabs were copied faster than they could be saved and were missed (at most "
                              "%2 wait for the next tick)")
                   .arg(missed)
                   .arg(platform::ClipboardReader::kMaxWaiting));
}

// Once, on standard error: the display server's clipboard went away, and the program, still
// running, sees no grab from now on.
void ReportLostConnection(bool lost) {
    static bool reported = false;
    if (!lost || reported) return;
    reported = true;
    std::fprintf(stderr, "Tallowin: the connection to the clipboard ended; no more grabs are seen.\n");
}

}  // namespace

bool Clipboard::Open(QString* whyNot) {
    std::string reason;
    const bool opened = platform::OpenSystemClipboard(&reason);
    if (!opened && whyNot) *whyNot = QString::fromStdString(reason);
    return opened;
}

void Clipboard::Close() {
    readMark.reset();
    platform::CloseSystemClipboard();
}

Picture Clipboard::GetData(int format) {
    readMark.reset();
    if (format != kBitmap) return Picture();
    platform::ClipboardReader::Found found = platform::SystemClipboard().Take();
    ReportLostConnection(found.connectionLost);
    if (found.missed) RaiseMissed(found.missed);
    if (found.tooLarge.isValid()) RaiseTooLarge(found.tooLarge);
    if (!found.picture) return Picture();
    readMark = found.mark;
    return Picture(found.picture);
}

void Clipboard::Clear() {
    if (readMark)
        platform::SystemClipboard().Clear(*readMark);
    else
        platform::SystemClipboard().ClearAll();
    readMark.reset();
}

void Clipboard::SetPaused(bool paused) {
    // A capture under way when the pause starts still empties its own grab when it is done.
    platform::SystemClipboard().SetPaused(paused);
}

bool Clipboard::Paused() { return platform::SystemClipboard().Paused(); }

}  // namespace host
