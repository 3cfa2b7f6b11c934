#pragma once
// What the adaptive filter choice weighs for one row: for each of the filter types None, Sub, Up,
// Average and Paeth, the sum of the absolute values of the row's filtered bytes read as signed.
// Vectorised where the processor allows (SSE2), byte by byte elsewhere; both give the same sums.

#include <cstddef>
#include <cstdint>

namespace platform {

struct PngRowCosts {
    std::uint64_t none = 0, sub = 0, up = 0, average = 0, paeth = 0;
    bool operator==(const PngRowCosts&) const = default;
};

// The costs of `row` (`length` bytes of 3-byte pixels) under the row `above` it (all zeros for
// the first row), the fastest way the processor has.
PngRowCosts RowCosts(const std::uint8_t* row, const std::uint8_t* above, std::size_t length);

// The same, byte by byte.
PngRowCosts RowCostsPlain(const std::uint8_t* row, const std::uint8_t* above, std::size_t length);

// The same, vectorised; false, with nothing done, where the processor lacks what this needs.
bool RowCostsVectorised(const std::uint8_t* row, const std::uint8_t* above, std::size_t length,
                        PngRowCosts& costs);

// The Paeth predictor of the PNG format for the bytes left (a), above (b) and above-left (c),
// written as selects rather than branches: on photo-like rows the branches would be guessed wrong
// half the time.
inline std::uint8_t PaethPredictor(int a, int b, int c) {
    const int bc = b - c, ac = a - c;
    const int pa = bc < 0 ? -bc : bc, pb = ac < 0 ? -ac : ac, pc = bc + ac < 0 ? -(bc + ac) : bc + ac;
    const int nearerOfBC = pb <= pc ? b : c;
    return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : nearerOfBC);
}

}  // namespace platform
