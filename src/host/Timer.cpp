#include "host/Timer.h"

#include "host/Events.h"

namespace host {

Timer::Timer(QObject* form, int intervalMs) : timer_(form) {
    timer_.setInterval(intervalMs);
    timer_.setTimerType(Qt::CoarseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        if (onTimer_) RunEvent(onTimer_, &timer_);
    });
}

void Timer::SetEnabled(bool enabled) {
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

void Timer::Tick() {
    if (onTimer_) onTimer_();
}

}  // namespace host
