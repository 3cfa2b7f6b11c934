#include "platform/gdi/GdiObjects.h"

#include <cstring>

namespace platform {

std::optional<GdiBitmap> GdiBitmap::Make(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel,
                                         bool bottomUp, Fill fill) {
    if (width < 0 || height < 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return std::nullopt;
    const std::int64_t stride = (std::int64_t{width} * bitsPerPixel + 31) / 32 * 4;
    const std::int64_t size = stride * height;
    if (size > kMaxPixelBytes) return std::nullopt;
    GdiBitmap bitmap;
    bitmap.pixels = fill == Fill::kZeroed ? PixelBlock::Zeroed(static_cast<std::size_t>(size))
                                          : PixelBlock::Uninitialised(static_cast<std::size_t>(size));
    if (!bitmap.pixels) return std::nullopt;
    bitmap.surface = Surface{
        width, height, bitsPerPixel / 8, static_cast<std::int32_t>(stride), bottomUp, bitmap.pixels.Data()};
    const std::int64_t used = std::int64_t{width} * (bitsPerPixel / 8);
    if (fill == Fill::kFillerOnly && used < stride)
        for (std::int32_t y = 0; y < height; ++y)
            std::memset(bitmap.surface.Row(y) + used, 0, static_cast<std::size_t>(stride - used));
    return bitmap;
}

}  // namespace platform
