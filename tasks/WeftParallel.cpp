#include "tasks/WeftParallel.h"

#include "tasks/WeftBackgroundWorker.h"
#include "tasks/WeftPipeline.h"

#include <mutex>

namespace {

class TWeftTaskConfig final : public IWeftTaskConfig, public std::enable_shared_from_this<TWeftTaskConfig> {
public:
    void Apply(const PWeftTaskControl& task) override
    {
        if (otcCancelWithToken)
            task->CancelWith(otcCancelWithToken);
        if (otcMonitorWithMonitor)
            task->MonitorWith(otcMonitorWithMonitor);
        if (otcOnMessageEventDispatcher)
            task->OnMessage(otcOnMessageEventDispatcher);
        if (otcOnMessageEventHandler.Assigned())
            task->OnMessage(otcOnMessageEventHandler);
        if (otcOnMessageEventFunction)
            task->OnMessage(otcOnMessageEventFunction);
        for (const auto& [id, exec] : otcOnMessageList)
            exec->Apply(id, task);
        if (otcOnTerminated.Event.Assigned())
            task->OnTerminated(otcOnTerminated.Event);
        if (otcOnTerminated.Func)
            task->OnTerminated(otcOnTerminated.Func);
        if (otcOnTerminated.Simple)
            task->OnTerminated(otcOnTerminated.Simple);
        if (otcWithCounterCounter)
            task->WithCounter(otcWithCounterCounter);
        if (otcWithLockWeftLock)
            task->WithLock(otcWithLockWeftLock);
        if (otcWithLockSyncLock)
            task->WithLock(otcWithLockSyncLock);
        task->SetPriority(otcPriority);
    }
    PWeftTaskConfig CancelWith(const PWeftCancellationToken& token) override
    {
        otcCancelWithToken = token;
        return shared_from_this();
    }
    PWeftTaskConfig MonitorWith(const PWeftTaskControlMonitor& monitor) override
    {
        otcMonitorWithMonitor = monitor;
        return shared_from_this();
    }
    PWeftTaskConfig NoThreadPool() override
    {
        otcNoThreadPool = true;
        otcThreadPool.reset();
        return shared_from_this();
    }
    PWeftTaskConfig OnMessage(const PWeftMessageDispatcher& eventDispatcher) override
    {
        otcOnMessageEventDispatcher = eventDispatcher;
        return shared_from_this();
    }
    PWeftTaskConfig OnMessage(const TWeftTaskMessageEvent& eventHandler) override
    {
        otcOnMessageEventHandler = eventHandler;
        return shared_from_this();
    }
    PWeftTaskConfig OnMessage(uint16_t msgID, const TWeftTaskMessageEvent& eventHandler) override
    {
        otcOnMessageList.emplace_back(msgID, std::make_shared<TWeftMessageExec>(eventHandler));
        return shared_from_this();
    }
    PWeftTaskConfig OnMessage(const TWeftOnMessageFunction& eventHandler) override
    {
        otcOnMessageEventFunction = eventHandler;
        return shared_from_this();
    }
    PWeftTaskConfig OnMessage(uint16_t msgID, const TWeftOnMessageFunction& eventHandler) override
    {
        otcOnMessageList.emplace_back(msgID, std::make_shared<TWeftMessageExec>(eventHandler));
        return shared_from_this();
    }
    PWeftTaskConfig OnTerminated(const TWeftTaskTerminatedEvent& eventHandler) override
    {
        otcOnTerminated.Event = eventHandler;
        return shared_from_this();
    }
    PWeftTaskConfig OnTerminated(const TWeftOnTerminatedFunction& eventHandler) override
    {
        otcOnTerminated.Func = eventHandler;
        return shared_from_this();
    }
    PWeftTaskConfig OnTerminated(const TWeftOnTerminatedFunctionSimple& eventHandler) override
    {
        otcOnTerminated.Simple = eventHandler;
        return shared_from_this();
    }
    PWeftTaskConfig SetPriority(TWeftThreadPriority threadPriority) override
    {
        otcPriority = threadPriority;
        return shared_from_this();
    }
    PWeftTaskConfig ThreadPool(const PWeftThreadPool& threadPool) override
    {
        otcThreadPool = threadPool;
        otcNoThreadPool = false;
        return shared_from_this();
    }
    PWeftTaskConfig WithCounter(const PWeftCounter& counter) override
    {
        otcWithCounterCounter = counter;
        return shared_from_this();
    }
    PWeftTaskConfig WithLock(const std::shared_ptr<IWeftCriticalSection>& lock) override
    {
        otcWithLockWeftLock = lock;
        return shared_from_this();
    }
    PWeftTaskConfig WithLock(TSynchroObject* lock, bool autoDestroyLock) override
    {
        // One holder for all tasks, so a handed-over lock is freed once.
        if (autoDestroyLock)
            otcWithLockSyncLock.reset(lock);
        else
            otcWithLockSyncLock = std::shared_ptr<TSynchroObject>(lock, [](TSynchroObject*) {});
        return shared_from_this();
    }
    void DetachTerminated(TWeftTaskConfigTerminated& terminated) override
    {
        terminated = otcOnTerminated;
        otcOnTerminated.Clear();
    }
    PWeftThreadPool GetThreadPool() override
    {
        if (otcNoThreadPool)
            return nullptr;
        return otcThreadPool ? otcThreadPool : GlobalParallelPool();
    }
    bool RunDirectly() override { return otcNoThreadPool; }

private:
    PWeftCancellationToken otcCancelWithToken;
    PWeftTaskControlMonitor otcMonitorWithMonitor;
    bool otcNoThreadPool = false;
    PWeftMessageDispatcher otcOnMessageEventDispatcher;
    TWeftTaskMessageEvent otcOnMessageEventHandler;
    TWeftOnMessageFunction otcOnMessageEventFunction;
    std::vector<std::pair<uint16_t, PWeftMessageExec>> otcOnMessageList;
    TWeftTaskConfigTerminated otcOnTerminated;
    TWeftThreadPriority otcPriority = tpNormal;
    PWeftThreadPool otcThreadPool;
    PWeftCounter otcWithCounterCounter;
    std::shared_ptr<IWeftCriticalSection> otcWithLockWeftLock;
    std::shared_ptr<TSynchroObject> otcWithLockSyncLock;
};

}  // namespace

PWeftThreadPool GlobalParallelPool()
{
    // Never destroyed: the pool lives to the very end of the process, and its
    // threads end with it (no static clean-up runs against it).
    static std::once_flag once;
    static PWeftThreadPool& pool = *new PWeftThreadPool();
    std::call_once(once, [] {
        pool = CreateThreadPool(QStringLiteral("Parallel pool"));
        pool->SetIdleWorkerThreadTimeout_sec(60);
        pool->SetMaxExecuting(-1);
        pool->SetMaxQueuedTime_sec(0);
    });
    return pool;
}

void Parallel::Async(const std::function<void()>& task, const PWeftTaskConfig& taskConfig)
{
    Async(TWeftTaskDelegate([task](const PWeftTask&) { task(); }), taskConfig);
}

void Parallel::Async(const TWeftTaskDelegate& task, const PWeftTaskConfig& taskConfig)
{
    auto holder = std::make_shared<TWeftTaskConfigTerminated>();
    if (taskConfig)
        taskConfig->DetachTerminated(*holder);
    const PWeftTaskControl control = CreateTask(task, QStringLiteral("Parallel.Async"));
    control->Unobserved();
    control->OnTerminated(TWeftOnTerminatedFunction([holder](const PWeftTaskControl& t) {
        holder->Call(t);
        if (std::exception_ptr e = t->DetachException())
            std::rethrow_exception(e);
    }));
    ApplyConfig(taskConfig, control);
    control->Unobserved();
    Start(control, taskConfig);
}

PWeftBackgroundWorker Parallel::BackgroundWorker()
{
    return CreateBackgroundWorker();
}

std::shared_ptr<IWeftPipeline> Parallel::Pipeline()
{
    return CreatePipeline();
}

void Parallel::ApplyConfig(const PWeftTaskConfig& taskConfig, const PWeftTaskControl& task)
{
    if (taskConfig)
        taskConfig->Apply(task);
}

void Parallel::Start(const PWeftTaskControl& task, const PWeftTaskConfig& taskConfig)
{
    if (!taskConfig)
        task->Schedule(GlobalParallelPool());
    else if (taskConfig->RunDirectly())
        task->Run();
    else
        task->Schedule(taskConfig->GetThreadPool());
}

PWeftTaskConfig Parallel::TaskConfig()
{
    return std::make_shared<TWeftTaskConfig>();
}
