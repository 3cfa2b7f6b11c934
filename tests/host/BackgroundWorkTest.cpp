#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/BackgroundWork.h"
#include "host/Events.h"
#include "host/HostError.h"

namespace {

using namespace std::chrono_literals;

// Work that lasts until the interface thread has had its say, or gives up after 5 s.
void WorkUntil(const std::atomic<bool>& answered) {
    for (int i = 0; i < 500 && !answered; ++i) std::this_thread::sleep_for(10ms);
}

TEST(BackgroundWork, TheInterfaceThreadGoesOnAndTheWorkRunsElsewhere) {
    std::atomic<bool> answered = false;
    std::thread::id workedOn;
    QTimer::singleShot(20, [&] { answered = true; });  // an event the interface thread must see
    host::RunInBackground([&] {
        workedOn = std::this_thread::get_id();
        WorkUntil(answered);
    });
    EXPECT_TRUE(answered);
    EXPECT_NE(workedOn, std::this_thread::get_id());
}

TEST(BackgroundWork, AnErrorOfTheWorkIsRaisedToTheCaller) {
    try {
        host::RunInBackground([] { host::RaiseError(host::kDiskFull, "tallowin", "Disk full"); });
        FAIL() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::kDiskFull);
    }
}

TEST(BackgroundWork, HandlersThatComeMeanwhileWaitForTheRunningOneInTheirOrder) {
    std::vector<std::string> seen;
    std::atomic<bool> answered = false;
    QObject gone;
    auto goneSoon = std::make_unique<QObject>();
    host::RunEvent([&] {
        // Three events come while the handler's work runs; the second one's receiver goes first.
        QTimer::singleShot(0, [&] { host::RunEvent([&] { seen.push_back("first"); }); });
        QTimer::singleShot(0, [&] { host::RunEvent([&] { seen.push_back("lost"); }, goneSoon.get()); });
        QTimer::singleShot(0, [&] {
            host::RunEvent([&] { seen.push_back("second"); }, &gone);
            goneSoon.reset();
            answered = true;
        });
        host::RunInBackground([&] { WorkUntil(answered); });
        seen.push_back("handler");
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"handler"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, (std::vector<std::string>{"handler", "first", "second"}));
}

TEST(BackgroundWork, AnApplicationToldToEndStillWaitsForTheWork) {
    std::atomic<bool> done = false;
    bool waited = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        host::RunInBackground([&] {
            std::this_thread::sleep_for(100ms);
            done = true;
        });
        waited = done;
    });
    QCoreApplication::exec();
    EXPECT_TRUE(waited);
}

}  // namespace
