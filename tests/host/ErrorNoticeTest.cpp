#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

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
