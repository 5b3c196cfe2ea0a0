#pragma once
// The timed task: runs a procedure periodically on a thread of its own. The
// owner sets the interval, the procedure and whether the timer is active,
// and can trigger a run at once; it talks to the worker in the task's
// thread only by task messages, so every owner call returns at once and the
// procedure always runs in the timed task's thread.
//
//   auto timed = ParallelTimedTask()->Every(500)->Execute([] { Poll(); });
//   timed->Stop(); ... timed->Start();

#include "tasks/WeftParallel.h"

#include <functional>
#include <memory>

class IWeftTimedTask;
using PWeftTimedTask = std::shared_ptr<IWeftTimedTask>;

class IWeftTimedTask {
public:
    virtual ~IWeftTimedTask() = default;
    virtual bool GetActive() = 0;
    virtual int GetInterval() = 0;
    bool Active() { return GetActive(); }
    int Interval() { return GetInterval(); }
    virtual void SetActive(bool value) = 0;
    // Raises "TWeftTimedTask.SetInterval: Invalid interval %d" for 0 or less.
    virtual void SetInterval(int interval_ms) = 0;
    virtual PWeftTimedTask Every(int interval_ms) = 0;
    virtual PWeftTimedTask Execute(const std::function<void()>& aTask) = 0;
    // Sets the procedure and activates the timer.
    virtual PWeftTimedTask Execute(const TWeftTaskDelegate& aTask) = 0;
    // Runs the procedure now; the next periodic run comes a full interval later.
    virtual void ExecuteNow() = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    // Applied to the running task at once.
    virtual PWeftTimedTask TaskConfig(const PWeftTaskConfig& config) = 0;
    virtual bool Terminate(DWORD maxWait_ms = INFINITE) = 0;
    virtual bool WaitFor(DWORD maxWait_ms = INFINITE) = 0;
    virtual PWeftTaskControl TaskControl() = 0;
};

PWeftTimedTask ParallelTimedTask();
