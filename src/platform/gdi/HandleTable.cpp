#include "platform/gdi/HandleTable.h"

#include <utility>

namespace platform {

HandleTable& HandleTable::Instance() {
    static HandleTable table;
    return table;
}

HandleTable::HandleTable() : stock_(std::move(*GdiBitmap::Make(1, 1, 32, false))) {}

// Handles count up in steps of 4 from 0x100, as Windows hands them out: never 0 (no handle), never
// the stock bitmap's 0x80, never a small number a caller might mistake for a count or a flag, and
// never the same twice in a run (the 64-bit count does not wrap). Called under the lock.
HANDLE HandleTable::NextHandle() {
    const HANDLE handle = next_;
    next_ += 4;
    return handle;
}

HANDLE HandleTable::Add(GdiBitmap bitmap) {
    const std::lock_guard hold(lock_);
    const HANDLE handle = NextHandle();
    objects_.emplace(handle, std::move(bitmap));
    return handle;
}

HANDLE HandleTable::Add(GdiDC dc) {
    const std::lock_guard hold(lock_);
    const HANDLE handle = NextHandle();
    objects_.emplace(handle, dc);
    return handle;
}

GdiBitmap* HandleTable::Bitmap(HANDLE handle) {
    if (handle == kStockBitmap) return &stock_;
    const std::lock_guard hold(lock_);
    const auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : std::get_if<GdiBitmap>(&it->second);
}

GdiDC* HandleTable::DC(HANDLE handle) {
    const std::lock_guard hold(lock_);
    const auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : std::get_if<GdiDC>(&it->second);
}

bool HandleTable::Remove(HANDLE handle) {
    // The object is freed outside the lock: a big bitmap's pages take a while to give back.
    decltype(objects_)::node_type gone;
    {
        const std::lock_guard hold(lock_);
        gone = objects_.extract(handle);
    }
    return !gone.empty();
}

std::size_t HandleTable::AliveCount() const {
    const std::lock_guard hold(lock_);
    return objects_.size();
}

}  // namespace platform
