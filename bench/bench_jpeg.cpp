// The JPEG writer against TurboJPEG alone: a 3840 x 2160 screen grab at quality 90.
//
//   TjCompress2Only  tjCompress2 on the buffer's rows into one reused, already touched output
//                    buffer: the encoder's own cost, the floor.
//   IjlWrite         ijlInit, the record filled, ijlWrite to a file, ijlFree.
//   SaveDibToJpeg    the whole writer from a cDIBSection, replacing the file of the previous
//                    round at once and carrying its times and attributes over.
//   WriterOverEncoder the encoder alone and the whole writer in turns, with their ratio, writing
//                    a new file each time (replacing:0) or replacing one that has reached the
//                    disk (replacing:1).
// The writer's target is at most 1.1 times TjCompress2Only.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "platform/codec/Ijl.h"

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr int kQuality = 90;

// A desktop: a gradient, windows with title bars and lines of dark text strokes, as BGR rows.
void PaintScreen(std::uint8_t* bits, int pitch) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t* px = bits + static_cast<size_t>(y) * pitch + x * 3;
            px[0] = 140, px[1] = static_cast<std::uint8_t>(80 + 60 * x / kWidth);
            px[2] = static_cast<std::uint8_t>(40 + 60 * y / kHeight);
        }
    unsigned seed = 7;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    for (int w = 0; w < 4; ++w) {
        const int x0 = kWidth * w / 5 + 20, y0 = kHeight * w / 8 + 20;
        const int x1 = std::min(kWidth, x0 + kWidth / 2), y1 = std::min(kHeight, y0 + kHeight / 2);
        for (int y = y0; y < y1; ++y) {
            const bool title = y < y0 + 30;
            const bool textLine = !title && (y - y0) % 18 >= 6;
            for (int x = x0; x < x1; ++x) {
                std::uint8_t* px = bits + static_cast<size_t>(y) * pitch + x * 3;
                if (title) {
                    px[0] = 160, px[1] = 90, px[2] = 50;
                } else {
                    px[0] = 236, px[1] = 240, px[2] = 240;
                }
                if (textLine && x > x0 + 10 && x < x1 - 60 && (x / 9 + (y - y0) / 18) % 7 != 0 &&
                    next() % 3 == 0)
                    px[0] = 30, px[1] = 20, px[2] = 20;
            }
        }
    }
}

// The capture's buffer: a cDIBSection holding the screen, bottom-up.
cDIBSection& Screen() {
    static cDIBSection dib;
    if (!dib.hDib()) {
        if (!dib.Create(kWidth, kHeight)) std::abort();
        PaintScreen(dib.DIBSectionBitsPtr(), dib.BytesPerScanLine());
    }
    return dib;
}

std::string Folder() {
    static std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tallowin-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return folder;
}

void TjCompress2Only(benchmark::State& state) {
    const cDIBSection& dib = Screen();
    tjhandle encoder = tjInitCompress();
    unsigned long capacity = tjBufSize(kWidth, kHeight, TJSAMP_420);
    std::vector<unsigned char> out(capacity, 0);
    for (auto _ : state) {
        unsigned char* p = out.data();
        unsigned long size = capacity;
        if (tjCompress2(encoder, dib.DIBSectionBitsPtr(), kWidth, dib.BytesPerScanLine(), kHeight, TJPF_BGR,
                        &p, &size, TJSAMP_420, kQuality, TJFLAG_NOREALLOC | TJFLAG_BOTTOMUP) != 0)
            state.SkipWithError(tjGetErrorStr2(encoder));
        benchmark::DoNotOptimize(size);
        state.counters["bytes"] = static_cast<double>(size);
    }
    tjDestroy(encoder);
}

void IjlWrite(benchmark::State& state) {
    const cDIBSection& dib = Screen();
    const std::string file = Folder() + "/ijl.jpg";
    for (auto _ : state) {
        platform::JPEG_CORE_PROPERTIES props{};
        platform::ijlInit(&props);
        props.DIBBytes = dib.DIBSectionBitsPtr();
        props.DIBWidth = kWidth;
        props.DIBHeight = -kHeight;
        props.DIBPadBytes = dib.BytesPerScanLine() - 3 * kWidth;
        props.JPGFile = file.c_str();
        props.JPGWidth = kWidth;
        props.JPGHeight = kHeight;
        props.jquality = kQuality;
        if (platform::ijlWrite(&props, platform::IJL_JFILE_WRITEWHOLEIMAGE) != platform::IJL_OK)
            state.SkipWithError("ijlWrite failed");
        platform::ijlFree(&props);
    }
}

void SaveDibToJpeg(benchmark::State& state) {
    const cDIBSection& dib = Screen();
    const QString file = QString::fromStdString(Folder() + "/scrn000.jpg");
    for (auto _ : state) mIntelJPEGLibrary::SaveDibToJpeg(dib, file, kQuality);
}

// The two in turns, so that a machine busy with other work slows both alike: the counters give
// the summed wall-clock and thread CPU time of each and the ratios writer / encoder.
double Now(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

void WriterOverEncoder(benchmark::State& state) {
    const bool replacing = state.range(0) != 0;
    const cDIBSection& dib = Screen();
    const QString file = QString::fromStdString(Folder() + "/turns.jpg");
    tjhandle encoder = tjInitCompress();
    const unsigned long capacity = tjBufSize(kWidth, kHeight, TJSAMP_420);
    std::vector<unsigned char> out(capacity, 0);
    double tjWall = 0, tjCpu = 0, saveWall = 0, saveCpu = 0;
    for (auto _ : state) {
        double wall = Now(CLOCK_MONOTONIC), cpu = Now(CLOCK_THREAD_CPUTIME_ID);
        unsigned char* p = out.data();
        unsigned long size = capacity;
        tjCompress2(encoder, dib.DIBSectionBitsPtr(), kWidth, dib.BytesPerScanLine(), kHeight, TJPF_BGR, &p,
                    &size, TJSAMP_420, kQuality, TJFLAG_NOREALLOC | TJFLAG_BOTTOMUP);
        benchmark::DoNotOptimize(size);
        tjWall += Now(CLOCK_MONOTONIC) - wall, tjCpu += Now(CLOCK_THREAD_CPUTIME_ID) - cpu;
        wall = Now(CLOCK_MONOTONIC), cpu = Now(CLOCK_THREAD_CPUTIME_ID);
        mIntelJPEGLibrary::SaveDibToJpeg(dib, file, kQuality);
        saveWall += Now(CLOCK_MONOTONIC) - wall, saveCpu += Now(CLOCK_THREAD_CPUTIME_ID) - cpu;
        // Untimed: the next round writes a new file, or replaces an earlier one that, as in use,
        // was written some time ago and has reached the disk.
        if (!replacing) {
            std::filesystem::remove(file.toStdString());
        } else {
            const int fd = ::open(file.toStdString().c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0) ::fdatasync(fd), ::close(fd);
        }
    }
    tjDestroy(encoder);
    const double n = static_cast<double>(state.iterations());
    state.counters["tj_ms"] = tjWall / n * 1e3;
    state.counters["save_ms"] = saveWall / n * 1e3;
    state.counters["ratio_wall"] = saveWall / tjWall;
    state.counters["ratio_cpu"] = saveCpu / tjCpu;
}

BENCHMARK(TjCompress2Only)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(IjlWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(SaveDibToJpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(WriterOverEncoder)
    ->ArgName("replacing")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(6.0);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
