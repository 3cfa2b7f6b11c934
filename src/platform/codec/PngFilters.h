#pragma once
// Undoing the PNG scan-line filters (None, Sub, Up, Average, Paeth), one row at a time.

#include <cstddef>
#include <cstdint>

namespace platform {

// Where one row's bytes come from and go: its filtered bytes and the place of its restored ones,
// which may be the same bytes. With `swapRedBlue` (3-byte pixels only) each restored pixel is
// written blue, green, red, and the places must not overlap.
struct FilterRow {
    const std::uint8_t* filtered;
    std::uint8_t* restored;
};

// Restores `row` (`length` bytes, filtered by `filter`) given the restored row above it (`above`,
// in the order the restored bytes are written; all zeros for the first row), for pixels of 3 or 4
// bytes (8-bit RGB and RGBA, what screens give); `length` is a multiple of `pixelBytes`, and one
// byte after the filtered row and after `above` must be readable. False for an unknown filter type.
bool Unfilter(std::uint8_t filter, FilterRow row, const std::uint8_t* above, std::size_t length,
              std::size_t pixelBytes, bool swapRedBlue = false);

// Restores two rows that are both Paeth-filtered, `upper` and the row below it, at once (faster than
// one after the other). False, with nothing done, where the processor lacks what this needs: the
// rows then go through Unfilter one by one.
bool UnfilterPaethPair(FilterRow upper, FilterRow lower, const std::uint8_t* above, std::size_t length,
                       std::size_t pixelBytes, bool swapRedBlue = false);

}  // namespace platform
