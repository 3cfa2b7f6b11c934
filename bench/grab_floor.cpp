// The floor a grab is measured against: one copy of the picture's pixels plus tjCompress2 of them
// (4:2:0, quality 90, BGR rows bottom-up, into an output buffer sized once), on the pixels of the
// given picture file. Prints the median process CPU time of one round in milliseconds.
//   grab_floor FILE [ROUNDS]
#include <turbojpeg.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

double CpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    QGuiApplication app(argc, argv);
    const QImage image = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return 1;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
    const int w = image.width(), h = image.height(), stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> rows(std::size_t(stride) * h), copy(rows.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            unsigned char* to = &rows[std::size_t(h - 1 - y) * stride + 3 * x];
            to[0] = qBlue(p), to[1] = qGreen(p), to[2] = qRed(p);
        }
    tjhandle tj = tjInitCompress();
    std::vector<unsigned char> out(tjBufSize(w, h, TJSAMP_420));
    std::vector<double> times;
    for (int round = 0; round < rounds + 1; ++round) {
        const double start = CpuMilliseconds();
        std::memcpy(copy.data(), rows.data(), rows.size());
        unsigned char* buffer = out.data();
        unsigned long size = out.size();
        if (tjCompress2(tj, copy.data(), w, stride, h, TJPF_BGR, &buffer, &size, TJSAMP_420, 90,
                        TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC) != 0)
            return 1;
        if (round > 0) times.push_back(CpuMilliseconds() - start);  // the first round warms up
    }
    tjDestroy(tj);
    std::sort(times.begin(), times.end());
    std::printf("%.1f\n", times[times.size() / 2]);
    return 0;
}
