#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "platform/clipboard/PipeTransfer.h"

using platform::PipeTransfer;
using namespace std::chrono_literals;

namespace {

// How a writing program behaves: `pieces` writes of `size` bytes, `pause` apart, then it closes
// the pipe, or (`hang`) keeps it open without sending more until the reader is done.
struct Writer {
    const char* name;
    int pieces;
    std::size_t size;
    std::chrono::milliseconds pause;
    bool hang;
    std::size_t limit;
    PipeTransfer::State expected;
    std::size_t expectedBytes;
};

class PipeTransferOutcome : public ::testing::TestWithParam<Writer> {};

// Reads the way the clipboard's thread does: waits for data, never past the time-out.
PipeTransfer::State Drive(PipeTransfer& transfer) {
    for (;;) {
        pollfd fd{transfer.Fd(), POLLIN, 0};
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(transfer.Deadline() - PipeTransfer::Clock::now());
        poll(&fd, 1, static_cast<int>(std::max<std::int64_t>(0, left.count())));
        const auto state = fd.revents ? transfer.ReadAvailable() : transfer.Check(PipeTransfer::Clock::now());
        if (state != PipeTransfer::State::kReading) return state;
    }
}

TEST_P(PipeTransferOutcome, EndsAsTheWriterBehaves) {
    const Writer& w = GetParam();
    std::signal(SIGPIPE, SIG_IGN);  // the writer's end, once the reader has given up
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::atomic<bool> readerDone{false};
    std::thread writer([&] {
        const std::vector<std::uint8_t> piece(w.size, 0x5a);
        for (int i = 0; i < w.pieces; ++i) {
            if (i) std::this_thread::sleep_for(w.pause);
            for (std::size_t sent = 0; sent < piece.size();) {
                const ssize_t n = write(fds[1], piece.data() + sent, piece.size() - sent);
                if (n <= 0) break;  // the reader gave up and closed its end
                sent += static_cast<std::size_t>(n);
            }
        }
        while (w.hang && !readerDone) std::this_thread::sleep_for(10ms);
        close(fds[1]);
    });
    platform::PixelBytes bytes;
    PipeTransfer::State state;
    {
        PipeTransfer transfer(fds[0], bytes, w.limit, 300ms);
        state = Drive(transfer);
        readerDone = true;
    }
    writer.join();
    EXPECT_EQ(state, w.expected);
    EXPECT_EQ(bytes.size(), w.expectedBytes);
}

using S = PipeTransfer::State;
INSTANTIATE_TEST_SUITE_P(
    Writers, PipeTransferOutcome,
    ::testing::Values(
        // Slower in total than the time-out, but always moving: it completes.
        Writer{"SlowButMovingCompletes", 12, 4096, 100ms, false, 1 << 20, S::kDone, 12 * 4096},
        Writer{"BigInOneGoCompletes", 1, 5 << 20, 0ms, false, 8 << 20, S::kDone, 5 << 20},
        Writer{"NothingSentIsEmptyButDone", 0, 0, 0ms, false, 1 << 20, S::kDone, 0},
        Writer{"SilentWriterTimesOut", 1, 1000, 0ms, true, 1 << 20, S::kFailed, 1000},
        Writer{"ExactlyTheLimitCompletes", 1, 65536, 0ms, false, 65536, S::kDone, 65536},
        Writer{"PastTheLimitKeepsTheFirstLimitBytes", 1, 65537, 0ms, false, 65536, S::kTooLarge, 65536}),
    [](const ::testing::TestParamInfo<Writer>& info) { return info.param.name; });

}  // namespace
