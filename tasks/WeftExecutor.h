#pragma once
// The part of a task that runs on the task's thread: TWeftTaskExecutor sets
// the thread's priority, calls the task's work and, when the work is a
// worker object (IWeftWorker), runs the worker's message loop: one wait on
// the terminate request(s), the internal rebuild signal, the task's message
// endpoint and extra registered endpoints, and registered wait objects,
// waking also for timers and (optionally) the thread's own message queue.
// Messages reach the worker by id through its message table, or, for invoke
// messages (id $FFFF), by published method name or address or as procedures.
//
// The task side (IWeftTask) and the owner side build on this; IWeftTask
// here holds what the executor and workers need of the task.

#include "tasks/KitStringHash.h"
#include "tasks/WeftComm.h"
#include "tasks/WeftCommon.h"
#include "tasks/WeftInvoke.h"
#include "tasks/WeftSync.h"

#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

enum TWeftThreadPriority { tpIdle, tpLowest, tpBelowNormal, tpNormal, tpAboveNormal, tpHighest };

enum TWeftTaskControlOption : uint32_t {
    tcoAlertableWait = 1u << 0,
    tcoMessageWait = 1u << 1,
    tcoForceExecution = 1u << 2
};
using TWeftTaskControlOptions = uint32_t;

class TWeftTaskExecutor;

// The task as its work sees it (the subset the executor relies on).
class IWeftTask : public IInterface {
public:
    // Endpoint 2 of the task's channel (reads owner-to-task messages).
    virtual PWeftCommunicationEndpoint GetComm() = 0;
    PWeftCommunicationEndpoint Comm() { return GetComm(); }
    // Manual-reset; set to ask the task to end.
    virtual THandle GetTerminateEvent() = 0;
    THandle TerminateEvent() { return GetTerminateEvent(); }
    virtual QString GetName() = 0;
    QString Name() { return GetName(); }
    virtual int64_t GetUniqueID() = 0;
    int64_t UniqueID() { return GetUniqueID(); }
    virtual bool Terminated() = 0;
};

using TWeftWaitObjectMethod = TMethod;  // MakeMethod<&C::M>(obj), no arguments
using TWeftWaitObjectProc = std::function<void()>;

class IWeftWorker : public IInterface {
public:
    virtual TWeftObject* GetImplementor() = 0;
    TWeftObject* Implementor() { return GetImplementor(); }
    virtual PWeftTask GetTask() = 0;
    PWeftTask Task() { return GetTask(); }
    virtual void SetExecutor(TWeftTaskExecutor* executor) = 0;
    virtual void SetTask(const PWeftTask& value) = 0;
    virtual void AfterWait(TWaitFor& waitFor, TWaitFor::TWaitForResult awaited) = 0;
    virtual void BeforeWait(DWORD& timeout_ms) = 0;
    virtual void MessageLoopPayload() = 0;
    virtual void ProcessThreadMessages() = 0;
    virtual void Cleanup() = 0;
    virtual void DispatchMessage(TWeftMessage& msg) = 0;
    virtual void Timer() = 0;
    virtual bool Initialize() = 0;
};
using PWeftWorker = std::shared_ptr<IWeftWorker>;

// The base of worker objects. Messages go to the handler set for their id
// (SetMessageHandler), others to DefaultHandler, which ignores them. A
// worker whose methods may be invoked by name publishes them
// (PublishedMethods).
class TWeftWorker : public TWeftObject, public IWeftWorker, public IWeftPublishedMethods {
public:
    using TMessageHandler = std::function<void(TWeftMessage& msg)>;

    TWeftObject* GetImplementor() override { return this; }
    PWeftTask GetTask() override { return owTask; }
    void SetExecutor(TWeftTaskExecutor* executor) override { owExecutor = executor; }
    void SetTask(const PWeftTask& value) override { owTask = value; }
    void AfterWait(TWaitFor&, TWaitFor::TWaitForResult) override {}
    void BeforeWait(DWORD&) override {}
    void MessageLoopPayload() override {}
    void ProcessThreadMessages() override {}
    void Cleanup() override {}
    void DispatchMessage(TWeftMessage& msg) override;
    void Timer() override {}
    bool Initialize() override { return true; }
    const TWeftMethodTable* PublishedMethods() const override { return nullptr; }

    void SetMessageHandler(uint16_t msgID, TMessageHandler handler);
    virtual void DefaultHandler(TWeftMessage&) {}
    // Handles pending events now, from inside a long operation of the
    // worker (terminate requests are left for the main loop).
    void ProcessMessages();
    TWeftTaskExecutor* Executor() const { return owExecutor; }

private:
    TWeftTaskExecutor* owExecutor = nullptr;
    PWeftTask owTask;
    std::unordered_map<uint16_t, TMessageHandler> owMessageTable;
};

// Cached result of resolving a worker method by name.
class TWeftInvokeInfo : public TWeftObject {
public:
    void* oiiAddress = nullptr;
    TWeftInvokeType oiiSignature = itUnknown;
    const TWeftPublishedMethod* Method = nullptr;
};

struct TWeftTaskTimerInfo {
    DWORD ottiInterval_ms = 0;
    TWeftMessageID ottiMessageID;
    int32_t ottiTimerID = 0;
};

// Where each kind of handle sits in the executor's wait set.
struct TWeftMessageInfo {
    int IdxFirstMessage = 0;
    int IdxFirstTerminate = 0;
    int IdxFirstWaitObject = 0;
    int IdxLastMessage = 0;
    int IdxLastTerminate = 0;
    int IdxLastWaitObject = 0;
    int IdxRebuildHandles = 0;
    THandle NewMessageEvent;
    int NumWaitHandles = 0;
    std::vector<THandle> WaitHandles;
    std::unique_ptr<TWaitFor> Waiter;  // made with the first wait set
    DWORD WaitFlags = 0;
    DWORD WaitWakeMask = 0;
    QString AsString() const;
};

class TWeftTaskExecutor : public TWeftObject {
public:
    enum TWeftExecutorType { etNone, etMethod, etProcedure, etWorker, etFunction };
    using TWeftTaskProcedure = void (*)(const PWeftTask& task);
    using TWeftTaskDelegate = std::function<void(const PWeftTask& task)>;

    explicit TWeftTaskExecutor(const PWeftWorker& worker);
    // A method taking the task: MakeMethod<&C::M, const PWeftTask&>(obj).
    explicit TWeftTaskExecutor(const TMethod& method);
    explicit TWeftTaskExecutor(TWeftTaskProcedure proc);
    explicit TWeftTaskExecutor(TWeftTaskDelegate func);
    ~TWeftTaskExecutor() override;

    // Runs the task on the calling thread; exceptions of the work leave it
    // after the clean-up.
    void Asy_Execute(const PWeftTask& task);

    // Worker tasks only; each wakes the loop to rebuild its wait set.
    void Asy_RegisterComm(const PWeftCommunicationEndpoint& comm);
    void Asy_UnregisterComm(const PWeftCommunicationEndpoint& comm);
    void Asy_RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectMethod& responseHandler);
    void Asy_RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectProc& responseHandler);
    void Asy_UnregisterWaitObject(const THandle& waitObject);
    // interval 0 removes the timer. Message ids: integer < 0 calls the
    // worker's Timer, integer >= 0 dispatches that message with the timer
    // id, text invokes the published method by name, pointer by address,
    // a procedure is called with the timer id.
    void Asy_SetTimer(int32_t timerID, DWORD interval_ms, const TWeftMessageID& timerMessage);
    void Asy_SetExitStatus(int32_t exitCode, const QString& exitMessage);

    int32_t GetExitCode() const { return oteExitCode.Value(); }
    QString GetExitMessage() const;
    TWeftObject* GetImplementor() const;
    TWeftExecutorType ExecutorType() const { return oteExecutorType; }
    TWeftTaskControlOptions GetOptions() const;
    // Raises "TWeftTaskExecutor.SetOptions: Trying to set IWeftWorker
    // specific option(s)" for message or alertable waits of other work.
    void SetOptions(TWeftTaskControlOptions value);
    TWeftThreadPriority Priority() const { return otePriority; }
    void SetPriority(TWeftThreadPriority value) { otePriority = value; }
    void SetWakeMask(DWORD value) { oteWakeMask = value; }
    // Timers stop firing while the task winds down.
    void SetTerminating(bool value) { oteTerminating.store(value); }
    // Adds a handle whose signal ends the task (before the start).
    void TerminateWhen(const THandle& handle);
    // Worker tasks only: waits for the worker's Initialize; its result.
    bool WaitForInit();
    // The exception captured from the task's work (kept for the owner).
    std::exception_ptr GetException() const;
    void SetException(std::exception_ptr e);

    // Placement on the calling thread; Verify* raise "NUMA node %d not
    // found" and "Processor group number (%d) is out of range [0..%d]".
    static void VerifyNUMANode(int numaNode);
    static void VerifyProcessorGroup(int processorGroup);
    void SetNUMANode(int numaNode);
    void SetProcessorGroup(int processorGroup);

    // Handles pending events from inside the worker's work (1 ms waits,
    // without the terminate handles).
    void ProcessMessages();
    QString RTTIMethodsAsString() const;

private:
    void Init();
    void DispatchMessages(const PWeftTask& task);
    void MainMessageLoop();
    bool DispatchEvent(TWeftMessageInfo& info, TWaitFor::TWaitForResult awaited);
    TWaitFor::TWaitForResult WaitForEvent(TWeftMessageInfo& info, DWORD timeout_ms);
    void BuildWaitHandles(TWeftMessageInfo& info, bool withTerminate);
    void RebuildWaitHandles();
    bool TestForInternalRebuild();
    void EmptyMessageQueues();
    void DispatchCommMessage(const THandle& handle);
    void DispatchWeftMessage(TWeftMessage& msg, bool checkTimers);
    void DispatchInternalMessage(TWeftMessage& msg);
    void CallByName(const QString& name, const TWeftValue& value);
    const TWeftMethodTable& MethodTable() const;
    DWORD TimeUntilNextTimer_ms();
    void CheckTimers();
    void CallWeftTimer();
    void InsertTimer(int64_t due, const TWeftTaskTimerInfo& info);
    void RequireWorker(const char* what) const;

    std::recursive_mutex oteInternalLock;
    std::recursive_mutex oteTimerLock;
    std::vector<PWeftCommunicationEndpoint> oteCommList;
    std::vector<THandle> oteCommNewMsgList;
    THandle oteCommRebuildHandles;
    std::exception_ptr oteException;
    TWeftExecutorType oteExecutorType = etNone;
    TWeftAlignedInt32 oteExitCode;
    QString oteExitMessage;
    TWeftTaskDelegate oteFunc;
    TMethod oteMethod;
    TWeftTaskProcedure oteProc = nullptr;
    std::unique_ptr<TKitStringObjectHash> oteMethodHash;
    TWeftMessageInfo oteMsgInfo;
    std::atomic<TWeftTaskControlOptions> oteOptions{0};
    TWeftThreadPriority otePriority = tpNormal;
    std::vector<THandle> oteTerminateHandles;
    std::atomic<bool> oteTerminating{false};
    std::vector<std::pair<int64_t, TWeftTaskTimerInfo>> oteTimers;  // sorted by due time
    DWORD oteWakeMask = 0;
    std::atomic<int64_t> oteWaitHandlesGen{0};
    struct TWaitObject {
        THandle Handle;
        TWeftWaitObjectMethod Method;
        TWeftWaitObjectProc Anon;
    };
    std::vector<TWaitObject> oteWaitObjectList;
    THandle oteWorkerInitialized;
    std::atomic<bool> oteWorkerInitOK{false};
    PWeftWorker oteWorkerIntf;
    PWeftTask oteTask;
    THandle oteNoMessages;  // stands in for a task without a channel
};

// The nice value a priority maps to (best effort: raising needs privileges
// and is skipped when refused).
int WeftPriorityNiceValue(TWeftThreadPriority priority);
