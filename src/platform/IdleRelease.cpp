#include "platform/IdleRelease.h"

#include <malloc.h>

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace platform {
namespace {

constexpr int kIdleMilliseconds = 60 * 1000;

std::vector<void (*)()> releases;

void ReleaseAll() {
    for (auto release : releases) release();
    // Freed blocks below the allocator's mapping threshold stay in its heap until trimmed.
    malloc_trim(0);
}

}  // namespace

void KeptForNextUse(void (*release)()) {
    static QPointer<QTimer> timer;
    if (std::find(releases.begin(), releases.end(), release) == releases.end()) releases.push_back(release);
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (!timer) {
        timer = new QTimer(app);
        timer->setSingleShot(true);
        timer->setInterval(kIdleMilliseconds);
        QObject::connect(timer, &QTimer::timeout, app, &ReleaseAll);
    }
    timer->start();
}

}  // namespace platform
