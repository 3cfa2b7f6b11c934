#pragma once
// A PNG file's header chunk (IHDR), read once for the check and the decoder.

#include <cstdint>
#include <optional>
#include <span>

namespace platform {

struct PngHeader {
    std::uint32_t width = 0, height = 0;
    std::uint8_t depth = 0, colour = 0, compression = 0, filter = 0, interlace = 0;
    bool checksumMatches = false;  // the chunk's CRC
};

// The header of a file that begins with the PNG signature and an IHDR chunk of 13 bytes; none for
// any other bytes.
std::optional<PngHeader> ReadPngHeader(std::span<const std::uint8_t> png);

// Bytes before the first chunk after the header: the signature and the header chunk.
inline constexpr std::size_t kPngHeaderEnd = 8 + 25;

}  // namespace platform
