// Operations per second of the framework's hand-over containers with half
// the threads producing and half consuming (1P1C, 4P4C, 8P8C), against
// boost::lockfree of the same capacity and against mutex-based queues; and
// the round trip of a message through a task channel.
#include "tasks/WeftBlockingCollection.h"
#include "tasks/WeftComm.h"
#include "tasks/WeftContainers.h"
#include "tasks/WeftQueue.h"

#include <benchmark/benchmark.h>
#include <boost/lockfree/queue.hpp>
#include <boost/lockfree/stack.hpp>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace {

constexpr int CCapacity = 1024;

// Waits for the other side without starving it on a small machine.
inline void Pause(int& spins)
{
    if (++spins < 64) {
        CpuRelax();
    } else {
        std::this_thread::yield();
        spins = 0;
    }
}

// One shared container per benchmark run, made by thread 0 before the first
// iteration and freed by it after the last.
template <class C>
struct TShared {
    static inline std::unique_ptr<C> Instance;
};

template <class C, class Make, class Put, class Get>
void ProducerConsumer(benchmark::State& state, Make make, Put put, Get get)
{
    if (state.thread_index() == 0)
        TShared<C>::Instance = make();
    // Every thread waits here until thread 0 has made the container.
    for (auto _ : state) {
        C& c = *TShared<C>::Instance;
        int spins = 0;
        if (state.thread_index() % 2 == 0) {
            uint64_t v = uint64_t(state.iterations());
            while (!put(c, v))
                Pause(spins);
        } else {
            uint64_t v;
            while (!get(c, v))
                Pause(spins);
            benchmark::DoNotOptimize(v);
        }
    }
    state.SetItemsProcessed(state.iterations());
    if (state.thread_index() == 0) {
        // Thread 0 leaves last only after every thread finished its loop.
    }
}

// --- Bounded queue -----------------------------------------------------------------------

void BM_WeftBoundedQueue(benchmark::State& state)
{
    ProducerConsumer<TWeftBaseBoundedQueue>(
        state, [] { return std::make_unique<TWeftBaseBoundedQueue>(CCapacity, 8); },
        [](TWeftBaseBoundedQueue& q, uint64_t v) { return q.Enqueue(&v); },
        [](TWeftBaseBoundedQueue& q, uint64_t& v) { return q.Dequeue(&v); });
}

using TBoostBoundedQueue = boost::lockfree::queue<uint64_t, boost::lockfree::fixed_sized<true>>;
void BM_BoostBoundedQueue(benchmark::State& state)
{
    ProducerConsumer<TBoostBoundedQueue>(
        state, [] { return std::make_unique<TBoostBoundedQueue>(CCapacity); },
        [](TBoostBoundedQueue& q, uint64_t v) { return q.bounded_push(v); },
        [](TBoostBoundedQueue& q, uint64_t& v) { return q.pop(v); });
}

// --- Bounded stack -----------------------------------------------------------------------

void BM_WeftBoundedStack(benchmark::State& state)
{
    ProducerConsumer<TWeftBaseBoundedStack>(
        state, [] { return std::make_unique<TWeftBaseBoundedStack>(CCapacity, 8); },
        [](TWeftBaseBoundedStack& s, uint64_t v) { return s.Push(&v); },
        [](TWeftBaseBoundedStack& s, uint64_t& v) { return s.Pop(&v); });
}

using TBoostBoundedStack = boost::lockfree::stack<uint64_t, boost::lockfree::fixed_sized<true>>;
void BM_BoostBoundedStack(benchmark::State& state)
{
    ProducerConsumer<TBoostBoundedStack>(
        state, [] { return std::make_unique<TBoostBoundedStack>(CCapacity); },
        [](TBoostBoundedStack& s, uint64_t v) { return s.bounded_push(v); },
        [](TBoostBoundedStack& s, uint64_t& v) { return s.pop(v); });
}

// --- Unbounded queue ----------------------------------------------------------------------

void BM_WeftQueue(benchmark::State& state)
{
    ProducerConsumer<TWeftBaseQueue>(
        state, [] { return std::make_unique<TWeftBaseQueue>(); },
        [](TWeftBaseQueue& q, uint64_t v) {
            q.Enqueue(TWeftValue(int64_t(v)));
            return true;
        },
        [](TWeftBaseQueue& q, uint64_t& v) {
            TWeftValue t;
            if (!q.TryDequeue(t))
                return false;
            v = uint64_t(t.RawData());
            return true;
        });
}

using TBoostGrowingQueue = boost::lockfree::queue<uint64_t>;
void BM_BoostGrowingQueue(benchmark::State& state)
{
    ProducerConsumer<TBoostGrowingQueue>(
        state, [] { return std::make_unique<TBoostGrowingQueue>(128); },
        [](TBoostGrowingQueue& q, uint64_t v) { return q.push(v); },
        [](TBoostGrowingQueue& q, uint64_t& v) { return q.pop(v); });
}

struct TMutexDeque {
    std::mutex Lock;
    std::deque<TWeftValue> Items;
};
void BM_MutexDeque(benchmark::State& state)
{
    ProducerConsumer<TMutexDeque>(
        state, [] { return std::make_unique<TMutexDeque>(); },
        [](TMutexDeque& q, uint64_t v) {
            std::lock_guard l(q.Lock);
            q.Items.emplace_back(int64_t(v));
            return true;
        },
        [](TMutexDeque& q, uint64_t& v) {
            std::lock_guard l(q.Lock);
            if (q.Items.empty())
                return false;
            v = q.Items.front().RawData();
            q.Items.pop_front();
            return true;
        });
}

// --- Blocking collection -------------------------------------------------------------------

struct TBlockingHolder {
    PWeftBlockingCollection C = CreateBlockingCollection();
};
void BM_WeftBlockingCollection(benchmark::State& state)
{
    ProducerConsumer<TBlockingHolder>(
        state, [] { return std::make_unique<TBlockingHolder>(); },
        [](TBlockingHolder& h, uint64_t v) {
            h.C->Add(TWeftValue(int64_t(v)));
            return true;
        },
        [](TBlockingHolder& h, uint64_t& v) {
            TWeftValue t;
            if (!h.C->Take(t))
                return false;
            v = t.RawData();
            return true;
        });
}

struct TCondQueue {
    std::mutex Lock;
    std::condition_variable NotEmpty;
    std::deque<TWeftValue> Items;
};
void BM_MutexCondVarQueue(benchmark::State& state)
{
    ProducerConsumer<TCondQueue>(
        state, [] { return std::make_unique<TCondQueue>(); },
        [](TCondQueue& q, uint64_t v) {
            {
                std::lock_guard l(q.Lock);
                q.Items.emplace_back(int64_t(v));
            }
            q.NotEmpty.notify_one();
            return true;
        },
        [](TCondQueue& q, uint64_t& v) {
            std::unique_lock l(q.Lock);
            q.NotEmpty.wait(l, [&] { return !q.Items.empty(); });
            v = q.Items.front().RawData();
            q.Items.pop_front();
            return true;
        });
}

// --- Message round trip ------------------------------------------------------------------------

void BM_ChannelRoundTrip(benchmark::State& state)
{
    THandle terminated = CreateEvent(true, false);
    PWeftTwoWayChannel ch = CreateTwoWayChannel(1000, terminated);
    PWeftCommunicationEndpoint owner = ch->Endpoint1(), task = ch->Endpoint2();
    std::thread echo([&] {
        TWeftMessage m;
        while (task->ReceiveWait(m, INFINITE))
            task->Send(m);
    });
    TWeftMessage reply;
    for (auto _ : state) {
        owner->Send(1001, TWeftValue(int32_t(7)));
        owner->ReceiveWait(reply, INFINITE);
    }
    SetEvent(terminated);
    echo.join();
    state.SetItemsProcessed(state.iterations());
}

struct TCondChannel {
    TCondQueue Up, Down;
};
void BM_CondVarRoundTrip(benchmark::State& state)
{
    TCondChannel ch;
    std::atomic<bool> stop{false};
    std::thread echo([&] {
        for (;;) {
            TWeftValue v;
            {
                std::unique_lock l(ch.Up.Lock);
                ch.Up.NotEmpty.wait(l, [&] { return stop.load() || !ch.Up.Items.empty(); });
                if (ch.Up.Items.empty())
                    return;
                v = std::move(ch.Up.Items.front());
                ch.Up.Items.pop_front();
            }
            {
                std::lock_guard l(ch.Down.Lock);
                ch.Down.Items.push_back(std::move(v));
            }
            ch.Down.NotEmpty.notify_one();
        }
    });
    for (auto _ : state) {
        {
            std::lock_guard l(ch.Up.Lock);
            ch.Up.Items.emplace_back(int32_t(7));
        }
        ch.Up.NotEmpty.notify_one();
        std::unique_lock l(ch.Down.Lock);
        ch.Down.NotEmpty.wait(l, [&] { return !ch.Down.Items.empty(); });
        ch.Down.Items.pop_front();
    }
    {
        std::lock_guard l(ch.Up.Lock);
        stop = true;
    }
    ch.Up.NotEmpty.notify_all();
    echo.join();
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

#define PRODUCER_CONSUMER(fn) BENCHMARK(fn)->Threads(2)->Threads(8)->Threads(16)->UseRealTime()

PRODUCER_CONSUMER(BM_WeftBoundedQueue);
PRODUCER_CONSUMER(BM_BoostBoundedQueue);
PRODUCER_CONSUMER(BM_WeftBoundedStack);
PRODUCER_CONSUMER(BM_BoostBoundedStack);
PRODUCER_CONSUMER(BM_WeftQueue);
PRODUCER_CONSUMER(BM_BoostGrowingQueue);
PRODUCER_CONSUMER(BM_MutexDeque);
BENCHMARK(BM_WeftBlockingCollection)->Threads(2)->Threads(8)->UseRealTime();
BENCHMARK(BM_MutexCondVarQueue)->Threads(2)->Threads(8)->UseRealTime();
BENCHMARK(BM_ChannelRoundTrip)->UseRealTime();
BENCHMARK(BM_CondVarRoundTrip)->UseRealTime();
