#include "platform/codec/BmpDecoder.h"

#include <cstddef>
#include <cstring>
#include <optional>

#include "platform/codec/ByteOrder.h"
#include "platform/picture/PixelRows.h"

namespace platform {
namespace {

constexpr std::uint32_t kRgb = 0, kBitFields = 3;

// Where a bitmap file's rows are, found from its headers.
struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bytesPerPixel = 3;  // 3 or 4 (blue, green, red, unused)
    bool bottomUp = true;
    std::size_t offset = 0;  // of the first row in the file
    std::size_t stride = 0;  // bytes a row in the file
};

// The layout of an uncompressed 24- or 32-bit bitmap file whose rows are all there; none for any
// other file.
std::optional<BmpLayout> ReadBmpLayout(std::span<const std::uint8_t> bmp) {
    if (bmp.size() < 14 + 40 || bmp[0] != 'B' || bmp[1] != 'M') return std::nullopt;
    const std::uint8_t* info = &bmp[14];
    const std::uint32_t infoSize = Le32(info);
    if (infoSize < 40 || infoSize > bmp.size() - 14) return std::nullopt;
    const std::int32_t width = std::int32_t(Le32(info + 4));
    const std::int32_t height = std::int32_t(Le32(info + 8));
    const std::uint16_t planes = Le16(info + 12), bits = Le16(info + 14);
    const std::uint32_t compression = Le32(info + 16), colours = Le32(info + 32);
    if (planes != 1 || (bits != 24 && bits != 32) || colours != 0) return std::nullopt;
    // 32-bit files may say BI_BITFIELDS: only with the plain masks (blue, green, red in their bytes).
    // (The masks follow the 40 bytes of the oldest header, within a newer header or after it.)
    if (compression == kBitFields) {
        if (bits != 32 || bmp.size() < 14 + 40 + 12 || Le32(info + 40) != 0x00ff0000 ||
            Le32(info + 44) != 0x0000ff00 || Le32(info + 48) != 0x000000ff)
            return std::nullopt;
    } else if (compression != kRgb) {
        return std::nullopt;
    }
    // A newer header may name an alpha mask: such a file is left to the toolkit, which lays its
    // transparent pixels over white.
    if (bits == 32 && infoSize >= 56 && Le32(info + 52) != 0) return std::nullopt;
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    BmpLayout layout;
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    layout.bytesPerPixel = bits / 8;
    layout.bottomUp = height > 0;
    layout.offset = Le32(&bmp[10]);
    layout.stride = (std::size_t(width) * bits + 31) / 32 * 4;
    // Every row must be there.
    if (layout.offset < 14 + infoSize + (compression == kBitFields && infoSize == 40 ? 12 : 0) ||
        layout.offset > bmp.size() ||
        (bmp.size() - layout.offset) / layout.stride < std::size_t(layout.height))
        return std::nullopt;
    return layout;
}

}  // namespace

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

std::shared_ptr<PictureBits> TakePlainBmp(PixelBytes& bmp) {
    const std::optional<BmpLayout> layout = ReadBmpLayout(bmp);
    if (layout && layout->bytesPerPixel == 3 && layout->bottomUp)
        if (auto bits = PictureBits::Adopt(bmp, layout->offset, layout->width, layout->height)) return bits;
    return DecodePlainBmp(bmp);
}

}  // namespace platform
