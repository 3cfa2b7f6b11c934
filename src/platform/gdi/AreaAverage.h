#pragma once
// Shrinking a picture for a thumbnail: every pixel of the result is the plain average of the block
// of pixels it covers (blocks split the picture at whole pixels), read straight from the bitmap's
// rows, once each, in memory order. Of a block taller than four rows, a third of its rows (at least
// four) spread evenly over it are read, every pixel of them: the rest would cost memory reads and
// change little the eye can tell in a thumbnail.

#include <QImage>

#include "platform/gdi/GdiObjects.h"

namespace platform {

// The surface shrunk to width x height (1 <= width <= its width, 1 <= height <= its height), as an
// opaque QImage::Format_RGB32 image.
QImage AreaAverage(const Surface& surface, int width, int height);

}  // namespace platform
