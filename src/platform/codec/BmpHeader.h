#pragma once
// A Windows bitmap file's headers (BITMAPFILEHEADER and the info header that follows), read once
// for the check and the decoder. The old 12-byte core header is read too, with its 16-bit sizes.

#include <cstdint>
#include <optional>
#include <span>

namespace platform {

struct BmpHeader {
    std::uint32_t offBits = 0;   // where the pixel data begins
    std::uint32_t infoSize = 0;  // 12 (core), or 16 to 124
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: the rows are stored top-down
    std::uint16_t planes = 0, bitCount = 0;
    std::uint32_t compression = 0, sizeImage = 0, colours = 0;
    // The red, green, blue and alpha masks, where the file has them (after the 40 bytes of the
    // oldest info header, within a newer header or after it); zero where it has not.
    std::uint32_t masks[4] = {};
    bool hasColourMasks = false;
};

inline constexpr std::uint32_t kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitFields = 3,
                               kBmpAlphaBitFields = 6;

// The headers of a file that begins with "BM" and holds a whole info header of a known size; none
// for any other bytes.
std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> bmp);

}  // namespace platform
