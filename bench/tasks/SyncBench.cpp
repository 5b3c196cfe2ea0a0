// Locks and wake-ups of the task framework against the standard library.
#include "platform/os/Waitable.h"
#include "tasks/WeftSync.h"

#include <benchmark/benchmark.h>
#include <condition_variable>
#include <mutex>
#include <shared_mutex>
#include <thread>

namespace {

TWeftCS gWeftCS;
std::mutex gMutex;
TWeftMREW gMREW;
std::shared_mutex gShared;
int64_t gCounter = 0;

// Lock, touch shared data, unlock; the same threads run both forms.
void BM_WeftCS(benchmark::State& state)
{
    for (auto _ : state) {
        gWeftCS.Acquire();
        benchmark::DoNotOptimize(++gCounter);
        gWeftCS.Release();
    }
}
BENCHMARK(BM_WeftCS)->Threads(1)->Threads(4)->UseRealTime();

void BM_StdMutex(benchmark::State& state)
{
    for (auto _ : state) {
        gMutex.lock();
        benchmark::DoNotOptimize(++gCounter);
        gMutex.unlock();
    }
}
BENCHMARK(BM_StdMutex)->Threads(1)->Threads(4)->UseRealTime();

void BM_WeftMREWRead(benchmark::State& state)
{
    for (auto _ : state) {
        gMREW.EnterReadLock();
        benchmark::DoNotOptimize(gCounter);
        gMREW.ExitReadLock();
    }
}
BENCHMARK(BM_WeftMREWRead)->Threads(1)->Threads(4)->UseRealTime();

void BM_StdSharedMutexRead(benchmark::State& state)
{
    for (auto _ : state) {
        gShared.lock_shared();
        benchmark::DoNotOptimize(gCounter);
        gShared.unlock_shared();
    }
}
BENCHMARK(BM_StdSharedMutexRead)->Threads(1)->Threads(4)->UseRealTime();

// Set-to-wake latency: a ping-pong between two threads, each waking the
// other; one iteration is two wake-ups.
void BM_EventPingPong(benchmark::State& state)
{
    THandle ping = CreateEvent(false, false), pong = CreateEvent(false, false);
    std::atomic<bool> stop{false};
    std::thread other([&] {
        while (WaitForSingleObject(ping, INFINITE) == WAIT_OBJECT_0 && !stop.load())
            SetEvent(pong);
    });
    for (auto _ : state) {
        SetEvent(ping);
        WaitForSingleObject(pong, INFINITE);
    }
    stop = true;
    SetEvent(ping);
    other.join();
}
BENCHMARK(BM_EventPingPong)->UseRealTime();

struct TCvEvent {
    std::mutex M;
    std::condition_variable Cv;
    bool Set = false;
    void Signal()
    {
        {
            std::lock_guard l(M);
            Set = true;
        }
        Cv.notify_one();
    }
    void Wait()
    {
        std::unique_lock l(M);
        Cv.wait(l, [&] { return Set; });
        Set = false;
    }
};

void BM_CondVarPingPong(benchmark::State& state)
{
    TCvEvent ping, pong;
    std::atomic<bool> stop{false};
    std::thread other([&] {
        for (;;) {
            ping.Wait();
            if (stop.load())
                return;
            pong.Signal();
        }
    });
    for (auto _ : state) {
        ping.Signal();
        pong.Wait();
    }
    stop = true;
    ping.Signal();
    other.join();
}
BENCHMARK(BM_CondVarPingPong)->UseRealTime();

// A set with nobody waiting, and a wait on an event already set.
void BM_EventSetAndTake(benchmark::State& state)
{
    THandle ev = CreateEvent(false, false);
    for (auto _ : state) {
        SetEvent(ev);
        benchmark::DoNotOptimize(WaitForSingleObject(ev, 0));
    }
}
BENCHMARK(BM_EventSetAndTake);

}  // namespace
