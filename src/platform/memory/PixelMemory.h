#pragma once
// Zeroed pixel blocks for bitmaps, with the last two large freed blocks kept for the next ones.
//
// A capture makes one screen-sized bitmap after another. A fresh block of tens of megabytes pays a
// page fault for every page the first time it is written, which costs tens of milliseconds; the
// block of the previous capture is already mapped, and clearing it is several times cheaper. Small
// blocks go straight to the C allocator. Every block handed out reads all zeros, unless it is asked
// for uninitialised because its user overwrites it whole. Blocks may be taken and given back on
// any thread.

#include <cstddef>
#include <cstdint>

namespace platform {

// The largest pixel block a bitmap or a picture may have; anything larger is refused like a failed
// allocation.
inline constexpr std::int64_t kMaxPixelBytes = std::int64_t{1} << 30;

class PixelBlock {
public:
    PixelBlock() = default;
    ~PixelBlock();
    PixelBlock(PixelBlock&& other) noexcept;
    PixelBlock& operator=(PixelBlock&& other) noexcept;
    PixelBlock(const PixelBlock&) = delete;
    PixelBlock& operator=(const PixelBlock&) = delete;

    // A block of at least `size` zero bytes (at least one byte); an empty block when memory is short.
    static PixelBlock Zeroed(std::size_t size);
    // The same for memory that the caller writes in full at once: its bytes are left as they are.
    static PixelBlock Uninitialised(std::size_t size);
    // The same for a buffer that outgrows its block while it fills, to a size nobody announced: the
    // largest kept block when it holds `size`, so that the rest most likely fits without another
    // copy of everything so far.
    static PixelBlock ForGrowth(std::size_t size);
    // Gives the kept blocks back to the system.
    static void ReleaseKept();

    std::uint8_t* Data() const { return data_; }
    std::size_t Capacity() const { return capacity_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    PixelBlock(std::uint8_t* data, std::size_t capacity) : data_(data), capacity_(capacity) {}
    // A fresh block from the C allocator, after giving the kept ones back if memory is short.
    static PixelBlock Allocated(std::size_t size);
    void Release();

    std::uint8_t* data_ = nullptr;
    std::size_t capacity_ = 0;
};

}  // namespace platform
