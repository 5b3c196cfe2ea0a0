// The fork-join: recursive computations, waiting threads that help,
// time-outs and failing computations.

#include "ParallelTestSupport.h"

#include "tasks/WeftForkJoin.h"

#include <thread>

namespace {

class WeftForkJoin : public ParallelTest {};

int64_t SerialFib(int n)
{
    return n < 2 ? n : SerialFib(n - 1) + SerialFib(n - 2);
}

int64_t ParallelFib(const PWeftForkJoin<int64_t>& fj, int n)
{
    if (n < 15)
        return SerialFib(n);
    auto left = fj->Compute([fj, n] { return ParallelFib(fj, n - 1); });
    const int64_t right = ParallelFib(fj, n - 2);
    return left->Value() + right;
}

TEST_F(WeftForkJoin, ParallelFibonacci)
{
    for (int workers : {1, 3, 8}) {
        auto fj = ParallelForkJoin<int64_t>()->NumTasks(workers);
        EXPECT_EQ(ParallelFib(fj, 27), 196418) << workers;
    }
}

TEST_F(WeftForkJoin, APendingComputationRunsOnTheWaitingThread)
{
    auto fj = ParallelForkJoin<int64_t>()->NumTasks(1);
    std::atomic<bool> release{false}, started{false};
    // The only worker is kept busy, so the next computation stays queued.
    auto busy = fj->Compute([&] {
        started = true;
        while (!release.load())
            std::this_thread::yield();
        return int64_t(1);
    });
    while (!started.load())
        std::this_thread::yield();
    const DWORD me = GetThreadId();
    auto mine = fj->Compute([] { return int64_t(GetThreadId()); });
    EXPECT_EQ(mine->Value(), int64_t(me));
    release = true;
    EXPECT_EQ(busy->Value(), 1);
}

TEST_F(WeftForkJoin, TryValueHonoursItsTimeOut)
{
    auto fj = ParallelForkJoin<bool>()->NumTasks(2);
    std::atomic<bool> release{false}, started{false};
    auto slow = fj->Compute([&] {
        started = true;
        while (!release.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    });
    // A worker runs it, so the wait cannot run it itself.
    while (!started.load())
        std::this_thread::yield();
    bool value = false;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(slow->TryValue(30, value));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25));
    EXPECT_FALSE(slow->TryValue(0, value));
    release = true;
    EXPECT_TRUE(slow->TryValue(INFINITE, value));
    EXPECT_TRUE(value);
    EXPECT_THROW(slow->Execute(), EAssertionFailed);
}

TEST_F(WeftForkJoin, AFailingComputationRaisesInItsWaiter)
{
    for (int workers : {1, 4}) {
        auto fj = ParallelForkJoin<int64_t>()->NumTasks(workers);
        std::vector<PWeftCompute<int64_t>> all;
        for (int i = 0; i < 50; ++i)
            all.push_back(fj->Compute([i]() -> int64_t {
                if (i == 25)
                    throw Exception(QStringLiteral("computation 25"));
                return i;
            }));
        int64_t sum = 0;
        for (int i = 0; i < 50; ++i) {
            if (i == 25)
                EXPECT_THROW(all[size_t(i)]->Value(), Exception);
            else
                sum += all[size_t(i)]->Value();
        }
        EXPECT_EQ(sum, 1225 - 25);
        // The fork-join goes on after idle periods and failures.
        EXPECT_EQ(fj->Compute([] { return int64_t(5); })->Value(), 5);
    }
}

TEST_F(WeftForkJoin, ComputationsWithoutResult)
{
    std::atomic<int> n{0};
    auto fj = ParallelForkJoin();
    std::vector<PWeftComputeVoid> all;
    for (int i = 0; i < 100; ++i)
        all.push_back(fj->Compute([&] { ++n; }));
    for (auto& c : all)
        c->Await();
    EXPECT_EQ(n.load(), 100);
    EXPECT_THROW(ParallelForkJoin()->NumTasks(0), EAssertionFailed);
}

}  // namespace
