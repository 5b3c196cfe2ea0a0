#include "tasks/WeftForEach.h"

#include "tasks/WeftOwnerCall.h"

namespace {

int64_t SumOperand(const TWeftValue& v)
{
    return v.IsEmpty() ? 0 : v.CastToInt64();
}

class TWeftParallelLoop;

// The loop seen through one of its chained forms.
template <class I>
class TWeftLoopView : public I {
public:
    explicit TWeftLoopView(std::shared_ptr<TWeftParallelLoop> loop) : FLoop(std::move(loop)) {}
    bool WaitFor(DWORD maxWait_ms) override;
    std::exception_ptr FatalException() override;
    std::exception_ptr DetachException() override;

protected:
    std::shared_ptr<TWeftParallelLoop> FLoop;
};

class TWeftAggregatorView final : public TWeftLoopView<IWeftParallelAggregatorLoop> {
public:
    using TWeftLoopView::TWeftLoopView;
    TWeftValue Execute(const TWeftIteratorIntoDelegate& loopBody) override;
    TWeftValue Execute(const TWeftIteratorIntoTaskDelegate& loopBody) override;
    TWeftValue ExecuteBlocks(const TWeftIntegerBlockSumDelegate& blockBody) override;

protected:
    bool SumsIntegerRange() const override;
    const IWeftCancellationToken* LoopToken() const override;
};

class TWeftInitializedView final : public TWeftLoopView<IWeftParallelInitializedLoop>,
                                   public std::enable_shared_from_this<TWeftInitializedView> {
public:
    using TWeftLoopView::TWeftLoopView;
    PWeftParallelInitializedLoop Finalize(const TWeftTaskFinalizerDelegate& taskFinalizer) override;
    PWeftParallelInitializedLoop Initialize(const TWeftTaskInitializerDelegate& taskInitializer) override;
    void Execute(const TWeftIteratorStateDelegate& loopBody) override;
    void Execute(const TWeftIteratorStateTaskDelegate& loopBody) override;
};

class TWeftIntoView final : public TWeftLoopView<IWeftParallelIntoLoop> {
public:
    using TWeftLoopView::TWeftLoopView;
    void Execute(const TWeftIteratorIntoDelegate& loopBody) override;
    void Execute(const TWeftIteratorIntoTaskDelegate& loopBody) override;
};

class TWeftParallelLoop final : public IWeftParallelLoop, public std::enable_shared_from_this<TWeftParallelLoop> {
public:
    TWeftParallelLoop(TWeftSourceProvider* provider, bool owned) : FManagedProvider(owned), FSourceProvider(provider)
    {
        FNumTasks = WeftProcessorCount();
    }
    TWeftParallelLoop(TEnumeratorDelegate enumerator)
        : FDelegateEnum(std::make_unique<TWeftDelegateEnumerator>(std::move(enumerator))), FManagedProvider(true)
    {
        FSourceProvider = CreateSourceProvider(FDelegateEnum.get()).release();
        FNumTasks = WeftProcessorCount();
    }
    ~TWeftParallelLoop() override
    {
        // A loop that did not wait still waits for its workers here.
        FWorkers.WaitFor(INFINITE);
        FDataManager.reset();
        if (FManagedProvider)
            delete FSourceProvider;
    }

    // --- Configuration ---------------------------------------------------------------------

    PWeftParallelAggregatorLoop Aggregate(const TWeftValue& defaultAggregateValue,
                                          const TWeftAggregatorDelegate& aggregator) override
    {
        FAggregate = defaultAggregateValue;
        FAggregator = aggregator;
        FSumAggregate = false;
        return std::make_shared<TWeftAggregatorView>(shared_from_this());
    }
    PWeftParallelAggregatorLoop AggregateSum() override
    {
        PWeftParallelAggregatorLoop loop =
            Aggregate(TWeftValue(int64_t(0)), [](TWeftValue& aggregate, const TWeftValue& value) {
                aggregate = TWeftValue(int64_t(SumOperand(aggregate) + SumOperand(value)));
            });
        FSumAggregate = true;
        return loop;
    }
    PWeftParallelLoop CancelWith(const PWeftCancellationToken& token) override
    {
        FCancellationToken = token;
        return shared_from_this();
    }
    PWeftParallelInitializedLoop Finalize(const TWeftTaskFinalizerDelegate& taskFinalizer) override
    {
        FTaskFinalizer = taskFinalizer;
        return std::make_shared<TWeftInitializedView>(shared_from_this());
    }
    PWeftParallelInitializedLoop Initialize(const TWeftTaskInitializerDelegate& taskInitializer) override
    {
        FTaskInitializer = taskInitializer;
        return std::make_shared<TWeftInitializedView>(shared_from_this());
    }
    PWeftParallelIntoLoop Into(const PWeftBlockingCollection& queue) override
    {
        WeftAssert(queue != nullptr, "TWeftParallelLoop.Into: no output collection");
        FIntoQueueIntf = queue;
        return std::make_shared<TWeftIntoView>(shared_from_this());
    }
    PWeftParallelLoop NoWait() override
    {
        FOptions |= ploNoWait;
        return shared_from_this();
    }
    PWeftParallelLoop NumTasks(int taskCount) override
    {
        FNumTasks = WeftResolveNumTasks(taskCount, "TWeftParallelLoop.NumTasks: the count must not be 0");
        FNumTasksManual = true;
        return shared_from_this();
    }
    PWeftParallelLoop OnMessage(uint16_t msgID, const TWeftOnMessageFunction& eventHandler) override
    {
        FOnMessageList.emplace_back(msgID, eventHandler);
        return shared_from_this();
    }
    PWeftParallelLoop OnTaskCreate(const TWeftTaskDelegate& taskCreateDelegate) override
    {
        WeftAssert(!FOnTaskCreate && !FOnTaskControlCreate, "TWeftParallelLoop.OnTaskCreate: set already");
        FOnTaskCreate = taskCreateDelegate;
        return shared_from_this();
    }
    PWeftParallelLoop OnTaskCreate(const TWeftTaskControlCreateDelegate& taskCreateDelegate) override
    {
        WeftAssert(!FOnTaskCreate && !FOnTaskControlCreate, "TWeftParallelLoop.OnTaskCreate: set already");
        FOnTaskControlCreate = taskCreateDelegate;
        return shared_from_this();
    }
    PWeftParallelLoop OnStop(const std::function<void()>& stopCode) override { return OnStop(WeftStopProc(stopCode)); }
    PWeftParallelLoop OnStop(const TWeftTaskDelegate& stopCode) override
    {
        FOnStop = stopCode;
        return shared_from_this();
    }
    PWeftParallelLoop OnStopInvoke(const std::function<void()>& stopCode) override
    {
        return OnStop(WeftStopInvoke(stopCode));
    }
    PWeftParallelLoop PreserveOrder() override
    {
        FOptions |= ploPreserveOrder;
        return shared_from_this();
    }
    PWeftParallelLoop TaskConfig(const PWeftTaskConfig& config) override
    {
        FTaskConfig = config;
        return shared_from_this();
    }

    // --- Running ---------------------------------------------------------------------------

    bool WaitFor(DWORD maxWait_ms) override { return FWorkers.WaitFor(maxWait_ms); }
    std::exception_ptr FatalException() override { return FWorkers.FatalException(); }
    std::exception_ptr DetachException() override { return FWorkers.DetachException(); }

    void Execute(const TWeftIteratorDelegate& loopBody) override
    {
        Run([this, loopBody](const PWeftTask&) {
            auto queue = FDataManager->CreateLocalQueue();
            TWeftValue value;
            if (IntegerSource()) {
                ForEachInteger(*queue, value, [&] { loopBody(value); });
                return;
            }
            while (!Stopped() && queue->GetNext(value))
                loopBody(value);
        });
    }
    void Execute(const TWeftIteratorTaskDelegate& loopBody) override
    {
        Run([this, loopBody](const PWeftTask& task) {
            auto queue = FDataManager->CreateLocalQueue();
            TWeftValue value;
            while (!Stopped() && queue->GetNext(value))
                loopBody(task, value);
        });
    }
    void ExecuteBlocks(const TWeftIntegerBlockDelegate& blockBody) override
    {
        Run([this, blockBody](const PWeftTask& task) {
            auto queue = FDataManager->CreateLocalQueue();
            int64_t first, last;
            int32_t step;
            while (!Stopped() && queue->GetNextBlock(first, last, step))
                blockBody(task, first, last, step);
        });
    }
    TWeftValue ExecuteSumBlocks(const TWeftIntegerBlockSumDelegate& blockBody)
    {
        WeftAssert(!(FOptions & ploNoWait), "NoWait cannot be used with Aggregate");
        WeftAssert(FSumAggregate, "TWeftParallelLoop.ExecuteBlocks: only with AggregateSum");
        Run([this, blockBody](const PWeftTask& task) {
            auto queue = FDataManager->CreateLocalQueue();
            int64_t first, last, sum = 0;
            int32_t step;
            bool any = false;
            while (!Stopped() && queue->GetNextBlock(first, last, step)) {
                sum += blockBody(task, first, last, step);
                any = true;
            }
            if (!any)
                return;
            FRunLock->Acquire();
            FAggregate = TWeftValue(int64_t(SumOperand(FAggregate) + sum));
            FRunLock->Release();
        });
        return FAggregate;
    }
    // An integer range hands out whole batches: taking them a block at a
    // time spares a call through the queue and the package per item.
    bool IntegerSource() const { return dynamic_cast<TWeftIntegerRangeProvider*>(FSourceProvider) != nullptr; }
    bool SumsIntegers() const { return FSumAggregate && IntegerSource(); }
    const IWeftCancellationToken* Token() const { return FCancellationToken.get(); }
    template <class TBody>
    void ForEachInteger(TWeftLocalQueue& queue, TWeftValue& value, const TBody& body)
    {
        int64_t first, last;
        int32_t step;
        while (!Stopped() && queue.GetNextBlock(first, last, step)) {
            for (int64_t i = first;; i += step) {
                if (Stopped())
                    return;
                value.SetAsInt64(i);
                body();
                if (i == last)
                    break;
            }
        }
    }
    void SetFinalizer(const TWeftTaskFinalizerDelegate& f) { FTaskFinalizer = f; }
    void SetInitializer(const TWeftTaskInitializerDelegate& f) { FTaskInitializer = f; }

    void ExecuteState(const TWeftIteratorStateTaskDelegate& loopBody)
    {
        WeftAssert(FTaskInitializer && FTaskFinalizer,
                   "TWeftParallelLoop.Execute: both the initializer and the finalizer are needed");
        Run([this, loopBody](const PWeftTask& task) {
            auto queue = FDataManager->CreateLocalQueue();
            TWeftValue state;
            FTaskInitializer(state);
            try {
                TWeftValue value;
                while (!Stopped() && queue->GetNext(value))
                    loopBody(task, value, state);
            } catch (...) {
                FTaskFinalizer(state);
                throw;
            }
            FTaskFinalizer(state);
        });
    }
    // The body is any callable taking (task, value, result): a body without
    // the task is called directly, not through a second delegate per item.
    template <class TBody>
    TWeftValue ExecuteAggregate(const TBody& loopBody)
    {
        WeftAssert(!(FOptions & ploNoWait), "NoWait cannot be used with Aggregate");
        Run([this, loopBody](const PWeftTask& task) {
            auto queue = FDataManager->CreateLocalQueue();
            TWeftValue taskAggregate, value, result;
            if (FSumAggregate) {
                // The sum folds plain integers and makes one value at the end.
                int64_t sum = 0;
                bool any = false;
                auto fold = [&] {
                    loopBody(task, value, result);
                    if (!result.IsEmpty()) {
                        sum += SumOperand(result);
                        any = true;
                        result.Clear();
                    }
                };
                if (IntegerSource()) {
                    ForEachInteger(*queue, value, fold);
                } else {
                    while (!Stopped() && queue->GetNext(value))
                        fold();
                }
                if (any)
                    taskAggregate = TWeftValue(sum);
            } else {
                while (!Stopped() && queue->GetNext(value)) {
                    loopBody(task, value, result);
                    if (!result.IsEmpty()) {
                        FAggregator(taskAggregate, result);
                        result.Clear();
                    }
                }
            }
            if (taskAggregate.IsEmpty())
                return;
            FRunLock->Acquire();
            try {
                FAggregator(FAggregate, taskAggregate);
            } catch (...) {
                FRunLock->Release();
                throw;
            }
            FRunLock->Release();
        });
        return FAggregate;
    }

    void ExecuteInto(const TWeftIteratorIntoTaskDelegate& loopBody)
    {
        WeftAssert(FIntoQueueIntf != nullptr, "TWeftParallelLoop.Execute: no output collection");
        const bool ordered = (FOptions & ploPreserveOrder) && WorkerCount() > 1;
        Run([this, loopBody, ordered](const PWeftTask& task) {
            auto queue = FDataManager->CreateLocalQueue();
            TWeftValue value, result;
            if (!ordered) {
                while (!Stopped() && queue->GetNext(value)) {
                    loopBody(task, value, result);
                    if (!result.IsEmpty()) {
                        FIntoQueueIntf->Add(result);
                        result.Clear();
                    }
                }
                return;
            }
            TWeftOutputBuffer* buffer = FDataManager->AllocateOutputBuffer();
            queue->AssociateBuffer(buffer);
            // The buffer goes back also after an exception, or later
            // packages would wait for its range for ever.
            struct Release {
                TWeftDataManager* M;
                TWeftOutputBuffer* B;
                ~Release()
                {
                    try {
                        M->ReleaseOutputBuffer(B);
                    } catch (...) {
                        // The output was completed by someone else; the
                        // results have nowhere to go.
                    }
                }
            } release{FDataManager.get(), buffer};
            int64_t position = 0;
            while (!Stopped() && queue->GetNext(position, value)) {
                loopBody(task, value, result);
                if (!result.IsEmpty()) {
                    buffer->Submit(result, position);
                    result.Clear();
                }
            }
        });
    }

protected:
    bool IntegerRange() const override { return IntegerSource(); }
    const IWeftCancellationToken* LoopToken() const override { return Token(); }

private:
    bool Stopped() const { return FCancellationToken && FCancellationToken->IsSignalled(); }

    int WorkerCount() const
    {
        int n = FNumTasks;
        if (!FNumTasksManual && n > 1 && (FOptions & (ploPreserveOrder | ploNoWait)))
            --n;
        return n;
    }

    void Run(const std::function<void(const PWeftTask& task)>& body)
    {
        WeftAssert(!FWorkers.Started(), "TWeftParallelLoop.Execute: a loop runs once");
        const int n = WorkerCount();
        const bool ordered = (FOptions & ploPreserveOrder) != 0;
        FDataManager = CreateDataManager(*FSourceProvider, n, ordered ? TWeftDataManagerOptions(dmoPreserveOrder) : 0u);
        if (ordered && FIntoQueueIntf)
            FDataManager->SetOutput(FIntoQueueIntf);
        FRunLock = CreateWeftCriticalSection();
        const bool noWait = (FOptions & ploNoWait) != 0;
        FWorkers.Start(
            n, QStringLiteral("Parallel.ForEach worker #"), 1, FTaskConfig, FRunLock,
            [this](const PWeftTaskControl& task, int) {
                for (const auto& [id, handler] : FOnMessageList)
                    task->OnMessage(id, handler);
                if (FOnTaskControlCreate)
                    FOnTaskControlCreate(task);
            },
            [this, body](const PWeftTask& task, int) {
                if (FOnTaskCreate)
                    FOnTaskCreate(task);
                body(task);
            },
            noWait ? TWeftTaskDelegate([this](const PWeftTask& task) { Finish(task); }) : TWeftTaskDelegate(),
            noWait && FOnStop);
        if (noWait)
            return;
        FWorkers.WaitFor(INFINITE);
        Finish(nullptr);
        if (std::exception_ptr e = FWorkers.DetachException())
            std::rethrow_exception(e);
    }

    // The end of a run: the output is complete, the stop handler runs.
    void Finish(const PWeftTask& task)
    {
        if (FIntoQueueIntf)
            FIntoQueueIntf->CompleteAdding();
        if (FOnStop)
            FOnStop(task);
    }

    TWeftValue FAggregate;
    TWeftAggregatorDelegate FAggregator;
    bool FSumAggregate = false;
    PWeftCancellationToken FCancellationToken;
    std::unique_ptr<TWeftDataManager> FDataManager;
    std::unique_ptr<TWeftDelegateEnumerator> FDelegateEnum;
    PWeftBlockingCollection FIntoQueueIntf;
    bool FManagedProvider = false;
    int FNumTasks = 1;
    bool FNumTasksManual = false;
    std::vector<std::pair<uint16_t, TWeftOnMessageFunction>> FOnMessageList;
    TWeftTaskDelegate FOnStop;
    TWeftTaskControlCreateDelegate FOnTaskControlCreate;
    TWeftTaskDelegate FOnTaskCreate;
    TWeftParallelLoopOptions FOptions = 0;
    std::shared_ptr<IWeftCriticalSection> FRunLock;
    TWeftSourceProvider* FSourceProvider = nullptr;
    PWeftTaskConfig FTaskConfig;
    TWeftTaskFinalizerDelegate FTaskFinalizer;
    TWeftTaskInitializerDelegate FTaskInitializer;
    // Last: destroyed first would be wrong, so the destructor waits on it
    // explicitly before anything else goes.
    TWeftWorkerGroup FWorkers;
};

template <class I>
bool TWeftLoopView<I>::WaitFor(DWORD maxWait_ms)
{
    return FLoop->WaitFor(maxWait_ms);
}
template <class I>
std::exception_ptr TWeftLoopView<I>::FatalException()
{
    return FLoop->FatalException();
}
template <class I>
std::exception_ptr TWeftLoopView<I>::DetachException()
{
    return FLoop->DetachException();
}

TWeftIteratorIntoTaskDelegate WithTask(const TWeftIteratorIntoDelegate& loopBody)
{
    return [loopBody](const PWeftTask&, const TWeftValue& v, TWeftValue& r) { loopBody(v, r); };
}

TWeftValue TWeftAggregatorView::Execute(const TWeftIteratorIntoDelegate& loopBody)
{
    return FLoop->ExecuteAggregate([&loopBody](const PWeftTask&, const TWeftValue& v, TWeftValue& r) { loopBody(v, r); });
}
TWeftValue TWeftAggregatorView::Execute(const TWeftIteratorIntoTaskDelegate& loopBody)
{
    return FLoop->ExecuteAggregate(loopBody);
}
TWeftValue TWeftAggregatorView::ExecuteBlocks(const TWeftIntegerBlockSumDelegate& blockBody)
{
    return FLoop->ExecuteSumBlocks(blockBody);
}
bool TWeftAggregatorView::SumsIntegerRange() const
{
    return FLoop->SumsIntegers();
}
const IWeftCancellationToken* TWeftAggregatorView::LoopToken() const
{
    return FLoop->Token();
}

PWeftParallelInitializedLoop TWeftInitializedView::Finalize(const TWeftTaskFinalizerDelegate& taskFinalizer)
{
    FLoop->SetFinalizer(taskFinalizer);
    return shared_from_this();
}
PWeftParallelInitializedLoop TWeftInitializedView::Initialize(const TWeftTaskInitializerDelegate& taskInitializer)
{
    FLoop->SetInitializer(taskInitializer);
    return shared_from_this();
}
void TWeftInitializedView::Execute(const TWeftIteratorStateDelegate& loopBody)
{
    FLoop->ExecuteState(WithTask(loopBody));
}
void TWeftInitializedView::Execute(const TWeftIteratorStateTaskDelegate& loopBody)
{
    FLoop->ExecuteState(loopBody);
}

void TWeftIntoView::Execute(const TWeftIteratorIntoDelegate& loopBody)
{
    FLoop->ExecuteInto(WithTask(loopBody));
}
void TWeftIntoView::Execute(const TWeftIteratorIntoTaskDelegate& loopBody)
{
    FLoop->ExecuteInto(loopBody);
}

}  // namespace

PWeftParallelLoop CreateParallelLoop(TWeftSourceProvider* sourceProvider, bool owned)
{
    return std::make_shared<TWeftParallelLoop>(sourceProvider, owned);
}

PWeftParallelLoop ParallelForEach(int32_t low, int32_t high, int32_t step)
{
    return CreateParallelLoop(CreateSourceProvider(low, high, step).release(), true);
}

PWeftParallelLoop ParallelForEach(const PWeftBlockingCollection& source)
{
    return CreateParallelLoop(CreateSourceProvider(source).release(), true);
}

PWeftParallelLoop ParallelForEach(TWeftValueEnumerator* enumerator)
{
    return CreateParallelLoop(CreateSourceProvider(enumerator).release(), true);
}

PWeftParallelLoop ParallelForEach(const TEnumeratorDelegate& enumerator)
{
    return std::make_shared<TWeftParallelLoop>(enumerator);
}
