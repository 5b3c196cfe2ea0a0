#pragma once
// The high-level entry of the task framework: task configurations (a
// reusable bundle of settings applied to every task a high-level object
// starts), the shared pool of the parallel API, and the factory that starts
// single tasks and makes background workers.

#include "tasks/WeftEventMonitor.h"
#include "tasks/WeftTask.h"
#include "tasks/WeftThreadPool.h"

#include <functional>
#include <memory>
#include <vector>

class IWeftBackgroundWorker;
using PWeftBackgroundWorker = std::shared_ptr<IWeftBackgroundWorker>;
class IWeftTaskConfig;
using PWeftTaskConfig = std::shared_ptr<IWeftTaskConfig>;

struct TWeftTaskConfigTerminated {
    TWeftTaskTerminatedEvent Event;
    TWeftOnTerminatedFunction Func;
    TWeftOnTerminatedFunctionSimple Simple;
    void Call(const PWeftTaskControl& task) const
    {
        if (Event.Assigned())
            Event(task);
        if (Func)
            Func(task);
        if (Simple)
            Simple();
    }
    void Clear()
    {
        Event = {};
        Func = nullptr;
        Simple = nullptr;
    }
};

// Every operation but Apply stores its argument and returns the same
// configuration.
class IWeftTaskConfig : public IInterface {
public:
    // Applies the settings to the task in a fixed order: cancellation
    // token, monitor, dispatcher, general handler, the per-id handlers in
    // registration order, termination handlers, counter, locks, and always
    // the priority.
    virtual void Apply(const PWeftTaskControl& task) = 0;
    virtual PWeftTaskConfig CancelWith(const PWeftCancellationToken& token) = 0;
    virtual PWeftTaskConfig MonitorWith(const PWeftTaskControlMonitor& monitor) = 0;
    virtual PWeftTaskConfig NoThreadPool() = 0;
    virtual PWeftTaskConfig OnMessage(const PWeftMessageDispatcher& eventDispatcher) = 0;
    virtual PWeftTaskConfig OnMessage(const TWeftTaskMessageEvent& eventHandler) = 0;
    virtual PWeftTaskConfig OnMessage(uint16_t msgID, const TWeftTaskMessageEvent& eventHandler) = 0;
    virtual PWeftTaskConfig OnMessage(const TWeftOnMessageFunction& eventHandler) = 0;
    virtual PWeftTaskConfig OnMessage(uint16_t msgID, const TWeftOnMessageFunction& eventHandler) = 0;
    virtual PWeftTaskConfig OnTerminated(const TWeftTaskTerminatedEvent& eventHandler) = 0;
    virtual PWeftTaskConfig OnTerminated(const TWeftOnTerminatedFunction& eventHandler) = 0;
    virtual PWeftTaskConfig OnTerminated(const TWeftOnTerminatedFunctionSimple& eventHandler) = 0;
    virtual PWeftTaskConfig SetPriority(TWeftThreadPriority threadPriority) = 0;
    virtual PWeftTaskConfig ThreadPool(const PWeftThreadPool& threadPool) = 0;
    virtual PWeftTaskConfig WithCounter(const PWeftCounter& counter) = 0;
    virtual PWeftTaskConfig WithLock(const std::shared_ptr<IWeftCriticalSection>& lock) = 0;
    // Every task the configuration is applied to shares the lock; with
    // autoDestroyLock it is freed with the last of them (and the
    // configuration), else the caller keeps it alive.
    virtual PWeftTaskConfig WithLock(TSynchroObject* lock, bool autoDestroyLock = true) = 0;

    // Copies the termination handlers out and clears them here.
    virtual void DetachTerminated(TWeftTaskConfigTerminated& terminated) = 0;
    // Null when NoThreadPool is set; else the configured pool or the shared
    // pool.
    virtual PWeftThreadPool GetThreadPool() = 0;
    virtual bool RunDirectly() = 0;
};

// The shared pool of the parallel API (idle threads end after 60 s, no
// limit on running tasks, no queue time limit); made once on first use.
PWeftThreadPool GlobalParallelPool();

class Parallel {
public:
    Parallel() = delete;
    // Runs the procedure once on a new task; an exception that ends it is
    // raised again on the calling thread when its termination arrives.
    static void Async(const std::function<void()>& task, const PWeftTaskConfig& taskConfig = nullptr);
    static void Async(const TWeftTaskDelegate& task, const PWeftTaskConfig& taskConfig);
    static PWeftBackgroundWorker BackgroundWorker();
    static std::shared_ptr<class IWeftPipeline> Pipeline();
    static void ApplyConfig(const PWeftTaskConfig& taskConfig, const PWeftTaskControl& task);
    // Starts the task: without a configuration on the shared pool, with
    // NoThreadPool on its own thread, else on the configured pool.
    static void Start(const PWeftTaskControl& task, const PWeftTaskConfig& taskConfig);
    static PWeftTaskConfig TaskConfig();
};
