#include "platform/codec/PngFilters.h"

#include <cstring>

#include "platform/codec/PngFilterVariants.h"
#include "platform/picture/Cpu.h"
#include "platform/picture/PixelRows.h"

namespace platform {
namespace {

using Byte = std::uint8_t;

// Up: every byte plus the byte above it, a loop the compiler vectorises for any processor. Swapped,
// the row is turned around first (PixelRows.h) and the bytes above added to it while it is still in
// the cache.
void UpBytes(FilterRow row, const Byte* above, std::size_t length, bool swapRedBlue) {
    const Byte* from = row.filtered;
    if (swapRedBlue) {
        RgbToBgr(row.filtered, row.restored, length / 3);
        from = row.restored;
    }
    for (std::size_t i = 0; i < length; ++i) row.restored[i] = Byte(from[i] + above[i]);
}

void NoFilter(FilterRow row, std::size_t length, bool swapRedBlue) {
    if (swapRedBlue)
        RgbToBgr(row.filtered, row.restored, length / 3);
    else if (row.restored != row.filtered)
        std::memcpy(row.restored, row.filtered, length);
}

// The variants the processor can run, the fastest of each filter (Cpu.h).
struct Variants {
    decltype(&png_plain::Sub) sub = png_plain::Sub;
    decltype(&png_plain::Average) average = png_plain::Average;
    decltype(&png_plain::Paeth) paeth = png_plain::Paeth;
};

Variants Fastest() {
    Variants v;
#if defined(TALLOWIN_X86_SIMD)
    const CpuFeatures& cpu = Cpu();
    if (cpu.sse2) v = {png_sse2::Sub, png_sse2::Average, png_sse2::Paeth};
    if (cpu.sse41) v.paeth = png_sse41::Paeth;
#endif
    return v;
}

}  // namespace

bool UnfilterPaethPair(FilterRow upper, FilterRow lower, const Byte* above, std::size_t length,
                       std::size_t pixelBytes, bool swapRedBlue) {
#if defined(TALLOWIN_X86_SIMD)
    if (Cpu().sse41) {
        png_sse41::PaethPair(upper, lower, above, length, pixelBytes, swapRedBlue && pixelBytes == 3);
        return true;
    }
#endif
    return false;
}

bool Unfilter(Byte filter, FilterRow row, const Byte* above, std::size_t length, std::size_t pixelBytes,
              bool swapRedBlue) {
    const bool swap = swapRedBlue && pixelBytes == 3;
    switch (filter) {
        case 0:
            NoFilter(row, length, swap);
            return true;
        case 1:
            Fastest().sub(row, length, pixelBytes, swap);
            return true;
        case 2:
            UpBytes(row, above, length, swap);
            return true;
        case 3:
            Fastest().average(row, above, length, pixelBytes, swap);
            return true;
        case 4:
            Fastest().paeth(row, above, length, pixelBytes, swap);
            return true;
        default:
            return false;
    }
}

}  // namespace platform
