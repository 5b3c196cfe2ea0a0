#pragma once
// The background worker runs work items one after another (or on several
// tasks at once) on pooled threads and hands every finished item back to
// the thread that started it: a hidden window of that thread calls the
// completion handler for each item. Each item gets an id (1, 2, 3 ... per
// worker) and one call cancels every item up to an id: its token reads
// signalled from then on, a cancelled item that has not started skips its
// work and still reaches the completion handler.
//
// The owner's waits (WaitFor, Terminate, releasing the worker) serve the
// synchronous calls that the running item makes to the owner thread
// (Synchronize), so releasing the worker while the item waits for the
// owner cannot deadlock; such a call gives up with EWeftCallCancelled once
// the item is cancelled.
//
//   worker = Parallel::BackgroundWorker()->NumTasks(1)->OnRequestDone(done)
//                ->TaskConfig(cfg)->Execute(cycle);
//   worker->Schedule(worker->CreateWorkItem(2000));
//   ...
//   worker->CancelAll(); worker->Terminate(5); worker.reset();

#include "tasks/WeftOwnerCall.h"
#include "tasks/WeftParallel.h"

#include <functional>
#include <memory>

class IWeftWorkItem;
using PWeftWorkItem = std::shared_ptr<IWeftWorkItem>;
class IWeftWorkItemConfig;
using PWeftWorkItemConfig = std::shared_ptr<IWeftWorkItemConfig>;

using TWeftBackgroundWorkerDelegate = std::function<void(const PWeftWorkItem& workItem)>;
using TWeftWorkItemDoneDelegate =
    std::function<void(const PWeftBackgroundWorker& worker, const PWeftWorkItem& workItem)>;
using TWeftTaskInitializerDelegate = std::function<void(TWeftValue& taskState)>;
using TWeftTaskFinalizerDelegate = std::function<void(const TWeftValue& taskState)>;

class IWeftWorkItem : public IInterface {
public:
    // Applies the worker's cancel mark on every read.
    virtual PWeftCancellationToken GetCancellationToken() = 0;
    virtual TWeftValue GetData() = 0;
    // Raises the trapped exception (detaching it) when the item is
    // exceptional.
    virtual TWeftValue GetResult() = 0;
    virtual bool GetSkipCompletionHandler() = 0;
    virtual PWeftTaskEx GetTask() = 0;
    virtual TWeftValue GetTaskState() = 0;
    virtual int64_t GetUniqueID() = 0;
    virtual void SetResult(const TWeftValue& value) = 0;
    virtual void SetSkipCompletionHandler(bool value) = 0;
    // The trapped exception, handed to the caller; the result becomes a
    // pointer value without address.
    virtual std::exception_ptr DetachException() = 0;
    // The trapped exception, still owned by the item.
    virtual std::exception_ptr FatalException() = 0;
    virtual bool IsExceptional() = 0;
    // Runs fn on the worker's owner thread and waits for it (see the file
    // comment); from the owner thread itself it runs at once.
    virtual void Synchronize(const std::function<void()>& fn) = 0;

    PWeftCancellationToken CancellationToken() { return GetCancellationToken(); }
    TWeftValue Data() { return GetData(); }
    TWeftValue Result() { return GetResult(); }
    PWeftTaskEx Task() { return GetTask(); }
    int64_t UniqueID() { return GetUniqueID(); }
};

class IWeftWorkItemConfig : public IInterface {
public:
    virtual PWeftWorkItemConfig OnExecute(const TWeftBackgroundWorkerDelegate& value) = 0;
    virtual PWeftWorkItemConfig OnRequestDone(const TWeftWorkItemDoneDelegate& value) = 0;
    virtual PWeftWorkItemConfig OnRequestDone_Asy(const TWeftWorkItemDoneDelegate& value) = 0;
    virtual TWeftBackgroundWorkerDelegate GetOnExecute() = 0;
    virtual TWeftWorkItemDoneDelegate GetOnRequestDone() = 0;
    virtual TWeftWorkItemDoneDelegate GetOnRequestDone_Asy() = 0;
};

class IWeftBackgroundWorker : public IInterface {
public:
    virtual PWeftWorkItem CreateWorkItem(const TWeftValue& data) = 0;
    // Cancels every item created so far.
    virtual void CancelAll() = 0;
    // Replaces the mark (also lowering it); a mark <= 0 cancels nothing.
    virtual void CancelAll(int64_t upToUniqueID) = 0;
    virtual PWeftWorkItemConfig Config() = 0;
    virtual PWeftBackgroundWorker Execute(const TWeftBackgroundWorkerDelegate& workItemDelegate) = 0;
    virtual PWeftBackgroundWorker Finalize(const TWeftTaskFinalizerDelegate& taskFinalizer) = 0;
    virtual PWeftBackgroundWorker Initialize(const TWeftTaskInitializerDelegate& taskInitializer) = 0;
    // 0 fails an assertion; n < 0: the process's processor count plus n.
    virtual PWeftBackgroundWorker NumTasks(int numTasks) = 0;
    virtual PWeftBackgroundWorker OnRequestDone(const TWeftWorkItemDoneDelegate& handler) = 0;
    virtual PWeftBackgroundWorker OnRequestDone_Asy(const TWeftWorkItemDoneDelegate& handler) = 0;
    virtual PWeftBackgroundWorker OnStop(const std::function<void()>& stopCode) = 0;
    virtual PWeftBackgroundWorker OnStop(const TWeftTaskDelegate& stopCode) = 0;
    // Runs the procedure on the owner thread when the last task stops.
    virtual PWeftBackgroundWorker OnStopInvoke(const std::function<void()>& stopCode) = 0;
    // Raises "Adding to completed collection" after WaitFor/Terminate.
    virtual void Schedule(const PWeftWorkItem& workItem, const PWeftWorkItemConfig& workItemConfig = nullptr) = 0;
    // Stored only (nothing reads it).
    virtual PWeftBackgroundWorker StopOn(const PWeftCancellationToken& token) = 0;
    virtual PWeftBackgroundWorker TaskConfig(const PWeftTaskConfig& config) = 0;
    // maxWait in ms, -1 (or INFINITE) for no limit; see the file comment.
    virtual bool Terminate(int64_t maxWait_ms) = 0;
    virtual bool WaitFor(int64_t maxWait_ms) = 0;
    // The owner thread's call target (null before Execute).
    virtual PWeftOwnerCalls OwnerCalls() = 0;
};

PWeftBackgroundWorker CreateBackgroundWorker();
