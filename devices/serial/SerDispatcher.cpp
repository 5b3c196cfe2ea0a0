#include "devices/serial/SerDispatcher.h"

#include "devices/serial/SerErrors.h"
#include "platform/os/OsTypes.h"
#include "platform/rtl/Component.h"

#include <QtGlobal>
#include <algorithm>
#include <cstring>
#include <vector>

using enum TDispatchType;
using enum TDispatchSubType;

// ---------------------------------------------------------------------------
// The port list

namespace {

std::vector<TSerBaseDispatcher*>& PortList()
{
    static std::vector<TSerBaseDispatcher*> list;
    return list;
}

}  // namespace

TSerCriticalSection& PortListSection()
{
    static TSerCriticalSection section;
    return section;
}

void LockPortList()
{
    PortListSection().lock();
}

void UnlockPortList()
{
    PortListSection().unlock();
}

TSerBaseDispatcher* PortListItem(int Index)
{
    TSerLock g(PortListSection());
    auto& list = PortList();
    if (Index < 0 || Index >= static_cast<int>(list.size()))
        return nullptr;
    return list[static_cast<size_t>(Index)];
}

int PortListCount()
{
    TSerLock g(PortListSection());
    return static_cast<int>(PortList().size());
}

// ---------------------------------------------------------------------------
// Life cycle

TSerBaseDispatcher::TSerBaseDispatcher(TComponent* Owner)
    : fOwner(Owner)
{
    {
        TSerLock g(PortListSection());
        auto& list = PortList();
        auto it = std::find(list.begin(), list.end(), nullptr);
        if (it != list.end()) {
            *it = this;
            fHandle = static_cast<int>(it - list.begin());
        } else {
            list.push_back(this);
            fHandle = static_cast<int>(list.size()) - 1;
        }
    }
    TriggerCounter = 1;
}

TSerBaseDispatcher::~TSerBaseDispatcher()
{
    Shutdown();
    TSerLock g(PortListSection());
    auto& list = PortList();
    if (fHandle >= 0 && fHandle < static_cast<int>(list.size()) && list[static_cast<size_t>(fHandle)] == this)
        list[static_cast<size_t>(fHandle)] = nullptr;
    while (!list.empty() && list.back() == nullptr)
        list.pop_back();
}

void TSerBaseDispatcher::Shutdown()
{
    if (FClosePending)
        DonePortPrim();
    else
        DonePort();
    // A thread still delivering to the owner's window must be able to finish.
    while (FActiveThreads.load() > 0) {
        if (!SafeYield())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int TSerBaseDispatcher::InitPort(const QString& AName, int32_t Baud, int Parity, int DataBits, int StopBits,
                                 int InSize, int OutSize, uint32_t LineFlags)
{
    RingFlag = false;
    fEventBusy = false;
    DeletePending = false;
    GeneralEvent = CreateEvent(false, false);
    OutputEvent = CreateEvent(false, false);
    OutFlushEvent = CreateEvent(false, false);

    FDeviceName = AName;
    const int cid = OpenCom(AName, InSize, OutSize);
    if (cid < 0) {
        const int code = cid;
        DonePort();
        return code;
    }
    CidEx = cid;
    int result = SetCommBuffers(InSize, OutSize);
    if (result != 0) {
        DonePort();
        return result;
    }
    {
        TSerLock d(DispSection);
        TSerLock g(DataSection);
        TSerLock o(OutputSection);
        DBuffer.assign(DispatchBufferSize, 0);
        OBuffer.assign(static_cast<size_t>(std::max(OutSize, 1)), 0);
        DBufHead = DBufTail = 0;
        OBufHead = OBufTail = 0;
        OBufFull = false;
        InQue = InSize;
        OutQue = OutSize;
        LastError = 0;
        OutSentPending = false;
        FClosePending = false;
        DispatchFull = false;
        GetCount = 0;
        RS485Mode = false;
        BaseAddress = 0;
    }
    GetComState(DCB);
    if (LineFlags & 0x10) {
        DTRAuto = true;
    } else {
        DTRAuto = false;
        SetDtr((LineFlags & 1) != 0);
    }
    if (LineFlags & 0x20) {
        RTSAuto = true;
    } else {
        RTSAuto = false;
        SetRts((LineFlags & 2) != 0);
    }
    LastTailData = 0;
    RemoveAllTriggers();
    NotifyTail = 0;
    ResetStatusHits();
    InAvailMessage = false;
    ModemStatus = 0;
    GetModemStatus();
    LastBaud = 115200;
    // A port just opened has sent nothing of ours, so there is no output to
    // let drain before its line is set: the receipt printer opens its port
    // per receipt, and the wait was some 20 ms of every accepted read.
    result = ChangeLine(Baud, Parity, DataBits, StopBits, false);
    if (result != 0) {
        DonePort();
        return result;
    }
    RefreshStatus();
    TracingOn = false;
    TraceQueue.clear();
    DLoggingOn = false;
    DLoggingMax = 0;
    TimeBase = OsMonotonicMs();
    try {
        StartDispatcher();
    } catch (const Exception&) {
        DonePort();
        return ecBadHandle;
    }
    return ecOK;
}

int TSerBaseDispatcher::SetCommBuffers(int InSize, int OutSize)
{
    if (!SetupCom(InSize, OutSize))
        return -static_cast<int>(FLastWinError.load() ? FLastWinError.load() : ERROR_INVALID_PARAMETER_);
    return ecOK;
}

void TSerBaseDispatcher::DonePort()
{
    if (CidEx >= 0) {
        FlushOutBuffer();
        FlushInBuffer();
        CloseCom();
    }
    if (fEventBusy)
        FClosePending = true;
    else
        DonePortPrim();
}

void TSerBaseDispatcher::DonePortPrim()
{
    DoDonePortPrim = false;
    if (FDispActive)
        StopDispatcher();
    TSerLock d(DispSection);
    TSerLock g(DataSection);
    TSerLock o(OutputSection);
    std::vector<uint8_t>().swap(OBuffer);
    std::vector<uint8_t>().swap(DBuffer);
    DBufHead = DBufTail = 0;
    OBufHead = OBufTail = 0;
    OBufFull = false;
    DispatchFull = false;
}

// ---------------------------------------------------------------------------
// The receive ring

int TSerBaseDispatcher::BuffCount(int Head, int Tail, bool Full)
{
    if (Head == Tail)
        return Full ? DispatchBufferSize : 0;
    if (Tail < Head)
        return Head - Tail;
    return Head - Tail + DispatchBufferSize;
}

int TSerBaseDispatcher::RingFree() const
{
    if (DBufHead == DBufTail)
        return DispatchFull ? 0 : DispatchBufferSize;
    int f = DBufTail - DBufHead;
    if (DBufHead > DBufTail)
        f += DispatchBufferSize;
    return f;
}

bool TSerBaseDispatcher::CharReady()
{
    TSerLock g(DispSection);
    if (DBuffer.empty())
        return false;
    if (InAvailMessage) {
        if (DispatchFull)
            return GetCount < DispatchBufferSize;
        return (DBufTail + GetCount) % DispatchBufferSize != DBufHead;
    }
    return DBufHead != DBufTail || DispatchFull;
}

int TSerBaseDispatcher::PeekChar(uint8_t& C, int Count)
{
    TSerLock g(DispSection);
    if (DBuffer.empty() || Count < 1)
        return ecBufferIsEmpty;
    const int skip = InAvailMessage ? GetCount : 0;
    if (BuffCount(DBufHead, DBufTail, DispatchFull) - skip < Count)
        return ecBufferIsEmpty;
    C = DBuffer[static_cast<size_t>((DBufTail + skip + Count - 1) % DispatchBufferSize)];
    return ecOK;
}

int TSerBaseDispatcher::GetChar(uint8_t& C)
{
    TSerLock g(DispSection);
    if (InAvailMessage) {
        // Reads inside a notification count instead of consuming; the
        // notification moves the tail when its handlers are done.
        const int r = PeekChar(C, 1);
        if (r != ecOK)
            return r;
        ++GetCount;
    } else {
        const int r = PeekChar(C, 1);
        if (r != ecOK)
            return r;
        DBufTail = (DBufTail + 1) % DispatchBufferSize;
        DispatchFull = false;
    }
    if (TracingOn) {
        TSerLock d(DataSection);
        AddTraceEntry('R', C);
    }
    return ecOK;
}

int TSerBaseDispatcher::PeekBlock(uint8_t* Block, int Len)
{
    TSerLock g(DispSection);
    if (DBuffer.empty())
        return ecBufferIsEmpty;
    const int skip = InAvailMessage ? GetCount : 0;
    if (BuffCount(DBufHead, DBufTail, DispatchFull) - skip < Len)
        return ecBufferIsEmpty;
    const int start = (DBufTail + skip) % DispatchBufferSize;
    const int first = std::min(Len, DispatchBufferSize - start);
    std::memcpy(Block, DBuffer.data() + start, static_cast<size_t>(first));
    if (Len > first)
        std::memcpy(Block + first, DBuffer.data(), static_cast<size_t>(Len - first));
    return Len;
}

int TSerBaseDispatcher::GetBlock(uint8_t* Block, int Len)
{
    int r;
    {
        TSerLock g(DispSection);
        r = PeekBlock(Block, Len);
        if (r < 0)
            return r;
        if (InAvailMessage) {
            GetCount += Len;
        } else {
            DBufTail = (DBufTail + Len) % DispatchBufferSize;
            if (Len > 0)
                DispatchFull = false;
        }
    }
    if (TracingOn) {
        TSerLock d(DataSection);
        for (int i = 0; i < Len; ++i)
            AddTraceEntry('R', Block[i]);
    }
    return r;
}

int TSerBaseDispatcher::InBuffUsed()
{
    TSerLock g(DispSection);
    const int used = BuffCount(DBufHead, DBufTail, DispatchFull);
    return InAvailMessage ? used - GetCount : used;
}

int TSerBaseDispatcher::InBuffFree()
{
    TSerLock g(DispSection);
    const int free = RingFree();
    return InAvailMessage ? free + GetCount : free;
}

int TSerBaseDispatcher::FlushInBuffer()
{
    TSerLock g(DispSection);
    const int r = FlushCom(1);
    if (InAvailMessage) {
        MaxGetCount = BuffCount(DBufHead, DBufTail, DispatchFull);
    } else {
        DBufTail = DBufHead;
        GetCount = 0;
    }
    DispatchFull = false;
    for (TDataTrigger& t : DataTriggers) {
        t.tChkIndex.fill(0);
        t.tMatched = false;
    }
    return r;
}

// ---------------------------------------------------------------------------
// Output

int TSerBaseDispatcher::PutChar(uint8_t C)
{
    return PutBlock(&C, 1);
}

int TSerBaseDispatcher::PutString(const QByteArray& S)
{
    return PutBlock(reinterpret_cast<const uint8_t*>(S.constData()), static_cast<int>(S.size()));
}

int TSerBaseDispatcher::PutBlock(const uint8_t* Block, int Len)
{
    if (Len == 0)
        return ecOK;
    int result = ecOK;
    int written = 0;
    {
        TSerLock o(OutputSection);
        if (OBuffer.empty())
            return ecPutBlockFail;  // the port's threads ended after a device error
        const unsigned free = static_cast<unsigned>(OutQue - OutBufUsed());
        if (free < static_cast<unsigned>(Len))
            return ecOutputBufferTooSmall;
        if (free == static_cast<unsigned>(Len))
            OBufFull = true;
        written = WriteCom(Block, Len);
        if (written <= 0) {
            TComStat st;
            LastError |= GetComError(st);
            written = written < 0 ? -written : written;
            result = ecPutBlockFail;
        }
        OutSentPending = true;
    }
    RecordWrite(Block, written);
    return result;
}

void TSerBaseDispatcher::RecordWrite(const uint8_t* Block, int Written)
{
    TSerLock g(DataSection);
    if (DLoggingOn)
        AddDispatchEntry(dtDispatch, dstWriteCom, static_cast<uint32_t>(Written),
                         QByteArray(reinterpret_cast<const char*>(Block), Written));
    if (TracingOn)
        for (int i = 0; i < Written; ++i)
            AddTraceEntry('T', Block[i]);
}

int TSerBaseDispatcher::OutBuffUsed()
{
    TSerLock o(OutputSection);
    TComStat st;
    GetComError(st);
    ComStatus = st;
    return static_cast<int>(st.cbOutQue);
}

int TSerBaseDispatcher::OutBuffFree()
{
    return OutQue - OutBuffUsed();
}

int TSerBaseDispatcher::FlushOutBuffer()
{
    return FlushCom(0);
}

void TSerBaseDispatcher::BufferSizes(int& InSize, int& OutSize) const
{
    InSize = InQue;
    OutSize = OutQue;
}

void TSerBaseDispatcher::SetEventBusy(bool& WasOn, bool SetOn)
{
    TSerLock g(DataSection);
    WasOn = fEventBusy;
    fEventBusy = SetOn;
}

// ---------------------------------------------------------------------------
// Threads

void TSerBaseDispatcher::ThreadStart()
{
    FActiveThreads.fetch_add(1);
    SetEvent(GeneralEvent);
}

void TSerBaseDispatcher::ThreadGone(int ThreadKind, int ReturnValue)
{
    if (ReturnValue != 0 && !(fOwner && fOwner->Loading())) {
        // The owner's thread raises the error: message boxes and the
        // application's error handling belong there.
        TSerLock g(DataSection);
        for (const TWndTriggerHandler& h : WndTriggerHandlers)
            if (!h.thDeleted)
                PostMessage(h.thWnd, MsgThreadError, static_cast<WPARAM>(-ReturnValue),
                            static_cast<LPARAM>(fHandle) << 16);
    }
    switch (ThreadKind) {
    case stkRead: FComThread = false; break;
    case stkWrite: FOutThread = false; break;
    case stkStatus: FStatusThread = false; break;
    case stkDispatch:
        FDispThread = false;
        if (DoDonePortPrim)
            DonePortPrim();
        break;
    }
    if (FActiveThreads.fetch_sub(1) == 1)
        FDispActive = false;
}

void TSerBaseDispatcher::RunDispThread()
{
    ThreadStart();
    try {
        for (;;) {
            FQueue.WaitForBuffer(50);
            if (KillThreads) {
                DoDonePortPrim = true;
                break;
            }
            ProcessComEvent();
            ProcessTimer();
            if (KillThreads || FClosePending) {
                SetEvent(GeneralEvent);
                DoDonePortPrim = FClosePending || KillThreads;
                break;
            }
        }
    } catch (...) {
        DoDonePortPrim = true;
    }
    ThreadGone(stkDispatch, 0);
}

int TSerBaseDispatcher::SetDataPointer(void* P, int Index)
{
    if (Index < 1 || Index > 3)
        return ecBadArgument;
    DataPointers[static_cast<size_t>(Index - 1)] = P;
    return ecOK;
}

int TSerBaseDispatcher::GetDataPointer(void*& P, int Index)
{
    if (Index < 1 || Index > 3)
        return ecBadArgument;
    P = DataPointers[static_cast<size_t>(Index - 1)];
    return ecOK;
}

void TSerBaseDispatcher::OptionsOn(uint32_t Options)
{
    TSerLock g(DataSection);
    Flags |= Options;
}

void TSerBaseDispatcher::OptionsOff(uint32_t Options)
{
    TSerLock g(DataSection);
    Flags &= ~Options;
}

bool TSerBaseDispatcher::OptionsAreOn(uint32_t Options) const
{
    return (Flags & Options) == Options;
}

void TSerBaseDispatcher::SetThreadBoost(uint8_t Boost)
{
    ThreadBoost = Boost;
}

// ---------------------------------------------------------------------------
// The dispatcher thread's work

bool TSerBaseDispatcher::ExtractData()
{
    TSerLock g(DispSection);
    if (DBuffer.empty())
        return false;
    if (DispatchFull) {
        if (DLoggingOn)
            AddDispatchEntry(dtDispatch, dstStatus, 0, QByteArrayLiteral("Dispatch buffer full."));
        return true;
    }
    const int available = InQueueUsed();
    ComStatus.cbInQue = static_cast<uint32_t>(available);
    if (available == 0)
        return false;
    const int free = RingFree();
    const int first = DBufHead >= DBufTail ? DispatchBufferSize - DBufHead : DBufTail - DBufHead;
    const int wanted = std::min(available, free);
    const int firstPart = std::min(wanted, first);
    const int second = wanted > first ? wanted - first : 0;
    int n = 0;
    if (firstPart > 0) {
        n = ReadCom(DBuffer.data() + DBufHead, firstPart);
        if (n < 0)
            n = 0;
        if (DLoggingOn)
            AddDispatchEntry(dtDispatch, dstReadCom, static_cast<uint32_t>(n),
                             QByteArray(reinterpret_cast<const char*>(DBuffer.data() + DBufHead), n));
        DBufHead += n;
    }
    if (DBufHead >= DispatchBufferSize)
        DBufHead = 0;
    if (n > 0)
        DispatchFull = DBufHead == DBufTail;
    if (second > 0 && n == firstPart) {
        int m = ReadCom(DBuffer.data() + DBufHead, second);
        if (m < 0)
            m = -m;
        if (DLoggingOn)
            AddDispatchEntry(dtDispatch, dstReadCom, static_cast<uint32_t>(m),
                             QByteArray(reinterpret_cast<const char*>(DBuffer.data() + DBufHead), m));
        DBufHead += m;
        if (DBufHead >= DispatchBufferSize)
            DBufHead = 0;
        DispatchFull = DBufHead == DBufTail;
    }
    return true;
}

void TSerBaseDispatcher::ProcessComEvent()
{
    CurrentEvent = 0;
    if (TIOBuffer* b = FQueue.Peek()) {
        if (auto* s = dynamic_cast<TStatusBuffer*>(b)) {
            CurrentEvent = s->Status;
            FQueue.Pop();
        } else {
            FQueue.Release(b);
        }
    }
    if (CurrentEvent & (EV_RING | EV_RING_TE))
        RingFlag = true;
    auto statusLoop = [this]() -> bool {
        bool any = false;
        while (CheckStatusTriggers()) {
            any = true;
            if (FClosePending)
                return false;
        }
        if (any)
            ResetStatusHits();
        return true;
    };
    if (CurrentEvent & 0x2138) {
        MapEventsToMS(CurrentEvent);
        if (!fEventBusy && !statusLoop())
            return;
    }
    if ((CurrentEvent & 0xFF) >= 0x40) {
        RefreshStatus();
        if (!fEventBusy && !statusLoop())
            return;
    }
    ExtractData();
    if (!fEventBusy) {
        GetModemStatus();
        if (!statusLoop())
            return;
        while (CheckReceiveTriggers())
            if (FClosePending)
                return;
    }
    if (GlobalStatHit)
        ResetStatusHits();
}

void TSerBaseDispatcher::ProcessTimer()
{
    if (FClosePending || fEventBusy)
        return;
    GlobalStatHit = false;
    bool any = false;
    while (!FClosePending && (CheckStatusTriggers() || CheckTimerTriggers()))
        any = true;
    if (any)
        ResetStatusHits();
}
