#include "platform/codec/PngRowCosts.h"

#include <algorithm>

#include "platform/picture/Cpu.h"

// The SSE2 sums are built only where the build has the x86-64 fast paths (a portable build leaves
// them out), and run only where Cpu() offers SSE2.
#if defined(TALLOWIN_X86_SIMD)
#include <emmintrin.h>
#define TALLOWIN_SSE2 1
#endif

namespace platform {
namespace {

using Byte = std::uint8_t;
constexpr std::size_t kPixelBytes = 3;
constexpr std::size_t kStretch = std::size_t{1} << 24;  // bytes summed in 32 bits at a time

// The absolute value of a filtered byte read as signed.
inline std::uint16_t Cost(Byte v) {
    const std::int16_t s = static_cast<std::int8_t>(v);
    return static_cast<std::uint16_t>(s < 0 ? -s : s);
}

inline std::int16_t Abs(std::int16_t v) { return static_cast<std::int16_t>(v < 0 ? -v : v); }

// Adds the costs of the bytes [begin, end) of the row, each at least one pixel in. In 16-bit
// steps, with the predictor's choice as selects, so that the compiler can vectorise it.
void AddPlain(const Byte* __restrict row, const Byte* __restrict above, std::size_t begin, std::size_t end,
              PngRowCosts& costs) {
    std::uint64_t none = 0, sub = 0, up = 0, average = 0, paeth = 0;
    for (std::size_t stretch = begin; stretch < end; stretch += kStretch) {
        // At most 128 a byte: the sums of kStretch bytes cannot overflow.
        std::uint32_t n = 0, s = 0, u = 0, v = 0, p = 0;
        for (std::size_t i = stretch; i < std::min(end, stretch + kStretch); ++i) {
            const std::int16_t x = row[i], a = row[i - kPixelBytes], b = above[i], c = above[i - kPixelBytes];
            const std::int16_t bc = std::int16_t(b - c), ac = std::int16_t(a - c);
            const std::int16_t pa = Abs(bc), pb = Abs(ac), pc = Abs(std::int16_t(bc + ac));
            const std::int16_t nearerOfBC = pb <= pc ? b : c;
            const std::int16_t predicted = pa <= pb && pa <= pc ? a : nearerOfBC;
            n += Cost(Byte(x));
            s += Cost(Byte(x - a));
            u += Cost(Byte(x - b));
            v += Cost(Byte(x - ((a + b) >> 1)));
            p += Cost(Byte(x - predicted));
        }
        none += n, sub += s, up += u, average += v, paeth += p;
    }
    costs.none += none, costs.sub += sub, costs.up += up, costs.average += average, costs.paeth += paeth;
}

// The first pixel has none to its left: Sub leaves it as it is, Average halves the byte above, and
// Paeth predicts it from above.
PngRowCosts FirstPixel(const Byte* row, const Byte* above, std::size_t length) {
    PngRowCosts costs;
    for (std::size_t i = 0; i < std::min(kPixelBytes, length); ++i) {
        costs.none += Cost(row[i]);
        costs.sub += Cost(row[i]);
        costs.up += Cost(Byte(row[i] - above[i]));
        costs.average += Cost(Byte(row[i] - (above[i] >> 1)));
        costs.paeth += Cost(Byte(row[i] - above[i]));
    }
    return costs;
}

#ifdef TALLOWIN_SSE2
// 16 costs at once: min(v, -v) of each byte is its absolute value read as signed (128 stays 128),
// and the sum of absolute differences against zero adds them up in two 64-bit halves.
inline __m128i Costs16(__m128i v) {
    const __m128i zero = _mm_setzero_si128();
    return _mm_sad_epu8(_mm_min_epu8(v, _mm_sub_epi8(zero, v)), zero);
}

inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

// Which of a, b, c the predictor takes, for eight bytes widened to 16 bits: two masks, "a" and
// "b rather than c".
inline void PaethMasks(__m128i a, __m128i b, __m128i c, __m128i& takeA, __m128i& takeB) {
    const __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(bc), pb = Abs16(ac), pc = Abs16(_mm_add_epi16(bc, ac));
    takeA =
        _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc)), _mm_set1_epi16(-1));
    takeB = _mm_andnot_si128(_mm_cmpgt_epi16(pb, pc), _mm_set1_epi16(-1));
}

inline __m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// Adds the costs of the bytes [begin, end) 16 at a time and returns where it stopped.
std::size_t AddSse2(const Byte* row, const Byte* above, std::size_t begin, std::size_t end,
                    PngRowCosts& costs) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi8(1);
    __m128i none = zero, sub = zero, up = zero, average = zero, paeth = zero;
    std::size_t i = begin;
    for (; i + 16 <= end; i += 16) {
        const auto load = [](const Byte* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        const __m128i x = load(row + i), a = load(row + i - kPixelBytes);
        const __m128i b = load(above + i), c = load(above + i - kPixelBytes);
        __m128i aLow, bLow, aHigh, bHigh;
        PaethMasks(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(c, zero), aLow,
                   bLow);
        PaethMasks(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(c, zero), aHigh,
                   bHigh);
        const __m128i takeA = _mm_packs_epi16(aLow, aHigh), takeB = _mm_packs_epi16(bLow, bHigh);
        const __m128i predicted = Select(takeA, a, Select(takeB, b, c));
        // The average rounded down: the rounded-up one less the lost half bit.
        const __m128i mean = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
        none = _mm_add_epi64(none, Costs16(x));
        sub = _mm_add_epi64(sub, Costs16(_mm_sub_epi8(x, a)));
        up = _mm_add_epi64(up, Costs16(_mm_sub_epi8(x, b)));
        average = _mm_add_epi64(average, Costs16(_mm_sub_epi8(x, mean)));
        paeth = _mm_add_epi64(paeth, Costs16(_mm_sub_epi8(x, predicted)));
    }
    const auto total = [](__m128i v) {
        return std::uint64_t(_mm_cvtsi128_si64(v)) +
               std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(v, v)));
    };
    costs.none += total(none);
    costs.sub += total(sub);
    costs.up += total(up);
    costs.average += total(average);
    costs.paeth += total(paeth);
    return i;
}
#endif

}  // namespace

PngRowCosts RowCostsPlain(const std::uint8_t* row, const std::uint8_t* above, std::size_t length) {
    PngRowCosts costs = FirstPixel(row, above, length);
    AddPlain(row, above, kPixelBytes, length, costs);
    return costs;
}

bool RowCostsVectorised(const std::uint8_t* row, const std::uint8_t* above, std::size_t length,
                        PngRowCosts& costs) {
#ifdef TALLOWIN_SSE2
    if (!Cpu().sse2) return false;
    costs = FirstPixel(row, above, length);
    if (length <= kPixelBytes) return true;
    AddPlain(row, above, AddSse2(row, above, kPixelBytes, length, costs), length, costs);
    return true;
#else
    (void)row, (void)above, (void)length, (void)costs;
    return false;
#endif
}

PngRowCosts RowCosts(const std::uint8_t* row, const std::uint8_t* above, std::size_t length) {
    PngRowCosts costs;
    if (!RowCostsVectorised(row, above, length, costs)) costs = RowCostsPlain(row, above, length);
    return costs;
}

}  // namespace platform
