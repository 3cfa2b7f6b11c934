#include "platform/codec/PictureCheck.h"

#include <algorithm>
#include <cstring>

#include "platform/codec/ByteOrder.h"
#include "platform/gdi/GdiObjects.h"

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

PictureClaim CheckBitmapFile(Bytes b) {
    PictureClaim claim;
    if (b.size() < 18 || b[0] != 'B' || b[1] != 'M') return claim;
    const std::uint32_t offBits = Le32(&b[10]), headerSize = Le32(&b[14]);
    if ((headerSize != 12 && (headerSize < 16 || headerSize > 124)) || b.size() < 14u + headerSize)
        return claim;

    std::int64_t width, height;
    std::uint16_t planes, bitCount;
    std::uint32_t compression = 0, sizeImage = 0;
    if (headerSize == 12) {  // the old core header: 16-bit sizes
        width = Le16(&b[18]);
        height = Le16(&b[20]);
        planes = Le16(&b[22]);
        bitCount = Le16(&b[24]);
    } else {
        width = static_cast<std::int32_t>(Le32(&b[18]));
        height = static_cast<std::int32_t>(Le32(&b[22]));
        planes = Le16(&b[26]);
        bitCount = Le16(&b[28]);
        if (headerSize >= 20) compression = Le32(&b[30]);
        if (headerSize >= 24) sizeImage = Le32(&b[34]);
    }
    const std::int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0 || rows > INT32_MAX || planes != 1) return claim;
    claim.size = QSize(static_cast<int>(width), static_cast<int>(rows));
    if (offBits < 14u + headerSize || offBits > b.size()) return claim;
    const Bytes data = b.subspan(offBits);

    switch (compression) {
        case 0:    // BI_RGB
        case 3:    // BI_BITFIELDS
        case 6: {  // BI_ALPHABITFIELDS
            if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
                bitCount != 32)
                return claim;
            const std::int64_t stride = (width * bitCount + 31) / 32 * 4;
            if (stride * rows > static_cast<std::int64_t>(data.size())) return claim;  // rows missing
            break;
        }
        case 1:    // BI_RLE8
        case 2: {  // BI_RLE4
            if (bitCount != (compression == 1 ? 8 : 4) || height < 0) return claim;
            if (sizeImage > data.size()) return claim;
            if (!RunLengthDataIsWhole(sizeImage ? data.first(sizeImage) : data, compression == 2))
                return claim;
            break;
        }
        default:
            return claim;  // JPEG or PNG inside a bitmap: not a screen grab's bitmap
    }
    claim.verdict = Verdict::kPlausible;
    return claim;
}

PictureClaim CheckPngFile(Bytes b) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    PictureClaim claim;
    if (b.size() < 33 || std::memcmp(b.data(), kSignature, 8) != 0 || Be32(&b[8]) != 13 ||
        std::memcmp(b.data() + 12, "IHDR", 4) != 0)
        return claim;
    const std::uint32_t width = Be32(&b[16]), height = Be32(&b[20]);
    const std::uint8_t depth = b[24], colourType = b[25];
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
    if (b.size() < 4 || b[0] != 0xff || b[1] != 0xd8) return claim;
    static constexpr std::uint8_t kEndOfImage[] = {0xff, 0xd9};
    if (!EndsWith(b, kEndOfImage, 64)) return claim;
    claim.verdict = Verdict::kPlausible;
    return claim;
}

bool FitsBitmap(QSize size) {
    return size.width() > 0 && size.height() > 0 &&
           std::int64_t{size.width()} * 4 * size.height() <= kMaxPixelBytes;
}

}  // namespace platform
