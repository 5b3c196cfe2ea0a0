// The timed task: periodic runs on its own thread, stop and start, runs on
// demand, and the interval check.

#include "ParallelTestSupport.h"

#include "tasks/WeftTimedTask.h"

#include <thread>

namespace {

class WeftTimedTask : public ParallelTest {};

bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST_F(WeftTimedTask, RunsPeriodicallyOnItsOwnThreadAndStopsAndStarts)
{
    std::atomic<int> runs{0};
    std::atomic<DWORD> thread{0};
    auto timed = ParallelTimedTask()->Every(20)->Execute([&] {
        thread = GetThreadId();
        ++runs;
    });
    EXPECT_TRUE(timed->Active());
    EXPECT_EQ(timed->Interval(), 20);
    EXPECT_TRUE(WaitUntil([&] { return runs.load() >= 3; }));
    EXPECT_NE(thread.load(), GetThreadId());

    timed->Stop();
    EXPECT_FALSE(timed->Active());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a run may be under way
    const int stoppedAt = runs.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_EQ(runs.load(), stoppedAt);

    timed->Start();
    EXPECT_TRUE(WaitUntil([&] { return runs.load() >= stoppedAt + 2; }));
    EXPECT_TRUE(timed->Terminate(5000));
}

TEST_F(WeftTimedTask, ExecuteWithoutIntervalRunsNothingUntilOneIsSet)
{
    std::atomic<int> runs{0};
    auto timed = ParallelTimedTask()->Execute([&] { ++runs; });
    EXPECT_TRUE(timed->Active());
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(runs.load(), 0);
    timed->SetInterval(10);
    EXPECT_TRUE(WaitUntil([&] { return runs.load() >= 2; }));
}

TEST_F(WeftTimedTask, ExecuteNowRunsAtOnceAndTheNextRunComesAnIntervalLater)
{
    std::atomic<int> runs{0};
    auto timed = ParallelTimedTask()->Every(60000)->Execute([&] { ++runs; });
    timed->ExecuteNow();
    EXPECT_TRUE(WaitUntil([&] { return runs.load() == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(runs.load(), 1);
}

TEST_F(WeftTimedTask, AnIntervalMustBePositive)
{
    auto timed = ParallelTimedTask();
    try {
        timed->SetInterval(0);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TWeftTimedTask.SetInterval: Invalid interval 0"));
    }
    EXPECT_THROW(timed->Every(-5), Exception);
    EXPECT_EQ(timed->Interval(), 0);
}

}  // namespace
