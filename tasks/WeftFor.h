#pragma once
// The parallel For loop over an arithmetic range of 32-bit integers: the
// range is cut once into contiguous partitions, one per worker task, and
// each worker runs the body for every index of its partition. No data
// manager, no stealing, no results; per-task initializer and finalizer
// calls receive the partition's bounds.
//
//   ParallelFor(1, 1000)->Execute([&](int32_t i) { Use(i); });
//
// A body, initializer or finalizer that raises ends its worker; the worker
// still counts as finished, and the waiting Execute raises the first such
// exception once all workers ended (a loop that did not wait reports it
// through WaitFor's caller: FatalException, DetachException).

#include "tasks/WeftWorkerGroup.h"

#include <functional>
#include <memory>
#include <vector>

using TWeftIteratorSimpleSimpleDelegate = std::function<void(int32_t i)>;
using TWeftIteratorSimpleDelegate = std::function<void(int32_t taskIndex, int32_t i)>;
using TWeftIteratorSimpleFullDelegate = std::function<void(const PWeftTask& task, int32_t taskIndex, int32_t i)>;
using TWeftSimpleTaskInitializerDelegate = std::function<void(int32_t taskIndex, int32_t fromIndex, int32_t toIndex)>;
using TWeftSimpleTaskFinalizerDelegate = TWeftSimpleTaskInitializerDelegate;
using TWeftSimpleTaskInitializerTaskDelegate =
    std::function<void(const PWeftTask& task, int32_t taskIndex, int32_t fromIndex, int32_t toIndex)>;
using TWeftSimpleTaskFinalizerTaskDelegate = TWeftSimpleTaskInitializerTaskDelegate;

struct TPartitionInfo {
    int32_t LowBound = 0;
    int32_t HighBound = 0;
};

// Cuts first..last (by step) into at most numWorkers partitions; entry i
// is worker i's. The first value lands in the highest-index partition.
std::vector<TPartitionInfo> WeftCreatePartitions(int32_t first, int32_t last, int32_t step, int numWorkers);

class IWeftParallelSimpleLoop;
using PWeftParallelSimpleLoop = std::shared_ptr<IWeftParallelSimpleLoop>;

class IWeftParallelSimpleLoop {
public:
    virtual ~IWeftParallelSimpleLoop() = default;
    virtual PWeftParallelSimpleLoop CancelWith(const PWeftCancellationToken& token) = 0;
    virtual PWeftParallelSimpleLoop Initialize(const TWeftSimpleTaskInitializerDelegate& initializer) = 0;
    virtual PWeftParallelSimpleLoop Initialize(const TWeftSimpleTaskInitializerTaskDelegate& initializer) = 0;
    virtual PWeftParallelSimpleLoop Finalize(const TWeftSimpleTaskFinalizerDelegate& finalizer) = 0;
    virtual PWeftParallelSimpleLoop Finalize(const TWeftSimpleTaskFinalizerTaskDelegate& finalizer) = 0;
    virtual PWeftParallelSimpleLoop NoWait() = 0;
    // n > 0 workers, n < 0 the processor count + n; 0 fails an assertion.
    virtual PWeftParallelSimpleLoop NumTasks(int taskCount) = 0;
    virtual PWeftParallelSimpleLoop OnStop(const TWeftTaskDelegate& stopCode) = 0;
    virtual PWeftParallelSimpleLoop OnStop(const std::function<void()>& stopCode) = 0;
    virtual PWeftParallelSimpleLoop OnStopInvoke(const std::function<void()>& stopCode) = 0;
    virtual PWeftParallelSimpleLoop TaskConfig(const PWeftTaskConfig& config) = 0;
    virtual void Execute(const TWeftIteratorSimpleSimpleDelegate& loopBody) = 0;
    virtual void Execute(const TWeftIteratorSimpleDelegate& loopBody) = 0;
    virtual void Execute(const TWeftIteratorSimpleFullDelegate& loopBody) = 0;
    // One call per worker with its whole partition (from, to, by the loop's
    // step), for bodies too cheap to pay a call per index; the body checks
    // a cancellation token itself.
    virtual void ExecuteChunks(const TWeftSimpleTaskInitializerDelegate& partitionBody) = 0;
    // True when all workers finished within the time.
    virtual bool WaitFor(DWORD maxWait_ms) = 0;
    virtual std::exception_ptr FatalException() = 0;
    virtual std::exception_ptr DetachException() = 0;
    // The workers the last Execute started (after dropping empty partitions).
    virtual int NumWorkersStarted() = 0;
};

// Raises "TWeftParallelSimpleLoop.Create: step must not be 0".
PWeftParallelSimpleLoop ParallelFor(int32_t first, int32_t last, int32_t step = 1);
