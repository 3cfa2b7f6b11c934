#pragma once
// Bitmap files as grabbing programs offer them (image/bmp): uncompressed 24- or 32-bit rows,
// read straight into the buffer's layout (PictureBits). Any other kind, and any file that is not
// whole, is left to the toolkit's decoder.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "platform/PictureBits.h"

namespace platform {

// Where a bitmap file's rows are: what ReadBmpRows needs, found from the headers.
struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bytesPerPixel = 3;  // 3 or 4 (blue, green, red, unused)
    bool bottomUp = true;
    std::size_t offset = 0;  // of the first row in the file
    std::size_t stride = 0;  // bytes a row in the file
};

// The layout of an uncompressed 24- or 32-bit bitmap file whose rows are all there; none for any
// other file and for pictures larger than any bitmap may be.
std::optional<BmpLayout> ReadBmpLayout(std::span<const std::uint8_t> bmp);

// The file's picture; none for a file of another kind (ReadBmpLayout) or when memory is short.
std::shared_ptr<PictureBits> DecodePlainBmp(std::span<const std::uint8_t> bmp);

}  // namespace platform
