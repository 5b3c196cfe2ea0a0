// SIGTERM and SIGINT as a close request: the first reaches the handler
// through the event loop, a second one ends the process at once, and without
// a handler both have their default action again.

#include "platform/os/QuitSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

bool PumpUntil(const std::function<bool()>& Done, int Ms)
{
    QElapsedTimer t;
    t.start();
    while (!Done() && t.elapsed() < Ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return Done();
}

}  // namespace

TEST(QuitSignals, TheFirstSignalReachesTheHandlerInTheEventLoop)
{
    for (int sig : {SIGTERM, SIGINT}) {
        std::vector<int> seen;
        WatchQuitSignals([&](int Signal) { seen.push_back(Signal); });
        ASSERT_EQ(::raise(sig), 0);
        EXPECT_TRUE(seen.empty());  // not inside the signal handler
        ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); }, 2000));
        EXPECT_EQ(seen, std::vector<int>{sig});
        EXPECT_STREQ(QuitSignalName(sig), sig == SIGTERM ? "SIGTERM" : "SIGINT");
        WatchQuitSignals(nullptr);
    }
}

TEST(QuitSignalsDeathTest, ASecondSignalEndsTheProcessAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            bool closing = false;
            // A close that takes its time: the second signal does not wait.
            WatchQuitSignals([&](int) { closing = true; });
            ::raise(SIGTERM);
            PumpUntil([&] { return closing; }, 2000);
            ::raise(SIGTERM);
            PumpUntil([] { return false; }, 2000);
            std::exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
}

TEST(QuitSignalsDeathTest, WithoutAHandlerTheDefaultActionIsBack)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            WatchQuitSignals([](int) {});
            WatchQuitSignals(nullptr);
            ::raise(SIGINT);
            PumpUntil([] { return false; }, 1000);
            std::exit(0);
        },
        testing::KilledBySignal(SIGINT), "");
}
