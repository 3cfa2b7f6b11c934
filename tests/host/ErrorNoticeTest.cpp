#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <cerrno>

#include "host/ErrorNotice.h"
#include "host/Events.h"
#include "host/HostError.h"

namespace {

TEST(UnhandledErrors, ShowOneNoticeThatLaterErrorsReuse) {
    host::RunEvent([] { host::RaiseError(host::kPathNotFound); });
    QWidget* first = host::ErrorNotice::Window();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(host::ErrorNotice::CurrentText(), QStringLiteral("Run-time error '76':\n\nPath not found"));

    host::RunEvent(
        [] { host::RaiseError(26001, "tallowin.mIntelJPEGLibrary", "Failed to save to JPG -5", 48); });
    EXPECT_EQ(host::ErrorNotice::Window(), first);
    EXPECT_EQ(host::ErrorNotice::CurrentText(),
              QStringLiteral("Run-time error '26001':\n\nFailed to save to JPG -5"));
    first->close();
    QApplication::processEvents();
}

TEST(UnhandledErrors, ARepeatedErrorIsLoggedOnceAndSuccessClosesTheNotice) {
    const auto diskFull = [] {
        host::HostError error(host::kDiskFull, "tallowin", "Disk full");
        error.SetDetail(host::FileErrorDetail("/home/ann/scrn004.jpg", ENOSPC));
        throw error;
    };
    testing::internal::CaptureStderr();
    for (int tick = 0; tick < 3; ++tick) host::RunEvent(diskFull);
    const std::string logged = testing::internal::GetCapturedStderr();
    const auto first = logged.find("Disk full /home/ann/scrn004.jpg: No space left on device");
    EXPECT_NE(first, std::string::npos) << logged;
    EXPECT_EQ(logged.find("Disk full", first + 1), std::string::npos) << logged;
    EXPECT_EQ(host::ErrorNotice::CurrentText(),
              QStringLiteral(
                  "Run-time error '61':\n\nDisk full\n\n/home/ann/scrn004.jpg: No space left on device"));

    testing::internal::CaptureStderr();
    host::ErrorNotice::Resolved(QStringLiteral("saved scrn004.jpg"));
    QApplication::processEvents();
    EXPECT_TRUE(host::ErrorNotice::CurrentText().isEmpty());
    host::RunEvent(diskFull);  // the same error after a success is news again
    const std::string again = testing::internal::GetCapturedStderr();
    EXPECT_NE(again.find("resolved: saved scrn004.jpg"), std::string::npos) << again;
    EXPECT_NE(again.find("Disk full"), std::string::npos) << again;
    host::ErrorNotice::Window()->close();
    QApplication::processEvents();
}

// Screen readers speak a notification as it shows, with its text; they pass over a plain window that
// does not take the focus. (What they are told, over AT-SPI, is checked end to end.)
TEST(UnhandledErrors, TheNoticeIsANotificationForScreenReaders) {
    host::RunEvent([] { host::RaiseError(host::kPathNotFound); });
    QWidget* notice = host::ErrorNotice::Window();
    ASSERT_NE(notice, nullptr);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(notice);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Notification);
    notice->close();
    QApplication::processEvents();
}

TEST(UnhandledErrors, HandlersNeverRunInsideEachOther) {
    std::vector<int> order;
    host::RunEvent([&] {
        order.push_back(1);
        host::RunEvent([&] { order.push_back(3); });  // delivered while the first still runs
        order.push_back(2);
    });
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    QTest::qWait(20);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

}  // namespace
