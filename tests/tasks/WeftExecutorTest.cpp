#include "tasks/WeftExecutor.h"
#include "tasks/WeftHooks.h"

#include "tasks/OsWin32.h"

#include <gtest/gtest.h>
#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

class TTestTask : public IWeftTask {
public:
    THandle TerminateEvt = CreateEvent(true, false);
    THandle TerminatedEvt = CreateEvent(true, false);
    PWeftTwoWayChannel Channel = CreateTwoWayChannel(1000, TerminatedEvt);

    PWeftCommunicationEndpoint GetComm() override { return Channel->Endpoint2(); }
    THandle GetTerminateEvent() override { return TerminateEvt; }
    QString GetName() override { return QStringLiteral("test task"); }
    int64_t GetUniqueID() override { return 1; }
    bool Terminated() override { return WaitForSingleObject(TerminateEvt, 0) == WAIT_OBJECT_0; }
    PWeftCommunicationEndpoint Owner() { return Channel->Endpoint1(); }
};

// Runs an executor on its own thread the way a task thread does.
class TRunner {
public:
    TRunner(TWeftTaskExecutor& exec, std::shared_ptr<TTestTask> task) : FTask(std::move(task))
    {
        FThread = std::thread([&exec, this] {
            try {
                exec.Asy_Execute(FTask);
            } catch (...) {
                Error = std::current_exception();
            }
            SetEvent(FTask->TerminatedEvt);
        });
    }
    ~TRunner() { Stop(); }
    void Stop()
    {
        if (FThread.joinable()) {
            SetEvent(FTask->TerminateEvt);
            FThread.join();
        }
    }
    // Waits for the work to end by itself (an exception, or Initialize false).
    void Join()
    {
        if (FThread.joinable())
            FThread.join();
    }
    QString ErrorText() const
    {
        try {
            if (Error)
                std::rethrow_exception(Error);
        } catch (const std::exception& e) {
            return ExceptionMessage(e);
        }
        return {};
    }
    std::exception_ptr Error;

private:
    std::shared_ptr<TTestTask> FTask;
    std::thread FThread;
};

class TTestWorker : public TWeftWorker {
public:
    std::atomic<int> Pings{0};
    std::atomic<int> Timers{0};
    std::atomic<int> Cleanups{0};
    std::atomic<int> LastValue{0};
    std::atomic<bool> ObjectWasNull{false};
    std::vector<int> Received;  // on the task's thread only, read after it ends
    bool InitResult = true;

    bool Initialize() override { return InitResult; }
    void Cleanup() override { Cleanups.fetch_add(1); }
    void Timer() override { Timers.fetch_add(1); }
    QString ClassName() const override { return QStringLiteral("TTestWorker"); }

    void Ping() { Pings.fetch_add(1); }
    void TakeValue(const TWeftValue& v) { LastValue = v.AsInteger(); }
    void TakeObject(TWeftObject*& obj) { ObjectWasNull = obj == nullptr; }
    int Answer() { return 42; }
    void TwoArgs(int, int) {}
    void NotPublished() {}
    void Bare() {}

    const TWeftMethodTable* PublishedMethods() const override
    {
        static const TWeftMethodTable table = TWeftMethodTable(QStringLiteral("TTestWorker"))
                                                  .Publish<&TTestWorker::Ping>(QStringLiteral("Ping"))
                                                  .Publish<&TTestWorker::TakeValue>(QStringLiteral("TakeValue"),
                                                                                   {QStringLiteral("value")})
                                                  .Publish<&TTestWorker::TakeObject>(QStringLiteral("TakeObject"),
                                                                                    {QStringLiteral("obj")})
                                                  .Publish<&TTestWorker::Answer>(QStringLiteral("Answer"))
                                                  .Publish<&TTestWorker::TwoArgs>(QStringLiteral("TwoArgs"))
                                                  .PublishAddressOnly<&TTestWorker::Bare>(QStringLiteral("Bare"));
        return &table;
    }
};

bool WaitUntil(const std::function<bool()>& done, int ms = 5000)
{
    const int64_t start = OsTimeGetTime64();
    while (!done()) {
        if (OsTimeGetTime64() - start > ms)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

}  // namespace

TEST(Executor, WorkerWhoseInitializeFailsNeverLoops)
{
    auto worker = std::make_shared<TTestWorker>();
    worker->InitResult = false;
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    task->Owner()->Send(1);
    TRunner run(exec, task);
    EXPECT_FALSE(exec.WaitForInit());
    run.Join();
    EXPECT_EQ(worker->Cleanups.load(), 1);
    EXPECT_TRUE(worker->Received.empty());
    EXPECT_EQ(task->Channel->Endpoint2()->Reader()->InQueueCount(), 1);
}

TEST(Executor, TenThousandMessagesReachTheWorkerInOrder)
{
    auto worker = std::make_shared<TTestWorker>();
    worker->SetMessageHandler(7, [w = worker.get()](TWeftMessage& m) { w->Received.push_back(m.MsgData.AsInteger()); });
    worker->SetMessageHandler(8, [w = worker.get()](TWeftMessage&) {
        w->GetTask()->Comm()->Send(9, TWeftValue(int32_t(w->Received.size())));
    });
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    TRunner run(exec, task);
    ASSERT_TRUE(exec.WaitForInit());
    for (int i = 0; i < 10000; ++i)
        ASSERT_TRUE(task->Owner()->SendWait(7, TWeftValue(int32_t(i)), 10000));
    // The queue may still be full of the last messages on a busy machine.
    ASSERT_TRUE(task->Owner()->SendWait(8, TWeftValue(), 10000));
    ASSERT_TRUE(task->Owner()->SendWait(12345, TWeftValue(), 10000));  // no handler: ignored
    TWeftMessage reply;
    ASSERT_TRUE(task->Owner()->ReceiveWait(reply, 10000));
    EXPECT_EQ(reply.MsgID, 9);
    EXPECT_EQ(reply.MsgData.AsInteger(), 10000);
    run.Stop();
    ASSERT_EQ(worker->Received.size(), 10000u);
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(worker->Received[size_t(i)], i);
    EXPECT_EQ(worker->Cleanups.load(), 1);
}

TEST(Executor, TerminateWhileMessagesAreQueuedLeavesThemQueued)
{
    auto worker = std::make_shared<TTestWorker>();
    worker->SetMessageHandler(1, [w = worker.get()](TWeftMessage&) { w->Received.push_back(1); });
    THandle gate = CreateEvent(true, false), busy = CreateEvent(true, false), signal = CreateEvent(false, false);
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    TRunner run(exec, task);
    ASSERT_TRUE(exec.WaitForInit());
    exec.Asy_RegisterWaitObject(signal, TWeftWaitObjectProc([&] {
        SetEvent(busy);
        WaitForSingleObject(gate, 5000);
    }));
    ASSERT_TRUE(WaitUntil([&] {
        SetEvent(signal);
        return WaitForSingleObject(busy, 10) == WAIT_OBJECT_0;
    }));
    // The worker is busy: ask it to end, then queue messages behind that.
    SetEvent(task->TerminateEvt);
    for (int i = 0; i < 5; ++i)
        task->Owner()->Send(1);
    SetEvent(gate);
    run.Join();
    EXPECT_TRUE(worker->Received.empty()) << "the loop ends without draining the queue";
    EXPECT_EQ(task->Channel->Endpoint2()->Reader()->InQueueCount(), 5);
}

TEST(Executor, TimersCallTheWorkerAndDispatchMessages)
{
    auto worker = std::make_shared<TTestWorker>();
    std::atomic<int> timerData{-1};
    worker->SetMessageHandler(5, [&](TWeftMessage& m) { timerData = m.MsgData.AsInteger(); });
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    TRunner run(exec, task);
    ASSERT_TRUE(exec.WaitForInit());
    exec.Asy_SetTimer(0, 5, TWeftMessageID(-1));
    exec.Asy_SetTimer(3, 5, TWeftMessageID(5));
    std::atomic<int> anonTimer{-1};
    exec.Asy_SetTimer(4, 5, TWeftMessageID::Create([&](int32_t id) { anonTimer = id; }));
    exec.Asy_SetTimer(99, 0, TWeftMessageID(0));  // clearing an unknown timer changes nothing
    EXPECT_TRUE(WaitUntil([&] { return worker->Timers.load() >= 2 && timerData.load() == 3 && anonTimer.load() == 4; }));
    exec.Asy_SetTimer(0, 0, TWeftMessageID(0));
    exec.Asy_SetTimer(3, 0, TWeftMessageID(0));
    exec.Asy_SetTimer(4, 0, TWeftMessageID(0));
    std::this_thread::sleep_for(20ms);
    const int timers = worker->Timers.load();
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(worker->Timers.load(), timers) << "removed timers do not fire";
}

TEST(Executor, TimerInvokesAPublishedMethodByName)
{
    auto worker = std::make_shared<TTestWorker>();
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    TRunner run(exec, task);
    ASSERT_TRUE(exec.WaitForInit());
    exec.Asy_SetTimer(6, 5, TWeftMessageID(QStringLiteral("TakeValue")));
    EXPECT_TRUE(WaitUntil([&] { return worker->LastValue.load() == 6; }));
}

TEST(Executor, WaitObjectsCallTheirOwnHandler)
{
    auto worker = std::make_shared<TTestWorker>();
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    TRunner run(exec, task);
    ASSERT_TRUE(exec.WaitForInit());
    THandle a = CreateEvent(false, false), b = CreateEvent(false, false);
    std::atomic<int> calledA{0}, calledB{0};
    exec.Asy_RegisterWaitObject(a, TWeftWaitObjectProc([&] { calledA.fetch_add(1); }));
    exec.Asy_RegisterWaitObject(b, MakeMethod<&TTestWorker::Ping>(worker.get()));
    exec.Asy_UnregisterWaitObject(a);
    ASSERT_TRUE(WaitUntil([&] {
        SetEvent(b);
        return worker->Pings.load() > 0;
    }));
    EXPECT_EQ(calledA.load(), 0);
    EXPECT_EQ(calledB.load(), 0);
}

TEST(Executor, ExtraEndpointsAreServed)
{
    auto worker = std::make_shared<TTestWorker>();
    std::atomic<int> got{0};
    worker->SetMessageHandler(3, [&](TWeftMessage&) { got.fetch_add(1); });
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    TRunner run(exec, task);
    ASSERT_TRUE(exec.WaitForInit());
    THandle otherEnd = CreateEvent(true, false);
    PWeftTwoWayChannel extra = CreateTwoWayChannel(10, otherEnd);
    exec.Asy_RegisterComm(extra->Endpoint2());
    extra->Endpoint1()->Send(3);
    extra->Endpoint1()->Send(3);
    EXPECT_TRUE(WaitUntil([&] { return got.load() == 2; }));
    exec.Asy_UnregisterComm(extra->Endpoint2());
}

TEST(Executor, ProcessMessagesFromInsideTheWork)
{
    auto worker = std::make_shared<TTestWorker>();
    std::atomic<int> inner{0};
    worker->SetMessageHandler(2, [&](TWeftMessage&) { inner.fetch_add(1); });
    worker->SetMessageHandler(1, [w = worker.get(), &inner](TWeftMessage&) {
        // A long operation that lets queued messages in meanwhile.
        const int64_t start = OsTimeGetTime64();
        while (inner.load() == 0 && OsTimeGetTime64() - start < 5000)
            w->ProcessMessages();
    });
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    TRunner run(exec, task);
    ASSERT_TRUE(exec.WaitForInit());
    task->Owner()->Send(1);
    std::this_thread::sleep_for(10ms);
    task->Owner()->Send(2);
    EXPECT_TRUE(WaitUntil([&] { return inner.load() == 1; }));
}

TEST(Executor, ProcedureWorkAndWorkerOnlyOperations)
{
    std::atomic<int> ran{0};
    TWeftTaskExecutor exec(TWeftTaskExecutor::TWeftTaskDelegate([&](const PWeftTask& t) {
        ran = t->GetName() == QStringLiteral("test task") ? 1 : 2;
    }));
    exec.SetPriority(tpBelowNormal);
    exec.Asy_SetExitStatus(3, QStringLiteral("valmis"));
    auto task = std::make_shared<TTestTask>();
    TRunner run(exec, task);
    run.Join();
    EXPECT_EQ(ran.load(), 1);
    EXPECT_EQ(exec.GetExitCode(), 3);
    EXPECT_EQ(exec.GetExitMessage(), QStringLiteral("valmis"));
    EXPECT_EQ(exec.GetImplementor(), nullptr);
    try {
        exec.SetOptions(tcoMessageWait);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TWeftTaskExecutor.SetOptions: Trying to set IWeftWorker specific option(s)"));
    }
    EXPECT_NO_THROW(exec.SetOptions(tcoForceExecution));
    EXPECT_THROW(exec.Asy_RegisterComm(task->Owner()), Exception);
    EXPECT_THROW(exec.Asy_UnregisterWaitObject(task->TerminateEvt), Exception);
    try {
        exec.WaitForInit();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("TWeftTaskExecutor.WaitForInit: Wait for init is only available when working with an IWeftWorker"));
    }
}

TEST(Executor, PlacementChecks)
{
    EXPECT_NO_THROW(TWeftTaskExecutor::VerifyProcessorGroup(0));
    try {
        TWeftTaskExecutor::VerifyProcessorGroup(99);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Processor group number (99) is out of range [0..")));
    }
    EXPECT_NO_THROW(TWeftTaskExecutor::VerifyNUMANode(0));
    try {
        TWeftTaskExecutor::VerifyNUMANode(999);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("NUMA node 999 not found"));
    }
}

// --- Invoke ------------------------------------------------------------------------------

TEST(Invoke, ByNameAndAddressWithTheSupportedSignatures)
{
    auto worker = std::make_shared<TTestWorker>();
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    TRunner run(exec, task);
    ASSERT_TRUE(exec.WaitForInit());
    task->Owner()->Send(TWeftInternalStringMsg::CreateMessage(QStringLiteral("Ping"), TWeftValue()));
    task->Owner()->Send(TWeftInternalStringMsg::CreateMessage(QStringLiteral("Ping"), TWeftValue()));
    task->Owner()->Send(TWeftInternalStringMsg::CreateMessage(QStringLiteral("TakeValue"), TWeftValue(int32_t(42))));
    task->Owner()->Send(TWeftInternalStringMsg::CreateMessage(QStringLiteral("TakeObject"), TWeftValue()));
    task->Owner()->Send(
        TWeftInternalAddressMsg::CreateMessage(WeftMethodAddress<&TTestWorker::Ping>(), TWeftValue()));
    std::atomic<bool> inTask{false};
    const std::thread::id testThread = std::this_thread::get_id();
    task->Owner()->Send(TWeftInternalFuncMsg::CreateMessage(
        TWeftTaskControlInvokeFunction([&] { inTask = std::this_thread::get_id() != testThread; })));
    std::atomic<int> anon{-1};
    task->Owner()->Send(TWeftInternalAnonMsg::CreateMessage([&](int32_t v) { anon = v; }, TWeftValue(int32_t(17))));
    EXPECT_TRUE(WaitUntil([&] { return worker->Pings.load() == 3 && anon.load() == 17; }));
    EXPECT_EQ(worker->LastValue.load(), 42);
    EXPECT_TRUE(worker->ObjectWasNull.load());
    EXPECT_TRUE(inTask.load());
    EXPECT_TRUE(exec.RTTIMethodsAsString().startsWith(QStringLiteral("procedure Ping( Self: TTestWorker );\r\n")));
}

struct TInvokeError {
    const char* Name;
    std::function<TWeftMessage()> Make;
    QString Expected;
};

TEST(Invoke, ErrorsEndTheWorkWithTheirTexts)
{
    const QString unpublished =
        QString::asprintf("%p", WeftMethodAddress<&TTestWorker::NotPublished>());
    const std::vector<TInvokeError> cases = {
        {"unknown name", [] { return TWeftInternalStringMsg::CreateMessage(QStringLiteral("Nope"), TWeftValue()); },
         QStringLiteral("TWeftTaskExecutor.DispatchMessage: Cannot find message method TTestWorker.Nope")},
        {"empty name", [] { return TWeftInternalStringMsg::CreateMessage(QString(), TWeftValue()); },
         QStringLiteral("TWeftTaskExecutor.DispatchWeftMessage: Method name not set")},
        {"result", [] { return TWeftInternalStringMsg::CreateMessage(QStringLiteral("Answer"), TWeftValue()); },
         QStringLiteral("TWeftTaskExecutor.DispatchMessage: Method TTestWorker.Answer must not return result")},
        {"signature", [] { return TWeftInternalStringMsg::CreateMessage(QStringLiteral("TwoArgs"), TWeftValue()); },
         QStringLiteral("TWeftTaskExecutor: Method TTestWorker.TwoArgs has invalid signature. Only following "
                        "signatures are supported: (Self), (Self, const TWeftValue), (Self, var TObject)")},
        {"address",
         [] {
             return TWeftInternalAddressMsg::CreateMessage(WeftMethodAddress<&TTestWorker::NotPublished>(),
                                                           TWeftValue());
         },
         QStringLiteral("TWeftTaskExecutor.GetMethodNameFromInternalMessage: Cannot find method name for method ") +
             unpublished},
        {"no parameter information",
         [] { return TWeftInternalStringMsg::CreateMessage(QStringLiteral("Bare"), TWeftValue()); },
         QStringLiteral("TWeftTaskExecutor.DispatchMessage: Class TTestWorker was published without the method "
                        "information needed to call Bare by name")},
        {"anon argument",
         [] { return TWeftInternalAnonMsg::CreateMessage([](int32_t) {}, TWeftValue(QStringLiteral("x"))); },
         QStringLiteral("TWeftValue cannot be converted to int64")},
    };
    for (const TInvokeError& c : cases) {
        auto worker = std::make_shared<TTestWorker>();
        TWeftTaskExecutor exec(worker);
        auto task = std::make_shared<TTestTask>();
        task->Owner()->Send(c.Make());
        TRunner run(exec, task);
        run.Join();
        EXPECT_EQ(run.ErrorText(), c.Expected) << c.Name;
        EXPECT_EQ(worker->Cleanups.load(), 1) << c.Name;
    }
}

TEST(Invoke, MethodCacheHoldsSeventeenNames)
{
    class TManyWorker : public TWeftWorker {
    public:
        void M() {}
        const TWeftMethodTable* PublishedMethods() const override
        {
            static const TWeftMethodTable table = [] {
                TWeftMethodTable t(QStringLiteral("TManyWorker"));
                for (int i = 0; i < 18; ++i)
                    t.Publish<&TManyWorker::M>(QStringLiteral("M%1").arg(i));
                return t;
            }();
            return &table;
        }
    };
    auto worker = std::make_shared<TManyWorker>();
    TWeftTaskExecutor exec(worker);
    auto task = std::make_shared<TTestTask>();
    for (int i = 0; i < 18; ++i)
        task->Owner()->Send(TWeftInternalStringMsg::CreateMessage(QStringLiteral("M%1").arg(i), TWeftValue()));
    TRunner run(exec, task);
    run.Join();
    EXPECT_EQ(run.ErrorText(), QStringLiteral("TKitStringHash.Add: Maximum size reached"));
}

TEST(Invoke, FuncMessageRecognisedOnTheOwnerSide)
{
    int ran = 0;
    TWeftMessage m = TWeftInternalFuncMsg::CreateTaskMessage([&] { ++ran; });
    EXPECT_EQ(TWeftInternalMessage::InternalType(m), imtFuncMsg);
    TWeftTaskInvokeFunction f;
    ASSERT_TRUE(TWeftInternalFuncMsg::UnpackMessage(m, f));
    f();
    EXPECT_EQ(ran, 1);
    TWeftMessage other = TWeftInternalStringMsg::CreateMessage(QStringLiteral("x"), TWeftValue());
    EXPECT_FALSE(TWeftInternalFuncMsg::UnpackMessage(other, f));
    TWeftMessage bad(CWeftInternalMessageID, TWeftValue(QStringLiteral("text")));
    EXPECT_THROW(TWeftInternalMessage::InternalType(bad), Exception);
}

TEST(Invoke, DescriptionOfMethods)
{
    TTestWorker w;
    const TWeftMethodTable& t = *w.PublishedMethods();
    EXPECT_EQ(DescriptionOfMethod(t, QStringLiteral("TakeValue")),
              QStringLiteral("procedure TakeValue( Self: TTestWorker; value: TWeftValue );"));
    EXPECT_EQ(DescriptionOfMethod(t, QStringLiteral("TakeObject")),
              QStringLiteral("procedure TakeObject( Self: TTestWorker; var obj: TObject );"));
    EXPECT_TRUE(DescriptionOfMethod(t, QStringLiteral("Answer")).startsWith(QStringLiteral("function Answer( Self: TTestWorker ): int")));
    EXPECT_EQ(DescriptionOfMethod(t, QStringLiteral("Bare")), QStringLiteral("No rich RTTI"));
}

// --- Hooks ----------------------------------------------------------------------------------

namespace {
std::vector<QString> gThreadLog;
void LogThread(TThreadNotificationType t, const QString& name)
{
    gThreadLog.push_back((t == tntCreate ? QStringLiteral("+") : QStringLiteral("-")) + name);
}
void DropFilter(std::exception_ptr& e, bool&)
{
    e = nullptr;
}
void StopFilter(std::exception_ptr&, bool& cont)
{
    cont = false;
}
struct TFilterObject {
    int Calls = 0;
    void Filter(std::exception_ptr&, bool&) { ++Calls; }
};
}  // namespace

TEST(Hooks, ThreadNotificationsCountRegistrations)
{
    gThreadLog.clear();
    GThreadNotifications().Register(&LogThread);
    GThreadNotifications().Register(&LogThread);
    SendThreadNotifications(tntCreate, QStringLiteral("a"));
    EXPECT_EQ(gThreadLog.size(), 2u) << "registered twice, called twice";
    GThreadNotifications().Unregister(&LogThread);
    SendThreadNotifications(tntDestroy, QStringLiteral("a"));
    EXPECT_EQ(gThreadLog.back(), QStringLiteral("-a"));
    EXPECT_EQ(gThreadLog.size(), 3u);
    GThreadNotifications().Unregister(&LogThread);
    SendThreadNotifications(tntDestroy, QStringLiteral("a"));
    EXPECT_EQ(gThreadLog.size(), 3u);
}

TEST(Hooks, ExceptionFiltersChain)
{
    std::exception_ptr e = std::make_exception_ptr(Exception(QStringLiteral("x")));
    FilterException(e);
    EXPECT_TRUE(e) << "no filters: unchanged";
    TFilterObject obj;
    const TMethod m = MakeMethod<&TFilterObject::Filter, std::exception_ptr&, bool&>(&obj);
    GExceptionFilters().Register(&StopFilter);
    GExceptionFilters().Register(m);
    FilterException(e);
    EXPECT_EQ(obj.Calls, 0) << "a stopped chain calls no later filter";
    GExceptionFilters().Unregister(&StopFilter);
    GExceptionFilters().Register(&DropFilter);
    FilterException(e);
    EXPECT_EQ(obj.Calls, 1);
    EXPECT_FALSE(e) << "consumed";
    GExceptionFilters().Unregister(&DropFilter);
    GExceptionFilters().Unregister(m);
}

TEST(Hooks, RegistriesUnderConcurrentUse)
{
    std::atomic<bool> stop{false};
    std::vector<std::thread> notifiers;
    for (int i = 0; i < 4; ++i)
        notifiers.emplace_back([&] {
            while (!stop.load())
                SendPoolNotifications(pntCreate, nullptr);
        });
    static std::atomic<int> calls{0};
    auto proc = +[](TPoolNotificationType, const std::shared_ptr<IWeftThreadPool>&) { calls.fetch_add(1); };
    for (int i = 0; i < 200; ++i) {
        GPoolNotifications().Register(proc);
        GPoolNotifications().Unregister(proc);
    }
    stop = true;
    for (auto& t : notifiers)
        t.join();
    SUCCEED();
}
