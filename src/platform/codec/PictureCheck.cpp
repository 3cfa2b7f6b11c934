#include "platform/codec/PictureCheck.h"

#include <algorithm>

#include "platform/codec/PictureFormat.h"

namespace platform {
namespace {

using Verdict = PictureClaim::Verdict;
using Bytes = std::span<const std::uint8_t>;

// Whether `tag` occurs within the last `window` bytes: the end mark of a whole file, allowing for
// a little padding after it.
bool EndsWith(Bytes b, Bytes tag, std::size_t window) {
    const auto tail = b.subspan(b.size() > window ? b.size() - window : 0);
    return std::search(tail.begin(), tail.end(), tag.begin(), tag.end()) != tail.end();
}

// Walks run-length data (8 or 4 bits a pixel) and tells whether it reaches its end-of-bitmap mark
// before the bytes end.
bool RunLengthDataIsWhole(Bytes data, bool fourBits) {
    std::size_t at = 0;
    while (at + 2 <= data.size()) {
        const std::uint8_t count = data[at], code = data[at + 1];
        at += 2;
        if (count != 0) continue;    // a run of `count` pixels
        if (code == 1) return true;  // end of bitmap
        if (code == 0) continue;     // end of line
        if (code == 2) {             // move by (dx, dy)
            at += 2;
            continue;
        }
        // `code` pixels given one by one, padded to a whole 16-bit word.
        const std::size_t length = fourBits ? (code + 1u) / 2u : code;
        at += (length + 1u) & ~std::size_t{1};
    }
    return false;
}

}  // namespace

PictureClaim CheckBitmapFile(Bytes b, const BmpHeader& header) {
    PictureClaim claim;
    const std::int64_t width = header.width, height = header.height;
    const std::uint16_t planes = header.planes, bitCount = header.bitCount;
    const std::uint32_t offBits = header.offBits, headerSize = header.infoSize;
    const std::uint32_t compression = header.compression, sizeImage = header.sizeImage;
    const std::int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0 || rows > INT32_MAX || planes != 1) return claim;
    claim.size = QSize(static_cast<int>(width), static_cast<int>(rows));
    if (offBits < 14u + headerSize || offBits > b.size()) return claim;
    const Bytes data = b.subspan(offBits);

    switch (compression) {
        case kBmpRgb:
        case kBmpBitFields:
        case kBmpAlphaBitFields: {
            if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
                bitCount != 32)
                return claim;
            const std::int64_t stride = (width * bitCount + 31) / 32 * 4;
            if (stride * rows > static_cast<std::int64_t>(data.size())) return claim;  // rows missing
            break;
        }
        case kBmpRle8:
        case kBmpRle4: {
            if (bitCount != (compression == kBmpRle8 ? 8 : 4) || height < 0) return claim;
            if (sizeImage > data.size()) return claim;
            if (!RunLengthDataIsWhole(sizeImage ? data.first(sizeImage) : data, compression == kBmpRle4))
                return claim;
            break;
        }
        default:
            return claim;  // JPEG or PNG inside a bitmap: not a screen grab's bitmap
    }
    claim.verdict = Verdict::kPlausible;
    return claim;
}

PictureClaim CheckPngFile(Bytes b, const PngHeader& header) {
    PictureClaim claim;
    const std::uint32_t width = header.width, height = header.height;
    const std::uint8_t depth = header.depth, colourType = header.colour;
    int channels;
    switch (colourType) {
        case 0:
            channels = 1;
            break;  // grey
        case 2:
            channels = 3;
            break;  // RGB
        case 3:
            channels = 1;
            break;  // palette
        case 4:
            channels = 2;
            break;  // grey and alpha
        case 6:
            channels = 4;
            break;  // RGBA
        default:
            return claim;
    }
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX || depth == 0 || depth > 16)
        return claim;
    claim.size = QSize(static_cast<int>(width), static_cast<int>(height));
    // Deflate cannot expand data more than 1032-fold: more filtered rows than that are a lie.
    // (Compared by division: rows of the largest widths times the largest heights overflow.)
    const std::int64_t rowBytes = 1 + (std::int64_t{width} * depth * channels + 7) / 8;
    const std::int64_t inflatable = static_cast<std::int64_t>(b.size()) * 1032 + 65536;
    if (rowBytes > inflatable / static_cast<std::int64_t>(height)) return claim;
    static constexpr std::uint8_t kEnd[] = {'I', 'E', 'N', 'D'};
    if (!EndsWith(b, kEnd, 64)) return claim;
    claim.verdict = Verdict::kPlausible;
    return claim;
}

PictureClaim CheckJpegFile(Bytes b) {
    PictureClaim claim;
    if (b.size() < 4 || FormatOf(b) != PictureFormat::kJpeg) return claim;
    static constexpr std::uint8_t kEndOfImage[] = {0xff, 0xd9};
    if (!EndsWith(b, kEndOfImage, 64)) return claim;
    claim.verdict = Verdict::kPlausible;
    return claim;
}

}  // namespace platform
