#include "tasks/WeftWorkerGroup.h"

#include "tasks/WeftEnvironment.h"
#include "tasks/WeftOwnerCall.h"

int WeftProcessorCount()
{
    const int n = Environment()->Process()->Affinity()->Count();
    return n > 0 ? n : 1;
}

int WeftResolveNumTasks(int n, const char* zeroMessage)
{
    WeftAssert(n != 0, zeroMessage);
    if (n > 0)
        return n;
    const int resolved = WeftProcessorCount() + n;
    WeftAssert(resolved > 0, zeroMessage);
    return resolved;
}

TWeftTaskDelegate WeftStopProc(const std::function<void()>& proc)
{
    return [proc](const PWeftTask&) { proc(); };
}

TWeftTaskDelegate WeftStopInvoke(const std::function<void()>& proc)
{
    return [proc](const PWeftTask& task) {
        if (auto ex = std::dynamic_pointer_cast<IWeftTaskEx>(task))
            ex->Invoke(proc);
        else
            proc();
    };
}

void TWeftWorkerGroup::Start(int numWorkers, const QString& namePrefix, int nameOffset,
                             const PWeftTaskConfig& config, const std::shared_ptr<IWeftCriticalSection>& lock,
                             const TSetup& setup, const TBody& body, const TWeftTaskDelegate& onLast,
                             bool observed)
{
    WeftAssert(!FCounter, "TWeftWorkerGroup.Start: workers started already");
    FNumWorkers = numWorkers;
    FCounter = CreateResourceCount(numWorkers + 1);
    FShared->Counter = FCounter;
    if (numWorkers <= 0) {
        int left = 0;
        FCounter->TryAllocate(left, 0);
        return;
    }
    std::shared_ptr<TShared> shared = FShared;
    for (int i = 0; i < numWorkers; ++i) {
        PWeftTaskControl task = CreateTask(
            [shared, body, onLast, i](const PWeftTask& t) {
                try {
                    body(t, i);
                } catch (...) {
                    std::lock_guard guard(shared->Lock);
                    if (!shared->Exception)
                        shared->Exception = std::current_exception();
                }
                // Counted whatever way the body ended, so no wait hangs.
                if (shared->Counter->Allocate() == 1) {
                    try {
                        if (onLast)
                            onLast(t);
                    } catch (...) {
                        std::lock_guard guard(shared->Lock);
                        if (!shared->Exception)
                            shared->Exception = std::current_exception();
                    }
                    shared->Counter->Allocate();
                }
            },
            namePrefix + QString::number(i + nameOffset));
        if (lock)
            task->WithLock(lock);
        Parallel::ApplyConfig(config, task);
        if (observed)
            task->Unobserved();
        else
            FControls.push_back(task);
        if (setup)
            setup(task, i);
        Parallel::Start(task, config);
    }
}

bool TWeftWorkerGroup::WaitFor(DWORD timeout_ms)
{
    if (!FCounter)
        return true;
    return WeftOwnerWait(FCounter->Handle(), timeout_ms) == WAIT_OBJECT_0;
}

std::exception_ptr TWeftWorkerGroup::FatalException()
{
    std::lock_guard guard(FShared->Lock);
    return FShared->Exception;
}

std::exception_ptr TWeftWorkerGroup::DetachException()
{
    std::lock_guard guard(FShared->Lock);
    return std::exchange(FShared->Exception, nullptr);
}

void TWeftWorkerGroup::RecordException(std::exception_ptr e)
{
    std::lock_guard guard(FShared->Lock);
    if (!FShared->Exception)
        FShared->Exception = std::move(e);
}
