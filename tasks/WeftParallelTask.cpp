#include "tasks/WeftParallelTask.h"

namespace {

class TWeftParallelTask final : public IWeftParallelTask, public std::enable_shared_from_this<TWeftParallelTask> {
public:
    TWeftParallelTask() : optJoin(ParallelJoin()), optNumTasks(-WeftProcessorCount())
    {
        optJoin->NumTasks(WeftProcessorCount());
    }

    std::exception_ptr DetachException() override { return optJoin->DetachException(); }
    PWeftParallelTask Execute(const std::function<void()>& aTask) override
    {
        return Execute(WeftStopProc(aTask));
    }
    PWeftParallelTask Execute(const TWeftTaskDelegate& aTask) override
    {
        const TWeftJoinDelegate proc = [aTask](const PWeftJoinState& state) { aTask(state->Task()); };
        // A count below zero means "not set": the processor count, less
        // the caller's own when it does not wait.
        const int count = optNumTasks < 0 ? -optNumTasks : optNumTasks;
        optJoin->NumTasks(count);
        for (int i = 0; i < count; ++i)
            optJoin->Task(proc);
        // A waiting join waits and raises the collected exception itself.
        optJoin->Execute();
        return shared_from_this();
    }
    std::exception_ptr FatalException() override { return optJoin->FatalException(); }
    bool IsExceptional() override { return optJoin->IsExceptional(); }
    PWeftParallelTask NoWait() override
    {
        optJoin->NoWait();
        if (optNumTasks < -1) {
            ++optNumTasks;
            optJoin->NumTasks(-optNumTasks);
        }
        optNoWait = true;
        return shared_from_this();
    }
    PWeftParallelTask NumTasks(int numTasks) override
    {
        optNumTasks = WeftResolveNumTasks(numTasks, "TWeftParallelTask.NumTasks: the count must not be 0");
        optJoin->NumTasks(optNumTasks);
        return shared_from_this();
    }
    PWeftParallelTask OnStop(const std::function<void()>& stopCode) override
    {
        optJoin->OnStop(stopCode);
        return shared_from_this();
    }
    PWeftParallelTask OnStop(const TWeftTaskDelegate& stopCode) override
    {
        optJoin->OnStop(stopCode);
        return shared_from_this();
    }
    PWeftParallelTask OnStopInvoke(const std::function<void()>& stopCode) override
    {
        optJoin->OnStopInvoke(stopCode);
        return shared_from_this();
    }
    PWeftParallelTask TaskConfig(const PWeftTaskConfig& config) override
    {
        optJoin->TaskConfig(config);
        return shared_from_this();
    }
    bool WaitFor(DWORD timeout_ms) override { return optJoin->WaitFor(timeout_ms); }

private:
    PWeftParallelJoin optJoin;
    bool optNoWait = false;
    int optNumTasks;
};

}  // namespace

PWeftParallelTask ParallelTask()
{
    return std::make_shared<TWeftParallelTask>();
}
