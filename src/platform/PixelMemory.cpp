#include "platform/PixelMemory.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform {

namespace {

// Blocks below this size are cheap to make afresh and are not kept.
constexpr std::size_t kKeepFrom = std::size_t{1} << 20;

// The one kept block (the graphics layer is used from the GUI thread only).
std::uint8_t* keptData = nullptr;
std::size_t keptCapacity = 0;

}  // namespace

PixelBlock PixelBlock::Zeroed(std::size_t size) {
    if (size == 0) size = 1;
    if (size >= kKeepFrom && keptData != nullptr && keptCapacity >= size) {
        std::uint8_t* data = std::exchange(keptData, nullptr);
        const std::size_t capacity = std::exchange(keptCapacity, 0);
        std::memset(data, 0, size);
        return PixelBlock(data, capacity);
    }
    auto* data = static_cast<std::uint8_t*>(std::calloc(size, 1));
    if (data == nullptr) {
        // Memory is short: the kept block may be what is missing.
        ReleaseKept();
        data = static_cast<std::uint8_t*>(std::calloc(size, 1));
    }
    return data ? PixelBlock(data, size) : PixelBlock();
}

void PixelBlock::ReleaseKept() {
    std::free(keptData);
    keptData = nullptr;
    keptCapacity = 0;
}

void PixelBlock::Release() {
    if (data_ == nullptr) return;
    if (capacity_ >= kKeepFrom && capacity_ >= keptCapacity) {
        std::free(keptData);
        keptData = data_;
        keptCapacity = capacity_;
    } else {
        std::free(data_);
    }
    data_ = nullptr;
    capacity_ = 0;
}

PixelBlock::~PixelBlock() { Release(); }

PixelBlock::PixelBlock(PixelBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

PixelBlock& PixelBlock::operator=(PixelBlock&& other) noexcept {
    if (this != &other) {
        Release();
        data_ = std::exchange(other.data_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

}  // namespace platform
