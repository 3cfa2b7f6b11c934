#pragma once
// How events reach the program's handlers. Every handler the toolkit calls runs through RunEvent:
// to completion, never inside another handler, and with any error it lets out shown by the host's
// handling of unhandled errors, after which the program goes on.

#include <functional>

class QObject;

namespace host {

// Runs one event handler. If another handler is still running (the toolkit sometimes delivers
// events while it waits on the system), the event is queued and runs after that one has finished,
// unless `receiver` (the widget the event is for) is gone by then.
void RunEvent(std::function<void()> handler, QObject* receiver = nullptr);

}  // namespace host
