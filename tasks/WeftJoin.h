#pragma once
// The join: runs a list of independent procedures in parallel on a limited
// number of worker tasks and, unless told not to wait, returns when all of
// them ended. Exceptions of the procedures are collected, each with the
// procedure's number, into one EJoinException raised in the waiting
// thread. All procedures share a cancellation flag and a flag raised once
// any of them failed, both read through their join state.
//
//   ParallelJoin()->Task([&] { A(); })->Task([&] { B(); })->Execute();
//
// A join without procedures starts no worker and returns at once.

#include "tasks/WeftWorkerGroup.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Several exceptions of one join; the message lists the inner messages,
// joined by ";", a space and CR LF, in the order they were added.
class EJoinException : public Exception {
public:
    struct TJoinInnerException {
        std::exception_ptr FatalException;
        int TaskNumber = 0;
    };

    EJoinException() = default;
    void Add(int taskNumber, std::exception_ptr exception);
    int Count() const { return int(FExceptions.size()); }
    TJoinInnerException GetInner(int idx) const;
    TJoinInnerException operator[](int idx) const { return GetInner(idx); }
    // Removes the entry and returns its exception; the message is rebuilt
    // from the entries that remain.
    std::exception_ptr DetachInner(int idx);

private:
    void RebuildMessage();
    std::vector<std::pair<int, std::exception_ptr>> FExceptions;
};

// The message of any captured exception.
QString WeftExceptionMessage(const std::exception_ptr& e);

class IWeftJoinState {
public:
    virtual ~IWeftJoinState() = default;
    virtual PWeftTask GetTask() = 0;
    PWeftTask Task() { return GetTask(); }
    virtual void Cancel() = 0;
    virtual bool IsCancelled() = 0;
    virtual bool IsExceptional() = 0;
};
using PWeftJoinState = std::shared_ptr<IWeftJoinState>;

using TWeftJoinDelegate = std::function<void(const PWeftJoinState& joinState)>;

class IWeftParallelJoin;
using PWeftParallelJoin = std::shared_ptr<IWeftParallelJoin>;

class IWeftParallelJoin {
public:
    virtual ~IWeftParallelJoin() = default;
    virtual PWeftParallelJoin Cancel() = 0;
    // The collected exception (an EJoinException), handed to the caller.
    virtual std::exception_ptr DetachException() = 0;
    // Waiting mode: waits and raises the collected exception; returns null.
    // With NoWait: returns the join at once.
    virtual PWeftParallelJoin Execute() = 0;
    // The collected exception, still kept by the join.
    virtual std::exception_ptr FatalException() = 0;
    virtual bool IsCancelled() = 0;
    virtual bool IsExceptional() = 0;
    virtual PWeftParallelJoin NoWait() = 0;
    // n > 0 workers, n < 0 the processor count + n; 0 fails an assertion.
    virtual PWeftParallelJoin NumTasks(int numTasks) = 0;
    virtual PWeftParallelJoin OnStop(const std::function<void()>& stopCode) = 0;
    virtual PWeftParallelJoin OnStop(const TWeftTaskDelegate& stopCode) = 0;
    virtual PWeftParallelJoin OnStopInvoke(const std::function<void()>& stopCode) = 0;
    virtual PWeftParallelJoin Task(const std::function<void()>& task) = 0;
    virtual PWeftParallelJoin Task(const TWeftJoinDelegate& task) = 0;
    virtual PWeftParallelJoin TaskConfig(const PWeftTaskConfig& config) = 0;
    // False on time-out; raises the collected exception (forgetting it)
    // when all ended and one was collected.
    virtual bool WaitFor(DWORD timeout_ms) = 0;
    // The workers the last Execute started.
    virtual int NumWorkersStarted() = 0;
};

PWeftParallelJoin ParallelJoin();
PWeftParallelJoin ParallelJoin(const std::vector<std::function<void()>>& tasks);
