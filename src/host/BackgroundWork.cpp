#include "host/BackgroundWork.h"

#include <pthread.h>

#include <QEventLoop>
#include <exception>
#include <thread>

namespace host {

void RunInBackground(const std::function<void()>& work) {
    QEventLoop events;
    std::exception_ptr error;
    std::thread worker([&] {
        pthread_setname_np(pthread_self(), "background");  // as top -H and /proc show it
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        // Posted to the interface thread: it ends the loop there, even if the loop has not started.
        QMetaObject::invokeMethod(&events, &QEventLoop::quit, Qt::QueuedConnection);
    });
    events.exec();  // returns at once when the application is ending
    worker.join();
    if (error) std::rethrow_exception(error);
}

}  // namespace host
