#include "platform/picture/PictureBits.h"

#include <cstring>

#include "platform/memory/PixelMemory.h"
#include "platform/picture/PixelRows.h"

namespace platform {

namespace {

// Bytes a row of a width x height picture; 0 for a size no bitmap may have.
std::int32_t StrideFor(std::int32_t width, std::int32_t height) {
    if (width < 1 || height < 1) return 0;
    const std::int64_t stride = (std::int64_t{width} * 3 + 3) & ~std::int64_t{3};
    return stride > kMaxPixelBytes / height ? 0 : std::int32_t(stride);
}

}  // namespace

bool PictureBits::Fits(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX &&
           StrideFor(std::int32_t(width), std::int32_t(height)) != 0;
}

std::shared_ptr<PictureBits> PictureBits::Make(std::int32_t width, std::int32_t height) {
    const std::int32_t stride = StrideFor(width, height);
    if (stride == 0) return nullptr;
    std::shared_ptr<PictureBits> bits(new PictureBits());
    // One byte more than the rows: unfiltering a PNG row reads one byte past the row above it.
    bits->block_ = PixelBlock::Uninitialised(std::size_t(stride) * std::size_t(height) + 1);
    if (!bits->block_) return nullptr;
    bits->Lay(bits->block_.Data(), width, height, stride);
    return bits;
}

std::shared_ptr<PictureBits> PictureBits::Adopt(PixelBytes& bytes, std::size_t offset, std::int32_t width,
                                                std::int32_t height) {
    const std::int32_t stride = StrideFor(width, height);
    if (stride == 0 || offset > bytes.size() ||
        (bytes.size() - offset) / std::size_t(stride) < std::size_t(height))
        return nullptr;
    std::shared_ptr<PictureBits> bits(new PictureBits());
    bits->adopted_ = std::move(bytes);
    bytes.clear();
    bits->Lay(bits->adopted_.data() + offset, width, height, stride);
    return bits;
}

void PictureBits::Lay(std::uint8_t* rows, std::int32_t width, std::int32_t height, std::int32_t stride) {
    bits_ = rows;
    width_ = width;
    height_ = height;
    stride_ = stride;
    const std::size_t used = std::size_t(width) * 3;
    if (used < std::size_t(stride))
        for (std::int32_t y = 0; y < height; ++y) std::memset(Row(y) + used, 0, std::size_t(stride) - used);
}

std::shared_ptr<PictureBits> PictureBits::FromImage(const QImage& image) {
    if (image.isNull() || image.format() != QImage::Format_RGB32) return nullptr;
    auto bits = Make(image.width(), image.height());
    if (!bits) return nullptr;
    // Format_RGB32 holds each pixel as 0xffRRGGBB: blue, green, red, unused in memory.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixel bytes are read in little-endian order");
    for (std::int32_t y = 0; y < bits->height_; ++y)
        BgrxToBgr(image.constScanLine(y), bits->Row(y), std::size_t(bits->width_));
    return bits;
}

bool PictureBits::SamePixels(const PictureBits& other) const {
    return width_ == other.width_ && height_ == other.height_ &&
           std::memcmp(Bits(), other.Bits(), Size()) == 0;
}

QImage PictureBits::ToImage() const {
    QImage image(width_, height_, QImage::Format_RGB32);
    if (image.isNull()) return image;
    for (std::int32_t y = 0; y < height_; ++y) {
        const std::uint8_t* from = Row(y);
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (std::int32_t x = 0; x < width_; ++x, from += 3) to[x] = qRgb(from[2], from[1], from[0]);
    }
    return image;
}

}  // namespace platform
