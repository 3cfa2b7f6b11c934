#pragma once
// The clipboard's picture, read ahead of the tick that takes it.
//
// The backend tells the reader of every new clipboard contents on the backend's thread; the reader
// fetches the best picture type offered and decodes it there, once per contents, and keeps the
// outcome. The tick, on the interface thread, only takes what is ready for the current contents:
// it never waits on another program, and a picture that failed is not fetched again until the
// contents change.
//
// Grabs copied faster than the ticks come are not lost: a picture that was read but neither taken
// nor emptied when newer contents replaced it waits in a backlog, and the tick takes the waiting
// ones first, in the order copied, then the clipboard's own. The backlog is bounded (kMaxWaiting
// pictures, kMaxWaitingBytes of pixels); a grab beyond it is missed, and counted.
//
// Put back: when the first new contents after one of our emptyings arrive within kPutBackWindow
// and hold exactly the pixels of the picture just emptied, a clipboard manager put them back; they
// are left alone and never offered to the tick. Anything else (another picture, or the same one
// copied again later) is offered as usual.
//
// Paused: nothing is fetched or decoded, and the tick is offered nothing. The contents on the
// clipboard when the pause starts, those copied during it and those there when it ends are never
// offered (a picture copied for another program stays where it is); only contents that arrive after
// the resume are grabs. Grabs already waiting stay waiting for the first tick after the resume.

#include <QSize>
#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard/ClipboardBackend.h"
#include "platform/codec/DecodePicture.h"
#include "platform/memory/IdleRelease.h"
#include "platform/picture/PictureBits.h"

namespace platform {

class ClipboardReader {
public:
    static constexpr std::chrono::milliseconds kPutBackWindow{5000};
    static constexpr std::size_t kMaxWaiting = 16;
    static constexpr std::size_t kMaxWaitingBytes = std::size_t{1} << 30;

    struct Found {
        ClipboardMark mark;                    // the contents it was read from
        std::shared_ptr<PictureBits> picture;  // none when the clipboard holds no picture ready to take
        QSize tooLarge;                        // once per contents: the size of a picture no bitmap can hold
        bool connectionLost = false;           // the backend's connection ended: no grab comes again
        std::size_t missed = 0;                // once: grabs lost since the backlog was full
    };

    explicit ClipboardReader(std::unique_ptr<ClipboardBackend> backend);
    ~ClipboardReader();
    ClipboardReader(const ClipboardReader&) = delete;
    ClipboardReader& operator=(const ClipboardReader&) = delete;

    // The oldest picture waiting, else the one ready for the clipboard's current contents. Returns
    // at once.
    Found Take();
    // After a capture of the contents of `mark`: a waiting picture is done with; the clipboard's
    // own contents are emptied if it still holds them, never offered again, and a put-back of
    // their picture is recognised.
    void Clear(ClipboardMark mark);
    // Empties the clipboard whatever it holds; what it held is never offered.
    void ClearAll();

    // Pauses or resumes reading; either way the clipboard's current contents are never offered.
    // Any thread.
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }

    // Gives back the memory kept for the next fetch, unless a fetch is using it now, and the picture
    // last emptied once the put-back rule no longer needs it. Any thread.
    void ReleaseKeptMemory();

    // The type a picture is read in, out of those offered; empty when none is a picture.
    static std::string PictureType(const std::vector<std::string>& types);

private:
    enum class State { kReading, kNone, kPicture, kTooLarge };
    struct Contents {
        ClipboardMark mark;
        State state = State::kNone;
        std::shared_ptr<PictureBits> picture;
        QSize size;
        bool reported = false;  // a too-large picture was told of
        // Never offered: we emptied it, it was there at start, or it was there when a pause
        // started or ended (or came during it).
        bool done = false;
    };
    struct Emptied {
        std::shared_ptr<PictureBits> picture;
        std::chrono::steady_clock::time_point when;
    };

    // On the backend's thread.
    // Keeps a picture that was replaced before a tick took it (under mutex_).
    void Wait(ClipboardMark mark, std::shared_ptr<PictureBits> picture);
    void ContentsChanged(ClipboardMark mark, const std::vector<std::string>& types);
    DecodedPicture FetchAndDecode(ClipboardMark mark, const std::string& type, FetchResult& fetched);
    void Settle(ClipboardMark mark, State state, std::shared_ptr<PictureBits> picture = {}, QSize size = {});

    struct Waiting {
        ClipboardMark mark;
        std::shared_ptr<PictureBits> picture;
    };

    std::mutex mutex_;
    std::atomic<bool> paused_{false};  // changed under mutex_
    Contents current_;
    std::deque<Waiting> waiting_;  // oldest first
    std::size_t missed_ = 0;
    // The last grab offered anew under another mark: the first mark stands for the second.
    std::optional<std::pair<ClipboardMark, ClipboardMark>> sameAs_;
    std::optional<Emptied> lastEmptied_;
    // The fetched bytes. Their memory is kept from one fetch to the next, since a fresh buffer
    // costs a page fault for every 4 KB of a picture file each time, and given back a minute after
    // the last (IdleRelease.h); a bitmap file that becomes its picture's memory takes it along, and
    // the next fetch takes a kept block. The lock is held while a fetch and its decoding use them.
    std::mutex fetchMutex_;
    PixelBytes fetched_;
    KeptMemory kept_{[this] { ReleaseKeptMemory(); }};  // the fetched bytes and the picture emptied
    std::unique_ptr<ClipboardBackend> backend_;         // declared last: stops before the rest goes
};

}  // namespace platform
