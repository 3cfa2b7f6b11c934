#include "host/Events.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <exception>

#include "host/App.h"
#include "host/ErrorNotice.h"
#include "host/HostError.h"

namespace host {
namespace {

int depth = 0;

// Counts a running handler for as long as it runs, however it ends.
class Running {
public:
    Running() { ++depth; }
    ~Running() { --depth; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
};

// Handlers that came while another ran, in the order they came. They wait here, not in the event
// queue: a handler that lets events through for a while (a big grab being written) would otherwise
// see them posted back again and again, and the interface thread would spin meanwhile.
struct Waiting {
    std::function<void()> handler;
    QPointer<QObject> receiver;
    bool forReceiver;  // false: for the application, which outlives them all
};
std::deque<Waiting> waiting;

void RunWaiting() {
    std::deque<Waiting> due;
    due.swap(waiting);
    for (Waiting& w : due)
        if (!w.forReceiver || w.receiver) RunEvent(std::move(w.handler), w.receiver);
}

}  // namespace

void RunEvent(std::function<void()> handler, QObject* receiver) {
    if (depth > 0) {
        waiting.push_back({std::move(handler), receiver, receiver != nullptr});
        return;
    }
    {
        Running running;
        try {
            handler();
        } catch (const HostError& e) {
            ErrorNotice::Show(e);
        } catch (const std::exception& e) {
            ErrorNotice::Show(HostError(kInternalError, App::EXEName(), QString::fromLocal8Bit(e.what())));
        }
    }
    if (!waiting.empty() && QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), &RunWaiting);
}

}  // namespace host
