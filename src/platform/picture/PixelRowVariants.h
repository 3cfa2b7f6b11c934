#pragma once
// The variants of the row conversions (PixelRows.h), one file each: plain C++ for every processor
// (PixelRowsPlain.cpp) and SSSE3 byte shuffles for x86-64 (PixelRowsSsse3.cpp, compiled only where
// TALLOWIN_X86_SIMD is set). PixelRows.cpp chooses by what the processor offers (Cpu.h); both
// give the same bytes and write nothing past the row.

#include <cstddef>
#include <cstdint>

namespace platform {

namespace rows_plain {
void RgbToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
void RgbaToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
void BgrxToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
}  // namespace rows_plain

#if defined(TALLOWIN_X86_SIMD)
namespace rows_ssse3 {
void RgbToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
void RgbaToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
void BgrxToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
}  // namespace rows_ssse3
#endif

}  // namespace platform
