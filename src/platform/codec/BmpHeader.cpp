#include "platform/codec/BmpHeader.h"

#include "platform/codec/ByteOrder.h"
#include "platform/codec/PictureFormat.h"

namespace platform {

std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> b) {
    if (b.size() < 18 || FormatOf(b) != PictureFormat::kBitmap) return std::nullopt;
    BmpHeader h;
    h.offBits = Le32(&b[10]);
    h.infoSize = Le32(&b[14]);
    if ((h.infoSize != 12 && (h.infoSize < 16 || h.infoSize > 124)) || b.size() < 14u + h.infoSize)
        return std::nullopt;
    const std::uint8_t* info = &b[14];
    if (h.infoSize == 12) {
        h.width = Le16(info + 4);
        h.height = Le16(info + 6);
        h.planes = Le16(info + 8);
        h.bitCount = Le16(info + 10);
        return h;
    }
    h.width = static_cast<std::int32_t>(Le32(info + 4));
    h.height = static_cast<std::int32_t>(Le32(info + 8));
    h.planes = Le16(info + 12);
    h.bitCount = Le16(info + 14);
    if (h.infoSize >= 20) h.compression = Le32(info + 16);
    if (h.infoSize >= 24) h.sizeImage = Le32(info + 20);
    if (h.infoSize >= 36) h.colours = Le32(info + 32);
    // The masks of BI_BITFIELDS follow the oldest header's 40 bytes, inside a newer header or after
    // it; a header of 56 bytes or more also names an alpha mask.
    if (h.infoSize >= 40 && b.size() >= 14 + 40 + 12) {
        h.hasColourMasks = true;
        for (int i = 0; i < 3; ++i) h.masks[i] = Le32(info + 40 + 4 * i);
    }
    if (h.infoSize >= 56) h.masks[3] = Le32(info + 52);
    return h;
}

}  // namespace platform
