// Task control: the owner's handle of a task (see WeftTask.h).

#include "platform/os/BlockRecycler.h"
#include "tasks/WeftEventMonitor.h"
#include "tasks/WeftHooks.h"
#include "tasks/WeftInit.h"
#include "tasks/WeftOwnerCall.h"
#include "tasks/WeftTask.h"
#include "tasks/WeftTaskGroup.h"
#include "tasks/WeftThreadPool.h"

#include <limits>
#include <thread>
#include <vector>

namespace {

// The dedicated thread of a task started with Run.
struct TWeftThread {
    std::thread Thread;
    THandle Finished = CreateEvent(true, false);
    ~TWeftThread()
    {
        if (!Thread.joinable())
            return;
        // A thread that never ended is left to end by itself: it holds
        // references to everything it uses.
        if (WaitForSingleObject(Finished, 0) == WAIT_OBJECT_0)
            Thread.join();
        else
            Thread.detach();
    }
};

class TWeftTaskControl final : public IWeftTaskControl,
                               public IWeftTaskControlSharedInfo,
                               public IWeftTaskControlInternals,
                               public std::enable_shared_from_this<TWeftTaskControl> {
public:
    TWeftTaskControl(PWeftTaskParts parts, const QString& taskName)
        : otcParts(std::move(parts)),
          otcExecutor(&otcParts->Executor),
          otcSharedInfo(&otcParts->Info),
          otcParameters(&otcParts->Params)
    {
        otcExecutor->SetOptions(tcoForceExecution);
        otcSharedInfo->ostiTaskName = taskName;
        otcSharedInfo->ostiUniqueID = WeftUID.Increment();
    }

    ~TWeftTaskControl() override
    {
        DestroyMonitor(/*fromDestructor*/ true);
        // No other thread can reach a handle that is being destroyed: no lock.
        if (otcThread) {
            TerminateInternal(INFINITE, /*fromDestructor*/ true);
            otcThread.reset();
        }
    }

    // --- Queries ------------------------------------------------------------------

    PWeftCancellationToken GetCancellationToken() override { return otcSharedInfo->CancellationToken(); }
    PWeftCommunicationEndpoint GetComm() override
    {
        return otcSharedInfo->Channel()->Endpoint1();
    }
    int32_t GetExitCode() override { return otcExecutor->GetExitCode(); }
    QString GetExitMessage() override { return otcExecutor->GetExitMessage(); }
    std::shared_ptr<IWeftCriticalSection> GetLock() override { return otcSharedInfo->ostiLock; }
    QString GetName() override { return otcSharedInfo->ostiTaskName; }
    int64_t GetUniqueID() override { return otcSharedInfo->ostiUniqueID; }
    std::shared_ptr<TWeftValueContainer> GetParam() override
    {
        return std::shared_ptr<TWeftValueContainer>(otcParts, otcParameters);
    }
    std::exception_ptr GetFatalException() override { return otcExecutor->GetException(); }
    std::exception_ptr DetachException() override
    {
        std::exception_ptr e = otcExecutor->GetException();
        otcExecutor->SetException(nullptr);
        return e;
    }
    PWeftSharedTaskInfo GetSharedInfo() override { return PWeftSharedTaskInfo(otcParts, otcSharedInfo); }
    PWeftTaskImpl GetTaskSide() override
    {
        std::lock_guard lock(otcStartLock);
        return otcTask;
    }
    THandle GetTerminatedEvent() override { return otcSharedInfo->ostiTerminatedEvent.Handle(); }

    // --- Configuration ------------------------------------------------------------

    TWeftValue GetUserDataVal(const TWeftValue& idx) override
    {
        if (IsUserDataName(idx))
            return otcUserData.GetItem(idx.CastToString());
        return otcUserData.GetItem(UserDataPosition(idx));
    }
    void SetUserDataVal(const TWeftValue& idx, const TWeftValue& value) override
    {
        if (IsUserDataName(idx))
            otcUserData.Add(value, idx.CastToString());
        else
            otcUserData.Insert(UserDataPosition(idx), value);
    }
    PWeftTaskControl SetUserData(const TWeftValue& idx, const TWeftValue& value) override
    {
        SetUserDataVal(idx, value);
        return Self();
    }

    PWeftTaskControl Alertable() override
    {
        otcExecutor->SetOptions(otcExecutor->GetOptions() | tcoAlertableWait);
        return Self();
    }
    PWeftTaskControl MsgWait(DWORD wakeMask) override
    {
        otcExecutor->SetWakeMask(wakeMask);
        otcExecutor->SetOptions(otcExecutor->GetOptions() | tcoMessageWait);
        return Self();
    }
    PWeftTaskControl CancelWith(const PWeftCancellationToken& token) override
    {
        if (otcParameters->IsLocked())
            throw Exception(QStringLiteral(
                "TWeftTaskControl.CancelWith: Cancellation token can only be set before the task is started"));
        otcSharedInfo->SetCancellationToken(token);
        return Self();
    }
    PWeftTaskControl ChainTo(const PWeftTaskControl& task, bool ignoreErrors) override
    {
        std::lock_guard lock(otcSharedInfo->ostiLock_);
        otcSharedInfo->ostiChainTo = task;
        otcSharedInfo->ostiChainIgnoreErrors = ignoreErrors;
        otcSharedInfo->ostiChained.store(true, std::memory_order_release);
        return Self();
    }
    PWeftTaskControl ClearTimer(int32_t timerID) override { return SetTimer(timerID, 0, TWeftMessageID(0)); }
    PWeftTaskControl Enforced(bool forceExecution) override
    {
        TWeftTaskControlOptions o = otcExecutor->GetOptions();
        o = forceExecution ? (o | tcoForceExecution) : (o & ~TWeftTaskControlOptions(tcoForceExecution));
        otcExecutor->SetOptions(o);
        return Self();
    }
    PWeftTaskControl Invoke(void* methodAddress) override { return Invoke(methodAddress, TWeftValue()); }
    PWeftTaskControl Invoke(void* methodAddress, const std::vector<TWeftValue>& msgData) override
    {
        return Invoke(methodAddress, ArrayValue(msgData));
    }
    PWeftTaskControl Invoke(void* methodAddress, const TWeftValue& msgData) override
    {
        GetComm()->Send(TWeftInternalAddressMsg::CreateMessage(methodAddress, msgData));
        return Self();
    }
    PWeftTaskControl Invoke(const QString& methodName) override { return Invoke(methodName, TWeftValue()); }
    PWeftTaskControl Invoke(const QString& methodName, const std::vector<TWeftValue>& msgData) override
    {
        return Invoke(methodName, ArrayValue(msgData));
    }
    PWeftTaskControl Invoke(const QString& methodName, const TWeftValue& msgData) override
    {
        GetComm()->Send(TWeftInternalStringMsg::CreateMessage(methodName, msgData));
        return Self();
    }
    PWeftTaskControl Invoke(const TWeftTaskControlInvokeFunction& remoteFunc) override
    {
        GetComm()->Send(TWeftInternalFuncMsg::CreateMessage(remoteFunc));
        return Self();
    }
    PWeftTaskControl Invoke(const TWeftTaskControlInvokeFunctionEx& remoteFunc) override
    {
        GetComm()->Send(TWeftInternalFuncMsg::CreateMessage(remoteFunc));
        return Self();
    }
    PWeftTaskControl Join(const PWeftTaskGroup& group) override
    {
        group->Add(Self());
        return Self();
    }
    PWeftTaskControl Leave(const PWeftTaskGroup& group) override
    {
        group->Remove(Self());
        return Self();
    }
    PWeftTaskControl MonitorWith(const PWeftTaskControlMonitor& monitor) override
    {
        monitor->Monitor(Self());
        return Self();
    }
    PWeftTaskControl NUMANode(int numaNode) override
    {
        TWeftTaskExecutor::VerifyNUMANode(numaNode);
        otcSharedInfo->ostiNUMANode = numaNode;
        return Self();
    }
    PWeftTaskControl ProcessorGroup(int processorGroup) override
    {
        TWeftTaskExecutor::VerifyProcessorGroup(processorGroup);
        otcSharedInfo->ostiProcessorGroup = processorGroup;
        return Self();
    }
    PWeftTaskControl OnMessage(const PWeftMessageDispatcher& eventDispatcher) override
    {
        return AddMessageExec(CWeftInternalMessageID, std::make_shared<TWeftMessageExec>(eventDispatcher));
    }
    PWeftTaskControl OnMessage(const TWeftTaskMessageEvent& eventHandler) override
    {
        GeneralExec().SetOnMessage(eventHandler);
        CreateInternalMonitor();
        return Self();
    }
    PWeftTaskControl OnMessage(uint16_t msgID, const TWeftTaskMessageEvent& eventHandler) override
    {
        return AddMessageExec(msgID, std::make_shared<TWeftMessageExec>(eventHandler));
    }
    PWeftTaskControl OnMessage(uint16_t msgID, const PWeftMessageExec& eventHandler) override
    {
        return AddMessageExec(msgID, eventHandler);
    }
    PWeftTaskControl OnMessage(const TWeftOnMessageFunction& eventHandler) override
    {
        GeneralExec().SetOnMessage(eventHandler);
        CreateInternalMonitor();
        return Self();
    }
    PWeftTaskControl OnMessage(uint16_t msgID, const TWeftOnMessageFunction& eventHandler) override
    {
        return AddMessageExec(msgID, std::make_shared<TWeftMessageExec>(eventHandler));
    }
    PWeftTaskControl OnTerminated(const TWeftOnTerminatedFunction& eventHandler) override
    {
        TerminatedExec().SetOnTerminated(eventHandler);
        CreateInternalMonitor();
        return Self();
    }
    PWeftTaskControl OnTerminated(const TWeftOnTerminatedFunctionSimple& eventHandler) override
    {
        otcOnTerminatedSimple = eventHandler;
        return OnTerminated(TWeftOnTerminatedFunction([this](const PWeftTaskControl&) {
            if (otcOnTerminatedSimple)
                otcOnTerminatedSimple();
        }));
    }
    PWeftTaskControl OnTerminated(const TWeftTaskTerminatedEvent& eventHandler) override
    {
        TerminatedExec().SetOnTerminated(eventHandler);
        CreateInternalMonitor();
        return Self();
    }
    PWeftTaskControl SetParameter(const QString& paramName, const TWeftValue& paramValue) override
    {
        otcParameters->Add(paramValue, paramName);
        return Self();
    }
    PWeftTaskControl SetParameter(const TWeftValue& paramValue) override
    {
        otcParameters->Add(paramValue);
        return Self();
    }
    PWeftTaskControl SetParameters(const std::vector<TWeftValue>& parameters) override
    {
        otcParameters->Assign(parameters);
        return Self();
    }
    PWeftTaskControl SetPriority(TWeftThreadPriority threadPriority) override
    {
        otcExecutor->SetPriority(threadPriority);
        return Self();
    }
    PWeftTaskControl SetQueueSize(int numMessages) override
    {
        if (otcSharedInfo->Channel(false))
            throw Exception(QStringLiteral("TWeftTaskControl.SetQueueSize: Cannot set queue size. Queue already exists"));
        otcSharedInfo->ostiQueueLength = numMessages;
        return Self();
    }
    PWeftTaskControl SetTimer(int timerID, DWORD interval_ms, const TWeftMessageID& timerMessage) override
    {
        otcExecutor->Asy_SetTimer(timerID, interval_ms, timerMessage);
        return Self();
    }
    PWeftTaskControl TerminateWhen(const THandle& event) override
    {
        otcExecutor->TerminateWhen(event);
        return Self();
    }
    PWeftTaskControl TerminateWhen(const PWeftCancellationToken& token) override
    {
        otcTerminateTokens.push_back(token);
        otcExecutor->TerminateWhen(token->Handle());
        return Self();
    }
    PWeftTaskControl Unobserved() override
    {
        CreateInternalMonitor();
        return Self();
    }
    PWeftTaskControl WithCounter(const PWeftCounter& counter) override
    {
        otcSharedInfo->ostiCounter = counter;
        return Self();
    }
    PWeftTaskControl WithLock(TSynchroObject* lock, bool autoDestroyLock) override
    {
        if (autoDestroyLock)
            otcSharedInfo->ostiSyncLock.reset(lock);
        else
            otcSharedInfo->ostiSyncLock = std::shared_ptr<TSynchroObject>(lock, [](TSynchroObject*) {});
        return Self();
    }
    PWeftTaskControl WithLock(const std::shared_ptr<TSynchroObject>& lock) override
    {
        otcSharedInfo->ostiSyncLock = lock;
        return Self();
    }
    PWeftTaskControl WithLock(const std::shared_ptr<IWeftCriticalSection>& lock) override
    {
        otcSharedInfo->ostiLock = lock;
        return Self();
    }

    // --- Monitor --------------------------------------------------------------------

    PWeftTaskControl SetMonitor(HWND hWindow) override
    {
        if (!otcSharedInfo->ostiMonitor && GetTaskSide())
            throw Exception(
                QStringLiteral("TWeftTaskControl.SetMonitor: Monitor can only be assigned while task is not running"));
        const std::unique_lock channelLock = otcSharedInfo->LockChannel();
        std::lock_guard lock(otcSharedInfo->ostiMonitorLock);
        if (!otcSharedInfo->ostiMonitor) {
            const uint64_t id = uint64_t(otcSharedInfo->ostiUniqueID);
            otcSharedInfo->InstallMonitor(std::unique_ptr<TWeftContainerWindowsMessageObserver>(
                CreateContainerWindowsMessageObserver(hWindow, CWeftTaskMsg_NewMessage, WPARAM(uint32_t(id)),
                                                      LPARAM(id >> 32))));
        } else if (otcSharedInfo->ostiMonitor->GetHandle() != hWindow) {
            throw Exception(QStringLiteral("TWeftTaskControl.SetMonitor: Task can be only monitored with a single monitor"));
        }
        otcSharedInfo->ostiMonitor->Activate();
        return Self();
    }

    PWeftTaskControl RemoveMonitor() override
    {
        RemoveObserver();
        if (otcDelayedTerminate) {
            otcDelayedTerminate = false;
            Terminate(INFINITE);
        }
        return Self();
    }

    // --- Running --------------------------------------------------------------------

    PWeftTaskControl Run() override
    {
        otcParameters->Lock();
        // A chained task is started from its predecessor's thread.
        std::lock_guard lock(otcStartLock);
        CreateTaskSide();
        auto thread = std::make_shared<TWeftThread>();
        const PWeftTaskImpl task = otcTask;
        const QString name = otcSharedInfo->ostiTaskName;
        const THandle finished = thread->Finished;
        otcThread = thread;
        thread->Thread = std::thread([task, name, finished] {
            SendThreadNotifications(tntCreate, name);
            task->Execute();
            SendThreadNotifications(tntDestroy, name);
            SetEvent(finished);
        });
        return Self();
    }

    PWeftTaskControl Schedule(const PWeftThreadPool& threadPool) override
    {
        otcParameters->Lock();
        // By reference: every copy of a pool's reference is an atomic
        // operation on a counter that all its tasks share.
        const PWeftThreadPool global = threadPool ? nullptr : GlobalWeftThreadPool();
        const PWeftThreadPool& pool = threadPool ? threadPool : global;
        PWeftTaskImpl taskSide;
        {
            std::lock_guard lock(otcStartLock);
            otcOwningPool = pool;
            CreateTaskSide();
            taskSide = otcTask;
        }
        IWeftThreadPoolScheduler* scheduler = pool->Scheduler();
        if (!scheduler)
            scheduler = dynamic_cast<IWeftThreadPoolScheduler*>(pool.get());
        if (!scheduler)
            throw Exception(QStringLiteral("TWeftTaskControl.Schedule: The pool cannot schedule tasks"));
        PWeftTaskControl self = Self();
        scheduler->Schedule(self, taskSide);
        return self;
    }

    void Stop() override
    {
        otcSharedInfo->ostiTerminating = true;
        otcSharedInfo->ostiTerminateEvent.Set();
    }

    bool WaitFor(DWORD maxWait_ms) override
    {
        std::vector<THandle> handles{otcSharedInfo->ostiTerminatedEvent.Handle()};
        if (const auto thread = Thread())
            handles.push_back(thread->Finished);
        const DWORD r = WeftOwnerWait(handles, maxWait_ms);
        return r == WAIT_OBJECT_0 || r == WAIT_OBJECT_0 + 1;
    }

    bool WaitForInit() override { return otcExecutor->WaitForInit(); }

    bool Terminate(DWORD maxWait_ms) override { return TerminateInternal(maxWait_ms, false); }

    // --- Delivery (owner thread) ------------------------------------------------------

    bool FilterMessage(TWeftMessage& msg) override
    {
        if (msg.MsgID != CWeftInternalMessageID)
            return false;
        TWeftTaskInvokeFunction func;
        if (!TWeftInternalFuncMsg::UnpackMessage(msg, func))
            return false;
        if (func)
            func();
        return true;
    }

    void ForwardTaskMessage(TWeftMessage& msg) override
    {
        // Internal messages reaching the owner only ever carry a task's
        // procedure; anything else of that id is not meant for handlers.
        if (msg.MsgID == CWeftInternalMessageID) {
            FilterMessage(msg);
            return;
        }
        const PWeftTaskControl self = Self();
        // Handlers may register more handlers meanwhile: walk by position
        // and hold each exec while it runs.
        for (size_t i = 0; i < otcOnMessageList.size(); ++i) {
            if (otcOnMessageList[i].first != CWeftInternalMessageID)
                continue;
            const PWeftMessageExec dispatcher = otcOnMessageList[i].second;
            TInHandler guard(*this);
            dispatcher->OnMessage(self, msg);
        }
        PWeftMessageExec exec;
        for (const auto& entry : otcOnMessageList)
            if (entry.first == msg.MsgID) {
                exec = entry.second;
                break;
            }
        if (!exec)
            exec = otcOnMessageExec;
        if (!exec)
            return;
        TInHandler guard(*this);
        exec->OnMessage(self, msg);
    }

    void ForwardTaskTerminated() override
    {
        if (!otcOnTerminatedExec)
            return;
        const PWeftMessageExec exec = otcOnTerminatedExec;
        const PWeftTaskControl self = Self();
        TInHandler guard(*this);
        exec->OnTerminated(self);
    }

private:
    // Marks a running handler (also one nested in another) and restores
    // the mark afterwards, also when the handler raises.
    struct TInHandler {
        TWeftTaskControl& C;
        bool Previous;
        explicit TInHandler(TWeftTaskControl& c) : C(c), Previous(c.otcInEventHandler) { C.otcInEventHandler = true; }
        ~TInHandler() { C.otcInEventHandler = Previous; }
    };

    PWeftTaskControl AddMessageExec(uint16_t msgID, const PWeftMessageExec& exec)
    {
        if (!exec)
            throw Exception(QStringLiteral("TWeftTaskControl.OnMessage: Handler is not assigned"));
        otcOnMessageList.emplace_back(msgID, exec);
        CreateInternalMonitor();
        return Self();
    }
    TWeftMessageExec& GeneralExec()
    {
        if (!otcOnMessageExec)
            otcOnMessageExec = std::make_shared<TWeftMessageExec>();
        return *otcOnMessageExec;
    }
    TWeftMessageExec& TerminatedExec()
    {
        if (!otcOnTerminatedExec)
            otcOnTerminatedExec = std::make_shared<TWeftMessageExec>();
        return *otcOnTerminatedExec;
    }
    static bool IsUserDataName(const TWeftValue& idx)
    {
        return idx.IsString() || idx.IsWideString() || idx.IsAnsiString();
    }
    // The position an integer or variant index stands for.
    static int UserDataPosition(const TWeftValue& idx)
    {
        if (!idx.IsInteger() && !idx.IsVariant())
            throw Exception(QStringLiteral("UserData can only be indexed by integer or string."));
        const int64_t position = idx.CastToInt64();
        if (position < 0 || position > std::numeric_limits<int32_t>::max())
            throw Exception(QStringLiteral("UserData index %1 is out of range").arg(position));
        return int(position);
    }
    static TWeftValue ArrayValue(const std::vector<TWeftValue>& values)
    {
        TWeftValue array = TWeftValue::Create({});
        TWeftValueContainer& items = array.AsArray();
        for (const TWeftValue& v : values)
            items.Add(v);
        return array;
    }

    PWeftTaskControl Self() { return shared_from_this(); }
    std::shared_ptr<TWeftThread> Thread()
    {
        std::lock_guard lock(otcStartLock);
        return otcThread;
    }

    void CreateTaskSide()
    {
        if (otcTask)
            throw Exception(QStringLiteral("TWeftTaskControl: Task has been started already"));
        otcTask = std::allocate_shared<TWeftTask>(TRecyclingAllocator<TWeftTask>(), otcParts);
    }

    void CreateInternalMonitor()
    {
        if (otcEventMonitor)
            return;
        otcEventMonitorInternal = true;
        otcEventMonitor = GTaskControlEventMonitorPool().Allocate();
        otcEventMonitor->Monitor(Self());
    }

    void RemoveObserver()
    {
        std::unique_ptr<TWeftContainerWindowsMessageObserver> observer;
        {
            std::lock_guard lock(otcSharedInfo->ostiMonitorLock);
            observer = std::move(otcSharedInfo->ostiMonitor);
        }
        if (observer)
            if (const PWeftTwoWayChannel channel = otcSharedInfo->Channel(false))
                channel->Endpoint2()->Writer()->ContainerSubject().Detach(observer.get(), coiNotifyOnAllInserts);
    }

    void DestroyMonitor(bool fromDestructor)
    {
        if (!otcEventMonitor)
            return;
        const PWeftEventMonitor monitor = std::move(otcEventMonitor);
        otcEventMonitor.reset();
        if (!fromDestructor && monitor->ThreadID() == GetThreadId())
            monitor->Detach(Self());  // also removes the observer
        else
            RemoveObserver();
        if (otcEventMonitorInternal)
            GTaskControlEventMonitorPool().Release(monitor);
        otcEventMonitorInternal = false;
    }

    bool TerminateInternal(DWORD maxWait_ms, bool fromDestructor)
    {
        if (otcInEventHandler && !fromDestructor) {
            otcDelayedTerminate = true;
            return true;
        }
        otcExecutor->SetTerminating(true);
        Stop();
        // A task that has not started and must not run its work ends now
        // rather than when a thread takes it up.
        const PWeftTaskImpl task = GetTaskSide();
        if (task && !(otcExecutor->GetOptions() & tcoForceExecution))
            task->Terminate();
        bool result = true;
        if (task)
            result = WaitFor(maxWait_ms);
        // Handlers see every message the task sent.
        if (const PWeftTwoWayChannel channel = fromDestructor ? nullptr : otcSharedInfo->Channel(false)) {
            TWeftMessage msg;
            while (channel->Endpoint1()->Receive(msg))
                ForwardTaskMessage(msg);
        }
        if (!fromDestructor && otcEventMonitor && otcEventMonitorInternal &&
            otcEventMonitor->ThreadID() == GetThreadId()) {
            const PWeftEventMonitor monitor = otcEventMonitor;
            monitor->ProcessMessages();
            DestroyMonitor(false);
        }
        if (!result) {
            std::unique_lock lock(otcStartLock);
            if (otcThread) {
                otcThread.reset();  // abandoned, never killed
            } else if (const PWeftThreadPool pool = otcOwningPool.lock()) {
                otcOwningPool.reset();
                lock.unlock();
                pool->Cancel(otcSharedInfo->ostiUniqueID);
            }
        }
        if (!fromDestructor) {
            otcOnMessageList.clear();
            otcOnMessageExec = nullptr;
            otcOnTerminatedExec = nullptr;
        }
        return result;
    }

    PWeftTaskParts otcParts;
    // Into otcParts.
    TWeftTaskExecutor* const otcExecutor;
    TWeftSharedTaskInfo* const otcSharedInfo;
    TWeftValueContainer* const otcParameters;
    bool otcDelayedTerminate = false;
    PWeftEventMonitor otcEventMonitor;
    bool otcEventMonitorInternal = false;
    bool otcInEventHandler = false;
    PWeftMessageExec otcOnMessageExec;
    // Registration order; dispatcher objects under the internal message id.
    std::vector<std::pair<uint16_t, PWeftMessageExec>> otcOnMessageList;
    PWeftMessageExec otcOnTerminatedExec;
    TWeftOnTerminatedFunctionSimple otcOnTerminatedSimple;
    // Not owned: the owner of a pool decides when it ends, also while
    // tasks run in it.
    std::weak_ptr<IWeftThreadPool> otcOwningPool;
    std::vector<PWeftCancellationToken> otcTerminateTokens;
    std::mutex otcStartLock;  // guards the start: thread, task side, pool
    std::shared_ptr<TWeftThread> otcThread;
    PWeftTaskImpl otcTask;
    TWeftValueContainer otcUserData;
};

}  // namespace

PWeftTaskControl CreateTask(const PWeftWorker& worker, const QString& taskName)
{
    return std::allocate_shared<TWeftTaskControl>(
        TRecyclingAllocator<TWeftTaskControl>(),
        std::allocate_shared<TWeftTaskParts>(TRecyclingAllocator<TWeftTaskParts>(), worker), taskName);
}

PWeftTaskControl CreateTask(const TWeftTaskDelegate& worker, const QString& taskName)
{
    // Tasks are made by their owner and freed by the thread that ran them
    // last, often many a second: their blocks are recycled.
    return std::allocate_shared<TWeftTaskControl>(
        TRecyclingAllocator<TWeftTaskControl>(),
        std::allocate_shared<TWeftTaskParts>(TRecyclingAllocator<TWeftTaskParts>(),
                                             TWeftTaskExecutor::TWeftTaskDelegate(worker)),
        taskName);
}
