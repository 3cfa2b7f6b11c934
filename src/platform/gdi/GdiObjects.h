#pragma once
// What the handles of our graphics layer stand for: bitmaps (DIB sections and screen-compatible
// bitmaps) and device contexts (memory contexts and the screen's).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/gdi/GdiTypes.h"
#include "platform/memory/PixelMemory.h"

namespace platform {

// Rows of pixels, 3 or 4 bytes each in blue, green, red (, unused) order. A screen surface has a
// size but no bytes: it reads as black and drops what is written to it.
struct Surface {
    std::int32_t width = 0;
    std::int32_t height = 0;  // in rows, never negative
    std::int32_t bytesPerPixel = 4;
    std::int32_t stride = 0;  // bytes a row, a multiple of 4
    bool bottomUp = false;    // the first row in memory is the picture's bottom row
    std::uint8_t* bits = nullptr;

    // Row y of the picture, counted from the top.
    std::uint8_t* Row(std::int32_t y) const {
        return bits + static_cast<std::ptrdiff_t>(bottomUp ? height - 1 - y : y) * stride;
    }
};

class PictureBits;

struct GdiBitmap {
    Surface surface;
    PixelBlock pixels;
    // A picture's bitmap, and a DIB section made over it, use the decoded picture's memory as it is
    // (the clipboard reader keeps the last saved picture to recognise it when it is put back);
    // nothing draws into such a bitmap.
    std::shared_ptr<PictureBits> picture;
    bool isDibSection = false;
    HDC selectedInto = 0;  // the memory device context it is selected into, or 0

    enum class Fill { kZeroed, kFillerOnly };
    // A zeroed bitmap, or one of which only the rows' filler bytes are zeroed (for a caller that
    // overwrites every pixel at once); none when the size is refused or memory is short.
    static std::optional<GdiBitmap> Make(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel,
                                         bool bottomUp, Fill fill = Fill::kZeroed);
};

struct GdiDC {
    enum class Kind { Memory, Screen };
    Kind kind = Kind::Memory;
    HBITMAP selected = 0;  // a memory context's bitmap (at first the stock 1 x 1 bitmap)
};

}  // namespace platform
