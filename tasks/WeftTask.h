#pragma once
// A task seen from both sides. IWeftTaskControl is the owner's handle
// (made by CreateTask, configured by chained calls, started by Run on a
// thread of its own or by Schedule on a thread pool, ended by Terminate);
// TWeftTask is the task's own view (IWeftTaskEx) and carries out the task's
// life on whatever thread runs it: it runs the executor, captures an
// exception, announces the end to the owner and starts a chained task. The
// two share TWeftSharedTaskInfo.
//
// Everything a task's thread touches is shared-owned, so a thread that a
// pool or Terminate had to abandon never sees freed objects.

#include "tasks/WeftComm.h"
#include "tasks/WeftCommon.h"
#include "tasks/WeftExecutor.h"
#include "tasks/WeftMessageExec.h"
#include "tasks/WeftObservers.h"
#include "tasks/WeftSync.h"

#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class IWeftThreadPool;
using PWeftThreadPool = std::shared_ptr<IWeftThreadPool>;
class IWeftTaskControlMonitor;
using PWeftTaskControlMonitor = std::shared_ptr<IWeftTaskControlMonitor>;
class IWeftTaskGroup;
using PWeftTaskGroup = std::shared_ptr<IWeftTaskGroup>;

using TWeftTaskDelegate = std::function<void(const PWeftTask& task)>;
// A timer procedure; the second form gets the timer's id.
using TWeftTimerProc = std::function<void()>;
using TWeftTimerProcWithID = std::function<void(int32_t timerID)>;

// A lock given to a task with WithLock(lock, autoDestroyLock): any object
// with Acquire and Release.
class TSynchroObject {
public:
    virtual ~TSynchroObject() = default;
    virtual void Acquire() = 0;
    virtual void Release() = 0;
};

// Exit codes of tasks that a thread pool ends itself.
constexpr int32_t CWeftExitQueueTooLong = int32_t(0x80000000u);
constexpr int32_t CWeftExitQueuedTooLong = int32_t(0x80000001u);
constexpr int32_t CWeftExitCancelled = int32_t(0x80000002u);

// What the owner and the task side share.
class TWeftSharedTaskInfo {
public:
    // Made on first demand; concurrent first calls share one token.
    PWeftCancellationToken CancellationToken();
    void SetCancellationToken(const PWeftCancellationToken& token);
    // The channel, made on first demand with ostiQueueLength messages per
    // direction (null with create false while none exists). Tasks that never
    // talk never pay for their queues.
    PWeftTwoWayChannel Channel(bool create = true);
    // Installs the monitor's observer (ostiMonitorLock held by the caller,
    // with the channel lock taken first: see LockChannel). It is attached to
    // the channel now when there is one, else when the channel is made, so
    // watching a task that never talks makes no channel.
    void InstallMonitor(std::unique_ptr<TWeftContainerWindowsMessageObserver> observer);
    // The lock that Channel takes: held around ostiMonitorLock (in that
    // order) when the monitor is installed.
    std::unique_lock<std::mutex> LockChannel() { return std::unique_lock(ostiLock_); }

    std::mutex ostiLock_;  // guards the token and the chain
    bool ostiChainIgnoreErrors = false;
    PWeftTaskControl ostiChainTo;
    int ostiQueueLength = 10000;
    PWeftCounter ostiCounter;
    std::shared_ptr<IWeftCriticalSection> ostiLock;
    // Given by WithLock(TSynchroObject): owned (freed with the last holder)
    // only when the task was told to destroy it.
    std::shared_ptr<TSynchroObject> ostiSyncLock;
    // Announces task messages to the monitor window; used under the lock.
    std::unique_ptr<TWeftContainerWindowsMessageObserver> ostiMonitor;
    std::mutex ostiMonitorLock;
    // Set once a chained task or a monitor was given (before the start), so
    // that the end of a task with neither takes neither lock.
    std::atomic<bool> ostiChained{false};
    std::atomic<bool> ostiMonitored{false};
    std::atomic<int32_t> ostiNUMANode{-1};
    std::atomic<int32_t> ostiProcessorGroup{-1};
    std::atomic<bool> ostiStopped{false};
    QString ostiTaskName;
    // Made when someone waits: most tasks end unobserved.
    TWeftLazyEvent ostiTerminatedEvent;
    TWeftLazyEvent ostiTerminateEvent;
    std::atomic<bool> ostiTerminating{false};
    int64_t ostiUniqueID = 0;

private:
    PWeftCancellationToken ostiCancellationToken;
    PWeftTwoWayChannel ostiCommChannel;
};
using PWeftSharedTaskInfo = std::shared_ptr<TWeftSharedTaskInfo>;

// What the owner's handle and the task side both hold, made as one block:
// a task costs one allocation for them instead of three, and the references
// handed out point into the block.
struct TWeftTaskParts {
    template <class Work>
    explicit TWeftTaskParts(Work&& work) : Executor(std::forward<Work>(work))
    {
    }
    TWeftTaskExecutor Executor;
    TWeftSharedTaskInfo Info;
    TWeftValueContainer Params;
};
using PWeftTaskParts = std::shared_ptr<TWeftTaskParts>;

// The task's view of itself beyond what the executor needs.
class IWeftTaskEx : public IWeftTask {
public:
    virtual PWeftCancellationToken GetCancellationToken() = 0;
    PWeftCancellationToken CancellationToken() { return GetCancellationToken(); }
    virtual PWeftCounter GetCounter() = 0;
    virtual std::shared_ptr<IWeftCriticalSection> GetLock() = 0;
    // The lock given by WithLock(TSynchroObject), or null.
    virtual std::shared_ptr<TSynchroObject> GetSyncLock() = 0;
    virtual TWeftObject* GetImplementor() = 0;
    // The parameter container; null once the task has ended.
    virtual std::shared_ptr<TWeftValueContainer> GetParam() = 0;
    std::shared_ptr<TWeftValueContainer> Param() { return GetParam(); }
    virtual IInterfacePtr GetThreadData() = 0;
    virtual void ClearTimer(int32_t timerID) = 0;
    virtual void Enforced(bool forceExecution) = 0;
    // Runs the procedure on the owner's thread (through its monitor).
    virtual void Invoke(const TWeftTaskInvokeFunction& remoteFunc) = 0;
    // Runs the procedure later on the task's own thread (worker tasks).
    virtual void InvokeOnSelf(const TWeftTaskInvokeFunction& remoteFunc) = 0;
    virtual void RegisterComm(const PWeftCommunicationEndpoint& comm) = 0;
    virtual void UnregisterComm(const PWeftCommunicationEndpoint& comm) = 0;
    virtual void RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectMethod& responseHandler) = 0;
    virtual void RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectProc& responseHandler) = 0;
    virtual void UnregisterWaitObject(const THandle& waitObject) = 0;
    virtual void SetException(std::exception_ptr exception) = 0;
    virtual void SetExitStatus(int32_t exitCode, const QString& exitMessage) = 0;
    virtual void SetProcessorGroup(int32_t n) = 0;
    virtual void SetNUMANode(int32_t n) = 0;
    virtual void SetTimer(int32_t timerID, DWORD interval_ms, const TWeftMessageID& timerMessage) = 0;
    // Timer 0 calling the worker's Timer.
    void SetTimer(DWORD interval_ms) { SetTimer(0, interval_ms, TWeftMessageID(-1)); }
    // Timer 0 with the given message id.
    void SetTimer(DWORD interval_ms, const TWeftMessageID& timerMessage) { SetTimer(0, interval_ms, timerMessage); }
    void SetTimer(int32_t timerID, DWORD interval_ms, const TWeftTimerProc& timerProc)
    {
        SetTimer(timerID, interval_ms, TWeftMessageID::Create([timerProc](int32_t) { timerProc(); }));
    }
    void SetTimer(int32_t timerID, DWORD interval_ms, const TWeftTimerProcWithID& timerProc)
    {
        SetTimer(timerID, interval_ms, TWeftMessageID::Create(timerProc));
    }
    // Removes timer 0.
    void StopTimer() { SetTimer(DWORD(0)); }
    // Asks the task to end (the owner's Stop).
    virtual void Terminate() = 0;
    virtual bool Stopped() = 0;
};
using PWeftTaskEx = std::shared_ptr<IWeftTaskEx>;

// What a thread (own or pooled) does with a task.
class IWeftTaskRunner : public IInterface {
public:
    virtual void Execute() = 0;
    virtual void SetThreadData(const IInterfacePtr& value) = 0;
};

class TWeftTask final : public IWeftTaskEx, public IWeftTaskRunner, public std::enable_shared_from_this<TWeftTask> {
public:
    explicit TWeftTask(PWeftTaskParts parts);

    // IWeftTask
    PWeftCommunicationEndpoint GetComm() override;
    THandle GetTerminateEvent() override;
    QString GetName() override;
    int64_t GetUniqueID() override { return otUniqueID; }
    bool Terminated() override;
    // IWeftTaskEx
    PWeftCancellationToken GetCancellationToken() override;
    PWeftCounter GetCounter() override;
    std::shared_ptr<IWeftCriticalSection> GetLock() override;
    std::shared_ptr<TSynchroObject> GetSyncLock() override;
    TWeftObject* GetImplementor() override;
    std::shared_ptr<TWeftValueContainer> GetParam() override;
    IInterfacePtr GetThreadData() override;
    void ClearTimer(int32_t timerID) override { SetTimer(timerID, 0, TWeftMessageID(0)); }
    void Enforced(bool forceExecution) override;
    void Invoke(const TWeftTaskInvokeFunction& remoteFunc) override;
    void InvokeOnSelf(const TWeftTaskInvokeFunction& remoteFunc) override;
    void RegisterComm(const PWeftCommunicationEndpoint& comm) override;
    void UnregisterComm(const PWeftCommunicationEndpoint& comm) override;
    void RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectMethod& responseHandler) override;
    void RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectProc& responseHandler) override;
    void UnregisterWaitObject(const THandle& waitObject) override;
    void SetException(std::exception_ptr exception) override;
    void SetExitStatus(int32_t exitCode, const QString& exitMessage) override;
    void SetProcessorGroup(int32_t n) override;
    void SetNUMANode(int32_t n) override;
    void SetTimer(int32_t timerID, DWORD interval_ms, const TWeftMessageID& timerMessage) override;
    using IWeftTaskEx::SetTimer;
    void Terminate() override;
    bool Stopped() override;
    // IWeftTaskRunner
    void Execute() override { InternalExecute(false); }
    void SetThreadData(const IInterfacePtr& value) override;

    DWORD ThreadID() const { return otThreadID.load(); }

private:
    void InternalExecute(bool calledFromTerminate);
    std::shared_ptr<TWeftTaskExecutor> Executor();
    PWeftSharedTaskInfo SharedInfo();

    // Decides, as one step, whether Execute or Terminate runs the end of
    // life; held across the end-of-life steps.
    std::mutex otCleanupLock;
    bool otExecuting = false;
    bool otTerminateWillCallExecute = false;
    // Executor, shared information and parameters; dropped at the end of
    // the task's life. Only the end of life writes it (under otRefLock).
    PWeftTaskParts otParts_ref;
    IInterfacePtr otThreadData;
    std::atomic<DWORD> otThreadID{0};
    int64_t otUniqueID;
    THandle otTerminateEvent;  // made on first demand
    bool otTerminateAsked = false;  // at the end of life, for a late first demand
    PWeftCommunicationEndpoint otComm;  // made on first demand
    std::mutex otRefLock;  // guards the references for readers
};
using PWeftTaskImpl = std::shared_ptr<TWeftTask>;

// The owner's handle (chained configuration returns the same interface).
class IWeftTaskControl : public IInterface {
public:
    virtual PWeftCancellationToken GetCancellationToken() = 0;
    PWeftCancellationToken CancellationToken() { return GetCancellationToken(); }
    // Endpoint 1 of the channel (made on first demand).
    virtual PWeftCommunicationEndpoint GetComm() = 0;
    PWeftCommunicationEndpoint Comm() { return GetComm(); }
    virtual int32_t GetExitCode() = 0;
    int32_t ExitCode() { return GetExitCode(); }
    virtual QString GetExitMessage() = 0;
    QString ExitMessage() { return GetExitMessage(); }
    virtual std::shared_ptr<IWeftCriticalSection> GetLock() = 0;
    virtual QString GetName() = 0;
    QString Name() { return GetName(); }
    virtual int64_t GetUniqueID() = 0;
    int64_t UniqueID() { return GetUniqueID(); }
    virtual std::shared_ptr<TWeftValueContainer> GetParam() = 0;
    std::shared_ptr<TWeftValueContainer> Param() { return GetParam(); }
    // The captured exception of the work (still kept), or null.
    virtual std::exception_ptr GetFatalException() = 0;
    std::exception_ptr FatalException() { return GetFatalException(); }
    // Hands the captured exception to the caller (null when none).
    virtual std::exception_ptr DetachException() = 0;

    // Owner-side user data by index: an integer (also 64-bit, or a variant
    // read as one) stores at that position, a text under that name; other
    // kinds raise "UserData can only be indexed by integer or string.".
    virtual TWeftValue GetUserDataVal(const TWeftValue& idx) = 0;
    virtual void SetUserDataVal(const TWeftValue& idx, const TWeftValue& value) = 0;
    TWeftValue UserData(const TWeftValue& idx) { return GetUserDataVal(idx); }

    // Worker tasks: wait alertably / also wake for thread messages.
    virtual PWeftTaskControl Alertable() = 0;
    virtual PWeftTaskControl MsgWait(DWORD wakeMask) = 0;
    // Must come before the start.
    virtual PWeftTaskControl CancelWith(const PWeftCancellationToken& token) = 0;
    virtual PWeftTaskControl ChainTo(const PWeftTaskControl& task, bool ignoreErrors = false) = 0;
    virtual PWeftTaskControl ClearTimer(int32_t timerID) = 0;
    virtual PWeftTaskControl Enforced(bool forceExecution = true) = 0;
    // Calls a published method of the task's worker on the task's thread,
    // by address (WeftMethodAddress<&C::M>()) or by name, with no value
    // (null), one value, or a list of values passed as one array value.
    virtual PWeftTaskControl Invoke(void* methodAddress) = 0;
    virtual PWeftTaskControl Invoke(void* methodAddress, const std::vector<TWeftValue>& msgData) = 0;
    virtual PWeftTaskControl Invoke(void* methodAddress, const TWeftValue& msgData) = 0;
    virtual PWeftTaskControl Invoke(const QString& methodName) = 0;
    virtual PWeftTaskControl Invoke(const QString& methodName, const std::vector<TWeftValue>& msgData) = 0;
    virtual PWeftTaskControl Invoke(const QString& methodName, const TWeftValue& msgData) = 0;
    // Runs the procedure in the task (worker tasks).
    virtual PWeftTaskControl Invoke(const TWeftTaskControlInvokeFunction& remoteFunc) = 0;
    virtual PWeftTaskControl Invoke(const TWeftTaskControlInvokeFunctionEx& remoteFunc) = 0;
    // The group's Add / Remove with this task.
    virtual PWeftTaskControl Join(const PWeftTaskGroup& group) = 0;
    virtual PWeftTaskControl Leave(const PWeftTaskGroup& group) = 0;
    virtual PWeftTaskControl MonitorWith(const PWeftTaskControlMonitor& monitor) = 0;
    virtual PWeftTaskControl NUMANode(int numaNode) = 0;
    // Every message goes (as a copy) to the dispatcher's table as well.
    virtual PWeftTaskControl OnMessage(const PWeftMessageDispatcher& eventDispatcher) = 0;
    // The general handler for messages without a handler of their own.
    virtual PWeftTaskControl OnMessage(const TWeftTaskMessageEvent& eventHandler) = 0;
    virtual PWeftTaskControl OnMessage(uint16_t msgID, const TWeftTaskMessageEvent& eventHandler) = 0;
    // The task control keeps the exec.
    virtual PWeftTaskControl OnMessage(uint16_t msgID, const PWeftMessageExec& eventHandler) = 0;
    virtual PWeftTaskControl OnMessage(const TWeftOnMessageFunction& eventHandler) = 0;
    virtual PWeftTaskControl OnMessage(uint16_t msgID, const TWeftOnMessageFunction& eventHandler) = 0;
    virtual PWeftTaskControl OnTerminated(const TWeftOnTerminatedFunction& eventHandler) = 0;
    virtual PWeftTaskControl OnTerminated(const TWeftOnTerminatedFunctionSimple& eventHandler) = 0;
    virtual PWeftTaskControl OnTerminated(const TWeftTaskTerminatedEvent& eventHandler) = 0;
    virtual PWeftTaskControl ProcessorGroup(int processorGroup) = 0;
    virtual PWeftTaskControl RemoveMonitor() = 0;
    // On a thread of its own.
    virtual PWeftTaskControl Run() = 0;
    // Run, then the same Invoke.
    PWeftTaskControl Run(void* methodAddress) { return Run()->Invoke(methodAddress); }
    PWeftTaskControl Run(void* methodAddress, const std::vector<TWeftValue>& msgData)
    {
        return Run()->Invoke(methodAddress, msgData);
    }
    PWeftTaskControl Run(void* methodAddress, const TWeftValue& msgData) { return Run()->Invoke(methodAddress, msgData); }
    PWeftTaskControl Run(const QString& methodName) { return Run()->Invoke(methodName); }
    PWeftTaskControl Run(const QString& methodName, const std::vector<TWeftValue>& msgData)
    {
        return Run()->Invoke(methodName, msgData);
    }
    PWeftTaskControl Run(const QString& methodName, const TWeftValue& msgData)
    {
        return Run()->Invoke(methodName, msgData);
    }
    PWeftTaskControl Run(const TWeftTaskControlInvokeFunction& remoteFunc) { return Run()->Invoke(remoteFunc); }
    PWeftTaskControl Run(const TWeftTaskControlInvokeFunctionEx& remoteFunc) { return Run()->Invoke(remoteFunc); }
    // On the pool (GlobalWeftThreadPool when null).
    virtual PWeftTaskControl Schedule(const PWeftThreadPool& threadPool = nullptr) = 0;
    virtual PWeftTaskControl SetMonitor(HWND hWindow) = 0;
    virtual PWeftTaskControl SetParameter(const QString& paramName, const TWeftValue& paramValue) = 0;
    virtual PWeftTaskControl SetParameter(const TWeftValue& paramValue) = 0;
    // Replaces the parameters with these unnamed values.
    virtual PWeftTaskControl SetParameters(const std::vector<TWeftValue>& parameters) = 0;
    virtual PWeftTaskControl SetPriority(TWeftThreadPriority threadPriority) = 0;
    virtual PWeftTaskControl SetQueueSize(int numMessages) = 0;
    virtual PWeftTaskControl SetTimer(int timerID, DWORD interval_ms, const TWeftMessageID& timerMessage) = 0;
    // Timer 0 calling the worker's Timer.
    PWeftTaskControl SetTimer(DWORD interval_ms) { return SetTimer(0, interval_ms, TWeftMessageID(-1)); }
    // Timer 0 with the given message id.
    PWeftTaskControl SetTimer(DWORD interval_ms, const TWeftMessageID& timerMessage)
    {
        return SetTimer(0, interval_ms, timerMessage);
    }
    PWeftTaskControl SetTimer(int timerID, DWORD interval_ms, const TWeftTimerProc& timerProc)
    {
        return SetTimer(timerID, interval_ms, TWeftMessageID::Create([timerProc](int32_t) { timerProc(); }));
    }
    PWeftTaskControl SetTimer(int timerID, DWORD interval_ms, const TWeftTimerProcWithID& timerProc)
    {
        return SetTimer(timerID, interval_ms, TWeftMessageID::Create(timerProc));
    }
    virtual PWeftTaskControl SetUserData(const TWeftValue& idx, const TWeftValue& value) = 0;
    // Asks the task to end and returns at once.
    virtual void Stop() = 0;
    // Asks the task to end and waits (serving the task's synchronous calls
    // meanwhile); false when it did not end in time (then an own thread is
    // abandoned, a pooled task cancelled in its pool).
    virtual bool Terminate(DWORD maxWait_ms = INFINITE) = 0;
    virtual PWeftTaskControl TerminateWhen(const THandle& event) = 0;
    virtual PWeftTaskControl TerminateWhen(const PWeftCancellationToken& token) = 0;
    // Watched by the calling thread's pooled monitor without handlers.
    virtual PWeftTaskControl Unobserved() = 0;
    virtual bool WaitFor(DWORD maxWait_ms) = 0;
    virtual bool WaitForInit() = 0;
    virtual PWeftTaskControl WithCounter(const PWeftCounter& counter) = 0;
    // Lends the lock: the caller keeps it alive at least as long as the
    // task, unless autoDestroyLock hands it over (freed with the task).
    virtual PWeftTaskControl WithLock(TSynchroObject* lock, bool autoDestroyLock = true) = 0;
    // A lock shared by several tasks (freed with the last holder).
    virtual PWeftTaskControl WithLock(const std::shared_ptr<TSynchroObject>& lock) = 0;
    virtual PWeftTaskControl WithLock(const std::shared_ptr<IWeftCriticalSection>& lock) = 0;
};

// The shared information, for the pool and the monitor.
class IWeftTaskControlSharedInfo {
public:
    virtual ~IWeftTaskControlSharedInfo() = default;
    virtual PWeftSharedTaskInfo GetSharedInfo() = 0;
    // The task side (null before Run/Schedule).
    virtual PWeftTaskImpl GetTaskSide() = 0;
};

// Used by the event monitor.
class IWeftTaskControlInternals {
public:
    virtual ~IWeftTaskControlInternals() = default;
    virtual THandle GetTerminatedEvent() = 0;
    // True for an invoke message that it ran (not delivered further).
    virtual bool FilterMessage(TWeftMessage& msg) = 0;
    virtual void ForwardTaskMessage(TWeftMessage& msg) = 0;
    virtual void ForwardTaskTerminated() = 0;
};

PWeftTaskControl CreateTask(const PWeftWorker& worker, const QString& taskName = QString());
PWeftTaskControl CreateTask(const TWeftTaskDelegate& worker, const QString& taskName = QString());
