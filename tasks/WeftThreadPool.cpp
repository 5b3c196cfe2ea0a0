#include "tasks/WeftThreadPool.h"

#include "platform/os/BlockRecycler.h"
#include "platform/rtl/DateUtils.h"
#include "tasks/WeftEventMonitor.h"
#include "tasks/OsWin32.h"
#include "tasks/WeftHandOver.h"
#include "tasks/WeftHooks.h"
#include "tasks/WeftInit.h"
#include "tasks/WeftOwnerCall.h"
#include "tasks/WeftPoolScheduler.h"
#include "tasks/WeftSpinMutex.h"

#include <QDateTime>
#include <algorithm>
#include <array>
#include <ctime>
#include <sched.h>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// How the pool hands out work.
// - Items that may run at once (within MaxExecuting) go to one shared ready
//   line that every worker takes from; items beyond the limit wait in the
//   queue and move up as running items complete.
// - A scheduling thread hands its item over through a queue of its own
//   (one per thread and pool: no lock, no shared counter per item). When
//   some worker is awake to look (watching, just woken, or about to look
//   again), or as many items run as may (the end of one brings the next
//   in), the scheduling thread is done; otherwise it takes the lock and
//   brings the item in itself. Every section under the lock brings handed
//   over items in at its start and end as far as the limit allows (the rest
//   wait where they are, in order), and a worker stops being counted as
//   awake, or a running item as running, only under the lock, so nothing
//   is left unnoticed. Pools with queue limits bring their items in at once.
// - A worker whose item ended takes the next handed-over item without the
//   lock when nothing else waits to run (the two swap places in the count).
// - A worker that finds the line empty watches it for a few microseconds
//   (only a few workers do so at a time) and then sleeps on its own event.
//   A sleeper is woken only when the line holds more items than there are
//   awake workers to take them, the most recently idled first. So a busy
//   producer with quick tasks keeps one or two workers going without a
//   single wake-up call, and long tasks each get a worker at once.

namespace {

class TPoolCore;
class TOTPWorkerThread;
using PWorker = std::shared_ptr<TOTPWorkerThread>;

// The pool's clock: a millisecond tick that costs next to nothing to read
// (a coarse clock, a few milliseconds behind at most), since items are
// stamped on every scheduling.
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
    // A plain callable posted without a task (no task control, id 0).
    TWeftDelegate owiProc;
    int64_t owiUniqueID = 0;
    // Made (under the pool's lock and the worker's item lock) when a cancel
    // takes the running item back: the cancel waits for it, and the pool no
    // longer counts the item.
    THandle owiTakenBack;
    QString Description() const
    {
        return QStringLiteral("%1:%2").arg(owiTaskControl ? owiTaskControl->Name() : QString()).arg(owiUniqueID);
    }
};
using PWorkItem = std::shared_ptr<TOTPWorkItem>;

// An item as a scheduling thread hands it over: a task or a plain callable.
// The work item is made when the pool brings it in.
struct TPosted {
    PWeftTaskControl TaskControl;
    PWeftTaskImpl Task;
    TWeftDelegate Proc;
    int64_t UniqueID = 0;
    int64_t Scheduled_ms = 0;
};

// A scheduling thread's queue into one pool. The pool keeps it; the thread
// gives it up when it ends (or when it feeds too many pools), and the pool
// then hands it, once empty, to the next thread that needs one. A thread
// that comes back to the pool takes its own queue back, also while items
// still wait in it: later items then wait behind them, in order.
struct TPostQueue {
    TWeftHandOver<TPosted> Items;
    // Taken by whoever takes items out (the pool's lock is not enough: a
    // worker whose item ended takes the next one without it).
    TWeftSpinMutex TakeLock;
    std::atomic<bool> Owned{true};
    // The thread that took it last (TOwnPostQueues::Id; under the pool's lock).
    uint64_t Owner = 0;
};
using PPostQueue = std::shared_ptr<TPostQueue>;

// The calling thread's queues, by pool.
class TOwnPostQueues {
public:
    ~TOwnPostQueues()
    {
        tGone = true;
        for (const TEntry& e : FEntries)
            e.Queue->Owned.store(false, std::memory_order_release);
    }
    TPostQueue* Find(int64_t poolID)
    {
        for (const TEntry& e : FEntries)
            if (e.PoolID == poolID)
                return e.Queue.get();
        return nullptr;
    }
    void Add(int64_t poolID, PPostQueue queue)
    {
        // A thread that feeds many pools gives up its oldest queue (taken
        // back in OwnPostQueue when the thread comes back to that pool).
        if (FEntries.size() >= CMaxPools) {
            FEntries.front().Queue->Owned.store(false, std::memory_order_release);
            FEntries.erase(FEntries.begin());
        }
        FEntries.push_back({poolID, std::move(queue)});
    }
    // Tells the thread apart from every other, also from those that ended.
    uint64_t Id() const { return FId; }
    // True once the thread's end has destroyed its queues.
    static thread_local bool tGone;

private:
    static constexpr size_t CMaxPools = 8;
    static inline std::atomic<uint64_t> sLastId{0};
    const uint64_t FId = sLastId.fetch_add(1, std::memory_order_relaxed) + 1;
    struct TEntry {
        int64_t PoolID;
        PPostQueue Queue;
    };
    std::vector<TEntry> FEntries;
};
thread_local bool TOwnPostQueues::tGone = false;
thread_local TOwnPostQueues tOwnPostQueues;

// One pooled thread. The thread holds its own reference, so a worker the
// pool lets go of (or abandons) stays valid until its thread ends.
class TOTPWorkerThread : public std::enable_shared_from_this<TOTPWorkerThread> {
public:
    THandle NewWork = CreateEvent(false, false);
    THandle Finished = CreateEvent(true, false);
    TWeftSpinMutex WorkItemLock;
    PWorkItem WorkItem;  // being executed (under WorkItemLock)
    // Under the pool's lock: awake without an item (counted in the pool's
    // Searching), or asleep in the pool's sleeper list.
    bool Searching = true;
    bool Asleep = false;
    std::atomic<bool> StopRequested{false};
    std::atomic<DWORD> ThreadID{0};
    // The mask this thread last set for an item, valid while the thread's
    // affinity has not been changed otherwise (worker thread only).
    uint64_t AppliedMask = 0;
    uint32_t AppliedChanges = 0;
    int64_t StartIdle_ms = 0;
    int64_t StartStopping_ms = 0;
    // The pool's push count when this worker began to watch (set under the
    // pool's lock, read by the worker).
    uint32_t WatchFrom = 0;
    // Where the worker looks first when it takes the next item alone.
    int NextPostQueue = 0;
    // The pool's hand-over count then.
    uint64_t WatchHandOversFrom = 0;
    std::thread Thread;

    void Start(const std::shared_ptr<TPoolCore>& core, const QString& poolName, const TOTPThreadDataFactory& factory);
    void RequestStop()
    {
        StopRequested = true;
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
    PWorkItem CurrentItem()
    {
        std::lock_guard lock(WorkItemLock);
        return WorkItem;
    }

private:
    void Body(std::weak_ptr<TPoolCore> core, const QString& poolName, const TOTPThreadDataFactory& factory);
    void Execute(TPoolCore& core, const PWorkItem& item, const IInterfacePtr& threadData);
    // Watches the pool's ready line for a few microseconds: true when work
    // (or a stop) came meanwhile.
    bool Watch(TPoolCore& core);
    // Sleeps until the pool hands it out again or stops it.
    void Sleep();
};

class TPoolCore : public std::enable_shared_from_this<TPoolCore> {
public:
    TPoolCore(const QString& name, PWeftEnvironment environment)
        : Name(name), UniqueID(WeftUID.Increment()), Scheduler(std::move(environment))
    {
        MaxExecuting = Environment()->Process()->Affinity()->Count();
        Scheduler.Update(Affinity, ProcessorGroups, NUMANodes);
        NumCores = Scheduler.Count();
        NotePlacement();
    }

    // Under the lock, after the scheduler was rebuilt.
    void NotePlacement()
    {
        const bool alone = Scheduler.Clusters().size() <= 1;
        if (alone) {
            int32_t group;
            uint64_t mask;
            Scheduler.Next(group, mask);
            PlaceGroup.store(group, std::memory_order_relaxed);
            PlaceMask.store(mask, std::memory_order_relaxed);
        }
        PlaceAlone.store(alone, std::memory_order_release);
    }

    // How long a worker that ran out of work watches the ready line before
    // it sleeps, how long of that it keeps its processor (work that follows
    // within microseconds then starts at once even on a busy machine), and
    // how many workers watch at once.
    static constexpr uint64_t CWatch_us = 40;
    static constexpr uint64_t CWatchSpin_us = 15;
    static constexpr int CMaxWatching = 2;

    // Limits and counters (read without the lock).
    std::atomic<int> IdleWorkerThreadTimeout_sec{10};
    std::atomic<int> MaxExecuting{1};
    std::atomic<int> MaxQueued{0};
    std::atomic<int> MaxQueuedTime_sec{0};
    std::atomic<int> MinWorkers{0};
    std::atomic<int> WaitOnTerminate_sec{30};
    std::atomic<int> NumCores{0};
    std::atomic<uint32_t> Options{0};
    // Counters that change with the work, apart from the limits that every
    // scheduling reads.
    alignas(64) std::atomic<int> CountRunning{0};
    std::atomic<int> CountQueued{0};
    // Counts the items put in the ready line; what watching workers look at
    // without the lock. Raised only once the lock is free again, so that a
    // watcher that sees it change does not find the lock still taken.
    alignas(64) std::atomic<uint32_t> ReadyPushes{0};
    // The scheduling threads' queues (never removed while the pool lives):
    // the first PostQueueCount, readable without the lock; the references
    // are kept under the lock.
    static constexpr int CMaxPostQueues = 64;
    alignas(64) std::array<std::atomic<TPostQueue*>, CMaxPostQueues> PostQueueList{};
    std::atomic<int> PostQueueCount{0};
    // Workers awake without an item (changed under the lock only).
    alignas(64) std::atomic<int> Searching{0};

    alignas(64) TWeftSpinMutex Lock;
    QString Name;
    const int64_t UniqueID;
    TOTPWorkerScheduler Scheduler;
    TWeftIntegerSet Affinity, NUMANodes, ProcessorGroups;
    // Live workers (not stopping, not abandoned); the sleepers among them,
    // the most recently idled last; and those told to stop.
    std::vector<PWorker> Workers, Sleepers, Stopping;
    // Items counted as running that no worker has taken yet.
    std::deque<PWorkItem> Ready;
    // Items beyond MaxExecuting, first in first out (handed over items wait
    // in their hand-over queues instead, unless the pool has queue limits).
    std::deque<PWorkItem> Queue;
    std::vector<PPostQueue> PostQueues;
    // Where bringing in handed-over items starts: every queue gets its turn.
    int NextPostQueue = 0;
    // Items counted as running: in the ready line or being executed.
    int Running = 0;
    int Watching = 0;
    // Read without a lock on every completion; changed under MonitorLock.
    std::atomic<HWND> Monitor{0};
    TOTPThreadDataFactory ThreadDataFactory;
    TWeftUnhandledWorkerException OnUnhandledWorkerException;
    std::atomic<bool> Destroying{false};
    // Ready.size(), for the workers' look without the lock.
    std::atomic<int> ReadyCount{0};
    // Set when every item goes to the same processors (one cluster), and
    // where: a worker may then take the next item without the lock.
    std::atomic<bool> PlaceAlone{false};
    std::atomic<int32_t> PlaceGroup{0};
    std::atomic<uint64_t> PlaceMask{0};
    // Sleepers handed out under the lock, woken after it, and items put in
    // the ready line meanwhile, announced after it (TPoolLock).
    std::vector<PWorker> ToWake;
    uint32_t PushesUnderLock = 0;
    // Items the queue limits ended while the inbox was brought in: ended
    // after the lock.
    TEndList PendingEnds;

    // The pool's lock. It brings the inbox in when taken and before it is
    // released; sleepers handed out meanwhile are woken, and items the queue
    // limits removed are ended, once it is released, so that no system call
    // and no task's end runs under the lock.
    class TPoolLock {
    public:
        explicit TPoolLock(TPoolCore& core) : FCore(core), FLock(core.Lock) { FCore.BringIn(); }
        ~TPoolLock()
        {
            // Whatever changed under the lock is seen by a scheduling
            // thread that hands over after this; what it handed over before
            // is seen here.
            std::atomic_thread_fence(std::memory_order_seq_cst);
            FCore.BringIn();
            const uint32_t pushed = FCore.PushesUnderLock;
            FCore.PushesUnderLock = 0;
            if (FCore.ToWake.empty() && FCore.PendingEnds.empty()) {
                FLock.unlock();
                if (pushed)
                    FCore.ReadyPushes.fetch_add(pushed, std::memory_order_release);
                return;
            }
            std::vector<PWorker> wake;
            wake.swap(FCore.ToWake);
            TEndList ends;
            ends.swap(FCore.PendingEnds);
            FLock.unlock();
            if (pushed)
                FCore.ReadyPushes.fetch_add(pushed, std::memory_order_release);
            for (const PWorker& w : wake)
                SetEvent(w->NewWork);
            FCore.EndCollected(ends);
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
    // Posted callables (id 0) have no task to report.
    void NotifyCompleted(int64_t taskID)
    {
        const HWND wnd = Monitor.load();
        if (!wnd || taskID == 0)
            return;
        auto* info = new TWeftThreadPoolMonitorInfo(UniqueID, taskID);
        if (!PostMessage(wnd, CWeftPoolMsg, 0, LPARAM(info)))
            delete info;
    }
    std::mutex MonitorLock;

    // --- Bookkeeping (under Lock) -----------------------------------------------------

    // Without the lock: as many items run as may. A new item could only
    // wait in the queue, and the end of a running one brings it in: a busy
    // pool takes items without its lock, and its workers without waking.
    bool AllSlotsTaken() const
    {
        const int max = MaxExecuting.load();
        return max >= 0 && CountRunning.load() >= max;
    }

    bool CanRunMore() const
    {
        const int max = MaxExecuting.load();
        return max < 0 || Running < max;
    }

    void SetRunning(int value)
    {
        Running = value;
        CountRunning = value;
    }

    // A new worker starts awake and takes from the ready line at once.
    PWorker CreateWorker()
    {
        auto w = std::make_shared<TOTPWorkerThread>();
        w->Start(shared_from_this(), Name, ThreadDataFactory);
        Workers.push_back(w);
        ++Searching;
        return w;
    }

    // Counts the item as running and puts it in the ready line.
    void PushReady(const PWorkItem& item)
    {
        SetRunning(Running + 1);
        item->owiStarted_ms = PoolTick_ms();
        Scheduler.Next(item->owiGroup, item->owiAffinityMask);
        Ready.push_back(item);
        ReadyCount.store(int(Ready.size()), std::memory_order_relaxed);
        ++PushesUnderLock;
    }

    PWorkItem PopReady()
    {
        PWorkItem item = std::move(Ready.front());
        Ready.pop_front();
        ReadyCount.store(int(Ready.size()), std::memory_order_relaxed);
        return item;
    }

    // Enough awake workers for the ready line: the most recently idled
    // sleepers first, new workers when none sleeps.
    void Dispatch()
    {
        if (Destroying)
            return;
        while (int(Ready.size()) > Searching.load()) {
            if (Sleepers.empty()) {
                CreateWorker();
                continue;
            }
            PWorker w = std::move(Sleepers.back());
            Sleepers.pop_back();
            w->Asleep = false;
            w->Searching = true;
            ++Searching;
            ToWake.push_back(std::move(w));
        }
    }

    void EnqueueWaiting(const PWorkItem& item, TEndList& toEnd)
    {
        Queue.push_back(item);
        CountQueued = int(Queue.size());
        if (MaxQueued.load() > 0 && int(Queue.size()) >= MaxQueued.load())
            PruneQueue(toEnd);
    }

    static PWorkItem MakeItem(TPosted&& posted)
    {
        auto item = std::allocate_shared<TOTPWorkItem>(TRecyclingAllocator<TOTPWorkItem>());
        item->owiTaskControl = std::move(posted.TaskControl);
        item->owiTask = std::move(posted.Task);
        item->owiProc = std::move(posted.Proc);
        item->owiUniqueID = posted.UniqueID;
        item->owiScheduled_ms = posted.Scheduled_ms;
        return item;
    }

    // The oldest item of the next hand-over queue that has one, or null;
    // start: where to begin looking (moved on past the queue taken from).
    // Under that queue's take lock, once an item is seen there: may() says
    // whether to take it (false: nothing is taken), and taken() is told when
    // it is. What its thread did before handing the item over is seen by
    // may(); what a taker did under the same lock before is seen too.
    template <class May, class Taken>
    PWorkItem TakeHandedOver(int& start, May may, Taken taken)
    {
        const int count = PostQueueCount.load(std::memory_order_acquire);
        for (int i = 0; i < count; ++i) {
            const int at = (start + i) % count;
            TPostQueue* q = PostQueueList[size_t(at)].load(std::memory_order_acquire);
            if (q->Items.Size() == 0)
                continue;
            TPosted posted;
            {
                std::lock_guard lock(q->TakeLock);
                if (q->Items.Size() == 0)
                    continue;
                if (!may())
                    return nullptr;
                if (!q->Items.Take(posted))
                    continue;
                taken();
            }
            start = (at + 1) % count;
            return MakeItem(std::move(posted));
        }
        return nullptr;
    }
    // Under the lock.
    PWorkItem TakeHandedOver()
    {
        return TakeHandedOver(NextPostQueue, [] { return true; }, [] {});
    }

    // The sum of what count reads from each hand-over queue.
    template <class Count>
    uint64_t OverPostQueues(Count count) const
    {
        uint64_t n = 0;
        const int queues = PostQueueCount.load(std::memory_order_acquire);
        for (int i = 0; i < queues; ++i)
            n += uint64_t(count(PostQueueList[size_t(i)].load(std::memory_order_acquire)->Items));
        return n;
    }
    // Items handed over and not yet brought in.
    int64_t HandedOver() const
    {
        return int64_t(OverPostQueues([](const TWeftHandOver<TPosted>& q) { return q.Size(); }));
    }
    // Counts every hand-over; what watching workers look at.
    uint64_t HandOvers() const
    {
        return OverPostQueues([](const TWeftHandOver<TPosted>& q) { return q.Pushed(); });
    }

    // Under the lock: waiting items join the ready line as far as the limit
    // allows, the queue's first; handed-over items beyond it wait where they
    // are, except in a pool with queue limits, whose queue takes them.
    void BringIn()
    {
        if (Destroying)
            return;
        while (CanRunMore()) {
            PWorkItem item;
            if (!Queue.empty()) {
                item = std::move(Queue.front());
                Queue.pop_front();
                CountQueued = int(Queue.size());
            } else {
                item = TakeHandedOver();
            }
            if (!item)
                break;
            PushReady(item);
        }
        if (MaxQueued.load() > 0 || MaxQueuedTime_sec.load() > 0) {
            // Counted as waiting before the hand-over queue is let go: a
            // worker that would take that thread's next item alone then
            // sees that an earlier one waits (TakeNextAlone).
            const auto counted = [this] { CountQueued.store(int(Queue.size()) + 1); };
            while (const PWorkItem item = TakeHandedOver(NextPostQueue, [] { return true; }, counted))
                EnqueueWaiting(item, PendingEnds);
        }
        Dispatch();
    }

    // Waiting items move up as far as the limit allows; MinWorkers are kept.
    void IdleQueueCheck()
    {
        if (Destroying)
            return;
        BringIn();
        while (int(Workers.size()) < MinWorkers.load())
            CreateWorker();
    }

    QString ActiveEntries()
    {
        QString text;
        int i = 1;
        for (const PWorker& w : Workers)
            if (const PWorkItem item = w->CurrentItem())
                text += QStringLiteral("[%1] %2 / %3 %4")
                            .arg(i++)
                            .arg(TickText(item->owiScheduled_ms), TickText(item->owiStarted_ms), item->Description());
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

    // Takes the worker out of the live lists (it stays in Stopping until
    // its thread has ended); its item, if any, is stopped.
    void StopWorker(const PWorker& w, bool signalCancellationToken)
    {
        Forget(w);
        Stopping.push_back(w);
        w->StartStopping_ms = PoolTick_ms();
        // Told first: a worker that takes its next item alone does so only
        // when not told to stop, and then this sees that item.
        w->RequestStop();
        if (const PWorkItem item = w->CurrentItem())
            StopTask(item, signalCancellationToken, /*started*/ true);
    }

    void Forget(const PWorker& w)
    {
        if (const auto it = std::find(Workers.begin(), Workers.end(), w); it != Workers.end())
            Workers.erase(it);
        if (w->Asleep) {
            Sleepers.erase(std::find(Sleepers.begin(), Sleepers.end(), w));
            w->Asleep = false;
        }
        if (w->Searching) {
            w->Searching = false;
            --Searching;
        }
    }

    // A task that has not started never runs its work: asked to end, it
    // ends at once.
    static void StopTask(const PWorkItem& item, bool signalCancellationToken, bool started)
    {
        if (!item->owiTask)
            return;
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

    // --- Worker side (worker thread) ----------------------------------------------------

    // What a worker does next: run the item it was given, watch the ready
    // line, sleep until handed out again, or leave.
    enum TNext { nRun, nWatch, nSleep, nStop };

    // A worker that has started, woken, or ended its item.
    TNext Begin(const PWorker& w, PWorkItem& next)
    {
        TPoolLock lock(*this);
        if (w->Asleep && !w->StopRequested.load())
            return nSleep;  // not handed out (a stray signal)
        return NextStep(w, next, /*mayWatch*/ true);
    }
    TNext Completed(const PWorker& w, PWorkItem& item)
    {
        // Freed after the lock: the last reference to a task may go with it.
        const PWorkItem done = std::move(item);
        NotifyCompleted(done->owiUniqueID);
        if (TakeNextAlone(w, *done, item))
            return nRun;
        TPoolLock lock(*this);
        {
            std::lock_guard wl(w->WorkItemLock);
            w->WorkItem.reset();
        }
        if (done->owiTakenBack)
            SetEvent(done->owiTakenBack);  // a cancel counted it off already
        else if (!w->StopRequested.load())
            SetRunning(Running - 1);
        if (w->StopRequested.load() || Destroying)
            return nStop;
        if (!CanRunMore()) {
            // Fewer may run now than do: this worker goes.
            StopWorker(w, false);
            return nStop;
        }
        // Searching before the check, so that waiting work comes to this
        // worker rather than to a new one.
        w->Searching = true;
        ++Searching;
        IdleQueueCheck();
        return NextStep(w, item, /*mayWatch*/ true);
    }
    // Nothing waits in the pool's own queue, and nothing is put there:
    // handed-over items may start straight from their hand-over queues.
    bool NothingQueued() const
    {
        return CountQueued.load() == 0 && MaxQueued.load() <= 0 && MaxQueuedTime_sec.load() <= 0;
    }

    // A worker whose item ended takes the next handed-over item without the
    // pool's lock while nothing else waits to run: the two items swap places
    // in the running count, so there is nothing to book. Under the worker's
    // item lock, which a cancel or a stop takes to look at its item.
    bool TakeNextAlone(const PWorker& w, const TOTPWorkItem& done, PWorkItem& next)
    {
        if (!PlaceAlone.load(std::memory_order_acquire) || Destroying.load() || ReadyCount.load() > 0 ||
            !NothingQueued())
            return false;
        const int max = MaxExecuting.load();
        if (max >= 0 && CountRunning.load() > max)
            return false;  // fewer may run now: the locked way lets one go
        if (const auto probe = WeftPoolTakeAloneProbe.load(std::memory_order_relaxed))
            probe(UniqueID);
        std::lock_guard lock(w->WorkItemLock);
        if (done.owiTakenBack || w->StopRequested.load())
            return false;
        // Asked again where the item is taken: an earlier item of the same
        // thread may have gone to the pool's queue meanwhile (a queue limit
        // set, or the thread scheduling under the lock), and must start first.
        PWorkItem taken = TakeHandedOver(w->NextPostQueue, [this] { return NothingQueued(); }, [] {});
        if (!taken)
            return false;
        taken->owiStarted_ms = PoolTick_ms();
        taken->owiGroup = PlaceGroup.load(std::memory_order_relaxed);
        taken->owiAffinityMask = PlaceMask.load(std::memory_order_relaxed);
        w->WorkItem = taken;
        next = std::move(taken);
        return true;
    }

    // A worker that saw work appear but lost it to another watches on; one
    // that saw nothing in its time sleeps.
    TNext Watched(const PWorker& w, PWorkItem& next, bool sawWork)
    {
        TPoolLock lock(*this);
        --Watching;
        return NextStep(w, next, /*mayWatch*/ sawWork);
    }

    // Under the lock, for a searching worker: the next ready item; else
    // watching when few others do; else asleep in the sleeper list.
    TNext NextStep(const PWorker& w, PWorkItem& next, bool mayWatch)
    {
        if (w->StopRequested.load())
            return nStop;
        if (!Ready.empty()) {
            w->Searching = false;
            --Searching;
            next = PopReady();
            std::lock_guard lock(w->WorkItemLock);
            w->WorkItem = next;
            return nRun;
        }
        if (mayWatch && Watching < CMaxWatching) {
            ++Watching;
            // Pushes after this lock are announced after it, so the watcher
            // cannot miss them.
            w->WatchFrom = ReadyPushes.load(std::memory_order_relaxed) + PushesUnderLock;
            w->WatchHandOversFrom = HandOvers();
            return nWatch;
        }
        w->Searching = false;
        --Searching;
        w->Asleep = true;
        w->StartIdle_ms = PoolTick_ms();
        Sleepers.push_back(w);
        return nSleep;
    }

    void ReportUnhandled(DWORD threadID, const std::exception_ptr& e)
    {
        TWeftUnhandledWorkerException handler;
        {
            std::lock_guard lock(Lock);
            handler = OnUnhandledWorkerException;
        }
        if (handler)
            handler(threadID, e);
    }

    // The worker leaves after an exception escaped its loop: it must not be
    // counted or handed work any more.
    void Lost(const PWorker& w)
    {
        TPoolLock lock(*this);
        if (const PWorkItem item = w->CurrentItem(); item && !item->owiTakenBack && !w->StopRequested.load())
            SetRunning(Running - 1);
        Forget(w);
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
        TPosted posted;
        posted.TaskControl = task;
        posted.Task = taskSide;
        posted.UniqueID = task->UniqueID();
        Enqueue(std::move(posted));
    }

    void Post(TWeftDelegate work)
    {
        TPosted posted;
        posted.Proc = std::move(work);
        Enqueue(std::move(posted));
    }

    void Enqueue(TPosted&& posted)
    {
        posted.Scheduled_ms = PoolTick_ms();
        if (MaxQueued.load() <= 0 && MaxQueuedTime_sec.load() <= 0)
            if (TPostQueue* q = OwnPostQueue()) {
                q->Items.Push(std::move(posted));
                // Handed over first, looked after: a worker that stops
                // looking meanwhile, or a running item that ends meanwhile,
                // brings it in itself (both change under the lock, which
                // brings items in before it is released).
                std::atomic_thread_fence(std::memory_order_seq_cst);
                if (Searching.load(std::memory_order_relaxed) > 0 || AllSlotsTaken())
                    return;
                TPoolLock lock(*this);  // brings it in
                return;
            }
        const PWorkItem item = MakeItem(std::move(posted));
        TEndList toEnd;
        {
            TPoolLock lock(*this);
            if (CanRunMore()) {
                PushReady(item);
                Dispatch();
            } else {
                EnqueueWaiting(item, toEnd);
            }
            PruneQueue(toEnd);
        }
        EndCollected(toEnd);
    }

    // The calling thread's hand-over queue into this pool, made on its first
    // use; null when the pool has no room for another (the thread then
    // schedules under the lock).
    TPostQueue* OwnPostQueue()
    {
        if (TOwnPostQueues::tGone)
            return nullptr;
        if (TPostQueue* q = tOwnPostQueues.Find(UniqueID))
            return q;
        const uint64_t me = tOwnPostQueues.Id();
        PPostQueue queue;
        {
            std::lock_guard lock(Lock);
            // The thread's own queue that it gave up first (its items wait
            // there, and what it hands over now must wait behind them), else
            // an empty one that no thread owns.
            for (const PPostQueue& q : PostQueues)
                if (!q->Owned.load(std::memory_order_acquire)) {
                    if (q->Owner == me) {
                        queue = q;
                        break;
                    }
                    if (!queue && q->Items.Size() == 0)
                        queue = q;
                }
            if (queue) {
                queue->Owned.store(true, std::memory_order_relaxed);
                queue->Owner = me;
            } else {
                if (int(PostQueues.size()) >= CMaxPostQueues)
                    return nullptr;
                queue = std::make_shared<TPostQueue>();
                queue->Owner = me;
                PostQueues.push_back(queue);
                PostQueueList[PostQueues.size() - 1].store(queue.get(), std::memory_order_relaxed);
                PostQueueCount.store(int(PostQueues.size()), std::memory_order_release);
            }
        }
        tOwnPostQueues.Add(UniqueID, queue);
        return queue.get();
    }

    bool Cancel(int64_t taskID, bool signalCancellationToken)
    {
        PWorker w;
        PWorkItem item;
        {
            TPoolLock lock(*this);
            // Not taken by a worker yet: it ends here and now.
            for (auto it = Ready.begin(); it != Ready.end(); ++it)
                if ((*it)->owiTaskControl && (*it)->owiUniqueID == taskID) {
                    item = *it;
                    Ready.erase(it);
                    ReadyCount.store(int(Ready.size()), std::memory_order_relaxed);
                    SetRunning(Running - 1);
                    IdleQueueCheck();
                    break;
                }
            if (!item)
                for (const PWorker& r : Workers)
                    if ((item = TakeBack(r, taskID))) {
                        w = r;
                        SetRunning(Running - 1);
                        break;
                    }
            if (!item)
                return true;  // not running (any more)
        }
        StopTask(item, signalCancellationToken, /*started*/ w != nullptr);
        if (!w) {
            NotifyCompleted(item->owiUniqueID);
            return true;
        }
        // A task that stopped already is back at once; a running one is
        // waited for, serving its synchronous calls meanwhile. The worker
        // then goes on by itself.
        const DWORD wait = DWORD(std::max(0, WaitOnTerminate_sec.load())) * 1000;
        if (WeftOwnerWait(item->owiTakenBack, wait) == WAIT_OBJECT_0) {
            TPoolLock lock(*this);
            IdleQueueCheck();
            return true;
        }
        {
            TPoolLock lock(*this);
            Forget(w);
            w->RequestStop();
            IdleQueueCheck();
        }
        Abandon(w, item);
        return false;
    }

    // Under the lock: the worker's item when it is that task's, marked as
    // taken back (under the worker's item lock, so that the worker cannot
    // swap it for the next meanwhile).
    static PWorkItem TakeBack(const PWorker& w, int64_t taskID)
    {
        std::lock_guard lock(w->WorkItemLock);
        const PWorkItem& current = w->WorkItem;
        if (!current || !current->owiTaskControl || current->owiUniqueID != taskID || current->owiTakenBack)
            return nullptr;
        current->owiTakenBack = CreateEvent(true, false);
        return current;
    }

    // The worker's task did not stop: its thread is left to end by itself.
    void Abandon(const PWorker& w, const PWorkItem& item)
    {
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
        std::vector<PWorkItem> queued, ready;
        std::vector<PWorker> stopping;
        {
            TPoolLock lock(*this);
            if (destroying)
                Destroying = true;
            queued.assign(Queue.begin(), Queue.end());
            Queue.clear();
            CountQueued = 0;
            while (PWorkItem item = TakeHandedOver())
                queued.push_back(std::move(item));
            ready.assign(Ready.begin(), Ready.end());
            Ready.clear();
            ReadyCount.store(0, std::memory_order_relaxed);
            for (const PWorker& w : std::vector<PWorker>(Workers))
                StopWorker(w, signalCancellationToken);
            SetRunning(0);
            stopping.swap(Stopping);
        }
        for (const PWorkItem& item : queued)
            EndTask(item, CWeftExitCancelled, QStringLiteral("Cancelled"));
        for (const PWorkItem& item : ready) {
            StopTask(item, signalCancellationToken, /*started*/ false);
            NotifyCompleted(item->owiUniqueID);
        }
        const int64_t deadline = PoolTick_ms() + int64_t(std::max(0, WaitOnTerminate_sec.load())) * 1000;
        for (const PWorker& w : stopping) {
            const int64_t left = deadline - PoolTick_ms();
            WeftOwnerWait(w->Finished, left > 0 ? DWORD(left) : 0);
        }
        for (const PWorker& w : stopping) {
            if (w->HasEnded())
                w->Release();
            else
                Abandon(w, w->CurrentItem());
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
                // Oldest sleepers first; never below MinWorkers.
                for (size_t i = 0; i < Sleepers.size() && int(Sleepers.size()) > MinWorkers.load();) {
                    const PWorker w = Sleepers[i];
                    if (now - w->StartIdle_ms > int64_t(timeout) * 1000)
                        StopWorker(w, false);
                    else
                        ++i;
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
            Abandon(w, w->CurrentItem());
    }

    int CountWorkers()
    {
        std::lock_guard lock(Lock);
        return int(Workers.size() + Stopping.size());
    }
};

void TOTPWorkerThread::Start(const std::shared_ptr<TPoolCore>& core, const QString& poolName,
                             const TOTPThreadDataFactory& factory)
{
    std::weak_ptr<TPoolCore> weak = core;
    Thread = std::thread([self = shared_from_this(), weak, poolName, factory] { self->Body(weak, poolName, factory); });
}

// After its first microseconds the watcher yields its processor between
// looks: on a busy machine the thread that feeds the pool (or a worker) may
// be waiting for one.
bool TOTPWorkerThread::Watch(TPoolCore& core)
{
    const uint64_t start = OsMonotonicUs();
    const uint64_t yieldFrom = start + TPoolCore::CWatchSpin_us, until = start + TPoolCore::CWatch_us;
    for (int i = 1; core.ReadyPushes.load(std::memory_order_acquire) == WatchFrom &&
                    core.HandOvers() == WatchHandOversFrom && !StopRequested.load();
         ++i) {
        CpuRelax();
        if (i % 64 == 0) {
            const uint64_t now = OsMonotonicUs();
            if (now >= until)
                return false;
            if (now >= yieldFrom)
                ::sched_yield();
        }
    }
    return true;
}

void TOTPWorkerThread::Sleep()
{
    if (WaitForSingleObject(NewWork, 100) != WAIT_OBJECT_0) {
        SetThreadName(QStringLiteral("Idle thread worker"));
        WaitForSingleObject(NewWork, INFINITE);
    }
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
    const PWorker self = shared_from_this();
    try {
        // The thread keeps the pool's core while it runs: destroying the
        // pool stops it (or abandons it, which the core then outlives).
        if (const std::shared_ptr<TPoolCore> core = weakCore.lock()) {
            PWorkItem item;
            for (TPoolCore::TNext step = core->Begin(self, item); step != TPoolCore::nStop;) {
                switch (step) {
                case TPoolCore::nRun:
                    Execute(*core, item, threadData);
                    step = core->Completed(self, item);
                    break;
                case TPoolCore::nWatch:
                    step = core->Watched(self, item, Watch(*core));
                    break;
                default:
                    Sleep();
                    step = core->Begin(self, item);
                    break;
                }
            }
        }
    } catch (...) {
        std::exception_ptr e = std::current_exception();
        if (auto core = weakCore.lock()) {
            core->Lost(self);
            core->ReportUnhandled(ThreadID.load(), e);
        }
    }
    threadData.reset();
    if (auto core = weakCore.lock())
        core->Notify(tpoDestroyThread, ThreadID.load());
    SendThreadNotifications(tntDestroy, roleName);
    SetEvent(Finished);
}

void TOTPWorkerThread::Execute(TPoolCore& core, const PWorkItem& item, const IInterfacePtr& threadData)
{
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
    } else if (item->owiProc) {
        // A posted callable has no task to keep its exception: the pool's
        // handler hears of it, and the worker goes on.
        try {
            item->owiProc();
        } catch (...) {
            core.ReportUnhandled(ThreadID.load(), std::current_exception());
        }
    }
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
    void Post(TWeftDelegate work) override { FCore->Post(std::move(work)); }

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
    // Items still in the hand-over queues wait as well.
    int CountQueued() override { return FCore->CountQueued + int(FCore->HandedOver()); }
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
        FCore->NotePlacement();
    }

    std::shared_ptr<TPoolCore> FCore;
    THandle FStop = CreateEvent(true, false);
    std::thread FMaintenance;
};

}  // namespace

std::atomic<void (*)(int64_t poolID)> WeftPoolTakeAloneProbe{nullptr};

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
