#pragma once
// The fork-join: code splits its work into computations that run on a fixed
// set of worker tasks and waits for their results. A thread that waits for
// a result does not sleep while computations are pending: it takes and runs
// them itself, so recursive splitting cannot run out of threads.
//
//   auto fj = ParallelForkJoin<int64_t>();
//   auto left = fj->Compute([&] { return Fib(n - 1); });
//   int64_t r = Fib(n - 2) + left->Value();
//
// An exception of a computation stays with that computation and is raised
// again by its Value, TryValue or Await, in the waiting thread. TryValue's
// time-out is honoured. Releasing the fork-join lets its workers end once
// the computations still queued have run.

#include "tasks/WeftBlockingCollection.h"
#include "tasks/WeftWorkerGroup.h"

#include <atomic>
#include <functional>
#include <memory>

// What every computation has, whatever its result type.
class TWeftComputeBase : public IInterface {
public:
    explicit TWeftComputeBase(PWeftBlockingCollection input);
    ~TWeftComputeBase() override;
    // Runs the computation; a second run fails an assertion.
    void Execute();
    // Runs it unless it ran or runs already (the workers' and helpers' path).
    void TryExecute();
    bool IsDone() const { return FComputed.load(std::memory_order_acquire); }
    // Waits for the result, running pending computations meanwhile; false
    // on time-out; raises the computation's exception.
    bool Await(DWORD timeout_ms);

protected:
    virtual void Run() = 0;

private:
    void RunOnce();
    PWeftBlockingCollection FInput;
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FComputed{false};
    std::exception_ptr FError;
    THandle FDone;
};

template <class T>
using TWeftForkJoinDelegate = std::function<T()>;

template <class T>
class IWeftCompute {
public:
    virtual ~IWeftCompute() = default;
    virtual void Execute() = 0;
    virtual bool IsDone() = 0;
    // False when the result did not exist within the time.
    virtual bool TryValue(DWORD timeout_ms, T& value) = 0;
    virtual T Value() = 0;
};
template <class T>
using PWeftCompute = std::shared_ptr<IWeftCompute<T>>;

template <class T>
class TWeftCompute final : public TWeftComputeBase, public IWeftCompute<T> {
public:
    TWeftCompute(TWeftForkJoinDelegate<T> action, PWeftBlockingCollection input)
        : TWeftComputeBase(std::move(input)), FAction(std::move(action))
    {
    }
    void Execute() override { TWeftComputeBase::Execute(); }
    bool IsDone() override { return TWeftComputeBase::IsDone(); }
    bool TryValue(DWORD timeout_ms, T& value) override
    {
        if (!Await(timeout_ms))
            return false;
        value = FResult;
        return true;
    }
    T Value() override
    {
        Await(INFINITE);
        return FResult;
    }

protected:
    void Run() override { FResult = FAction(); }

private:
    TWeftForkJoinDelegate<T> FAction;
    T FResult{};
};

// The part of the fork-join that does not depend on the result type: the
// input collection and its workers.
class TWeftForkJoinPool {
public:
    TWeftForkJoinPool();
    ~TWeftForkJoinPool();
    void SetNumTasks(int n);
    void SetTaskConfig(const PWeftTaskConfig& config) { FTaskConfig = config; }
    // Queues the computation, starting the workers on first use.
    void Add(const std::shared_ptr<TWeftComputeBase>& computation);
    const PWeftBlockingCollection& Input();
    int NumTasks() const { return FNumTasks; }

private:
    int FNumTasks;
    PWeftBlockingCollection FPoolInput;
    PWeftTaskConfig FTaskConfig;
    TWeftWorkerGroup FTaskPool;
};

template <class T>
class IWeftForkJoin {
public:
    virtual ~IWeftForkJoin() = default;
    virtual PWeftCompute<T> Compute(const TWeftForkJoinDelegate<T>& action) = 0;
    // n > 0 workers, n < 0 the processor count + n; 0 fails an assertion.
    // No effect once the workers run.
    virtual std::shared_ptr<IWeftForkJoin<T>> NumTasks(int numTasks) = 0;
    virtual std::shared_ptr<IWeftForkJoin<T>> TaskConfig(const PWeftTaskConfig& config) = 0;
};
template <class T>
using PWeftForkJoin = std::shared_ptr<IWeftForkJoin<T>>;

template <class T>
class TWeftForkJoin final : public IWeftForkJoin<T>, public std::enable_shared_from_this<TWeftForkJoin<T>> {
public:
    PWeftCompute<T> Compute(const TWeftForkJoinDelegate<T>& action) override
    {
        auto computation = std::make_shared<TWeftCompute<T>>(action, FPool.Input());
        FPool.Add(computation);
        return computation;
    }
    PWeftForkJoin<T> NumTasks(int numTasks) override
    {
        FPool.SetNumTasks(numTasks);
        return this->shared_from_this();
    }
    PWeftForkJoin<T> TaskConfig(const PWeftTaskConfig& config) override
    {
        FPool.SetTaskConfig(config);
        return this->shared_from_this();
    }
    int WorkerCount() const { return FPool.NumTasks(); }

private:
    TWeftForkJoinPool FPool;
};

template <class T>
PWeftForkJoin<T> ParallelForkJoin()
{
    return std::make_shared<TWeftForkJoin<T>>();
}

// Computations without a result.
class IWeftComputeVoid {
public:
    virtual ~IWeftComputeVoid() = default;
    virtual void Execute() = 0;
    virtual bool IsDone() = 0;
    // Waits like Value and drops the result.
    virtual void Await() = 0;
};
using PWeftComputeVoid = std::shared_ptr<IWeftComputeVoid>;

class IWeftForkJoinVoid {
public:
    virtual ~IWeftForkJoinVoid() = default;
    virtual PWeftComputeVoid Compute(const std::function<void()>& action) = 0;
    virtual std::shared_ptr<IWeftForkJoinVoid> NumTasks(int numTasks) = 0;
    virtual std::shared_ptr<IWeftForkJoinVoid> TaskConfig(const PWeftTaskConfig& config) = 0;
};
using PWeftForkJoinVoid = std::shared_ptr<IWeftForkJoinVoid>;

PWeftForkJoinVoid ParallelForkJoin();
