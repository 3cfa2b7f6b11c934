#pragma once
// A two-dimensional view of a buffer's pixel bytes, laid over them without copying or owning
// them: column = the byte within a scan line, row = the scan line in memory order. Every access
// tests both indices first and raises the host's out-of-range error outside the bounds, before
// anything is read or written. A view over no pixel block has no rows and no columns.

#include <cstddef>
#include <cstdint>

#include "host/HostError.h"

class ByteView {
public:
    ByteView(std::uint8_t* base, std::int32_t rows, std::int32_t columns)
        : base_(base),
          rows_(base != nullptr && rows > 0 && columns > 0 ? rows : 0),
          columns_(rows_ > 0 ? columns : 0) {}

    std::int32_t Rows() const { return rows_; }
    std::int32_t Columns() const { return columns_; }

    std::uint8_t& At(std::int32_t column, std::int32_t row) const {
        Check(column, column, row);
        return Row(row)[column];
    }
    // Tests that columns first..last of a row lie inside the view, raising if not.
    void Check(std::int32_t first, std::int32_t last, std::int32_t row) const {
        if (!Contains(first, last, row)) host::RaiseError(host::kSubscriptOutOfRange);
    }
    bool Contains(std::int32_t first, std::int32_t last, std::int32_t row) const {
        return row >= 0 && row < rows_ && first >= 0 && first <= last && last < columns_;
    }
    // The first byte of a row, for loops whose rows and columns have been tested.
    std::uint8_t* Row(std::int32_t row) const { return base_ + static_cast<std::ptrdiff_t>(row) * columns_; }

private:
    std::uint8_t* base_;
    std::int32_t rows_;
    std::int32_t columns_;
};
