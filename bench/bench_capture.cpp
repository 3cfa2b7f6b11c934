// One capture of a 3840 x 2160 clipboard picture to a JPEG file, stage by stage, next to what the
// encoder alone costs on the same pixels.
#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "capture/ShowPreview.h"
#include "host/Picture.h"
#include "host/PictureBox.h"
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"

namespace {

constexpr int kWidth = 3840, kHeight = 2160;

// Something like a screen: flat panels, text-like detail, a photo-like gradient.
const QImage& ScreenLike() {
    static const QImage image = [] {
        QImage img(kWidth, kHeight, QImage::Format_RGB32);
        std::mt19937 random(7);
        for (int y = 0; y < kHeight; ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < kWidth; ++x) {
                QRgb p = (x / 480 + y / 270) % 2 ? qRgb(240, 240, 240) : qRgb(40, 60, 90);
                if (y % 24 < 12 && x % 9 < 5 && (random() & 3) == 0) p = qRgb(0, 0, 0);
                if (x > 2400 && y > 1200) p = qRgb(x & 255, y & 255, (x + y) & 255);
                row[x] = p;
            }
        }
        return img;
    }();
    return image;
}

std::string OutputPath() {
    static const std::string folder = [] {
        auto dir = std::filesystem::temp_directory_path() / "tallowin-bench";
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return folder + "/scrn000.jpg";
}

void ClipboardImageToPicture(benchmark::State& state) {
    for (auto _ : state) {
        host::Picture picture(ScreenLike());
        benchmark::DoNotOptimize(picture.Handle());
    }
}

void PictureToBuffer(benchmark::State& state) {
    const host::Picture picture(ScreenLike());
    for (auto _ : state) {
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        benchmark::DoNotOptimize(dib.DIBSectionBitsPtr());
    }
}

void EncodeAndWrite(benchmark::State& state) {
    const host::Picture picture(ScreenLike());
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    const QString path = QString::fromStdString(OutputPath());
    for (auto _ : state) mIntelJPEGLibrary::SaveDibToJpeg(dib, path, 90);
}

void Preview(benchmark::State& state) {
    const host::Picture picture(ScreenLike());
    QWidget form;
    host::PictureBox box(&form, "Picture1", 120, 1920, 3255, 3135, 9);
    for (auto _ : state) ShowPreview(box, picture);
}

// The preview of a new grab each time, as on every capture.
void PreviewOfNewGrab(benchmark::State& state) {
    QWidget form;
    host::PictureBox box(&form, "Picture1", 120, 1920, 3255, 3135, 9);
    for (auto _ : state) {
        state.PauseTiming();
        auto picture = std::make_unique<host::Picture>(ScreenLike());
        state.ResumeTiming();
        ShowPreview(box, *picture);
        state.PauseTiming();
        picture.reset();
        state.ResumeTiming();
    }
}

void WholeCapture(benchmark::State& state) {
    QWidget form;
    host::PictureBox box(&form, "Picture1", 120, 1920, 3255, 3135, 9);
    const QString path = QString::fromStdString(OutputPath());
    for (auto _ : state) {
        host::Picture picture(ScreenLike());
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        mIntelJPEGLibrary::SaveDibToJpeg(dib, path, 90);
        ShowPreview(box, picture);
    }
}

// The encoder alone, in memory, on the same bottom-up BGR rows, with its buffer sized once.
void TjCompress2Alone(benchmark::State& state) {
    const host::Picture picture(ScreenLike());
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    tjhandle tj = tjInitCompress();
    std::vector<unsigned char> out(tjBufSize(kWidth, kHeight, TJSAMP_420));
    for (auto _ : state) {
        unsigned char* buffer = out.data();
        unsigned long size = out.size();
        tjCompress2(tj, dib.DIBSectionBitsPtr(), kWidth, dib.BytesPerScanLine(), kHeight, TJPF_BGR, &buffer,
                    &size, TJSAMP_420, 90, TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC);
        benchmark::DoNotOptimize(size);
    }
    tjDestroy(tj);
}

BENCHMARK(ClipboardImageToPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(PictureToBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeAndWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(Preview)->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewOfNewGrab)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeCapture)->Unit(benchmark::kMillisecond);
BENCHMARK(TjCompress2Alone)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "tallowin-bench");
    return 0;
}
