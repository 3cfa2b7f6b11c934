#pragma once
// Memory kept from one capture for the next goes back to the system a minute after it was last
// used: while grabs come it saves the next one fresh pages, and when they stop the program shrinks
// back to its size at start.

namespace platform {

// Says that memory was kept just now; `release` gives it back. Each call puts the release off
// for another minute. Without a running application the memory is simply kept. Safe on any thread
// (the minute is kept on the application's thread).
void KeptForNextUse(void (*release)());

}  // namespace platform
