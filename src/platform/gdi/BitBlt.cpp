#include "platform/gdi/BitBlt.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/gdi/Desktop.h"
#include "platform/gdi/HandleTable.h"

namespace platform {

namespace {

using Byte = std::uint8_t;

// SRCCOPY, which a plain copy of each row does when both sides have 3 bytes a pixel.
struct Copy {
    Byte operator()(Byte s, Byte) const { return s; }
};

// The surface a device context draws on; none for a handle that is no device context.
std::optional<Surface> SurfaceOf(HDC hdc) {
    HandleTable& table = HandleTable::Instance();
    const GdiDC* dc = table.DC(hdc);
    if (dc == nullptr) return std::nullopt;
    if (dc->kind == GdiDC::Kind::Screen) return ScreenSurface();
    return table.Bitmap(dc->selected)->surface;
}

// Whether the device context holds a bitmap over a clipboard picture's rows, which are never
// changed: nothing is drawn into it.
bool HoldsPicture(HDC hdc) {
    HandleTable& table = HandleTable::Instance();
    const GdiDC* dc = table.DC(hdc);
    return dc != nullptr && dc->kind == GdiDC::Kind::Memory && table.Bitmap(dc->selected)->picture != nullptr;
}

// One row: n pixels of the source combined into the destination, byte by byte.
template <int SrcBytes, int DstBytes, class Op>
void CombineRow(const Byte* src, Byte* dst, std::int32_t n, Op op) {
    for (std::int32_t i = 0; i < n; ++i, src += SrcBytes, dst += DstBytes) {
        dst[0] = op(src[0], dst[0]);
        dst[1] = op(src[1], dst[1]);
        dst[2] = op(src[2], dst[2]);
        if constexpr (DstBytes == 4) dst[3] = 0;
    }
}

struct Area {
    std::int32_t srcLeft, srcTop, dstLeft, dstTop, width, height;
};

template <int SrcBytes, int DstBytes, class Op>
void CombineRows(const Surface& src, const Surface& dst, const Area& area, Op op) {
    const bool sameRows = src.bits == dst.bits && src.bits != nullptr;
    std::vector<Byte> copy;  // the source rows, when they are also the destination's
    if (sameRows) {
        copy.resize(static_cast<std::size_t>(area.width) * SrcBytes * area.height);
        for (std::int32_t row = 0; row < area.height; ++row)
            std::memcpy(copy.data() + static_cast<std::size_t>(row) * area.width * SrcBytes,
                        src.Row(area.srcTop + row) + static_cast<std::ptrdiff_t>(area.srcLeft) * SrcBytes,
                        static_cast<std::size_t>(area.width) * SrcBytes);
    }
    // A source without bytes (the screen) reads as black.
    const std::vector<Byte> black(src.bits == nullptr ? static_cast<std::size_t>(area.width) * SrcBytes : 0);
    auto sourceRow = [&](std::int32_t row) -> const Byte* {
        if (src.bits == nullptr) return black.data();
        if (sameRows) return copy.data() + static_cast<std::size_t>(row) * area.width * SrcBytes;
        return src.Row(area.srcTop + row) + static_cast<std::ptrdiff_t>(area.srcLeft) * SrcBytes;
    };
    for (std::int32_t row = 0; row < area.height; ++row) {
        const Byte* from = sourceRow(row);
        Byte* to = dst.Row(area.dstTop + row) + static_cast<std::ptrdiff_t>(area.dstLeft) * DstBytes;
        if constexpr (SrcBytes == 3 && DstBytes == 3 && std::is_same_v<Op, Copy>) {
            std::memcpy(to, from, static_cast<std::size_t>(area.width) * 3);
        } else {
            CombineRow<SrcBytes, DstBytes>(from, to, area.width, op);
        }
    }
}

template <class Op>
void Combine(const Surface& src, const Surface& dst, const Area& area, Op op) {
    if (src.bytesPerPixel == 3) {
        if (dst.bytesPerPixel == 3)
            CombineRows<3, 3>(src, dst, area, op);
        else
            CombineRows<3, 4>(src, dst, area, op);
    } else {
        if (dst.bytesPerPixel == 3)
            CombineRows<4, 3>(src, dst, area, op);
        else
            CombineRows<4, 4>(src, dst, area, op);
    }
}

// The part of the rectangle that lies inside both surfaces; none when nothing does.
std::optional<Area> Clip(const Surface& src, const Surface& dst, int x, int y, int cx, int cy, int x1,
                         int y1) {
    if (cx < 1 || cy < 1) return std::nullopt;
    // In 64 bits, so that no sum of 32-bit coordinates can overflow.
    const std::int64_t shiftX = std::int64_t{x} - x1, shiftY = std::int64_t{y} - y1;
    const std::int64_t left = std::max({std::int64_t{x}, std::int64_t{0}, shiftX});
    const std::int64_t top = std::max({std::int64_t{y}, std::int64_t{0}, shiftY});
    const std::int64_t right = std::min({std::int64_t{x} + cx, std::int64_t{dst.width}, shiftX + src.width});
    const std::int64_t bottom =
        std::min({std::int64_t{y} + cy, std::int64_t{dst.height}, shiftY + src.height});
    if (left >= right || top >= bottom) return std::nullopt;
    return Area{static_cast<std::int32_t>(left - shiftX), static_cast<std::int32_t>(top - shiftY),
                static_cast<std::int32_t>(left),          static_cast<std::int32_t>(top),
                static_cast<std::int32_t>(right - left),  static_cast<std::int32_t>(bottom - top)};
}

template <class Op>
BOOL Transfer(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, bool needsSource, Op op) {
    const std::optional<Surface> dst = SurfaceOf(hdc);
    if (!dst || HoldsPicture(hdc)) return 0;
    std::optional<Surface> src = needsSource ? SurfaceOf(hdcSrc) : dst;
    if (!src) return 0;
    if (!needsSource) {
        src->bits = nullptr;  // the operation does not read it
        x1 = x;
        y1 = y;
    }
    const std::optional<Area> area = Clip(*src, *dst, x, y, cx, cy, x1, y1);
    if (!area || dst->bits == nullptr) return 1;  // nothing inside, or drawn on the screen
    Combine(*src, *dst, *area, op);
    return 1;
}

}  // namespace

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    switch (rop) {
        case SRCCOPY:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, true, Copy{});
        case SRCPAINT:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, true,
                            [](Byte s, Byte d) -> Byte { return s | d; });
        case SRCAND:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, true,
                            [](Byte s, Byte d) -> Byte { return s & d; });
        case SRCINVERT:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, true,
                            [](Byte s, Byte d) -> Byte { return s ^ d; });
        case SRCERASE:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, true,
                            [](Byte s, Byte d) -> Byte { return s & ~d; });
        case NOTSRCCOPY:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, true, [](Byte s, Byte) -> Byte { return ~s; });
        case NOTSRCERASE:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, true,
                            [](Byte s, Byte d) -> Byte { return ~(s | d); });
        case MERGEPAINT:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, true,
                            [](Byte s, Byte d) -> Byte { return ~s | d; });
        case DSTINVERT:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, false,
                            [](Byte, Byte d) -> Byte { return ~d; });
        case BLACKNESS:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, false, [](Byte, Byte) -> Byte { return 0; });
        case WHITENESS:
            return Transfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, false,
                            [](Byte, Byte) -> Byte { return 0xFF; });
        default:
            return 0;
    }
}

}  // namespace platform
