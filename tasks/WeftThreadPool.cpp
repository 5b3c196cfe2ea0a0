#include "tasks/WeftThreadPool.h"

#include "platform/os/BlockRecycler.h"
#include "platform/rtl/DateUtils.h"
#include "tasks/WeftEventMonitor.h"
#include "tasks/OsWin32.h"
#include "tasks/WeftHooks.h"
#include "tasks/WeftInit.h"
#include "tasks/WeftOwnerCall.h"
#include "tasks/WeftPoolScheduler.h"
#include "tasks/WeftSpinMutex.h"

#include <QDateTime>
#include <algorithm>
#include <ctime>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class TPoolCore;
class TOTPWorkerThread;
using PWorker = std::shared_ptr<TOTPWorkerThread>;

// The pool's clock: a millisecond tick that costs next to nothing to read
// (a coarse clock, a few milliseconds behind at most), since items are
// stamped on every scheduling and start.
int64_t PoolTick_ms()
{
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

QString TimeText(TDateTime t)
{
    return FormatDateTime(QStringLiteral("hh:nn:ss"), t);
}

// Items keep tick stamps (a wall-clock read costs more than running an
// empty task); they become wall-clock times only for messages. 0: never.
QString TickText(int64_t ticks_ms)
{
    if (ticks_ms == 0)
        return TimeText(0);
    return TimeText(Now() - double(PoolTick_ms() - ticks_ms) / MSecsPerDay);
}

struct TOTPWorkItem;
struct TEnd {
    std::shared_ptr<TOTPWorkItem> Item;
    int32_t ExitCode;
    QString Message;
};
using TEndList = std::vector<TEnd>;

struct TOTPWorkItem {
    // The group and processors to run on (mask 0: anywhere).
    int32_t owiGroup = 0;
    uint64_t owiAffinityMask = 0;
    int64_t owiScheduled_ms = PoolTick_ms();
    int64_t owiStarted_ms = 0;
    PWeftTaskControl owiTaskControl;
    PWeftTaskImpl owiTask;
    int64_t owiUniqueID = 0;
    QString Description() const
    {
        return QStringLiteral("%1:%2").arg(owiTaskControl ? owiTaskControl->Name() : QString()).arg(owiUniqueID);
    }
};
using PWorkItem = std::shared_ptr<TOTPWorkItem>;

// One pooled thread. The thread holds its own reference, so a worker the
// pool lets go of (or abandons) stays valid until its thread ends.
class TOTPWorkerThread : public std::enable_shared_from_this<TOTPWorkerThread> {
public:
    THandle NewWork = CreateEvent(false, false);
    THandle ItemDone = CreateEvent(true, true);
    THandle Finished = CreateEvent(true, false);
    // What a hand-over touches shares one cache line.
    alignas(64) TWeftSpinMutex WorkItemLock;
    PWorkItem PendingItem;  // handed over, not yet taken (under WorkItemLock)
    // The item the pool gave it last (under the pool's lock): a completion
    // of an item the pool has taken back (cancelled) must not move the
    // worker, which may run the next item by then.
    PWorkItem Assigned;
    // Work (or a stop) was handed over since the thread last looked; it
    // sleeps on NewWork only with Sleeping set and the signal seen clear.
    std::atomic<bool> WorkSignal{false};
    std::atomic<bool> Sleeping{false};
    alignas(64) PWorkItem WorkItem;  // being executed (under WorkItemLock)
    // ItemDone (for a cancel waiting on the item) is set only when an item
    // the pool took back ends; may it be set (under the pool's lock)? The
    // next hand-over then resets it.
    bool ItemDoneMaySet = true;
    std::atomic<bool> StopRequested{false};
    std::atomic<DWORD> ThreadID{0};
    // The mask this thread last set for an item, valid while the thread's
    // affinity has not been changed otherwise (worker thread only).
    uint64_t AppliedMask = 0;
    uint32_t AppliedChanges = 0;
    int64_t StartIdle_ms = 0;
    int64_t StartStopping_ms = 0;
    std::thread Thread;

    void Start(const std::shared_ptr<TPoolCore>& core, const QString& poolName, const TOTPThreadDataFactory& factory);
    // Hands the item over; the pool wakes the thread (Wake) once its own
    // lock is released, so no system call runs under that lock.
    void Give(const PWorkItem& item)
    {
        {
            std::lock_guard lock(WorkItemLock);
            PendingItem = item;
        }
        if (ItemDoneMaySet)
            ResetEvent(ItemDone);
        ItemDoneMaySet = false;
        WorkSignal.store(true);
    }
    // A thread that still spins for work sees the signal without an event.
    void Wake()
    {
        if (Sleeping.load())
            SetEvent(NewWork);
    }
    void RequestStop()
    {
        StopRequested = true;
        WorkSignal.store(true);
        SetEvent(NewWork);
    }
    bool HasEnded() { return WaitForSingleObject(Finished, 0) == WAIT_OBJECT_0; }
    // Frees the thread: joined when it has ended, else left to end alone.
    void Release()
    {
        if (!Thread.joinable())
            return;
        if (HasEnded())
            Thread.join();
        else
            Thread.detach();
    }
    QString Description() const
    {
        return QStringLiteral("%1:%2").arg(quintptr(this), 0, 16).arg(ThreadID.load());
    }

private:
    void AwaitWork();
    void Body(std::weak_ptr<TPoolCore> core, const QString& poolName, const TOTPThreadDataFactory& factory);
    void Execute(const std::shared_ptr<TPoolCore>& core, const PWorkItem& item, const IInterfacePtr& threadData);
};

class TPoolCore : public std::enable_shared_from_this<TPoolCore> {
public:
    TPoolCore(const QString& name, PWeftEnvironment environment)
        : Name(name), UniqueID(WeftUID.Increment()), Scheduler(std::move(environment))
    {
        MaxExecuting = Environment()->Process()->Affinity()->Count();
        Scheduler.Update(Affinity, ProcessorGroups, NUMANodes);
        NumCores = Scheduler.Count();
    }

    // Limits and counters (read without the lock).
    std::atomic<int> IdleWorkerThreadTimeout_sec{10};
    std::atomic<int> MaxExecuting{1};
    std::atomic<int> MaxQueued{0};
    std::atomic<int> MaxQueuedTime_sec{0};
    std::atomic<int> MinWorkers{0};
    std::atomic<int> WaitOnTerminate_sec{30};
    std::atomic<int> NumCores{0};
    std::atomic<int> CountRunning{0};
    std::atomic<int> CountQueued{0};
    std::atomic<uint32_t> Options{0};

    TWeftSpinMutex Lock;
    QString Name;
    const int64_t UniqueID;
    TOTPWorkerScheduler Scheduler;
    TWeftIntegerSet Affinity, NUMANodes, ProcessorGroups;
    std::vector<PWorker> Idle, Running, Stopping;
    std::deque<PWorkItem> Queue;
    // Read without a lock on every completion; changed under MonitorLock.
    std::atomic<HWND> Monitor{0};
    TOTPThreadDataFactory ThreadDataFactory;
    TWeftUnhandledWorkerException OnUnhandledWorkerException;
    bool Destroying = false;
    // Workers given an item under the lock, woken after it (TPoolLock).
    std::vector<PWorker> ToWake;

    // The pool's lock; workers given items meanwhile are woken once it is
    // released.
    class TPoolLock {
    public:
        explicit TPoolLock(TPoolCore& core) : FCore(core), FLock(core.Lock) {}
        ~TPoolLock()
        {
            static thread_local std::vector<PWorker> wake;
            wake.assign(FCore.ToWake.begin(), FCore.ToWake.end());
            FCore.ToWake.clear();
            FLock.unlock();
            for (const PWorker& w : wake)
                w->Wake();
            wake.clear();
        }

    private:
        TPoolCore& FCore;
        std::unique_lock<TWeftSpinMutex> FLock;
    };

    // --- Notices --------------------------------------------------------------------

    void Notify(TThreadPoolOperation op, DWORD threadID)
    {
        const HWND wnd = Monitor.load();
        if (!wnd)
            return;
        auto* info = new TWeftThreadPoolMonitorInfo(UniqueID, op, threadID);
        if (!PostMessage(wnd, CWeftPoolMsg, 0, LPARAM(info)))
            delete info;
    }
    void NotifyCompleted(int64_t taskID)
    {
        const HWND wnd = Monitor.load();
        if (!wnd)
            return;
        auto* info = new TWeftThreadPoolMonitorInfo(UniqueID, taskID);
        if (!PostMessage(wnd, CWeftPoolMsg, 0, LPARAM(info)))
            delete info;
    }
    std::mutex MonitorLock;

    // --- Scheduling (under Lock unless said otherwise) -----------------------------------

    PWorker CreateWorker()
    {
        auto w = std::make_shared<TOTPWorkerThread>();
        w->Start(shared_from_this(), Name, ThreadDataFactory);
        return w;
    }

    bool CanRunMore() const
    {
        const int max = MaxExecuting.load();
        return max < 0 || int(Running.size()) < max;
    }

    void ScheduleNext(const PWorkItem& item, TEndList& toEnd)
    {
        if (CanRunMore()) {
            PWorker w;
            if (!Idle.empty()) {
                // The most recently idled worker that still spins takes it
                // without a wake-up call; else the most recently idled.
                auto pick = Idle.end() - 1;
                for (auto it = Idle.rbegin(); it != Idle.rend() && it - Idle.rbegin() < 4; ++it)
                    if (!(*it)->Sleeping.load(std::memory_order_relaxed)) {
                        pick = std::prev(it.base());
                        break;
                    }
                w = *pick;
                Idle.erase(pick);
            } else {
                w = CreateWorker();
            }
            Running.push_back(w);
            CountRunning = int(Running.size());
            item->owiStarted_ms = PoolTick_ms();
            Scheduler.Next(item->owiGroup, item->owiAffinityMask);
            w->Assigned = item;
            w->Give(item);
            ToWake.push_back(w);
            return;
        }
        Queue.push_back(item);
        CountQueued = int(Queue.size());
        if (MaxQueued.load() > 0 && int(Queue.size()) >= MaxQueued.load())
            PruneQueue(toEnd);
    }

    QString ActiveEntries()
    {
        QString text;
        int i = 1;
        for (const PWorker& w : Running) {
            std::lock_guard lock(w->WorkItemLock);
            const PWorkItem item = w->WorkItem ? w->WorkItem : w->PendingItem;
            if (item)
                text += QStringLiteral("[%1] %2 / %3 %4")
                            .arg(i)
                            .arg(TickText(item->owiScheduled_ms), TickText(item->owiStarted_ms), item->Description());
            ++i;
        }
        return text;
    }

    // Items to end are collected and ended outside the lock.
    void PruneQueue(TEndList& toEnd)
    {
        if (MaxQueued.load() > 0)
            while (int(Queue.size()) > MaxQueued.load()) {
                PWorkItem item = Queue.back();
                Queue.pop_back();
                CountQueued = int(Queue.size());
                toEnd.push_back({item, CWeftExitQueueTooLong,
                                 QStringLiteral("Execution queue is too long (%1 work items)").arg(Queue.size())});
            }
        if (MaxQueuedTime_sec.load() > 0) {
            const int64_t now = PoolTick_ms();
            for (auto it = Queue.begin(); it != Queue.end();) {
                const PWorkItem item = *it;
                if (item->owiScheduled_ms + int64_t(MaxQueuedTime_sec.load()) * 1000 <= now) {
                    it = Queue.erase(it);
                    CountQueued = int(Queue.size());
                    toEnd.push_back(
                        {item, CWeftExitQueuedTooLong,
                         QStringLiteral("Maximum queued time exceeded. Pool = %1, Now = %2, Max executing = %3, "
                                       "Removed entry queue time = %4, Removed entry description = %5. Active "
                                       "entries: %6")
                            .arg(Name, TimeText(Now()))
                            .arg(MaxExecuting.load())
                            .arg(TickText(item->owiScheduled_ms), item->Description(), ActiveEntries())});
                } else {
                    ++it;
                }
            }
        }
    }

    void IdleQueueCheck()
    {
        if (Destroying)
            return;
        TEndList unused;
        while (!Queue.empty() && (!Idle.empty() ? true : CanRunMore()) && CanRunMore()) {
            PWorkItem item = Queue.front();
            Queue.pop_front();
            CountQueued = int(Queue.size());
            ScheduleNext(item, unused);
        }
        while (int(Idle.size() + Running.size()) < MinWorkers.load()) {
            PWorker w = CreateWorker();
            w->StartIdle_ms = PoolTick_ms();
            Idle.push_back(w);
        }
    }

    void StopWorker(const PWorker& w, bool signalCancellationToken)
    {
        Stopping.push_back(w);
        w->StartStopping_ms = PoolTick_ms();
        StopTask(w, signalCancellationToken);
        w->RequestStop();
    }

    static void StopTask(const PWorker& w, bool signalCancellationToken)
    {
        PWorkItem item;
        bool started = true;
        {
            std::lock_guard lock(w->WorkItemLock);
            item = w->WorkItem;
            if (!item) {
                item = w->PendingItem;
                started = false;
            }
        }
        if (!item || !item->owiTask)
            return;
        // A task that has not started must not run its work here.
        if (!started)
            item->owiTask->Enforced(false);
        if (signalCancellationToken)
            if (const PWeftCancellationToken t = item->owiTask->GetCancellationToken())
                t->Signal();
        item->owiTask->Terminate();
    }

    // Outside the lock.
    void EndTask(const PWorkItem& item, int32_t exitCode, const QString& message)
    {
        if (item->owiTask) {
            item->owiTask->Enforced(false);
            item->owiTask->SetExitStatus(exitCode, message);
            item->owiTask->Terminate();
        }
        NotifyCompleted(item->owiUniqueID);
    }

    void EndCollected(TEndList& toEnd)
    {
        for (const TEnd& e : toEnd)
            EndTask(e.Item, e.ExitCode, e.Message);
        toEnd.clear();
    }

    // --- Worker reports (worker thread) -----------------------------------------------

    void Completed(const PWorker& w, const PWorkItem& item)
    {
        NotifyCompleted(item->owiUniqueID);
        TPoolLock lock(*this);
        if (Destroying) {
            SetEvent(w->ItemDone);
            return;
        }
        if (w->Assigned != item) {
            // Taken back by a cancel, which waits for this.
            SetEvent(w->ItemDone);
            w->ItemDoneMaySet = true;
            IdleQueueCheck();
            return;
        }
        w->Assigned.reset();
        const auto it = std::find(Running.begin(), Running.end(), w);
        if (it != Running.end()) {
            Running.erase(it);
            CountRunning = int(Running.size());
            if (CanRunMore()) {
                w->StartIdle_ms = PoolTick_ms();
                Idle.push_back(w);
            } else {
                StopWorker(w, false);
            }
        }
        IdleQueueCheck();
    }

    // --- Public operations ------------------------------------------------------------

    void Schedule(const PWeftTaskControl& task)
    {
        PWeftTaskImpl taskSide;
        if (auto* si = dynamic_cast<IWeftTaskControlSharedInfo*>(task.get()))
            taskSide = si->GetTaskSide();
        Schedule(task, taskSide);
    }

    void Schedule(const PWeftTaskControl& task, const PWeftTaskImpl& taskSide)
    {
        auto item = std::allocate_shared<TOTPWorkItem>(TRecyclingAllocator<TOTPWorkItem>());
        item->owiTaskControl = task;
        item->owiTask = taskSide;
        item->owiUniqueID = task->UniqueID();
        TEndList toEnd;
        {
            TPoolLock lock(*this);
            ScheduleNext(item, toEnd);
            PruneQueue(toEnd);
        }
        EndCollected(toEnd);
    }

    bool Cancel(int64_t taskID, bool signalCancellationToken)
    {
        PWorker w;
        {
            TPoolLock lock(*this);
            for (const PWorker& r : Running) {
                std::lock_guard wl(r->WorkItemLock);
                const PWorkItem item = r->WorkItem ? r->WorkItem : r->PendingItem;
                if (item && item->owiUniqueID == taskID) {
                    w = r;
                    break;
                }
            }
            if (!w)
                return true;  // not running (any more)
            Running.erase(std::find(Running.begin(), Running.end(), w));
            CountRunning = int(Running.size());
            w->Assigned.reset();
            StopTask(w, signalCancellationToken);
        }
        // A task that stopped already is back at once; a running one is
        // waited for, serving its synchronous calls meanwhile.
        const DWORD wait = DWORD(std::max(0, WaitOnTerminate_sec.load())) * 1000;
        if (WeftOwnerWait(w->ItemDone, wait) == WAIT_OBJECT_0) {
            TPoolLock lock(*this);
            if (Destroying) {
                StopWorker(w, false);
            } else {
                Idle.push_back(w);
                IdleQueueCheck();
            }
            return true;
        }
        Abandon(w);
        return false;
    }

    // The worker's task did not stop: its thread is left to end by itself.
    void Abandon(const PWorker& w)
    {
        PWorkItem item;
        {
            std::lock_guard lock(w->WorkItemLock);
            item = std::move(w->WorkItem);
            if (!item)
                item = std::move(w->PendingItem);
            w->WorkItem.reset();
            w->PendingItem.reset();
        }
        w->RequestStop();
        if (item && item->owiTask && !item->owiTask->Stopped()) {
            item->owiTask->SetExitStatus(CWeftExitCancelled, QStringLiteral("Cancelled"));
            NotifyCompleted(item->owiUniqueID);
        }
        w->Release();
        Notify(tpoKillThread, w->ThreadID.load());
    }

    void CancelAll(bool signalCancellationToken, bool destroying)
    {
        std::vector<PWorkItem> queued;
        std::vector<PWorker> stopping;
        {
            TPoolLock lock(*this);
            if (destroying)
                Destroying = true;
            queued.assign(Queue.begin(), Queue.end());
            Queue.clear();
            CountQueued = 0;
            for (const PWorker& w : Idle)
                StopWorker(w, false);
            Idle.clear();
            for (const PWorker& w : Running)
                StopWorker(w, signalCancellationToken);
            Running.clear();
            CountRunning = 0;
            stopping = Stopping;
            Stopping.clear();
        }
        for (const PWorkItem& item : queued)
            EndTask(item, CWeftExitCancelled, QStringLiteral("Cancelled"));
        const int64_t deadline = PoolTick_ms() + int64_t(std::max(0, WaitOnTerminate_sec.load())) * 1000;
        for (const PWorker& w : stopping) {
            const int64_t left = deadline - PoolTick_ms();
            WeftOwnerWait(w->Finished, left > 0 ? DWORD(left) : 0);
        }
        for (const PWorker& w : stopping) {
            if (w->HasEnded())
                w->Release();
            else
                Abandon(w);
        }
    }

    // Maintenance tick.
    void Maintain()
    {
        TEndList toEnd;
        std::vector<PWorker> ended, overdue;
        {
            TPoolLock lock(*this);
            if (Destroying)
                return;
            PruneQueue(toEnd);
            const int64_t now = PoolTick_ms();
            const int timeout = IdleWorkerThreadTimeout_sec.load();
            if (timeout > 0) {
                for (auto it = Idle.begin(); it != Idle.end() && int(Idle.size()) > MinWorkers.load();) {
                    const PWorker w = *it;
                    if (now - w->StartIdle_ms > int64_t(timeout) * 1000) {
                        it = Idle.erase(it);
                        StopWorker(w, false);
                    } else {
                        ++it;
                    }
                }
            }
            for (auto it = Stopping.begin(); it != Stopping.end();) {
                const PWorker w = *it;
                if (w->HasEnded()) {
                    ended.push_back(w);
                    it = Stopping.erase(it);
                } else if (now - w->StartStopping_ms >= int64_t(WaitOnTerminate_sec.load()) * 1000) {
                    overdue.push_back(w);
                    it = Stopping.erase(it);
                } else {
                    ++it;
                }
            }
            IdleQueueCheck();
        }
        EndCollected(toEnd);
        for (const PWorker& w : ended)
            w->Release();
        for (const PWorker& w : overdue)
            Abandon(w);
    }

    int CountWorkers()
    {
        std::lock_guard lock(Lock);
        return int(Idle.size() + Running.size() + Stopping.size());
    }
};

void TOTPWorkerThread::Start(const std::shared_ptr<TPoolCore>& core, const QString& poolName,
                             const TOTPThreadDataFactory& factory)
{
    std::weak_ptr<TPoolCore> weak = core;
    Thread = std::thread([self = shared_from_this(), weak, poolName, factory] { self->Body(weak, poolName, factory); });
}

// Work handed over within a few microseconds of the last item (the usual
// case while a producer keeps a pool busy) is taken up without a sleep and a
// wake-up call; after that the thread blocks on its event.
void TOTPWorkerThread::AwaitWork()
{
    constexpr uint64_t CSpin_us = 20;
    const uint64_t until = OsMonotonicUs() + CSpin_us;
    for (int i = 1; !WorkSignal.load(std::memory_order_acquire); ++i) {
        CpuRelax();
        if (i % 64 == 0 && OsMonotonicUs() >= until) {
            Sleeping.store(true);
            if (!WorkSignal.load()) {
                if (WaitForSingleObject(NewWork, 100) != WAIT_OBJECT_0) {
                    SetThreadName(QStringLiteral("Idle thread worker"));
                    WaitForSingleObject(NewWork, INFINITE);
                }
            }
            Sleeping.store(false);
            break;
        }
    }
    WorkSignal.store(false);
}

void TOTPWorkerThread::Body(std::weak_ptr<TPoolCore> weakCore, const QString& poolName,
                            const TOTPThreadDataFactory& factory)
{
    ThreadID = GetThreadId();
    const QString roleName = QStringLiteral("Weft pool %1 worker").arg(poolName);
    SendThreadNotifications(tntCreate, roleName);
    if (auto core = weakCore.lock())
        core->Notify(tpoCreateThread, ThreadID.load());
    IInterfacePtr threadData;
    try {
        if (factory)
            threadData = factory();
    } catch (...) {
        threadData.reset();
    }
    try {
        for (;;) {
            AwaitWork();
            PWorkItem item;
            {
                std::lock_guard lock(WorkItemLock);
                item = std::move(PendingItem);
                PendingItem.reset();
            }
            if (item) {
                if (auto core = weakCore.lock())
                    Execute(core, item, threadData);
                else
                    SetEvent(ItemDone);
            }
            if (StopRequested.load())
                break;
        }
    } catch (...) {
        std::exception_ptr e = std::current_exception();
        if (auto core = weakCore.lock()) {
            TWeftUnhandledWorkerException handler;
            {
                std::lock_guard lock(core->Lock);
                handler = core->OnUnhandledWorkerException;
            }
            if (handler)
                handler(ThreadID.load(), e);
        }
    }
    threadData.reset();
    if (auto core = weakCore.lock())
        core->Notify(tpoDestroyThread, ThreadID.load());
    SendThreadNotifications(tntDestroy, roleName);
    SetEvent(Finished);
}

void TOTPWorkerThread::Execute(const std::shared_ptr<TPoolCore>& core, const PWorkItem& item,
                               const IInterfacePtr& threadData)
{
    {
        std::lock_guard lock(WorkItemLock);
        WorkItem = item;
    }
    // What the thread environment's SetGroupAffinity does, without making
    // an environment and a processor set for every item, and only when the
    // thread does not run on that mask already.
    if (item->owiGroup == 0 && item->owiAffinityMask != 0 &&
        (item->owiAffinityMask != AppliedMask || OsThreadAffinityChanges() != AppliedChanges)) {
        OsSetThreadAffinityMask(item->owiAffinityMask);
        AppliedMask = item->owiAffinityMask;
        AppliedChanges = OsThreadAffinityChanges();
    }
    if (item->owiTask) {
        item->owiTask->SetThreadData(threadData);
        item->owiTask->Execute();
    }
    PWorkItem taken;
    {
        std::lock_guard lock(WorkItemLock);
        taken = std::move(WorkItem);
        WorkItem.reset();
    }
    // The completion sets ItemDone when a cancel waits for it.
    if (taken)
        core->Completed(shared_from_this(), taken);
    else
        SetEvent(ItemDone);
}

// --- Public object -------------------------------------------------------------------

class TWeftThreadPool final : public IWeftThreadPool,
                              public IWeftThreadPoolScheduler,
                              public std::enable_shared_from_this<TWeftThreadPool> {
public:
    TWeftThreadPool(const QString& name, PWeftEnvironment environment)
        : FCore(std::make_shared<TPoolCore>(name, std::move(environment)))
    {
        FMaintenance = std::thread([core = FCore, stop = FStop] {
            SetThreadName(QStringLiteral("Weft pool manager"));
            while (WaitForSingleObject(stop, 1000) != WAIT_OBJECT_0)
                core->Maintain();
        });
    }

    ~TWeftThreadPool() override
    {
        // Identity only: the pool is being destroyed.
        SendPoolNotifications(pntDestroy, std::shared_ptr<IWeftThreadPool>(std::shared_ptr<void>(), this));
        SetEvent(FStop);
        FMaintenance.join();
        FCore->CancelAll(false, /*destroying*/ true);
    }

    void Schedule(const PWeftTaskControl& task) override { FCore->Schedule(task); }
    void Schedule(const PWeftTaskControl& task, const PWeftTaskImpl& taskSide) override
    {
        FCore->Schedule(task, taskSide);
    }
    IWeftThreadPoolScheduler* Scheduler() override { return this; }

    int GetIdleWorkerThreadTimeout_sec() override { return FCore->IdleWorkerThreadTimeout_sec; }
    int GetMaxExecuting() override { return FCore->MaxExecuting; }
    int GetMaxQueued() override { return FCore->MaxQueued; }
    int GetMaxQueuedTime_sec() override { return FCore->MaxQueuedTime_sec; }
    int GetMinWorkers() override { return FCore->MinWorkers; }
    QString GetName() override
    {
        std::lock_guard lock(FCore->Lock);
        return FCore->Name;
    }
    int GetNumCores() override { return FCore->NumCores; }
    int64_t GetUniqueID() override { return FCore->UniqueID; }
    int GetWaitOnTerminate_sec() override { return FCore->WaitOnTerminate_sec; }
    void SetAsy_OnUnhandledWorkerException(const TWeftUnhandledWorkerException& handler) override
    {
        std::lock_guard lock(FCore->Lock);
        FCore->OnUnhandledWorkerException = handler;
    }
    void SetIdleWorkerThreadTimeout_sec(int value) override { FCore->IdleWorkerThreadTimeout_sec = value; }
    void SetMaxExecuting(int value) override
    {
        FCore->MaxExecuting = value;
        TPoolCore::TPoolLock lock(*FCore);
        FCore->IdleQueueCheck();
    }
    void SetMaxQueued(int value) override
    {
        FCore->MaxQueued = value;
        PruneNow();
    }
    void SetMaxQueuedTime_sec(int value) override
    {
        FCore->MaxQueuedTime_sec = value;
        PruneNow();
    }
    void SetMinWorkers(int value) override
    {
        FCore->MinWorkers = value;
        TPoolCore::TPoolLock lock(*FCore);
        FCore->IdleQueueCheck();
    }
    void SetName(const QString& value) override
    {
        std::lock_guard lock(FCore->Lock);
        FCore->Name = value;
    }
    void SetWaitOnTerminate_sec(int value) override { FCore->WaitOnTerminate_sec = value; }

    bool Cancel(int64_t taskID) override
    {
        return Cancel(taskID, !(FCore->Options.load() & tpoPreventCancellationTokenOnCancel));
    }
    bool Cancel(int64_t taskID, bool signalCancellationToken) override
    {
        return FCore->Cancel(taskID, signalCancellationToken);
    }
    void CancelAll() override { CancelAll(!(FCore->Options.load() & tpoPreventCancellationTokenOnCancel)); }
    void CancelAll(bool signalCancellationToken) override { FCore->CancelAll(signalCancellationToken, false); }
    int CountExecuting() override { return FCore->CountRunning; }
    int CountQueued() override { return FCore->CountQueued; }
    int CountWorkers() override { return FCore->CountWorkers(); }
    bool IsIdle() override { return CountExecuting() == 0 && CountQueued() == 0; }
    TWeftThreadPoolOptions GetOptions() override { return FCore->Options; }
    void SetOptions(TWeftThreadPoolOptions value) override { FCore->Options = value; }

    void MonitorWith(const std::shared_ptr<IWeftThreadPoolMonitor>& monitor) override
    {
        monitor->Monitor(shared_from_this());
    }
    void RemoveMonitor() override
    {
        std::lock_guard lock(FCore->MonitorLock);
        FCore->Monitor = 0;
    }
    void SetMonitor(HWND hWindow) override
    {
        std::lock_guard lock(FCore->MonitorLock);
        if (FCore->Monitor && FCore->Monitor != hWindow)
            throw Exception(QStringLiteral("TOTPWorker.SetMonitor: Task can be only monitored with a single monitor"));
        FCore->Monitor = hWindow;
    }
    void SetThreadDataFactory(const TOTPThreadDataFactory& factory) override
    {
        std::lock_guard lock(FCore->Lock);
        FCore->ThreadDataFactory = factory;
    }

    void SetAffinity(const TWeftIntegerSet& value) override { Restrict(value, FCore->Affinity); }
    void SetNUMANodes(const TWeftIntegerSet& value) override { Restrict(value, FCore->NUMANodes); }
    void SetProcessorGroups(const TWeftIntegerSet& value) override { Restrict(value, FCore->ProcessorGroups); }

private:
    void PruneNow()
    {
        TEndList toEnd;
        {
            std::lock_guard lock(FCore->Lock);
            FCore->PruneQueue(toEnd);
        }
        FCore->EndCollected(toEnd);
    }

    // The scheduler is rebuilt with the new set; when that raises, the
    // caller gets the error and the previous restriction stays.
    void Restrict(const TWeftIntegerSet& value, TWeftIntegerSet& target)
    {
        std::lock_guard lock(FCore->Lock);
        TWeftIntegerSet previous(target);
        target.Assign(value);
        try {
            FCore->Scheduler.Update(FCore->Affinity, FCore->ProcessorGroups, FCore->NUMANodes);
        } catch (...) {
            target.Assign(previous);
            throw;
        }
        FCore->NumCores = FCore->Scheduler.Count();
    }

    std::shared_ptr<TPoolCore> FCore;
    THandle FStop = CreateEvent(true, false);
    std::thread FMaintenance;
};

}  // namespace

PWeftThreadPool CreateThreadPool(const QString& threadPoolName, PWeftEnvironment environment)
{
    auto pool = std::make_shared<TWeftThreadPool>(threadPoolName, std::move(environment));
    SendPoolNotifications(pntCreate, pool);
    return pool;
}

PWeftThreadPool GlobalWeftThreadPool()
{
    // Never destroyed: the pool lives to the very end of the process, and its
    // threads end with it (no static clean-up runs against it).
    static std::once_flag once;
    static PWeftThreadPool& pool = *new PWeftThreadPool();
    std::call_once(once, [] { pool = CreateThreadPool(QStringLiteral("GlobalWeftThreadPool")); });
    return pool;
}
