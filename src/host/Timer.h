#pragma once
// A timer whose tick handler runs as an event of its own, every Interval milliseconds while enabled.

#include <QTimer>
#include <functional>

namespace host {

class Timer {
public:
    explicit Timer(int intervalMs);
    bool Enabled() const { return timer_.isActive(); }
    void SetEnabled(bool enabled);
    int Interval() const { return timer_.interval(); }
    void OnTimer(std::function<void()> handler) { onTimer_ = std::move(handler); }
    // What one tick does, for code and tests that drive the timer by hand.
    void Tick();

private:
    QTimer timer_;
    std::function<void()> onTimer_;
};

}  // namespace host
