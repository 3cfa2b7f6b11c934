// Makes and reads pictures for the end-to-end tests.
//   imgprobe make FILE W H      a W x H picture of smooth ramps: red grows left to right, green top to
//                               bottom, blue along the other diagonal, so a flip or a channel swap shows
//   imgprobe size FILE          prints "W H"
//   imgprobe pixel FILE X Y     prints "R G B" of pixel (x, y), row 0 at the top
//   imgprobe same FILE1 FILE2   exits 0 when both decode to the same size and pixels
//   imgprobe near FILE W H TOL  exits 0 when FILE is the `make` picture within TOL per channel on average
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    QCoreApplication app(argc, argv);     // for the image format plugins
    QImageReader::setAllocationLimit(0);  // the big grabs' files too
    const char* cmd = argv[1];
    if (!std::strcmp(cmd, "make") && argc == 5) {
        QImage image(std::atoi(argv[3]), std::atoi(argv[4]), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, Pattern(x, y, image.width(), image.height()));
        return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
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
