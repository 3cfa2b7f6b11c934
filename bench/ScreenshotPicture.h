#pragma once
// A 3840 x 2160 picture that compresses like a real screen grab: a desktop gradient, windows with
// title bars, menus and anti-aliased text, a code editor, and a photo-like area. About 3 MB as PNG.
// The same seed always draws the same picture with the same fonts; needs a QGuiApplication.

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QString>
#include <cmath>
#include <cstdint>
#include <random>

namespace bench_support {

inline void DrawWindow(QPainter& p, const QRect& r, const QString& title, std::mt19937& random, bool code) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(r.adjusted(-6, -4, 10, 14), 10, 10);  // soft shadow
    QLinearGradient bar(r.topLeft(), r.topLeft() + QPoint(0, 44));
    bar.setColorAt(0, QColor(236, 236, 240));
    bar.setColorAt(1, QColor(214, 216, 222));
    p.setBrush(bar);
    p.drawRoundedRect(QRect(r.left(), r.top(), r.width(), 44), 8, 8);
    p.setBrush(code ? QColor(30, 32, 40) : QColor(252, 252, 252));
    p.drawRect(QRect(r.left(), r.top() + 44, r.width(), r.height() - 44));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(17);
    p.setFont(font);
    p.setPen(QColor(40, 40, 44));
    p.drawText(QRect(r.left(), r.top(), r.width(), 44), Qt::AlignCenter, title);
    for (int i = 0; i < 3; ++i) {  // window buttons
        p.setBrush(QColor(i == 0 ? 236 : 120, i == 1 ? 190 : 110, 90));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPoint(r.right() - 30 - 34 * i, r.top() + 22), 9, 9);
    }
    static const char* words[] = {"capture",   "the",    "picture", "file",    "buffer", "rows", "settings",
                                  "number",    "folder", "window",  "preview", "a",      "of",   "and",
                                  "clipboard", "JPEG",   "quality", "pixels",  "every",  "when", "grab"};
    QFont text(code ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans"));
    text.setPixelSize(code ? 18 : 20);
    p.setFont(text);
    const int lineHeight = code ? 26 : 30;
    for (int y = r.top() + 44 + 36; y < r.bottom() - 20; y += lineHeight) {
        QString line;
        const int indent = code ? int(random() % 4) * 4 : 0;
        line.fill(QLatin1Char(' '), indent);
        const int count = 4 + int(random() % 12);
        for (int w = 0; w < count; ++w) {
            line += QString::fromLatin1(words[random() % (sizeof words / sizeof *words)]);
            line += code && w % 3 == 2 ? QStringLiteral("(); ") : QStringLiteral(" ");
        }
        if (code)
            p.setPen(QColor::fromHsv(int(random() % 360), 90, 230));
        else
            p.setPen(QColor(28, 28, 32));
        p.drawText(r.left() + 24, y, line);
    }
}

inline QImage ScreenshotPicture(int width = 3840, int height = 2160, unsigned seed = 1) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(seed);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient desktop(0, 0, width, height);
    desktop.setColorAt(0, QColor(24, 64, 120));
    desktop.setColorAt(0.6, QColor(90, 40, 110));
    desktop.setColorAt(1, QColor(200, 110, 60));
    p.fillRect(image.rect(), desktop);

    // A photo-like area: smooth shapes with fine noise, as in a picture viewer.
    const QRect photo(width * 55 / 100, height * 8 / 100, width * 40 / 100, height * 45 / 100);
    {
        QImage area(photo.size(), QImage::Format_RGB32);
        std::normal_distribution<float> noise(0.0f, 3.5f);
        for (int y = 0; y < area.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(area.scanLine(y));
            for (int x = 0; x < area.width(); ++x) {
                const float fx = float(x) / area.width(), fy = float(y) / area.height();
                const float sky = fy < 0.55f + 0.08f * std::sin(fx * 9.0f) ? 1.0f : 0.0f;
                const float r = sky * (120 + 90 * fy) + (1 - sky) * (60 + 50 * std::sin(fx * 30 + fy * 7));
                const float g = sky * (160 + 60 * fy) + (1 - sky) * (110 + 40 * std::cos(fx * 17 - fy * 11));
                const float b = sky * (230 - 40 * fy) + (1 - sky) * (40 + 20 * std::sin(fy * 40));
                auto clamp = [](float v) { return int(std::fmin(255.0f, std::fmax(0.0f, v))); };
                row[x] = qRgb(clamp(r + noise(random)), clamp(g + noise(random)), clamp(b + noise(random)));
            }
        }
        p.fillRect(photo.adjusted(-12, -56, 12, 12), QColor(48, 48, 52));
        p.drawImage(photo.topLeft(), area);
    }

    DrawWindow(p, QRect(120, 140, 1700, 1250), QStringLiteral("Notes - Editor"), random, false);
    DrawWindow(p, QRect(900, 1000, 1600, 1000), QStringLiteral("capture.cpp - Code"), random, true);
    DrawWindow(p, QRect(2600, 1300, 1100, 760), QStringLiteral("Files"), random, false);

    // A panel along the top with icons and a clock.
    p.fillRect(QRect(0, 0, width, 48), QColor(20, 20, 24));
    for (int i = 0; i < 12; ++i) {
        QRadialGradient icon(QPointF(40 + i * 64, 24), 20);
        icon.setColorAt(0, QColor::fromHsv(i * 30, 160, 250));
        icon.setColorAt(1, QColor::fromHsv(i * 30, 220, 120));
        p.setBrush(icon);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(22 + i * 64, 6, 36, 36), 8, 8);
    }
    QFont clock(QStringLiteral("DejaVu Sans"));
    clock.setPixelSize(20);
    p.setFont(clock);
    p.setPen(Qt::white);
    p.drawText(QRect(width - 300, 0, 280, 48), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Mon 18:24"));
    p.end();
    return image;
}

}  // namespace bench_support
