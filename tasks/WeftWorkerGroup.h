#pragma once
// What the join and the parallel loops share: a group of worker tasks that
// counts itself finished whatever way each worker's body ends, keeps the
// first exception a body raised, and lets the owner wait for the group;
// the worker-count rule of the high-level API; and the stop handlers.
//
// The group counts n + 1: every worker takes one unit when it ends, the
// last one runs the "last worker" step and then takes the final unit,
// which wakes the owner's wait.

#include "tasks/WeftParallel.h"
#include "tasks/WeftSync.h"

#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Processors in the process's affinity (at least 1).
int WeftProcessorCount();
// n > 0: n; n < 0: the processor count + n (at least 1); 0 fails an
// assertion with the given message.
int WeftResolveNumTasks(int n, const char* zeroMessage);

// A stop handler that ignores its task.
TWeftTaskDelegate WeftStopProc(const std::function<void()>& proc);
// A stop handler that runs the procedure on the owner's thread: through
// the task's Invoke when it gets a task (the last worker of a loop that did
// not wait), directly when it gets none (the owner's own waiting path).
TWeftTaskDelegate WeftStopInvoke(const std::function<void()>& proc);

class TWeftWorkerGroup {
public:
    using TBody = std::function<void(const PWeftTask& task, int index)>;
    using TSetup = std::function<void(const PWeftTaskControl& task, int index)>;

    // Starts numWorkers tasks named namePrefix + (index + nameOffset). Each
    // gets lock (when given), the configuration and setup, and is started
    // on the configuration's pool. onLast runs in the last worker that ends
    // (may be empty). With no worker the group is finished at once.
    //
    // An observed group has its tasks watched by the calling thread's
    // monitor, which keeps each task's control until it ended and carries
    // the tasks' Invoke calls to this thread; it is needed when the owner
    // does not wait and must hear from the workers, or lets the group go
    // while it runs. Watching costs far more than starting a task, so
    // otherwise the group keeps the controls itself and must not be
    // destroyed before its workers ended (WaitFor).
    void Start(int numWorkers, const QString& namePrefix, int nameOffset, const PWeftTaskConfig& config,
               const std::shared_ptr<IWeftCriticalSection>& lock, const TSetup& setup, const TBody& body,
               const TWeftTaskDelegate& onLast, bool observed = false);
    bool Started() const { return FCounter != nullptr; }
    // True when every worker ended within the time; serves the calling
    // thread's synchronous calls meanwhile.
    bool WaitFor(DWORD timeout_ms);
    // The first exception a worker body raised (kept), or null.
    std::exception_ptr FatalException();
    // Hands the first exception to the caller and forgets it.
    std::exception_ptr DetachException();
    void RecordException(std::exception_ptr e);
    int NumWorkers() const { return FNumWorkers; }

private:
    struct TShared {
        PWeftResourceCount Counter;
        std::mutex Lock;
        std::exception_ptr Exception;
    };
    std::shared_ptr<TShared> FShared = std::make_shared<TShared>();
    std::vector<PWeftTaskControl> FControls;
    PWeftResourceCount FCounter;
    int FNumWorkers = 0;
};
