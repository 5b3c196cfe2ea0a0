#include "tasks/WeftExecutor.h"

#include "platform/os/MessageWindow.h"
#include "tasks/OsWin32.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <limits>
#include <cerrno>
#include <sched.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

// --- Worker ------------------------------------------------------------------------------

void TWeftWorker::DispatchMessage(TWeftMessage& msg)
{
    auto it = owMessageTable.find(msg.MsgID);
    if (it != owMessageTable.end() && it->second)
        it->second(msg);
    else
        DefaultHandler(msg);
}

void TWeftWorker::SetMessageHandler(uint16_t msgID, TMessageHandler handler)
{
    owMessageTable[msgID] = std::move(handler);
}

void TWeftWorker::ProcessMessages()
{
    if (owExecutor)
        owExecutor->ProcessMessages();
}

QString TWeftMessageInfo::AsString() const
{
    QString s;
    for (const THandle& h : WaitHandles)
        s += QString::number(reinterpret_cast<quintptr>(h.get())) + QLatin1Char(' ');
    return s;
}

int WeftPriorityNiceValue(TWeftThreadPriority priority)
{
    switch (priority) {
    case tpIdle:
        return 19;
    case tpLowest:
        return 10;
    case tpBelowNormal:
        return 5;
    case tpNormal:
        return 0;
    case tpAboveNormal:
        return -5;
    case tpHighest:
        return -10;
    }
    return 0;
}

namespace {

// The nice value this thread was given last (pooled threads run many tasks,
// mostly of one priority: setting it again would be a system call per task).
// Best effort: lowering works for anyone, raising only with privileges; a
// refused change is tried again by the next task.
void ApplyThreadPriority(int nice)
{
    static thread_local int tNice = std::numeric_limits<int>::min();
    if (tNice == nice)
        return;
    tNice = setpriority(PRIO_PROCESS, id_t(GetCurrentThreadId()), nice) == 0 ? nice : std::numeric_limits<int>::min();
}

}  // namespace

// --- Executor: construction ----------------------------------------------------------------

TWeftTaskExecutor::TWeftTaskExecutor(const PWeftWorker& worker) : oteExecutorType(etWorker), oteWorkerIntf(worker)
{
    Init();
    if (oteWorkerIntf)
        oteWorkerIntf->SetExecutor(this);
}

TWeftTaskExecutor::TWeftTaskExecutor(const TMethod& method) : oteExecutorType(etMethod), oteMethod(method)
{
    Init();
}

TWeftTaskExecutor::TWeftTaskExecutor(TWeftTaskProcedure proc) : oteExecutorType(etProcedure), oteProc(proc)
{
    Init();
}

TWeftTaskExecutor::TWeftTaskExecutor(TWeftTaskDelegate func) : oteExecutorType(etFunction), oteFunc(std::move(func))
{
    Init();
}

void TWeftTaskExecutor::Init()
{
    // Only a worker has a message loop to wake and an initialisation to wait
    // for; the other kinds run one call and need none of these (setting a
    // null event does nothing).
    if (oteExecutorType == etWorker) {
        oteWorkerInitialized = CreateEvent(true, false);
        oteCommRebuildHandles = CreateEvent(false, false);
        oteNoMessages = CreateEvent(true, false);
    }
    otePriority = tpNormal;
}

TWeftTaskExecutor::~TWeftTaskExecutor()
{
    // The worker first: it holds a pointer to this executor.
    oteWorkerIntf.reset();
    oteTimers.clear();
    oteCommList.clear();
    oteCommNewMsgList.clear();
    oteWaitObjectList.clear();
}

// --- Running -----------------------------------------------------------------------------------

void TWeftTaskExecutor::Asy_Execute(const PWeftTask& task)
{
    struct TFinally {
        TWeftTaskExecutor& E;
        ~TFinally()
        {
            std::lock_guard lock(E.oteInternalLock);
            E.oteWorkerIntf.reset();
            {
                std::lock_guard tl(E.oteTimerLock);
                E.oteTimers.clear();
            }
            E.oteFunc = nullptr;
            E.oteTask.reset();
        }
    } finally{*this};
    ApplyThreadPriority(WeftPriorityNiceValue(otePriority));
    oteTask = task;
    switch (oteExecutorType) {
    case etMethod:
        InvokeMethod<const PWeftTask&>(oteMethod, task);
        break;
    case etProcedure:
        oteProc(task);
        break;
    case etFunction:
        oteFunc(task);
        break;
    case etWorker:
        DispatchMessages(task);
        break;
    default:
        throw Exception(QStringLiteral("TWeftTaskExecutor.Asy_Execute: Executor is not set"));
    }
}

void TWeftTaskExecutor::DispatchMessages(const PWeftTask& task)
{
    PWeftWorker worker = oteWorkerIntf;
    if (!worker)
        throw Exception(QStringLiteral("TWeftTaskExecutor.Asy_Execute: Executor is not set"));
    oteWorkerInitOK = false;
    worker->SetExecutor(this);
    worker->SetTask(task);
    bool initialized = false;
    try {
        initialized = worker->Initialize();
    } catch (...) {
        SetEvent(oteWorkerInitialized);
        worker->Cleanup();
        worker->SetTask(nullptr);
        throw;
    }
    if (!initialized) {
        SetEvent(oteWorkerInitialized);
        worker->Cleanup();
        worker->SetTask(nullptr);
        return;
    }
    oteWorkerInitOK = true;
    SetEvent(oteWorkerInitialized);
    struct TCleanup {
        PWeftWorker& W;
        ~TCleanup()
        {
            try {
                W->Cleanup();
            } catch (...) {
            }
            W->SetTask(nullptr);
        }
    } cleanup{worker};
    const TWeftTaskControlOptions options = GetOptions();
    oteMsgInfo.WaitWakeMask = (options & tcoMessageWait) ? (oteWakeMask ? oteWakeMask : 0xFFFFFFFFu) : 0;
    oteMsgInfo.WaitFlags = (options & tcoAlertableWait) ? 0x0002u : 0;
    RebuildWaitHandles();
    MainMessageLoop();
}

void TWeftTaskExecutor::MainMessageLoop()
{
    EmptyMessageQueues();
    for (;;) {
        const TWaitFor::TWaitForResult awaited = WaitForEvent(oteMsgInfo, TimeUntilNextTimer_ms());
        if (!DispatchEvent(oteMsgInfo, awaited))
            break;
        if (oteWorkerIntf)
            oteWorkerIntf->MessageLoopPayload();
    }
}

TWaitFor::TWaitForResult TWeftTaskExecutor::WaitForEvent(TWeftMessageInfo& info, DWORD timeout_ms)
{
    if (oteWorkerIntf)
        oteWorkerIntf->BeforeWait(timeout_ms);
    const TWaitFor::TWaitForResult awaited = info.WaitWakeMask
                                                 ? info.Waiter->MsgWaitAny(timeout_ms, info.WaitWakeMask, info.WaitFlags)
                                                 : info.Waiter->WaitAny(timeout_ms, info.WaitFlags != 0);
    // A failed wait is only worth a note to a debugger; the loop goes on.
    if (oteWorkerIntf)
        oteWorkerIntf->AfterWait(*info.Waiter, awaited);
    return awaited;
}

bool TWeftTaskExecutor::DispatchEvent(TWeftMessageInfo& info, TWaitFor::TWaitForResult awaited)
{
    bool rebuild = false;
    switch (awaited) {
    case TWaitFor::waTimeout:
        CheckTimers();
        break;
    case TWaitFor::waMessage:
        if (oteWorkerIntf)
            oteWorkerIntf->ProcessThreadMessages();
        break;
    case TWaitFor::waFailed:
    case TWaitFor::waIOCompletion:
        break;
    case TWaitFor::waAwaited: {
        const TWaitFor::THandles signalled = info.Waiter->Signalled();
        if (info.IdxLastTerminate >= info.IdxFirstTerminate)
            for (const TWaitFor::THandleInfo& h : signalled)
                if (h.Index >= info.IdxFirstTerminate && h.Index <= info.IdxLastTerminate)
                    return false;
        for (const TWaitFor::THandleInfo& h : signalled) {
            if (h.Index >= info.IdxFirstMessage && h.Index <= info.IdxLastMessage) {
                bool extra;
                {
                    std::lock_guard lock(oteInternalLock);
                    extra = !oteCommList.empty();
                }
                if (h.Index == info.IdxFirstMessage || extra)
                    DispatchCommMessage(info.WaitHandles[size_t(h.Index)]);
            } else if (h.Index >= info.IdxFirstWaitObject && h.Index <= info.IdxLastWaitObject) {
                TWeftWaitObjectMethod method;
                TWeftWaitObjectProc anon;
                {
                    std::lock_guard lock(oteInternalLock);
                    const size_t i = size_t(h.Index - info.IdxFirstWaitObject);
                    if (i < oteWaitObjectList.size()) {
                        method = oteWaitObjectList[i].Method;
                        anon = oteWaitObjectList[i].Anon;
                    }
                }
                if (method.Assigned())
                    InvokeMethod<>(method);
                if (anon)
                    anon();
                CheckTimers();
            } else if (h.Index == info.IdxRebuildHandles) {
                rebuild = true;
            }
        }
        break;
    }
    default:
        throw Exception(QStringLiteral("TWeftTaskExecutor.DispatchEvent: Unexpected TWaitResult"));
    }
    // Thread messages are pumped in every case: hidden windows of this
    // thread (queues' delivery handlers, for example) rely on it.
    ::ProcessMessages();
    if (rebuild) {
        RebuildWaitHandles();
        EmptyMessageQueues();
    } else {
        TestForInternalRebuild();
    }
    return true;
}

void TWeftTaskExecutor::BuildWaitHandles(TWeftMessageInfo& info, bool withTerminate)
{
    std::lock_guard lock(oteInternalLock);
    std::vector<THandle> h;
    info.IdxFirstTerminate = 0;
    if (withTerminate) {
        h.push_back(oteTask ? oteTask->GetTerminateEvent() : oteNoMessages);
        for (const THandle& t : oteTerminateHandles)
            h.push_back(t);
    }
    info.IdxLastTerminate = int(h.size()) - 1;
    info.IdxRebuildHandles = int(h.size());
    h.push_back(oteCommRebuildHandles);
    info.IdxFirstMessage = int(h.size());
    PWeftCommunicationEndpoint comm = oteTask ? oteTask->GetComm() : nullptr;
    info.NewMessageEvent = comm ? comm->GetNewMessageEvent() : nullptr;
    if (!info.NewMessageEvent)
        info.NewMessageEvent = oteNoMessages;
    h.push_back(info.NewMessageEvent);
    for (const THandle& e : oteCommNewMsgList)
        h.push_back(e);
    info.IdxLastMessage = int(h.size()) - 1;
    info.IdxFirstWaitObject = int(h.size());
    for (const TWaitObject& w : oteWaitObjectList)
        h.push_back(w.Handle);
    info.IdxLastWaitObject = int(h.size()) - 1;
    info.NumWaitHandles = int(h.size());
    info.WaitHandles = h;
    if (!info.Waiter)
        info.Waiter = std::make_unique<TWaitFor>();
    info.Waiter->SetHandles(h);
}

void TWeftTaskExecutor::RebuildWaitHandles()
{
    oteWaitHandlesGen.fetch_add(1);
    BuildWaitHandles(oteMsgInfo, true);
}

bool TWeftTaskExecutor::TestForInternalRebuild()
{
    if (WaitForSingleObject(oteCommRebuildHandles, 0) != WAIT_OBJECT_0)
        return false;
    RebuildWaitHandles();
    EmptyMessageQueues();
    return true;
}

void TWeftTaskExecutor::EmptyMessageQueues()
{
    PWeftCommunicationEndpoint comm = oteTask ? oteTask->GetComm() : nullptr;
    TWeftMessage msg;
    if (comm)
        while (comm->Receive(msg))
            if (oteWorkerIntf)
                DispatchWeftMessage(msg, false);
    std::lock_guard lock(oteInternalLock);
    for (size_t i = 0; i < oteCommList.size(); ++i) {
        PWeftCommunicationEndpoint e = oteCommList[i];
        while (e->Receive(msg)) {
            if (oteWorkerIntf)
                DispatchWeftMessage(msg, false);
            if (i >= oteCommList.size() || oteCommList[i] != e)
                return;  // registrations changed meanwhile
        }
    }
}

void TWeftTaskExecutor::DispatchCommMessage(const THandle& handle)
{
    for (;;) {
        TWeftMessage msg;
        bool got = false;
        if (handle == oteMsgInfo.NewMessageEvent) {
            PWeftCommunicationEndpoint comm = oteTask ? oteTask->GetComm() : nullptr;
            got = comm && comm->Receive(msg);
        } else {
            PWeftCommunicationEndpoint e;
            {
                std::lock_guard lock(oteInternalLock);
                for (size_t i = 0; i < oteCommNewMsgList.size(); ++i)
                    if (oteCommNewMsgList[i] == handle)
                        e = oteCommList[i];
            }
            got = e && e->Receive(msg);
        }
        if (!got)
            return;
        if (oteWorkerIntf)
            DispatchWeftMessage(msg, true);
        if (TestForInternalRebuild())
            return;
    }
}

void TWeftTaskExecutor::DispatchWeftMessage(TWeftMessage& msg, bool checkTimers)
{
    if (checkTimers)
        CheckTimers();
    if (msg.MsgID == CWeftInternalMessageID)
        DispatchInternalMessage(msg);
    else if (oteWorkerIntf)
        oteWorkerIntf->DispatchMessage(msg);
}

// --- Invoke messages -----------------------------------------------------------------------------

namespace {

class TEmptyMethodTable {
public:
    static const TWeftMethodTable& For(const QString& className)
    {
        static thread_local std::unordered_map<QString, std::unique_ptr<TWeftMethodTable>> tables;
        auto& t = tables[className];
        if (!t)
            t = std::make_unique<TWeftMethodTable>(className);
        return *t;
    }
};

int32_t AnonArgument(const TWeftValue& v)
{
    if (v.IsEmpty())
        return 0;
    if (v.DataType() == ovtInteger || v.DataType() == ovtInt64 || v.DataType() == ovtVariant)
        return int32_t(v.CastToInt64());
    throw Exception(QStringLiteral("TWeftValue cannot be converted to int64"));
}

}  // namespace

const TWeftMethodTable& TWeftTaskExecutor::MethodTable() const
{
    TWeftObject* impl = oteWorkerIntf ? oteWorkerIntf->GetImplementor() : nullptr;
    auto* published = dynamic_cast<IWeftPublishedMethods*>(impl);
    const TWeftMethodTable* table = published ? published->PublishedMethods() : nullptr;
    if (table)
        return *table;
    return TEmptyMethodTable::For(impl ? impl->ClassName() : QStringLiteral("TObject"));
}

void TWeftTaskExecutor::DispatchInternalMessage(TWeftMessage& msg)
{
    WeftAssert(oteWorkerIntf != nullptr, "TWeftTaskExecutor.DispatchWeftMessage: internal message without a worker");
    const TWeftInternalMessageType type = TWeftInternalMessage::InternalType(msg);
    switch (type) {
    case imtStringMsg: {
        QString name;
        TWeftValue value;
        TWeftInternalStringMsg::UnpackMessage(msg, name, value);
        CallByName(name, value);
        break;
    }
    case imtAddressMsg: {
        void* address = nullptr;
        TWeftValue value;
        TWeftInternalAddressMsg::UnpackMessage(msg, address, value);
        const TWeftPublishedMethod* m = MethodTable().FindByAddress(address);
        if (!m)
            throw Exception(
                QStringLiteral("TWeftTaskExecutor.GetMethodNameFromInternalMessage: Cannot find method name for method %1")
                    .arg(QString::asprintf("%p", address)));
        CallByName(m->Name, value);
        break;
    }
    case imtFuncMsg: {
        TWeftTaskControlInvokeFunction func;
        TWeftTaskControlInvokeFunctionEx funcEx;
        TWeftTaskInvokeFunction taskFunc;
        TWeftInternalFuncMsg::UnpackMessage(msg, func, funcEx, taskFunc);
        if (func)
            func();
        else if (funcEx)
            funcEx(oteWorkerIntf->GetTask());
        else if (taskFunc)
            taskFunc();
        break;
    }
    case imtAnonMsg: {
        TWeftInvokeAnonProc proc;
        TWeftValue value;
        TWeftInternalAnonMsg::UnpackMessage(msg, proc, value);
        if (proc)
            proc(AnonArgument(value));
        break;
    }
    default:
        throw Exception(QStringLiteral("TWeftTaskExecutor.GetMethodNameFromInternalMessage: Internal message type %1 "
                                       "is not supported")
                            .arg(WeftInternalMessageTypeName(type)));
    }
}

void TWeftTaskExecutor::CallByName(const QString& name, const TWeftValue& value)
{
    if (name.isEmpty())
        throw Exception(QStringLiteral("TWeftTaskExecutor.DispatchWeftMessage: Method name not set"));
    if (!oteMethodHash)
        oteMethodHash = std::make_unique<TKitStringObjectHash>(17, false, true);
    const TWeftMethodTable& table = MethodTable();
    TWeftObject* cached = nullptr;
    if (!oteMethodHash->Find(name, cached)) {
        const TWeftPublishedMethod& m = ResolveWeftMethod(table, name);
        auto* info = new TWeftInvokeInfo;
        info->oiiAddress = m.Address;
        info->oiiSignature = m.Signature;
        info->Method = &m;
        try {
            oteMethodHash->Add(name, info);
        } catch (...) {
            delete info;
            throw;
        }
        cached = info;
    }
    auto* info = static_cast<TWeftInvokeInfo*>(cached);
    CallWeftMethod(table, *info->Method, oteWorkerIntf->GetImplementor(), value);
}

QString TWeftTaskExecutor::RTTIMethodsAsString() const
{
    return ::RTTIMethodsAsString(MethodTable());
}

// --- Timers ------------------------------------------------------------------------------

void TWeftTaskExecutor::InsertTimer(int64_t due, const TWeftTaskTimerInfo& info)
{
    // Before the first timer due at the same time or later: among equal due
    // times the newest comes first.
    auto it = std::find_if(oteTimers.begin(), oteTimers.end(), [&](const auto& t) { return t.first >= due; });
    oteTimers.insert(it, {due, info});
}

void TWeftTaskExecutor::Asy_SetTimer(int32_t timerID, DWORD interval_ms, const TWeftMessageID& timerMessage)
{
    {
        std::lock_guard lock(oteTimerLock);
        auto it = std::find_if(oteTimers.begin(), oteTimers.end(),
                               [&](const auto& t) { return t.second.ottiTimerID == timerID; });
        if (interval_ms == 0) {
            if (it != oteTimers.end())
                oteTimers.erase(it);
        } else {
            TWeftTaskTimerInfo info;
            if (it != oteTimers.end()) {
                info = it->second;
                oteTimers.erase(it);
            }
            info.ottiTimerID = timerID;
            info.ottiInterval_ms = interval_ms;
            info.ottiMessageID = timerMessage;
            InsertTimer(OsTimeGetTime64() + int64_t(interval_ms), info);
        }
    }
    SetEvent(oteCommRebuildHandles);
}

DWORD TWeftTaskExecutor::TimeUntilNextTimer_ms()
{
    std::lock_guard lock(oteTimerLock);
    if (oteTimers.empty())
        return INFINITE;
    const int64_t left = oteTimers.front().first - OsTimeGetTime64();
    return left > 0 ? DWORD(std::min<int64_t>(left, int64_t(INFINITE) - 1)) : 0;
}

void TWeftTaskExecutor::CheckTimers()
{
    if (oteTerminating.load())
        return;
    bool due;
    {
        std::lock_guard lock(oteTimerLock);
        due = !oteTimers.empty() && oteTimers.front().first <= OsTimeGetTime64();
    }
    if (due)
        CallWeftTimer();
}

void TWeftTaskExecutor::CallWeftTimer()
{
    TWeftTaskTimerInfo info;
    {
        std::lock_guard lock(oteTimerLock);
        if (oteTimers.empty())
            return;
        info = oteTimers.front().second;
        oteTimers.erase(oteTimers.begin());
        InsertTimer(OsTimeGetTime64() + int64_t(info.ottiInterval_ms), info);
    }
    TWeftMessage msg;
    switch (info.ottiMessageID.MessageType()) {
    case mitInteger:
        if (info.ottiMessageID.AsInteger() < 0) {
            if (oteWorkerIntf)
                oteWorkerIntf->Timer();
            return;
        }
        msg = TWeftMessage(uint16_t(info.ottiMessageID.AsInteger()), TWeftValue(int32_t(info.ottiTimerID)));
        break;
    case mitString:
        msg = TWeftInternalStringMsg::CreateMessage(info.ottiMessageID.AsText(), TWeftValue(int32_t(info.ottiTimerID)));
        break;
    case mitPointer:
        msg = TWeftInternalAddressMsg::CreateMessage(info.ottiMessageID.AsPointer(),
                                                     TWeftValue(int32_t(info.ottiTimerID)));
        break;
    case mitAnon:
        msg = TWeftInternalAnonMsg::CreateMessage(info.ottiMessageID.AsAnon(), TWeftValue(int32_t(info.ottiTimerID)));
        break;
    default:
        throw Exception(QStringLiteral("TWeftTaskExecutor.CallWeftTimer: Invalid message type"));
    }
    DispatchWeftMessage(msg, false);
}

// --- Registrations ------------------------------------------------------------------------------

void TWeftTaskExecutor::RequireWorker(const char* what) const
{
    if (oteExecutorType != etWorker)
        throw Exception(QString::fromUtf8(what));
}

void TWeftTaskExecutor::Asy_RegisterComm(const PWeftCommunicationEndpoint& comm)
{
    RequireWorker("TWeftTaskExecutor.Asy_RegisterComm: Additional communication support is only available when "
                  "working with an IWeftWorker");
    {
        std::lock_guard lock(oteInternalLock);
        oteCommList.push_back(comm);
        oteCommNewMsgList.push_back(comm->GetNewMessageEvent());
    }
    SetEvent(oteCommRebuildHandles);
}

void TWeftTaskExecutor::Asy_UnregisterComm(const PWeftCommunicationEndpoint& comm)
{
    RequireWorker("TWeftTaskExecutor.Asy_UnregisterComm: Additional communication support is only available when "
                  "working with an IWeftWorker");
    {
        std::lock_guard lock(oteInternalLock);
        for (size_t i = 0; i < oteCommList.size(); ++i)
            if (oteCommList[i] == comm) {
                oteCommList.erase(oteCommList.begin() + ptrdiff_t(i));
                oteCommNewMsgList.erase(oteCommNewMsgList.begin() + ptrdiff_t(i));
                break;
            }
    }
    SetEvent(oteCommRebuildHandles);
}

void TWeftTaskExecutor::Asy_RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectMethod& responseHandler)
{
    RequireWorker("TWeftTaskExecutor.Asy_RegisterWaitObject: WaitObject support is only available when working "
                  "with an IWeftWorker");
    {
        std::lock_guard lock(oteInternalLock);
        std::erase_if(oteWaitObjectList, [&](const TWaitObject& w) { return w.Handle == waitObject; });
        oteWaitObjectList.push_back({waitObject, responseHandler, nullptr});
    }
    SetEvent(oteCommRebuildHandles);
}

void TWeftTaskExecutor::Asy_RegisterWaitObject(const THandle& waitObject, const TWeftWaitObjectProc& responseHandler)
{
    RequireWorker("TWeftTaskExecutor.Asy_RegisterWaitObject: WaitObject support is only available when working "
                  "with an IWeftWorker");
    {
        std::lock_guard lock(oteInternalLock);
        std::erase_if(oteWaitObjectList, [&](const TWaitObject& w) { return w.Handle == waitObject; });
        oteWaitObjectList.push_back({waitObject, TMethod{}, responseHandler});
    }
    SetEvent(oteCommRebuildHandles);
}

void TWeftTaskExecutor::Asy_UnregisterWaitObject(const THandle& waitObject)
{
    RequireWorker("TWeftTaskExecutor.Asy_UnregisterWaitObject: WaitObject support is only available when working "
                  "with an IWeftWorker");
    {
        std::lock_guard lock(oteInternalLock);
        std::erase_if(oteWaitObjectList, [&](const TWaitObject& w) { return w.Handle == waitObject; });
    }
    SetEvent(oteCommRebuildHandles);
}

void TWeftTaskExecutor::Asy_SetExitStatus(int32_t exitCode, const QString& exitMessage)
{
    oteExitCode.SetValue(exitCode);
    std::lock_guard lock(oteInternalLock);
    oteExitMessage = QString(exitMessage.constData(), exitMessage.size());
}

QString TWeftTaskExecutor::GetExitMessage() const
{
    std::lock_guard lock(const_cast<std::recursive_mutex&>(oteInternalLock));
    return QString(oteExitMessage.constData(), oteExitMessage.size());
}

TWeftObject* TWeftTaskExecutor::GetImplementor() const
{
    return oteWorkerIntf ? oteWorkerIntf->GetImplementor() : nullptr;
}

TWeftTaskControlOptions TWeftTaskExecutor::GetOptions() const
{
    return oteOptions.load(std::memory_order_acquire);
}

void TWeftTaskExecutor::SetOptions(TWeftTaskControlOptions value)
{
    if ((value & (tcoAlertableWait | tcoMessageWait)) && oteExecutorType != etWorker)
        throw Exception(QStringLiteral("TWeftTaskExecutor.SetOptions: Trying to set IWeftWorker specific option(s)"));
    oteOptions.store(value, std::memory_order_release);
}

void TWeftTaskExecutor::TerminateWhen(const THandle& handle)
{
    std::lock_guard lock(oteInternalLock);
    oteTerminateHandles.push_back(handle);
}

bool TWeftTaskExecutor::WaitForInit()
{
    RequireWorker("TWeftTaskExecutor.WaitForInit: Wait for init is only available when working with an IWeftWorker");
    WaitForSingleObject(oteWorkerInitialized, INFINITE);
    return oteWorkerInitOK.load();
}

std::exception_ptr TWeftTaskExecutor::GetException() const
{
    std::lock_guard lock(const_cast<std::recursive_mutex&>(oteInternalLock));
    return oteException;
}

void TWeftTaskExecutor::SetException(std::exception_ptr e)
{
    std::lock_guard lock(oteInternalLock);
    oteException = std::move(e);
}

// --- Processing events from inside the work ------------------------------------------------------

void TWeftTaskExecutor::ProcessMessages()
{
    TWeftMessageInfo info;
    info.WaitWakeMask = oteMsgInfo.WaitWakeMask;
    info.WaitFlags = oteMsgInfo.WaitFlags;
    BuildWaitHandles(info, false);
    int64_t gen = oteWaitHandlesGen.load();
    for (;;) {
        const TWaitFor::TWaitForResult awaited = WaitForEvent(info, 1);
        if (awaited == TWaitFor::waTimeout)
            break;
        if (!DispatchEvent(info, awaited))
            break;
        if (oteWorkerIntf)
            oteWorkerIntf->MessageLoopPayload();
        if (gen != oteWaitHandlesGen.load()) {
            BuildWaitHandles(info, false);
            gen = oteWaitHandlesGen.load();
            EmptyMessageQueues();
        }
    }
}

// --- Placement ---------------------------------------------------------------------------------

namespace {

// The processors of a NUMA node from sysfs; a machine without NUMA
// information is one node holding every processor.
bool NodeCpus(int node, cpu_set_t& set)
{
    CPU_ZERO(&set);
    QFile f(QStringLiteral("/sys/devices/system/node/node%1/cpulist").arg(node));
    if (!f.open(QIODevice::ReadOnly)) {
        if (node != 0 || QDir(QStringLiteral("/sys/devices/system/node")).exists())
            return false;
        for (int c = 0; c < int(std::thread::hardware_concurrency()); ++c)
            CPU_SET(c, &set);
        return true;
    }
    for (const QByteArray& part : f.readAll().trimmed().split(',')) {
        const QList<QByteArray> range = part.split('-');
        bool ok1 = false, ok2 = true;
        const int lo = range.value(0).toInt(&ok1);
        const int hi = range.size() > 1 ? range[1].toInt(&ok2) : lo;
        if (ok1 && ok2)
            for (int c = lo; c <= hi && c < CPU_SETSIZE; ++c)
                CPU_SET(c, &set);
    }
    return true;
}

int ProcessorGroupCount()
{
    const int n = int(std::thread::hardware_concurrency());
    return n <= 0 ? 1 : (n + 63) / 64;
}

}  // namespace

void TWeftTaskExecutor::VerifyNUMANode(int numaNode)
{
    cpu_set_t set;
    if (numaNode < 0 || !NodeCpus(numaNode, set))
        throw Exception(QStringLiteral("NUMA node %1 not found").arg(numaNode));
}

void TWeftTaskExecutor::VerifyProcessorGroup(int processorGroup)
{
    const int groups = ProcessorGroupCount();
    if (processorGroup < 0 || processorGroup >= groups)
        throw Exception(
            QStringLiteral("Processor group number (%1) is out of range [0..%2]").arg(processorGroup).arg(groups - 1));
}

void TWeftTaskExecutor::SetNUMANode(int numaNode)
{
    VerifyNUMANode(numaNode);
    cpu_set_t set;
    NodeCpus(numaNode, set);
    sched_setaffinity(0, sizeof(set), &set);
    OsNoteThreadAffinityChanged();
}

void TWeftTaskExecutor::SetProcessorGroup(int processorGroup)
{
    VerifyProcessorGroup(processorGroup);
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int c = processorGroup * 64; c < processorGroup * 64 + 64 && c < CPU_SETSIZE; ++c)
        CPU_SET(c, &set);
    sched_setaffinity(0, sizeof(set), &set);
    OsNoteThreadAffinityChanged();
}
