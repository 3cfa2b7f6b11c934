#pragma once
// The variants of the PNG filters that chain each pixel to the one before it (Sub, Average,
// Paeth), one file each: plain C++ for every processor (PngFiltersPlain.cpp), and for x86-64 SSE2
// (PngFiltersSse2.cpp) and SSE4.1 (PngFiltersSse41.cpp), compiled only where TALLOWIN_X86_SIMD is
// set. PngFilters.cpp chooses among them by what the processor offers (Cpu.h); all give the same
// bytes. Each takes what Unfilter takes; `swapRedBlue` only with 3-byte pixels.

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "platform/codec/PngFilters.h"

namespace platform {

// Calls `body(bpp, swap)` with the pixel size and byte order as compile-time constants
// (std::integral_constant), so that each variant's loops are made for the three kinds of rows
// there are: 4-byte pixels, and 3-byte pixels kept in order or swapped.
template <typename Body>
void ForEachKindOfRow(std::size_t pixelBytes, bool swapRedBlue, Body body) {
    if (pixelBytes == 4)
        body(std::integral_constant<int, 4>{}, std::false_type{});
    else if (swapRedBlue)
        body(std::integral_constant<int, 3>{}, std::true_type{});
    else
        body(std::integral_constant<int, 3>{}, std::false_type{});
}

namespace png_plain {
void Sub(FilterRow row, std::size_t length, std::size_t pixelBytes, bool swapRedBlue);
void Average(FilterRow row, const std::uint8_t* above, std::size_t length, std::size_t pixelBytes,
             bool swapRedBlue);
void Paeth(FilterRow row, const std::uint8_t* above, std::size_t length, std::size_t pixelBytes,
           bool swapRedBlue);
}  // namespace png_plain

#if defined(TALLOWIN_X86_SIMD)
namespace png_sse2 {
void Sub(FilterRow row, std::size_t length, std::size_t pixelBytes, bool swapRedBlue);
void Average(FilterRow row, const std::uint8_t* above, std::size_t length, std::size_t pixelBytes,
             bool swapRedBlue);
void Paeth(FilterRow row, const std::uint8_t* above, std::size_t length, std::size_t pixelBytes,
           bool swapRedBlue);
}  // namespace png_sse2

namespace png_sse41 {
void Paeth(FilterRow row, const std::uint8_t* above, std::size_t length, std::size_t pixelBytes,
           bool swapRedBlue);
// Two Paeth rows at once, as UnfilterPaethPair.
void PaethPair(FilterRow upper, FilterRow lower, const std::uint8_t* above, std::size_t length,
               std::size_t pixelBytes, bool swapRedBlue);
}  // namespace png_sse41
#endif

}  // namespace platform
