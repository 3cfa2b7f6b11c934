#pragma once
// Undoing the PNG scan-line filters (None, Sub, Up, Average, Paeth), in place, one row at a time.

#include <cstddef>
#include <cstdint>

namespace platform {

// Restores `row` (`length` bytes, filtered by `filter`) given the restored row above it (`above`;
// all zeros for the first row), for pixels of 3 or 4 bytes (8-bit RGB and RGBA, what screens
// give); `length` is a multiple of `pixelBytes`, and one byte after each of the two rows must be
// readable. False for an unknown filter type.
bool Unfilter(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* above, std::size_t length,
              std::size_t pixelBytes);

// Restores two rows that are both Paeth-filtered, `upper` and the row below it, at once (faster than
// one after the other). False, with nothing done, where the processor lacks what this needs: the
// rows then go through Unfilter one by one.
bool UnfilterPaethPair(std::uint8_t* upper, std::uint8_t* lower, const std::uint8_t* above,
                       std::size_t length, std::size_t pixelBytes);

}  // namespace platform
