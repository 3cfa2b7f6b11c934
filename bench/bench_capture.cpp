// One capture of a 3840 x 2160 grab offered as PNG to a JPEG file, stage by stage, next to what the
// encoder alone costs on the same pixels. Process CPU time, all threads.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <turbojpeg.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "ScreenshotPicture.h"
#include "capture/ShowPreview.h"
#include "host/Picture.h"
#include "host/PictureBox.h"
#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "platform/codec/DecodePicture.h"

namespace {

constexpr int kWidth = 3840, kHeight = 2160;

// A screen grab, and the PNG file a grabbing program offers of it.
const QImage& ScreenLike() {
    static const QImage image = bench_support::ScreenshotPicture(kWidth, kHeight);
    return image;
}

const QByteArray& ScreenPng() {
    static const QByteArray png = [] {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ScreenLike().save(&buffer, "PNG");
        return bytes;
    }();
    return png;
}

// The offered PNG as the clipboard reader decodes it, and the picture the tick makes of it.
host::Picture GrabbedPicture() {
    return host::Picture(
        platform::DecodePicture(
            {reinterpret_cast<const std::uint8_t*>(ScreenPng().constData()), std::size_t(ScreenPng().size())})
            .bits);
}

std::string OutputPath() {
    static const std::string folder = [] {
        auto dir = std::filesystem::temp_directory_path() / "tallowin-bench";
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return folder + "/scrn000.jpg";
}

// The offered PNG decoded (on the clipboard's thread in the program) and made the picture's bitmap.
void PngToPicture(benchmark::State& state) {
    GrabbedPicture();  // the picture and its file are made once, outside the rounds
    for (auto _ : state) {
        host::Picture picture = GrabbedPicture();
        benchmark::DoNotOptimize(picture.Handle());
    }
}

// What no PNG decoder can go below: inflating the image data alone (libdeflate, as the decoder
// does), into memory already used, without restoring the filtered rows.
void InflateAlone(benchmark::State& state) {
    const auto* png = reinterpret_cast<const std::uint8_t*>(ScreenPng().constData());
    const std::size_t size = std::size_t(ScreenPng().size());
    std::vector<std::uint8_t> data;  // every IDAT chunk's bytes, joined
    for (std::size_t at = 8; at + 12 <= size;) {
        const std::size_t length =
            std::size_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (std::memcmp(png + at + 4, "IDAT", 4) == 0)
            data.insert(data.end(), png + at + 8, png + at + 8 + length);
        at += 12 + length;
    }
    std::vector<std::uint8_t> rows(std::size_t(kHeight) * (1 + 4 * kWidth));
    libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        std::size_t inflated = 0;
        if (libdeflate_zlib_decompress(inflater, data.data(), data.size(), rows.data(), rows.size(),
                                       &inflated) != LIBDEFLATE_SUCCESS)
            state.SkipWithError("the image data did not inflate");
        benchmark::DoNotOptimize(inflated);
    }
    libdeflate_free_decompressor(inflater);
}

void PictureToBuffer(benchmark::State& state) {
    const host::Picture picture = GrabbedPicture();
    for (auto _ : state) {
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        benchmark::DoNotOptimize(std::as_const(dib).DIBSectionBitsPtr());
    }
}

void EncodeAndWrite(benchmark::State& state) {
    const host::Picture picture = GrabbedPicture();
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    const QString path = QString::fromStdString(OutputPath());
    for (auto _ : state) mIntelJPEGLibrary::SaveDibToJpeg(dib, path, 90);
}

void Preview(benchmark::State& state) {
    const host::Picture picture = GrabbedPicture();
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
        auto picture = std::make_unique<host::Picture>(GrabbedPicture());
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
        host::Picture picture = GrabbedPicture();
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        mIntelJPEGLibrary::SaveDibToJpeg(dib, path, 90);
        ShowPreview(box, picture);
    }
}

// The encoder alone, in memory, on the same bottom-up BGR rows, with its buffer sized once.
void TjCompress2Alone(benchmark::State& state) {
    const host::Picture picture = GrabbedPicture();
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    tjhandle tj = tjInitCompress();
    std::vector<unsigned char> out(tjBufSize(kWidth, kHeight, TJSAMP_420));
    for (auto _ : state) {
        unsigned char* buffer = out.data();
        unsigned long size = out.size();
        tjCompress2(tj, std::as_const(dib).DIBSectionBitsPtr(), kWidth, dib.BytesPerScanLine(), kHeight,
                    TJPF_BGR, &buffer, &size, TJSAMP_420, 90, TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC);
        benchmark::DoNotOptimize(size);
    }
    tjDestroy(tj);
}

// Process CPU time: the work of every thread counts, as it does for the user.
BENCHMARK(PngToPicture)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(InflateAlone)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(PictureToBuffer)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(EncodeAndWrite)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Preview)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(PreviewOfNewGrab)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(WholeCapture)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(TjCompress2Alone)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "tallowin-bench");
    return 0;
}
