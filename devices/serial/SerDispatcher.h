#pragma once
// The engine behind one open serial port: the 8192-byte receive ring that the
// owner reads, the output ring that the write thread empties, the dispatcher
// thread that moves received bytes into the ring and checks the triggers,
// the notification of the owner's window, line and modem control, tracing and
// the dispatch log, and the process-wide port list whose index names the
// dispatcher in notification messages.
//
// Results are 0 (or a count) on success and a negative code on failure; the
// port component turns negative codes into exceptions.

#include "devices/serial/SerIOQueue.h"
#include "devices/serial/SerTypes.h"
#include "devices/serial/SerUtils.h"
#include "platform/comm/Comm.h"
#include "platform/os/MessageWindow.h"
#include "platform/os/Waitable.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class TComponent;
class TSerBaseDispatcher;

using TTriggerNotify = std::function<void(unsigned Msg, unsigned WParam, intptr_t LParam)>;

struct TTimerTrigger {
    int tHandle = 0;
    EventTimer tET;
    int32_t tTicks = 0;
    bool tActive = false;
};

struct TDataTrigger {
    int tHandle = 0;
    int tLen = 0;
    std::array<int, MaxTrigData + 1> tChkIndex{};  // partial matches: bytes matched so far
    bool tMatched = false;
    bool tIgnoreCase = false;
    QByteArray tData;
};

struct TStatusTrigger {
    int tHandle = 0;
    int tSType = stNotActive;
    uint16_t tValue = 0;
    bool tActive = false;
    bool tHit = false;
};

struct TTriggerSave {
    int tsLenTrigger = 0;
    std::vector<TTimerTrigger> tsTimerTriggers;
    std::vector<TDataTrigger> tsDataTriggers;
    std::vector<TStatusTrigger> tsStatusTriggers;
};

struct TWndTriggerHandler {
    HWND thWnd = 0;
    bool thDeleted = false;
};

struct TProcTriggerHandler {
    intptr_t thKey = 0;
    TTriggerNotify thNotify;
    bool thDeleted = false;
};

struct TEventTriggerHandler {
    intptr_t thKey = 0;
    TTriggerNotify thNotify;
    bool thSync = false;
    bool thDeleted = false;
};

struct TTraceRecord {
    char EventType = 0;
    uint8_t C = 0;
};

// The process-wide list of dispatchers; the index of a dispatcher is its
// handle in notification messages.
void LockPortList();
void UnlockPortList();
TSerCriticalSection& PortListSection();
// The dispatcher at Index, or null (the caller holds the lock).
TSerBaseDispatcher* PortListItem(int Index);
int PortListCount();

class TSerBaseDispatcher {
public:
    explicit TSerBaseDispatcher(TComponent* Owner);
    virtual ~TSerBaseDispatcher();
    TSerBaseDispatcher(const TSerBaseDispatcher&) = delete;
    TSerBaseDispatcher& operator=(const TSerBaseDispatcher&) = delete;

    // Device layer operations, given by the platform's dispatcher.
    virtual int EscapeComFunction(int Func) = 0;
    virtual int FlushCom(int Queue) = 0;  // 0 output, 1 input
    virtual uint32_t GetComError(TComStat& Stat) = 0;
    virtual uint32_t GetComEventMask() = 0;
    virtual int GetComState(TDCB& Dcb) = 0;
    virtual int ReadCom(uint8_t* Buffer, int Length) = 0;
    virtual int SetComState(const TDCB& Dcb) = 0;
    virtual int WriteCom(const uint8_t* Buffer, int Length) = 0;
    virtual bool WaitComEvent(uint32_t& EvtMask) = 0;
    virtual bool SetupCom(int InSize, int OutSize) = 0;
    virtual void DonePortPrim();
    virtual void StartDispatcher() = 0;
    virtual void StopDispatcher() = 0;
    virtual int OutBufUsed() = 0;
    virtual int InQueueUsed() { return 0; }
    // The modem lines as the system reports them (bits 4 CTS, 5 DSR, 6 RI, 7 DCD).
    virtual uint32_t GetModemLines() = 0;
    virtual int OpenCom(const QString& Name, int InQueue, int OutQueue) = 0;
    virtual int CloseCom() = 0;
    virtual bool CheckPort(const QString& Name) = 0;
    virtual int ProcessCommunications() = 0;
    virtual void SetThreadBoost(uint8_t Boost);
    virtual void UpdateHandlerFlags(int FlagUpdate);

    // Closes the port unless done and waits for its threads to end; every
    // destructor of a device layer calls it first.
    void Shutdown();

    // Open and close.
    int InitPort(const QString& AName, int32_t Baud, int Parity, int DataBits, int StopBits, int InSize,
                 int OutSize, uint32_t LineFlags);
    void DonePort();
    int SetCommBuffers(int InSize, int OutSize);

    // Reading the receive ring.
    bool CharReady();
    int PeekChar(uint8_t& C, int Count);
    int GetChar(uint8_t& C);
    int PeekBlock(uint8_t* Block, int Len);
    int GetBlock(uint8_t* Block, int Len);
    int InBuffUsed();
    int InBuffFree();
    int FlushInBuffer();

    // Writing.
    int PutChar(uint8_t C);
    int PutString(const QByteArray& S);
    int PutBlock(const uint8_t* Block, int Len);
    int OutBuffUsed();
    int OutBuffFree();
    int FlushOutBuffer();
    void BufferSizes(int& InSize, int& OutSize) const;

    void SetEventBusy(bool& WasOn, bool SetOn);
    bool EventBusy() const { return fEventBusy; }
    bool ClosePending() const { return FClosePending; }
    bool DispActive() const { return FDispActive; }
    int ActiveThreads() const { return FActiveThreads.load(); }

    // Port threads report their start and end.
    void ThreadStart();
    void ThreadGone(int ThreadKind, int ReturnValue);

    int SetDataPointer(void* P, int Index);
    int GetDataPointer(void*& P, int Index);
    void OptionsOn(uint32_t Options);
    void OptionsOff(uint32_t Options);
    bool OptionsAreOn(uint32_t Options) const;

    // Line settings.
    int SetLine(int32_t Baud, int Parity, int DataBits, int StopBits);
    // SetLine's work; LetOutputDrain false skips the wait for sent output
    // (nothing to wait for on a port that was just opened).
    int ChangeLine(int32_t Baud, int Parity, int DataBits, int StopBits, bool LetOutputDrain);
    int GetLine(int32_t& Baud, int& Parity, int& DataBits, int& StopBits);
    int ChangeBaud(int32_t Baud);
    int SetCommStateFix(TDCB& Dcb);
    int SetDtr(bool OnOff);
    int SetRts(bool OnOff);
    int SetModem(bool Dtr, bool Rts);
    static int32_t ActualBaud(int32_t Code);

    // Flow and modem control.
    int HWFlowOptions(int BufferFull, int BufferResume, int Options);
    int HWFlowState();
    int SWFlowEnable(int BufferFull, int BufferResume, int Options);
    int SWFlowDisable();
    int SWFlowState();
    int SWFlowChars(char OnChar, char OffChar);
    int GetFlowOptions(int& HWOpts, int& SWOpts, char& BufferFull, char& BufferResume);
    uint8_t GetModemStatus();
    bool CheckCTS();
    bool CheckDSR();
    bool CheckRI();
    bool CheckDCD();
    bool CheckDeltaCTS();
    bool CheckDeltaDSR();
    bool CheckDeltaRI();
    bool CheckDeltaDCD();
    int GetLineError();
    bool CheckLineBreak();
    void SendBreak(int Ticks, bool Yield);
    void SetBreak(bool BreakOn);
    void SetRS485Mode(bool OnOff);
    void SetBaseAddress(uint16_t NewBaseAddress);
    uint16_t GetBaseAddress() const { return BaseAddress; }
    void RefreshStatus();
    void MapEventsToMS(uint32_t Events);
    uint8_t ModemStatusByte() const { return ModemStatus; }
    uint32_t LastErrorBits() const { return LastError; }

    // Triggers.
    int ChangeLengthTrigger(int Length);
    int AddTimerTrigger();
    int AddDataTrigger(const QByteArray& Data, bool IgnoreCase);
    int AddDataTriggerLen(const QByteArray& Data, bool IgnoreCase, int Len);
    int AddStatusTrigger(int SType);
    int RemoveTrigger(int Handle);
    void RemoveAllTriggers();
    int SetTimerTrigger(int Handle, int32_t Ticks, bool Activate);
    int ExtendTimer(int Handle, int32_t Ticks);
    int TimerTicksRemaining(int Handle, int32_t& TicksRemaining);
    int SetStatusTrigger(int Handle, uint16_t Value, bool Activate);
    void SaveTriggers(TTriggerSave& Save);
    void RestoreTriggers(const TTriggerSave& Save);
    static void ClearSaveBuffers(TTriggerSave& Save);
    static int ClassifyStatusTrigger(int Handle) { return Handle & 7; }
    int LengthTrigger() const { return LenTrigger; }

    // Notification handlers.
    void RegisterWndTriggerHandler(HWND Wnd);
    intptr_t RegisterProcTriggerHandler(TTriggerNotify NP);
    intptr_t RegisterEventTriggerHandler(TTriggerNotify NP);
    intptr_t RegisterSyncEventTriggerHandler(TTriggerNotify NP);
    void DeregisterWndTriggerHandler(HWND Wnd);
    void DeregisterProcTriggerHandler(intptr_t Key);
    void DeregisterEventTriggerHandler(intptr_t Key);

    // Tracing.
    int InitTracing(uint32_t NumEntries);
    void ClearTracing();
    void AbortTracing();
    void StartTracing();
    void StopTracing();
    void AddTraceEntry(char CurEntry, uint8_t CurCh);
    int DumpTrace(const QString& FName, bool InHex, bool AllHex);
    int AppendTrace(const QString& FName, bool InHex, bool AllHex);
    bool TracingIsOn() const { return TracingOn; }

    // Dispatch log.
    void InitDispatchLogging(uint32_t QueueSize);
    void ClearDispatchLogging();
    void AbortDispatchLogging();
    void StartDispatchLogging();
    void StopDispatchLogging();
    void AddDispatchEntry(TDispatchType DT, TDispatchSubType DST, uint32_t Data, const QByteArray& Buffer);
    void AddStringToLog(const QByteArray& S);
    int DumpDispatchLog(const QString& FName, bool InHex, bool AllHex);
    int AppendDispatchLog(const QString& FName, bool InHex, bool AllHex);
    bool LoggingIsOn() const { return DLoggingOn; }

    // Dispatcher thread work, public for the thread and the tests.
    bool ExtractData();
    void ProcessComEvent();
    void ProcessTimer();
    bool CheckReceiveTriggers();
    bool CheckStatusTriggers();
    bool CheckTimerTriggers();
    void ResetStatusHits();
    bool SendNotify(unsigned Msg, unsigned Trigger, uint16_t Data);

    int Handle() const { return fHandle; }
    TComponent* Owner() const { return fOwner; }
    void ClearOwner() { fOwner = nullptr; }
    const QString& DeviceName() const { return FDeviceName; }
    void SetDeviceName(const QString& Name) { FDeviceName = Name; }
    uint32_t LastWinError() const { return FLastWinError.load(); }
    static int BuffCount(int Head, int Tail, bool Full);

protected:
    friend class TDispThread;
    void RunDispThread();
    int DataTriggerMatch(uint8_t C, int& MatchedLen);
    bool HandleDataTriggers(int Position, int MatchedLen);
    int NewTriggerHandle();
    bool FindTimer(int Handle, TTimerTrigger*& T);
    void DoGetModemStatusPrim(uint8_t ClearMask, uint8_t& Result);
    bool ModemFlag(uint8_t ClearMask, uint8_t Bit);
    int RingFree() const;
    void RecordWrite(const uint8_t* Block, int Written);

    TComponent* fOwner;
    int fHandle = -1;
    int CidEx = -1;
    uint32_t LastError = 0;
    int InQue = 0;
    int OutQue = 0;
    uint8_t ModemStatus = 0;
    TComStat ComStatus;
    TDCB DCB;
    int32_t LastBaud = 115200;
    uint32_t Flags = 0;
    bool DTRState = false, DTRAuto = false, RTSState = false, RTSAuto = false;
    bool RS485Mode = false;
    uint16_t BaseAddress = 0;

    bool PortHandlerInstalled = false;
    bool HandlerServiceNeeded = false;
    std::vector<TWndTriggerHandler> WndTriggerHandlers;
    std::vector<TProcTriggerHandler> ProcTriggerHandlers;
    std::vector<TEventTriggerHandler> EventTriggerHandlers;
    std::vector<TTimerTrigger> TimerTriggers;
    std::vector<TDataTrigger> DataTriggers;
    std::vector<TStatusTrigger> StatusTriggers;
    int LastTailData = 0;
    int LenTrigger = 0;
    bool GlobalStatHit = false;
    bool InAvailMessage = false;
    int GetCount = 0;
    int MaxGetCount = 0;
    bool DispatchFull = false;
    int NotifyTail = 0;
    intptr_t FNextHandlerKey = 1;

    std::atomic<bool> KillThreads{false};
    std::atomic<bool> FComThread{false}, FDispThread{false}, FOutThread{false}, FStatusThread{false};
    uint8_t ThreadBoost = 0;

    TSerCriticalSection DataSection;
    TSerCriticalSection OutputSection;
    TSerCriticalSection DispSection;
    THandle GeneralEvent, OutputEvent, OutFlushEvent;

    uint32_t CurrentEvent = 0;
    bool RingFlag = false;
    TIOQueue FQueue;

    std::vector<uint8_t> OBuffer;
    int OBufHead = 0, OBufTail = 0;
    bool OBufFull = false;
    std::vector<uint8_t> DBuffer;
    int DBufHead = 0, DBufTail = 0;

    std::atomic<bool> fEventBusy{false};
    bool DeletePending = false;
    std::atomic<bool> FClosePending{false};
    bool OutSentPending = false;

    bool TracingOn = false;
    std::vector<TTraceRecord> TraceQueue;
    uint32_t TraceIndex = 0;
    uint32_t TraceMax = 0;
    bool TraceWrapped = false;
    bool DLoggingOn = false;
    TIOQueue DLoggingQueue;
    uint32_t DLoggingMax = 0;
    uint64_t TimeBase = 0;

    int TriggerCounter = 1;
    std::atomic<bool> FDispActive{false};
    std::atomic<bool> DoDonePortPrim{false};
    std::atomic<int> FActiveThreads{0};
    bool CloseComActive = false;
    std::array<void*, 3> DataPointers{nullptr, nullptr, nullptr};
    QString FDeviceName;
    std::atomic<uint32_t> FLastWinError{0};
};

// Which port thread is ending (for ThreadGone).
enum TSerThreadKind { stkRead, stkDispatch, stkWrite, stkStatus };
