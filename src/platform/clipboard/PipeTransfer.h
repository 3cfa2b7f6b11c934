#pragma once
// The read end of a pipe that another program writes clipboard data into, read without blocking
// until the writer closes it. The time-out measures progress: a slow transfer that keeps moving
// completes, a writer that sends nothing for the time-out is given up on.

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "platform/memory/PixelBytes.h"

namespace platform {

class PipeTransfer {
public:
    using Clock = std::chrono::steady_clock;
    enum class State { kReading, kDone, kFailed, kTooLarge };

    // Takes the read end `fd` (made non-blocking here, closed by the destructor) and appends what
    // arrives to `bytes`, up to `limit` bytes.
    PipeTransfer(int fd, PixelBytes& bytes, std::size_t limit, Clock::duration patience);
    ~PipeTransfer();
    PipeTransfer(const PipeTransfer&) = delete;
    PipeTransfer& operator=(const PipeTransfer&) = delete;

    int Fd() const { return fd_; }
    // Reads what is there: kDone at the writer's end, kTooLarge past the limit (the bytes then hold
    // the first `limit`), kFailed on a read error.
    State ReadAvailable();
    // kFailed once nothing came for the patience.
    State Check(Clock::time_point now);
    // When the patience runs out, unless something arrives first.
    Clock::time_point Deadline() const { return lastProgress_ + patience_; }

private:
    int fd_;
    PixelBytes& bytes_;
    std::size_t limit_;
    Clock::duration patience_;
    Clock::time_point lastProgress_;
    State state_ = State::kReading;
};

}  // namespace platform
