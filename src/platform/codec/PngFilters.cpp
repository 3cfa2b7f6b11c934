#include "platform/codec/PngFilters.h"

#include <immintrin.h>

#include <cstring>

#include "platform/picture/PixelRows.h"

namespace platform {
namespace {

using Byte = std::uint8_t;

// One pixel a step in SSE2 lanes: the filters chain each pixel to the one before it, so the
// parallelism is within a pixel. A 3-byte pixel is loaded as 4 bytes (the fourth lane is never
// stored), which is why rows need one readable byte after them. The filters work on each byte
// apart from the others, so a pixel's filtered bytes may be put in blue, green, red order as they
// are loaded (Swap), and everything after works in that order.
template <int Bpp, bool Swap = false>
__m128i LoadPixel(const Byte* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (Swap) v = (v & 0xff00ff00u) | ((v >> 16) & 0xffu) | ((v & 0xffu) << 16);
    return _mm_cvtsi32_si128(int(v));
}
template <int Bpp>
void StorePixel(Byte* p, __m128i v) {
    const std::uint32_t bits = std::uint32_t(_mm_cvtsi128_si32(v));
    std::memcpy(p, &bits, Bpp);
}

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

// A pixel's filtered bytes for the SSE4.1 steps, put in blue, green, red order by one shuffle.
template <int Bpp, bool Swap>
__attribute__((target("sse4.1"), always_inline)) inline __m128i LoadPixelBlend(const Byte* p) {
    if constexpr (!Swap) return LoadPixel<Bpp>(p);
    return _mm_shuffle_epi8(LoadPixel<Bpp>(p),
                            _mm_setr_epi8(2, 1, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
}

// The same with SSSE3's absolute value and SSE4.1's blend, which shorten the chain from one pixel
// to the next (the Paeth rows dominate a screen grab's decode). One step: the restored pixel from
// its filtered bytes x and its neighbours a (left), b (above) and c (above left), in 16-bit lanes.
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
__attribute__((target("sse4.1"))) void PaethPixelsBlend(FilterRow row, const Byte* above,
                                                        std::size_t length) {
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
__attribute__((target("sse4.1"))) void PaethTwoRowsBlend(FilterRow upper, FilterRow lower, const Byte* above,
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

template <int Bpp, bool Swap>
void Paeth(FilterRow row, const Byte* above, std::size_t length) {
    static const bool blend = __builtin_cpu_supports("sse4.1");
    if (blend)
        PaethPixelsBlend<Bpp, Swap>(row, above, length);
    else
        PaethPixels<Bpp, Swap>(row, above, length);
}

// Up: every byte plus the byte above it. Swapped, the row is turned around first (PixelRows.h) and
// the bytes above added to it while it is still in the cache.
template <bool Swap>
void UpBytes(FilterRow row, const Byte* above, std::size_t length) {
    const Byte* from = row.filtered;
    if constexpr (Swap) {
        RgbToBgr(row.filtered, row.restored, length / 3);
        from = row.restored;
    }
    for (std::size_t i = 0; i < length; ++i) row.restored[i] = Byte(from[i] + above[i]);
}

template <bool Swap>
bool UnfilterRow(Byte filter, FilterRow row, const Byte* above, std::size_t length, std::size_t pixelBytes) {
    const bool three = pixelBytes == 3;
    switch (filter) {
        case 0:
            if constexpr (Swap)
                RgbToBgr(row.filtered, row.restored, length / 3);
            else if (row.restored != row.filtered)
                std::memcpy(row.restored, row.filtered, length);
            return true;
        case 1:
            three ? SubPixels<3, Swap>(row, length) : SubPixels<4, Swap>(row, length);
            return true;
        case 2:
            UpBytes<Swap>(row, above, length);
            return true;
        case 3:
            three ? AveragePixels<3, Swap>(row, above, length) : AveragePixels<4, Swap>(row, above, length);
            return true;
        case 4:
            three ? Paeth<3, Swap>(row, above, length) : Paeth<4, Swap>(row, above, length);
            return true;
        default:
            return false;
    }
}

bool PairsOfPaethRows() {
    static const bool blend = __builtin_cpu_supports("sse4.1");
    return blend;
}

}  // namespace

bool UnfilterPaethPair(FilterRow upper, FilterRow lower, const Byte* above, std::size_t length,
                       std::size_t pixelBytes, bool swapRedBlue) {
    if (!PairsOfPaethRows()) return false;
    if (pixelBytes == 4)
        PaethTwoRowsBlend<4, false>(upper, lower, above, length);
    else if (swapRedBlue)
        PaethTwoRowsBlend<3, true>(upper, lower, above, length);
    else
        PaethTwoRowsBlend<3, false>(upper, lower, above, length);
    return true;
}

bool Unfilter(Byte filter, FilterRow row, const Byte* above, std::size_t length, std::size_t pixelBytes,
              bool swapRedBlue) {
    return swapRedBlue && pixelBytes == 3 ? UnfilterRow<true>(filter, row, above, length, pixelBytes)
                                          : UnfilterRow<false>(filter, row, above, length, pixelBytes);
}

}  // namespace platform
