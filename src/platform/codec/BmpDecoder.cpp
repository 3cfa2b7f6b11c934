#include "platform/codec/BmpDecoder.h"

#include <cstddef>
#include <cstring>
#include <optional>

#include "platform/picture/PixelRows.h"

namespace platform {
namespace {

// Where a bitmap file's rows are, found from its headers.
struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bytesPerPixel = 3;  // 3 or 4 (blue, green, red, unused)
    bool bottomUp = true;
    std::size_t offset = 0;  // of the first row in the file
    std::size_t stride = 0;  // bytes a row in the file
};

// The layout of an uncompressed 24- or 32-bit bitmap file whose rows are all there; why not for
// any other file.
Declined ReadBmpLayout(std::span<const std::uint8_t> bmp, const BmpHeader& h, BmpLayout& layout) {
    if (h.infoSize < 40 || h.planes != 1 || (h.bitCount != 24 && h.bitCount != 32) || h.colours != 0)
        return Declined::kOtherKind;
    // 32-bit files may say BI_BITFIELDS: only with the plain masks (blue, green, red in their bytes).
    if (h.compression == kBmpBitFields) {
        if (h.bitCount != 32 || !h.hasColourMasks || h.masks[0] != 0x00ff0000 || h.masks[1] != 0x0000ff00 ||
            h.masks[2] != 0x000000ff)
            return Declined::kOtherKind;
    } else if (h.compression != kBmpRgb) {
        return Declined::kOtherKind;
    }
    // A newer header may name an alpha mask: such a file is left to the toolkit, which lays its
    // transparent pixels over white.
    if (h.bitCount == 32 && h.masks[3] != 0) return Declined::kTransparent;
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return Declined::kOtherKind;
    layout.width = std::int32_t(h.width);
    layout.height = std::int32_t(h.height < 0 ? -h.height : h.height);
    layout.bytesPerPixel = h.bitCount / 8;
    layout.bottomUp = h.height > 0;
    layout.offset = h.offBits;
    layout.stride = (std::size_t(h.width) * h.bitCount + 31) / 32 * 4;
    if (!PictureBits::Fits(layout.width, layout.height)) return Declined::kTooLarge;
    // Every row must be there.
    if (layout.offset < 14 + h.infoSize + (h.compression == kBmpBitFields && h.infoSize == 40 ? 12 : 0) ||
        layout.offset > bmp.size() ||
        (bmp.size() - layout.offset) / layout.stride < std::size_t(layout.height))
        return Declined::kCutShort;
    return Declined::kNot;
}

}  // namespace

Decoded DecodePlainBmp(std::span<const std::uint8_t> bmp, const BmpHeader& header) {
    BmpLayout layout;
    if (const Declined why = ReadBmpLayout(bmp, header, layout); why != Declined::kNot)
        return Decoded::Because(why);
    auto bits = PictureBits::Make(layout.width, layout.height);
    if (!bits) return Decoded::Because(Declined::kNoMemory);
    const std::size_t pixelBytes = std::size_t(layout.width) * 3;
    for (std::int32_t y = 0; y < layout.height; ++y) {
        const std::int32_t fileRow = layout.bottomUp ? layout.height - 1 - y : y;
        const std::uint8_t* from = &bmp[layout.offset + std::size_t(fileRow) * layout.stride];
        if (layout.bytesPerPixel == 3)
            std::memcpy(bits->Row(y), from, pixelBytes);
        else
            BgrxToBgr(from, bits->Row(y), std::size_t(layout.width));
    }
    return Decoded::Taken(std::move(bits));
}

Decoded AdoptPlainBmp(PixelBytes& bmp, const BmpHeader& header) {
    BmpLayout layout;
    if (ReadBmpLayout(bmp, header, layout) == Declined::kNot && layout.bytesPerPixel == 3 && layout.bottomUp)
        if (auto bits = PictureBits::Adopt(bmp, layout.offset, layout.width, layout.height))
            return Decoded::Taken(std::move(bits));
    return DecodePlainBmp(bmp, header);
}

Decoded DecodePlainBmp(std::span<const std::uint8_t> bmp) {
    const std::optional<BmpHeader> header = ReadBmpHeader(bmp);
    return header ? DecodePlainBmp(bmp, *header) : Decoded::Because(Declined::kOtherFormat);
}

}  // namespace platform
