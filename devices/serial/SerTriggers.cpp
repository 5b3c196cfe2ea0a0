// Triggers of a dispatcher and the notification of its handlers.

#include "devices/serial/SerDispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <algorithm>

using enum TDispatchType;
using enum TDispatchSubType;

namespace {

QByteArray Bytes4(uint32_t V)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((V >> (8 * i)) & 0xFF);
    return b;
}

uint8_t Upper(uint8_t C)
{
    return (C >= 'a' && C <= 'z') ? static_cast<uint8_t>(C - 32) : C;
}

}  // namespace

// ---------------------------------------------------------------------------
// Trigger records

int TSerBaseDispatcher::NewTriggerHandle()
{
    if (TriggerCounter < 4096)
        return 8 * TriggerCounter++;
    for (int h = 8; h <= 4096; h += 8) {
        bool used = false;
        for (const auto& t : TimerTriggers)
            used = used || t.tHandle == h;
        for (const auto& t : DataTriggers)
            used = used || t.tHandle == h;
        for (const auto& t : StatusTriggers)
            used = used || (t.tHandle & ~7) == h;
        if (!used)
            return h;
    }
    return ecNoMoreTriggers;
}

int TSerBaseDispatcher::ChangeLengthTrigger(int Length)
{
    TSerLock g(DataSection);
    LenTrigger = Length;
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerDataChange, dstAvailTrigger, static_cast<uint32_t>(Length), QByteArray());
    return ecOK;
}

int TSerBaseDispatcher::AddTimerTrigger()
{
    TSerLock g(DataSection);
    const int h = NewTriggerHandle();
    if (h < 0)
        return h;
    TTimerTrigger t;
    t.tHandle = h;
    TimerTriggers.push_back(t);
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerAlloc, dstTimerTrigger, static_cast<uint32_t>(h), QByteArray());
    return h;
}

int TSerBaseDispatcher::AddDataTrigger(const QByteArray& Data, bool IgnoreCase)
{
    const qsizetype zero = Data.indexOf('\0');
    return AddDataTriggerLen(Data, IgnoreCase, static_cast<int>(zero < 0 ? Data.size() : zero));
}

int TSerBaseDispatcher::AddDataTriggerLen(const QByteArray& Data, bool IgnoreCase, int Len)
{
    TSerLock g(DataSection);
    if (Len > MaxTrigData)
        return ecTriggerTooLong;
    const int h = NewTriggerHandle();
    if (h < 0)
        return h;
    TDataTrigger t;
    t.tHandle = h;
    t.tLen = Len;
    t.tIgnoreCase = IgnoreCase;
    t.tData = Data.left(Len);
    if (IgnoreCase)
        for (char& c : t.tData)
            c = static_cast<char>(Upper(static_cast<uint8_t>(c)));
    DataTriggers.push_back(t);
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerAlloc, dstDataTrigger, static_cast<uint32_t>(h), t.tData);
    return h;
}

int TSerBaseDispatcher::AddStatusTrigger(int SType)
{
    TSerLock g(DataSection);
    if (SType > stOutSent || SType < stNotActive)
        return ecBadArgument;
    const int h = NewTriggerHandle();
    if (h < 0)
        return h;
    TStatusTrigger t;
    t.tHandle = h + SType;
    t.tSType = SType;
    StatusTriggers.push_back(t);
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerAlloc, dstStatusTrigger, static_cast<uint32_t>(t.tHandle),
                         QByteArray(1, static_cast<char>(SType)));
    return t.tHandle;
}

int TSerBaseDispatcher::RemoveTrigger(int Handle)
{
    TSerLock g(DataSection);
    if (Handle == 1) {
        LenTrigger = 0;
        return ecOK;
    }
    for (auto it = TimerTriggers.begin(); it != TimerTriggers.end(); ++it)
        if (it->tHandle == Handle) {
            TimerTriggers.erase(it);
            if (DLoggingOn)
                AddDispatchEntry(dtTriggerDispose, dstTimer, static_cast<uint32_t>(Handle), QByteArray());
            return ecOK;
        }
    for (auto it = StatusTriggers.begin(); it != StatusTriggers.end(); ++it)
        if (it->tHandle == Handle) {
            const int kind = it->tSType;
            StatusTriggers.erase(it);
            if (DLoggingOn)
                AddDispatchEntry(dtTriggerDispose, dstStatusTrigger, static_cast<uint32_t>(Handle),
                                 QByteArray(1, static_cast<char>(kind)));
            return ecOK;
        }
    for (auto it = DataTriggers.begin(); it != DataTriggers.end(); ++it)
        if (it->tHandle == Handle) {
            DataTriggers.erase(it);
            if (DLoggingOn)
                AddDispatchEntry(dtTriggerDispose, dstData, static_cast<uint32_t>(Handle), QByteArray());
            return ecOK;
        }
    return ecBadTriggerHandle;
}

void TSerBaseDispatcher::RemoveAllTriggers()
{
    TSerLock g(DataSection);
    LenTrigger = 0;
    TimerTriggers.clear();
    DataTriggers.clear();
    StatusTriggers.clear();
    TriggerCounter = 1;
}

bool TSerBaseDispatcher::FindTimer(int Handle, TTimerTrigger*& T)
{
    for (auto& t : TimerTriggers)
        if (t.tHandle == Handle) {
            T = &t;
            return true;
        }
    return false;
}

int TSerBaseDispatcher::SetTimerTrigger(int Handle, int32_t Ticks, bool Activate)
{
    TSerLock g(DataSection);
    TTimerTrigger* t = nullptr;
    if (!FindTimer(Handle, t))
        return ecBadTriggerHandle;
    if (Activate) {
        if (Ticks != 0)
            t->tTicks = Ticks;
        NewTimer(t->tET, t->tTicks);
    }
    t->tActive = Activate;
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerDataChange, dstTimerTrigger, static_cast<uint32_t>(Handle),
                         Activate ? Bytes4(static_cast<uint32_t>(t->tTicks)) : QByteArrayLiteral("Deactivated"));
    return ecOK;
}

int TSerBaseDispatcher::ExtendTimer(int Handle, int32_t Ticks)
{
    TSerLock g(DataSection);
    TTimerTrigger* t = nullptr;
    if (!FindTimer(Handle, t))
        return ecBadTriggerHandle;
    t->tET.ExpireTicks += Ticks;
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerDataChange, dstTimerTrigger, static_cast<uint32_t>(Handle),
                         Bytes4(static_cast<uint32_t>(Ticks)));
    return ecOK;
}

int TSerBaseDispatcher::TimerTicksRemaining(int Handle, int32_t& TicksRemaining)
{
    TSerLock g(DataSection);
    TTimerTrigger* t = nullptr;
    TicksRemaining = 0;
    if (!FindTimer(Handle, t))
        return ecBadTriggerHandle;
    TicksRemaining = RemainingTime(t->tET);
    return ecOK;
}

int TSerBaseDispatcher::SetStatusTrigger(int Handle, uint16_t Value, bool Activate)
{
    TSerLock g(DataSection);
    for (auto& t : StatusTriggers) {
        if (t.tHandle != Handle)
            continue;
        if (Activate) {
            switch (t.tSType) {
            case stModem: {
                const uint8_t mask = static_cast<uint8_t>(Value & 0xFF);
                t.tValue = static_cast<uint16_t>((mask << 8) | (ModemStatus & mask));
                break;
            }
            case stLine: {
                uint16_t m = 0;
                if (Value & 1)
                    m |= CE_OVERRUN;
                if (Value & 2)
                    m |= CE_RXPARITY;
                if (Value & 4)
                    m |= CE_FRAME;
                if (Value & 8)
                    m |= CE_BREAK;
                t.tValue = m;
                break;
            }
            default:
                t.tValue = Value;
                break;
            }
            t.tHit = false;
        }
        t.tActive = Activate;
        if (DLoggingOn)
            AddDispatchEntry(dtTriggerDataChange, dstStatusTrigger, static_cast<uint32_t>(Handle), Bytes4(t.tValue));
        return ecOK;
    }
    return ecBadTriggerHandle;
}

void TSerBaseDispatcher::SaveTriggers(TTriggerSave& Save)
{
    TSerLock g(DataSection);
    Save.tsLenTrigger = LenTrigger;
    Save.tsTimerTriggers = TimerTriggers;
    Save.tsDataTriggers = DataTriggers;
    Save.tsStatusTriggers = StatusTriggers;
}

void TSerBaseDispatcher::RestoreTriggers(const TTriggerSave& Save)
{
    TSerLock g(DataSection);
    LenTrigger = Save.tsLenTrigger;
    TimerTriggers = Save.tsTimerTriggers;
    DataTriggers = Save.tsDataTriggers;
    StatusTriggers = Save.tsStatusTriggers;
    int highest = 0;
    for (const auto& t : TimerTriggers)
        highest = std::max(highest, t.tHandle / 8);
    for (const auto& t : DataTriggers)
        highest = std::max(highest, t.tHandle / 8);
    for (const auto& t : StatusTriggers)
        highest = std::max(highest, t.tHandle / 8);
    TriggerCounter = std::max(TriggerCounter, highest + 1);
}

void TSerBaseDispatcher::ClearSaveBuffers(TTriggerSave& Save)
{
    Save = TTriggerSave();
}

// ---------------------------------------------------------------------------
// Handlers

void TSerBaseDispatcher::RegisterWndTriggerHandler(HWND Wnd)
{
    TSerLock g(DataSection);
    WndTriggerHandlers.push_back({Wnd, false});
    HandlerServiceNeeded = true;
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerHandlerAlloc, dstWndHandler, static_cast<uint32_t>(Wnd), QByteArray());
}

intptr_t TSerBaseDispatcher::RegisterProcTriggerHandler(TTriggerNotify NP)
{
    TSerLock g(DataSection);
    const intptr_t key = FNextHandlerKey++;
    ProcTriggerHandlers.push_back({key, std::move(NP), false});
    HandlerServiceNeeded = true;
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerHandlerAlloc, dstProcHandler, 0, QByteArray());
    return key;
}

intptr_t TSerBaseDispatcher::RegisterEventTriggerHandler(TTriggerNotify NP)
{
    TSerLock g(DataSection);
    const intptr_t key = FNextHandlerKey++;
    EventTriggerHandlers.push_back({key, std::move(NP), false, false});
    HandlerServiceNeeded = true;
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerHandlerAlloc, dstEventHandler, 0, QByteArray());
    return key;
}

intptr_t TSerBaseDispatcher::RegisterSyncEventTriggerHandler(TTriggerNotify NP)
{
    TSerLock g(DataSection);
    const intptr_t key = FNextHandlerKey++;
    EventTriggerHandlers.push_back({key, std::move(NP), true, false});
    HandlerServiceNeeded = true;
    if (DLoggingOn)
        AddDispatchEntry(dtTriggerHandlerAlloc, dstEventHandler, 1, QByteArray());
    return key;
}

void TSerBaseDispatcher::DeregisterWndTriggerHandler(HWND Wnd)
{
    TSerLock g(DataSection);
    for (auto it = WndTriggerHandlers.begin(); it != WndTriggerHandlers.end(); ++it) {
        if (it->thWnd != Wnd || it->thDeleted)
            continue;
        if (fEventBusy) {
            it->thDeleted = true;
            DeletePending = true;
        } else {
            WndTriggerHandlers.erase(it);
        }
        if (DLoggingOn)
            AddDispatchEntry(dtTriggerHandlerDispose, dstWndHandler, static_cast<uint32_t>(Wnd), QByteArray());
        return;
    }
}

template <class List>
static bool DeregisterKeyed(List& L, intptr_t Key, bool Busy, bool& DeletePending)
{
    for (auto it = L.begin(); it != L.end(); ++it) {
        if (it->thKey != Key || it->thDeleted)
            continue;
        if (Busy) {
            it->thDeleted = true;
            DeletePending = true;
        } else {
            L.erase(it);
        }
        return true;
    }
    return false;
}

void TSerBaseDispatcher::DeregisterProcTriggerHandler(intptr_t Key)
{
    TSerLock g(DataSection);
    if (DeregisterKeyed(ProcTriggerHandlers, Key, fEventBusy, DeletePending) && DLoggingOn)
        AddDispatchEntry(dtTriggerHandlerDispose, dstProcHandler, 0, QByteArray());
}

void TSerBaseDispatcher::DeregisterEventTriggerHandler(intptr_t Key)
{
    TSerLock g(DataSection);
    if (DeregisterKeyed(EventTriggerHandlers, Key, fEventBusy, DeletePending) && DLoggingOn)
        AddDispatchEntry(dtTriggerHandlerDispose, dstEventHandler, 0, QByteArray());
}

void TSerBaseDispatcher::UpdateHandlerFlags(int FlagUpdate)
{
    TSerLock g(DataSection);
    const bool others = WndTriggerHandlers.size() > 1 || !ProcTriggerHandlers.empty() || !EventTriggerHandlers.empty();
    switch (FlagUpdate) {
    case 1:
        PortHandlerInstalled = true;
        HandlerServiceNeeded = true;
        break;
    case 2:
        PortHandlerInstalled = false;
        HandlerServiceNeeded = others;
        break;
    default:
        HandlerServiceNeeded = others || PortHandlerInstalled;
        break;
    }
}

// ---------------------------------------------------------------------------
// Checks, on the dispatcher thread

int TSerBaseDispatcher::DataTriggerMatch(uint8_t C, int& MatchedLen)
{
    int matched = 0;
    MatchedLen = 0;
    TSerLock g(DataSection);
    for (TDataTrigger& t : DataTriggers) {
        if (t.tLen == 0 || t.tMatched)
            continue;
        const uint8_t c = t.tIgnoreCase ? Upper(C) : C;
        bool full = false;
        for (int& p : t.tChkIndex) {
            if (p == 0)
                continue;
            if (static_cast<uint8_t>(t.tData[p]) == c) {
                ++p;
                if (p >= t.tLen)
                    full = true;
            } else {
                p = 0;
            }
        }
        if (static_cast<uint8_t>(t.tData[0]) == c) {
            if (t.tLen == 1) {
                full = true;
            } else {
                for (int& p : t.tChkIndex)
                    if (p == 0) {
                        p = 1;
                        break;
                    }
            }
        }
        if (full) {
            t.tMatched = true;
            t.tChkIndex.fill(0);
            ++matched;
            MatchedLen = std::max(MatchedLen, t.tLen);
        }
    }
    return matched;
}

bool TSerBaseDispatcher::HandleDataTriggers(int Position, int MatchedLen)
{
    bool result = false;
    const int next = (Position + 1) % DispatchBufferSize;
    {
        int unreadBefore;
        {
            TSerLock d(DispSection);
            unreadBefore = BuffCount(next, DBufTail, false) - MatchedLen;
        }
        if (LenTrigger != 0 && Position != NotifyTail && unreadBefore >= LenTrigger) {
            result = SendNotify(MsgTriggerAvail, static_cast<unsigned>(unreadBefore), 0);
            LastTailData = Position;
            NotifyTail = Position;
        }
    }
    std::vector<std::pair<int, int>> fired;
    {
        TSerLock g(DataSection);
        for (auto it = DataTriggers.rbegin(); it != DataTriggers.rend(); ++it)
            if (it->tMatched) {
                it->tMatched = false;
                fired.push_back({it->tHandle, it->tLen});
            }
    }
    for (const auto& f : fired) {
        if (DLoggingOn)
            AddDispatchEntry(dtTrigger, dstData, static_cast<uint32_t>(f.first), QByteArray());
        result = SendNotify(MsgTriggerData, static_cast<unsigned>(f.first), static_cast<uint16_t>(f.second));
    }
    LastTailData = next;
    return result;
}

bool TSerBaseDispatcher::CheckReceiveTriggers()
{
    int head;
    {
        TSerLock d(DispSection);
        if (DBuffer.empty())
            return false;
        head = DBufHead;
    }
    bool hasDataTriggers;
    {
        TSerLock g(DataSection);
        hasDataTriggers = !DataTriggers.empty();
    }
    if (LastTailData != head) {
        if (hasDataTriggers) {
            int pos = LastTailData;
            while (pos != head) {
                uint8_t c;
                {
                    TSerLock d(DispSection);
                    c = DBuffer[static_cast<size_t>(pos)];
                }
                int matchedLen = 0;
                if (DataTriggerMatch(c, matchedLen) > 0)
                    return HandleDataTriggers(pos, matchedLen);
                pos = (pos + 1) % DispatchBufferSize;
            }
        }
        LastTailData = head;
    }
    const int n = InBuffUsed();
    if (LenTrigger == 0 || head == NotifyTail || n < LenTrigger)
        return false;
    if (DLoggingOn)
        AddDispatchEntry(dtTrigger, dstAvail, static_cast<uint32_t>(n), QByteArray());
    const bool result = SendNotify(MsgTriggerAvail, static_cast<unsigned>(n), 0);
    NotifyTail = head;
    return result;
}

bool TSerBaseDispatcher::CheckStatusTriggers()
{
    int handle = 0;
    uint16_t data = 0;
    {
        TSerLock g(DataSection);
        for (TStatusTrigger& t : StatusTriggers) {
            if (!t.tActive || t.tHit)
                continue;
            bool fire = false;
            switch (t.tSType) {
            case stModem: {
                const uint8_t mask = static_cast<uint8_t>(t.tValue >> 8);
                fire = ((ModemStatus ^ (t.tValue & 0xFF)) & mask) != 0;
                break;
            }
            case stLine:
                if (LastError & t.tValue) {
                    fire = true;
                    t.tValue = static_cast<uint16_t>(LastError);
                }
                break;
            case stOutBuffFree: {
                const int free = OutQue - OutBufUsed();
                fire = free >= t.tValue;
                data = static_cast<uint16_t>(free);
                break;
            }
            case stOutBuffUsed: {
                const int used = OutBufUsed();
                fire = used <= t.tValue;
                data = static_cast<uint16_t>(used);
                break;
            }
            case stOutSent:
                if (OutSentPending) {
                    fire = true;
                    OutSentPending = false;
                }
                break;
            default:
                break;
            }
            if (fire) {
                t.tActive = false;
                t.tHit = true;
                GlobalStatHit = true;
                handle = t.tHandle;
                if (t.tSType != stOutBuffFree && t.tSType != stOutBuffUsed)
                    data = 0;
                break;
            }
        }
    }
    if (!handle)
        return false;
    if (DLoggingOn)
        AddDispatchEntry(dtTrigger, dstStatus, static_cast<uint32_t>(handle), QByteArray());
    return SendNotify(MsgTriggerStatus, static_cast<unsigned>(handle), data);
}

bool TSerBaseDispatcher::CheckTimerTriggers()
{
    int handle = 0;
    {
        TSerLock g(DataSection);
        for (TTimerTrigger& t : TimerTriggers)
            if (t.tActive && TimerExpired(t.tET)) {
                t.tActive = false;
                handle = t.tHandle;
                break;
            }
    }
    if (!handle)
        return false;
    if (DLoggingOn)
        AddDispatchEntry(dtTrigger, dstTimer, static_cast<uint32_t>(handle), QByteArray());
    return SendNotify(MsgTriggerTimer, static_cast<unsigned>(handle), 0);
}

void TSerBaseDispatcher::ResetStatusHits()
{
    TSerLock g(DataSection);
    for (TStatusTrigger& t : StatusTriggers)
        t.tHit = false;
    GlobalStatHit = false;
}

// ---------------------------------------------------------------------------
// Notification

bool TSerBaseDispatcher::SendNotify(unsigned Msg, unsigned Trigger, uint16_t Data)
{
    if (!HandlerServiceNeeded)
        return true;
    std::vector<TEventTriggerHandler> events;
    std::vector<TProcTriggerHandler> procs;
    std::vector<HWND> windows;
    {
        TSerLock g(DataSection);
        fEventBusy = true;
        for (const auto& e : EventTriggerHandlers)
            if (!e.thDeleted)
                events.push_back(e);
        for (const auto& p : ProcTriggerHandlers)
            if (!p.thDeleted && p.thNotify)
                procs.push_back(p);
        if (WndTriggerHandlers.size() > 1 || PortHandlerInstalled)
            for (const auto& w : WndTriggerHandlers)
                if (!w.thDeleted)
                    windows.push_back(w.thWnd);
    }
    {
        TSerLock d(DispSection);
        MaxGetCount = 0;
        InAvailMessage = Msg == MsgTriggerAvail || Msg == MsgTriggerData;
    }
    const intptr_t lParam = static_cast<intptr_t>(fHandle) * 65536 + Data;
    bool result = true;
    bool stopped = false;
    auto afterHandler = [&]() -> bool {
        if (FClosePending) {
            result = false;
            stopped = true;
            return false;
        }
        TSerLock d(DispSection);
        MaxGetCount = std::max(MaxGetCount, GetCount);
        return true;
    };
    auto resetCount = [this] {
        TSerLock d(DispSection);
        GetCount = 0;
    };
    for (const auto& e : events) {
        resetCount();
        if (e.thSync && QCoreApplication::instance()
            && QThread::currentThread() != QCoreApplication::instance()->thread()) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [&] { e.thNotify(Msg, Trigger, lParam); },
                Qt::BlockingQueuedConnection);
        } else {
            e.thNotify(Msg, Trigger, lParam);
        }
        if (!afterHandler())
            break;
    }
    if (!stopped)
        for (const auto& p : procs) {
            resetCount();
            p.thNotify(Msg, Trigger, lParam);
            if (!afterHandler())
                break;
        }
    if (!stopped)
        for (HWND w : windows) {
            resetCount();
            // A handler may run long (a modal dialog): after 3000 ms delivery
            // goes on and the handler keeps running on its own thread.
            SendMessageTimeout(w, Msg, Trigger, lParam, 3000);
            if (!afterHandler())
                break;
        }
    {
        TSerLock d(DispSection);
        if (InAvailMessage && !stopped && !DBuffer.empty()) {
            DBufTail = (DBufTail + MaxGetCount) % DispatchBufferSize;
            if (MaxGetCount > 0)
                DispatchFull = false;
            if (Msg == MsgTriggerAvail && MaxGetCount != static_cast<int>(Trigger))
                result = false;
        }
        InAvailMessage = false;
    }
    {
        TSerLock g(DataSection);
        fEventBusy = false;
        if (DeletePending) {
            auto gone = [](const auto& h) { return h.thDeleted; };
            WndTriggerHandlers.erase(std::remove_if(WndTriggerHandlers.begin(), WndTriggerHandlers.end(), gone),
                                     WndTriggerHandlers.end());
            ProcTriggerHandlers.erase(std::remove_if(ProcTriggerHandlers.begin(), ProcTriggerHandlers.end(), gone),
                                      ProcTriggerHandlers.end());
            EventTriggerHandlers.erase(
                std::remove_if(EventTriggerHandlers.begin(), EventTriggerHandlers.end(), gone),
                EventTriggerHandlers.end());
            DeletePending = false;
            UpdateHandlerFlags(0);
        }
    }
    if (!stopped)
        resetCount();
    return result;
}
