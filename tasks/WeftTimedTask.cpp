#include "tasks/WeftTimedTask.h"

namespace {

enum : uint16_t { MSG_SET_TASK = 1, MSG_EXECUTE_NOW = 2, MSG_APPLY_TIMER = 3 };
constexpr int32_t CTimerID = 1;

class TWeftTimedTaskWorker final : public TWeftWorker {
public:
    TWeftTimedTaskWorker()
    {
        SetMessageHandler(MSG_SET_TASK, [this](TWeftMessage& msg) { FTask = msg.MsgData.Unwrap<TWeftTaskDelegate>(); });
        SetMessageHandler(MSG_EXECUTE_NOW, [this](TWeftMessage&) { RunTask(); });
        SetMessageHandler(MSG_APPLY_TIMER, [this](TWeftMessage& msg) { ApplyTimer(msg.MsgData.CastToInt64()); });
    }

private:
    void RunTask()
    {
        if (FTask)
            FTask(Task());
    }
    void ApplyTimer(int64_t interval)
    {
        auto task = std::dynamic_pointer_cast<IWeftTaskEx>(Task());
        if (!task)
            return;
        if (interval <= 0)
            task->ClearTimer(CTimerID);
        else
            task->SetTimer(CTimerID, DWORD(interval), TWeftMessageID::Create([this](int32_t) { RunTask(); }));
    }

    TWeftTaskDelegate FTask;
};

class TWeftTimedTask final : public IWeftTimedTask, public std::enable_shared_from_this<TWeftTimedTask> {
public:
    TWeftTimedTask()
    {
        FWorker = CreateTask(std::make_shared<TWeftTimedTaskWorker>(), QStringLiteral("Timed task"));
        FWorker->Unobserved()->Run();
    }
    ~TWeftTimedTask() override { FWorker->Terminate(INFINITE); }

    bool GetActive() override { return FActive; }
    int GetInterval() override { return FInterval; }
    void SetActive(bool value) override
    {
        if (value == FActive)
            return;
        FActive = value;
        ApplyTimer();
    }
    void SetInterval(int interval_ms) override
    {
        if (interval_ms <= 0)
            throw Exception(QStringLiteral("TWeftTimedTask.SetInterval: Invalid interval %1").arg(interval_ms));
        FInterval = interval_ms;
        ApplyTimer();
    }
    PWeftTimedTask Every(int interval_ms) override
    {
        SetInterval(interval_ms);
        return shared_from_this();
    }
    PWeftTimedTask Execute(const std::function<void()>& aTask) override
    {
        return Execute(TWeftTaskDelegate([aTask](const PWeftTask&) { aTask(); }));
    }
    PWeftTimedTask Execute(const TWeftTaskDelegate& aTask) override
    {
        // Messages are handled in order: the procedure is in place before
        // the timer that follows.
        FWorker->Comm()->Send(MSG_SET_TASK, TWeftValue::Wrap(aTask));
        FActive = true;
        ApplyTimer();
        return shared_from_this();
    }
    void ExecuteNow() override
    {
        ApplyTimer();
        FWorker->Comm()->Send(MSG_EXECUTE_NOW);
    }
    void Start() override { SetActive(true); }
    void Stop() override { SetActive(false); }
    PWeftTimedTask TaskConfig(const PWeftTaskConfig& config) override
    {
        Parallel::ApplyConfig(config, FWorker);
        return shared_from_this();
    }
    bool Terminate(DWORD maxWait_ms) override { return FWorker->Terminate(maxWait_ms); }
    bool WaitFor(DWORD maxWait_ms) override { return FWorker->WaitFor(maxWait_ms); }
    PWeftTaskControl TaskControl() override { return FWorker; }

private:
    void ApplyTimer()
    {
        const int interval = FActive && FInterval > 0 ? FInterval : 0;
        FWorker->Comm()->Send(MSG_APPLY_TIMER, TWeftValue(int32_t(interval)));
    }

    bool FActive = false;
    int FInterval = 0;
    PWeftTaskControl FWorker;
};

}  // namespace

PWeftTimedTask ParallelTimedTask()
{
    return std::make_shared<TWeftTimedTask>();
}
