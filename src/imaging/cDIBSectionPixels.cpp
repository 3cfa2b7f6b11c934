// The buffer's pixel operations: bilinear resampling and the noise fill.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "host/Checked.h"
#include "host/Random.h"
#include "imaging/ByteView.h"
#include "imaging/cDIBSection.h"

using namespace host::checked;

namespace {

inline std::uint8_t ToByte(double x) {
    return static_cast<std::uint8_t>(std::clamp(RoundHalfEvenSmall(x), 0.0, 255.0));
}

// Where one target column or row samples the source: the integer part, and the fraction as the
// two weights (1 - f, f) in double precision.
struct Sample {
    std::int32_t index;
    double weightNear;
    double weightFar;
};

// Sample i of n at scale: position = scale x i in single precision, its integer part and fraction.
Sample SampleAt(float scale, std::int32_t i) {
    const float position = CSng(static_cast<double>(scale) * i);
    const std::int32_t index = Int32(position);
    const float fraction = CSng(static_cast<double>(position) - index);
    return Sample{index, 1.0 - static_cast<double>(fraction), static_cast<double>(fraction)};
}

}  // namespace

std::unique_ptr<cDIBSection> cDIBSection::Resample(std::int32_t lNewHeight, std::int32_t lNewWidth) const {
    auto target = std::make_unique<cDIBSection>();
    if (!target->Create(lNewWidth, lNewHeight)) return nullptr;
    if (lNewWidth == Width() && lNewHeight == Height()) {
        target->LoadPictureBlt(mhMemDC, 0, 0, -1, -1, platform::SRCCOPY);
    } else {
        ResampleInto(*target);
    }
    return target;
}

// Bilinear interpolation, pixel by pixel as follows, with W x H the source's size and W2 x H2 the
// target's; a, b are the bytes of source rows yi and yi + 1 and c = 3 xi:
//   sx = (W - 1) / W2, sy = (H - 1) / H2                                  single precision
//   target row y:   ys = sy y, yi = floor(ys), fy = ys - yi               single precision
//   target pixel x: xs = sx x, xi = floor(xs), fx = xs - xi               single precision
//   vk = round((1 - fy) a[c + k] + fy b[c + k]) for k = 0..5              double, ties to even
//   target byte 3x + k = clamp(round((1 - fx) vk + fx v(k+3)), 0, 255)    for k = 0..2
// Every source byte is bounds-tested and every step tested for overflow and floating-point
// failure, as if each were done pixel by pixel; the tests are made once per call where that proves
// the same, and before anything is written:
// - sx and sy are the only steps that can fail in floating point (a target size of 0). With them
//   finite, every later product is below 2^62 and every fraction lies in [0, 1).
// - The columns that target pixel x reads depend on x alone, the rows that target row y reads on y
//   alone, and both grow with x and y (once row 0 is inside, the source has two lines or more and
//   a column, so neither scale factor is negative). Pixel by pixel, the first failure would be met
//   in row 0 (a source of one line), else at the first column out of range, else at the last row;
//   the tests are made in that order, so the same error comes.
// - The vertical pass depends only on the target row and the source byte, so it is done once per
//   target row over the source bytes that the row's pixels read.
void cDIBSection::ResampleInto(cDIBSection& target) const {
    const ByteView source(mlBits, Height(), BytesPerScanLine());
    const ByteView dest(target.mlBits, target.Height(), target.BytesPerScanLine());

    const float sx = CSng(Div(Sub32(Width(), 1), target.Width()));
    const float sy = CSng(Div(Sub32(Height(), 1), target.Height()));
    const std::int32_t lastX = Sub32(target.Width(), 1);
    const std::int32_t lastY = Sub32(target.Height(), 1);
    if (lastX < 0 || lastY < 0) return;  // no target pixels

    auto rowsInside = [&](std::int32_t yi) { return yi >= 0 && yi < source.Rows() - 1; };
    if (!rowsInside(SampleAt(sy, 0).index)) host::RaiseError(host::kSubscriptOutOfRange);
    std::vector<Sample> columns(static_cast<std::size_t>(lastX) + 1);
    for (std::int32_t x = 0; x <= lastX; ++x) {
        columns[x] = SampleAt(sx, x);
        columns[x].index = Mul32(3, columns[x].index);
        if (columns[x].index < 0 || columns[x].index > source.Columns() - 6)
            host::RaiseError(host::kSubscriptOutOfRange);
    }
    if (!rowsInside(SampleAt(sy, lastY).index)) host::RaiseError(host::kSubscriptOutOfRange);
    dest.Check(0, 3 * lastX + 2, 0);
    dest.Check(0, 3 * lastX + 2, lastY);

    // The source bytes that the pixels of a target row read. When shrinking a lot, most bytes are
    // never read: then each pixel does its own vertical pass.
    const std::int32_t firstColumn = columns.front().index;
    const std::int32_t spanBytes = columns.back().index + 6 - firstColumn;
    const bool passPerRow = std::int64_t{spanBytes} <= 6 * (std::int64_t{lastX} + 1);
    std::vector<float> vertical(passPerRow ? static_cast<std::size_t>(spanBytes) : 6);

    for (std::int32_t y = 0; y <= lastY; ++y) {
        const Sample row = SampleAt(sy, y);
        const std::uint8_t* a = source.Row(row.index);
        const std::uint8_t* b = source.Row(row.index + 1);
        std::uint8_t* out = dest.Row(y);
        if (passPerRow) {
            a += firstColumn;
            b += firstColumn;
            for (std::int32_t i = 0; i < spanBytes; ++i)
                vertical[i] =
                    static_cast<float>(RoundHalfEvenSmall(row.weightNear * a[i] + row.weightFar * b[i]));
        }
        for (std::int32_t x = 0; x <= lastX; ++x, out += 3) {
            const Sample& column = columns[x];
            const float* v = vertical.data();
            if (passPerRow) {
                v += column.index - firstColumn;
            } else {
                for (int k = 0; k < 6; ++k)
                    vertical[k] = static_cast<float>(RoundHalfEvenSmall(row.weightNear * a[column.index + k] +
                                                                        row.weightFar * b[column.index + k]));
            }
            out[0] = ToByte(column.weightNear * v[0] + column.weightFar * v[3]);
            out[1] = ToByte(column.weightNear * v[1] + column.weightFar * v[4]);
            out[2] = ToByte(column.weightNear * v[2] + column.weightFar * v[5]);
        }
    }
}

void cDIBSection::RandomiseBits(bool bGray) {
    OwnPixels();
    const ByteView view(mlBits, Height(), BytesPerScanLine());
    host::Randomize(host::SecondsSinceMidnight());
    const std::int32_t last = Mul32(Sub32(Width(), 1), 3);  // the last pixel's blue byte
    const std::int32_t lastRow = Sub32(Height(), 1);
    if (last < 0 || lastRow < 0) return;
    // Every access lies in columns 0..last + 2 of rows 0..lastRow; testing the corners tests them all.
    view.Check(0, last + 2, 0);
    view.Check(0, last + 2, lastRow);
    auto noise = [] {
        return static_cast<std::uint8_t>(RoundHalfEvenSmall(static_cast<double>(host::Rnd()) * 255.0));
    };
    if (bGray) {
        for (std::int32_t r = 0; r <= lastRow; ++r) {
            std::uint8_t* line = view.Row(r);
            for (std::int32_t c = 0; c <= last; c += 3) line[c] = line[c + 1] = line[c + 2] = noise();
        }
    } else {
        for (std::int32_t c = 0; c <= last; c += 3) {
            for (std::int32_t r = 0; r <= lastRow; ++r) {
                std::uint8_t* pixel = view.Row(r) + c;
                pixel[0] = 0;
                pixel[1] = noise();
                pixel[2] = noise();
            }
        }
    }
}
