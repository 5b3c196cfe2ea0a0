#include "tasks/WeftBackgroundWorker.h"

#include "platform/os/BlockRecycler.h"
#include "tasks/OsWin32.h"
#include "tasks/WeftBlockingCollection.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

constexpr UINT CWorkItemDoneMessage = 0x0400;  // WM_USER: the output has items
constexpr UINT CDeallocateMessage = 0x0401;    // free the window on its thread

// Wakes the owner's window once per burst of finished items: while a posted
// wake-up has not been taken up, further items post nothing, since the
// window procedure drains everything present. The procedure re-arms it
// before it drains, so an item added meanwhile either is drained or posts.
class TBurstObserver final : public TWeftContainerWindowsMessageObserver {
public:
    explicit TBurstObserver(HWND window) : FWindow(window) {}
    void Notify() override
    {
        if (!FPosted.exchange(true, std::memory_order_acq_rel))
            Send(CWorkItemDoneMessage, 0, 0);
    }
    HWND GetHandle() const override { return FWindow; }
    void Send(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (!PostMessage(FWindow, message, wParam, lParam)) {
            FPosted.store(false, std::memory_order_release);
            throw EOSError(QStringLiteral("PostMessage failed, error %1").arg(GetLastError()));
        }
    }
    void Rearm() { FPosted.exchange(false, std::memory_order_acq_rel); }

private:
    const HWND FWindow;
    std::atomic<bool> FPosted{false};
};

class TWeftWorkItemConfig final : public IWeftWorkItemConfig, public std::enable_shared_from_this<TWeftWorkItemConfig> {
public:
    TWeftWorkItemConfig() = default;
    explicit TWeftWorkItemConfig(const std::shared_ptr<TWeftWorkItemConfig>& defaults)
    {
        if (defaults) {
            FOnExecute = defaults->GetOnExecute();
            FOnRequestDone = defaults->GetOnRequestDone();
            FOnRequestDone_Asy = defaults->GetOnRequestDone_Asy();
        }
    }
    PWeftWorkItemConfig OnExecute(const TWeftBackgroundWorkerDelegate& value) override
    {
        std::lock_guard lock(FLock);
        FOnExecute = value;
        return shared_from_this();
    }
    PWeftWorkItemConfig OnRequestDone(const TWeftWorkItemDoneDelegate& value) override
    {
        std::lock_guard lock(FLock);
        FOnRequestDone = value;
        return shared_from_this();
    }
    PWeftWorkItemConfig OnRequestDone_Asy(const TWeftWorkItemDoneDelegate& value) override
    {
        std::lock_guard lock(FLock);
        FOnRequestDone_Asy = value;
        return shared_from_this();
    }
    TWeftBackgroundWorkerDelegate GetOnExecute() override
    {
        std::lock_guard lock(FLock);
        return FOnExecute;
    }
    TWeftWorkItemDoneDelegate GetOnRequestDone() override
    {
        std::lock_guard lock(FLock);
        return FOnRequestDone;
    }
    TWeftWorkItemDoneDelegate GetOnRequestDone_Asy() override
    {
        std::lock_guard lock(FLock);
        return FOnRequestDone_Asy;
    }

private:
    std::mutex FLock;
    TWeftBackgroundWorkerDelegate FOnExecute;
    TWeftWorkItemDoneDelegate FOnRequestDone;
    TWeftWorkItemDoneDelegate FOnRequestDone_Asy;
};

class TWeftWorkItem final : public IWeftWorkItem {
public:
    TWeftWorkItem(const TWeftValue& data, int64_t uniqueID, std::shared_ptr<std::atomic<int64_t>> cancelMark,
                  std::weak_ptr<TWeftOwnerCalls> owner)
        : FCancelAllUpToID_ref(std::move(cancelMark)), FData(data), FOwner(std::move(owner)), FUniqueID(uniqueID)
    {
    }

    PWeftCancellationToken GetCancellationToken() override
    {
        PWeftCancellationToken token;
        {
            std::lock_guard lock(FLock);
            if (!FCancellationToken)
                FCancellationToken = CreateWeftCancellationToken();
            token = FCancellationToken;
        }
        const int64_t mark = FCancelAllUpToID_ref->load();
        if (mark > 0 && FUniqueID <= mark)
            token->Signal();
        return token;
    }
    TWeftValue GetData() override { return FData; }
    TWeftValue GetResult() override
    {
        std::unique_lock lock(FLock);
        if (FResult.IsException()) {
            std::exception_ptr e = FResult.DetachException();
            FResult.SetAsPointer(nullptr);
            lock.unlock();
            std::rethrow_exception(e);
        }
        return FResult;
    }
    bool GetSkipCompletionHandler() override { return FSkipCompletionHandler.load(); }
    PWeftTaskEx GetTask() override
    {
        std::lock_guard lock(FLock);
        return FTask;
    }
    TWeftValue GetTaskState() override
    {
        std::lock_guard lock(FLock);
        return FTaskState;
    }
    int64_t GetUniqueID() override { return FUniqueID; }
    void SetResult(const TWeftValue& value) override
    {
        std::lock_guard lock(FLock);
        FResult = value;
    }
    void SetSkipCompletionHandler(bool value) override { FSkipCompletionHandler = value; }
    std::exception_ptr DetachException() override
    {
        std::lock_guard lock(FLock);
        if (!FResult.IsException())
            return nullptr;
        std::exception_ptr e = FResult.DetachException();
        FResult.SetAsPointer(nullptr);
        return e;
    }
    std::exception_ptr FatalException() override
    {
        std::lock_guard lock(FLock);
        return FResult.IsException() ? FResult.CastToExceptionDef(nullptr) : nullptr;
    }
    bool IsExceptional() override
    {
        std::lock_guard lock(FLock);
        return FResult.IsException();
    }
    void Synchronize(const std::function<void()>& fn) override
    {
        const PWeftOwnerCalls owner = FOwner.lock();
        if (!owner)
            throw EWeftCallCancelled(QStringLiteral("Synchronous call target has ended"));
        owner->Call(fn, GetCancellationToken());
    }

    std::shared_ptr<IWeftWorkItemConfig> Config()
    {
        std::lock_guard lock(FLock);
        return FConfig;
    }
    void SetConfig(const std::shared_ptr<IWeftWorkItemConfig>& config)
    {
        std::lock_guard lock(FLock);
        FConfig = config;
    }
    void SetTask(const PWeftTaskEx& task, const TWeftValue& taskState)
    {
        std::lock_guard lock(FLock);
        FTask = task;
        FTaskState = taskState;
    }

private:
    std::mutex FLock;
    std::shared_ptr<std::atomic<int64_t>> FCancelAllUpToID_ref;
    PWeftCancellationToken FCancellationToken;
    std::shared_ptr<IWeftWorkItemConfig> FConfig;
    const TWeftValue FData;
    std::weak_ptr<TWeftOwnerCalls> FOwner;
    TWeftValue FResult;
    std::atomic<bool> FSkipCompletionHandler{false};
    PWeftTaskEx FTask;
    TWeftValue FTaskState;
    const int64_t FUniqueID;
};
using PWorkItemImpl = std::shared_ptr<TWeftWorkItem>;

// What the worker tasks share with the worker (the tasks never hold the
// worker itself, so releasing it is always the owner's decision).
struct TWorkerCore {
    PWeftBlockingCollection Input = CreateBlockingCollection();
    PWeftBlockingCollection Output = CreateBlockingCollection();
    std::shared_ptr<std::atomic<int64_t>> CancelMark = std::make_shared<std::atomic<int64_t>>(0);
    std::mutex RunningLock;
    std::vector<std::weak_ptr<TWeftWorkItem>> RunningItems;
    TWeftTaskInitializerDelegate TaskInitializer;
    TWeftTaskFinalizerDelegate TaskFinalizer;
    TWeftTaskDelegate OnStop;
    std::atomic<int> ActiveTasks{0};
    std::weak_ptr<IWeftBackgroundWorker> Worker;

    void StageLoop(const PWeftTask& task);
    // Signals the tokens of running items that the mark covers, so that an
    // item waiting in a synchronous call hears of it at once.
    void SignalRunning()
    {
        std::lock_guard lock(RunningLock);
        for (const auto& weak : RunningItems)
            if (const PWorkItemImpl item = weak.lock())
                item->GetCancellationToken();
    }
};

// The worker whose stage loop runs on this thread (see the destructor).
thread_local const TWorkerCore* tStageOf = nullptr;

void TWorkerCore::StageLoop(const PWeftTask& task)
{
    const PWeftTaskEx taskEx = std::dynamic_pointer_cast<IWeftTaskEx>(task);
    struct TStage {
        TWorkerCore& C;
        const PWeftTaskEx& T;
        TWeftValue State;
        explicit TStage(TWorkerCore& c, const PWeftTaskEx& t) : C(c), T(t) { tStageOf = &C; }
        ~TStage()
        {
            tStageOf = nullptr;
            if (C.ActiveTasks.fetch_sub(1) == 1 && C.OnStop)
                C.OnStop(T);
        }
    } stage(*this, taskEx);
    try {
        if (TaskInitializer)
            TaskInitializer(stage.State);
        struct TFinal {
            TWorkerCore& C;
            TWeftValue& S;
            ~TFinal() noexcept(false)
            {
                if (C.TaskFinalizer)
                    C.TaskFinalizer(S);
            }
        } final{*this, stage.State};
        const auto en = Input->GetEnumerator();
        while (en->MoveNext()) {
            const TWeftValue value = en->Current();
            if (!value.IsInterface() && !value.IsEmpty())
                throw Exception(QStringLiteral("TWeftValue cannot be converted to interface"));
            const PWorkItemImpl item = std::dynamic_pointer_cast<TWeftWorkItem>(value.CastToInterfaceDef(nullptr));
            if (!item)
                continue;
            item->SetTask(taskEx, stage.State);
            const std::shared_ptr<IWeftWorkItemConfig> config = item->Config();
            {
                std::lock_guard lock(RunningLock);
                RunningItems.push_back(item);
            }
            if (!item->GetCancellationToken()->IsSignalled()) {
                try {
                    if (const TWeftBackgroundWorkerDelegate work = config->GetOnExecute())
                        work(item);
                } catch (...) {
                    item->SetResult(TWeftValue(std::current_exception()));
                }
            }
            {
                std::lock_guard lock(RunningLock);
                RunningItems.erase(std::remove_if(RunningItems.begin(), RunningItems.end(),
                                                  [&](const std::weak_ptr<TWeftWorkItem>& w) {
                                                      const auto p = w.lock();
                                                      return !p || p == item;
                                                  }),
                                   RunningItems.end());
            }
            if (!item->GetSkipCompletionHandler())
                if (const TWeftWorkItemDoneDelegate asy = config->GetOnRequestDone_Asy())
                    asy(Worker.lock(), item);
            if (item->GetSkipCompletionHandler())
                continue;
            if (config->GetOnRequestDone())
                Output->TryAdd(TWeftValue(IInterfacePtr(item)));
        }
    } catch (...) {
        // Travels through the output and is raised on the owner thread.
        Output->TryAdd(TWeftValue(std::current_exception()));
    }
}

class TWeftBackgroundWorker final : public IWeftBackgroundWorker,
                                    public std::enable_shared_from_this<TWeftBackgroundWorker> {
public:
    TWeftBackgroundWorker() : FDefaultConfig(std::make_shared<TWeftWorkItemConfig>())
    {
        FCore->Output->ReraiseExceptions(true);
        // Items mostly come one at a time from the owner, each a round trip
        // after the last: a waiting task does not spin hard, but watches
        // for the next item about as long as a round trip takes, yielding
        // its processor meanwhile, and only then sleeps.
        FCore->Input->SpinBeforeWaiting(false);
        FCore->Input->WatchBeforeWaiting_us(40);
    }

    ~TWeftBackgroundWorker() override
    {
        if (tStageOf == FCore.get()) {
            // Released from inside its own work: nothing can wait here.
            FCore->Input->CompleteAdding();
            ReleaseWindow();
            return;
        }
        Terminate(-1);
    }

    PWeftWorkItem CreateWorkItem(const TWeftValue& data) override
    {
        const int64_t id = int64_t(uint32_t(FUniqueID->Increment()));
        return std::allocate_shared<TWeftWorkItem>(TRecyclingAllocator<TWeftWorkItem>(), data, id, FCore->CancelMark,
                                                   FOwner);
    }
    void CancelAll() override { CancelAll(int64_t(FUniqueID->Value())); }
    void CancelAll(int64_t upToUniqueID) override
    {
        FCore->CancelMark->store(upToUniqueID);
        FCore->SignalRunning();
    }
    PWeftWorkItemConfig Config() override { return std::make_shared<TWeftWorkItemConfig>(FDefaultConfig); }

    PWeftBackgroundWorker Execute(const TWeftBackgroundWorkerDelegate& workItemDelegate) override
    {
        WeftAssert(FNumTasks >= 1, "TWeftBackgroundWorker.Execute: NumTasks must be at least 1");
        WeftAssert(FTasks.empty(), "TWeftBackgroundWorker.Execute: Worker is running already");
        FDefaultConfig->OnExecute(workItemDelegate);
        FCore->Worker = weak_from_this();
        FOwner = TWeftOwnerCalls::OfCurrentThread();
        std::weak_ptr<TWeftBackgroundWorker> weak = weak_from_this();
        FWindow = OsAllocateHWnd([weak](TMessage& msg) {
            if (msg.Msg == CDeallocateMessage) {
                OsDeallocateHWnd(HWND(msg.WParam));
                return;
            }
            if (msg.Msg != CWorkItemDoneMessage)
                return;
            if (const std::shared_ptr<TWeftBackgroundWorker> self = weak.lock())
                self->ObserverWndProc();
            msg.Result = 1;
        });
        FObserver = std::make_unique<TBurstObserver>(FWindow);
        FCore->Output->ContainerSubject().Attach(FObserver.get(), coiNotifyOnAllInserts);

        FCore->ActiveTasks = FNumTasks;
        const std::shared_ptr<TWorkerCore> core = FCore;
        for (int i = 0; i < FNumTasks; ++i) {
            const PWeftTaskControl task = CreateTask(
                TWeftTaskDelegate([core](const PWeftTask& t) { core->StageLoop(t); }),
                QStringLiteral("Background worker"));
            Parallel::ApplyConfig(FTaskConfig, task);
            task->Unobserved();
            FTasks.push_back(task);
        }
        for (const PWeftTaskControl& task : FTasks)
            Parallel::Start(task, FTaskConfig);
        return shared_from_this();
    }
    PWeftBackgroundWorker Finalize(const TWeftTaskFinalizerDelegate& taskFinalizer) override
    {
        FCore->TaskFinalizer = taskFinalizer;
        return shared_from_this();
    }
    PWeftBackgroundWorker Initialize(const TWeftTaskInitializerDelegate& taskInitializer) override
    {
        FCore->TaskInitializer = taskInitializer;
        return shared_from_this();
    }
    PWeftBackgroundWorker NumTasks(int numTasks) override
    {
        WeftAssert(numTasks != 0, "TWeftBackgroundWorker.NumTasks: NumTasks must not be 0");
        FNumTasks = numTasks > 0 ? numTasks : Environment()->Process()->Affinity()->Count() + numTasks;
        return shared_from_this();
    }
    PWeftBackgroundWorker OnRequestDone(const TWeftWorkItemDoneDelegate& handler) override
    {
        FDefaultConfig->OnRequestDone(handler);
        return shared_from_this();
    }
    PWeftBackgroundWorker OnRequestDone_Asy(const TWeftWorkItemDoneDelegate& handler) override
    {
        FDefaultConfig->OnRequestDone_Asy(handler);
        return shared_from_this();
    }
    PWeftBackgroundWorker OnStop(const std::function<void()>& stopCode) override
    {
        return OnStop(TWeftTaskDelegate([stopCode](const PWeftTask&) { stopCode(); }));
    }
    PWeftBackgroundWorker OnStop(const TWeftTaskDelegate& stopCode) override
    {
        FCore->OnStop = stopCode;
        return shared_from_this();
    }
    PWeftBackgroundWorker OnStopInvoke(const std::function<void()>& stopCode) override
    {
        return OnStop(TWeftTaskDelegate([stopCode](const PWeftTask& task) {
            if (const auto ex = std::dynamic_pointer_cast<IWeftTaskEx>(task))
                ex->Invoke(stopCode);
        }));
    }
    void Schedule(const PWeftWorkItem& workItem, const PWeftWorkItemConfig& workItemConfig) override
    {
        const PWorkItemImpl item = std::dynamic_pointer_cast<TWeftWorkItem>(workItem);
        WeftAssert(item != nullptr, "TWeftBackgroundWorker.Schedule: Not a work item of a background worker");
        item->SetConfig(workItemConfig ? workItemConfig : PWeftWorkItemConfig(FDefaultConfig));
        FCore->Input->Add(TWeftValue(IInterfacePtr(item)));
    }
    PWeftBackgroundWorker StopOn(const PWeftCancellationToken& token) override
    {
        FStopOn = token;
        return shared_from_this();
    }
    PWeftBackgroundWorker TaskConfig(const PWeftTaskConfig& config) override
    {
        FTaskConfig = config;
        return shared_from_this();
    }

    bool WaitFor(int64_t maxWait_ms) override
    {
        if (FTasks.empty())
            return true;
        FCore->Input->CompleteAdding();
        const int64_t deadline = maxWait_ms < 0 ? -1 : OsTimeGetTime64() + maxWait_ms;
        for (const PWeftTaskControl& task : FTasks) {
            auto* internals = dynamic_cast<IWeftTaskControlInternals*>(task.get());
            DWORD wait = INFINITE;
            if (deadline >= 0) {
                const int64_t left = deadline - OsTimeGetTime64();
                wait = left > 0 ? DWORD(left) : 0;
            }
            if (WeftOwnerWait(internals->GetTerminatedEvent(), wait) != WAIT_OBJECT_0)
                return false;
        }
        return true;
    }

    bool Terminate(int64_t maxWait_ms) override
    {
        if (!WaitFor(maxWait_ms))
            return false;
        ReleaseWindow();
        // The tasks have ended: deliver what they left and let go of them.
        std::vector<PWeftTaskControl> tasks;
        tasks.swap(FTasks);
        for (const PWeftTaskControl& task : tasks)
            if (IsOwnerThread())
                task->Terminate(0);
        return true;
    }

    PWeftOwnerCalls OwnerCalls() override { return FOwner.lock(); }

private:
    bool IsOwnerThread() const
    {
        const PWeftOwnerCalls owner = FOwner.lock();
        return owner && owner->ThreadID() == GetThreadId();
    }

    void ReleaseWindow()
    {
        if (FObserver) {
            FCore->Output->ContainerSubject().Detach(FObserver.get(), coiNotifyOnAllInserts);
            FObserver.reset();
        }
        if (FWindow) {
            if (IsOwnerThread())
                OsDeallocateHWnd(FWindow);
            else
                PostMessage(FWindow, CDeallocateMessage, WPARAM(FWindow), 0);
            FWindow = 0;
        }
    }

    void ObserverWndProc()
    {
        const PWeftBackgroundWorker self = shared_from_this();
        if (FObserver)
            FObserver->Rearm();
        TWeftValue value;
        while (FCore->Output->TryTake(value, 0)) {
            const PWorkItemImpl item = std::dynamic_pointer_cast<TWeftWorkItem>(value.CastToInterfaceDef(nullptr));
            value = TWeftValue();
            if (!item)
                continue;
            if (const TWeftWorkItemDoneDelegate done = item->Config()->GetOnRequestDone())
                done(self, item);
        }
    }

    std::shared_ptr<TWorkerCore> FCore = std::make_shared<TWorkerCore>();
    std::shared_ptr<TWeftWorkItemConfig> FDefaultConfig;
    int FNumTasks = 1;
    std::unique_ptr<TBurstObserver> FObserver;
    std::weak_ptr<TWeftOwnerCalls> FOwner;
    PWeftCancellationToken FStopOn;
    PWeftTaskConfig FTaskConfig;
    PWeftCounter FUniqueID = CreateCounter(0);
    HWND FWindow = 0;
    std::vector<PWeftTaskControl> FTasks;
};

}  // namespace

PWeftBackgroundWorker CreateBackgroundWorker()
{
    return std::make_shared<TWeftBackgroundWorker>();
}
