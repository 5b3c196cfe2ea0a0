#include "tasks/WeftPipeline.h"

#include "tasks/OsWin32.h"
#include "tasks/WeftOwnerCall.h"

#include <atomic>
#include <cmath>
#include <mutex>

namespace {

int RoundHalfEven(double v)
{
    return int(std::nearbyint(v));  // the default rounding mode: halves to even
}

int ProcessorCount()
{
    return Environment()->Process()->Affinity()->Count();
}

class TWeftPipelineStage final : public IWeftPipelineStage {
public:
    TPipelineSimpleStageDelegate opsSimpleStage;
    TPipelineStageDelegate opsStage;
    TPipelineStageDelegateEx opsStageEx;
    PWeftTaskConfig opsTaskConfig;
    bool opsHandleExceptions = false;
    int opsNumTasks = 1;
    int opsThrottle = 0;
    int opsThrottleLow = 0;
    int opsThrottleLowSat = 0;
    PWeftBlockingCollection opsInput;
    PWeftBlockingCollection opsOutput;

    PWeftBlockingCollection GetInput() override { return opsInput; }
    PWeftBlockingCollection GetOutput() override { return opsOutput; }

    void SetNumTasks(int n)
    {
        WeftAssert(n != 0, "TWeftPipelineStage.SetNumTasks: NumTasks must not be 0");
        opsNumTasks = n > 0 ? n : n + ProcessorCount();
    }

    void Execute(const PWeftTask& task)
    {
        if (opsSimpleStage) {
            ExecuteSimpleStage(task);
        } else if (opsStage) {
            WeftAssert(!opsStageEx, "TWeftPipelineStage.Execute: Two stage delegates");
            opsStage(opsInput, opsOutput);
        } else {
            WeftAssert(bool(opsStageEx), "TWeftPipelineStage.Execute: No stage delegate");
            opsStageEx(opsInput, opsOutput, task);
        }
    }

private:
    void ExecuteSimpleStage(const PWeftTask& task)
    {
        const auto ex = std::dynamic_pointer_cast<IWeftTaskEx>(task);
        const PWeftCancellationToken token = ex ? ex->CancellationToken() : nullptr;
        TWeftValue output;
        const auto en = opsInput->GetEnumerator();
        while (en->MoveNext()) {
            if (token && token->IsSignalled())
                return;
            try {
                opsSimpleStage(en->Current(), output);
            } catch (...) {
                if (!opsOutput->TryAdd(TWeftValue(std::current_exception())))
                    return;
                output = TWeftValue();
                continue;
            }
            if (!output.IsEmpty()) {
                if (!opsOutput->TryAdd(output))
                    return;
                output = TWeftValue();
            }
        }
    }
};
using PStage = std::shared_ptr<TWeftPipelineStage>;

// What the stage tasks share (they never hold the pipeline).
struct TPipelineState {
    std::atomic<int> TotalRunning{0};
    THandle ShutDownComplete = CreateEvent(true, false);
    TWeftTaskDelegate OnStop;
    PWeftBlockingCollection LastOutput;
    std::mutex Lock;
};

class TWeftPipeline final : public IWeftPipeline, public std::enable_shared_from_this<TWeftPipeline> {
public:
    ~TWeftPipeline() override { Cancel(); }

    PWeftBlockingCollection GetInput() override { return opInput; }
    PWeftBlockingCollection GetOutput() override { return opOutput; }
    PWeftPipelineStage GetPipelineStage(int idx) override { return opStages.at(size_t(idx)); }

    void Cancel() override
    {
        opCancelWith->Signal();
        opInput->CompleteAdding();
        for (const PWeftBlockingCollection& q : opOutQueues)
            q->CompleteAdding();
    }
    PWeftPipeline From(const PWeftBlockingCollection& queue) override
    {
        opInput = queue;
        return shared_from_this();
    }
    PWeftPipeline HandleExceptions() override
    {
        if (opStages.empty())
            opHandleExceptions = true;
        for (size_t i = size_t(opCheckpoint); i < opStages.size(); ++i)
            opStages[i]->opsHandleExceptions = true;
        return shared_from_this();
    }
    PWeftPipeline NumTasks(int numTasks) override
    {
        WeftAssert(numTasks != 0, "TWeftPipeline.NumTasks: NumTasks must not be 0");
        const int n = numTasks > 0 ? numTasks : numTasks + ProcessorCount();
        if (opStages.empty())
            opNumTasks = n;
        for (size_t i = size_t(opCheckpoint); i < opStages.size(); ++i)
            opStages[i]->SetNumTasks(n);
        return shared_from_this();
    }
    PWeftPipeline OnStop(const std::function<void()>& stopCode) override
    {
        return OnStop(TWeftTaskDelegate([stopCode](const PWeftTask&) { stopCode(); }));
    }
    PWeftPipeline OnStop(const TWeftTaskDelegate& stopCode) override
    {
        opState->OnStop = stopCode;
        return shared_from_this();
    }
    PWeftPipeline OnStopInvoke(const std::function<void()>& stopCode) override
    {
        return OnStop(TWeftTaskDelegate([stopCode](const PWeftTask& task) {
            if (const auto ex = std::dynamic_pointer_cast<IWeftTaskEx>(task))
                ex->Invoke(stopCode);
        }));
    }
    PWeftPipeline NoThrottling() override { return Throttle(0, -1); }

    PWeftPipeline Run() override
    {
        WeftAssert(!opRunning, "TWeftPipeline.Run: Pipeline is already running");
        opRunning = true;
        int total = 0;
        for (const PStage& s : opStages)
            total += s->opsNumTasks;
        opState->TotalRunning = total;
        PWeftBlockingCollection current = opInput;
        std::vector<std::pair<PStage, std::shared_ptr<std::atomic<int>>>> starts;
        for (size_t i = 0; i < opStages.size(); ++i) {
            const PStage& stage = opStages[i];
            stage->opsInput = current;
            stage->opsOutput = i + 1 < opStages.size() ? CreateBlockingCollection() : opOutput;
            current = stage->opsOutput;
            if (stage->opsThrottle > 0)
                stage->opsOutput->SetThrottling(stage->opsThrottle, ProcessorCount() < total ? stage->opsThrottleLowSat
                                                                                              : stage->opsThrottleLow);
            stage->opsInput->ReraiseExceptions(!stage->opsHandleExceptions);
            opOutQueues.push_back(stage->opsOutput);
        }
        {
            std::lock_guard lock(opState->Lock);
            opState->LastOutput = opOutput;
        }
        opOutput->ReraiseExceptions(!opHandleExceptions);
        // Created first, started after: a fast first stage must not end
        // its output before the later stages are wired.
        std::vector<std::pair<PWeftTaskControl, PWeftTaskConfig>> tasks;
        for (size_t i = 0; i < opStages.size(); ++i) {
            const PStage stage = opStages[i];
            auto stageRunning = std::make_shared<std::atomic<int>>(stage->opsNumTasks);
            for (int j = 1; j <= stage->opsNumTasks; ++j) {
                QString name = QStringLiteral("Pipeline stage #%1").arg(i + 1);
                if (stage->opsNumTasks > 1)
                    name = QStringLiteral("%1 worker %2").arg(name).arg(j);
                opTaskNames.push_back(name);
                const std::shared_ptr<TPipelineState> state = opState;
                const PWeftTaskControl task = CreateTask(
                    TWeftTaskDelegate([stage, stageRunning, state](const PWeftTask& t) { StageBody(stage, *stageRunning, *state, t); }),
                    name);
                task->CancelWith(opCancelWith);
                Parallel::ApplyConfig(stage->opsTaskConfig, task);
                task->Unobserved();
                tasks.emplace_back(task, stage->opsTaskConfig);
            }
        }
        for (const auto& [task, config] : tasks)
            Parallel::Start(task, config);
        return shared_from_this();
    }

    PWeftPipeline Stage(const TPipelineSimpleStageDelegate& stage, const PWeftTaskConfig& taskConfig) override
    {
        AddStage(taskConfig)->opsSimpleStage = stage;
        return shared_from_this();
    }
    PWeftPipeline Stage(const TPipelineStageDelegate& stage, const PWeftTaskConfig& taskConfig) override
    {
        AddStage(taskConfig)->opsStage = stage;
        return shared_from_this();
    }
    PWeftPipeline Stage(const TPipelineStageDelegateEx& stage, const PWeftTaskConfig& taskConfig) override
    {
        AddStage(taskConfig)->opsStageEx = stage;
        return shared_from_this();
    }
    PWeftPipeline Stages(const std::vector<TPipelineSimpleStageDelegate>& stages, const PWeftTaskConfig& taskConfig) override
    {
        return AddStages(stages, taskConfig, &TWeftPipelineStage::opsSimpleStage);
    }
    PWeftPipeline Stages(const std::vector<TPipelineStageDelegate>& stages, const PWeftTaskConfig& taskConfig) override
    {
        return AddStages(stages, taskConfig, &TWeftPipelineStage::opsStage);
    }
    PWeftPipeline Stages(const std::vector<TPipelineStageDelegateEx>& stages, const PWeftTaskConfig& taskConfig) override
    {
        return AddStages(stages, taskConfig, &TWeftPipelineStage::opsStageEx);
    }

    PWeftPipeline Throttle(int numEntries, int unblockAtCount) override
    {
        WeftAssert(unblockAtCount < numEntries, "TWeftPipeline.Throttle: unblockAtCount must be below numEntries");
        const int low = unblockAtCount == 0 ? RoundHalfEven(numEntries * 0.75) : unblockAtCount;
        const int lowSat = unblockAtCount == 0 ? RoundHalfEven(numEntries * 0.25) : unblockAtCount;
        if (opStages.empty()) {
            opThrottle = numEntries;
            opThrottleLow = low;
            opThrottleLowSat = lowSat;
        }
        for (size_t i = size_t(opCheckpoint); i < opStages.size(); ++i) {
            opStages[i]->opsThrottle = numEntries;
            opStages[i]->opsThrottleLow = low;
            opStages[i]->opsThrottleLowSat = lowSat;
        }
        return shared_from_this();
    }

    bool WaitFor(int64_t timeout_ms) override
    {
        WeftAssert(opRunning, "TWeftPipeline.WaitFor: Pipeline is not running");
        return WeftOwnerWait(opState->ShutDownComplete, timeout_ms < 0 ? INFINITE : DWORD(timeout_ms)) ==
               WAIT_OBJECT_0;
    }

    std::vector<QString> TaskNames() override { return opTaskNames; }
    int StageNumTasks(int idx) override { return opStages.at(size_t(idx))->opsNumTasks; }
    std::vector<int> StageThrottle(int idx) override
    {
        const PStage& s = opStages.at(size_t(idx));
        return {s->opsThrottle, s->opsThrottleLow, s->opsThrottleLowSat};
    }

private:
    static void StageBody(const PStage& stage, std::atomic<int>& stageRunning, TPipelineState& state,
                          const PWeftTask& task)
    {
        try {
            stage->Execute(task);
        } catch (...) {
            PWeftBlockingCollection last;
            {
                std::lock_guard lock(state.Lock);
                last = state.LastOutput;
            }
            if (last)
                last->TryAdd(TWeftValue(std::current_exception()));
        }
        if (stageRunning.fetch_sub(1) == 1)
            stage->opsOutput->CompleteAdding();
        if (state.TotalRunning.fetch_sub(1) == 1) {
            if (state.OnStop)
                state.OnStop(task);
            SetEvent(state.ShutDownComplete);
        }
    }

    PStage AddStage(const PWeftTaskConfig& taskConfig)
    {
        auto s = std::make_shared<TWeftPipelineStage>();
        s->opsTaskConfig = taskConfig;
        s->opsHandleExceptions = opHandleExceptions;
        s->opsNumTasks = opNumTasks;
        s->opsThrottle = opThrottle;
        s->opsThrottleLow = opThrottleLow;
        s->opsThrottleLowSat = opThrottleLowSat;
        opStages.push_back(s);
        opCheckpoint = int(opStages.size()) - 1;
        return s;
    }

    template <class D>
    PWeftPipeline AddStages(const std::vector<D>& stages, const PWeftTaskConfig& taskConfig,
                            D TWeftPipelineStage::*member)
    {
        WeftAssert(!stages.empty(), "TWeftPipeline.Stages: No stages");
        const int checkpoint = int(opStages.size());
        for (const D& d : stages)
            (*AddStage(taskConfig)).*member = d;
        opCheckpoint = checkpoint;
        return shared_from_this();
    }

    PWeftCancellationToken opCancelWith = CreateWeftCancellationToken();
    int opCheckpoint = 0;
    bool opHandleExceptions = false;
    PWeftBlockingCollection opInput = CreateBlockingCollection();
    int opNumTasks = 1;
    PWeftBlockingCollection opOutput = CreateBlockingCollection();
    std::vector<PWeftBlockingCollection> opOutQueues;
    std::vector<PStage> opStages;
    int opThrottle = 10240;
    int opThrottleLow = 7680;
    int opThrottleLowSat = 2560;
    bool opRunning = false;
    std::shared_ptr<TPipelineState> opState = std::make_shared<TPipelineState>();
    std::vector<QString> opTaskNames;
};

}  // namespace

PWeftPipeline CreatePipeline()
{
    return std::make_shared<TWeftPipeline>();
}
