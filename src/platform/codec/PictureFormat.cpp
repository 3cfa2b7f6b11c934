#include "platform/codec/PictureFormat.h"

#include <cstring>

namespace platform {

PictureFormat FormatOf(std::span<const std::uint8_t> b) {
    if (b.size() >= sizeof kPngSignature && std::memcmp(b.data(), kPngSignature, sizeof kPngSignature) == 0)
        return PictureFormat::kPng;
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return PictureFormat::kBitmap;
    if (b.size() >= 2 && b[0] == 0xff && b[1] == 0xd8) return PictureFormat::kJpeg;
    return PictureFormat::kOther;
}

}  // namespace platform
