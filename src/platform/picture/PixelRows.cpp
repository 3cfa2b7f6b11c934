#include "platform/picture/PixelRows.h"

#include "platform/picture/Cpu.h"
#include "platform/picture/PixelRowVariants.h"

namespace platform {

void RgbToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
#if defined(TALLOWIN_X86_SIMD)
    if (Cpu().ssse3) return rows_ssse3::RgbToBgr(src, dst, pixels);
#endif
    rows_plain::RgbToBgr(src, dst, pixels);
}
void RgbaToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
#if defined(TALLOWIN_X86_SIMD)
    if (Cpu().ssse3) return rows_ssse3::RgbaToBgr(src, dst, pixels);
#endif
    rows_plain::RgbaToBgr(src, dst, pixels);
}
void BgrxToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
#if defined(TALLOWIN_X86_SIMD)
    if (Cpu().ssse3) return rows_ssse3::BgrxToBgr(src, dst, pixels);
#endif
    rows_plain::BgrxToBgr(src, dst, pixels);
}

bool AllOpaque(const std::uint8_t* src, std::size_t pixels) {
    // Branch-free over the whole row, which the compiler vectorises.
    std::uint8_t all = 0xff;
    for (std::size_t i = 0; i < pixels; ++i) all &= src[4 * i + 3];
    return all == 0xff;
}

}  // namespace platform
