// Our PNG writer beside the toolkit's and beside tjCompress2, on the same pixels, in one run; and
// the writer's filter choice and deflate level measured on a screen grab and on a text-only grab.
//
//   Choice/<picture>/<filter>/<level>  EncodePng with each filter choice (0 Up, 1 adaptive) and
//                                      libdeflate level; the counter "bytes" is the file's size.
//   Side/<picture>/<writer>            0: our writer (EncodePng, as the capture uses it),
//                                      1: the toolkit's (QImage::save as "PNG", its default level),
//                                      2: tjCompress2 (4:2:0, quality 90), the JPEG floor.
//   OursOverTjCompress2/<picture>      ours and tjCompress2 in turns, so that a busy machine slows
//                                      both alike: ratio_cpu is ours / tjCompress2.
// Times are the CPU of every thread of the process (the toolkit may use more than one).
// Pictures: 0 the screenshot (bench/ScreenshotPicture.h), 1 a text-only grab, both 3840 x 2160.

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "ScreenshotPicture.h"
#include "platform/codec/PngWriter.h"

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

// Lines of dark text on white, as in a grab of a document or a terminal: nothing but text.
QImage TextPicture() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(QColor(28, 28, 32));
    std::mt19937 random(3);
    static const char* words[] = {"the",      "picture", "file",      "buffer", "rows",
                                  "settings", "number",  "folder",    "window", "a",
                                  "of",       "and",     "clipboard", "grab",   "every"};
    for (int y = 30; y < kHeight; y += 30) {
        QString line;
        for (int w = 0; w < 40; ++w) line += QString::fromLatin1(words[random() % std::size(words)]) + ' ';
        p.drawText(20, y, line);
    }
    return image;
}

// One picture three ways: the toolkit's image, and the capture buffer's rows (blue, green, red,
// padded to 4 bytes, bottom-up).
struct Pictures {
    QImage image;
    std::vector<std::uint8_t> rows;
    int pitch = (kWidth * 3 + 3) & ~3;
    platform::PngPicture Png() const {
        return {rows.data(), std::uint32_t(kWidth), std::uint32_t(kHeight), std::size_t(pitch), true};
    }
};

const Pictures& Picture(int which) {
    static Pictures pictures[2];
    Pictures& p = pictures[which];
    if (p.rows.empty()) {
        p.image = which == 0 ? bench_support::ScreenshotPicture(kWidth, kHeight) : TextPicture();
        p.rows.assign(std::size_t(p.pitch) * kHeight, 0);
        for (int y = 0; y < kHeight; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(p.image.constScanLine(y));
            std::uint8_t* row = &p.rows[std::size_t(kHeight - 1 - y) * p.pitch];
            for (int x = 0; x < kWidth; ++x)
                row[3 * x] = qBlue(line[x]), row[3 * x + 1] = qGreen(line[x]), row[3 * x + 2] = qRed(line[x]);
        }
    }
    return p;
}

std::size_t OursOnce(const Pictures& p) {
    const platform::PngFile png = platform::EncodePng(p.Png());
    if (png.result != platform::PngResult::kOk) std::abort();
    return png.bytes.size();
}

std::size_t ToolkitOnce(const Pictures& p) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!p.image.save(&buffer, "PNG")) std::abort();
    return std::size_t(bytes.size());
}

struct Jpeg {
    tjhandle encoder = tjInitCompress();
    std::vector<unsigned char> out = std::vector<unsigned char>(tjBufSize(kWidth, kHeight, TJSAMP_420), 1);
    ~Jpeg() { tjDestroy(encoder); }
    std::size_t Once(const Pictures& p) {
        unsigned char* data = out.data();
        unsigned long size = out.size();
        if (tjCompress2(encoder, p.rows.data(), kWidth, p.pitch, kHeight, TJPF_BGR, &data, &size, TJSAMP_420,
                        90, TJFLAG_NOREALLOC | TJFLAG_BOTTOMUP) != 0)
            std::abort();
        return size;
    }
};

void Choice(benchmark::State& state) {
    const Pictures& p = Picture(int(state.range(0)));
    const auto choice =
        state.range(1) ? platform::PngFilterChoice::kAdaptive : platform::PngFilterChoice::kUp;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const platform::PngFile png = platform::EncodePng(p.Png(), choice, int(state.range(2)));
        if (png.result != platform::PngResult::kOk) std::abort();
        bytes = png.bytes.size();
    }
    state.counters["bytes"] = double(bytes);
}

void Side(benchmark::State& state) {
    const Pictures& p = Picture(int(state.range(0)));
    Jpeg jpeg;
    std::size_t bytes = 0;
    for (auto _ : state) {
        switch (state.range(1)) {
            case 0:
                bytes = OursOnce(p);
                break;
            case 1:
                bytes = ToolkitOnce(p);
                break;
            default:
                bytes = jpeg.Once(p);
                break;
        }
    }
    state.counters["bytes"] = double(bytes);
}

double ProcessCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

void OursOverTjCompress2(benchmark::State& state) {
    const Pictures& p = Picture(int(state.range(0)));
    Jpeg jpeg;
    double tj = 0, ours = 0;
    for (auto _ : state) {
        double start = ProcessCpu();
        benchmark::DoNotOptimize(jpeg.Once(p));
        tj += ProcessCpu() - start;
        start = ProcessCpu();
        benchmark::DoNotOptimize(OursOnce(p));
        ours += ProcessCpu() - start;
    }
    const double n = double(state.iterations());
    state.counters["tj_ms"] = tj / n * 1e3;
    state.counters["ours_ms"] = ours / n * 1e3;
    state.counters["ratio_cpu"] = ours / tj;
}

BENCHMARK(Choice)
    ->ArgNames({"picture", "adaptive", "level"})
    ->ArgsProduct({{0, 1}, {0, 1}, {1, 2, 3, 6, 9}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->MinTime(1.0);
BENCHMARK(Side)
    ->ArgNames({"picture", "writer"})
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->MinTime(2.0);
BENCHMARK(OursOverTjCompress2)
    ->ArgName("picture")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->MinTime(4.0);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
