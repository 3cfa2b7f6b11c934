#pragma once
// Bitmaps to and from Qt images: how pictures enter our graphics layer and how their pixels leave
// it (for the clipboard, the preview and bitmap files).

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/gdi/GdiTypes.h"
#include "platform/picture/PictureBits.h"

namespace platform {

// A new screen-compatible bitmap (32 bits, top-down) holding exactly the image's pixels, those
// with alpha laid over white; 0 for a null image or one too large.
HBITMAP CreateBitmapFromImage(const QImage& image);

// A new bitmap over a decoded picture's pixels, without a copy: 24 bits, bottom-up, the layout of
// the buffer they are copied into next. 0 for no picture.
HBITMAP CreateBitmapFromPicture(std::shared_ptr<PictureBits> picture);

// A copy of a bitmap's pixels, top row first, as an opaque QImage::Format_RGB32 image; a null
// image for a handle that is no bitmap.
QImage ReadBitmapImage(HBITMAP hbm);

// The same pixels without a copy where the bitmap's own rows can serve (a picture's 32-bit top-down
// bitmap): the image then reads the bitmap's memory and must not outlive the bitmap or see it change.
// Any other bitmap is read as by ReadBitmapImage.
QImage ViewBitmapImage(HBITMAP hbm);

// `count` rows of a bitmap's pixels as 24-bit rows in the order bitmap files hold them, bottom row
// first, starting `fromBottom` rows above the bottom; each row `stride` bytes (at least 3 x width,
// the bytes after the pixels set to 0). False for a handle that is no bitmap or rows it does not have.
bool ReadBitmapRows(HBITMAP hbm, std::int32_t fromBottom, std::int32_t count, std::uint8_t* rows,
                    std::size_t stride);

// The bitmap scaled to width x height for showing: each pixel the average of the area of the bitmap
// it covers when the picture shrinks both ways, smooth interpolation otherwise. A null image for a
// handle that is no bitmap or a size below 1 x 1.
QImage ScaledBitmapImage(HBITMAP hbm, int width, int height);

}  // namespace platform
