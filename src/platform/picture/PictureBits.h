#pragma once
// A picture as it comes off the clipboard, already in the layout of the buffer it is copied into:
// 24-bit rows (blue, green, red), each padded with zero bytes to a multiple of 4, the bottom row
// first. The decoders write straight into it, the picture's bitmap uses its memory as it is, and
// the copy into the buffer is one block transfer of equal rows.
//
// Made on the clipboard's thread and handed to the interface thread whole: shared, never changed
// after the decoder is done with it.

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/memory/PixelBytes.h"
#include "platform/memory/PixelMemory.h"

namespace platform {

class PictureBits {
public:
    // Room for a width x height picture (at least 1 x 1) whose rows the caller fills; only the
    // rows' filler bytes are set (to 0). None when the picture is larger than a bitmap may be or
    // memory is short.
    static std::shared_ptr<PictureBits> Make(std::int32_t width, std::int32_t height);
    // Whether a width x height picture may be made: its rows (3 bytes a pixel, padded to 4) within
    // the largest pixel block. The buffer it is copied into has the same rows.
    static bool Fits(std::int64_t width, std::int64_t height);
    // An opaque image's pixels (QImage::Format_RGB32); none for a null image or one too large.
    static std::shared_ptr<PictureBits> FromImage(const QImage& image);
    // A width x height picture whose rows are already in `bytes` from `offset` on, in this layout:
    // it takes the bytes' memory (leaving `bytes` empty) and sets the rows' filler bytes to 0.
    // None, with `bytes` untouched, when they do not hold all the rows or the picture is larger
    // than a bitmap may be.
    static std::shared_ptr<PictureBits> Adopt(PixelBytes& bytes, std::size_t offset, std::int32_t width,
                                              std::int32_t height);

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::int32_t Stride() const { return stride_; }  // bytes a row
    std::uint8_t* Bits() const { return bits_; }
    std::size_t Size() const { return std::size_t(stride_) * std::size_t(height_); }
    // Row y of the picture, counted from the top.
    std::uint8_t* Row(std::int32_t y) const { return Bits() + std::ptrdiff_t(height_ - 1 - y) * stride_; }

    // The same size and every pixel the same.
    bool SamePixels(const PictureBits& other) const;
    // A copy as an opaque QImage::Format_RGB32 image.
    QImage ToImage() const;

private:
    PictureBits() = default;
    // Takes `rows` as the picture's and sets their filler bytes to 0.
    void Lay(std::uint8_t* rows, std::int32_t width, std::int32_t height, std::int32_t stride);

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t stride_ = 0;
    std::uint8_t* bits_ = nullptr;  // the first row, in one of:
    PixelBlock block_;
    PixelBytes adopted_;
};

}  // namespace platform
