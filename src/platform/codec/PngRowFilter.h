#pragma once
// Filtering one row of a PNG picture on the way to the deflate: the filter type is chosen per row,
// and the row is written as that type's byte followed by its filtered bytes.

#include <cstddef>
#include <cstdint>

namespace platform {

// How a row's filter type is chosen.
enum class PngFilterChoice {
    kUp,        // Up on every row: the cheapest choice that still helps
    kAdaptive,  // of None, Sub, Up, Average and Paeth, the one whose bytes, read as signed, have the
                // smallest sum of absolute values (the earlier type on a tie)
};

// Filters `row` (`length` bytes of 3-byte pixels) given the unfiltered row above it (`above`, all
// zeros for the first row) into `out`: the filter type, then `length` filtered bytes. Returns the
// filter type.
std::uint8_t FilterRow(PngFilterChoice choice, const std::uint8_t* row, const std::uint8_t* above,
                       std::size_t length, std::uint8_t* out);

}  // namespace platform
