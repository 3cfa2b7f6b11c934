// The row conversions byte by byte.
#include "platform/picture/PixelRowVariants.h"

namespace platform::rows_plain {
namespace {

template <int SrcBytes, bool Swap>
void Bytewise(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i, src += SrcBytes, dst += 3) {
        dst[0] = src[Swap ? 2 : 0];
        dst[1] = src[1];
        dst[2] = src[Swap ? 0 : 2];
    }
}

}  // namespace

void RgbToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    Bytewise<3, true>(src, dst, pixels);
}
void RgbaToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    Bytewise<4, true>(src, dst, pixels);
}
void BgrxToBgr(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    Bytewise<4, false>(src, dst, pixels);
}

}  // namespace platform::rows_plain
