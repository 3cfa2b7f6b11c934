#include "platform/picture/PixelRows.h"

#include <immintrin.h>

namespace platform {
namespace {

// One 16-byte shuffle per step: `SrcBytes` x 4 or x 5 source bytes to 12 or 15 destination bytes.
// Each step stores 16 bytes, of which the last ones are overwritten by the next step; the last
// steps are left to the byte-by-byte loop so that nothing is written past the row.
template <int SrcBytes, bool Swap>
void Bytewise(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i, src += SrcBytes, dst += 3) {
        dst[0] = src[Swap ? 2 : 0];
        dst[1] = src[1];
        dst[2] = src[Swap ? 0 : 2];
    }
}

template <int SrcBytes, bool Swap>
__attribute__((target("ssse3"))) void Shuffled(const std::uint8_t* src, std::uint8_t* dst,
                                               std::size_t pixels) {
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
    Bytewise<SrcBytes, Swap>(src, dst, pixels - i);
}

template <int SrcBytes, bool Swap>
void Convert(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3)
        Shuffled<SrcBytes, Swap>(src, dst, pixels);
    else
        Bytewise<SrcBytes, Swap>(src, dst, pixels);
}

}  // namespace

void RgbToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    Convert<3, true>(src, dst, pixels);
}
void RgbaToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    Convert<4, true>(src, dst, pixels);
}
void BgrxToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    Convert<4, false>(src, dst, pixels);
}

bool AllOpaque(const std::uint8_t* src, std::size_t pixels) {
    // Branch-free over the whole row, which the compiler vectorises.
    std::uint8_t all = 0xff;
    for (std::size_t i = 0; i < pixels; ++i) all &= src[4 * i + 3];
    return all == 0xff;
}

}  // namespace platform
