#pragma once
// Bitmap files as grabbing programs offer them (image/bmp): uncompressed 24- or 32-bit rows,
// read straight into the buffer's layout (PictureBits). Any other kind, and any file that is not
// whole, is left to the toolkit's decoder.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/codec/BmpHeader.h"
#include "platform/codec/Declined.h"
#include "platform/memory/PixelBytes.h"

namespace platform {

// The file's picture, for a file whose headers the caller has read; why not for a file of another
// kind, one whose rows are not all there, a picture larger than a picture may be, or when memory
// is short.
Decoded DecodePlainBmp(std::span<const std::uint8_t> bmp, const BmpHeader& header);
// The same, reading the headers itself.
Decoded DecodePlainBmp(std::span<const std::uint8_t> bmp);

// The same without a copy where the file's rows are already in the buffer's layout (24-bit, bottom
// row first): the picture takes the file's memory, and `bmp` is left empty. For any other file,
// the picture is decoded as above and `bmp` is left as it is.
Decoded AdoptPlainBmp(PixelBytes& bmp, const BmpHeader& header);

}  // namespace platform
