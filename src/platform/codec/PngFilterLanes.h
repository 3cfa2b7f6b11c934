#pragma once
// One pixel in the low lanes of an SSE2 register, for the x86-64 variants of the PNG filters: the
// filters chain each pixel to the one before it, so the parallelism is within a pixel. A 3-byte
// pixel is loaded as 4 bytes (the fourth lane is never stored), which is why rows need one
// readable byte after them. The filters work on each byte apart from the others, so a pixel's
// filtered bytes may be put in blue, green, red order as they are loaded (Swap), and everything
// after works in that order.

#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace platform::png_lanes {

template <int Bpp, bool Swap = false>
inline __m128i LoadPixel(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (Swap) v = (v & 0xff00ff00u) | ((v >> 16) & 0xffu) | ((v & 0xffu) << 16);
    return _mm_cvtsi32_si128(int(v));
}

template <int Bpp>
inline void StorePixel(std::uint8_t* p, __m128i v) {
    const std::uint32_t bits = std::uint32_t(_mm_cvtsi128_si32(v));
    std::memcpy(p, &bits, Bpp);
}

}  // namespace platform::png_lanes
