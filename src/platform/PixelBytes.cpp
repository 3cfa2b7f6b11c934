#include "platform/PixelBytes.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace platform {

PixelBytes::PixelBytes(PixelBytes&& other) noexcept
    : block_(std::move(other.block_)), size_(std::exchange(other.size_, 0)) {}

PixelBytes& PixelBytes::operator=(PixelBytes&& other) noexcept {
    block_ = std::move(other.block_);
    size_ = std::exchange(other.size_, 0);
    return *this;
}

void PixelBytes::reserve(std::size_t size) {
    if (size <= capacity()) return;
    PixelBlock larger = PixelBlock::Uninitialised(size);
    if (!larger) throw std::bad_alloc();
    if (size_ > 0) std::memcpy(larger.Data(), block_.Data(), size_);
    block_ = std::move(larger);
}

void PixelBytes::resize(std::size_t size) {
    // Growing step by step doubles the room, so that filling it costs each byte one copy at most.
    if (size > capacity()) reserve(std::max(size, 2 * capacity()));
    size_ = size;
}

void PixelBytes::append(const std::uint8_t* from, std::size_t length) {
    const std::size_t at = size_;
    resize(at + length);
    if (length > 0) std::memcpy(data() + at, from, length);
}

void PixelBytes::release() {
    block_ = PixelBlock();
    size_ = 0;
}

}  // namespace platform
