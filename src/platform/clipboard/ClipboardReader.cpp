#include "platform/clipboard/ClipboardReader.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/memory/IdleRelease.h"

namespace platform {

ClipboardReader::ClipboardReader(std::unique_ptr<ClipboardBackend> backend) : backend_(std::move(backend)) {
    backend_->Start(
        [this](ClipboardMark mark, const std::vector<std::string>& types) { ContentsChanged(mark, types); });
}

ClipboardReader::~ClipboardReader() { backend_.reset(); }

void ClipboardReader::ReleaseKeptMemory() {
    {
        std::lock_guard lock(mutex_);
        if (lastEmptied_ && std::chrono::steady_clock::now() - lastEmptied_->when > kPutBackWindow)
            lastEmptied_.reset();
    }
    const std::unique_lock fetching(fetchMutex_, std::try_to_lock);
    if (fetching) fetched_.release();
}

std::string ClipboardReader::PictureType(const std::vector<std::string>& types) {
    // Lossless first, then the rest; any other image type the decoders may know comes last.
    static constexpr std::array<const char*, 6> kPreferred = {"image/png",      "image/bmp",  "image/x-bmp",
                                                              "image/x-MS-bmp", "image/tiff", "image/jpeg"};
    for (const char* preferred : kPreferred)
        if (std::find(types.begin(), types.end(), preferred) != types.end()) return preferred;
    for (const std::string& type : types)
        if (type.starts_with("image/")) return type;
    return {};
}

ClipboardReader::Found ClipboardReader::Take() {
    std::lock_guard lock(mutex_);
    Found found;
    found.connectionLost = backend_->ConnectionLost();
    if (paused_) return found;
    if (!waiting_.empty()) {
        found.mark = waiting_.front().mark;
        found.picture = waiting_.front().picture;
        return found;
    }
    found.missed = std::exchange(missed_, 0);
    if (current_.done) return found;
    found.mark = current_.mark;
    if (current_.state == State::kPicture) found.picture = current_.picture;
    if (current_.state == State::kTooLarge && !current_.reported) {
        current_.reported = true;
        found.tooLarge = current_.size;
    }
    return found;
}

void ClipboardReader::Clear(ClipboardMark mark) {
    bool keptPicture = false;
    {
        std::lock_guard lock(mutex_);
        if (sameAs_ && sameAs_->first == mark) mark = sameAs_->second;
        const auto saved = std::find_if(waiting_.begin(), waiting_.end(),
                                        [mark](const Waiting& w) { return w.mark == mark; });
        if (saved != waiting_.end()) {
            waiting_.erase(saved);  // no longer on the clipboard: nothing to empty
            return;
        }
        if (current_.mark == mark) {
            if (current_.state == State::kPicture) {
                lastEmptied_ = Emptied{current_.picture, std::chrono::steady_clock::now()};
                keptPicture = true;
            }
            current_.done = true;
        }
    }
    // The picture is kept for the put-back rule only: the idle release drops it with the rest.
    if (keptPicture) kept_.KeptNow();
    backend_->Clear(mark);
}

void ClipboardReader::ClearAll() {
    {
        std::lock_guard lock(mutex_);
        current_.done = true;
        lastEmptied_.reset();
    }
    backend_->ClearAll();
}

void ClipboardReader::SetPaused(bool paused) {
    backend_->SetPaused(paused);
    {
        std::lock_guard lock(mutex_);
        paused_ = paused;
        // What the clipboard holds now was copied for something else, or before the resume.
        current_.done = true;
        current_.state = State::kNone;
        current_.picture.reset();
        // A picture put back is told from a new copy only right after an emptying.
        lastEmptied_.reset();
    }
    // No memory is kept for pictures nobody saves.
    if (paused) ReleaseKeptMemory();
}

void ClipboardReader::ContentsChanged(ClipboardMark mark, const std::vector<std::string>& types) {
    std::optional<Emptied> putBackOf;
    {
        std::lock_guard lock(mutex_);
        if (mark == current_.mark && !mark.IsEmpty()) return;  // told again: what we know stands
        if (current_.state == State::kPicture && !current_.done) Wait(current_.mark, current_.picture);
        current_ = Contents();
        current_.mark = mark;
        if (paused_) {
            current_.done = true;  // nothing is fetched, and this is never a grab
            return;
        }
        current_.state = mark.IsEmpty() ? State::kNone : State::kReading;
        // Only the first contents after an emptying can be its picture put back.
        if (!mark.IsEmpty() && lastEmptied_) {
            if (std::chrono::steady_clock::now() - lastEmptied_->when <= kPutBackWindow)
                putBackOf = lastEmptied_;
            lastEmptied_.reset();
        }
    }
    if (mark.IsEmpty()) return;

    const std::string type = PictureType(types);
    if (type.empty()) return Settle(mark, State::kNone);
    FetchResult fetched = FetchResult::kRefused;
    DecodedPicture decoded = FetchAndDecode(mark, type, fetched);
    if (fetched == FetchResult::kChanged) return;  // the new contents are told of next
    if (fetched == FetchResult::kTooLarge) return Settle(mark, State::kTooLarge, {}, decoded.size);
    if (fetched != FetchResult::kDone) return Settle(mark, State::kNone);
    switch (decoded.outcome) {
        case DecodedPicture::Outcome::kBroken:
            return Settle(mark, State::kNone);
        case DecodedPicture::Outcome::kTooLarge:
            return Settle(mark, State::kTooLarge, {}, decoded.size);
        case DecodedPicture::Outcome::kPicture:
            break;
    }
    if (putBackOf && decoded.bits->SamePixels(*putBackOf->picture)) return Settle(mark, State::kNone);
    Settle(mark, State::kPicture, std::move(decoded.bits), decoded.size);
}

void ClipboardReader::Wait(ClipboardMark mark, std::shared_ptr<PictureBits> picture) {
    std::size_t bytes = picture->Size();
    for (const Waiting& w : waiting_) bytes += w.picture->Size();
    if (waiting_.size() >= kMaxWaiting || bytes > kMaxWaitingBytes) {
        ++missed_;
        return;
    }
    waiting_.push_back({mark, std::move(picture)});
}

DecodedPicture ClipboardReader::FetchAndDecode(ClipboardMark mark, const std::string& type,
                                               FetchResult& fetched) {
    DecodedPicture decoded;
    bool kept = false;
    {
        const std::lock_guard fetching(fetchMutex_);
        fetched = backend_->Fetch(mark, type, fetched_);
        // Too large: only the size it claims counts, and a gigabyte is not kept for the next fetch.
        // Paused meanwhile: nobody will save it.
        if ((fetched == FetchResult::kDone || fetched == FetchResult::kTooLarge) && !paused_)
            decoded = DecodePicture(fetched_);
        if (fetched == FetchResult::kTooLarge) fetched_.release();
        fetched_.clear();
        kept = fetched_.capacity() > 0;
    }
    if (kept) kept_.KeptNow();
    return decoded;
}

void ClipboardReader::Settle(ClipboardMark mark, State state, std::shared_ptr<PictureBits> picture,
                             QSize size) {
    std::lock_guard lock(mutex_);
    if (current_.mark != mark) return;  // changed meanwhile
    if (current_.done) return;          // paused, resumed or emptied while it was read
    // The same picture again at once is the same grab offered anew (a compositor takes over the
    // copy of a program that ended): it stands for the one waiting, and saving either is saving it.
    if (state == State::kPicture && !waiting_.empty() && waiting_.back().picture->SamePixels(*picture)) {
        sameAs_ = std::pair(waiting_.back().mark, mark);
        waiting_.pop_back();
    }
    current_.state = state;
    current_.picture = std::move(picture);
    current_.size = size;
}

}  // namespace platform
