// Makes and reads pictures for the end-to-end tests.
//   imgprobe make FILE W H      a W x H picture of smooth ramps: red grows left to right, green top to
//                               bottom, blue along the other diagonal, so a flip or a channel swap shows
//   imgprobe size FILE          prints "W H"
//   imgprobe pixel FILE X Y     prints "R G B" of pixel (x, y), row 0 at the top
//   imgprobe same FILE1 FILE2   exits 0 when both decode to the same size and pixels
//   imgprobe near FILE W H TOL  exits 0 when FILE is the `make` picture within TOL per channel on average
//   imgprobe screen FILE W H    a W x H screen grab (windows, text, a photo; bench/ScreenshotPicture.h)
//   imgprobe translucent FILE W H
//                               the `make` picture with an alpha that runs from clear to opaque, some
//                               pixels wholly transparent
//   imgprobe onwhite FILE OUT   FILE's picture laid over white, as programs that paste it show it
//   imgprobe expected FILE JPG BMP
//                               the JPEG (quality 90, 4:2:0) and bitmap file that a grab of FILE's
//                               picture, made opaque, becomes: the toolkit's decode, 24-bit rows
//                               bottom-up, encoded by TurboJPEG as the JPEG writer does
#include <turbojpeg.h>

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "ScreenshotPicture.h"

namespace {

QRgb Pattern(int x, int y, int w, int h) {
    return qRgb(x * 255 / std::max(1, w - 1), y * 255 / std::max(1, h - 1),
                (w - 1 - x + y) * 255 / std::max(1, w + h - 2));
}

QImage Load(const char* file) {
    QImage image(QString::fromLocal8Bit(file));
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", file);
        std::exit(2);
    }
    // The pixels alone are compared: a PNG's sRGB chunk labels the same pixels with a colour space.
    image.setColorSpace(QColorSpace());
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

bool WriteFile(const char* file, const void* data, std::size_t size) {
    QFile out(QString::fromLocal8Bit(file));
    return out.open(QIODevice::WriteOnly) &&
           out.write(static_cast<const char*>(data), qint64(size)) == qint64(size);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

int Expected(const char* file, const char* jpeg, const char* bmp) {
    const QImage image = Load(file);
    const int w = image.width(), h = image.height(), stride = (w * 3 + 3) & ~3;
    std::vector<std::uint8_t> file24(54 + std::size_t(stride) * h, 0);
    std::uint8_t* rows = file24.data() + 54;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            std::uint8_t* to = rows + std::size_t(h - 1 - y) * stride + 3 * x;
            to[0] = std::uint8_t(qBlue(p));
            to[1] = std::uint8_t(qGreen(p));
            to[2] = std::uint8_t(qRed(p));
        }
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const bool encoded =
        tjCompress2(tj, rows, w, stride, h, TJPF_BGR, &out, &size, TJSAMP_420, 90, TJFLAG_BOTTOMUP) == 0;
    const bool written = encoded && WriteFile(jpeg, out, size);
    tjFree(out);
    tjDestroy(tj);
    // The bitmap file: 14-byte file header, 40-byte info header at 96 dpi, the rows.
    std::uint8_t* head = file24.data();
    head[0] = 'B';
    head[1] = 'M';
    Put32(head + 2, std::uint32_t(file24.size()));
    Put32(head + 10, 54);
    Put32(head + 14, 40);
    Put32(head + 18, std::uint32_t(w));
    Put32(head + 22, std::uint32_t(h));
    head[26] = 1;
    head[28] = 24;
    Put32(head + 34, std::uint32_t(stride) * h);
    Put32(head + 38, 3780);
    Put32(head + 42, 3780);
    return written && WriteFile(bmp, file24.data(), file24.size()) ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const char* cmd = argv[1];
    if (!std::strcmp(cmd, "screen") && argc == 5) {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication gui(argc, argv);  // fonts for the text
        return bench_support::ScreenshotPicture(std::atoi(argv[3]), std::atoi(argv[4]))
                       .save(QString::fromLocal8Bit(argv[2]))
                   ? 0
                   : 1;
    }
    QCoreApplication app(argc, argv);     // for the image format plugins
    QImageReader::setAllocationLimit(0);  // the big grabs' files too
    if (!std::strcmp(cmd, "expected") && argc == 5) return Expected(argv[2], argv[3], argv[4]);
    if (!std::strcmp(cmd, "make") && argc == 5) {
        QImage image(std::atoi(argv[3]), std::atoi(argv[4]), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, Pattern(x, y, image.width(), image.height()));
        return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    if (!std::strcmp(cmd, "translucent") && argc == 5) {
        QImage image(std::atoi(argv[3]), std::atoi(argv[4]), QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = Pattern(x, y, image.width(), image.height());
                const int alpha = (x + 2 * y) % 9 == 0 ? 0 : (x * 7 + y * 3) % 256;
                image.setPixel(x, y, qRgba(qRed(p), qGreen(p), qBlue(p), alpha));
            }
        return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    if (!std::strcmp(cmd, "onwhite") && argc == 4) {
        const QImage image(QString::fromLocal8Bit(argv[2]));
        QImage pixels(image.size(), QImage::Format_RGB32);
        pixels.fill(Qt::white);
        QPainter painter(&pixels);
        painter.drawImage(0, 0, image);
        painter.end();
        return !image.isNull() && pixels.save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    }
    if (!std::strcmp(cmd, "size")) {
        const QImage image = Load(argv[2]);
        std::printf("%d %d\n", image.width(), image.height());
        return 0;
    }
    if (!std::strcmp(cmd, "pixel") && argc == 5) {
        const QRgb p = Load(argv[2]).pixel(std::atoi(argv[3]), std::atoi(argv[4]));
        std::printf("%d %d %d\n", qRed(p), qGreen(p), qBlue(p));
        return 0;
    }
    if (!std::strcmp(cmd, "same") && argc == 4) {
        return Load(argv[2]) == Load(argv[3]) ? 0 : 1;
    }
    if (!std::strcmp(cmd, "near") && argc == 6) {
        const QImage image = Load(argv[2]);
        const int w = std::atoi(argv[3]), h = std::atoi(argv[4]);
        if (image.width() != w || image.height() != h) return 1;
        double sum = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb a = image.pixel(x, y), b = Pattern(x, y, w, h);
                sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                       std::abs(qBlue(a) - qBlue(b));
            }
        const double mean = sum / (3.0 * w * h);
        std::printf("mean difference %.2f\n", mean);
        return mean <= std::atof(argv[5]) ? 0 : 1;
    }
    return 2;
}
