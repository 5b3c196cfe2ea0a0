#pragma once
// A chain of stages joined by blocking collections: the first stage reads
// the pipeline's input, each stage writes into the collection the next one
// reads, the last writes into the pipeline's output. Every stage runs on
// one or more tasks of its own (on the shared pool, or as its task
// configuration says). The last task of a stage completes the stage's
// output; the last task of the pipeline calls the stop handler and signals
// the shutdown event. Exceptions inside a stage travel onwards as values.
//
// The stage tasks never hold the pipeline: its owner keeps it until
// WaitFor has returned true.

#include "tasks/WeftBlockingCollection.h"
#include "tasks/WeftParallel.h"

#include <functional>
#include <memory>
#include <vector>

using TPipelineSimpleStageDelegate = std::function<void(const TWeftValue& input, TWeftValue& output)>;
using TPipelineStageDelegate =
    std::function<void(const PWeftBlockingCollection& input, const PWeftBlockingCollection& output)>;
using TPipelineStageDelegateEx = std::function<void(const PWeftBlockingCollection& input,
                                                    const PWeftBlockingCollection& output, const PWeftTask& task)>;

class IWeftPipelineStage : public IInterface {
public:
    // Valid after Run.
    virtual PWeftBlockingCollection GetInput() = 0;
    virtual PWeftBlockingCollection GetOutput() = 0;
};
using PWeftPipelineStage = std::shared_ptr<IWeftPipelineStage>;

class IWeftPipeline;
using PWeftPipeline = std::shared_ptr<IWeftPipeline>;

class IWeftPipeline : public IInterface {
public:
    virtual PWeftBlockingCollection GetInput() = 0;
    virtual PWeftBlockingCollection GetOutput() = 0;
    virtual PWeftPipelineStage GetPipelineStage(int idx) = 0;
    // Signals the stage tasks' token and completes every collection.
    virtual void Cancel() = 0;
    virtual PWeftPipeline From(const PWeftBlockingCollection& queue) = 0;
    // The modifiers act on the stages of the latest Stage/Stages call, or
    // on the defaults before any stage exists.
    virtual PWeftPipeline HandleExceptions() = 0;
    virtual PWeftPipeline NumTasks(int numTasks) = 0;
    virtual PWeftPipeline OnStop(const std::function<void()>& stopCode) = 0;
    virtual PWeftPipeline OnStop(const TWeftTaskDelegate& stopCode) = 0;
    virtual PWeftPipeline OnStopInvoke(const std::function<void()>& stopCode) = 0;
    virtual PWeftPipeline NoThrottling() = 0;
    // Once; a second call fails "TWeftPipeline.Run: Pipeline is already
    // running".
    virtual PWeftPipeline Run() = 0;
    virtual PWeftPipeline Stage(const TPipelineSimpleStageDelegate& stage, const PWeftTaskConfig& taskConfig = nullptr) = 0;
    virtual PWeftPipeline Stage(const TPipelineStageDelegate& stage, const PWeftTaskConfig& taskConfig = nullptr) = 0;
    virtual PWeftPipeline Stage(const TPipelineStageDelegateEx& stage, const PWeftTaskConfig& taskConfig = nullptr) = 0;
    virtual PWeftPipeline Stages(const std::vector<TPipelineSimpleStageDelegate>& stages,
                                 const PWeftTaskConfig& taskConfig = nullptr) = 0;
    virtual PWeftPipeline Stages(const std::vector<TPipelineStageDelegate>& stages,
                                 const PWeftTaskConfig& taskConfig = nullptr) = 0;
    virtual PWeftPipeline Stages(const std::vector<TPipelineStageDelegateEx>& stages,
                                 const PWeftTaskConfig& taskConfig = nullptr) = 0;
    // unblockAtCount 0: low marks at 3/4 and 1/4 of numEntries.
    virtual PWeftPipeline Throttle(int numEntries, int unblockAtCount = 0) = 0;
    // -1 waits without limit; serves the stage tasks' synchronous calls.
    virtual bool WaitFor(int64_t timeout_ms) = 0;

    // The names the stage tasks got (for diagnostics and tests).
    virtual std::vector<QString> TaskNames() = 0;
    // A stage's task count and throttle marks (high, low, saturated low).
    virtual int StageNumTasks(int idx) = 0;
    virtual std::vector<int> StageThrottle(int idx) = 0;
};

PWeftPipeline CreatePipeline();
