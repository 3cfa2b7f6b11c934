#include "platform/gdi/AreaAverage.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace platform {
namespace {

// Of a block's rows, a third are read (every third row, spread evenly), and at least four: a
// thumbnail pixel of a screen grab covers ten to twenty rows, and four of them show it as well to
// the eye as all would, for a fraction of the memory read.
constexpr std::int32_t kFewestRows = 4;
std::int32_t RowsRead(std::int32_t rows) { return std::min(rows, std::max(kFewestRows, (rows + 2) / 3)); }

// The i-th of `taken` rows read from a block of `rows` rows, in the middle of its share of them:
// every row when all are read.
std::int32_t RowRead(std::int32_t i, std::int32_t rows, std::int32_t taken) {
    return std::int32_t((2 * std::int64_t{i} + 1) * rows / (2 * std::int64_t{taken}));
}

// The first source pixel of block i of n over a side of `side` pixels.
std::int32_t BlockStart(std::int64_t i, std::int64_t side, std::int64_t n) {
    return std::int32_t(i * side / n);
}

// Sums of the rows read of each block in `Sum` lanes (16 bits hold up to 257 rows of bytes), then
// of its columns, then the average rounded to the nearest.
template <class Sum>
void Average(const Surface& surface, QImage& out) {
    const int width = out.width(), height = out.height();
    const std::size_t rowBytes = std::size_t(surface.width) * surface.bytesPerPixel;
    std::vector<Sum> columns(rowBytes);
    for (int y = 0; y < height; ++y) {
        const std::int32_t top = BlockStart(y, surface.height, height);
        const std::int32_t bottom = BlockStart(y + 1, surface.height, height);
        const std::int32_t taken = RowsRead(bottom - top);
        // Up to four rows a pass: fewer passes over the sums, and four rows of the picture read at once.
        const auto row = [&](std::int32_t i) { return surface.Row(top + RowRead(i, bottom - top, taken)); };
        Sum* sums = columns.data();
        std::fill(columns.begin(), columns.end(), Sum{0});
        std::int32_t i = 0;
        for (; i + 4 <= taken; i += 4) {
            const std::uint8_t *r0 = row(i), *r1 = row(i + 1), *r2 = row(i + 2), *r3 = row(i + 3);
            for (std::size_t b = 0; b < rowBytes; ++b) sums[b] = Sum(sums[b] + r0[b] + r1[b] + r2[b] + r3[b]);
        }
        for (; i < taken; ++i) {
            const std::uint8_t* r = row(i);
            for (std::size_t b = 0; b < rowBytes; ++b) sums[b] = Sum(sums[b] + r[b]);
        }
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::int32_t left = BlockStart(x, surface.width, width);
            const std::int32_t right = BlockStart(x + 1, surface.width, width);
            std::uint64_t blue = 0, green = 0, red = 0;
            for (std::int32_t column = left; column < right; ++column) {
                const Sum* p = &columns[std::size_t(column) * surface.bytesPerPixel];
                blue += p[0];
                green += p[1];
                red += p[2];
            }
            const std::uint64_t count = std::uint64_t(right - left) * std::uint64_t(taken);
            to[x] = qRgb(int((red + count / 2) / count), int((green + count / 2) / count),
                         int((blue + count / 2) / count));
        }
    }
}

}  // namespace

QImage AreaAverage(const Surface& surface, int width, int height) {
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull() || surface.bits == nullptr) return QImage();
    // The tallest block: ceil(source height / height) rows.
    if (RowsRead((surface.height + height - 1) / height) <= 257)
        Average<std::uint16_t>(surface, out);
    else
        Average<std::uint32_t>(surface, out);
    return out;
}

}  // namespace platform
