#pragma once
// Brings task messages and the end of tasks to the owner thread, and thread
// pool notices to whoever watches a pool. A monitor owns a hidden window on
// the thread that made it; a watched task's task-to-owner queue posts a
// notice to that window for every message the task sends, the window
// procedure drains the queue (at most 5 ms per notice, then it posts itself
// again so that input and painting run in between) and raises the monitor's
// events on the owner thread. When the task ends, the remaining messages and
// the ones the task never read are delivered, the termination event is
// raised and the task is let go.
//
// Task control takes its monitor from a per-thread pool: one monitor serves
// every task watched from one thread and goes with the last of them.
// A monitor is made, used and freed on one thread, which must pump its
// message queue.

#include "platform/os/MessageWindow.h"
#include "tasks/WeftTask.h"

#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

class IWeftTaskControlMonitor : public IInterface {
public:
    virtual void Detach(const PWeftTaskControl& task) = 0;
    virtual PWeftTaskControl Monitor(const PWeftTaskControl& task) = 0;
};

class IWeftThreadPoolMonitor : public IInterface {
public:
    virtual void Detach(const PWeftThreadPool& pool) = 0;
    virtual PWeftThreadPool Monitor(const PWeftThreadPool& pool) = 0;
};

using TWeftMonitorTaskMessageEvent = std::function<void(const PWeftTaskControl& task, TWeftMessage& msg)>;
using TWeftMonitorTaskEvent = std::function<void(const PWeftTaskControl& task)>;
using TWeftMonitorPoolThreadEvent = std::function<void(const PWeftThreadPool& pool, DWORD threadID)>;
using TWeftMonitorPoolWorkItemEvent = std::function<void(const PWeftThreadPool& pool, int64_t taskID)>;

class TWeftEventMonitor : public IWeftTaskControlMonitor,
                          public IWeftThreadPoolMonitor,
                          public std::enable_shared_from_this<TWeftEventMonitor> {
public:
    // The window belongs to the calling thread.
    static std::shared_ptr<TWeftEventMonitor> Create();
    ~TWeftEventMonitor() override;

    void Detach(const PWeftTaskControl& task) override;
    PWeftTaskControl Monitor(const PWeftTaskControl& task) override;
    void Detach(const PWeftThreadPool& pool) override;
    PWeftThreadPool Monitor(const PWeftThreadPool& pool) override;

    HWND MessageWindow() const { return emMessageWindow; }
    DWORD ThreadID() const { return emThreadID; }
    int MonitoredTaskCount() const { return int(emMonitoredTasks.size()); }
    // Delivers the notices waiting for this monitor's window now.
    void ProcessMessages();

    TWeftMonitorPoolThreadEvent OnPoolThreadCreated;
    TWeftMonitorPoolThreadEvent OnPoolThreadDestroying;
    TWeftMonitorPoolThreadEvent OnPoolThreadKilled;
    TWeftMonitorPoolWorkItemEvent OnPoolWorkItemCompleted;
    TWeftMonitorTaskMessageEvent OnTaskMessage;
    TWeftMonitorTaskEvent OnTaskTerminated;
    TWeftMonitorTaskMessageEvent OnTaskUndeliveredMessage;

    // The longest a new-message notice drains before posting itself again.
    static constexpr int64_t CDrainBudget_ms = 5;

protected:
    TWeftEventMonitor();
    // Makes the window on the calling thread.
    static void AttachWindow(const std::shared_ptr<TWeftEventMonitor>& monitor);

private:
    void WndProc(TMessage& msg);
    void DrainNewMessages(int64_t taskID, WPARAM wParam, LPARAM lParam);
    void TaskTerminated(int64_t taskID);
    void PoolNotice(LPARAM lParam);

    HWND emMessageWindow = 0;
    std::unordered_map<int64_t, PWeftThreadPool> emMonitoredPools;
    std::unordered_map<int64_t, PWeftTaskControl> emMonitoredTasks;
    DWORD emThreadID = 0;
};
using PWeftEventMonitor = std::shared_ptr<TWeftEventMonitor>;

// A monitor that hands task messages and terminations to the task control's
// own handlers.
class TWeftTaskControlEventMonitor final : public TWeftEventMonitor {
public:
    static std::shared_ptr<TWeftTaskControlEventMonitor> Create();

private:
    TWeftTaskControlEventMonitor();
};

// One counted monitor per thread.
class TWeftEventMonitorPool {
public:
    // The calling thread's monitor (made on first demand).
    PWeftEventMonitor Allocate();
    // Raises "TWeftEventMonitorPool.Release: Monitor is not allocated for
    // thread %d" for a monitor the pool does not hold.
    void Release(const PWeftEventMonitor& monitor);
    // Monitors held (for tests).
    int Count();

private:
    struct TEntry {
        PWeftEventMonitor Monitor;
        int RefCount = 0;
    };
    std::mutex empListLock;
    std::unordered_map<DWORD, TEntry> empMonitorList;
};

TWeftEventMonitorPool& GTaskControlEventMonitorPool();
