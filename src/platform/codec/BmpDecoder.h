#pragma once
// Bitmap files as grabbing programs offer them (image/bmp): uncompressed 24- or 32-bit rows,
// read straight into the buffer's layout (PictureBits). Any other kind, and any file that is not
// whole, is left to the toolkit's decoder.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/picture/PictureBits.h"

namespace platform {

// The file's picture; none for a file of another kind, one whose rows are not all there, a picture
// larger than a bitmap may be, or when memory is short.
std::shared_ptr<PictureBits> DecodePlainBmp(std::span<const std::uint8_t> bmp);

// The same without a copy where the file's rows are already in the buffer's layout (24-bit, bottom
// row first): the picture takes the file's memory, and `bmp` is left empty. For any other file,
// the picture is decoded as above and `bmp` is left as it is.
std::shared_ptr<PictureBits> TakePlainBmp(PixelBytes& bmp);

}  // namespace platform
