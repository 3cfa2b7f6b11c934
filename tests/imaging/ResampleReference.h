#pragma once
// Resampling done byte by byte, every step checked on its own, exactly in the order described for
// the buffer: the plain version that the fast one in cDIBSection must match byte for byte and
// error for error. Used by the tests and the benchmark.

#include <algorithm>
#include <cstdint>
#include <memory>

#include "host/Checked.h"
#include "imaging/ByteView.h"
#include "imaging/cDIBSection.h"

namespace reference {

inline void ResampleInto(const cDIBSection& source, cDIBSection& target) {
    using namespace host::checked;
    // Only read through.
    const ByteView from(const_cast<std::uint8_t*>(source.DIBSectionBitsPtr()), source.Height(),
                        source.BytesPerScanLine());
    const ByteView to(target.DIBSectionBitsPtr(), target.Height(), target.BytesPerScanLine());
    const float sx = CSng(Div(Sub32(source.Width(), 1), target.Width()));
    const float sy = CSng(Div(Sub32(source.Height(), 1), target.Height()));
    const std::int32_t lastX = Sub32(target.Width(), 1);
    const std::int32_t lastY = Sub32(target.Height(), 1);
    for (std::int32_t y = 0; y <= lastY; ++y) {
        const float ys = CSng(static_cast<double>(sy) * y);
        const std::int32_t yi = Int32(ys);
        const float fy = CSng(static_cast<double>(ys) - yi);
        for (std::int32_t x = 0; x <= lastX; ++x) {
            const float xs = CSng(static_cast<double>(sx) * x);
            const std::int32_t xi = Int32(xs);
            const float fx = CSng(static_cast<double>(xs) - xi);
            const std::int32_t c = Mul32(3, xi);
            double a[6], b[6], v[6];
            for (int k = 0; k < 6; ++k) a[k] = from.At(Add32(c, k), yi);
            for (int k = 0; k < 6; ++k) b[k] = from.At(Add32(c, k), Add32(yi, 1));
            for (int k = 0; k < 6; ++k)
                v[k] = RoundHalfEven(Fp(Fp(Fp(1.0 - fy) * a[k]) + Fp(static_cast<double>(fy) * b[k])));
            for (int k = 0; k < 3; ++k) {
                const double o =
                    RoundHalfEven(Fp(Fp(Fp(1.0 - fx) * v[k]) + Fp(static_cast<double>(fx) * v[k + 3])));
                to.At(Add32(Mul32(3, x), k), y) = static_cast<std::uint8_t>(std::clamp(o, 0.0, 255.0));
            }
        }
    }
}

inline std::unique_ptr<cDIBSection> Resample(const cDIBSection& source, std::int32_t lNewHeight,
                                             std::int32_t lNewWidth) {
    auto target = std::make_unique<cDIBSection>();
    if (!target->Create(lNewWidth, lNewHeight)) return nullptr;
    if (lNewWidth == source.Width() && lNewHeight == source.Height())
        target->LoadPictureBlt(source.hdc(), 0, 0, -1, -1, platform::SRCCOPY);
    else
        ResampleInto(source, *target);
    return target;
}

}  // namespace reference
