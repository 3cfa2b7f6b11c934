#pragma once
// A grab as another program puts it on the clipboard: one colour, with a marked first pixel so
// that a picture turned or mirrored on the way shows it.

#include <QImage>

namespace testing_support {

inline QImage Grab(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    return image;
}

}  // namespace testing_support
