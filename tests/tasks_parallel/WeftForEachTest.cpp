// The parallel ForEach loop on the shared pool: aggregates, ordered and
// unordered output, state, sources, cancellation and failing bodies.

#include "ParallelTestSupport.h"

#include "tasks/WeftForEach.h"

#include <QSet>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

class WeftForEach : public ParallelTest {};

std::vector<int64_t> Drain(const PWeftBlockingCollection& c)
{
    std::vector<int64_t> out;
    TWeftValue v;
    while (c->TryTake(v, 0))
        out.push_back(v.AsInt64());
    return out;
}

TEST_F(WeftForEach, AggregateSumIsTheSameForAnyNumberOfWorkers)
{
    for (int workers = 1; workers <= 16; ++workers) {
        const TWeftValue sum = ParallelForEach(1, 100)
                                   ->NumTasks(workers)
                                   ->AggregateSum()
                                   ->Execute([](const TWeftValue& v, TWeftValue& r) { r = v; });
        EXPECT_EQ(sum.AsInt64(), 5050) << workers << " workers";
    }
}

TEST_F(WeftForEach, AggregateWithNoWaitIsRefused)
{
    auto loop = ParallelForEach(1, 10)->NoWait()->AggregateSum();
    EXPECT_THROW(loop->Execute([](const TWeftValue& v, TWeftValue& r) { r = v; }), EAssertionFailed);
}

TEST_F(WeftForEach, OrderedIntoKeepsTheSourceOrderAndCompletesTheCollection)
{
    for (int workers : {2, 4, 8}) {
        auto output = CreateBlockingCollection();
        ParallelForEach(1, 1000)
            ->NumTasks(workers)
            ->PreserveOrder()
            ->Into(output)
            ->Execute([](const TWeftValue& v, TWeftValue& r) {
                if (v.AsInt64() % 3 == 0)
                    std::this_thread::yield();
                r = v;
            });
        EXPECT_TRUE(output->IsCompleted());
        const std::vector<int64_t> got = Drain(output);
        ASSERT_EQ(got.size(), 1000u) << workers;
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(got[size_t(i)], i + 1) << workers << " workers, position " << i;
    }
}

TEST_F(WeftForEach, UnorderedIntoDeliversAllNonEmptyResults)
{
    auto output = CreateBlockingCollection();
    ParallelForEach(1, 1000)->NumTasks(4)->Into(output)->Execute([](const TWeftValue& v, TWeftValue& r) {
        if (v.AsInt64() % 2 == 0)
            r = TWeftValue(v.AsInt64() * 10);  // odd items leave the result empty
    });
    std::vector<int64_t> got = Drain(output);
    std::sort(got.begin(), got.end());
    ASSERT_EQ(got.size(), 500u);
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], int64_t(i + 1) * 20);
}

TEST_F(WeftForEach, StateLoopInitializesAndFinalizesEveryWorker)
{
    std::mutex lock;
    int64_t total = 0;
    int finalized = 0;
    ParallelForEach(1, 10000)
        ->NumTasks(4)
        ->Initialize([](TWeftValue& state) { state = TWeftValue(int64_t(0)); })
        ->Finalize([&](const TWeftValue& state) {
            std::lock_guard g(lock);
            total += state.AsInt64();
            ++finalized;
        })
        ->Execute([](const TWeftValue& v, TWeftValue& state) { state = TWeftValue(state.AsInt64() + v.AsInt64()); });
    EXPECT_EQ(total, int64_t(10000) * 10001 / 2);
    EXPECT_EQ(finalized, 4);
}

TEST_F(WeftForEach, SourcesCollectionEnumeratorAndRange)
{
    auto collection = CreateBlockingCollection();
    for (int i = 1; i <= 500; ++i)
        collection->Add(TWeftValue(int32_t(i)));
    collection->CompleteAdding();
    EXPECT_EQ(ParallelForEach(collection)
                  ->AggregateSum()
                  ->Execute([](const TWeftValue& v, TWeftValue& r) { r = v; })
                  .AsInt64(),
              125250);

    int next = 0;
    EXPECT_EQ(ParallelForEach(TEnumeratorDelegate([&next](TWeftValue& v) {
                  if (next >= 300)
                      return false;
                  v = TWeftValue(int32_t(++next));
                  return true;
              }))
                  ->AggregateSum()
                  ->Execute([](const TWeftValue& v, TWeftValue& r) { r = v; })
                  .AsInt64(),
              45150);

    const std::vector<int> items{5, 6, 7, 8};
    std::atomic<int> sum{0};
    ParallelForEachOf(items)->Execute(WeftTyped<int>([&](int v) { sum += v; }));
    EXPECT_EQ(sum.load(), 26);

    auto output = CreateBlockingCollection();
    ParallelForEachOf(std::vector<QString>{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")})
        ->PreserveOrder()
        ->NumTasks(3)
        ->Into(output)
        ->Execute([](const TWeftValue& v, TWeftValue& r) { r = TWeftValue(v.AsString() + v.AsString()); });
    QStringList got;
    TWeftValue v;
    while (output->TryTake(v, 0))
        got << v.AsString();
    EXPECT_EQ(got, QStringList({"aa", "bb", "cc"}));
}

TEST_F(WeftForEach, CancellationStopsTheWorkersPromptly)
{
    auto token = CreateWeftCancellationToken();
    std::atomic<int64_t> done{0};
    std::thread canceller([&] {
        while (done.load() < 1000)
            std::this_thread::yield();
        token->Signal();
    });
    const auto start = std::chrono::steady_clock::now();
    ParallelForEach(1, 100000000)->NumTasks(4)->CancelWith(token)->Execute([&](const TWeftValue&) {
        ++done;
        std::this_thread::sleep_for(std::chrono::microseconds(10));
    });
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_LT(done.load(), 1000000);
}

TEST_F(WeftForEach, AnExceptionInABodyEndsTheLoopAndReachesTheCaller)
{
    std::atomic<int> ran{0};
    try {
        ParallelForEach(1, 1000)->NumTasks(4)->Execute([&](const TWeftValue& v) {
            ++ran;
            if (v.AsInt64() == 500)
                throw Exception(QStringLiteral("body failed at 500"));
        });
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("body failed at 500"));
    }
    EXPECT_GE(ran.load(), 500);

    // Every worker failing still ends the loop, also an ordered one.
    auto output = CreateBlockingCollection();
    EXPECT_THROW(ParallelForEach(1, 1000)
                     ->NumTasks(4)
                     ->PreserveOrder()
                     ->Into(output)
                     ->Execute([](const TWeftValue&, TWeftValue&) { throw Exception(QStringLiteral("always")); }),
                 Exception);
    EXPECT_TRUE(output->IsCompleted());
}

TEST_F(WeftForEach, NoWaitReportsThroughWaitForAndTheStopHandlerRunsOnTheOwner)
{
    const DWORD owner = GetThreadId();
    std::atomic<bool> release{false};
    std::atomic<DWORD> stopThread{0};
    {
        auto loop = ParallelForEach(1, 8)
                        ->NumTasks(2)
                        ->NoWait()
                        ->OnStopInvoke([&] { stopThread = GetThreadId(); });
        loop->Execute([&](const TWeftValue& v) {
            while (!release.load())
                std::this_thread::yield();
            if (v.AsInt64() == 3)
                throw Exception(QStringLiteral("three"));
        });
        EXPECT_FALSE(loop->WaitFor(0));
        release = true;
        EXPECT_TRUE(loop->WaitFor(10000));
        ASSERT_TRUE(loop->FatalException() != nullptr);
        EXPECT_TRUE(PumpUntil([&] { return stopThread.load() != 0; }));
    }
    EXPECT_EQ(stopThread.load(), owner);

    DWORD waitingStop = 0;
    ParallelForEach(1, 8)->OnStopInvoke([&] { waitingStop = GetThreadId(); })->Execute([](const TWeftValue&) {});
    EXPECT_EQ(waitingStop, owner);
}

TEST_F(WeftForEach, WorkerCountsAndTaskHooks)
{
    const int cpus = WeftProcessorCount();
    struct Case {
        int numTasks;  // 0: not set
        bool preserveOrder;
        int expected;
    };
    for (const Case& c : {Case{0, false, cpus}, Case{0, true, std::max(1, cpus - 1)}, Case{8, true, 8},
                          Case{3, false, 3}}) {
        std::mutex lock;
        QSet<int64_t> tasks;
        std::atomic<int> controls{0};
        auto loop = ParallelForEach(1, 10000);
        if (c.numTasks)
            loop->NumTasks(c.numTasks);
        if (c.preserveOrder)
            loop->PreserveOrder();
        loop->OnTaskCreate(TWeftTaskControlCreateDelegate([&](const PWeftTaskControl&) { ++controls; }));
        EXPECT_THROW(loop->OnTaskCreate(TWeftTaskDelegate([](const PWeftTask&) {})), EAssertionFailed);
        loop->Execute([&](const PWeftTask& task, const TWeftValue&) {
            std::lock_guard g(lock);
            tasks.insert(task->UniqueID());
        });
        EXPECT_EQ(controls.load(), c.expected);
        EXPECT_LE(tasks.size(), c.expected);
    }
    EXPECT_THROW(ParallelForEach(1, 2)->NumTasks(0), EAssertionFailed);
}

}  // namespace

namespace {

// The typed integer path, the value path with an inline body and the value
// path with a delegate each see every item exactly once, for any step, and
// their sums agree (items whose body leaves the result empty count nothing).
TEST_F(WeftForEach, TypedIntegerPathCoversEveryItemOnce)
{
    struct Case {
        int32_t Low, High, Step;
        int Workers;
    };
    for (const Case c : {Case{1, 10000, 1, 4}, Case{-50, 9000, 7, 3}, Case{5000, -5000, -3, 8}, Case{3, 3, 1, 2},
                         Case{10, 1, 1, 4}}) {
        std::vector<std::atomic<int>> seen(20001);
        auto loop = [&] { return ParallelForEach(c.Low, c.High, c.Step)->NumTasks(c.Workers); };
        auto mark = [&](int64_t i) { ++seen[size_t(i + 10000)]; };
        const std::function<void(const char*)> everyItemOnce = [&](const char* form) {
            for (int64_t i = c.Low; c.Step > 0 ? i <= c.High : i >= c.High; i += c.Step)
                ASSERT_EQ(seen[size_t(i + 10000)].exchange(0), 1) << form << " item " << i;
            for (const auto& s : seen)
                ASSERT_EQ(s.load(), 0) << form;
        };
        loop()->ExecuteInt(mark);
        everyItemOnce("typed");
        loop()->Execute([&](const TWeftValue& v) { mark(v.AsInt64()); });
        everyItemOnce("inline");
        loop()->Execute(TWeftIteratorDelegate([&](const TWeftValue& v) { mark(v.AsInt64()); }));
        everyItemOnce("delegate");

        int64_t expected = 0, expectedEven = 0;
        for (int64_t i = c.Low; c.Step > 0 ? i <= c.High : i >= c.High; i += c.Step) {
            expected += i * 2;
            expectedEven += i % 2 == 0 ? i : 0;
        }
        const TWeftValue sum = loop()->AggregateSum()->ExecuteInt([](int64_t i) { return i * 2; });
        EXPECT_EQ(sum.AsInt64(), expected) << c.Low << ".." << c.High << " by " << c.Step;
        auto evenOnly = [](const TWeftValue& v, TWeftValue& r) {
            if (v.AsInt64() % 2 == 0)
                r = v;
        };
        EXPECT_EQ(loop()->AggregateSum()->Execute(evenOnly).AsInt64(), expectedEven) << "inline";
        EXPECT_EQ(loop()->AggregateSum()->Execute(TWeftIteratorIntoDelegate(evenOnly)).AsInt64(), expectedEven)
            << "delegate";
    }

    auto collection = CreateBlockingCollection();
    for (int i = 1; i <= 500; ++i)
        collection->Add(TWeftValue(int32_t(i)));
    collection->CompleteAdding();
    EXPECT_EQ(ParallelForEach(collection)->AggregateSum()->ExecuteInt([](int64_t i) { return i; }).AsInt64(), 125250);

    // Only the sum folds without values; a body failure reaches the caller.
    auto loop = ParallelForEach(1, 10)->Aggregate(TWeftValue(), [](TWeftValue&, const TWeftValue&) {});
    EXPECT_THROW(loop->ExecuteInt([](int64_t i) { return i; }), EAssertionFailed);
    EXPECT_THROW(ParallelForEach(1, 1000)->NumTasks(4)->ExecuteInt([](int64_t i) {
        if (i == 700)
            throw Exception(QStringLiteral("typed body failed"));
    }),
                 Exception);
}

}  // namespace
