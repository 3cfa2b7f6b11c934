#include "platform/picture/Opaque.h"

#include <QPainter>

namespace platform {

QImage Opaque(const QImage& image) {
    if (image.format() == QImage::Format_RGB32) return image;
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
    QImage pixels(image.size(), QImage::Format_RGB32);
    if (pixels.isNull()) return pixels;
    pixels.fill(Qt::white);
    QPainter painter(&pixels);
    painter.drawImage(0, 0, image);
    return pixels;
}

}  // namespace platform
