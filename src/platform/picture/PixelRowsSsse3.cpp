// The row conversions with SSSE3 byte shuffles. Only these functions use SSSE3; the processor is
// asked before they run (Cpu.h).
#include <immintrin.h>

#include "platform/picture/PixelRowVariants.h"

namespace platform::rows_ssse3 {
namespace {

// One 16-byte shuffle per step: `SrcBytes` x 4 or x 5 source bytes to 12 or 15 destination bytes.
// Each step stores 16 bytes, of which the last ones are overwritten by the next step; the last
// steps are left to the plain conversion (`rest`) so that nothing is written past the row.
template <int SrcBytes, bool Swap>
__attribute__((target("ssse3"))) void Shuffled(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels,
                                               void (*rest)(const std::uint8_t*, std::uint8_t*,
                                                            std::size_t)) {
    // Pixels a step: 5 from 3-byte sources (15 of 16 bytes), 4 from 4-byte sources.
    constexpr std::size_t kStep = SrcBytes == 3 ? 5 : 4;
    alignas(16) std::int8_t order[16];
    for (int i = 0; i < 16; ++i) {
        const int pixel = i / 3, byte = i % 3;
        const int from = Swap ? 2 - byte : byte;
        order[i] = pixel < int(kStep) ? std::int8_t(pixel * SrcBytes + from) : std::int8_t(-1);
    }
    const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i*>(order));
    std::size_t i = 0;
    // A step writes 16 bytes from dst: keep kStep more pixels' room after it.
    for (; i + kStep + 2 <= pixels; i += kStep, src += kStep * SrcBytes, dst += kStep * 3) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_shuffle_epi8(in, shuffle));
    }
    rest(src, dst, pixels - i);
}

}  // namespace

void RgbToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    Shuffled<3, true>(src, dst, pixels, rows_plain::RgbToBgr);
}
void RgbaToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    Shuffled<4, true>(src, dst, pixels, rows_plain::RgbaToBgr);
}
void BgrxToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    Shuffled<4, false>(src, dst, pixels, rows_plain::BgrxToBgr);
}

}  // namespace platform::rows_ssse3
