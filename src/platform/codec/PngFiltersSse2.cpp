// The PNG filters with SSE2, which every x86-64 processor has: one pixel a step.
#include "platform/codec/PngFilterLanes.h"
#include "platform/codec/PngFilterVariants.h"

namespace platform::png_sse2 {
namespace {

using Byte = std::uint8_t;
using png_lanes::LoadPixel;
using png_lanes::StorePixel;

template <int Bpp, bool Swap>
void SubPixels(FilterRow row, std::size_t length) {
    __m128i a = _mm_setzero_si128();
    for (std::size_t i = 0; i + Bpp <= length; i += Bpp) {
        a = _mm_add_epi8(a, LoadPixel<Bpp, Swap>(row.filtered + i));
        StorePixel<Bpp>(row.restored + i, a);
    }
}

template <int Bpp, bool Swap>
void AveragePixels(FilterRow row, const Byte* above, std::size_t length) {
    __m128i a = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi8(1);
    for (std::size_t i = 0; i + Bpp <= length; i += Bpp) {
        const __m128i b = LoadPixel<Bpp>(above + i);
        // floor((a + b) / 2): the rounded-up average less the carry of the lowest bit.
        const __m128i average = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
        a = _mm_add_epi8(average, LoadPixel<Bpp, Swap>(row.filtered + i));
        StorePixel<Bpp>(row.restored + i, a);
    }
}

__m128i Abs16(__m128i v) {
    const __m128i sign = _mm_srai_epi16(v, 15);
    return _mm_sub_epi16(_mm_xor_si128(v, sign), sign);
}

template <int Bpp, bool Swap>
void PaethPixels(FilterRow row, const Byte* above, std::size_t length) {
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, c = zero;  // 16-bit lanes
    for (std::size_t i = 0; i + Bpp <= length; i += Bpp) {
        const __m128i b = _mm_unpacklo_epi8(LoadPixel<Bpp>(above + i), zero);
        const __m128i pa = Abs16(_mm_sub_epi16(b, c));  // |p - a|, p = a + b - c
        const __m128i pb = Abs16(_mm_sub_epi16(a, c));  // |p - b|
        const __m128i pc = Abs16(_mm_sub_epi16(_mm_add_epi16(a, b), _mm_add_epi16(c, c)));  // |p - c|
        // a where pa <= pb and pa <= pc; else b where pb <= pc; else c.
        const __m128i useA = _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc)),
                                              _mm_set1_epi16(-1));
        const __m128i useB = _mm_andnot_si128(_mm_cmpgt_epi16(pb, pc), _mm_set1_epi16(-1));
        const __m128i bOrC = _mm_or_si128(_mm_and_si128(useB, b), _mm_andnot_si128(useB, c));
        const __m128i predictor = _mm_or_si128(_mm_and_si128(useA, a), _mm_andnot_si128(useA, bOrC));
        const __m128i x = _mm_unpacklo_epi8(LoadPixel<Bpp, Swap>(row.filtered + i), zero);
        a = _mm_and_si128(_mm_add_epi16(x, predictor), _mm_set1_epi16(0xff));
        StorePixel<Bpp>(row.restored + i, _mm_packus_epi16(a, a));
        c = b;
    }
}

}  // namespace

void Sub(FilterRow row, std::size_t length, std::size_t pixelBytes, bool swapRedBlue) {
    ForEachKindOfRow(pixelBytes, swapRedBlue,
                     [&](auto bpp, auto swap) { SubPixels<bpp, swap>(row, length); });
}

void Average(FilterRow row, const Byte* above, std::size_t length, std::size_t pixelBytes, bool swapRedBlue) {
    ForEachKindOfRow(pixelBytes, swapRedBlue,
                     [&](auto bpp, auto swap) { AveragePixels<bpp, swap>(row, above, length); });
}

void Paeth(FilterRow row, const Byte* above, std::size_t length, std::size_t pixelBytes, bool swapRedBlue) {
    ForEachKindOfRow(pixelBytes, swapRedBlue,
                     [&](auto bpp, auto swap) { PaethPixels<bpp, swap>(row, above, length); });
}

}  // namespace platform::png_sse2
