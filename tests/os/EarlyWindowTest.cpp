// A window made on the main thread before the application object exists is
// served by the event loop once the application is there.
#include "platform/os/MessageWindow.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <gtest/gtest.h>
#include <thread>

namespace {
HWND gEarlyWnd = 0;
int gEarlyCalls = 0;
}  // namespace

TEST(MessageWindow, AWindowMadeBeforeTheApplicationIsServedByItsEventLoop)
{
    std::thread([] { PostMessage(gEarlyWnd, WM_USER); }).join();
    const uint64_t start = OsMonotonicMs();
    while (gEarlyCalls == 0 && OsMonotonicMs() - start < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(gEarlyCalls, 1);
    DeallocateMessageWindow(gEarlyWnd);
}

int main(int argc, char** argv)
{
    gEarlyWnd = AllocateMessageWindow([](TMessage&) { ++gEarlyCalls; });
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
