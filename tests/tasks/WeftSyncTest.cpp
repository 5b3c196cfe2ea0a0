#include "tasks/WeftSync.h"

#include "platform/os/MessageWindow.h"
#include "tasks/OsWin32.h"

#include <gtest/gtest.h>
#include <atomic>
#include <barrier>
#include <set>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

TEST(CompareAndSwap, StoresOnlyWhenTheOldValueIsFound)
{
    uint8_t b = 5;
    EXPECT_FALSE(CAS8(4, 9, b));
    EXPECT_EQ(b, 5);
    EXPECT_TRUE(CAS8(5, 9, b));
    EXPECT_EQ(b, 9);
    int32_t i = -1;
    EXPECT_TRUE(CAS(-1, 7, i));
    EXPECT_FALSE(CAS(-1, 8, i));
    EXPECT_EQ(i, 7);
    int x = 0, y = 0;
    void* p = &x;
    EXPECT_TRUE(CAS(&x, &y, p));
    EXPECT_EQ(p, &y);
    TWeftTaggedWord w;
    MoveDPtr(3, 10, w);
    EXPECT_FALSE(CAS(3, 11, 4, 12, w)) << "the tag must match as well";
    EXPECT_TRUE(CAS(3, 10, 4, 11, w));
    EXPECT_EQ(TWeftTaggedWord::DataOf(w.Load()), 4u);
    EXPECT_EQ(TWeftTaggedWord::ReferenceOf(w.Load()), 11u);
}

TEST(CompareAndSwap, TaggedWordCountsExactlyUnderThreads)
{
    TWeftTaggedWord w;
    constexpr int kThreads = 4, kEach = 20000;
    std::vector<std::thread> ts;
    for (int t = 0; t < kThreads; ++t)
        ts.emplace_back([&] {
            for (int k = 0; k < kEach; ++k)
                for (;;) {
                    const uint64_t old = w.Load();
                    const uint32_t d = TWeftTaggedWord::DataOf(old), r = TWeftTaggedWord::ReferenceOf(old);
                    if (CAS(d, r, d + 1, r + 2, w))
                        break;
                }
        });
    for (auto& t : ts)
        t.join();
    EXPECT_EQ(TWeftTaggedWord::DataOf(w.Load()), uint32_t(kThreads * kEach));
    EXPECT_EQ(TWeftTaggedWord::ReferenceOf(w.Load()), uint32_t(2 * kThreads * kEach));
}

TEST(WeftCS, IsRecursiveAndCountsItsLocks)
{
    TWeftCS cs;
    cs.Acquire();
    cs.Acquire();
    auto sync = cs.GetSyncObj();
    ASSERT_TRUE(sync);
    EXPECT_EQ(sync->LockCount(), 2);
    cs.Release();
    EXPECT_EQ(sync->LockCount(), 1);
    std::atomic<bool> got{false};
    std::thread t([&] {
        got = sync->GetSyncObj()->TryEnter();
    });
    t.join();
    EXPECT_FALSE(got.load());
    cs.Release();
    EXPECT_EQ(sync->LockCount(), 0);
    EXPECT_EQ(sizeof(TFixedCriticalSection), 128u);
}

TEST(WeftCS, TwoFirstUsersAtOnceShareOneCriticalSection)
{
    for (int round = 0; round < 50; ++round) {
        TWeftCS cs;
        std::barrier start(4);
        std::atomic<int> inside{0}, maxInside{0};
        std::vector<std::thread> ts;
        for (int t = 0; t < 4; ++t)
            ts.emplace_back([&] {
                start.arrive_and_wait();
                for (int k = 0; k < 50; ++k) {
                    cs.Acquire();
                    const int now = ++inside;
                    int seen = maxInside.load();
                    while (now > seen && !maxInside.compare_exchange_weak(seen, now)) {
                    }
                    --inside;
                    cs.Release();
                }
            });
        for (auto& t : ts)
            t.join();
        ASSERT_EQ(maxInside.load(), 1) << "round " << round;
    }
}

TEST(WeftCS, CopiesShareTheCriticalSection)
{
    TWeftCS a;
    a.Acquire();
    TWeftCS b(a);
    EXPECT_EQ(a.GetSyncObj(), b.GetSyncObj());
    a.Release();
}

TEST(CancellationToken, FlagAndEventFollowSignalAndClear)
{
    auto token = CreateWeftCancellationToken();
    EXPECT_FALSE(token->IsSignalled());
    EXPECT_EQ(WaitForSingleObject(token->Handle(), 0), WAIT_TIMEOUT);
    token->Signal();
    token->Signal();
    EXPECT_TRUE(token->IsSignalled());
    EXPECT_EQ(WaitForSingleObject(token->Handle(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(token->Handle(), 0), WAIT_OBJECT_0) << "manual reset";
    token->Clear();
    EXPECT_FALSE(token->IsSignalled());
    EXPECT_EQ(WaitForSingleObject(token->Handle(), 0), WAIT_TIMEOUT);
}

TEST(CancellationToken, StopsAWorkLoopOnAnotherThread)
{
    auto token = CreateWeftCancellationToken();
    std::atomic<int64_t> loops{0};
    std::thread worker([&] {
        while (!token->IsSignalled())
            ++loops;
    });
    std::this_thread::sleep_for(10ms);
    token->Signal();
    worker.join();
    EXPECT_GT(loops.load(), 0);
}

TEST(MREW, TryReadFailsAtOnceUnderAWriterAndSucceedsWhenFree)
{
    TWeftMREW l;
    EXPECT_TRUE(l.TryEnterReadLock(0));
    l.ExitReadLock();
    l.EnterWriteLock();
    EXPECT_EQ(l.Word(), 1);
    const int64_t start = OsTimeGetTime64();
    EXPECT_FALSE(l.TryEnterReadLock(0));
    EXPECT_FALSE(l.TryEnterReadLock(-5));
    EXPECT_LT(OsElapsedTime64(start), 50);
    l.ExitWriteLock();
    EXPECT_EQ(l.Word(), 0);
}

TEST(MREW, WriterTimesOutUnderALongReaderAndLeavesTheReaderCount)
{
    TWeftMREW l;
    std::atomic<bool> readerIn{false}, leave{false};
    std::thread reader([&] {
        l.EnterReadLock();
        readerIn = true;
        while (!leave)
            std::this_thread::sleep_for(1ms);
        l.ExitReadLock();
    });
    while (!readerIn)
        std::this_thread::sleep_for(1ms);
    const int64_t start = OsTimeGetTime64();
    EXPECT_FALSE(l.TryEnterWriteLock(50));
    const int64_t took = OsElapsedTime64(start);
    EXPECT_GE(took, 50);
    EXPECT_LT(took, 400);
    EXPECT_EQ(l.Word(), 2) << "one reader, no writer flag";
    // Another reader can still come in, and all can leave.
    EXPECT_TRUE(l.TryEnterReadLock(0));
    l.ExitReadLock();
    leave = true;
    reader.join();
    EXPECT_TRUE(l.TryEnterWriteLock(100));
    l.ExitWriteLock();
}

TEST(MREW, WritersExcludeEveryoneAndReadersShare)
{
    TWeftMREW l;
    int64_t a = 0, b = 0;  // a writer keeps them equal
    std::atomic<bool> torn{false};
    std::atomic<int> readersTogether{0}, maxReaders{0};
    std::vector<std::thread> ts;
    for (int t = 0; t < 2; ++t)
        ts.emplace_back([&] {
            for (int k = 0; k < 3000; ++k) {
                l.EnterWriteLock();
                ++a;
                ++b;
                l.ExitWriteLock();
            }
        });
    for (int t = 0; t < 3; ++t)
        ts.emplace_back([&] {
            for (int k = 0; k < 3000; ++k) {
                l.EnterReadLock();
                const int now = ++readersTogether;
                int seen = maxReaders.load();
                while (now > seen && !maxReaders.compare_exchange_weak(seen, now)) {
                }
                if (a != b)
                    torn = true;
                --readersTogether;
                l.ExitReadLock();
            }
        });
    for (auto& t : ts)
        t.join();
    EXPECT_FALSE(torn.load());
    EXPECT_EQ(a, 6000);
    EXPECT_EQ(l.Word(), 0);
}

TEST(ResourceCount, ZeroCounterSignalsAllTakenAndRefuses)
{
    auto rc = CreateResourceCount(0);
    EXPECT_EQ(WaitForSingleObject(rc->Handle(), 0), WAIT_OBJECT_0);
    int32_t n = -1;
    const int64_t start = OsTimeGetTime64();
    EXPECT_FALSE(rc->TryAllocate(n, 0));
    EXPECT_LT(OsElapsedTime64(start), 50);
    EXPECT_EQ(rc->Release(), 1);
    EXPECT_EQ(WaitForSingleObject(rc->Handle(), 0), WAIT_TIMEOUT);
    EXPECT_TRUE(rc->TryAllocate(n, 0));
    EXPECT_EQ(n, 0);
    EXPECT_EQ(WaitForSingleObject(rc->Handle(), 0), WAIT_OBJECT_0);
}

TEST(ResourceCount, AllocateCountsDownAndTimedAllocateWaitsForARelease)
{
    auto rc = CreateResourceCount(2);
    EXPECT_EQ(rc->Allocate(), 1);
    EXPECT_EQ(rc->Allocate(), 0);
    int32_t n = -1;
    const int64_t start = OsTimeGetTime64();
    EXPECT_FALSE(rc->TryAllocate(n, 40));
    EXPECT_GE(OsElapsedTime64(start), 40);
    std::thread t([&] {
        std::this_thread::sleep_for(20ms);
        rc->Release();
    });
    EXPECT_TRUE(rc->TryAllocate(n, 5000));
    EXPECT_EQ(n, 0);
    t.join();
}

TEST(ResourceCount, HandsOutEveryResourceOnceUnderThreads)
{
    constexpr int kUnits = 5000;
    auto rc = CreateResourceCount(0);
    std::atomic<int> taken{0};
    std::vector<std::thread> ts;
    for (int t = 0; t < 3; ++t)
        ts.emplace_back([&] {
            int32_t n;
            while (rc->TryAllocate(n, 200))
                ++taken;
        });
    for (int i = 0; i < kUnits; ++i)
        rc->Release();
    for (auto& t : ts)
        t.join();
    EXPECT_EQ(taken.load(), kUnits);
}

TEST(WaitFor, AnyOverAHundredEventsReportsTheOneSet)
{
    std::vector<THandle> h;
    for (int i = 0; i < 100; ++i)
        h.push_back(CreateEvent(false, false));
    TWaitFor w(h);
    EXPECT_EQ(w.WaitAny(0), TWaitFor::waTimeout);
    EXPECT_TRUE(w.Signalled().empty());
    std::thread t([&] {
        std::this_thread::sleep_for(10ms);
        SetEvent(h[77]);
    });
    EXPECT_EQ(w.WaitAny(5000), TWaitFor::waAwaited);
    t.join();
    ASSERT_EQ(w.Signalled().size(), 1u);
    EXPECT_EQ(w.Signalled()[0].Index, 77);
}

TEST(WaitFor, AllOverAHundredEventsNeedsEveryOne)
{
    // A wait-all holds every object's lock at once; the sanitizer's deadlock
    // detector tracks at most 64 held locks per thread.
#if defined(__SANITIZE_THREAD__)
    constexpr int kEvents = 60;
#else
    constexpr int kEvents = 100;
#endif
    std::vector<THandle> h;
    for (int i = 0; i < kEvents; ++i)
        h.push_back(CreateEvent(false, i != 42));
    TWaitFor w(h);
    EXPECT_EQ(w.WaitAll(20), TWaitFor::waTimeout);
    SetEvent(h[42]);
    EXPECT_EQ(w.WaitAll(1000), TWaitFor::waAwaited);
    if (kEvents > 64)
        EXPECT_EQ(w.Signalled().size(), size_t(kEvents)) << "more than 64 objects report every position";
    else
        EXPECT_EQ(w.Signalled().size(), 1u);
    for (const THandle& e : h)
        EXPECT_FALSE(static_cast<TEventObject&>(*e).IsSet());
}

TEST(WaitFor, MessageAwareWaitReportsAPostedMessage)
{
    for (int count : {63, 64}) {
        std::thread([count] {
            std::vector<THandle> h;
            for (int i = 0; i < count; ++i)
                h.push_back(CreateEvent(true, false));
            int calls = 0;
            HWND w = OsAllocateHWnd([&](TMessage&) { ++calls; });
            TWaitFor wf(h);
            std::thread poster([w] {
                std::this_thread::sleep_for(10ms);
                PostMessage(w, WM_USER);
            });
            EXPECT_EQ(wf.MsgWaitAny(5000), TWaitFor::waMessage) << count;
            poster.join();
            EXPECT_EQ(ProcessMessages(), 1);
            EXPECT_EQ(calls, 1);
            OsDeallocateHWnd(w);
        }).join();
    }
}

TEST(AtomicInitialize, RacingInitialisersEndWithOneSharedToken)
{
    for (int round = 0; round < 30; ++round) {
        TWeftAtomicStorage<IWeftCancellationToken> storage;
        std::atomic<int> made{0};
        std::vector<std::shared_ptr<IWeftCancellationToken>> got(4);
        std::vector<std::weak_ptr<IWeftCancellationToken>> all(4);
        std::barrier start(4);
        std::vector<std::thread> ts;
        for (int t = 0; t < 4; ++t)
            ts.emplace_back([&, t] {
                start.arrive_and_wait();
                got[size_t(t)] = Atomic<IWeftCancellationToken>::Initialize(storage, [&] {
                    ++made;
                    auto tok = CreateWeftCancellationToken();
                    all[size_t(t)] = tok;
                    return tok;
                });
            });
        for (auto& t : ts)
            t.join();
        const auto stored = storage.Load();
        for (auto& g : got)
            ASSERT_EQ(g, stored);
        int alive = 0;
        for (auto& w : all)
            alive += w.expired() ? 0 : 1;
        EXPECT_EQ(alive, 1) << "the losers' tokens are released";
        EXPECT_GE(made.load(), 1);
    }
    TWeftAtomicStorage<IWeftCancellationToken> empty;
    EXPECT_THROW(Atomic<IWeftCancellationToken>::Initialize(empty), Exception);
}

TEST(LazyEvent, HandleFollowsTheSetWhicheverCameFirst)
{
    struct Case {
        const char* Name;
        bool SetBeforeHandle;
        bool SetAfterHandle;
        bool Expected;
    };
    const Case cases[] = {
        {"never set", false, false, false},
        {"set before anyone asked", true, false, true},
        {"set after the handle was made", false, true, true},
        {"set on both sides", true, true, true},
    };
    for (const Case& c : cases) {
        TWeftLazyEvent event;
        if (c.SetBeforeHandle)
            event.Set();
        const THandle h = event.Handle();
        ASSERT_TRUE(h) << c.Name;
        if (c.SetAfterHandle)
            event.Set();
        EXPECT_EQ(event.IsSet(), c.Expected) << c.Name;
        EXPECT_EQ(WaitForSingleObject(h, 0), c.Expected ? WAIT_OBJECT_0 : WAIT_TIMEOUT) << c.Name;
        EXPECT_EQ(event.Handle(), h) << c.Name << ": one event";
    }
}

TEST(LazyEvent, RacingSetAndFirstHandlesNeverLoseTheSet)
{
    for (int round = 0; round < 200; ++round) {
        TWeftLazyEvent event;
        std::vector<THandle> got(3);
        std::barrier start(4);
        std::vector<std::thread> ts;
        for (size_t t = 0; t < got.size(); ++t)
            ts.emplace_back([&, t] {
                start.arrive_and_wait();
                got[t] = event.Handle();
            });
        ts.emplace_back([&] {
            start.arrive_and_wait();
            event.Set();
        });
        for (auto& t : ts)
            t.join();
        for (const THandle& h : got) {
            ASSERT_EQ(h, got[0]) << "round " << round;
            ASSERT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0) << "round " << round;
        }
    }
}
