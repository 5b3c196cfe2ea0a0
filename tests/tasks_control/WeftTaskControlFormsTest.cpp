// The less common forms of task control: method and dispatcher handlers,
// handler execs, invoking worker methods by name or address, indexed user
// data, timer and wait-object forms, groups, lent locks, parameter lists and
// the pool's per-thread data.

#include "TaskTestSupport.h"

#include "tasks/WeftEventMonitor.h"
#include "tasks/WeftParallel.h"
#include "tasks/WeftTask.h"
#include "tasks/WeftTaskGroup.h"
#include "tasks/WeftThreadPool.h"

#include <QVariant>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

class WeftTaskControlForms : public ::testing::Test {
protected:
    void SetUp() override { InitWeft(); }
};

template <class F>
QString RaisedText(F&& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return QStringLiteral("<nothing raised>");
}

QString RaisedText(std::exception_ptr e)
{
    if (!e)
        return QStringLiteral("<no exception>");
    try {
        std::rethrow_exception(e);
    } catch (const Exception& ex) {
        return ex.Message();
    }
}

// Sends each id once (value = id) and ends.
PWeftTaskControl Sender(std::vector<uint16_t> ids)
{
    return CreateTask(TWeftTaskDelegate([ids](const PWeftTask& t) {
                          for (uint16_t id : ids)
                              t->Comm()->Send(id, TWeftValue(int32_t(id)));
                      }),
                      QStringLiteral("sender"));
}

// An owner object whose methods handle a task's messages and its end.
class TOwner {
public:
    void OnSeven(const PWeftTaskControl&, TWeftMessage& msg) { Seen.push_back(QStringLiteral("seven%1").arg(msg.MsgData.AsInteger())); }
    void OnAny(const PWeftTaskControl&, TWeftMessage& msg) { Seen.push_back(QStringLiteral("general%1").arg(msg.MsgID)); }
    void OnEnd(const PWeftTaskControl& task) { EndedID = task->UniqueID(); }

    std::vector<QString> Seen;
    int64_t EndedID = 0;
};

// Handles 8 through its table and counts what reaches its default handler.
class TDispatcher final : public TWeftMessageDispatcher {
public:
    TDispatcher()
    {
        SetMessageHandler(8, [this](TWeftMessage& msg) {
            Eights.push_back(msg.MsgData.AsInteger());
            msg.MsgData = TWeftValue(int32_t(-1));  // a copy: nobody else sees this
        });
    }
    void DefaultHandler(TWeftMessage& msg) override { Others.push_back(msg.MsgID); }
    std::vector<int> Eights;
    std::vector<int> Others;
};

}  // namespace

TEST_F(WeftTaskControlForms, MethodHandlersAndDispatcherObjectsOnTheOwnerThread)
{
    TOwner owner;
    auto dispatcher = std::make_shared<TDispatcher>();
    const PWeftTaskControl task = Sender({7, 8, 9});
    std::vector<int> eightsSeenByGeneral;
    task->OnMessage(dispatcher)
        ->OnMessage(7, TWeftTaskMessageEvent::Of<&TOwner::OnSeven>(&owner))
        ->OnMessage(TWeftTaskMessageEvent::Of<&TOwner::OnAny>(&owner))
        ->OnMessage(8, [&](const PWeftTaskControl&, TWeftMessage& msg) { eightsSeenByGeneral.push_back(msg.MsgData.AsInteger()); })
        ->OnTerminated(TWeftTaskTerminatedEvent::Of<&TOwner::OnEnd>(&owner))
        ->Run();
    EXPECT_TRUE(PumpUntil([&] { return owner.EndedID != 0; }));
    EXPECT_EQ(owner.EndedID, task->UniqueID());
    EXPECT_EQ(owner.Seen, (std::vector<QString>{QStringLiteral("seven7"), QStringLiteral("general9")}));
    EXPECT_EQ(dispatcher->Eights, std::vector<int>{8});
    EXPECT_EQ(dispatcher->Others, (std::vector<int>{7, 9}));
    EXPECT_EQ(eightsSeenByGeneral, std::vector<int>{8});
    EXPECT_TRUE(task->Terminate());
}

TEST_F(WeftTaskControlForms, MessageExecKindsCloneAndApply)
{
    const PWeftTaskControl task = Sender({3});
    TWeftMessage msg(3, TWeftValue(int32_t(3)));

    struct TCase {
        const char* Name;
        std::function<void(TWeftMessageExec&)> Setup;
        QString OnMessage, OnTerminated, Apply;
    };
    const QString none = QStringLiteral("<nothing raised>");
    const std::vector<TCase> cases = {
        {"empty", [](TWeftMessageExec&) {}, QStringLiteral("TWeftMessageExec.OnMessage: Unexpected kind oekNull"), none,
         QStringLiteral("TWeftMessageExec.Apply: Unexpected kind oekNull")},
        {"procedure",
         [](TWeftMessageExec& e) {
             e.SetOnMessageProc([] {});
             e.SetOnTerminatedProc([] {});
         },
         QStringLiteral("TWeftMessageExec.OnMessage: Unexpected kind oekProcedure"),
         QStringLiteral("TWeftMessageExec.OnTerminated: Unexpected kind oekProcedure"),
         QStringLiteral("TWeftMessageExec.Apply: Unexpected kind oekProcedure")},
        {"anonymous",
         [](TWeftMessageExec& e) {
             e.SetOnMessage(TWeftOnMessageFunction([](const PWeftTaskControl&, TWeftMessage&) {}));
             e.SetOnTerminated(TWeftOnTerminatedFunction([](const PWeftTaskControl&) {}));
         },
         none, none, none},
    };
    for (const TCase& c : cases) {
        TWeftMessageExec exec;
        c.Setup(exec);
        const auto clone = exec.Clone();
        for (const TWeftMessageExec* e : {&exec, clone.get()}) {
            EXPECT_EQ(RaisedText([&] { e->OnMessage(task, msg); }), c.OnMessage) << c.Name;
            EXPECT_EQ(RaisedText([&] { e->OnTerminated(task); }), c.OnTerminated) << c.Name;
            EXPECT_EQ(RaisedText([&] { e->Apply(3, Sender({})); }), c.Apply) << c.Name;
        }
    }

    // A configured exec applied to the task handles its messages there.
    TOwner owner;
    auto exec = std::make_shared<TWeftMessageExec>(TWeftTaskMessageEvent::Of<&TOwner::OnSeven>(&owner));
    EXPECT_EQ(exec->MessageKind(), oekMethod);
    exec->Clone()->Apply(3, task);
    bool ended = false;
    task->OnTerminated([&] { ended = true; })->Run();
    EXPECT_TRUE(PumpUntil([&] { return ended; }));
    EXPECT_EQ(owner.Seen, std::vector<QString>{QStringLiteral("seven3")});
    task->Terminate();
}

TEST_F(WeftTaskControlForms, OwnedExecAndTerminateInsideADispatcherIsDelayed)
{
    THandle release = CreateEvent(true, false);
    const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([release](const PWeftTask& t) {
                                                 t->Comm()->Send(1, TWeftValue(0));
                                                 WaitForSingleObject(release, 10000);
                                             }),
                                             QStringLiteral("delayed"));
    auto dispatcher = std::make_shared<TWeftMessageDispatcher>();
    bool answered = false;
    dispatcher->SetMessageHandler(1, [&](TWeftMessage&) { answered = task->Terminate(INFINITE); });
    int handled = 0;
    task->OnMessage(dispatcher)
        ->OnMessage(1, std::make_shared<TWeftMessageExec>(
                           TWeftOnMessageFunction([&](const PWeftTaskControl&, TWeftMessage&) { ++handled; })))
        ->Run();
    EXPECT_TRUE(PumpUntil([&] { return handled == 1; }));
    EXPECT_TRUE(answered);  // returned at once
    SetEvent(release);
    EXPECT_TRUE(task->WaitFor(10000));
    EXPECT_TRUE(task->Terminate());
}

// --- Invoking worker methods -------------------------------------------------------------

namespace {

class TFormsWorker final : public TWeftWorker {
public:
    std::atomic<int> Pings{0};
    std::mutex Lock;
    std::vector<QString> Values;  // text of each value received

    QString ClassName() const override { return QStringLiteral("TFormsWorker"); }
    void Ping() { Pings.fetch_add(1); }
    void Take(const TWeftValue& v)
    {
        QString text;
        if (v.IsArray()) {
            QStringList items;
            for (int i = 0; i < v.AsArray().Count(); ++i)
                items << v.AsArray()[i].AsString();
            text = QStringLiteral("[%1]").arg(items.join(QLatin1Char(',')));
        } else {
            text = v.IsEmpty() ? QStringLiteral("null") : v.AsString();
        }
        std::lock_guard lock(Lock);
        Values.push_back(text);
    }
    std::vector<QString> Taken()
    {
        std::lock_guard lock(Lock);
        return Values;
    }

    const TWeftMethodTable* PublishedMethods() const override
    {
        static const TWeftMethodTable table = TWeftMethodTable(QStringLiteral("TFormsWorker"))
                                                  .Publish<&TFormsWorker::Ping>(QStringLiteral("Ping"))
                                                  .Publish<&TFormsWorker::Take>(QStringLiteral("Take"));
        return &table;
    }
};

}  // namespace

TEST_F(WeftTaskControlForms, RunWithEachInvokeForm)
{
    void* ping = WeftMethodAddress<&TFormsWorker::Ping>();
    void* take = WeftMethodAddress<&TFormsWorker::Take>();
    const std::vector<TWeftValue> list{TWeftValue(int32_t(1)), TWeftValue(QStringLiteral("two"))};
    struct TCase {
        const char* Name;
        std::function<void(const PWeftTaskControl&)> Start;
        int Pings;
        std::vector<QString> Taken;
    };
    const std::vector<TCase> cases = {
        {"address", [&](const PWeftTaskControl& t) { t->Run(ping); }, 1, {}},
        {"address list", [&](const PWeftTaskControl& t) { t->Run(take, list); }, 0, {QStringLiteral("[1,two]")}},
        {"address value", [&](const PWeftTaskControl& t) { t->Run(take, TWeftValue(int32_t(42))); }, 0, {QStringLiteral("42")}},
        {"name", [&](const PWeftTaskControl& t) { t->Run(QStringLiteral("Take")); }, 0, {QStringLiteral("null")}},
        {"name list", [&](const PWeftTaskControl& t) { t->Run(QStringLiteral("Take"), std::vector<TWeftValue>{}); }, 0,
         {QStringLiteral("[]")}},
        {"name value", [&](const PWeftTaskControl& t) { t->Run(QStringLiteral("Take"), TWeftValue("x")); }, 0,
         {QStringLiteral("x")}},
        {"procedure", [&](const PWeftTaskControl& t) { t->Run(TWeftTaskControlInvokeFunction([] {})); }, 0, {}},
        {"procedure with task",
         [&](const PWeftTaskControl& t) {
             t->Run(TWeftTaskControlInvokeFunctionEx([](const PWeftTask& task) {
                 auto* w = dynamic_cast<TFormsWorker*>(std::dynamic_pointer_cast<IWeftTaskEx>(task)->GetImplementor());
                 w->Ping();
             }));
         },
         1, {}},
    };
    for (const TCase& c : cases) {
        auto worker = std::make_shared<TFormsWorker>();
        const PWeftTaskControl task = CreateTask(worker, QStringLiteral("invoke"));
        c.Start(task);
        // Invoke messages are handled in order: a last call marks the end.
        std::atomic<bool> done{false};
        task->Invoke(TWeftTaskControlInvokeFunction([&done] { done = true; }));
        EXPECT_TRUE(PumpUntil([&] { return done.load(); })) << c.Name;
        EXPECT_TRUE(task->Terminate(10000));
        EXPECT_EQ(worker->Pings.load(), c.Pings) << c.Name;
        EXPECT_EQ(worker->Taken(), c.Taken) << c.Name;
        EXPECT_FALSE(task->FatalException()) << c.Name;
    }
}

TEST_F(WeftTaskControlForms, InvokeOfAnUnknownNameEndsTheWorkWithItsText)
{
    auto worker = std::make_shared<TFormsWorker>();
    const PWeftTaskControl task = CreateTask(worker, QStringLiteral("unknown"));
    task->Invoke(QStringLiteral("Ping"))->Invoke(QStringLiteral("Nope"), TWeftValue(int32_t(1)))->Run();
    EXPECT_TRUE(task->WaitFor(10000));
    EXPECT_EQ(worker->Pings.load(), 1);
    EXPECT_EQ(RaisedText(task->DetachException()),
              QStringLiteral("TWeftTaskExecutor.DispatchMessage: Cannot find message method TFormsWorker.Nope"));
    task->Terminate();
}

// --- User data, parameters, options -----------------------------------------------------

TEST_F(WeftTaskControlForms, UserDataByIndexAndByName)
{
    const PWeftTaskControl task = Sender({});
    task->SetUserData(TWeftValue(int32_t(0)), TWeftValue("zero"))
        ->SetUserData(TWeftValue(int64_t(2)), TWeftValue("two"))
        ->SetUserData(TWeftValue(QVariant(1)), TWeftValue("one"))
        ->SetUserData(QStringLiteral("name"), TWeftValue(int32_t(5)));
    EXPECT_EQ(task->UserData(TWeftValue(int32_t(0))).AsString(), QStringLiteral("zero"));
    EXPECT_EQ(task->UserData(TWeftValue(QVariant(1))).AsString(), QStringLiteral("one"));
    EXPECT_EQ(task->UserData(TWeftValue(int64_t(2))).AsString(), QStringLiteral("two"));
    EXPECT_EQ(task->GetUserDataVal(QStringLiteral("name")).AsInteger(), 5);
    task->SetUserDataVal(QStringLiteral("name"), TWeftValue(int32_t(6)));  // same name: replaced
    EXPECT_EQ(task->UserData(QStringLiteral("name")).AsInteger(), 6);
    EXPECT_EQ(task->UserData(TWeftValue(int32_t(3))).AsInteger(), 6);  // the named entry came fourth

    const QString badKind = QStringLiteral("UserData can only be indexed by integer or string.");
    EXPECT_EQ(RaisedText([&] { task->UserData(TWeftValue(1.5)); }), badKind);
    EXPECT_EQ(RaisedText([&] { task->SetUserData(TWeftValue(true), TWeftValue()); }), badKind);
    EXPECT_EQ(RaisedText([&] { task->SetUserData(TWeftValue(QVariant(QStringLiteral("x"))), TWeftValue()); }),
              QStringLiteral("TWeftValue cannot be converted to int64"));
    EXPECT_EQ(RaisedText([&] { task->SetUserData(TWeftValue(int32_t(-1)), TWeftValue()); }),
              QStringLiteral("UserData index -1 is out of range"));
}

TEST_F(WeftTaskControlForms, SetParametersReplacesTheList)
{
    std::atomic<int> count{-1};
    std::atomic<int> second{0};
    const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([&](const PWeftTask& t) {
                                                 const auto params = std::dynamic_pointer_cast<IWeftTaskEx>(t)->Param();
                                                 count = params->Count();
                                                 second = (*params)[1].AsInteger();
                                             }),
                                             QStringLiteral("params"));
    task->SetParameter(QStringLiteral("old"), TWeftValue(int32_t(9)))
        ->SetParameters({TWeftValue(int32_t(10)), TWeftValue(int32_t(20))})
        ->Run();
    EXPECT_TRUE(task->WaitFor(10000));
    EXPECT_EQ(count.load(), 2);
    EXPECT_EQ(second.load(), 20);
    EXPECT_THROW(task->SetParameters({}), Exception);  // frozen by the start
    task->Terminate();
}

TEST_F(WeftTaskControlForms, WorkerOnlyWaitOptions)
{
    const PWeftTaskControl plain = Sender({});
    const QString text = QStringLiteral("TWeftTaskExecutor.SetOptions: Trying to set IWeftWorker specific option(s)");
    EXPECT_EQ(RaisedText([&] { plain->Alertable(); }), text);
    EXPECT_EQ(RaisedText([&] { plain->MsgWait(0xFF); }), text);

    auto worker = std::make_shared<TFormsWorker>();
    const PWeftTaskControl task = CreateTask(worker, QStringLiteral("waits"));
    task->Alertable()->MsgWait(0xFF)->Run(QStringLiteral("Ping"));
    std::atomic<bool> done{false};
    task->Invoke(TWeftTaskControlInvokeFunction([&done] { done = true; }));
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    EXPECT_TRUE(task->Terminate(10000));
    EXPECT_EQ(worker->Pings.load(), 1);
}

// --- Timers and wait objects ---------------------------------------------------------------

namespace {

class TTimerWorker final : public TWeftWorker {
public:
    std::atomic<int> WorkerTimers{0};
    std::atomic<int> Procs{0};
    std::atomic<int> ProcID{-1};
    std::atomic<int> Message6Data{-1};
    std::atomic<int> Message6Count{0};
    std::atomic<int> Signals{0};
    THandle Signal = CreateEvent(false, false);

    TTimerWorker()
    {
        SetMessageHandler(6, [this](TWeftMessage& msg) {
            Message6Data = msg.MsgData.AsInteger();
            if (Message6Count.fetch_add(1) == 0)
                TaskEx()->StopTimer();  // timer 0 goes
        });
    }
    bool Initialize() override
    {
        TaskEx()->SetTimer(DWORD(1), TWeftMessageID(6));
        TaskEx()->SetTimer(4, 1, TWeftTimerProcWithID([this](int32_t id) { ProcID = id; }));
        TaskEx()->RegisterWaitObject(Signal, MakeMethod<&TTimerWorker::Signalled>(this));
        return true;
    }
    void Signalled() { Signals.fetch_add(1); }
    void Timer() override { WorkerTimers.fetch_add(1); }
    std::shared_ptr<IWeftTaskEx> TaskEx() { return std::dynamic_pointer_cast<IWeftTaskEx>(Task()); }
};

}  // namespace

TEST_F(WeftTaskControlForms, TimerFormsOnBothSidesAndAWaitObjectMethod)
{
    auto worker = std::make_shared<TTimerWorker>();
    const PWeftTaskControl task = CreateTask(worker, QStringLiteral("timers"));
    task->SetTimer(DWORD(1))  // timer 0: the worker's Timer, until the task side replaces it
        ->SetTimer(3, 1, TWeftTimerProc([&worker] { worker->Procs.fetch_add(1); }))
        ->Run();
    EXPECT_TRUE(PumpUntil([&] {
        return worker->Message6Count.load() >= 1 && worker->Procs.load() >= 1 && worker->ProcID.load() == 4;
    }));
    EXPECT_EQ(worker->Message6Data.load(), 0);  // timer 0's id as the data
    task->ClearTimer(3)->ClearTimer(4);
    SetEvent(worker->Signal);
    EXPECT_TRUE(PumpUntil([&] { return worker->Signals.load() == 1; }));
    EXPECT_TRUE(task->Terminate(10000));
    EXPECT_FALSE(task->FatalException());
}

// --- Groups and locks ------------------------------------------------------------------------

TEST_F(WeftTaskControlForms, TasksJoinAndLeaveAGroup)
{
    const PWeftTaskGroup group = CreateTaskGroup();
    auto waiter = [](const PWeftTask& t) { WaitForSingleObject(t->TerminateEvent(), 10000); };
    const PWeftTaskControl a = CreateTask(TWeftTaskDelegate(waiter), QStringLiteral("a"));
    const PWeftTaskControl b = CreateTask(TWeftTaskDelegate(waiter), QStringLiteral("b"));
    a->Join(group)->Join(group)->Run();
    b->Join(group)->Schedule();
    EXPECT_EQ(group->Count(), 2);
    EXPECT_TRUE(group->Contains(b->UniqueID()));
    group->StopAll();
    EXPECT_TRUE(group->WaitForAll(10000));
    b->Leave(group)->Leave(group);
    EXPECT_EQ(group->Count(), 1);
    EXPECT_FALSE(group->Contains(b->UniqueID()));
    EXPECT_EQ(group->Tasks().front(), a);
    a->Terminate();
    b->Terminate();
}

namespace {

class TCountingLock final : public TSynchroObject {
public:
    explicit TCountingLock(std::atomic<int>& destroyed) : Destroyed(destroyed) {}
    ~TCountingLock() override { Destroyed.fetch_add(1); }
    void Acquire() override { M.lock(); Acquired.fetch_add(1); }
    void Release() override { M.unlock(); }
    std::mutex M;
    std::atomic<int> Acquired{0};
    std::atomic<int>& Destroyed;
};

}  // namespace

TEST_F(WeftTaskControlForms, LentLockIsFreedWithTheTaskOnlyWhenHandedOver)
{
    for (bool autoDestroy : {true, false}) {
        std::atomic<int> destroyed{0};
        auto* lock = new TCountingLock(destroyed);
        {
            const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([](const PWeftTask& t) {
                                                         const auto l = std::dynamic_pointer_cast<IWeftTaskEx>(t)->GetSyncLock();
                                                         l->Acquire();
                                                         l->Release();
                                                     }),
                                                     QStringLiteral("locked"));
            task->WithLock(lock, autoDestroy)->Run();
            EXPECT_TRUE(task->WaitFor(10000));
            EXPECT_EQ(lock->Acquired.load(), 1);
            EXPECT_TRUE(task->Terminate());
        }
        if (autoDestroy) {
            // The task's thread lets go of it as its last step.
            EXPECT_TRUE(PumpUntil([&] { return destroyed.load() == 1; }));
        } else {
            EXPECT_EQ(destroyed.load(), 0);
            delete lock;
        }
    }
}

// --- The pool's per-thread data ---------------------------------------------------------------

namespace {

class TThreadData final : public IInterface {
public:
    explicit TThreadData(int n) : N(n) {}
    int N;
};

}  // namespace

TEST_F(WeftTaskControlForms, PoolThreadDataIsMadeOncePerWorkerThread)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("thread data"));
    std::atomic<int> made{0};
    // Threads made before the factory is set have no data.
    pool->SetThreadDataFactory([&made]() -> IInterfacePtr { return std::make_shared<TThreadData>(made.fetch_add(1) + 1); });
    pool->SetMaxExecuting(1);
    pool->SetMinWorkers(1);
    std::vector<int> seen(3, -1);
    for (int i = 0; i < 3; ++i) {
        const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([&seen, i](const PWeftTask& t) {
                                                     const auto data = std::dynamic_pointer_cast<TThreadData>(
                                                         std::dynamic_pointer_cast<IWeftTaskEx>(t)->GetThreadData());
                                                     seen[size_t(i)] = data ? data->N : 0;
                                                 }),
                                                 QStringLiteral("data"));
        task->Schedule(pool);
        EXPECT_TRUE(task->WaitFor(10000));
        task->Terminate();
    }
    // One worker served all three tasks with the data made for it.
    EXPECT_EQ(pool->CountWorkers(), 1);
    EXPECT_EQ(made.load(), 1);
    EXPECT_EQ(seen, (std::vector<int>{1, 1, 1}));

    // A factory that raises leaves the thread without data; tasks still run.
    const PWeftThreadPool failing = CreateThreadPool(QStringLiteral("failing data"));
    failing->SetThreadDataFactory([]() -> IInterfacePtr { throw Exception(QStringLiteral("no data")); });
    std::atomic<int> dataSeen{-1};
    const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([&dataSeen](const PWeftTask& t) {
                                                 dataSeen = std::dynamic_pointer_cast<IWeftTaskEx>(t)->GetThreadData() ? 1 : 0;
                                             }),
                                             QStringLiteral("no data"));
    task->Schedule(failing);
    EXPECT_TRUE(task->WaitFor(10000));
    EXPECT_EQ(dataSeen.load(), 0);
    task->Terminate();
}

// --- Queue size and invoke from the task side -------------------------------------------------

TEST_F(WeftTaskControlForms, QueueSizeSetBeforeTheStartLimitsEachQueue)
{
    const PWeftTaskControl task = Sender({});
    const PWeftCommunicationEndpoint comm = task->SetQueueSize(20)->Comm();
    for (int i = 0; i < 20; ++i)
        comm->Send(1, TWeftValue(int32_t(i)));
    EXPECT_EQ(RaisedText([&] { comm->Send(1); }), QStringLiteral("TWeftCommunicationEndpoint.Send: Queue is full"));
}

namespace {

class TSelfWorker final : public TWeftWorker {
public:
    std::mutex Lock;
    std::vector<QString> Steps;
    std::atomic<DWORD> LoopThread{0};
    std::atomic<DWORD> SelfThread{0};
    std::atomic<DWORD> OwnerThread{0};

    TSelfWorker()
    {
        SetMessageHandler(1, [this](TWeftMessage&) {
            LoopThread = GetThreadId();
            Step(QStringLiteral("begin"));
            const auto task = std::dynamic_pointer_cast<IWeftTaskEx>(Task());
            task->InvokeOnSelf([this] {
                SelfThread = GetThreadId();
                Step(QStringLiteral("self"));
            });
            task->Invoke([this] { OwnerThread = GetThreadId(); });
            Step(QStringLiteral("end"));
        });
    }
    void Step(const QString& s)
    {
        std::lock_guard lock(Lock);
        Steps.push_back(s);
    }
    std::vector<QString> Taken()
    {
        std::lock_guard lock(Lock);
        return Steps;
    }
};

}  // namespace

TEST_F(WeftTaskControlForms, TaskInvokesOnItselfAfterTheCurrentMessageAndOnTheOwner)
{
    auto worker = std::make_shared<TSelfWorker>();
    const PWeftTaskControl task = CreateTask(worker, QStringLiteral("self"));
    task->Unobserved()->Run();
    task->Comm()->Send(1);
    EXPECT_TRUE(PumpUntil([&] { return worker->SelfThread.load() != 0 && worker->OwnerThread.load() != 0; }));
    EXPECT_EQ(worker->Taken(), (std::vector<QString>{QStringLiteral("begin"), QStringLiteral("end"), QStringLiteral("self")}));
    EXPECT_EQ(worker->SelfThread.load(), worker->LoopThread.load());
    EXPECT_EQ(worker->OwnerThread.load(), GetThreadId());
    EXPECT_TRUE(task->Terminate(10000));
}

// --- Task configurations carry the same forms ------------------------------------------------

TEST_F(WeftTaskControlForms, ConfigurationAppliesDispatcherMethodsAndOneSharedLockToEveryTask)
{
    TOwner owner;
    auto dispatcher = std::make_shared<TDispatcher>();
    std::atomic<int> destroyed{0};
    auto* lock = new TCountingLock(destroyed);
    int ended = 0;
    {
        PWeftTaskConfig config = Parallel::TaskConfig();
        config->OnMessage(dispatcher)
            ->OnMessage(7, TWeftTaskMessageEvent::Of<&TOwner::OnSeven>(&owner))
            ->OnMessage(TWeftTaskMessageEvent::Of<&TOwner::OnAny>(&owner))
            ->OnTerminated(TWeftOnTerminatedFunctionSimple([&ended] { ++ended; }))
            ->WithLock(lock, true);
        std::vector<PWeftTaskControl> tasks;
        for (int i = 0; i < 2; ++i) {
            const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([](const PWeftTask& t) {
                                                         const auto l = std::dynamic_pointer_cast<IWeftTaskEx>(t)->GetSyncLock();
                                                         l->Acquire();
                                                         t->Comm()->Send(7, TWeftValue(int32_t(7)));
                                                         t->Comm()->Send(8, TWeftValue(int32_t(8)));
                                                         l->Release();
                                                     }),
                                                     QStringLiteral("configured"));
            Parallel::ApplyConfig(config, task);
            task->Run();
            tasks.push_back(task);
        }
        EXPECT_TRUE(PumpUntil([&] { return ended == 2; }));
        for (const PWeftTaskControl& task : tasks)
            EXPECT_TRUE(task->Terminate());
        EXPECT_EQ(lock->Acquired.load(), 2);
    }
    // The two tasks' messages may interleave.
    std::sort(owner.Seen.begin(), owner.Seen.end());
    EXPECT_EQ(owner.Seen, (std::vector<QString>{QStringLiteral("general8"), QStringLiteral("general8"),
                                                QStringLiteral("seven7"), QStringLiteral("seven7")}));
    EXPECT_EQ(dispatcher->Eights, (std::vector<int>{8, 8}));
    EXPECT_EQ(dispatcher->Others, (std::vector<int>{7, 7}));
    EXPECT_TRUE(PumpUntil([&] { return destroyed.load() >= 1; }));
    EXPECT_EQ(destroyed.load(), 1);  // freed once, by the last holder
}

TEST_F(WeftTaskControlForms, AHandlerThatRaisesLeavesTheTaskControlOutOfHandlerState)
{
    const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([](const PWeftTask& t) {
                                                 t->Comm()->Send(1);
                                                 WaitForSingleObject(t->TerminateEvent(), 10000);
                                             }),
                                             QStringLiteral("raising handler"));
    bool called = false;
    task->OnMessage(1, [&](const PWeftTaskControl&, TWeftMessage&) {
        called = true;
        throw Exception(QStringLiteral("handler failed"));
    });
    // The exception reaches the message loop that ran the monitor, which
    // reports it and goes on.
    QString reported;
    SetMessageExceptionHandler([&reported](std::exception_ptr e) { reported = RaisedText(e); });
    task->Run();
    EXPECT_TRUE(PumpUntil([&] { return called && !reported.isEmpty(); }));
    SetMessageExceptionHandler(nullptr);
    EXPECT_EQ(reported, QStringLiteral("handler failed"));
    // Not taken for a call from inside a handler: the task really ends.
    EXPECT_TRUE(task->Terminate(10000));
    EXPECT_TRUE(task->WaitFor(0));
}

TEST_F(WeftTaskControlForms, TerminateOfAPooledTaskThatIgnoresItCancelsItInThePool)
{
    const PWeftThreadPool pool = CreateThreadPool(QStringLiteral("stubborn pool"));
    pool->SetWaitOnTerminate_sec(0);
    std::atomic<bool> started{false};
    std::atomic<bool> go{false};
    const PWeftTaskControl task = CreateTask(TWeftTaskDelegate([&started, &go](const PWeftTask&) {
                                                 started = true;
                                                 while (!go.load())
                                                     std::this_thread::sleep_for(std::chrono::milliseconds(2));
                                             }),
                                             QStringLiteral("stubborn"));
    task->Schedule(pool);
    EXPECT_TRUE(PumpUntil([&] { return started.load(); }));
    EXPECT_FALSE(task->Terminate(100));
    // Its worker was let go by the pool, not counted any more.
    EXPECT_EQ(pool->CountExecuting(), 0);
    EXPECT_EQ(pool->CountWorkers(), 0);
    go = true;  // the abandoned thread ends by itself
    EXPECT_TRUE(task->WaitFor(10000));
}
