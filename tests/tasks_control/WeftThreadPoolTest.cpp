#include "TaskTestSupport.h"
#include "TopologyFixture.h"

#include "tasks/WeftEventMonitor.h"
#include "tasks/WeftThreadPool.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A task that runs until its release event (or its cancellation token, or
// its terminate request) and counts how many run at once.
struct Blocker {
    THandle Release = CreateEvent(true, false);
    std::atomic<int> Running{0};
    std::atomic<int> MaxRunning{0};
    std::atomic<int> Started{0};

    PWeftTaskControl Make(const QString& name, bool honourCancel = true)
    {
        return CreateTask(TWeftTaskDelegate([this, honourCancel](const PWeftTask& t) {
                              const int now = Running.fetch_add(1) + 1;
                              int m = MaxRunning.load();
                              while (now > m && !MaxRunning.compare_exchange_weak(m, now)) {
                              }
                              Started.fetch_add(1);
                              auto ex = std::dynamic_pointer_cast<IWeftTaskEx>(t);
                              std::vector<THandle> hs{Release};
                              if (honourCancel) {
                                  hs.push_back(ex->CancellationToken()->Handle());
                                  hs.push_back(t->TerminateEvent());
                              }
                              WaitForMultipleObjects(hs, false, 10000);
                              Running.fetch_sub(1);
                          }),
                          name);
    }
};

}  // namespace

class WeftThreadPool : public ::testing::Test {
protected:
    void SetUp() override { InitWeft(); }
};

TEST_F(WeftThreadPool, MaxExecutingLimitsAndQueueStartsWhenOneCompletes)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("limits"));
    pool->SetMaxExecuting(2);
    Blocker b;
    const PWeftTaskControl t1 = b.Make(QStringLiteral("t1"));
    const PWeftTaskControl t2 = b.Make(QStringLiteral("t2"));
    const PWeftTaskControl t3 = b.Make(QStringLiteral("t3"));
    t1->Schedule(pool);
    t2->Schedule(pool);
    t3->Schedule(pool);
    EXPECT_TRUE(PumpUntil([&] { return b.Started.load() == 2; }));
    EXPECT_EQ(pool->CountExecuting(), 2);
    EXPECT_EQ(pool->CountQueued(), 1);
    t1->Stop();  // one ends: the third starts
    EXPECT_TRUE(PumpUntil([&] { return b.Started.load() == 3; }));
    SetEvent(b.Release);
    for (const auto& t : {t1, t2, t3})
        EXPECT_TRUE(t->Terminate(5000));
    EXPECT_EQ(b.MaxRunning.load(), 2);
    EXPECT_TRUE(PumpUntil([&] { return pool->IsIdle(); }));
}

TEST_F(WeftThreadPool, QueueTooLongEndsTheNewestAtOnce)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("maxqueued"));
    pool->SetMaxExecuting(1);
    pool->SetMaxQueued(1);
    Blocker b;
    const PWeftTaskControl t1 = b.Make(QStringLiteral("t1"));
    const PWeftTaskControl t2 = b.Make(QStringLiteral("t2"));
    const PWeftTaskControl t3 = b.Make(QStringLiteral("t3"));
    t1->Schedule(pool);
    t2->Schedule(pool);
    t3->Schedule(pool);
    EXPECT_TRUE(t3->WaitFor(1000));
    EXPECT_EQ(t3->ExitCode(), CWeftExitQueueTooLong);
    EXPECT_EQ(t3->ExitMessage(), QStringLiteral("Execution queue is too long (1 work items)"));
    EXPECT_EQ(pool->CountQueued(), 1);
    SetEvent(b.Release);
    for (const auto& t : {t1, t2, t3})
        EXPECT_TRUE(t->Terminate(5000));
    EXPECT_EQ(b.Started.load(), 2);
}

// Plain callables posted without a task: they run on the pool's workers
// within MaxExecuting, the queue limit drops the newest unrun, and one that
// raises reaches the pool's handler while its worker goes on.
TEST_F(WeftThreadPool, PostedCallablesKeepTheLimitsAndReportFailures)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("post"));
    pool->SetMaxExecuting(2);
    std::atomic<int> failures{0};
    pool->SetAsy_OnUnhandledWorkerException([&](DWORD, std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const Exception& x) {
            if (x.Message() == QStringLiteral("posted failure"))
                ++failures;
        }
    });
    const DWORD owner = GetThreadId();
    std::atomic<int> ran{0}, running{0}, maxRunning{0}, onOwner{0};
    auto work = [&] {
        const int now = running.fetch_add(1) + 1;
        for (int m = maxRunning.load(); now > m && !maxRunning.compare_exchange_weak(m, now);) {
        }
        if (GetThreadId() == owner)
            ++onOwner;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        running.fetch_sub(1);
        ++ran;
    };
    for (int i = 0; i < 10; ++i)
        pool->Post(work);
    pool->Post([] { throw Exception(QStringLiteral("posted failure")); });
    for (int i = 0; i < 10; ++i)
        pool->Post(work);
    EXPECT_TRUE(PumpUntil([&] { return ran.load() == 20 && failures.load() == 1 && pool->IsIdle(); }));
    EXPECT_EQ(maxRunning.load(), 2);
    EXPECT_EQ(onOwner.load(), 0);

    pool->SetMaxExecuting(1);
    pool->SetMaxQueued(1);
    const THandle release = CreateEvent(true, false);
    pool->Post([&] { WaitForSingleObject(release, 10000); });
    EXPECT_TRUE(PumpUntil([&] { return pool->CountExecuting() == 1 && pool->CountQueued() == 0; }));
    for (int i = 0; i < 3; ++i)
        pool->Post(work);
    EXPECT_EQ(pool->CountQueued(), 1);
    SetEvent(release);
    EXPECT_TRUE(PumpUntil([&] { return pool->IsIdle(); }));
    EXPECT_EQ(ran.load(), 21);
}

TEST_F(WeftThreadPool, QueuedTooLongEndedByMaintenance)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("queuetime"));
    pool->SetMaxExecuting(1);
    pool->SetMaxQueuedTime_sec(1);
    Blocker b;
    const PWeftTaskControl t1 = b.Make(QStringLiteral("t1"));
    const PWeftTaskControl t2 = b.Make(QStringLiteral("t2"));
    t1->Schedule(pool);
    t2->Schedule(pool);
    EXPECT_TRUE(t2->WaitFor(4000));
    EXPECT_EQ(t2->ExitCode(), CWeftExitQueuedTooLong);
    EXPECT_TRUE(t2->ExitMessage().startsWith(QStringLiteral("Maximum queued time exceeded. Pool = queuetime, Now = ")));
    EXPECT_TRUE(t2->ExitMessage().contains(QStringLiteral("Removed entry description = t2:")));
    SetEvent(b.Release);
    EXPECT_TRUE(t1->Terminate(5000));
    EXPECT_EQ(b.Started.load(), 1);
}

TEST_F(WeftThreadPool, IdleWorkersExpireButNotBelowMinWorkers)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("idle"));
    pool->SetIdleWorkerThreadTimeout_sec(1);
    Blocker b;
    SetEvent(b.Release);
    std::vector<PWeftTaskControl> tasks;
    for (int i = 0; i < 2; ++i) {
        tasks.push_back(b.Make(QStringLiteral("t%1").arg(i)));
        tasks.back()->Schedule(pool);
    }
    for (const auto& t : tasks)
        EXPECT_TRUE(t->Terminate(5000));
    EXPECT_TRUE(PumpUntil([&] { return pool->IsIdle(); }));
    EXPECT_GE(pool->CountWorkers(), 1);
    pool->SetMinWorkers(1);
    EXPECT_TRUE(PumpUntil([&] { return pool->CountWorkers() == 1; }, 5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    EXPECT_EQ(pool->CountWorkers(), 1);
    pool->SetMinWorkers(0);
    EXPECT_TRUE(PumpUntil([&] { return pool->CountWorkers() == 0; }, 5000));
}

TEST_F(WeftThreadPool, CancelAllEndsQueuedTasksAndStopsRunningOnes)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("cancelall"));
    pool->SetMaxExecuting(1);
    Blocker b;
    const PWeftTaskControl running = b.Make(QStringLiteral("running"));
    const PWeftTaskControl queued = b.Make(QStringLiteral("queued"));
    running->Schedule(pool);
    queued->Schedule(pool);
    EXPECT_TRUE(PumpUntil([&] { return b.Started.load() == 1; }));
    const auto t0 = Clock::now();
    pool->CancelAll();
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(5));
    EXPECT_TRUE(queued->WaitFor(0));
    EXPECT_EQ(queued->ExitCode(), CWeftExitCancelled);
    EXPECT_EQ(queued->ExitMessage(), QStringLiteral("Cancelled"));
    EXPECT_TRUE(running->WaitFor(1000));
    EXPECT_TRUE(running->CancellationToken()->IsSignalled());
    EXPECT_EQ(b.Started.load(), 1);
    EXPECT_TRUE(pool->IsIdle());
    EXPECT_EQ(pool->CountWorkers(), 0);
    running->Terminate();
    queued->Terminate();
}

TEST_F(WeftThreadPool, CancelReturnsAtOnceForStoppedOrCooperativeTasksAndAbandonsStubbornOnes)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("cancel"));
    pool->SetWaitOnTerminate_sec(1);
    Blocker b;
    // Unknown or finished task: true at once.
    EXPECT_TRUE(pool->Cancel(123456789));
    // A task that ends on its token: true well before the wait runs out.
    const PWeftTaskControl coop = b.Make(QStringLiteral("coop"));
    coop->Schedule(pool);
    EXPECT_TRUE(PumpUntil([&] { return b.Started.load() == 1; }));
    auto t0 = Clock::now();
    EXPECT_TRUE(pool->Cancel(coop->UniqueID()));
    EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(900));
    EXPECT_EQ(pool->CountWorkers(), 1);  // kept for reuse
    // A task that ignores the request: false after the wait, thread abandoned.
    Blocker stubborn;
    const PWeftTaskControl st = stubborn.Make(QStringLiteral("stubborn"), /*honourCancel*/ false);
    st->Schedule(pool);
    EXPECT_TRUE(PumpUntil([&] { return stubborn.Started.load() == 1; }));
    t0 = Clock::now();
    EXPECT_FALSE(pool->Cancel(st->UniqueID()));
    EXPECT_GE(Clock::now() - t0, std::chrono::milliseconds(900));
    EXPECT_EQ(st->ExitCode(), CWeftExitCancelled);
    SetEvent(stubborn.Release);  // the abandoned thread ends by itself
    EXPECT_TRUE(st->WaitFor(5000));
    coop->Terminate();
    st->Terminate();
}

TEST_F(WeftThreadPool, DestructionWithBusyWorkersIsBounded)
{
    Blocker coop;
    Blocker stubborn;
    const PWeftTaskControl c = coop.Make(QStringLiteral("coop"));
    const PWeftTaskControl st = stubborn.Make(QStringLiteral("stubborn"), /*honourCancel*/ false);
    {
        PWeftThreadPool pool = CreateThreadPool(QStringLiteral("busy"));
        pool->SetWaitOnTerminate_sec(1);
        c->Schedule(pool);
        st->Schedule(pool);
        EXPECT_TRUE(PumpUntil([&] { return coop.Started.load() == 1 && stubborn.Started.load() == 1; }));
        const auto t0 = Clock::now();
        pool.reset();  // stops the cooperative task, abandons the other
        EXPECT_LT(Clock::now() - t0, std::chrono::seconds(3));
    }
    EXPECT_TRUE(c->WaitFor(0));
    EXPECT_FALSE(st->WaitFor(0));
    SetEvent(stubborn.Release);  // the abandoned thread ends by itself
    EXPECT_TRUE(st->WaitFor(5000));
    c->Terminate();
    st->Terminate();
}

TEST_F(WeftThreadPool, MonitorHearsOfThreadsAndCompletions)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("monitored"));
    const PWeftEventMonitor monitor = TWeftEventMonitor::Create();
    std::atomic<int> created{0};
    std::vector<int64_t> completed;
    monitor->OnPoolThreadCreated = [&](const PWeftThreadPool&, DWORD) { created.fetch_add(1); };
    monitor->OnPoolWorkItemCompleted = [&](const PWeftThreadPool&, int64_t id) { completed.push_back(id); };
    pool->MonitorWith(monitor);
    EXPECT_THROW(pool->SetMonitor(HWND(12345)), Exception);
    pool->SetMonitor(monitor->MessageWindow());  // the same window: nothing
    const PWeftTaskControl t = CreateTask(TWeftTaskDelegate([](const PWeftTask&) {}), QStringLiteral("m"));
    t->Schedule(pool);
    EXPECT_TRUE(PumpUntil([&] { return completed.size() == 1 && created.load() == 1; }));
    EXPECT_EQ(completed.front(), t->UniqueID());
    monitor->Detach(pool);
    t->Terminate();
}

TEST_F(WeftThreadPool, SchedulerClustersFromFixtureTopology)
{
    TopologyFixture fx;
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("numa"), fx.Environment());
    EXPECT_EQ(pool->NumCores(), 6);
    TWeftIntegerSet nodes;
    nodes.Add(1);
    pool->SetNUMANodes(nodes);
    EXPECT_EQ(pool->NumCores(), 2);
    TWeftIntegerSet bad;
    bad.Add(9);
    EXPECT_THROW(pool->SetNUMANodes(bad), Exception);
    EXPECT_EQ(pool->NumCores(), 2);  // previous placement in force
    std::atomic<int> ran{0};
    std::vector<PWeftTaskControl> tasks;
    for (int i = 0; i < 4; ++i) {
        tasks.push_back(CreateTask(TWeftTaskDelegate([&ran](const PWeftTask&) { ran.fetch_add(1); }), QStringLiteral("n")));
        tasks.back()->Schedule(pool);
    }
    for (const auto& t : tasks)
        EXPECT_TRUE(t->Terminate(5000));
    EXPECT_EQ(ran.load(), 4);
}

TEST_F(WeftThreadPool, GlobalPoolIsMadeOnce)
{
    PWeftThreadPool a, b;
    std::thread t1([&] { a = GlobalWeftThreadPool(); });
    std::thread t2([&] { b = GlobalWeftThreadPool(); });
    t1.join();
    t2.join();
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->Name(), QStringLiteral("GlobalWeftThreadPool"));
}

// One at a time: the tasks and callables of one scheduling thread start in
// the order it handed them over, however many wait; items of several
// threads all run, also of threads that have ended (their queues are given
// up and used again) and of more threads than the pool keeps queues for.
TEST_F(WeftThreadPool, ItemsOfEachSchedulingThreadStartInOrder)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("order"));
    pool->SetMaxExecuting(1);
    constexpr int CPerThread = 700;  // several hand-over segments
    std::mutex lock;
    std::vector<std::vector<int>> seen(2);
    auto record = [&](int thread, int i) {
        std::lock_guard l(lock);
        seen[size_t(thread)].push_back(i);
    };
    auto feed = [&](int thread) {
        for (int i = 0; i < CPerThread; ++i)
            if (i % 2)
                pool->Post([&record, thread, i] { record(thread, i); });
            else
                CreateTask(TWeftTaskDelegate([&record, thread, i](const PWeftTask&) { record(thread, i); }),
                           QStringLiteral("o"))
                    ->Schedule(pool);
    };
    std::thread other([&] { feed(1); });
    feed(0);
    other.join();
    EXPECT_TRUE(PumpUntil([&] { return pool->IsIdle(); }));
    for (const std::vector<int>& s : seen) {
        ASSERT_EQ(int(s.size()), CPerThread);
        for (int i = 0; i < CPerThread; ++i)
            ASSERT_EQ(s[size_t(i)], i);
    }

    pool->SetMaxExecuting(4);
    std::atomic<int> ran{0};
    for (int round = 0; round < 3; ++round) {
        std::vector<std::thread> threads;
        for (int t = 0; t < 50; ++t)
            threads.emplace_back([&] {
                for (int i = 0; i < 3; ++i)
                    pool->Post([&ran] { ++ran; });
            });
        for (std::thread& t : threads)
            t.join();
    }
    EXPECT_TRUE(PumpUntil([&] { return ran.load() == 3 * 50 * 3 && pool->IsIdle(); }));
}

namespace {

// A one-at-a-time pool whose only slot a first callable holds until
// Release(); Record(i) posts an item that notes when it starts.
struct HeldPool {
    PWeftThreadPool Pool;
    std::atomic<bool> Started{false}, Released{false};
    std::mutex Lock;
    std::vector<int> Seen;

    explicit HeldPool(const QString& name) : Pool(CreateThreadPool(name))
    {
        Pool->SetMaxExecuting(1);
        Pool->Post([this] {
            Started = true;
            while (!Released)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    }
    ~HeldPool()
    {
        Released = true;
        Pool.reset();
    }
    bool Held() { return PumpUntil([this] { return Started.load(); }); }
    void Release() { Released = true; }
    void Record(int i)
    {
        Pool->Post([this, i] {
            std::lock_guard l(Lock);
            Seen.push_back(i);
        });
    }
    // The order in which the recorded items started, once n have.
    std::vector<int> SeenOnce(size_t n)
    {
        EXPECT_TRUE(PumpUntil([&] {
            std::lock_guard l(Lock);
            return Seen.size() == n;
        }));
        std::lock_guard l(Lock);
        return Seen;
    }
};

// Holds the first worker of one pool that is about to take its next item
// without the pool's lock until the test lets it go.
struct TakeAloneGate {
    static inline std::atomic<int64_t> Pool{0};
    static inline std::atomic<int> State{0};  // 1: a worker waits; 2: let go
    static void Probe(int64_t poolID)
    {
        int64_t expected = poolID;
        if (!Pool.compare_exchange_strong(expected, 0))
            return;
        State = 1;
        while (State.load() != 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
};

}  // namespace

// One at a time: a thread that feeds more pools than it keeps hand-over
// queues for gives up its oldest queue while items still wait in it; what
// it posts to that pool afterwards starts after them, not between them.
TEST_F(WeftThreadPool, ItemsOfAThreadFeedingManyPoolsStartInOrder)
{
    HeldPool held(QStringLiteral("first"));
    ASSERT_TRUE(held.Held());
    held.Record(1);
    held.Record(2);
    std::vector<PWeftThreadPool> others;
    for (int p = 0; p < 8; ++p) {
        others.push_back(CreateThreadPool(QStringLiteral("other%1").arg(p)));
        others.back()->Post([] {});
    }
    held.Record(3);
    held.Release();
    EXPECT_EQ(held.SeenOnce(3), (std::vector<int>{1, 2, 3}));
}

// One at a time: a queue limit set while a thread's items wait sends them
// and the thread's next ones to the pool's queue; once the limit is gone,
// its later items are handed over again. A worker that was just about to
// take one of those without the lock lets the queued ones start first.
TEST_F(WeftThreadPool, ItemsSentToThePoolsQueueStartBeforeTheThreadsLaterOnes)
{
    HeldPool held(QStringLiteral("limits"));
    ASSERT_TRUE(held.Held());
    held.Record(1);

    TakeAloneGate::State = 0;
    TakeAloneGate::Pool = held.Pool->UniqueID();
    WeftPoolTakeAloneProbe = &TakeAloneGate::Probe;
    held.Release();
    const bool gated = PumpUntil([] { return TakeAloneGate::State.load() == 1; });
    held.Pool->SetMaxQueued(10);
    held.Record(2);
    held.Pool->SetMaxQueued(0);
    held.Record(3);
    TakeAloneGate::State = 2;
    EXPECT_TRUE(gated);

    EXPECT_EQ(held.SeenOnce(3), (std::vector<int>{1, 2, 3}));
    WeftPoolTakeAloneProbe = nullptr;
}
