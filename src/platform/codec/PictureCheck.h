#pragma once
// What a picture file's header claims, and whether its bytes can hold it, read before anything is
// decoded: the toolkit's decoders fill a bitmap cut short with black, and would allocate whatever
// size a header states.

#include <QSize>
#include <cstdint>
#include <span>

#include "platform/codec/BmpHeader.h"
#include "platform/codec/PngHeader.h"

namespace platform {

struct PictureClaim {
    enum class Verdict {
        kPlausible,  // the bytes can hold what the header states (or the format has no such check)
        kBroken,     // shorter than the header says, sizes absurd for the length, or no valid header
    };
    Verdict verdict = Verdict::kBroken;
    QSize size;  // the size the header states, where it could be read
};

// A Windows bitmap file (BITMAPFILEHEADER and an info header): the pixel rows must all be there
// (uncompressed) or the run-length data must be whole and end in its end-of-bitmap mark.
PictureClaim CheckBitmapFile(std::span<const std::uint8_t> bytes, const BmpHeader& header);

// A PNG file: a valid IHDR, and no more pixel data than its length can inflate to.
PictureClaim CheckPngFile(std::span<const std::uint8_t> bytes, const PngHeader& header);

// A JPEG file: it must end in its end-of-image mark (a JPEG cut short decodes to grey rows).
PictureClaim CheckJpegFile(std::span<const std::uint8_t> bytes);

}  // namespace platform
