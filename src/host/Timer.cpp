#include "host/Timer.h"

#include "host/Events.h"

namespace host {

Timer::Timer(int intervalMs) {
    timer_.setInterval(intervalMs);
    timer_.setTimerType(Qt::CoarseTimer);
    // The timer is this object's own, so its ticks end with it.
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
