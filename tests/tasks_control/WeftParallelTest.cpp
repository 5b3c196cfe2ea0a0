#include "TaskTestSupport.h"

#include "tasks/WeftBackgroundWorker.h"
#include "tasks/WeftParallel.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

class WeftParallel : public ::testing::Test {
protected:
    void SetUp() override { InitWeft(); }
};

TEST_F(WeftParallel, SharedPoolIsMadeOnceWithItsSettings)
{
    PWeftThreadPool a, b;
    std::thread t1([&] { a = GlobalParallelPool(); });
    std::thread t2([&] { b = GlobalParallelPool(); });
    t1.join();
    t2.join();
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->IdleWorkerThreadTimeout_sec(), 60);
    EXPECT_EQ(a->MaxExecuting(), -1);
    EXPECT_NE(a, GlobalWeftThreadPool());
}

TEST_F(WeftParallel, StartFollowsTheConfiguration)
{
    const PWeftThreadPool mine = CreateThreadPool(QStringLiteral("mine"));
    struct Case {
        PWeftTaskConfig Config;
        bool OwnThread;
        PWeftThreadPool Pool;
    };
    const Case cases[] = {
        {nullptr, false, GlobalParallelPool()},
        {Parallel::TaskConfig(), false, GlobalParallelPool()},
        {Parallel::TaskConfig()->NoThreadPool(), true, nullptr},
        {Parallel::TaskConfig()->NoThreadPool()->ThreadPool(mine), false, mine},
        {Parallel::TaskConfig()->ThreadPool(mine)->NoThreadPool(), true, nullptr},
    };
    for (const Case& c : cases) {
        std::atomic<DWORD> ranOn{0};
        const PWeftTaskControl t = CreateTask(TWeftTaskDelegate([&ranOn](const PWeftTask&) { ranOn = GetThreadId(); }),
                                              QStringLiteral("start"));
        Parallel::Start(t, c.Config);
        EXPECT_TRUE(t->WaitFor(5000));
        EXPECT_NE(ranOn.load(), 0u);
        if (c.Config) {
            EXPECT_EQ(c.Config->RunDirectly(), c.OwnThread);
            EXPECT_EQ(c.Config->GetThreadPool(), c.Pool);
        }
        t->Terminate();
    }
}

TEST_F(WeftParallel, ConfigAppliesHandlersInOrderAndAsyncTakesTerminationHandlers)
{
    std::vector<QString> seen;
    int terminations = 0;
    PWeftTaskConfig cfg = Parallel::TaskConfig()
                              ->OnMessage(3, [&](const PWeftTaskControl&, TWeftMessage&) { seen.push_back(QStringLiteral("a")); })
                              ->OnMessage(3, [&](const PWeftTaskControl&, TWeftMessage&) { seen.push_back(QStringLiteral("b")); })
                              ->OnTerminated([&]() { ++terminations; });
    Parallel::Async([](const PWeftTask& t) { t->Comm()->Send(3, TWeftValue(0)); }, cfg);
    EXPECT_TRUE(PumpUntil([&] { return terminations == 1; }));
    // The first handler of an id is the one that runs.
    EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("a")}));
    // The configuration gave its termination handlers away.
    std::atomic<bool> ran{false};
    Parallel::Async(std::function<void()>([&ran] { ran = true; }), cfg);
    EXPECT_TRUE(PumpUntil([&] { return ran.load(); }));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(terminations, 1);
}

TEST_F(WeftParallel, AsyncRaisesTheTasksExceptionOnTheOwnerThread)
{
    std::vector<QString> errors;
    SetMessageExceptionHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const Exception& ex) {
            errors.push_back(ex.Message());
        }
    });
    Parallel::Async(std::function<void()>([] { throw Exception(QStringLiteral("async failed")); }));
    EXPECT_TRUE(PumpUntil([&] { return !errors.empty(); }));
    SetMessageExceptionHandler(nullptr);
    EXPECT_EQ(errors, (std::vector<QString>{QStringLiteral("async failed")}));
}

TEST_F(WeftParallel, BackgroundWorkerTaskStateStopHandlersAndSeveralTasks)
{
    std::atomic<int> inits{0}, finals{0}, stops{0};
    bool invokedOnOwner = false;
    const DWORD owner = GetThreadId();
    std::atomic<int> items{0};
    PWeftBackgroundWorker worker =
        Parallel::BackgroundWorker()
            ->NumTasks(2)
            ->Initialize([&](TWeftValue& state) {
                inits.fetch_add(1);
                state = TWeftValue(42);
            })
            ->Finalize([&](const TWeftValue& state) {
                if (state.AsInteger() == 42)
                    finals.fetch_add(1);
            })
            ->OnStopInvoke([&] { invokedOnOwner = GetThreadId() == owner; stops.fetch_add(1); })
            ->OnRequestDone([&](const PWeftBackgroundWorker&, const PWeftWorkItem& item) {
                EXPECT_EQ(item->GetTaskState().AsInteger(), 42);
                items.fetch_add(1);
            })
            ->Execute([](const PWeftWorkItem&) {});
    for (int i = 0; i < 10; ++i)
        worker->Schedule(worker->CreateWorkItem(TWeftValue(i)));
    EXPECT_TRUE(PumpUntil([&] { return items.load() == 10; }));
    EXPECT_TRUE(worker->WaitFor(5000));
    EXPECT_TRUE(PumpUntil([&] { return stops.load() == 1; }));
    EXPECT_TRUE(invokedOnOwner);
    EXPECT_EQ(inits.load(), 2);
    EXPECT_EQ(finals.load(), 2);
    EXPECT_TRUE(worker->Terminate(5000));
}
