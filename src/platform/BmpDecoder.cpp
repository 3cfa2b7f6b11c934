#include "platform/BmpDecoder.h"

#include <cstring>

#include "platform/GdiObjects.h"
#include "platform/PixelRows.h"

namespace platform {
namespace {

std::uint32_t Little32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t Little16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

constexpr std::uint32_t kRgb = 0, kBitFields = 3;

}  // namespace

std::optional<BmpLayout> ReadBmpLayout(std::span<const std::uint8_t> bmp) {
    if (bmp.size() < 14 + 40 || bmp[0] != 'B' || bmp[1] != 'M') return std::nullopt;
    const std::uint8_t* info = &bmp[14];
    const std::uint32_t infoSize = Little32(info);
    if (infoSize < 40 || infoSize > bmp.size() - 14) return std::nullopt;
    const std::int32_t width = std::int32_t(Little32(info + 4));
    const std::int32_t height = std::int32_t(Little32(info + 8));
    const std::uint16_t planes = Little16(info + 12), bits = Little16(info + 14);
    const std::uint32_t compression = Little32(info + 16), colours = Little32(info + 32);
    if (planes != 1 || (bits != 24 && bits != 32) || colours != 0) return std::nullopt;
    // 32-bit files may say BI_BITFIELDS: only with the plain masks (blue, green, red in their bytes).
    // (The masks follow the 40 bytes of the oldest header, within a newer header or after it.)
    if (compression == kBitFields) {
        if (bits != 32 || bmp.size() < 14 + 40 + 12 || Little32(info + 40) != 0x00ff0000 ||
            Little32(info + 44) != 0x0000ff00 || Little32(info + 48) != 0x000000ff)
            return std::nullopt;
    } else if (compression != kRgb) {
        return std::nullopt;
    }
    // A newer header may name an alpha mask: such a file is left to the toolkit, which lays its
    // transparent pixels over white.
    if (bits == 32 && infoSize >= 56 && Little32(info + 52) != 0) return std::nullopt;
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    BmpLayout layout;
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    layout.bytesPerPixel = bits / 8;
    layout.bottomUp = height > 0;
    layout.offset = Little32(&bmp[10]);
    layout.stride = (std::size_t(width) * bits + 31) / 32 * 4;
    const std::uint64_t ours = (std::uint64_t(width) * 3 + 3) / 4 * 4 * std::uint64_t(layout.height);
    if (ours > std::uint64_t(kMaxPixelBytes)) return std::nullopt;
    // Every row must be there.
    if (layout.offset < 14 + infoSize + (compression == kBitFields && infoSize == 40 ? 12 : 0) ||
        layout.offset > bmp.size() ||
        (bmp.size() - layout.offset) / layout.stride < std::size_t(layout.height))
        return std::nullopt;
    return layout;
}

std::shared_ptr<PictureBits> DecodePlainBmp(std::span<const std::uint8_t> bmp) {
    const std::optional<BmpLayout> layout = ReadBmpLayout(bmp);
    if (!layout) return nullptr;
    auto bits = PictureBits::Make(layout->width, layout->height);
    if (!bits) return nullptr;
    const std::size_t pixelBytes = std::size_t(layout->width) * 3;
    for (std::int32_t y = 0; y < layout->height; ++y) {
        const std::int32_t fileRow = layout->bottomUp ? layout->height - 1 - y : y;
        const std::uint8_t* from = &bmp[layout->offset + std::size_t(fileRow) * layout->stride];
        if (layout->bytesPerPixel == 3)
            std::memcpy(bits->Row(y), from, pixelBytes);
        else
            BgrxToBgr(from, bits->Row(y), std::size_t(layout->width));
    }
    return bits;
}

}  // namespace platform
