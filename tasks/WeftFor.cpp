#include "tasks/WeftFor.h"

std::vector<TPartitionInfo> WeftCreatePartitions(int32_t first, int32_t last, int32_t step, int numWorkers)
{
    int64_t total = (int64_t(last) + step - first) / step;
    if (total < 0)
        total = 0;
    std::vector<TPartitionInfo> partitions(size_t(std::max(numWorkers, 0)));
    int used = numWorkers;
    int64_t next = first;
    for (int i = numWorkers - 1; i >= 0; --i) {
        // The remaining items spread evenly over the remaining slots.
        const int64_t c = total / (i + 1);
        if (c == 0) {
            --used;
            continue;
        }
        const int64_t high = next + (c - 1) * step;
        partitions[size_t(i)] = TPartitionInfo{int32_t(next), int32_t(high)};
        total -= c;
        next = high + step;
    }
    partitions.resize(size_t(std::max(used, 0)));
    return partitions;
}

namespace {

class TWeftParallelSimpleLoop final : public IWeftParallelSimpleLoop,
                                      public std::enable_shared_from_this<TWeftParallelSimpleLoop> {
public:
    TWeftParallelSimpleLoop(int32_t first, int32_t last, int32_t step) : FFirst(first), FLast(last), FStep(step)
    {
        if (step == 0)
            throw Exception(QStringLiteral("TWeftParallelSimpleLoop.Create: step must not be 0"));
        FNumTasks = WeftProcessorCount();
    }
    ~TWeftParallelSimpleLoop() override { FWorkers.WaitFor(INFINITE); }

    PWeftParallelSimpleLoop CancelWith(const PWeftCancellationToken& token) override
    {
        FCancelWith = token;
        return shared_from_this();
    }
    PWeftParallelSimpleLoop Initialize(const TWeftSimpleTaskInitializerDelegate& initializer) override
    {
        return Initialize(TWeftSimpleTaskInitializerTaskDelegate(
            [initializer](const PWeftTask&, int32_t k, int32_t from, int32_t to) { initializer(k, from, to); }));
    }
    PWeftParallelSimpleLoop Initialize(const TWeftSimpleTaskInitializerTaskDelegate& initializer) override
    {
        FInitializerDelegate = initializer;
        return shared_from_this();
    }
    PWeftParallelSimpleLoop Finalize(const TWeftSimpleTaskFinalizerDelegate& finalizer) override
    {
        return Finalize(TWeftSimpleTaskFinalizerTaskDelegate(
            [finalizer](const PWeftTask&, int32_t k, int32_t from, int32_t to) { finalizer(k, from, to); }));
    }
    PWeftParallelSimpleLoop Finalize(const TWeftSimpleTaskFinalizerTaskDelegate& finalizer) override
    {
        FFinalizerDelegate = finalizer;
        return shared_from_this();
    }
    PWeftParallelSimpleLoop NoWait() override
    {
        FNoWait = true;
        return shared_from_this();
    }
    PWeftParallelSimpleLoop NumTasks(int taskCount) override
    {
        FNumTasks = WeftResolveNumTasks(taskCount, "TWeftParallelSimpleLoop.NumTasks: the count must not be 0");
        FNumTasksManual = true;
        return shared_from_this();
    }
    PWeftParallelSimpleLoop OnStop(const TWeftTaskDelegate& stopCode) override
    {
        FOnStop = stopCode;
        return shared_from_this();
    }
    PWeftParallelSimpleLoop OnStop(const std::function<void()>& stopCode) override
    {
        return OnStop(WeftStopProc(stopCode));
    }
    PWeftParallelSimpleLoop OnStopInvoke(const std::function<void()>& stopCode) override
    {
        return OnStop(WeftStopInvoke(stopCode));
    }
    PWeftParallelSimpleLoop TaskConfig(const PWeftTaskConfig& config) override
    {
        FTaskConfig = config;
        return shared_from_this();
    }

    void Execute(const TWeftIteratorSimpleSimpleDelegate& loopBody) override
    {
        Run([this, loopBody](const PWeftTask&, int k) {
            Iterate(k, [&loopBody](int32_t, int32_t i) { loopBody(i); });
        });
    }
    void Execute(const TWeftIteratorSimpleDelegate& loopBody) override
    {
        Run([this, loopBody](const PWeftTask&, int k) { Iterate(k, loopBody); });
    }
    void Execute(const TWeftIteratorSimpleFullDelegate& loopBody) override
    {
        Run([this, loopBody](const PWeftTask& task, int k) {
            Iterate(k, [&loopBody, &task](int32_t taskIndex, int32_t i) { loopBody(task, taskIndex, i); });
        });
    }

    void ExecuteChunks(const TWeftSimpleTaskInitializerDelegate& partitionBody) override
    {
        Run([this, partitionBody](const PWeftTask&, int k) {
            const TPartitionInfo p = FPartition[size_t(k)];
            if (!(FCancelWith && FCancelWith->IsSignalled()))
                partitionBody(k, p.LowBound, p.HighBound);
        });
    }

    bool WaitFor(DWORD maxWait_ms) override { return FWorkers.WaitFor(maxWait_ms); }
    std::exception_ptr FatalException() override { return FWorkers.FatalException(); }
    std::exception_ptr DetachException() override { return FWorkers.DetachException(); }
    int NumWorkersStarted() override { return FWorkers.NumWorkers(); }

private:
    void Run(const TWeftWorkerGroup::TBody& iterate)
    {
        WeftAssert(!FWorkers.Started(), "TWeftParallelSimpleLoop.Execute: a loop runs once");
        int n = FNumTasks;
        if (FNoWait && !FNumTasksManual && n > 1)
            --n;
        FPartition = WeftCreatePartitions(FFirst, FLast, FStep, n);
        n = int(FPartition.size());
        FWorkers.Start(
            n, QStringLiteral("Parallel.For worker #"), 0, FTaskConfig, nullptr, nullptr,
            [this, iterate](const PWeftTask& task, int k) {
                const TPartitionInfo p = FPartition[size_t(k)];
                if (FInitializerDelegate)
                    FInitializerDelegate(task, k, p.LowBound, p.HighBound);
                iterate(task, k);
                if (FFinalizerDelegate)
                    FFinalizerDelegate(task, k, p.LowBound, p.HighBound);
            },
            FNoWait ? TWeftTaskDelegate([this](const PWeftTask& task) {
                if (FOnStop)
                    FOnStop(task);
            })
                    : TWeftTaskDelegate(),
            FNoWait && FOnStop);
        if (FNoWait)
            return;
        FWorkers.WaitFor(INFINITE);
        if (FOnStop)
            FOnStop(nullptr);
        if (std::exception_ptr e = FWorkers.DetachException())
            std::rethrow_exception(e);
    }

    // Runs the body over worker k's partition; the body is a template
    // parameter so the per-index call is a direct one.
    template <class Body>
    void Iterate(int k, const Body& body)
    {
        const TPartitionInfo p = FPartition[size_t(k)];
        const IWeftCancellationToken* token = FCancelWith.get();
        // 64-bit index, so a partition ending near the 32-bit limit ends.
        if (FStep > 0) {
            for (int64_t i = p.LowBound; i <= p.HighBound; i += FStep) {
                if (token && token->IsSignalled())
                    break;
                body(k, int32_t(i));
            }
        } else {
            for (int64_t i = p.LowBound; i >= p.HighBound; i += FStep) {
                if (token && token->IsSignalled())
                    break;
                body(k, int32_t(i));
            }
        }
    }

    PWeftCancellationToken FCancelWith;
    TWeftSimpleTaskFinalizerTaskDelegate FFinalizerDelegate;
    int32_t FFirst;
    TWeftSimpleTaskInitializerTaskDelegate FInitializerDelegate;
    int32_t FLast;
    bool FNoWait = false;
    int FNumTasks = 1;
    bool FNumTasksManual = false;
    TWeftTaskDelegate FOnStop;
    std::vector<TPartitionInfo> FPartition;
    int32_t FStep;
    PWeftTaskConfig FTaskConfig;
    TWeftWorkerGroup FWorkers;
};

}  // namespace

PWeftParallelSimpleLoop ParallelFor(int32_t first, int32_t last, int32_t step)
{
    return std::make_shared<TWeftParallelSimpleLoop>(first, last, step);
}
