#pragma once
// TSerComPort: the component through which a window uses one serial port.
//
// While open it owns one dispatcher (the engine with the receive ring, the
// output ring and the port threads) and one hidden message window on the
// thread that opened it; the dispatcher's notifications arrive through that
// window and become the component's events on that thread. Every negative
// result of the dispatcher becomes an exception of the ESerException family.
//
// Ports are named by device path (ComPath); ComNumber n stands for entry n of
// the computer's port list (platform/comm/CommPorts.h).

#include "devices/serial/SerDispatcher.h"
#include "devices/serial/SerTypes.h"
#include "platform/os/MessageWindow.h"
#include "platform/rtl/Component.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TSerCustomComPort;

using TSerNotifyEvent = std::function<void(TSerCustomComPort* Sender)>;
using TTriggerEvent = std::function<void(TSerCustomComPort* Sender, uint16_t Msg, uint16_t TriggerHandle, uint16_t Data)>;
using TTriggerAvailEvent = std::function<void(TSerCustomComPort* Sender, uint16_t Count)>;
using TTriggerDataEvent = std::function<void(TSerCustomComPort* Sender, uint16_t TriggerHandle)>;
using TTriggerStatusEvent = std::function<void(TSerCustomComPort* Sender, uint16_t TriggerHandle)>;
using TTriggerTimerEvent = std::function<void(TSerCustomComPort* Sender, uint16_t TriggerHandle)>;
using TTriggerLineErrorEvent = std::function<void(TSerCustomComPort* Sender, uint16_t LineError, bool LineBreak)>;
using TWaitCharEvent = std::function<void(TSerCustomComPort* Sender, uint8_t C)>;
using TThreadErrorEvent = std::function<void(TSerCustomComPort* Sender, int ErrorCode)>;
using TPortCallback = std::function<void(TSerCustomComPort* CP, bool Opening)>;
using TPortCallbackEx = std::function<void(TSerCustomComPort* CP, TSerCallbackType CallbackType)>;
using TCustomDispatcherFunc = std::function<TSerBaseDispatcher*(TSerCustomComPort* Owner)>;

// The dialog that asks for a port when one is opened without a number: it
// gets the list of existing ports and returns the chosen number, or 0 when
// the operator cancelled. Without one set, the port selection dialog
// (TComSelectForm) is shown.
using TComSelectDialog = std::function<int(const QStringList& Ports)>;
void SetComSelectDialog(TComSelectDialog Dialog);

// The framework's component plus the layer's version.
class TSerBaseComponent : public TComponent {
public:
    explicit TSerBaseComponent(TComponent* AOwner)
        : TComponent(AOwner)
    {
    }
    QString Version() const { return QStringLiteral("v5.00"); }
    void SetVersion(const QString&) {}
};

class TSerCustomComPort : public TSerBaseComponent {
public:
    explicit TSerCustomComPort(TComponent* AOwner, bool AOverrideLine = false);
    ~TSerCustomComPort() override;

    // Properties.
    TDeviceLayer DeviceLayer() const { return FDeviceLayer; }
    void SetDeviceLayer(TDeviceLayer Value);
    uint16_t ComNumber() const { return FComNumber; }
    void SetComNumber(uint16_t Value);
    // The device path; when set it is opened instead of the numbered port.
    QString ComPath() const { return FComPath; }
    void SetComPath(const QString& Value);
    int32_t Baud() const { return FBaud; }
    void SetBaud(int32_t Value);
    bool PromptForPort() const { return FPromptForPort; }
    void SetPromptForPort(bool Value) { FPromptForPort = Value; }
    TParity Parity() const { return FParity; }
    void SetParity(TParity Value);
    uint16_t DataBits() const { return FDataBits; }
    void SetDataBits(uint16_t Value);
    uint16_t StopBits() const { return FStopBits; }
    void SetStopBits(uint16_t Value);
    uint16_t InSize() const { return FInSize; }
    void SetInSize(uint16_t Value);
    uint16_t OutSize() const { return FOutSize; }
    void SetOutSize(uint16_t Value);
    bool AutoOpen() const { return FAutoOpen; }
    void SetAutoOpen(bool Value) { FAutoOpen = Value; }
    bool Open() const { return FOpen; }
    void SetOpen(bool Value);
    bool DTR() const { return FDTR; }
    void SetDTR(bool Value);
    bool RTS() const { return FRTS; }
    void SetRTS(bool Value);
    THWFlowOptions HWFlowOptions() const { return FHWFlowOptions; }
    void SetHWFlowOptions(THWFlowOptions Value);
    TSWFlowOptions SWFlowOptions() const { return FSWFlowOptions; }
    void SetSWFlowOptions(TSWFlowOptions Value);
    char XOnChar() const { return FXOnChar; }
    void SetXOnChar(char Value);
    char XOffChar() const { return FXOffChar; }
    void SetXOffChar(char Value);
    uint16_t BufferFull() const { return FBufferFull; }
    void SetBufferFull(uint16_t Value);
    uint16_t BufferResume() const { return FBufferResume; }
    void SetBufferResume(uint16_t Value);
    TTraceLogState Tracing() const { return FTracing; }
    void SetTracing(TTraceLogState Value);
    uint32_t TraceSize() const { return FTraceSize; }
    void SetTraceSize(uint32_t Value);
    QString TraceName() const { return FTraceName; }
    void SetTraceName(const QString& Value) { FTraceName = Value; }
    bool TraceHex() const { return FTraceHex; }
    void SetTraceHex(bool Value) { FTraceHex = Value; }
    bool TraceAllHex() const { return FTraceAllHex; }
    void SetTraceAllHex(bool Value) { FTraceAllHex = Value; }
    TTraceLogState Logging() const { return FLogging; }
    void SetLogging(TTraceLogState Value);
    uint32_t LogSize() const { return FLogSize; }
    void SetLogSize(uint32_t Value);
    QString LogName() const { return FLogName; }
    void SetLogName(const QString& Value) { FLogName = Value; }
    bool LogHex() const { return FLogHex; }
    void SetLogHex(bool Value) { FLogHex = Value; }
    bool LogAllHex() const { return FLogAllHex; }
    void SetLogAllHex(bool Value) { FLogAllHex = Value; }
    bool UseMSRShadow() const { return FUseMSRShadow; }
    virtual void SetUseMSRShadow(bool Value) { FUseMSRShadow = Value; }
    bool UseEventWord() const { return FUseEventWord; }
    void SetUseEventWord(bool Value);
    uint16_t CommNotificationLevel() const { return FCommNotificationLevel; }
    void SetCommNotificationLevel(uint16_t Value) { FCommNotificationLevel = Value; }
    TTapiMode TapiMode() const { return FTapiMode; }
    void SetTapiMode(TTapiMode Value) { FTapiMode = Value; }
    bool RS485Mode() const { return FRS485Mode; }
    void SetRS485Mode(bool Value);
    uint16_t TriggerLength() const { return FTriggerLength; }
    void SetTriggerLength(uint16_t Value);
    TApThreadBoost ThreadBoost() const { return FThreadBoost; }
    void SetThreadBoost(TApThreadBoost Value);
    uint16_t BaseAddress() const;
    void SetBaseAddress(uint16_t Value);
    uint16_t TapiCid() const { return FTapiCid; }
    void SetTapiCid(uint16_t Value) { FTapiCid = Value; }
    void* MasterTerminal = nullptr;
    TCustomDispatcherFunc CustomDispatcher;

    // Events. Setting a trigger event goes through its setter so that the
    // dispatcher learns whether the port has a handler.
    TSerNotifyEvent OnPortClose;
    TSerNotifyEvent OnPortOpen;
    void SetOnTrigger(TTriggerEvent E);
    void SetOnTriggerAvail(TTriggerAvailEvent E);
    void SetOnTriggerData(TTriggerDataEvent E);
    void SetOnTriggerStatus(TTriggerStatusEvent E);
    void SetOnTriggerTimer(TTriggerTimerEvent E);
    void SetOnTriggerLineError(TTriggerLineErrorEvent E);
    void SetOnTriggerModemStatus(TSerNotifyEvent E);
    void SetOnTriggerOutbuffFree(TSerNotifyEvent E);
    void SetOnTriggerOutbuffUsed(TSerNotifyEvent E);
    void SetOnTriggerOutSent(TSerNotifyEvent E);
    const TTriggerAvailEvent& OnTriggerAvail() const { return FOnTriggerAvail; }
    TWaitCharEvent OnWaitChar;
    // A port thread ended with an error (the device was unplugged: "Device
    // read error"), on the owner's thread, once per opening. Set, the owner
    // handles it; unset, the error is raised as an exception of the code.
    // The port stays open until the owner closes it.
    TThreadErrorEvent OnThreadError;

    // Status.
    TSerBaseDispatcher* Dispatcher();
    HWND ComWindow() const { return fComWindow; }
    TPortState PortState() const { return FPortState; }
    TFlowControlState FlowState();
    uint8_t ModemStatus();
    bool DSR();
    bool CTS();
    bool RI();
    bool DCD();
    bool DeltaDSR();
    bool DeltaCTS();
    bool DeltaRI();
    bool DeltaDCD();
    uint16_t LineError();
    bool LineBreak();
    int InBuffUsed();
    int InBuffFree();
    int OutBuffUsed();
    int OutBuffFree();
    uint32_t LastWinError();

    // Reading and writing.
    bool CharReady();
    uint8_t PeekChar(uint16_t Count);
    uint8_t GetChar();
    void PeekBlock(void* Block, uint16_t Len);
    void GetBlock(void* Block, uint16_t Len);
    void PutChar(uint8_t C);
    void PutString(const QByteArray& S);
    void PutString(const QString& S);
    void PutBlock(const void* Block, uint16_t Len);
    void SetOutput(const QByteArray& S) { PutString(S); }
    void SetOutputUni(const QString& S) { PutString(S); }
    void FlushInBuffer();
    void FlushOutBuffer();
    void SendBreak(uint16_t Ticks, bool Yield);
    void SetBreak(bool BreakOn);
    void ProcessCommunications();

    // Triggers.
    uint16_t AddDataTrigger(const QByteArray& Data, bool IgnoreCase);
    uint16_t AddTimerTrigger();
    uint16_t AddStatusTrigger(uint16_t SType);
    void RemoveTrigger(uint16_t Handle);
    void RemoveAllTriggers();
    void SetTimerTrigger(uint16_t Handle, int32_t Ticks, bool Activate);
    void SetStatusTrigger(uint16_t Handle, uint16_t Value, bool Activate);

    // Tracing and the dispatch log.
    void InitTracing(uint32_t NumEntries);
    void DumpTrace(const QString& FName, bool InHex);
    void AppendTrace(const QString& FName, bool InHex, TTraceLogState NewState);
    void ClearTracing();
    void AbortTracing();
    void StartTracing();
    void StopTracing();
    void AddTraceEntry(char CurEntry, uint8_t CurCh);
    void InitLogging(uint32_t Size);
    void DumpLog(const QString& FName, bool InHex);
    void AppendLog(const QString& FName, bool InHex, TTraceLogState NewState);
    void ClearLogging();
    void AbortLogging();
    void StartLogging();
    void StopLogging();
    void AddStringToLog(const QByteArray& S);

    // Users sharing the port.
    void RegisterUser(HWND H);
    void RegisterUserEx(HWND H);
    void RegisterUserCallback(TPortCallback CallBack);
    void RegisterUserCallbackEx(TPortCallbackEx CallBackEx);
    void DeregisterUser(HWND H);
    // Callbacks are named by the key their registration returned.
    void DeregisterUserCallback(intptr_t Key);
    void DeregisterUserCallbackEx(intptr_t Key);
    intptr_t LastUserKey() const { return FNextUserKey - 1; }

    // String waits.
    bool WaitForString(const QString& S, int Timeout, bool Yield, bool IgnoreCase);
    int WaitForMultiString(const QString& S, int Timeout, bool Yield, bool IgnoreCase, char SepChar);
    bool CheckForString(uint16_t& Index, uint8_t C, const QString& S, bool IgnoreCase);
    void PrepareWait();

    void Assign(TSerCustomComPort* Source);
    void ForcePortOpen();
    void Loaded() override;

    // The hidden window's procedure: turns a notification into events.
    static void ComWindowProc(TMessage& Message);

protected:
    virtual void ActivateDeviceLayer();
    virtual void DeviceLayerChanged() {}
    virtual void InitializePort();
    virtual void RegisterComPort(bool Enabling);
    virtual void ValidateComport();
    virtual void Trigger(uint16_t Msg, uint16_t TriggerHandle, uint16_t Data);
    virtual void TriggerAvail(uint16_t Count);
    virtual void TriggerData(uint16_t TriggerHandle);
    virtual void TriggerStatus(uint16_t TriggerHandle);
    virtual void TriggerTimer(uint16_t TriggerHandle);
    virtual void UpdateHandlerFlag();
    virtual void TriggerLineError(uint16_t Error, bool LineBreak);
    virtual void TriggerModemStatus();
    virtual void TriggerOutbuffFree();
    virtual void TriggerOutbuffUsed();
    virtual void TriggerOutSent();
    virtual void WaitChar(uint8_t C);
    virtual void DonePort();
    virtual void PortOpen();
    virtual void PortClose();
    virtual void PortClosing();
    virtual void InitPort();

private:
    struct TUserEntry {
        HWND Handle = 0;
        TPortCallback Callback;
        TPortCallbackEx CallbackEx;
        bool IsEx = false;
        intptr_t Key = 0;
    };

    TSerBaseDispatcher* ValidDispatcher();
    void MoveToPort(const std::function<void()>& Store);
    int Check(int Code);
    void FinishClose();
    void DeferredCloseDone();
    void ThreadError(int ErrorCode);
    bool ShuttingDown() const { return FPortState == psShuttingDown; }
    void ApplyHWFlow();
    void ApplySWFlow();
    void ApplyTraceLog(bool Trace, TTraceLogState Value);

    bool Force = false;
    TPortState FPortState = psClosed;
    bool OpenPending = false;
    bool ForceOpen = false;
    // Every failing thread of a port reports; the owner hears the first.
    bool FThreadErrorSeen = false;
    std::vector<TUserEntry> UserList;
    intptr_t FNextUserKey = 1;
    bool CopyTriggers = false;
    TTriggerSave SaveTriggerBuffer;
    bool BusyBeforeWait = false;
    bool WaitPrepped = false;
    HWND fComWindow = 0;
    std::unique_ptr<TSerBaseDispatcher> FDispatcher;
    bool OverrideLine = false;

    TDeviceLayer FDeviceLayer = dlWin32;
    uint16_t FComNumber = 0;
    QString FComPath;
    int32_t FBaud = 19200;
    bool FPromptForPort = true;
    TParity FParity = pNone;
    uint16_t FDataBits = 8;
    uint16_t FStopBits = 1;
    uint16_t FInSize = 4096;
    uint16_t FOutSize = 4096;
    bool FAutoOpen = true;
    bool FOpen = false;
    bool FDTR = true;
    bool FRTS = true;
    THWFlowOptions FHWFlowOptions = 0;
    TSWFlowOptions FSWFlowOptions = swfNone;
    char FXOnChar = 17;
    char FXOffChar = 19;
    uint16_t FBufferFull = 0;
    uint16_t FBufferResume = 0;
    TTraceLogState FTracing = tlOff;
    uint32_t FTraceSize = 10000;
    QString FTraceName = QStringLiteral("DORV.TRC");
    bool FTraceHex = true;
    bool FTraceAllHex = false;
    TTraceLogState FLogging = tlOff;
    uint32_t FLogSize = 10000;
    QString FLogName = QStringLiteral("DORV.LOG");
    bool FLogHex = true;
    bool FLogAllHex = false;
    bool FUseMSRShadow = true;
    bool FUseEventWord = true;
    uint16_t FCommNotificationLevel = 10;
    TTapiMode FTapiMode = TTapiMode::tmAuto;
    bool FRS485Mode = false;
    uint16_t FTriggerLength = 1;
    TApThreadBoost FThreadBoost = tbNone;
    uint16_t FTapiCid = 0;

    TTriggerEvent FOnTrigger;
    TTriggerAvailEvent FOnTriggerAvail;
    TTriggerDataEvent FOnTriggerData;
    TTriggerStatusEvent FOnTriggerStatus;
    TTriggerTimerEvent FOnTriggerTimer;
    TTriggerLineErrorEvent FOnTriggerLineError;
    TSerNotifyEvent FOnTriggerModemStatus;
    TSerNotifyEvent FOnTriggerOutbuffFree;
    TSerNotifyEvent FOnTriggerOutbuffUsed;
    TSerNotifyEvent FOnTriggerOutSent;
};

class TSerComPort : public TSerCustomComPort {
public:
    explicit TSerComPort(TComponent* AOwner)
        : TSerCustomComPort(AOwner)
    {
    }
};

// Whether port number n of the port list exists (held by another program or
// not); probing never fails.
bool IsPortAvailable(uint32_t ComNumber);
// The ports a selection dialog offers: "COMn" for each available n up to 50.
QStringList AvailableComPorts();
