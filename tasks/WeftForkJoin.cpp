#include "tasks/WeftForkJoin.h"

#include "tasks/OsWin32.h"

#include <algorithm>

TWeftComputeBase::TWeftComputeBase(PWeftBlockingCollection input)
    : FInput(std::move(input)), FDone(CreateEvent(true, false))
{
}

TWeftComputeBase::~TWeftComputeBase() = default;

void TWeftComputeBase::Execute()
{
    WeftAssert(!FStarted.exchange(true), "TWeftCompute.Execute: the computation ran already");
    RunOnce();
}

void TWeftComputeBase::TryExecute()
{
    if (!FStarted.exchange(true))
        RunOnce();
}

void TWeftComputeBase::RunOnce()
{
    try {
        Run();
    } catch (...) {
        FError = std::current_exception();
    }
    FComputed.store(true, std::memory_order_release);
    SetEvent(FDone);
}

bool TWeftComputeBase::Await(DWORD timeout_ms)
{
    const int64_t start = OsTimeGetTime64();
    while (!FComputed.load(std::memory_order_acquire)) {
        // Help: whatever is pending may be (or may lead to) our result.
        TWeftValue taken;
        if (FInput->TryTake(taken, 0)) {
            if (auto c = std::dynamic_pointer_cast<TWeftComputeBase>(taken.CastToInterface()))
                c->TryExecute();
            continue;
        }
        // Ours is running elsewhere: wait for it, looking again for new
        // pending work now and then.
        DWORD slice = 1;
        if (timeout_ms != INFINITE) {
            const int64_t elapsed = OsTimeGetTime64() - start;
            if (elapsed >= int64_t(timeout_ms))
                return FComputed.load(std::memory_order_acquire) ? Await(0) : false;
            slice = DWORD(std::min<int64_t>(1, int64_t(timeout_ms) - elapsed));
        }
        WaitForSingleObject(FDone, slice);
    }
    if (FError)
        std::rethrow_exception(FError);
    return true;
}

TWeftForkJoinPool::TWeftForkJoinPool()
{
    FNumTasks = std::max(0, WeftProcessorCount() - 1);
}

TWeftForkJoinPool::~TWeftForkJoinPool()
{
    // The workers end once the queued computations ran; they keep the
    // collection alive themselves.
    if (FPoolInput)
        FPoolInput->CompleteAdding();
}

void TWeftForkJoinPool::SetNumTasks(int n)
{
    if (FTaskPool.Started())
        return;
    FNumTasks = WeftResolveNumTasks(n, "TWeftForkJoin.NumTasks: the count must not be 0");
}

const PWeftBlockingCollection& TWeftForkJoinPool::Input()
{
    if (!FPoolInput) {
        // Not self-completing: idle workers wait for the next computation
        // instead of closing the fork-join for good.
        FPoolInput = CreateBlockingCollection();
        if (FNumTasks > 0) {
            PWeftBlockingCollection input = FPoolInput;
            FTaskPool.Start(
                FNumTasks, QStringLiteral("ForkJoin worker #"), 1, FTaskConfig, nullptr, nullptr,
                [input](const PWeftTask&, int) {
                    TWeftValue taken;
                    while (input->Take(taken)) {
                        if (auto c = std::dynamic_pointer_cast<TWeftComputeBase>(taken.CastToInterface()))
                            c->TryExecute();
                        taken.Clear();
                    }
                },
                nullptr, /*observed*/ true);
        }
    }
    return FPoolInput;
}

void TWeftForkJoinPool::Add(const std::shared_ptr<TWeftComputeBase>& computation)
{
    Input()->Add(TWeftValue(IInterfacePtr(computation)));
}

namespace {

class TWeftComputeVoid final : public IWeftComputeVoid {
public:
    explicit TWeftComputeVoid(PWeftCompute<bool> compute) : FCompute(std::move(compute)) {}
    void Execute() override { FCompute->Execute(); }
    bool IsDone() override { return FCompute->IsDone(); }
    void Await() override { FCompute->Value(); }

private:
    PWeftCompute<bool> FCompute;
};

class TWeftForkJoinVoid final : public IWeftForkJoinVoid, public std::enable_shared_from_this<TWeftForkJoinVoid> {
public:
    PWeftComputeVoid Compute(const std::function<void()>& action) override
    {
        return std::make_shared<TWeftComputeVoid>(FForkJoin->Compute([action] {
            action();
            return true;
        }));
    }
    PWeftForkJoinVoid NumTasks(int numTasks) override
    {
        FForkJoin->NumTasks(numTasks);
        return shared_from_this();
    }
    PWeftForkJoinVoid TaskConfig(const PWeftTaskConfig& config) override
    {
        FForkJoin->TaskConfig(config);
        return shared_from_this();
    }

private:
    PWeftForkJoin<bool> FForkJoin = ParallelForkJoin<bool>();
};

}  // namespace

PWeftForkJoinVoid ParallelForkJoin()
{
    return std::make_shared<TWeftForkJoinVoid>();
}
