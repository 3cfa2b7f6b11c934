// Resampling a full-HD buffer to 1280 x 720: the buffer's own Resample against the byte-by-byte
// version with every step checked, which gives the same bytes.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstring>
#include <random>

#include "../tests/imaging/ResampleReference.h"
#include "imaging/cDIBSection.h"
#include "platform/memory/PixelMemory.h"

namespace {

const cDIBSection& FullHd() {
    static const cDIBSection source = [] {
        cDIBSection dib;
        dib.Create(1920, 1080);
        std::mt19937 random(1);
        for (std::size_t i = 0; i < std::size_t(dib.Height()) * dib.BytesPerScanLine(); ++i)
            dib.DIBSectionBitsPtr()[i] = static_cast<std::uint8_t>(random());
        return dib;
    }();
    return source;
}

void BM_Resample(benchmark::State& state) {
    const cDIBSection& source = FullHd();
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(source.Resample(height, width));
}
BENCHMARK(BM_Resample)->Args({1280, 720})->Args({3840, 2160})->Args({160, 90})->Unit(benchmark::kMillisecond);

void BM_ResampleByteByByte(benchmark::State& state) {
    const cDIBSection& source = FullHd();
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(reference::Resample(source, height, width));
}
BENCHMARK(BM_ResampleByteByByte)->Args({1280, 720})->Unit(benchmark::kMillisecond);

// A screen-sized buffer (4K and 8K) made, filled and released, as each capture does: with the
// pixel block of the previous round kept for reuse (1), and with every block fresh (0).
void BM_CreateAndFillScreenBuffer(benchmark::State& state) {
    const bool keep = state.range(0) != 0;
    const int width = static_cast<int>(state.range(1)), height = static_cast<int>(state.range(2));
    for (auto _ : state) {
        if (!keep) platform::PixelBlock::ReleaseKept();
        cDIBSection dib;
        dib.Create(width, height);
        std::memset(dib.DIBSectionBitsPtr(), 0x80, std::size_t(dib.BytesPerScanLine()) * dib.Height());
        benchmark::DoNotOptimize(dib.DIBSectionBitsPtr());
    }
}
BENCHMARK(BM_CreateAndFillScreenBuffer)
    ->ArgsProduct({{1, 0}, {3840}, {2160}})
    ->ArgsProduct({{1, 0}, {7680}, {4320}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // the graphics layer asks Qt for the screen
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
