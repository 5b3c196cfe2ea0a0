#include "tasks/WeftEventMonitor.h"

#include "tasks/OsWin32.h"
#include "tasks/WeftHooks.h"
#include "tasks/WeftInit.h"
#include "tasks/WeftThreadPool.h"

namespace {

// Frees a monitor's window on its own thread when the monitor went away
// on another one.
constexpr UINT CDeallocateMessage = 0x0401;

int64_t IdOf(WPARAM wParam, LPARAM lParam)
{
    return int64_t(uint64_t(uint32_t(wParam)) | (uint64_t(uint32_t(lParam)) << 32));
}

}  // namespace

TWeftEventMonitor::TWeftEventMonitor() : emThreadID(GetThreadId()) {}

std::shared_ptr<TWeftEventMonitor> TWeftEventMonitor::Create()
{
    std::shared_ptr<TWeftEventMonitor> m(new TWeftEventMonitor());
    AttachWindow(m);
    return m;
}

void TWeftEventMonitor::AttachWindow(const std::shared_ptr<TWeftEventMonitor>& monitor)
{
    std::weak_ptr<TWeftEventMonitor> weak = monitor;
    monitor->emMessageWindow = OsAllocateHWnd([weak](TMessage& msg) {
        if (msg.Msg == CDeallocateMessage) {
            OsDeallocateHWnd(HWND(msg.WParam));
            return;
        }
        // Holds the monitor while its handlers run: a handler may let go of
        // the last task and with it the pool's reference.
        if (const std::shared_ptr<TWeftEventMonitor> self = weak.lock())
            self->WndProc(msg);
    });
}

TWeftEventMonitor::~TWeftEventMonitor()
{
    for (auto& [id, task] : emMonitoredTasks)
        task->RemoveMonitor();
    for (auto& [id, pool] : emMonitoredPools)
        pool->RemoveMonitor();
    emMonitoredTasks.clear();
    emMonitoredPools.clear();
    if (GetThreadId() == emThreadID)
        OsDeallocateHWnd(emMessageWindow);
    else
        PostMessage(emMessageWindow, CDeallocateMessage, WPARAM(emMessageWindow), 0);
}

PWeftTaskControl TWeftEventMonitor::Monitor(const PWeftTaskControl& task)
{
    emMonitoredTasks[task->UniqueID()] = task;
    task->SetMonitor(emMessageWindow);
    return task;
}

void TWeftEventMonitor::Detach(const PWeftTaskControl& task)
{
    // Keep it alive through RemoveMonitor even when the map held the last
    // reference.
    const PWeftTaskControl keep = task;
    emMonitoredTasks.erase(task->UniqueID());
    keep->RemoveMonitor();
}

PWeftThreadPool TWeftEventMonitor::Monitor(const PWeftThreadPool& pool)
{
    emMonitoredPools[pool->UniqueID()] = pool;
    pool->SetMonitor(emMessageWindow);
    return pool;
}

void TWeftEventMonitor::Detach(const PWeftThreadPool& pool)
{
    const PWeftThreadPool keep = pool;
    emMonitoredPools.erase(pool->UniqueID());
    keep->RemoveMonitor();
}

void TWeftEventMonitor::ProcessMessages()
{
    if (emMessageWindow)
        ProcessWindowMessages(emMessageWindow);
}

void TWeftEventMonitor::WndProc(TMessage& msg)
{
    try {
        if (msg.Msg == CWeftTaskMsg_NewMessage)
            DrainNewMessages(IdOf(msg.WParam, msg.LParam), msg.WParam, msg.LParam);
        else if (msg.Msg == CWeftTaskMsg_Terminated)
            TaskTerminated(IdOf(msg.WParam, msg.LParam));
        else if (msg.Msg == CWeftPoolMsg)
            PoolNotice(msg.LParam);
        else
            return;
    } catch (...) {
        std::exception_ptr e = std::current_exception();
        FilterException(e);
        if (e)
            std::rethrow_exception(e);
    }
    msg.Result = 0;
}

void TWeftEventMonitor::DrainNewMessages(int64_t taskID, WPARAM wParam, LPARAM lParam)
{
    const auto it = emMonitoredTasks.find(taskID);
    if (it == emMonitoredTasks.end())
        return;
    const PWeftTaskControl task = it->second;
    auto* internals = dynamic_cast<IWeftTaskControlInternals*>(task.get());
    const PWeftCommunicationEndpoint comm = task->Comm();
    const int64_t start = OsTimeGetTime64();
    TWeftMessage m;
    while (comm->Receive(m)) {
        if (!(internals && internals->FilterMessage(m)) && OnTaskMessage)
            OnTaskMessage(task, m);
        m = TWeftMessage();
        if (OsTimeGetTime64() - start > CDrainBudget_ms) {
            PostMessage(emMessageWindow, CWeftTaskMsg_NewMessage, wParam, lParam);
            return;
        }
    }
}

void TWeftEventMonitor::TaskTerminated(int64_t taskID)
{
    const auto it = emMonitoredTasks.find(taskID);
    if (it == emMonitoredTasks.end())
        return;
    const PWeftTaskControl task = it->second;
    auto* internals = dynamic_cast<IWeftTaskControlInternals*>(task.get());
    // A task that never talked has no channel: none is made to drain it.
    PWeftCommunicationEndpoint comm;
    if (auto* shared = dynamic_cast<IWeftTaskControlSharedInfo*>(task.get())) {
        if (const PWeftTwoWayChannel channel = shared->GetSharedInfo()->Channel(false))
            comm = channel->Endpoint1();
    } else {
        comm = task->Comm();
    }
    TWeftMessage m;
    while (comm && comm->Receive(m)) {
        if (!(internals && internals->FilterMessage(m)) && OnTaskMessage)
            OnTaskMessage(task, m);
        m = TWeftMessage();
    }
    if (const PWeftCommunicationEndpoint other = comm ? comm->OtherEndpoint() : nullptr)
        while (other->Receive(m)) {
            if (OnTaskUndeliveredMessage)
                OnTaskUndeliveredMessage(task, m);
            m = TWeftMessage();
        }
    struct TDetach {
        TWeftEventMonitor& M;
        const PWeftTaskControl& T;
        ~TDetach() { M.Detach(T); }
    } detach{*this, task};
    if (OnTaskTerminated)
        OnTaskTerminated(task);
}

void TWeftEventMonitor::PoolNotice(LPARAM lParam)
{
    std::unique_ptr<TWeftThreadPoolMonitorInfo> info(reinterpret_cast<TWeftThreadPoolMonitorInfo*>(lParam));
    if (!info)
        return;
    const auto it = emMonitoredPools.find(info->otpmiUniqueID);
    if (it == emMonitoredPools.end())
        return;
    const PWeftThreadPool pool = it->second;
    switch (info->otpmiThreadPoolOperation) {
    case tpoCreateThread:
        if (OnPoolThreadCreated)
            OnPoolThreadCreated(pool, info->otpmiThreadID);
        break;
    case tpoDestroyThread:
        if (OnPoolThreadDestroying)
            OnPoolThreadDestroying(pool, info->otpmiThreadID);
        break;
    case tpoKillThread:
        if (OnPoolThreadKilled)
            OnPoolThreadKilled(pool, info->otpmiThreadID);
        break;
    case tpoWorkItemCompleted:
        if (OnPoolWorkItemCompleted)
            OnPoolWorkItemCompleted(pool, info->otpmiTaskID);
        break;
    }
}

// --- Task-control monitor ------------------------------------------------------------

TWeftTaskControlEventMonitor::TWeftTaskControlEventMonitor()
{
    OnTaskMessage = [](const PWeftTaskControl& task, TWeftMessage& msg) {
        if (auto* internals = dynamic_cast<IWeftTaskControlInternals*>(task.get()))
            internals->ForwardTaskMessage(msg);
    };
    OnTaskTerminated = [](const PWeftTaskControl& task) {
        if (auto* internals = dynamic_cast<IWeftTaskControlInternals*>(task.get()))
            internals->ForwardTaskTerminated();
    };
}

std::shared_ptr<TWeftTaskControlEventMonitor> TWeftTaskControlEventMonitor::Create()
{
    std::shared_ptr<TWeftTaskControlEventMonitor> m(new TWeftTaskControlEventMonitor());
    AttachWindow(m);
    return m;
}

// --- Per-thread pool ------------------------------------------------------------------

PWeftEventMonitor TWeftEventMonitorPool::Allocate()
{
    std::lock_guard lock(empListLock);
    TEntry& e = empMonitorList[GetThreadId()];
    if (!e.Monitor)
        e.Monitor = TWeftTaskControlEventMonitor::Create();
    ++e.RefCount;
    return e.Monitor;
}

void TWeftEventMonitorPool::Release(const PWeftEventMonitor& monitor)
{
    PWeftEventMonitor dropped;
    {
        std::lock_guard lock(empListLock);
        const auto it = empMonitorList.find(monitor->ThreadID());
        if (it == empMonitorList.end() || it->second.Monitor != monitor)
            throw Exception(QStringLiteral("TWeftEventMonitorPool.Release: Monitor is not allocated for thread %1")
                                .arg(monitor->ThreadID()));
        if (--it->second.RefCount == 0) {
            dropped = std::move(it->second.Monitor);
            empMonitorList.erase(it);
        }
    }
    // Freed outside the list lock: its destructor lets go of tasks.
}

int TWeftEventMonitorPool::Count()
{
    std::lock_guard lock(empListLock);
    return int(empMonitorList.size());
}

TWeftEventMonitorPool& GTaskControlEventMonitorPool()
{
    static TWeftEventMonitorPool* pool = new TWeftEventMonitorPool();  // lives to the end of the process
    return *pool;
}
