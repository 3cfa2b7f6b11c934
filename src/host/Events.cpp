#include "host/Events.h"

#include <QCoreApplication>
#include <QTimer>
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

}  // namespace

void RunEvent(std::function<void()> handler, QObject* receiver) {
    if (depth > 0) {
        QObject* context = receiver ? receiver : QCoreApplication::instance();
        QTimer::singleShot(
            0, context, [h = std::move(handler), receiver]() mutable { RunEvent(std::move(h), receiver); });
        return;
    }
    Running running;
    try {
        handler();
    } catch (const HostError& e) {
        ErrorNotice::Show(e);
    } catch (const std::exception& e) {
        ErrorNotice::Show(HostError(kInternalError, App::EXEName(), QString::fromLocal8Bit(e.what())));
    }
}

}  // namespace host
