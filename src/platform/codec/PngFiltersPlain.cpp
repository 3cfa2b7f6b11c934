// The PNG filters in plain C++, byte for byte as the PNG standard writes them: each restored
// byte is its filtered byte plus the predictor from its left (a), upper (b) and upper-left (c)
// neighbours, the restored bytes of the same colour.
#include <cstdlib>

#include "platform/codec/PngFilterVariants.h"

namespace platform::png_plain {
namespace {

using Byte = std::uint8_t;

// Where byte `k` of a pixel is read from: with Swap the filtered red and blue change places, so the
// restored pixel is blue, green, red and every neighbour is read in that order too.
template <bool Swap>
constexpr int From(int k) {
    return Swap && k != 1 ? 2 - k : k;
}

template <int Bpp, bool Swap>
void SubPixels(FilterRow row, std::size_t length) {
    if (length < Bpp) return;
    for (int k = 0; k < Bpp; ++k) row.restored[k] = row.filtered[From<Swap>(k)];
    for (std::size_t i = Bpp; i + Bpp <= length; i += Bpp)
        for (int k = 0; k < Bpp; ++k)
            row.restored[i + k] = Byte(row.filtered[i + From<Swap>(k)] + row.restored[i - Bpp + k]);
}

template <int Bpp, bool Swap>
void AveragePixels(FilterRow row, const Byte* above, std::size_t length) {
    for (std::size_t i = 0; i + Bpp <= length; i += Bpp)
        for (int k = 0; k < Bpp; ++k) {
            const int a = i ? row.restored[i - Bpp + k] : 0;
            row.restored[i + k] = Byte(row.filtered[i + From<Swap>(k)] + ((a + above[i + k]) >> 1));
        }
}

inline int PaethPredictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

template <int Bpp, bool Swap>
void PaethPixels(FilterRow row, const Byte* above, std::size_t length) {
    if (length < Bpp) return;
    // The first pixel has no left neighbours (a = c = 0): its predictor is b.
    for (int k = 0; k < Bpp; ++k) row.restored[k] = Byte(row.filtered[From<Swap>(k)] + above[k]);
    for (std::size_t i = Bpp; i + Bpp <= length; i += Bpp)
        for (int k = 0; k < Bpp; ++k)
            row.restored[i + k] =
                Byte(row.filtered[i + From<Swap>(k)] +
                     PaethPredictor(row.restored[i - Bpp + k], above[i + k], above[i - Bpp + k]));
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

}  // namespace platform::png_plain
