#include "host/Events.h"

#include <QCoreApplication>
#include <QTimer>
#include <exception>

#include "host/ErrorNotice.h"
#include "host/HostError.h"

namespace host {
namespace {
int depth = 0;
}

bool InEvent() { return depth > 0; }

void RunEvent(std::function<void()> handler) {
    if (depth > 0) {
        QTimer::singleShot(0, QCoreApplication::instance(), [h = std::move(handler)]() mutable { RunEvent(std::move(h)); });
        return;
    }
    ++depth;
    try {
        handler();
    } catch (const HostError& e) {
        ErrorNotice::Show(e);
    } catch (const std::exception& e) {
        ErrorNotice::Show(HostError(51, QStringLiteral("tallowin"), QString::fromLocal8Bit(e.what())));
    }
    --depth;
}

}  // namespace host
