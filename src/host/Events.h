#pragma once
// How events reach the program's handlers. Every handler the toolkit calls runs through RunEvent:
// to completion, never inside another handler, and with any error it lets out shown by the host's
// handling of unhandled errors, after which the program goes on.

#include <functional>

namespace host {

// Runs one event handler. If another handler is still running (the toolkit sometimes delivers
// events while it waits on the system), the event is queued and runs after that one has finished.
void RunEvent(std::function<void()> handler);

// True while an event handler runs.
bool InEvent();

}  // namespace host
