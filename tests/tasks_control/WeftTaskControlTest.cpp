#include "TaskTestSupport.h"

#include "tasks/WeftEventMonitor.h"
#include "tasks/WeftTask.h"
#include "tasks/WeftThreadPool.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

class WeftTaskControl : public ::testing::Test {
protected:
    void SetUp() override { InitWeft(); }
};

TEST_F(WeftTaskControl, UniqueIdsGrow)
{
    const PWeftTaskControl a = CreateTask(TWeftTaskDelegate([](const PWeftTask&) {}), QStringLiteral("a"));
    const PWeftTaskControl b = CreateTask(TWeftTaskDelegate([](const PWeftTask&) {}), QStringLiteral("b"));
    EXPECT_GT(a->UniqueID(), 0);
    EXPECT_GT(b->UniqueID(), a->UniqueID());
    EXPECT_EQ(a->Name(), QStringLiteral("a"));
}

TEST_F(WeftTaskControl, MessagesReachTheOwnerInOrderAndTerminateDeliversTheRest)
{
    for (bool pooled : {false, true}) {
        std::vector<QString> got;
        const DWORD owner = GetThreadId();
        bool onOwner = true;
        const PWeftTaskControl task =
            CreateTask(TWeftTaskDelegate([](const PWeftTask& t) {
                           for (int i = 1; i <= 5; ++i)
                               t->Comm()->Send(1001, TWeftValue(QStringLiteral("text %1").arg(i)));
                       }),
                       QStringLiteral("sender"));
        task->OnMessage(1001, [&](const PWeftTaskControl&, TWeftMessage& msg) {
            onOwner = onOwner && GetThreadId() == owner;
            got.push_back(msg.MsgData.AsString());
        });
        if (pooled)
            task->Schedule();
        else
            task->Run();
        EXPECT_TRUE(task->WaitFor(5000));
        EXPECT_TRUE(task->Terminate());
        ASSERT_EQ(got.size(), 5u) << pooled;
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(got[size_t(i)], QStringLiteral("text %1").arg(i + 1));
        EXPECT_TRUE(onOwner);
    }
}

TEST_F(WeftTaskControl, HandlersByIdGeneralAndTermination)
{
    std::vector<QString> seen;
    bool terminated = false;
    const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([](const PWeftTask& t) {
                                                 t->Comm()->Send(7, TWeftValue(1));
                                                 t->Comm()->Send(8, TWeftValue(2));
                                             }),
                                             QStringLiteral("ids"));
    task->OnMessage(7, [&](const PWeftTaskControl&, TWeftMessage&) { seen.push_back(QStringLiteral("first7")); })
        ->OnMessage(7, [&](const PWeftTaskControl&, TWeftMessage&) { seen.push_back(QStringLiteral("second7")); })
        ->OnMessage([&](const PWeftTaskControl&, TWeftMessage& m) { seen.push_back(QStringLiteral("general%1").arg(m.MsgID)); })
        ->OnTerminated([&]() { terminated = true; })
        ->Run();
    EXPECT_TRUE(PumpUntil([&] { return terminated; }));
    EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("first7"), QStringLiteral("general8")}));
}

// Watching a task costs no message channel until one side talks (then the
// watch still sees every message: the test above).
TEST_F(WeftTaskControl, WatchedTaskThatNeverTalksMakesNoChannel)
{
    bool terminated = false;
    const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([](const PWeftTask&) {}), QStringLiteral("quiet"));
    task->OnTerminated([&]() { terminated = true; })->Unobserved()->SetQueueSize(20)->Run();
    EXPECT_TRUE(PumpUntil([&] { return terminated; }));
    auto* shared = dynamic_cast<IWeftTaskControlSharedInfo*>(task.get());
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->GetSharedInfo()->Channel(false), nullptr);
}

TEST_F(WeftTaskControl, ExceptionOfTheWorkIsCapturedNotRaised)
{
    const PWeftTaskControl task =
        CreateTask(TWeftTaskDelegate([](const PWeftTask&) { throw Exception(QStringLiteral("boom")); }),
                   QStringLiteral("raiser"));
    task->Run();
    EXPECT_TRUE(task->WaitFor(5000));
    ASSERT_TRUE(task->FatalException());
    std::exception_ptr e = task->DetachException();
    ASSERT_TRUE(e);
    EXPECT_FALSE(task->FatalException());
    try {
        std::rethrow_exception(e);
    } catch (const Exception& ex) {
        EXPECT_EQ(ex.Message(), QStringLiteral("boom"));
    }
    task->Terminate();
}

TEST_F(WeftTaskControl, TerminateInsideHandlerIsDelayed)
{
    THandle release = CreateEvent(true, false);
    bool answer = false;
    const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([release](const PWeftTask& t) {
                                                 t->Comm()->Send(1, TWeftValue(0));
                                                 WaitForSingleObject(release, 5000);
                                             }),
                                             QStringLiteral("delayed"));
    bool handled = false;
    task->OnMessage(1, [&](const PWeftTaskControl& t, TWeftMessage&) {
        answer = t->Terminate(INFINITE);  // returns at once inside a handler
        handled = true;
    });
    task->Run();
    EXPECT_TRUE(PumpUntil([&] { return handled; }));
    EXPECT_TRUE(answer);
    SetEvent(release);
    EXPECT_TRUE(task->WaitFor(5000));
    task->Terminate();
}

TEST_F(WeftTaskControl, TerminateOfTaskThatIgnoresItReturnsFalse)
{
    std::atomic<bool> go{false};
    const PWeftTaskControl task =
        CreateTask(TWeftTaskDelegate([&go](const PWeftTask&) {
                       while (!go.load())
                           std::this_thread::sleep_for(std::chrono::milliseconds(5));
                   }),
                   QStringLiteral("stubborn"));
    task->Run();
    EXPECT_FALSE(task->Terminate(100));
    go = true;  // the abandoned thread ends by itself
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

TEST_F(WeftTaskControl, ConfigurationAfterTheStartRaises)
{
    const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([](const PWeftTask&) {}), QStringLiteral("cfg"));
    task->Comm();
    EXPECT_THROW(task->SetQueueSize(20), Exception);
    task->Run();
    EXPECT_THROW(task->CancelWith(CreateWeftCancellationToken()), Exception);
    EXPECT_TRUE(task->Terminate());
}

TEST_F(WeftTaskControl, ChainedTaskRunsAfterSuccess)
{
    std::atomic<int> order{0};
    std::atomic<int> secondSaw{-1};
    const PWeftTaskControl second =
        CreateTask(TWeftTaskDelegate([&](const PWeftTask&) { secondSaw = order.fetch_add(1); }), QStringLiteral("2"));
    const PWeftTaskControl first =
        CreateTask(TWeftTaskDelegate([&](const PWeftTask&) { order.fetch_add(1); }), QStringLiteral("1"));
    first->ChainTo(second)->Run();
    EXPECT_TRUE(first->WaitFor(5000));
    EXPECT_TRUE(second->WaitFor(5000));
    EXPECT_EQ(secondSaw.load(), 1);
    first->Terminate();
    second->Terminate();
}

TEST_F(WeftTaskControl, TerminateBeforeTheStartEndsWithoutWork)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("pre"));
    pool->SetMaxExecuting(1);
    THandle release = CreateEvent(true, false);
    const PWeftTaskControl blocker =
        CreateTask(TWeftTaskDelegate([release](const PWeftTask&) { WaitForSingleObject(release, 5000); }),
                   QStringLiteral("blocker"));
    std::atomic<bool> ran{false};
    const PWeftTaskControl queued =
        CreateTask(TWeftTaskDelegate([&ran](const PWeftTask&) { ran = true; }), QStringLiteral("queued"));
    blocker->Schedule(pool);
    queued->Enforced(false)->Schedule(pool);
    EXPECT_TRUE(queued->Terminate(1000));  // not started: ends on this thread
    SetEvent(release);
    EXPECT_TRUE(blocker->Terminate(5000));
    EXPECT_TRUE(PumpUntil([&] { return pool->IsIdle(); }));
    EXPECT_FALSE(ran.load());
}

TEST_F(WeftTaskControl, BurstOfThousandMessagesInOrderAndMonitorsPooledPerThread)
{
    const int before = GTaskControlEventMonitorPool().Count();
    std::vector<int> got;
    const PWeftTaskControl a = CreateTask(TWeftTaskDelegate([](const PWeftTask& t) {
                                              for (int i = 0; i < 1000; ++i)
                                                  t->Comm()->Send(5, TWeftValue(i));
                                          }),
                                          QStringLiteral("burst"));
    a->OnMessage(5, [&](const PWeftTaskControl&, TWeftMessage& m) { got.push_back(m.MsgData.AsInteger()); });
    const PWeftTaskControl b = CreateTask(TWeftTaskDelegate([](const PWeftTask&) {}), QStringLiteral("other"));
    b->Unobserved();
    EXPECT_EQ(GTaskControlEventMonitorPool().Count(), before + 1);
    a->Run();
    b->Run();
    EXPECT_TRUE(PumpUntil([&] { return got.size() == 1000; }));
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(got[size_t(i)], i);
    EXPECT_TRUE(a->Terminate());
    EXPECT_TRUE(b->Terminate());
    EXPECT_EQ(GTaskControlEventMonitorPool().Count(), before);
}

// The end and the stop request are also seen by waits that come after them
// (their events are made on first demand).
TEST_F(WeftTaskControl, LateWaitsSeeTheEndAndTheStopRequest)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("late"));
    for (bool pooled : {false, true})
        for (bool stopFirst : {false, true}) {
            const std::string name = std::string(pooled ? "pooled" : "own thread") + (stopFirst ? ", stopped" : "");
            PWeftTaskEx kept;  // read once ran is set
            DWORD seenInWork = WAIT_FAILED;
            std::atomic<bool> ran{false};
            const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([&](const PWeftTask& t) {
                                                         kept = std::dynamic_pointer_cast<IWeftTaskEx>(t);
                                                         seenInWork = WaitForSingleObject(t->TerminateEvent(), 0);
                                                         ran = true;
                                                     }),
                                                     QStringLiteral("late"));
            if (stopFirst)
                task->Stop();  // forced execution: the work still runs
            if (pooled)
                task->Schedule(pool);
            else
                task->Run();
            ASSERT_TRUE(PumpUntil([&] { return ran.load() && kept->Stopped(); })) << name;
            EXPECT_EQ(seenInWork, stopFirst ? WAIT_OBJECT_0 : WAIT_TIMEOUT) << name;
            EXPECT_TRUE(task->WaitFor(0)) << name;
            EXPECT_EQ(WaitForSingleObject(kept->TerminateEvent(), 0), stopFirst ? WAIT_OBJECT_0 : WAIT_TIMEOUT) << name;
            EXPECT_TRUE(task->Terminate(1000)) << name;
        }
}
