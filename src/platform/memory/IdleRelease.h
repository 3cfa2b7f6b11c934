#pragma once
// Memory kept from one capture for the next goes back to the system a minute after it was last
// used: while grabs come it saves the next one fresh pages, and when they stop the program shrinks
// back to its size at start.

#include <functional>

namespace platform {

// Says that memory was kept just now; `release` gives it back. Each call puts the release off
// for another minute. Without a running application the memory is simply kept. Safe on any thread
// (the minute is kept on the application's thread).
void KeptForNextUse(void (*release)());

// The same for memory an object keeps: its release is known for as long as the object lives.
class KeptMemory {
public:
    explicit KeptMemory(std::function<void()> release);
    // No release runs once this returns.
    ~KeptMemory();
    KeptMemory(const KeptMemory&) = delete;
    KeptMemory& operator=(const KeptMemory&) = delete;

    // Says that memory was kept just now, as KeptForNextUse does.
    void KeptNow();

private:
    std::function<void()> release_;
};

}  // namespace platform
