#include "platform/os/Waitable.h"

#include <gtest/gtest.h>
#include <atomic>
#include <poll.h>
#include <unistd.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

uint64_t Since(uint64_t startMs)
{
    return OsMonotonicMs() - startMs;
}

TEventObject& Ev(const THandle& h)
{
    return static_cast<TEventObject&>(*h);
}

}  // namespace

TEST(Wait, AnyReportsLowestSignalledIndexAndTakesOnlyThatOne)
{
    std::vector<THandle> h{CreateEvent(false, false), CreateEvent(false, true), CreateEvent(false, true)};
    EXPECT_EQ(WaitForMultipleObjects(h, false, 0), WAIT_OBJECT_0 + 1);
    EXPECT_FALSE(Ev(h[1]).IsSet());
    EXPECT_TRUE(Ev(h[2]).IsSet());
    EXPECT_EQ(WaitForMultipleObjects(h, false, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(h, false, 0), WAIT_TIMEOUT);
}

TEST(Wait, ManualResetStaysSignalledAutoResetIsConsumedByAZeroWait)
{
    THandle manual = CreateEvent(true, true);
    THandle autoEv = CreateEvent(false, true);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoEv, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoEv, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(ResetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
}

TEST(Wait, TimeOutsEndOnTime)
{
    THandle ev = CreateEvent(true, false);
    for (DWORD ms : {0u, 1u, 30u, 120u}) {
        const uint64_t start = OsMonotonicMs();
        EXPECT_EQ(WaitForSingleObject(ev, ms), WAIT_TIMEOUT);
        const uint64_t took = Since(start);
        EXPECT_GE(took, ms) << ms;
        EXPECT_LT(took, ms + 250) << ms;  // generous: CI machines are busy
    }
}

TEST(Wait, AnyWakesWhenAnotherThreadSets)
{
    std::vector<THandle> h{CreateEvent(false, false), CreateEvent(false, false), CreateEvent(true, false)};
    std::thread t([&] {
        std::this_thread::sleep_for(30ms);
        SetEvent(h[2]);
    });
    EXPECT_EQ(WaitForMultipleObjects(h, false, INFINITE), WAIT_OBJECT_0 + 2);
    t.join();
}

TEST(Wait, AllNeedsEveryObjectAndTakesNoneUntilThen)
{
    std::vector<THandle> h{CreateEvent(false, true), CreateEvent(false, false)};
    EXPECT_EQ(WaitForMultipleObjects(h, true, 20), WAIT_TIMEOUT);
    EXPECT_TRUE(Ev(h[0]).IsSet()) << "a wait-all that timed out took part of the set";
    std::thread t([&] {
        std::this_thread::sleep_for(30ms);
        SetEvent(h[1]);
    });
    EXPECT_EQ(WaitForMultipleObjects(h, true, 5000), WAIT_OBJECT_0);
    t.join();
    EXPECT_FALSE(Ev(h[0]).IsSet());
    EXPECT_FALSE(Ev(h[1]).IsSet());
}

TEST(Wait, AllRefusesTheSameObjectTwiceAndNullHandlesFail)
{
    THandle ev = CreateEvent(true, true);
    std::vector<THandle> twice{ev, ev};
    EXPECT_EQ(WaitForMultipleObjects(twice, true, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(SetEvent(nullptr));
}

// Waiters on objects alone park on a futex; waiters that also watch a
// descriptor poll the objects' eventfds. Both kinds, and a mix, must let
// exactly one waiter through per Set of an auto-reset event.
class AutoResetAmongWaiters : public ::testing::TestWithParam<int> {};

TEST_P(AutoResetAmongWaiters, LetsExactlyOneWaiterThroughPerSet)
{
    constexpr int kWaiters = 8;
    const int mode = GetParam();  // 0 parked, 1 polling, 2 mixed
    THandle ev = CreateEvent(false, false);
    int p[2];
    ASSERT_EQ(::pipe(p), 0);  // never written: only makes the wait poll
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < kWaiters; ++i) {
        const bool poll = mode == 1 || (mode == 2 && i % 2 == 1);
        waiters.emplace_back([&, poll] {
            const int fds[] = {p[0]};
            const DWORD r = poll ? WaitForObjectsOrFds(std::span<const THandle>(&ev, 1), fds, INFINITE)
                                 : WaitForSingleObject(ev, INFINITE);
            if (r == WAIT_OBJECT_0)
                ++woken;
        });
    }
    for (int round = 1; round <= kWaiters; ++round) {
        SetEvent(ev);
        const uint64_t start = OsMonotonicMs();
        while (woken.load() < round && Since(start) < 5000)
            std::this_thread::sleep_for(1ms);
        // Give a second waiter every chance to slip through the same Set.
        std::this_thread::sleep_for(round == 1 ? 100ms : 5ms);
        ASSERT_EQ(woken.load(), round);
    }
    for (auto& t : waiters)
        t.join();
    EXPECT_FALSE(Ev(ev).IsSet());
    ::close(p[0]);
    ::close(p[1]);
}

INSTANTIATE_TEST_SUITE_P(Wait, AutoResetAmongWaiters, ::testing::Values(0, 1, 2));

TEST(Wait, ManualResetReleasesEveryKindOfWaiter)
{
    THandle ev = CreateEvent(true, false);
    int p[2];
    ASSERT_EQ(::pipe(p), 0);
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 6; ++i)
        waiters.emplace_back([&, i] {
            const int fds[] = {p[0]};
            const DWORD r = i % 2 ? WaitForObjectsOrFds(std::span<const THandle>(&ev, 1), fds, 5000)
                                  : WaitForSingleObject(ev, 5000);
            if (r == WAIT_OBJECT_0)
                ++woken;
        });
    std::this_thread::sleep_for(20ms);
    SetEvent(ev);
    for (auto& t : waiters)
        t.join();
    EXPECT_EQ(woken.load(), 6);
    ::close(p[0]);
    ::close(p[1]);
}

TEST(Wait, SemaphoreCountsAndRefusesToPassItsMaximum)
{
    THandle s = CreateSemaphore(0, 3);
    int32_t prev = -1;
    EXPECT_TRUE(ReleaseSemaphore(s, 2, &prev));
    EXPECT_EQ(prev, 0);
    EXPECT_FALSE(ReleaseSemaphore(s, 2, &prev));
    EXPECT_EQ(GetLastError(), ERROR_TOO_MANY_POSTS);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(s, 0), WAIT_TIMEOUT);
}

TEST(Wait, SemaphoreHandsOutEveryUnitExactlyOnceUnderThreads)
{
    constexpr int kUnits = 20000;
    constexpr int kConsumers = 4;
    THandle s = CreateSemaphore(0, kUnits);
    THandle stop = CreateEvent(true, false);
    std::atomic<int> taken{0};
    std::vector<std::thread> consumers;
    for (int i = 0; i < kConsumers; ++i)
        consumers.emplace_back([&] {
            std::vector<THandle> h{stop, s};
            for (;;) {
                const DWORD r = WaitForMultipleObjects(h, false, INFINITE);
                if (r == WAIT_OBJECT_0)
                    return;
                ASSERT_EQ(r, WAIT_OBJECT_0 + 1);
                ++taken;
            }
        });
    for (int i = 0; i < kUnits; ++i)
        while (!ReleaseSemaphore(s, 1))
            std::this_thread::yield();
    while (static_cast<TSemaphoreObject&>(*s).Count() > 0)
        std::this_thread::sleep_for(1ms);
    SetEvent(stop);
    for (auto& t : consumers)
        t.join();
    EXPECT_EQ(taken.load(), kUnits);
}

TEST(Wait, MutexIsRecursiveForItsOwnerAndClosedToOthers)
{
    THandle m = CreateMutexObject(false);
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    std::atomic<DWORD> other{0};
    std::thread t([&] {
        other = WaitForSingleObject(m, 20);
        EXPECT_FALSE(ReleaseMutex(m));
        EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
    });
    t.join();
    EXPECT_EQ(other.load(), WAIT_TIMEOUT);
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_FALSE(ReleaseMutex(m));
    std::thread t2([&] {
        other = WaitForSingleObject(m, 1000);
        ReleaseMutex(m);
    });
    t2.join();
    EXPECT_EQ(other.load(), WAIT_OBJECT_0);
}

TEST(Wait, MutexGuardsACounterAcrossThreads)
{
    THandle m = CreateMutexObject(false);
    int counter = 0;
    std::vector<std::thread> ts;
    for (int i = 0; i < 4; ++i)
        ts.emplace_back([&] {
            for (int k = 0; k < 2000; ++k) {
                ASSERT_EQ(WaitForSingleObject(m, INFINITE), WAIT_OBJECT_0);
                ++counter;
                ReleaseMutex(m);
            }
        });
    for (auto& t : ts)
        t.join();
    EXPECT_EQ(counter, 8000);
}

TEST(Wait, DescriptorIsReadableExactlyWhileSignalled)
{
    THandle ev = CreateEvent(false, false);
    const int fd = ev->Fd();
    ASSERT_GE(fd, 0);
    auto readable = [fd] {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, 0) == 1;
    };
    EXPECT_FALSE(readable());
    SetEvent(ev);
    EXPECT_TRUE(readable());
    EXPECT_EQ(WaitForSingleObject(ev, 0), WAIT_OBJECT_0);
    EXPECT_FALSE(readable());
}

TEST(Wait, ObjectsOrDescriptorsReportsAReadableDescriptor)
{
    THandle ev = CreateEvent(true, false);
    int p[2];
    ASSERT_EQ(::pipe(p), 0);
    const int fds[] = {p[0]};
    EXPECT_EQ(WaitForObjectsOrFds(std::span<const THandle>(&ev, 1), fds, 10), WAIT_TIMEOUT);
    std::thread t([&] {
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(::write(p[1], "x", 1), 1);
    });
    EXPECT_EQ(WaitForObjectsOrFds(std::span<const THandle>(&ev, 1), fds, 5000), WAIT_OBJECT_0 + 1);
    t.join();
    SetEvent(ev);
    EXPECT_EQ(WaitForObjectsOrFds(std::span<const THandle>(&ev, 1), fds, 0), WAIT_OBJECT_0);
    ::close(p[0]);
    ::close(p[1]);
}
