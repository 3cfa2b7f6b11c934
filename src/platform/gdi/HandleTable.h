#pragma once
// The one table of graphics objects: it hands out a new handle for every bitmap and device
// context and answers for each handle what it stands for. Handle values are never reused, so a
// stale handle, like a foreign one or one of the wrong kind, finds nothing and is refused.
//
// The stock 1 x 1 bitmap that every new memory device context starts with belongs to the table for
// the whole run; it is not counted among the live objects and cannot be deleted.
// The table may be asked from any thread: a big grab is written away from the interface thread
// while that thread goes on painting. An object itself is used by one thread at a time; whoever
// holds its handle keeps it alive until that use is over.

#include <cstddef>
#include <mutex>
#include <unordered_map>
#include <variant>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/GdiTypes.h"

namespace platform {

class HandleTable {
public:
    static HandleTable& Instance();

    HANDLE Add(GdiBitmap bitmap);
    HANDLE Add(GdiDC dc);
    // The object behind a handle; null when the handle stands for nothing of that kind.
    GdiBitmap* Bitmap(HANDLE handle);
    GdiDC* DC(HANDLE handle);
    // Frees the object behind a handle; false when there is none.
    bool Remove(HANDLE handle);

    HBITMAP StockBitmap() const { return kStockBitmap; }
    // How many bitmaps and device contexts are alive, the stock bitmap not counted.
    std::size_t AliveCount() const;

private:
    HandleTable();
    HANDLE NextHandle();

    static constexpr HANDLE kStockBitmap = 0x80;
    mutable std::mutex lock_;  // guards next_ and objects_
    HANDLE next_ = 0x100;
    GdiBitmap stock_;
    std::unordered_map<HANDLE, std::variant<GdiBitmap, GdiDC>> objects_;
};

// How many graphics objects are alive: what a leak check compares.
inline std::size_t GdiObjectsAlive() { return HandleTable::Instance().AliveCount(); }

}  // namespace platform
