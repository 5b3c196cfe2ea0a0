#pragma once
// The parallel task: one procedure run on several tasks at once (by
// default one per processor, one fewer when the caller does not wait),
// through a join; exceptions of the runs are collected by the join.
//
//   ParallelTask()->NumTasks(4)->Execute([&] { Work(); });

#include "tasks/WeftJoin.h"

class IWeftParallelTask;
using PWeftParallelTask = std::shared_ptr<IWeftParallelTask>;

class IWeftParallelTask {
public:
    virtual ~IWeftParallelTask() = default;
    virtual std::exception_ptr DetachException() = 0;
    virtual PWeftParallelTask Execute(const std::function<void()>& aTask) = 0;
    virtual PWeftParallelTask Execute(const TWeftTaskDelegate& aTask) = 0;
    virtual std::exception_ptr FatalException() = 0;
    virtual bool IsExceptional() = 0;
    virtual PWeftParallelTask NoWait() = 0;
    // n > 0 runs, n < 0 the processor count + n; 0 fails an assertion.
    virtual PWeftParallelTask NumTasks(int numTasks) = 0;
    virtual PWeftParallelTask OnStop(const std::function<void()>& stopCode) = 0;
    virtual PWeftParallelTask OnStop(const TWeftTaskDelegate& stopCode) = 0;
    virtual PWeftParallelTask OnStopInvoke(const std::function<void()>& stopCode) = 0;
    virtual PWeftParallelTask TaskConfig(const PWeftTaskConfig& config) = 0;
    virtual bool WaitFor(DWORD timeout_ms) = 0;
};

PWeftParallelTask ParallelTask();
