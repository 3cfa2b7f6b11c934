#include "platform/memory/PixelBytes.h"

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
    if (size > capacity()) MoveTo(PixelBlock::Uninitialised(size));
}

void PixelBytes::resize(std::size_t size) {
    if (size <= capacity()) {
        size_ = size;
        return;
    }
    // The first block fits the first piece. Outgrowing it says a large transfer is under way: it
    // moves into the largest kept block (a screen's picture, mapped already), and otherwise the
    // room doubles, so that filling it costs each byte one copy at most.
    const std::size_t room = std::max(size, 2 * capacity());
    MoveTo(capacity() > 0 ? PixelBlock::ForGrowth(room) : PixelBlock::Uninitialised(room));
    size_ = size;
}

void PixelBytes::MoveTo(PixelBlock larger) {
    if (!larger) throw std::bad_alloc();
    if (size_ > 0) std::memcpy(larger.Data(), block_.Data(), size_);
    block_ = std::move(larger);
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
