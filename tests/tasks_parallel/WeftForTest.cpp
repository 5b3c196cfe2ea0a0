// The parallel For loop: partitions, directions, empty ranges,
// cancellation, waits and failing bodies.

#include "ParallelTestSupport.h"

#include "tasks/WeftFor.h"

#include <mutex>
#include <thread>

namespace {

class WeftFor : public ParallelTest {};

TEST_F(WeftFor, PartitionsSpreadTheRangeFromTheHighestIndex)
{
    const auto p = WeftCreatePartitions(1, 10, 1, 4);
    ASSERT_EQ(p.size(), 4u);
    const std::vector<std::pair<int, int>> expected{{8, 10}, {5, 7}, {3, 4}, {1, 2}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(p[i].LowBound, expected[i].first) << i;
        EXPECT_EQ(p[i].HighBound, expected[i].second) << i;
    }
    const auto two = WeftCreatePartitions(1, 2, 1, 4);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].LowBound, 2);
    EXPECT_EQ(two[1].LowBound, 1);
    EXPECT_TRUE(WeftCreatePartitions(5, 4, 1, 4).empty());
    EXPECT_TRUE(WeftCreatePartitions(5, 2, 1, 4).empty());
}

TEST_F(WeftFor, EveryIndexRunsOnceOnItsWorker)
{
    std::mutex lock;
    std::map<int, int> worker;
    std::map<int, int> seen;
    ParallelFor(1, 10)->NumTasks(4)->Execute([&](int32_t k, int32_t i) {
        std::lock_guard g(lock);
        worker[i] = k;
        ++seen[i];
    });
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(seen[i], 1) << i;
        EXPECT_EQ(worker[i], i >= 8 ? 0 : i >= 5 ? 1 : i >= 3 ? 2 : 3) << i;
    }
}

TEST_F(WeftFor, ChunksCoverThePartitions)
{
    std::atomic<int64_t> sum{0};
    std::atomic<int> calls{0};
    ParallelFor(1, 1000, 2)->NumTasks(4)->ExecuteChunks([&](int32_t, int32_t from, int32_t to) {
        ++calls;
        for (int32_t i = from; i <= to; i += 2)
            sum += i;
    });
    EXPECT_EQ(calls.load(), 4);
    EXPECT_EQ(sum.load(), 250000);
}

TEST_F(WeftFor, DescendingAndSteppedRanges)
{
    struct Case {
        int32_t first, last, step;
        int64_t sum;
        int count;
    };
    for (const Case& c : {Case{10, 1, -1, 55, 10}, Case{0, 99999, 3, 1666683333, 33334}, Case{100, -100, -7, 58, 29}}) {
        std::atomic<int64_t> sum{0};
        std::atomic<int> count{0};
        ParallelFor(c.first, c.last, c.step)->NumTasks(3)->Execute([&](int32_t i) {
            sum += i;
            ++count;
        });
        EXPECT_EQ(sum.load(), c.sum) << c.first;
        EXPECT_EQ(count.load(), c.count) << c.first;
    }
    EXPECT_THROW(ParallelFor(1, 10, 0), Exception);
    EXPECT_THROW(ParallelFor(1, 10)->NumTasks(0), EAssertionFailed);
}

TEST_F(WeftFor, AnEmptyRangeStartsNoWorkerAndStillCallsTheStopHandler)
{
    bool stopped = false;
    auto loop = ParallelFor(5, 4)->OnStop([&] { stopped = true; });
    loop->Execute([](int32_t) { ADD_FAILURE(); });
    EXPECT_TRUE(stopped);
    EXPECT_EQ(loop->NumWorkersStarted(), 0);
}

TEST_F(WeftFor, InitializerAndFinalizerSeeThePartitionBounds)
{
    std::mutex lock;
    std::vector<std::tuple<int, int, int>> init, fin;
    ParallelFor(1, 10)
        ->NumTasks(4)
        ->Initialize([&](int32_t k, int32_t from, int32_t to) {
            std::lock_guard g(lock);
            init.emplace_back(k, from, to);
        })
        ->Finalize([&](int32_t k, int32_t from, int32_t to) {
            std::lock_guard g(lock);
            fin.emplace_back(k, from, to);
        })
        ->Execute([](int32_t) {});
    std::sort(init.begin(), init.end());
    std::sort(fin.begin(), fin.end());
    const std::vector<std::tuple<int, int, int>> expected{{0, 8, 10}, {1, 5, 7}, {2, 3, 4}, {3, 1, 2}};
    EXPECT_EQ(init, expected);
    EXPECT_EQ(fin, expected);
}

TEST_F(WeftFor, CancellationStopsEveryWorker)
{
    auto token = CreateWeftCancellationToken();
    std::atomic<int> done{0};
    std::thread canceller([&] {
        while (done.load() < 200)
            std::this_thread::yield();
        token->Signal();
    });
    ParallelFor(1, 2000000000)->NumTasks(4)->CancelWith(token)->Execute([&](int32_t) {
        ++done;
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    });
    canceller.join();
    EXPECT_LT(done.load(), 1000000);
}

TEST_F(WeftFor, NoWaitLoopIsSeenThroughWaitFor)
{
    std::atomic<bool> release{false};
    auto loop = ParallelFor(1, 4)->NumTasks(2)->NoWait();
    loop->Execute([&](int32_t) {
        while (!release.load())
            std::this_thread::yield();
    });
    EXPECT_FALSE(loop->WaitFor(0));
    release = true;
    EXPECT_TRUE(loop->WaitFor(10000));
    EXPECT_TRUE(loop->WaitFor(0));
}

TEST_F(WeftFor, FailingBodiesAndFinalizersStillEndTheLoop)
{
    std::atomic<int> ran{0};
    try {
        ParallelFor(1, 100)->NumTasks(4)->Execute([&](int32_t i) {
            ++ran;
            if (i % 10 == 0)
                throw Exception(QStringLiteral("index %1").arg(i));
        });
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("index ")));
    }
    EXPECT_THROW(ParallelFor(1, 10)
                     ->NumTasks(2)
                     ->Finalize([](int32_t, int32_t, int32_t) { throw Exception(QStringLiteral("finalizer")); })
                     ->Execute([](int32_t) {}),
                 Exception);
}

}  // namespace
