#pragma once
// A toolkit picture made opaque, the way every picture that is not ours to decode enters the
// program.

#include <QImage>

namespace platform {

// The picture as opaque 32-bit pixels (QImage::Format_RGB32). Pixels that are (partly) transparent
// are laid over white, as programs that paste a picture show it: a fully transparent pixel keeps
// no hidden colour. Safe on any thread.
QImage Opaque(const QImage& image);

}  // namespace platform
