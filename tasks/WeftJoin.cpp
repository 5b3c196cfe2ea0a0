#include "tasks/WeftJoin.h"

#include "tasks/WeftBlockingCollection.h"

QString WeftExceptionMessage(const std::exception_ptr& e)
{
    try {
        std::rethrow_exception(e);
    } catch (const Exception& ex) {
        return ex.Message();
    } catch (const std::exception& ex) {
        return QString::fromUtf8(ex.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

void EJoinException::Add(int taskNumber, std::exception_ptr exception)
{
    FExceptions.emplace_back(taskNumber, std::move(exception));
    const QString inner = WeftExceptionMessage(FExceptions.back().second);
    SetMessage(Message().isEmpty() ? inner : Message() + QStringLiteral("; \r\n") + inner);
}

EJoinException::TJoinInnerException EJoinException::GetInner(int idx) const
{
    if (idx < 0 || idx >= Count())
        throw EListError(QStringLiteral("EJoinException.GetInner: index %1 out of bounds").arg(idx));
    return TJoinInnerException{FExceptions[size_t(idx)].second, FExceptions[size_t(idx)].first};
}

std::exception_ptr EJoinException::DetachInner(int idx)
{
    if (idx < 0 || idx >= Count())
        throw EListError(QStringLiteral("EJoinException.DetachInner: index %1 out of bounds").arg(idx));
    std::exception_ptr e = FExceptions[size_t(idx)].second;
    FExceptions.erase(FExceptions.begin() + idx);
    RebuildMessage();
    return e;
}

void EJoinException::RebuildMessage()
{
    QString msg;
    for (const auto& [n, e] : FExceptions)
        msg = msg.isEmpty() ? WeftExceptionMessage(e) : msg + QStringLiteral("; \r\n") + WeftExceptionMessage(e);
    SetMessage(msg);
}

namespace {

class TWeftJoinState final : public IWeftJoinState {
public:
    TWeftJoinState(PWeftCancellationToken cancel, PWeftCancellationToken exceptional)
        : FCancel(std::move(cancel)), FExceptional(std::move(exceptional))
    {
    }
    PWeftTask GetTask() override { return FTask; }
    void SetTask(const PWeftTask& task) { FTask = task; }
    void Cancel() override { FCancel->Signal(); }
    bool IsCancelled() override { return FCancel->IsSignalled(); }
    bool IsExceptional() override { return FExceptional->IsSignalled(); }

private:
    PWeftCancellationToken FCancel;
    PWeftCancellationToken FExceptional;
    PWeftTask FTask;
};

class TWeftParallelJoin final : public IWeftParallelJoin, public std::enable_shared_from_this<TWeftParallelJoin> {
public:
    TWeftParallelJoin() { FNumTasks = WeftProcessorCount(); }
    ~TWeftParallelJoin() override { FWorkers.WaitFor(INFINITE); }

    PWeftParallelJoin Cancel() override
    {
        FGlobalCancellationFlag->Signal();
        return shared_from_this();
    }
    std::exception_ptr DetachException() override
    {
        std::lock_guard lock(FTaskExceptionLock);
        return std::exchange(FTaskException, nullptr);
    }
    std::exception_ptr FatalException() override
    {
        std::lock_guard lock(FTaskExceptionLock);
        return FTaskException;
    }
    bool IsCancelled() override { return FGlobalCancellationFlag->IsSignalled(); }
    bool IsExceptional() override { return FGlobalExceptionFlag->IsSignalled(); }
    PWeftParallelJoin NoWait() override
    {
        FNoWait = true;
        return shared_from_this();
    }
    PWeftParallelJoin NumTasks(int numTasks) override
    {
        FNumTasks = WeftResolveNumTasks(numTasks, "TWeftParallelJoin.NumTasks: the count must not be 0");
        return shared_from_this();
    }
    PWeftParallelJoin OnStop(const std::function<void()>& stopCode) override { return OnStop(WeftStopProc(stopCode)); }
    PWeftParallelJoin OnStop(const TWeftTaskDelegate& stopCode) override
    {
        FOnStop = stopCode;
        return shared_from_this();
    }
    PWeftParallelJoin OnStopInvoke(const std::function<void()>& stopCode) override
    {
        return OnStop(WeftStopInvoke(stopCode));
    }
    PWeftParallelJoin Task(const std::function<void()>& task) override
    {
        return Task(TWeftJoinDelegate([task](const PWeftJoinState&) { task(); }));
    }
    PWeftParallelJoin Task(const TWeftJoinDelegate& task) override
    {
        FTasks.push_back(task);
        return shared_from_this();
    }
    PWeftParallelJoin TaskConfig(const PWeftTaskConfig& config) override
    {
        FTaskConfig = config;
        return shared_from_this();
    }
    int NumWorkersStarted() override { return FWorkers.NumWorkers(); }

    PWeftParallelJoin Execute() override
    {
        WeftAssert(!FWorkers.Started(), "TWeftParallelJoin.Execute: a join runs once");
        const int numWorkers = std::min<int>(FNumTasks, int(FTasks.size()));
        FInput = CreateBlockingCollection();
        for (int i = 0; i < int(FTasks.size()); ++i)
            FInput->Add(TWeftValue(int32_t(i)));
        FInput->CompleteAdding();
        FJoinStates.clear();
        for (int i = 0; i < numWorkers; ++i)
            FJoinStates.push_back(std::make_shared<TWeftJoinState>(FGlobalCancellationFlag, FGlobalExceptionFlag));
        FWorkers.Start(
            numWorkers, QStringLiteral("Join worker #"), 1, FTaskConfig, nullptr,
            [](const PWeftTaskControl& task, int index) {
                task->SetParameter(QStringLiteral("NumWorker"), TWeftValue(int32_t(index)));
            },
            [this](const PWeftTask& task, int index) { Worker(task, index); },
            FNoWait ? TWeftTaskDelegate([this](const PWeftTask& task) {
                if (FOnStop)
                    FOnStop(task);
            })
                    : TWeftTaskDelegate(),
            FNoWait && FOnStop);
        if (FNoWait) {
            // No worker will end, so nothing else would call it.
            if (numWorkers == 0 && FOnStop)
                FOnStop(nullptr);
            return shared_from_this();
        }
        WaitFor(INFINITE);
        if (FOnStop)
            FOnStop(nullptr);
        return nullptr;
    }

    bool WaitFor(DWORD timeout_ms) override
    {
        if (!FWorkers.WaitFor(timeout_ms))
            return false;
        if (std::exception_ptr e = DetachException())
            std::rethrow_exception(e);
        return true;
    }

private:
    void Worker(const PWeftTask& task, int index)
    {
        const std::shared_ptr<TWeftJoinState> state = FJoinStates[size_t(index)];
        TWeftValue number;
        while (FInput->Take(number)) {
            const int n = number.AsInteger();
            state->SetTask(task);
            try {
                FTasks[size_t(n)](state);
            } catch (...) {
                const std::exception_ptr raised = std::current_exception();
                {
                    std::lock_guard lock(FTaskExceptionLock);
                    if (!FTaskException)
                        FTaskException = std::make_exception_ptr(EJoinException());
                    try {
                        std::rethrow_exception(FTaskException);
                    } catch (EJoinException& joined) {
                        joined.Add(n, raised);
                    }
                }
                FGlobalExceptionFlag->Signal();
            }
        }
        state->SetTask(nullptr);
    }

    PWeftCancellationToken FGlobalCancellationFlag = CreateWeftCancellationToken();
    PWeftCancellationToken FGlobalExceptionFlag = CreateWeftCancellationToken();
    PWeftBlockingCollection FInput;
    std::vector<std::shared_ptr<TWeftJoinState>> FJoinStates;
    bool FNoWait = false;
    int FNumTasks = 1;
    TWeftTaskDelegate FOnStop;
    PWeftTaskConfig FTaskConfig;
    std::exception_ptr FTaskException;
    std::mutex FTaskExceptionLock;
    std::vector<TWeftJoinDelegate> FTasks;
    TWeftWorkerGroup FWorkers;
};

}  // namespace

PWeftParallelJoin ParallelJoin()
{
    return std::make_shared<TWeftParallelJoin>();
}

PWeftParallelJoin ParallelJoin(const std::vector<std::function<void()>>& tasks)
{
    PWeftParallelJoin join = ParallelJoin();
    for (const auto& t : tasks)
        join->Task(t);
    return join;
}
