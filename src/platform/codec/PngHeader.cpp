#include "platform/codec/PngHeader.h"

#include <libdeflate.h>

#include <cstring>

#include "platform/codec/ByteOrder.h"
#include "platform/codec/PictureFormat.h"

namespace platform {

std::optional<PngHeader> ReadPngHeader(std::span<const std::uint8_t> b) {
    if (b.size() < kPngHeaderEnd || FormatOf(b) != PictureFormat::kPng || Be32(&b[8]) != 13 ||
        std::memcmp(&b[12], "IHDR", 4) != 0)
        return std::nullopt;
    const std::uint8_t* ihdr = &b[16];
    PngHeader header;
    header.width = Be32(ihdr);
    header.height = Be32(ihdr + 4);
    header.depth = ihdr[8];
    header.colour = ihdr[9];
    header.compression = ihdr[10];
    header.filter = ihdr[11];
    header.interlace = ihdr[12];
    header.checksumMatches = libdeflate_crc32(0, &b[12], 17) == Be32(&b[29]);
    return header;
}

}  // namespace platform
