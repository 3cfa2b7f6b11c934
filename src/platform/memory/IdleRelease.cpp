#include "platform/memory/IdleRelease.h"

#include <malloc.h>

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <mutex>
#include <vector>

namespace platform {
namespace {

constexpr int kIdleMilliseconds = 60 * 1000;

// Memory is kept on the clipboard reader's thread too (the decoders' blocks): the list is shared.
// Each release is known by its key (the function, or the object that keeps the memory). The lock
// is held while the releases run, so an object that goes away waits for its own; a release may
// keep memory again (a freed block joins the kept ones), hence a lock the same thread may retake.
struct Release {
    const void* key;
    std::function<void()> release;
};
std::recursive_mutex releasesLock;
std::vector<Release> releases;
unsigned keptCount = 0;  // how often memory was kept, under the lock

void Register(const void* key, const std::function<void()>& release) {
    const std::lock_guard lock(releasesLock);
    ++keptCount;
    if (std::none_of(releases.begin(), releases.end(), [key](const Release& r) { return r.key == key; }))
        releases.push_back({key, release});
}

void ReleaseAll() {
    {
        const std::lock_guard lock(releasesLock);
        // A release may free memory that joins another's kept memory (a picture's pixel block, the
        // kept blocks): once more, until a pass keeps nothing new.
        for (int pass = 0; pass < 4; ++pass) {
            const unsigned before = keptCount;
            const std::vector<Release> all = releases;
            for (const Release& r : all) r.release();
            if (keptCount == before) break;
        }
    }
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

void StartTheMinute() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (QThread::currentThread() == app->thread())
        Restart();
    else
        QMetaObject::invokeMethod(app, &Restart, Qt::QueuedConnection);
}

}  // namespace

void KeptForNextUse(void (*release)()) {
    Register(reinterpret_cast<const void*>(release), release);
    StartTheMinute();
}

KeptMemory::KeptMemory(std::function<void()> release) : release_(std::move(release)) {}

KeptMemory::~KeptMemory() {
    const std::lock_guard lock(releasesLock);
    std::erase_if(releases, [this](const Release& r) { return r.key == this; });
}

void KeptMemory::KeptNow() {
    Register(this, release_);
    StartTheMinute();
}

}  // namespace platform
