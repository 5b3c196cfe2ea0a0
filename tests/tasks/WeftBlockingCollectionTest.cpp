#include "tasks/WeftBlockingCollection.h"

#include "tasks/OsWin32.h"

#include <gtest/gtest.h>
#include <atomic>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

TEST(BlockingCollection, TryTakeTimeouts)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    TWeftValue v;
    int64_t start = OsTimeGetTime64();
    EXPECT_FALSE(c->TryTake(v, 0));
    EXPECT_LT(OsTimeGetTime64() - start, 50) << "time-out 0 returns at once";
    start = OsTimeGetTime64();
    EXPECT_FALSE(c->TryTake(v, 60));
    EXPECT_GE(OsTimeGetTime64() - start, 55);
    c->Add(TWeftValue(int32_t(5)));
    EXPECT_EQ(c->Count(), 1);
    EXPECT_TRUE(c->TryTake(v, 0)) << "an item is returned without waiting";
    EXPECT_EQ(v.AsInteger(), 5);
    EXPECT_EQ(c->Count(), 0);
}

TEST(BlockingCollection, AWaitingTakerWakesForAnItem)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    std::thread producer([&] {
        std::this_thread::sleep_for(30ms);
        c->Add(TWeftValue(QStringLiteral("x")));
    });
    TWeftValue v;
    EXPECT_TRUE(c->TryTake(v, 5000));
    EXPECT_EQ(v.AsString(), QStringLiteral("x"));
    producer.join();
}

// A taker that watches before it waits: an item that comes during the watch
// or after it is taken, and completion during the watch ends the take.
TEST(BlockingCollection, AWatchingTakerTakesDuringAndAfterItsWatch)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    c->SpinBeforeWaiting(false);
    c->WatchBeforeWaiting_us(80000);
    for (const auto delay : {10ms, 150ms}) {
        std::thread producer([&] {
            std::this_thread::sleep_for(delay);
            c->Add(TWeftValue(int32_t(delay.count())));
        });
        TWeftValue v;
        EXPECT_TRUE(c->TryTake(v, 5000));
        EXPECT_EQ(v.AsInteger(), int32_t(delay.count()));
        producer.join();
    }
    std::thread completer([&] {
        std::this_thread::sleep_for(10ms);
        c->CompleteAdding();
    });
    TWeftValue v;
    EXPECT_FALSE(c->Take(v));
    completer.join();
}

TEST(BlockingCollection, CompletionDrainsThenRefuses)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    c->Add(TWeftValue(int32_t(1)));
    c->Add(TWeftValue(int32_t(2)));
    c->CompleteAdding();
    c->CompleteAdding();  // idempotent
    EXPECT_TRUE(c->IsCompleted());
    EXPECT_FALSE(c->IsFinalized());
    EXPECT_FALSE(c->TryAdd(TWeftValue(int32_t(3))));
    try {
        c->Add(TWeftValue(int32_t(3)));
        FAIL();
    } catch (const ECollectionCompleted& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Adding to completed collection"));
    }
    EXPECT_EQ(c->Next().AsInteger(), 1);
    TWeftValue v;
    EXPECT_TRUE(c->Take(v));
    EXPECT_EQ(v.AsInteger(), 2);
    const int64_t start = OsTimeGetTime64();
    EXPECT_FALSE(c->TryTake(v, INFINITE)) << "finished: no waiting";
    EXPECT_LT(OsTimeGetTime64() - start, 1000);
    EXPECT_TRUE(c->IsFinalized());
    try {
        c->Next();
        FAIL();
    } catch (const ECollectionCompleted& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Collection is empty"));
    }
}

TEST(BlockingCollection, CompleteAddingWakesWaitingTakers)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    std::vector<std::thread> takers;
    std::atomic<int> falses{0};
    for (int i = 0; i < 4; ++i)
        takers.emplace_back([&] {
            TWeftValue v;
            if (!c->Take(v))
                falses.fetch_add(1);
        });
    std::this_thread::sleep_for(30ms);
    c->CompleteAdding();
    for (auto& t : takers)
        t.join();
    EXPECT_EQ(falses.load(), 4);
}

TEST(BlockingCollection, ThrottlingHoldsProducersBetweenMarks)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    c->SetThrottling(10, 5);
    std::atomic<int> added{0};
    std::thread producer([&] {
        for (int i = 0; i < 11; ++i) {
            ASSERT_TRUE(c->TryAdd(TWeftValue(int32_t(i))));
            added.fetch_add(1);
        }
    });
    while (added.load() < 10)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(added.load(), 10) << "the 11th add waits at the high mark";
    TWeftValue v;
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(c->TryTake(v, 0));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(added.load(), 10) << "count 6 is still above the low mark";
    ASSERT_TRUE(c->TryTake(v, 0));
    producer.join();
    EXPECT_EQ(added.load(), 11);
    EXPECT_THROW(c->SetThrottling(20, 10), Exception) << "not once used";
}

TEST(BlockingCollection, CompleteAddingWhileProducersWaitUnderThrottling)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    c->SetThrottling(4, 2);
    std::vector<std::thread> producers;
    std::atomic<int> refused{0};
    for (int p = 0; p < 6; ++p)
        producers.emplace_back([&] {
            for (int i = 0; i < 100; ++i)
                if (!c->TryAdd(TWeftValue(int32_t(i)))) {
                    refused.fetch_add(1);
                    return;
                }
        });
    while (c->Count() < 4)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(20ms);
    c->CompleteAdding();  // must not wait for the held producers
    for (auto& t : producers)
        t.join();
    EXPECT_EQ(refused.load(), 6);
    TWeftValue v;
    int drained = 0;
    while (c->TryTake(v, 0))
        ++drained;
    EXPECT_GE(drained, 4);
    EXPECT_TRUE(c->IsFinalized());
}

TEST(BlockingCollection, CompletesItselfWhenAllParticipantsWait)
{
    PWeftBlockingCollection c = CreateBlockingCollection(2);
    std::atomic<int> falses{0};
    std::thread a([&] {
        TWeftValue v;
        if (!c->Take(v))
            falses.fetch_add(1);
    });
    std::thread b([&] {
        TWeftValue v;
        if (!c->Take(v))
            falses.fetch_add(1);
    });
    a.join();
    b.join();
    EXPECT_EQ(falses.load(), 2);
    EXPECT_TRUE(c->IsCompleted());
}

TEST(BlockingCollection, ReraisesExceptionItems)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    c->ReraiseExceptions();
    c->Add(TWeftValue(std::make_exception_ptr(Exception(QStringLiteral("boom")))));
    TWeftValue v;
    try {
        c->TryTake(v, 0);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("boom"));
    }
    EXPECT_TRUE(c->IsEmpty()) << "the item has left the collection";
}

TEST(BlockingCollection, EnumeratorTakesUntilFinished)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    for (int i = 0; i < 3; ++i)
        c->Add(TWeftValue(int32_t(i)));
    c->CompleteAdding();
    auto e = c->GetEnumerator();
    int n = 0;
    while (e->MoveNext())
        EXPECT_EQ(e->Current().AsInteger(), n++);
    EXPECT_EQ(n, 3);
}

TEST(BlockingCollection, EightByEightEveryValueOnce)
{
    PWeftBlockingCollection c = CreateBlockingCollection();
    c->SetThrottling(1000, 500);
    constexpr int Per = 4000;
    std::vector<std::atomic<int>> seen(8 * Per);
    std::vector<std::thread> producers, consumers;
    for (int p = 0; p < 8; ++p)
        producers.emplace_back([&, p] {
            for (int i = 0; i < Per; ++i)
                c->Add(TWeftValue(int32_t(p * Per + i)));
        });
    for (int k = 0; k < 8; ++k)
        consumers.emplace_back([&] {
            TWeftValue v;
            while (c->Take(v))
                seen[size_t(v.AsInteger())].fetch_add(1);
        });
    for (auto& t : producers)
        t.join();
    c->CompleteAdding();
    for (auto& t : consumers)
        t.join();
    for (int i = 0; i < 8 * Per; ++i)
        ASSERT_EQ(seen[size_t(i)].load(), 1) << i;
    EXPECT_EQ(c->Count(), 0);
}
