#include "platform/memory/PixelMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

#include "platform/memory/IdleRelease.h"

namespace platform {

namespace {

// Blocks below this size are cheap to make afresh and are not kept.
constexpr std::size_t kKeepFrom = std::size_t{1} << 20;

// A capture holds two large blocks at once (the clipboard picture's bitmap and the buffer), and the
// next capture's picture is made while the previous one is still held: keeping two blocks lets every
// capture on the same screen reuse memory that is already mapped. Returning blocks to the system and
// mapping fresh ones is also what makes a multi-threaded process stop every thread for a TLB flush.
// Pictures are decoded on other threads than the one that uses them, so the kept blocks are shared
// under a lock.
struct Kept {
    std::uint8_t* data = nullptr;
    std::size_t capacity = 0;
};
Kept kept[2];
std::mutex keptLock;

enum class Pick { kSmallest, kLargest };

// The smallest (or largest) kept block that fits, taken out of the kept ones; none when none fits.
Kept TakeKept(std::size_t size, Pick pick = Pick::kSmallest) {
    if (size < kKeepFrom && pick == Pick::kSmallest) return {};
    const std::lock_guard lock(keptLock);
    Kept* best = nullptr;
    for (Kept& k : kept)
        if (k.data && k.capacity >= size &&
            (!best || (pick == Pick::kSmallest ? k.capacity < best->capacity : k.capacity > best->capacity)))
            best = &k;
    return best ? std::exchange(*best, Kept{}) : Kept{};
}

}  // namespace

PixelBlock PixelBlock::Zeroed(std::size_t size) {
    if (size == 0) size = 1;
    if (const Kept taken = TakeKept(size); taken.data) {
        std::memset(taken.data, 0, size);
        return PixelBlock(taken.data, taken.capacity);
    }
    auto* data = static_cast<std::uint8_t*>(std::calloc(size, 1));
    if (data == nullptr) {
        // Memory is short: the kept block may be what is missing.
        ReleaseKept();
        data = static_cast<std::uint8_t*>(std::calloc(size, 1));
    }
    return data ? PixelBlock(data, size) : PixelBlock();
}

PixelBlock PixelBlock::Uninitialised(std::size_t size) {
    if (size == 0) size = 1;
    if (const Kept taken = TakeKept(size); taken.data) return PixelBlock(taken.data, taken.capacity);
    return Allocated(size);
}

PixelBlock PixelBlock::ForGrowth(std::size_t size) {
    if (size == 0) size = 1;
    if (const Kept taken = TakeKept(size, Pick::kLargest); taken.data)
        return PixelBlock(taken.data, taken.capacity);
    return Allocated(size);
}

PixelBlock PixelBlock::Allocated(std::size_t size) {
    auto* data = static_cast<std::uint8_t*>(std::malloc(size));
    if (data == nullptr) {
        ReleaseKept();
        data = static_cast<std::uint8_t*>(std::malloc(size));
    }
    return data ? PixelBlock(data, size) : PixelBlock();
}

void PixelBlock::ReleaseKept() {
    const std::lock_guard lock(keptLock);
    for (Kept& k : kept) std::free(std::exchange(k, Kept{}).data);
}

void PixelBlock::Release() {
    if (data_ == nullptr) return;
    // Keep the block in an empty place, or in place of a smaller kept one.
    bool keptIt = false;
    {
        const std::lock_guard lock(keptLock);
        Kept* place = nullptr;
        if (capacity_ >= kKeepFrom)
            for (Kept& k : kept)
                if (!place || k.capacity < place->capacity) place = &k;
        if (place && place->capacity <= capacity_) {
            std::free(place->data);
            *place = Kept{data_, capacity_};
            keptIt = true;
        } else {
            std::free(data_);
        }
    }
    data_ = nullptr;
    capacity_ = 0;
    if (keptIt) KeptForNextUse(&PixelBlock::ReleaseKept);
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
