#include "platform/ClipboardReader.h"

#include <algorithm>
#include <array>

#include "platform/DecodePicture.h"

namespace platform {

ClipboardReader::ClipboardReader(std::unique_ptr<ClipboardBackend> backend) : backend_(std::move(backend)) {
    backend_->Start(
        [this](ClipboardMark mark, const std::vector<std::string>& types) { ContentsChanged(mark, types); });
}

ClipboardReader::~ClipboardReader() { backend_.reset(); }

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
    if (current_.emptied) return found;
    found.mark = current_.mark;
    if (current_.state == State::kPicture) found.picture = current_.picture;
    if (current_.state == State::kTooLarge && !current_.reported) {
        current_.reported = true;
        found.tooLarge = current_.size;
    }
    return found;
}

void ClipboardReader::Clear(ClipboardMark mark) {
    {
        std::lock_guard lock(mutex_);
        if (current_.mark == mark) {
            if (current_.state == State::kPicture)
                lastEmptying_ = Emptying{current_.picture, std::chrono::steady_clock::now()};
            current_.emptied = true;
        }
    }
    backend_->Clear(mark);
}

void ClipboardReader::ClearAll() {
    {
        std::lock_guard lock(mutex_);
        current_.emptied = true;
        lastEmptying_.reset();
    }
    backend_->ClearAll();
}

void ClipboardReader::ContentsChanged(ClipboardMark mark, const std::vector<std::string>& types) {
    std::optional<Emptying> putBackOf;
    {
        std::lock_guard lock(mutex_);
        if (mark == current_.mark && !mark.IsEmpty()) return;  // told again: what we know stands
        current_ = Contents();
        current_.mark = mark;
        current_.state = mark.IsEmpty() ? State::kNone : State::kReading;
        // Only the first contents after an emptying can be its picture put back.
        if (!mark.IsEmpty() && lastEmptying_) {
            if (std::chrono::steady_clock::now() - lastEmptying_->when <= kPutBackWindow)
                putBackOf = lastEmptying_;
            lastEmptying_.reset();
        }
    }
    if (mark.IsEmpty()) return;

    const std::string type = PictureType(types);
    if (type.empty()) return Settle(mark, State::kNone);
    std::vector<std::uint8_t>& bytes = fetched_;
    const FetchResult fetched = backend_->Fetch(mark, type, bytes);
    if (fetched == FetchResult::kChanged) return;  // the new contents are told of next
    if (fetched == FetchResult::kTooLarge) {
        const QSize size = DecodePicture(type, bytes).size;
        bytes = {};  // a gigabyte is not kept for the next fetch
        return Settle(mark, State::kTooLarge, {}, size);
    }
    if (fetched != FetchResult::kDone) return Settle(mark, State::kNone);

    DecodedPicture decoded = DecodePicture(type, bytes);
    bytes.clear();
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

void ClipboardReader::Settle(ClipboardMark mark, State state, std::shared_ptr<PictureBits> picture,
                             QSize size) {
    std::lock_guard lock(mutex_);
    if (current_.mark != mark) return;  // changed meanwhile
    current_.state = state;
    current_.picture = std::move(picture);
    current_.size = size;
}

}  // namespace platform
