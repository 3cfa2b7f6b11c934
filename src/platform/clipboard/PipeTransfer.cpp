#include "platform/clipboard/PipeTransfer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {

PipeTransfer::PipeTransfer(int fd, PixelBytes& bytes, std::size_t limit, Clock::duration patience)
    : fd_(fd), bytes_(bytes), limit_(limit), patience_(patience), lastProgress_(Clock::now()) {
    // Our end only: the writer's end is a file of its own and stays blocking.
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags | O_NONBLOCK) < 0) state_ = State::kFailed;
}

PipeTransfer::~PipeTransfer() { close(fd_); }

PipeTransfer::State PipeTransfer::ReadAvailable() {
    constexpr std::size_t kChunk = 256 * 1024;
    while (state_ == State::kReading) {
        const std::size_t used = bytes_.size();
        // One byte past the limit tells a picture of exactly the limit from a larger one.
        const std::size_t want = std::min(kChunk, limit_ + 1 - used);
        bytes_.resize(used + want);
        const ssize_t got = read(fd_, bytes_.data() + used, want);
        const int error = errno;
        bytes_.resize(used + (got > 0 ? static_cast<std::size_t>(got) : 0));
        if (got > 0) {
            lastProgress_ = Clock::now();
            if (bytes_.size() > limit_) {
                bytes_.resize(limit_);
                state_ = State::kTooLarge;
            }
        } else if (got == 0) {
            state_ = State::kDone;
        } else if (error == EAGAIN || error == EWOULDBLOCK) {
            break;
        } else if (error != EINTR) {
            state_ = State::kFailed;
        }
    }
    return state_;
}

PipeTransfer::State PipeTransfer::Check(Clock::time_point now) {
    if (state_ == State::kReading && now >= Deadline()) state_ = State::kFailed;
    return state_;
}

}  // namespace platform
