#pragma once
// Rows of pixels from one byte order into the 24-bit bitmap order (blue, green, red), the copies
// that every picture passes through on its way to a buffer. Vectorised where the processor allows
// (SSSE3 byte shuffles), byte by byte elsewhere; both give the same bytes.
//
// Each reads only its `pixels` source pixels and writes only its `pixels` * 3 bytes.

#include <cstddef>
#include <cstdint>

namespace platform {

// Red, green, blue -> blue, green, red.
void RgbToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
// Red, green, blue, alpha -> blue, green, red; alpha dropped.
void RgbaToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
// Blue, green, red, unused -> blue, green, red.
void BgrxToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);

// Whether every one of the red, green, blue, alpha pixels is fully opaque (alpha 255).
bool AllOpaque(const std::uint8_t* src, std::size_t pixels);

}  // namespace platform
