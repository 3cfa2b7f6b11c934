#include "platform/GdiObjects.h"

namespace platform {

std::optional<GdiBitmap> GdiBitmap::Make(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel,
                                         bool bottomUp) {
    if (width < 0 || height < 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return std::nullopt;
    const std::int64_t stride = (std::int64_t{width} * bitsPerPixel + 31) / 32 * 4;
    const std::int64_t size = stride * height;
    if (size > kMaxPixelBytes) return std::nullopt;
    GdiBitmap bitmap;
    bitmap.pixels = PixelBlock::Zeroed(static_cast<std::size_t>(size));
    if (!bitmap.pixels) return std::nullopt;
    bitmap.surface = Surface{
        width, height, bitsPerPixel / 8, static_cast<std::int32_t>(stride), bottomUp, bitmap.pixels.Data()};
    return bitmap;
}

}  // namespace platform
