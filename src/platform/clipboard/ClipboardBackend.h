#pragma once
// The system clipboard as a source of pictures: what one clipboard protocol (X11 selections,
// Wayland data control, the toolkit's in-process clipboard) gives the clipboard reader.
//
// A backend speaks its protocol and nothing more:
//  - it watches the clipboard from its own thread and tells its listener of the contents it found at
//    start and of every change after, each with a mark of the new contents and the types they are
//    offered in (an empty clipboard: an empty mark and no types);
//  - from within the listener, on that thread, it fetches the data of one type for the contents
//    of a mark, giving up when the owner makes no progress for kFetchPatience or when the contents
//    change meanwhile (the listener then hears of the new contents as soon as it returns);
//  - from any thread, and without waiting on another program, it empties the clipboard if it
//    still holds the contents of a mark, or empties it whatever it holds;
//  - while the reader is paused, it asks no owner anything: it may tell of new contents without
//    their types.
// Which type to take, decoding, the checks of a picture and the put-back rule belong to the reader
// (ClipboardReader), so every backend behaves the same.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/memory/PixelBytes.h"

namespace platform {

// One set of clipboard contents: marks are equal while the same contents stay, and differ once
// anything (a new owner, a new copy by the same owner, emptying) replaced them. The value means
// something only to the backend that made it; 0 is the empty clipboard.
class ClipboardMark {
public:
    constexpr ClipboardMark() = default;
    constexpr explicit ClipboardMark(std::uint64_t value) : value_(value) {}
    constexpr bool IsEmpty() const { return value_ == 0; }
    constexpr std::uint64_t Value() const { return value_; }
    friend constexpr bool operator==(ClipboardMark, ClipboardMark) = default;

private:
    std::uint64_t value_ = 0;
};

enum class FetchResult {
    kDone,      // every byte arrived
    kRefused,   // the owner said it cannot give this type
    kTimedOut,  // the owner sent nothing for kFetchPatience
    kChanged,   // the contents changed (or the backend is stopping) before the data was whole
    kTooLarge,  // more than kMaxFetchBytes; the bytes hold the first kMaxFetchBytes
};

class ClipboardBackend {
public:
    // How long an owner may send nothing before a fetch gives up; a slow transfer that keeps
    // moving is waited for however long it takes.
    static constexpr std::chrono::milliseconds kFetchPatience{5000};
    // The most a fetch takes: a 32-bit bitmap file of the largest picture (whose rows of 3 bytes a
    // pixel fill kMaxPixelBytes), and a little.
    static constexpr std::size_t kMaxFetchBytes =
        std::size_t{kMaxPixelBytes} / 3 * 4 + (std::size_t{1} << 20);

    // Called with the contents' mark and the types offered (MIME names such as "image/png").
    using Listener = std::function<void(ClipboardMark mark, const std::vector<std::string>& types)>;

    virtual ~ClipboardBackend() = default;

    // Starts watching; the listener is called on the backend's thread until the backend is
    // destroyed, first with the contents found now.
    virtual void Start(Listener listener) = 0;
    // Only from within the listener. `bytes` receives the data; on any result but kDone (and
    // kTooLarge) it holds nothing to rely on.
    virtual FetchResult Fetch(ClipboardMark mark, const std::string& type, PixelBytes& bytes) = 0;
    // Empties the clipboard if it still holds the contents of `mark`: newer contents stay.
    virtual void Clear(ClipboardMark mark) = 0;
    // Empties the clipboard whatever it holds.
    virtual void ClearAll() = 0;
    // Whether the connection to the clipboard ended (the display server went away): the listener
    // then heard of an empty clipboard, and nothing more will come. Any thread.
    virtual bool ConnectionLost() const { return false; }
    // While paused nothing of the contents is wanted: a backend that has to ask the owner for the
    // types offered tells of new contents without them. Any thread.
    virtual void SetPaused(bool) {}
};

}  // namespace platform
