#pragma once
// A named pool of reusable worker threads that runs tasks handed to it.
// Workers are made on demand, reused (the most recently idled first),
// stopped after an idle time-out (never below MinWorkers), and abandoned
// when a cancelled task does not stop within WaitOnTerminate_sec: an
// abandoned thread is no longer counted, reported as killed and left to end
// by itself (threads are never killed; everything it touches is
// shared-owned). The pool limits how many tasks run at once, how many may
// wait and for how long, and spreads work over processor clusters.
//
// The bookkeeping lives under one lock; scheduling mostly only hands the
// item over through the scheduling thread's own queue, which the workers
// bring in (see the .cpp for how work is handed out). A maintenance thread
// ticks every second (queue time limits, idle expiry, abandoned workers).
// Cancel and CancelAll wait for the tasks they stop, serving the synchronous
// calls of those tasks meanwhile (WeftOwnerWait). CountQueued includes
// items still in the hand-over queues.

#include "tasks/WeftEnvironment.h"
#include "tasks/WeftTask.h"

#include <QString>
#include <atomic>
#include <functional>
#include <memory>

enum TThreadPoolOperation { tpoCreateThread = 0, tpoDestroyThread = 1, tpoKillThread = 2, tpoWorkItemCompleted = 3 };

// A notice posted to a monitor window (lParam); the receiver frees it.
class TWeftThreadPoolMonitorInfo final : public TWeftObject {
public:
    TWeftThreadPoolMonitorInfo(int64_t uniqueID, TThreadPoolOperation operation, DWORD threadID)
        : otpmiThreadID(threadID), otpmiThreadPoolOperation(operation), otpmiUniqueID(uniqueID)
    {
    }
    TWeftThreadPoolMonitorInfo(int64_t uniqueID, int64_t taskID)
        : otpmiTaskID(taskID), otpmiThreadPoolOperation(tpoWorkItemCompleted), otpmiUniqueID(uniqueID)
    {
    }
    int64_t otpmiTaskID = 0;
    DWORD otpmiThreadID = 0;
    TThreadPoolOperation otpmiThreadPoolOperation;
    int64_t otpmiUniqueID;
};

enum TWeftThreadPoolOption : uint32_t { tpoPreventCancellationTokenOnCancel = 1 };
using TWeftThreadPoolOptions = uint32_t;

using TWeftUnhandledWorkerException = std::function<void(DWORD threadID, std::exception_ptr exception)>;
using TOTPThreadDataFactory = std::function<IInterfacePtr()>;

class IWeftThreadPoolScheduler {
public:
    virtual ~IWeftThreadPoolScheduler() = default;
    virtual void Schedule(const PWeftTaskControl& task) = 0;
    // The same with the task side already at hand (saves looking it up).
    virtual void Schedule(const PWeftTaskControl& task, const PWeftTaskImpl& taskSide) = 0;
};

class IWeftThreadPool : public IInterface {
public:
    // The scheduling side, or null for a pool that cannot run tasks.
    virtual IWeftThreadPoolScheduler* Scheduler() { return nullptr; }
    // Runs a plain callable on a worker without making a task for it: no
    // name, id, messages, exit status or cancellation. It counts against
    // MaxExecuting and the queue limits like a task; the queue limits and
    // CancelAll drop it unrun. An exception it raises goes to the
    // unhandled-worker-exception handler and the worker goes on. The
    // callable is destroyed on the worker after it ran.
    virtual void Post(TWeftDelegate work) = 0;
    virtual int GetIdleWorkerThreadTimeout_sec() = 0;
    virtual int GetMaxExecuting() = 0;
    virtual int GetMaxQueued() = 0;
    virtual int GetMaxQueuedTime_sec() = 0;
    virtual int GetMinWorkers() = 0;
    virtual QString GetName() = 0;
    virtual int GetNumCores() = 0;
    virtual int64_t GetUniqueID() = 0;
    virtual int GetWaitOnTerminate_sec() = 0;
    virtual void SetAsy_OnUnhandledWorkerException(const TWeftUnhandledWorkerException& handler) = 0;
    virtual void SetIdleWorkerThreadTimeout_sec(int value) = 0;
    // -1: unlimited.
    virtual void SetMaxExecuting(int value) = 0;
    virtual void SetMaxQueued(int value) = 0;
    virtual void SetMaxQueuedTime_sec(int value) = 0;
    virtual void SetMinWorkers(int value) = 0;
    virtual void SetName(const QString& value) = 0;
    virtual void SetWaitOnTerminate_sec(int value) = 0;
    // False only when the worker had to be abandoned; true when no running
    // task has that id or the task has stopped already.
    virtual bool Cancel(int64_t taskID) = 0;
    virtual bool Cancel(int64_t taskID, bool signalCancellationToken) = 0;
    virtual void CancelAll() = 0;
    virtual void CancelAll(bool signalCancellationToken) = 0;
    virtual int CountExecuting() = 0;
    virtual int CountQueued() = 0;
    // Live worker threads (idle, running, stopping; not abandoned ones).
    virtual int CountWorkers() = 0;
    virtual bool IsIdle() = 0;
    virtual TWeftThreadPoolOptions GetOptions() = 0;
    virtual void SetOptions(TWeftThreadPoolOptions value) = 0;
    virtual void MonitorWith(const std::shared_ptr<class IWeftThreadPoolMonitor>& monitor) = 0;
    virtual void RemoveMonitor() = 0;
    // Raises "TOTPWorker.SetMonitor: Task can be only monitored with a
    // single monitor" for a second window.
    virtual void SetMonitor(HWND hWindow) = 0;
    virtual void SetThreadDataFactory(const TOTPThreadDataFactory& factory) = 0;
    // Processor restrictions (empty: none); a rebuild that fails raises
    // here and leaves the previous placement in force.
    virtual void SetAffinity(const TWeftIntegerSet& value) = 0;
    virtual void SetNUMANodes(const TWeftIntegerSet& value) = 0;
    virtual void SetProcessorGroups(const TWeftIntegerSet& value) = 0;

    int IdleWorkerThreadTimeout_sec() { return GetIdleWorkerThreadTimeout_sec(); }
    int MaxExecuting() { return GetMaxExecuting(); }
    int MaxQueued() { return GetMaxQueued(); }
    int MinWorkers() { return GetMinWorkers(); }
    QString Name() { return GetName(); }
    int NumCores() { return GetNumCores(); }
    int64_t UniqueID() { return GetUniqueID(); }
};

// A new pool (reported to the pool-notification hooks). The environment
// gives the processor clusters (the process's by default).
PWeftThreadPool CreateThreadPool(const QString& threadPoolName, PWeftEnvironment environment = nullptr);
// The process-wide pool "GlobalWeftThreadPool", made once on first use.
PWeftThreadPool GlobalWeftThreadPool();

// For tests: when set, called by a worker of the pool with this id whose
// item ended and that is about to take the next handed-over item without
// the pool's lock, so that a test can change the pool just before it does.
extern std::atomic<void (*)(int64_t poolID)> WeftPoolTakeAloneProbe;
