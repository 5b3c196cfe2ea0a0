#include "tasks/WeftTask.h"

#include "tasks/WeftHooks.h"
#include "tasks/WeftInit.h"

// --- Shared information ----------------------------------------------------------

PWeftCancellationToken TWeftSharedTaskInfo::CancellationToken()
{
    std::lock_guard lock(ostiLock_);
    if (!ostiCancellationToken)
        ostiCancellationToken = CreateWeftCancellationToken();
    return ostiCancellationToken;
}

PWeftTwoWayChannel TWeftSharedTaskInfo::Channel(bool create)
{
    std::lock_guard lock(ostiLock_);
    if (!ostiCommChannel && create) {
        ostiCommChannel = CreateTwoWayChannel(ostiQueueLength, ostiTerminatedEvent.Handle());
        // Attached before anyone can send through the new channel.
        std::lock_guard monitorLock(ostiMonitorLock);
        if (ostiMonitor)
            ostiCommChannel->Endpoint2()->Writer()->ContainerSubject().Attach(ostiMonitor.get(),
                                                                            coiNotifyOnAllInserts);
    }
    return ostiCommChannel;
}

void TWeftSharedTaskInfo::InstallMonitor(std::unique_ptr<TWeftContainerWindowsMessageObserver> observer)
{
    ostiMonitor = std::move(observer);
    ostiMonitored.store(true, std::memory_order_release);
    if (ostiCommChannel)
        ostiCommChannel->Endpoint2()->Writer()->ContainerSubject().Attach(ostiMonitor.get(), coiNotifyOnAllInserts);
}

void TWeftSharedTaskInfo::SetCancellationToken(const PWeftCancellationToken& token)
{
    std::lock_guard lock(ostiLock_);
    ostiCancellationToken = token;
}

// --- Task side --------------------------------------------------------------------

TWeftTask::TWeftTask(PWeftTaskParts parts) : otParts_ref(std::move(parts)), otUniqueID(otParts_ref->Info.ostiUniqueID)
{
}

std::shared_ptr<TWeftTaskExecutor> TWeftTask::Executor()
{
    std::lock_guard lock(otRefLock);
    return otParts_ref ? std::shared_ptr<TWeftTaskExecutor>(otParts_ref, &otParts_ref->Executor) : nullptr;
}

PWeftSharedTaskInfo TWeftTask::SharedInfo()
{
    std::lock_guard lock(otRefLock);
    return otParts_ref ? PWeftSharedTaskInfo(otParts_ref, &otParts_ref->Info) : nullptr;
}

PWeftCommunicationEndpoint TWeftTask::GetComm()
{
    std::lock_guard lock(otRefLock);
    if (!otComm && otParts_ref)
        otComm = otParts_ref->Info.Channel()->Endpoint2();
    return otComm;
}

THandle TWeftTask::GetTerminateEvent()
{
    std::lock_guard lock(otRefLock);
    if (!otTerminateEvent)
        otTerminateEvent = otParts_ref ? otParts_ref->Info.ostiTerminateEvent.Handle()
                                       : CreateEvent(true, otTerminateAsked);
    return otTerminateEvent;
}

QString TWeftTask::GetName()
{
    const PWeftSharedTaskInfo si = SharedInfo();
    return si ? si->ostiTaskName : QString();
}

bool TWeftTask::Terminated()
{
    const PWeftSharedTaskInfo si = SharedInfo();
    return si ? si->ostiTerminating.load() : true;
}

bool TWeftTask::Stopped()
{
    const PWeftSharedTaskInfo si = SharedInfo();
    return si ? si->ostiStopped.load() : true;
}

PWeftCancellationToken TWeftTask::GetCancellationToken()
{
    const PWeftSharedTaskInfo si = SharedInfo();
    return si ? si->CancellationToken() : nullptr;
}

PWeftCounter TWeftTask::GetCounter()
{
    const PWeftSharedTaskInfo si = SharedInfo();
    return si ? si->ostiCounter : nullptr;
}

std::shared_ptr<IWeftCriticalSection> TWeftTask::GetLock()
{
    const PWeftSharedTaskInfo si = SharedInfo();
    return si ? si->ostiLock : nullptr;
}

std::shared_ptr<TSynchroObject> TWeftTask::GetSyncLock()
{
    const PWeftSharedTaskInfo si = SharedInfo();
    return si ? si->ostiSyncLock : nullptr;
}

TWeftObject* TWeftTask::GetImplementor()
{
    const auto e = Executor();
    return e ? e->GetImplementor() : nullptr;
}

std::shared_ptr<TWeftValueContainer> TWeftTask::GetParam()
{
    std::lock_guard lock(otRefLock);
    return otParts_ref ? std::shared_ptr<TWeftValueContainer>(otParts_ref, &otParts_ref->Params) : nullptr;
}

IInterfacePtr TWeftTask::GetThreadData()
{
    std::lock_guard lock(otRefLock);
    return otThreadData;
}

void TWeftTask::SetThreadData(const IInterfacePtr& value)
{
    std::lock_guard lock(otRefLock);
    otThreadData = value;
}

void TWeftTask::Enforced(bool forceExecution)
{
    if (const auto e = Executor()) {
        TWeftTaskControlOptions o = e->GetOptions();
        o = forceExecution ? (o | tcoForceExecution) : (o & ~TWeftTaskControlOptions(tcoForceExecution));
        e->SetOptions(o);
    }
}

void TWeftTask::Invoke(const TWeftTaskInvokeFunction& remoteFunc)
{
    if (const PWeftCommunicationEndpoint comm = GetComm())
        comm->Send(TWeftInternalFuncMsg::CreateTaskMessage(remoteFunc));
}

void TWeftTask::InvokeOnSelf(const TWeftTaskInvokeFunction& remoteFunc)
{
    if (const PWeftCommunicationEndpoint comm = GetComm())
        if (const PWeftCommunicationEndpoint other = comm->OtherEndpoint())
            other->Send(TWeftInternalFuncMsg::CreateTaskMessage(remoteFunc));
}

void TWeftTask::RegisterComm(const PWeftCommunicationEndpoint& comm)
{
    if (const auto e = Executor())
        e->Asy_RegisterComm(comm);
}

void TWeftTask::UnregisterComm(const PWeftCommunicationEndpoint& comm)
{
    if (const auto e = Executor())
        e->Asy_UnregisterComm(comm);
}

void TWeftTask::RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectMethod& responseHandler)
{
    if (const auto e = Executor())
        e->Asy_RegisterWaitObject(waitObject, responseHandler);
}

void TWeftTask::RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectProc& responseHandler)
{
    if (const auto e = Executor())
        e->Asy_RegisterWaitObject(waitObject, responseHandler);
}

void TWeftTask::UnregisterWaitObject(const THandle& waitObject)
{
    if (const auto e = Executor())
        e->Asy_UnregisterWaitObject(waitObject);
}

void TWeftTask::SetException(std::exception_ptr exception)
{
    if (const auto e = Executor())
        e->SetException(std::move(exception));
}

void TWeftTask::SetExitStatus(int32_t exitCode, const QString& exitMessage)
{
    if (const auto e = Executor())
        e->Asy_SetExitStatus(exitCode, exitMessage);
}

void TWeftTask::SetProcessorGroup(int32_t n)
{
    if (const auto e = Executor())
        e->SetProcessorGroup(n);
}

void TWeftTask::SetNUMANode(int32_t n)
{
    if (const auto e = Executor())
        e->SetNUMANode(n);
}

void TWeftTask::SetTimer(int32_t timerID, DWORD interval_ms, const TWeftMessageID& timerMessage)
{
    if (const auto e = Executor())
        e->Asy_SetTimer(timerID, interval_ms, timerMessage);
}

void TWeftTask::InternalExecute(bool calledFromTerminate)
{
    std::unique_lock cleanup(otCleanupLock);
    if (otTerminateWillCallExecute && !calledFromTerminate)
        return;  // Terminate came first and has ended the task
    otExecuting = true;
    cleanup.unlock();

    otThreadID = GetThreadId();
    // Only this call writes otParts_ref (at its end, and one call gets this
    // far: see otCleanupLock), so it is read here without otRefLock.
    TWeftTaskParts* const parts = otParts_ref.get();
    if (!parts)
        return;
    TWeftSharedTaskInfo& si = parts->Info;
    TWeftTaskExecutor& executor = parts->Executor;
    SetThreadName(si.ostiTaskName);

    if ((executor.GetOptions() & tcoForceExecution) || !si.ostiTerminating.load()) {
        try {
            if (si.ostiProcessorGroup.load() >= 0)
                executor.SetProcessorGroup(si.ostiProcessorGroup.load());
            if (si.ostiNUMANode.load() >= 0)
                executor.SetNUMANode(si.ostiNUMANode.load());
            executor.Asy_Execute(shared_from_this());
        } catch (...) {
            std::exception_ptr e = std::current_exception();
            FilterException(e);
            if (e)
                executor.SetException(e);
        }
    }

    cleanup.lock();
    PWeftTaskControl chain;
    if (si.ostiChained.load(std::memory_order_acquire)) {
        std::lock_guard lock(si.ostiLock_);
        if (si.ostiChainTo && (si.ostiChainIgnoreErrors || executor.GetExitCode() == 0))
            chain = si.ostiChainTo;
        si.ostiChainTo.reset();
    }
    si.ostiStopped = true;
    if (si.ostiMonitored.load(std::memory_order_acquire)) {
        std::lock_guard lock(si.ostiMonitorLock);
        if (si.ostiMonitor)
            PostMessage(si.ostiMonitor->GetHandle(), CWeftTaskMsg_Terminated,
                        WPARAM(uint32_t(uint64_t(si.ostiUniqueID))), LPARAM(uint64_t(si.ostiUniqueID) >> 32));
    }
    // Kept until the end is announced: the owner's handle may be gone.
    PWeftTaskParts keep;
    {
        std::lock_guard lock(otRefLock);
        keep = std::move(otParts_ref);
        otTerminateAsked = si.ostiTerminateEvent.IsSet();
    }
    si.ostiTerminatedEvent.Set();
    keep.reset();
    if (chain) {
        try {
            chain->Run();
        } catch (...) {
            // The chained task's owner sees nothing of it; it never ran.
        }
    }
}

void TWeftTask::Terminate()
{
    {
        std::lock_guard cleanup(otCleanupLock);
        const PWeftSharedTaskInfo si = SharedInfo();
        if (!si)
            return;  // ended already
        si->ostiTerminating = true;
        si->ostiTerminateEvent.Set();
        if (otExecuting || otTerminateWillCallExecute)
            return;  // the running side ends it
        otTerminateWillCallExecute = true;
    }
    InternalExecute(true);
}
