// Reads and empties the real X11 clipboard through the host, for the end-to-end tests.
//   clipprobe newer-grab A.png B.png
// A grabbing program offers A; the probe reads it; another grab (B) arrives before the clipboard is
// emptied; emptying must then leave B in place, and only a second read-and-empty removes it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include "host/Clipboard.h"

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "FAIL: %s\n", what);
    return 1;
}

// The clipboard's picture once its width is `width`, or a picture without a bitmap after 5 s.
host::Picture WaitForWidth(int width) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        QCoreApplication::processEvents();
        host::Picture picture = host::Clipboard::GetData(host::Clipboard::kBitmap);
        if (picture.Handle() != 0 && picture.ToImage().width() == width) return picture;
        QThread::msleep(50);
    }
    return host::Picture();
}

QProcess* Grab(const QString& file) {
    auto* xclip = new QProcess;
    xclip->start(QStringLiteral("xclip"),
                 {QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
                  QStringLiteral("-t"), QStringLiteral("image/png"), QStringLiteral("-i"), file});
    xclip->waitForStarted();
    return xclip;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc != 4 || QByteArray(argv[1]) != "newer-grab") return 2;
    const QString a = QString::fromLocal8Bit(argv[2]), b = QString::fromLocal8Bit(argv[3]);
    const int widthA = QImage(a).width(), widthB = QImage(b).width();

    QProcess* first = Grab(a);
    if (WaitForWidth(widthA).Handle() == 0) return Fail("the first grab was not read");
    QProcess* second = Grab(b);
    QThread::msleep(500);  // the second program takes the clipboard after the first was read

    host::Clipboard::Clear();
    if (WaitForWidth(widthB).Handle() == 0) return Fail("emptying the clipboard threw away a newer grab");
    host::Clipboard::Clear();
    QThread::msleep(300);
    QCoreApplication::processEvents();
    if (host::Clipboard::GetData(host::Clipboard::kBitmap).Handle() != 0)
        return Fail("the grab that was read is still on the clipboard");

    for (QProcess* p : {first, second}) {
        p->kill();
        p->waitForFinished();
        delete p;
    }
    std::printf("newer-grab: ok\n");
    return 0;
}
