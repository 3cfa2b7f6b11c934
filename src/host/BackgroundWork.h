#pragma once
// Long work away from the interface thread, seen by its caller as one call: the window goes on
// answering the window manager and painting while it runs.

#include <functional>

namespace host {

// Runs work on a thread of its own and returns when it is done. Meanwhile the calling (interface)
// thread goes on with its events: the window manager's pings, painting, the clipboard's news.
// Event handlers that come meanwhile wait until the running one has finished (RunEvent), so
// nothing the user does acts in the middle. An error work raises is raised here, on the calling
// thread. Told to end meanwhile, the application still waits here for work to finish.
void RunInBackground(const std::function<void()>& work);

}  // namespace host
