#include "platform/memory/IdleRelease.h"

#include <malloc.h>

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <mutex>
#include <vector>

namespace platform {
namespace {

constexpr int kIdleMilliseconds = 60 * 1000;

// Memory is kept on the clipboard reader's thread too (the decoders' blocks): the list is shared.
std::mutex releasesLock;
std::vector<void (*)()> releases;

void ReleaseAll() {
    std::vector<void (*)()> all;
    {
        const std::lock_guard lock(releasesLock);
        all = releases;
    }
    for (auto release : all) release();
    // Freed blocks below the allocator's mapping threshold stay in its heap until trimmed.
    malloc_trim(0);
}

// On the application's thread, where its timers live: the minute starts again.
void Restart() {
    static QPointer<QTimer> timer;
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

}  // namespace

void KeptForNextUse(void (*release)()) {
    {
        const std::lock_guard lock(releasesLock);
        if (std::find(releases.begin(), releases.end(), release) == releases.end())
            releases.push_back(release);
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (QThread::currentThread() == app->thread())
        Restart();
    else
        QMetaObject::invokeMethod(app, &Restart, Qt::QueuedConnection);
}

}  // namespace platform
