#pragma once
// A growing run of bytes in pixel memory (PixelMemory.h): what the clipboard transfers a picture
// file into. Its memory comes from the blocks kept between captures, so a transfer filled afresh
// for every capture needs no fresh pages, and a bitmap file whose rows are already in the buffer's
// layout becomes the picture's memory as it is (PictureBits::Adopt).

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/memory/PixelMemory.h"

namespace platform {

class PixelBytes {
public:
    PixelBytes() = default;
    PixelBytes(PixelBytes&& other) noexcept;
    PixelBytes& operator=(PixelBytes&& other) noexcept;

    std::uint8_t* data() const { return block_.Data(); }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return block_.Capacity(); }
    bool empty() const { return size_ == 0; }
    const std::uint8_t* begin() const { return data(); }
    const std::uint8_t* end() const { return data() + size_; }
    operator std::span<const std::uint8_t>() const { return {data(), size_}; }

    // Room for `size` bytes in all, keeping those there; throws std::bad_alloc when memory is short.
    void reserve(std::size_t size);
    // `size` bytes in all: those added are left as they are, for the caller to fill.
    void resize(std::size_t size);
    void append(const std::uint8_t* from, std::size_t length);
    void clear() { size_ = 0; }
    // Gives the memory back (to be kept for the next block, PixelMemory.h).
    void release();

private:
    void MoveTo(PixelBlock larger);

    PixelBlock block_;
    std::size_t size_ = 0;
};

}  // namespace platform
