// The Paeth filter with SSSE3's absolute value and SSE4.1's blend, which shorten the chain from one
// pixel to the next (the Paeth rows dominate a screen grab's decode), one row or two at once. Only
// these functions use the newer instructions; the processor is asked before they run (Cpu.h).
#include "platform/codec/PngFilterLanes.h"
#include "platform/codec/PngFilterVariants.h"

namespace platform::png_sse41 {
namespace {

using Byte = std::uint8_t;
using png_lanes::LoadPixel;
using png_lanes::StorePixel;

// A pixel's filtered bytes, put in blue, green, red order by one shuffle.
template <int Bpp, bool Swap>
__attribute__((target("sse4.1"), always_inline)) inline __m128i LoadPixelBlend(const Byte* p) {
    if constexpr (!Swap) return LoadPixel<Bpp>(p);
    return _mm_shuffle_epi8(LoadPixel<Bpp>(p),
                            _mm_setr_epi8(2, 1, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
}

// One step: the restored pixel from its filtered bytes x and its neighbours a (left), b (above) and
// c (above left), in 16-bit lanes.
__attribute__((target("sse4.1"), always_inline)) inline __m128i PaethStep(__m128i a, __m128i b, __m128i c,
                                                                          __m128i x) {
    const __m128i bc = _mm_sub_epi16(b, c);
    const __m128i pa = _mm_abs_epi16(bc);
    const __m128i ac = _mm_sub_epi16(a, c);
    const __m128i pb = _mm_abs_epi16(ac);
    const __m128i pc = _mm_abs_epi16(_mm_add_epi16(ac, bc));
    const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    const __m128i bOrC = _mm_blendv_epi8(b, c, _mm_cmpgt_epi16(pb, pc));
    const __m128i predictor = _mm_blendv_epi8(a, bOrC, notA);
    return _mm_and_si128(_mm_add_epi16(x, predictor), _mm_set1_epi16(0xff));
}

template <int Bpp, bool Swap>
__attribute__((target("sse4.1"))) void PaethPixels(FilterRow row, const Byte* above, std::size_t length) {
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, c = zero;
    for (std::size_t i = 0; i + Bpp <= length; i += Bpp) {
        const __m128i b = _mm_unpacklo_epi8(LoadPixel<Bpp>(above + i), zero);
        a = PaethStep(a, b, c, _mm_unpacklo_epi8(LoadPixelBlend<Bpp, Swap>(row.filtered + i), zero));
        StorePixel<Bpp>(row.restored + i, _mm_packus_epi16(a, a));
        c = b;
    }
}

// Two Paeth rows at once, the lower one a pixel behind: each needs only the pixel just restored
// above it, and the two chains of dependent steps interleave instead of waiting on each other.
template <int Bpp, bool Swap>
__attribute__((target("sse4.1"))) void PaethTwoRows(FilterRow upper, FilterRow lower, const Byte* above,
                                                    std::size_t length) {
    const __m128i zero = _mm_setzero_si128();
    __m128i a1 = zero, c1 = zero, a2 = zero, c2 = zero;
    for (std::size_t i = 0; i + Bpp <= length; i += Bpp) {
        const __m128i b1 = _mm_unpacklo_epi8(LoadPixel<Bpp>(above + i), zero);
        const __m128i x2 = _mm_unpacklo_epi8(LoadPixelBlend<Bpp, Swap>(lower.filtered + i), zero);
        a1 = PaethStep(a1, b1, c1, _mm_unpacklo_epi8(LoadPixelBlend<Bpp, Swap>(upper.filtered + i), zero));
        a2 = PaethStep(a2, a1, c2, x2);
        StorePixel<Bpp>(upper.restored + i, _mm_packus_epi16(a1, a1));
        StorePixel<Bpp>(lower.restored + i, _mm_packus_epi16(a2, a2));
        c1 = b1;
        c2 = a1;
    }
}

}  // namespace

void Paeth(FilterRow row, const Byte* above, std::size_t length, std::size_t pixelBytes, bool swapRedBlue) {
    ForEachKindOfRow(pixelBytes, swapRedBlue,
                     [&](auto bpp, auto swap) { PaethPixels<bpp, swap>(row, above, length); });
}

void PaethPair(FilterRow upper, FilterRow lower, const Byte* above, std::size_t length,
               std::size_t pixelBytes, bool swapRedBlue) {
    ForEachKindOfRow(pixelBytes, swapRedBlue,
                     [&](auto bpp, auto swap) { PaethTwoRows<bpp, swap>(upper, lower, above, length); });
}

}  // namespace platform::png_sse41
