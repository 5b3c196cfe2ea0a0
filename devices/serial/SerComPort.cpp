#include "devices/serial/SerComPort.h"

#include "devices/serial/SerComSelectForm.h"
#include "devices/serial/SerErrors.h"
#include "devices/serial/SerWin32Dispatcher.h"
#include "platform/comm/Comm.h"
#include "platform/comm/CommPorts.h"
#include "platform/os/OsTypes.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

namespace {

TComSelectDialog& SelectDialog()
{
    static TComSelectDialog dialog;
    return dialog;
}

constexpr uint32_t kMaxTraceSize = 4000000;
constexpr uint32_t kMaxLogSize = 16000000;
constexpr uint32_t kEventWordOption = 4;

}  // namespace

void SetComSelectDialog(TComSelectDialog Dialog)
{
    SelectDialog() = std::move(Dialog);
}

// ---------------------------------------------------------------------------
// Construction

TSerCustomComPort::TSerCustomComPort(TComponent* AOwner, bool AOverrideLine)
    : TSerBaseComponent(AOwner)
    , OverrideLine(AOverrideLine)
{
    if (OverrideLine) {
        // A descendant that sets its own line keeps the neutral values until it does.
        FBaud = 0;
        FDataBits = 0;
        FStopBits = 0;
    }
}

TSerCustomComPort::~TSerCustomComPort()
{
    try {
        if (FPortState == psOpen)
            SetOpen(false);
        if (FPortState == psShuttingDown)
            FinishClose();
    } catch (...) {
        // A failing close must not stop the component from going.
    }
    UserList.clear();
}

// ---------------------------------------------------------------------------
// Helpers

int TSerCustomComPort::Check(int Code)
{
    return CheckException(this, Code);
}

TSerBaseDispatcher* TSerCustomComPort::Dispatcher()
{
    if (!FDispatcher && !Loading() && FPortState != psOpen && FAutoOpen)
        SetOpen(true);
    return FDispatcher.get();
}

TSerBaseDispatcher* TSerCustomComPort::ValidDispatcher()
{
    TSerBaseDispatcher* d = Dispatcher();
    if (!d)
        RaiseSerError(ecCommNotOpen);
    return d;
}

// ---------------------------------------------------------------------------
// Open and close

void TSerCustomComPort::SetOpen(bool Value)
{
    if (Value == FOpen && !(Value && FPortState == psShuttingDown))
        return;
    if (Loading()) {
        FOpen = Value;
        if (Value)
            ForceOpen = true;
        return;
    }
    if (!Value) {
        DonePort();
        return;
    }
    if (FPortState != psClosed) {
        OpenPending = true;
        return;
    }
    InitPort();
}

void TSerCustomComPort::ValidateComport()
{
    if (!FComPath.isEmpty() || FComNumber != 0)
        return;
    if (!FPromptForPort)
        RaiseSerError(ecNoPortSelected);
    const int chosen = SelectDialog() ? SelectDialog()(AvailableComPorts()) : ShowComSelectForm(QStringList());
    if (chosen <= 0)
        RaiseSerError(ecNoPortSelected);
    FComNumber = static_cast<uint16_t>(chosen);
}

void TSerCustomComPort::ActivateDeviceLayer()
{
    if (CustomDispatcher) {
        FDispatcher.reset(CustomDispatcher(this));
        return;
    }
    if (FDeviceLayer != dlWin32)
        RaiseSerError(ecNullApi);
    FDispatcher = std::make_unique<TSerWin32Dispatcher>(this);
}

void TSerCustomComPort::InitializePort()
{
    uint32_t flags = 0;
    if (FDTR)
        flags |= 1;
    if (FRTS)
        flags |= 2;
    if (FHWFlowOptions & HWFlow(hwfUseDTR))
        flags |= 0x10;
    if (FHWFlowOptions & HWFlow(hwfUseRTS))
        flags |= 0x20;
    int r = FDispatcher->InitPort(FDispatcher->DeviceName(), FBaud, static_cast<int>(FParity), FDataBits, FStopBits,
                                  FInSize, FOutSize, flags);
    if (r == ecAccessDenied)
        r = ecAlreadyOpen;
    else if (r == ecFileNotFound || r == ecPathNotFound)
        r = ecBadId;
    else if (r == -int(ERROR_PRIVILEGE_NOT_HELD_))
        r = ecNoPermission;
    else if (r == -int(ERROR_BAD_DEVICE_))
        r = ecNotSerialDevice;
    else if (r == -int(ERROR_GEN_FAILURE_) || r == -int(ERROR_INVALID_PARAMETER_) ||
             r == -int(ERROR_DEVICE_NOT_CONNECTED_))
        r = ecOpenFailed;  // the device layer's numbers are not errno values with system texts
    if (r != 0)
        RaiseSerError(r);
}

void TSerCustomComPort::InitPort()
{
    if (FTapiMode != TTapiMode::tmOn)
        ValidateComport();
    ActivateDeviceLayer();
    FDispatcher->SetDeviceName(FComPath.isEmpty() ? CommPortPath(FComNumber) : FComPath);
    try {
        // No telephony lines exist here, so no handle can come from one.
        if (FTapiMode == TTapiMode::tmOn)
            RaiseSerError(ecNotOpenedByTapi);
        InitializePort();
        FPortState = psOpen;
        UpdateHandlerFlag();
        Force = true;
        SetTracing(FTracing);
        SetLogging(FLogging);
        SetHWFlowOptions(FHWFlowOptions);
        SetSWFlowOptions(FSWFlowOptions);
        SetXOnChar(FXOnChar);
        SetXOffChar(FXOffChar);
        SetTriggerLength(FTriggerLength);
        SetDTR(FDTR);
        SetRTS(FRTS);
        SetUseEventWord(FUseEventWord);
        SetRS485Mode(FRS485Mode);
        SetThreadBoost(FThreadBoost);
        Force = false;
        FOpen = true;
        FThreadErrorSeen = false;
        RegisterComPort(true);
    } catch (...) {
        Force = false;
        FOpen = false;
        FPortState = psClosed;
        if (fComWindow)
            RegisterComPort(false);
        FDispatcher.reset();
        throw;
    }
    if (CopyTriggers) {
        CopyTriggers = false;
        FDispatcher->RestoreTriggers(SaveTriggerBuffer);
    }
    PortOpen();
}

void TSerCustomComPort::DonePort()
{
    if (FPortState != psOpen)
        return;
    SetTracing(tlDump);
    SetLogging(tlDump);
    FPortState = psShuttingDown;
    PortClosing();
    FDispatcher->SaveTriggers(SaveTriggerBuffer);
    CopyTriggers = true;
    FDispatcher->DonePort();
    if (FDispatcher->EventBusy()) {
        PostMessage(fComWindow, MsgPortClosing, 0, static_cast<LPARAM>(FDispatcher->Handle()) << 16);
        SafeYield();
    } else {
        FinishClose();
    }
    PortClose();
}

void TSerCustomComPort::FinishClose()
{
    if (fComWindow)
        RegisterComPort(false);
    FDispatcher.reset();
    FPortState = psClosed;
    FOpen = false;
}

void TSerCustomComPort::DeferredCloseDone()
{
    if (FPortState != psShuttingDown)
        return;
    if (FDispatcher && FDispatcher->ActiveThreads() > 0) {
        PostMessage(fComWindow, MsgPortClosing, 0, static_cast<LPARAM>(FDispatcher->Handle()) << 16);
        return;
    }
    FinishClose();
    if (OpenPending) {
        OpenPending = false;
        InitPort();
    }
}

void TSerCustomComPort::RegisterComPort(bool Enabling)
{
    if (Enabling) {
        fComWindow = AllocateMessageWindow(&TSerCustomComPort::ComWindowProc);
        FDispatcher->RegisterWndTriggerHandler(fComWindow);
    } else {
        if (FDispatcher)
            FDispatcher->DeregisterWndTriggerHandler(fComWindow);
        DeallocateMessageWindow(fComWindow);
        fComWindow = 0;
    }
}

void TSerCustomComPort::Loaded()
{
    TSerBaseComponent::Loaded();
    if (ComponentState() & csDesigning)
        return;
    try {
        if (ForceOpen)
            FOpen = true;
        if (FOpen) {
            ForceOpen = false;
            FOpen = false;
            SetOpen(true);
        }
    } catch (const std::exception&) {
        FOpen = false;
        // The layout's loading goes on; the application's handler reports it.
        throw;
    }
}

void TSerCustomComPort::ForcePortOpen()
{
    if (FAutoOpen)
        ForceOpen = true;
}

// ---------------------------------------------------------------------------
// The hidden window

void TSerCustomComPort::ComWindowProc(TMessage& Message)
{
    const unsigned msg = Message.Msg;
    if (!((msg >= MsgTriggerAvail && msg <= MsgTriggerStatus) || msg == MsgPortClosing || msg == MsgThreadError))
        return;
    TSerLock g(PortListSection());
    TSerBaseDispatcher* d = PortListItem(static_cast<int>(Message.LParam >> 16));
    if (!d || !d->Owner())
        return;
    auto* port = dynamic_cast<TSerCustomComPort*>(d->Owner());
    if (!port)
        return;
    try {
        switch (msg) {
        case MsgThreadError:
            port->ThreadError(-static_cast<int>(Message.WParam));
            break;
        case MsgPortClosing:
            port->DeferredCloseDone();
            break;
        default: {
            const uint16_t w = static_cast<uint16_t>(Message.WParam);
            const uint16_t data = msg == MsgTriggerAvail ? w : static_cast<uint16_t>(Message.LParam & 0xFFFF);
            port->Trigger(static_cast<uint16_t>(msg), w, data);
            switch (msg) {
            case MsgTriggerAvail: port->TriggerAvail(w); break;
            case MsgTriggerData: port->TriggerData(w); break;
            case MsgTriggerTimer: port->TriggerTimer(w); break;
            case MsgTriggerStatus:
                port->TriggerStatus(w);
                switch (TSerBaseDispatcher::ClassifyStatusTrigger(w)) {
                case stModem: port->TriggerModemStatus(); break;
                case stLine: {
                    const uint16_t err = port->LineError();
                    port->TriggerLineError(err, port->LineBreak());
                    break;
                }
                case stOutBuffFree: port->TriggerOutbuffFree(); break;
                case stOutBuffUsed: port->TriggerOutbuffUsed(); break;
                case stOutSent: port->TriggerOutSent(); break;
                default: break;
                }
                break;
            default: break;
            }
        }
        }
    } catch (...) {
        // On the main thread the application's error handling takes it.
        if (IsMainThread())
            throw;
    }
}

void TSerCustomComPort::ThreadError(int ErrorCode)
{
    // A device that goes away fails the read and the status thread alike;
    // and a port being closed is no news to its owner.
    if (FThreadErrorSeen || FPortState != psOpen)
        return;
    FThreadErrorSeen = true;
    if (OnThreadError) {
        OnThreadError(this, ErrorCode);
        return;
    }
    CheckException(this, ErrorCode);
}

// ---------------------------------------------------------------------------
// Events

void TSerCustomComPort::Trigger(uint16_t Msg, uint16_t TriggerHandle, uint16_t Data)
{
    if (FOnTrigger)
        FOnTrigger(this, Msg, TriggerHandle, Data);
}

void TSerCustomComPort::TriggerAvail(uint16_t Count)
{
    if (FOnTriggerAvail)
        FOnTriggerAvail(this, Count);
}

void TSerCustomComPort::TriggerData(uint16_t TriggerHandle)
{
    if (FOnTriggerData)
        FOnTriggerData(this, TriggerHandle);
}

void TSerCustomComPort::TriggerStatus(uint16_t TriggerHandle)
{
    if (FOnTriggerStatus)
        FOnTriggerStatus(this, TriggerHandle);
}

void TSerCustomComPort::TriggerTimer(uint16_t TriggerHandle)
{
    if (FOnTriggerTimer)
        FOnTriggerTimer(this, TriggerHandle);
}

void TSerCustomComPort::TriggerLineError(uint16_t Error, bool LineBreak)
{
    if (FOnTriggerLineError)
        FOnTriggerLineError(this, Error, LineBreak);
}

void TSerCustomComPort::TriggerModemStatus()
{
    if (FOnTriggerModemStatus)
        FOnTriggerModemStatus(this);
}

void TSerCustomComPort::TriggerOutbuffFree()
{
    if (FOnTriggerOutbuffFree)
        FOnTriggerOutbuffFree(this);
}

void TSerCustomComPort::TriggerOutbuffUsed()
{
    if (FOnTriggerOutbuffUsed)
        FOnTriggerOutbuffUsed(this);
}

void TSerCustomComPort::TriggerOutSent()
{
    if (FOnTriggerOutSent)
        FOnTriggerOutSent(this);
}

void TSerCustomComPort::WaitChar(uint8_t C)
{
    if (OnWaitChar)
        OnWaitChar(this, C);
}

void TSerCustomComPort::UpdateHandlerFlag()
{
    if (FPortState != psOpen || !FDispatcher)
        return;
    const bool any = FOnTrigger || FOnTriggerAvail || FOnTriggerData || FOnTriggerStatus || FOnTriggerTimer
                     || FOnTriggerLineError || FOnTriggerModemStatus || FOnTriggerOutbuffFree
                     || FOnTriggerOutbuffUsed || FOnTriggerOutSent;
    FDispatcher->UpdateHandlerFlags(any ? 1 : 2);
}

void TSerCustomComPort::SetOnTrigger(TTriggerEvent E)
{
    FOnTrigger = std::move(E);
    UpdateHandlerFlag();
}

void TSerCustomComPort::SetOnTriggerAvail(TTriggerAvailEvent E)
{
    FOnTriggerAvail = std::move(E);
    UpdateHandlerFlag();
}

void TSerCustomComPort::SetOnTriggerData(TTriggerDataEvent E)
{
    FOnTriggerData = std::move(E);
    UpdateHandlerFlag();
}

void TSerCustomComPort::SetOnTriggerStatus(TTriggerStatusEvent E)
{
    FOnTriggerStatus = std::move(E);
    UpdateHandlerFlag();
}

void TSerCustomComPort::SetOnTriggerTimer(TTriggerTimerEvent E)
{
    FOnTriggerTimer = std::move(E);
    UpdateHandlerFlag();
}

void TSerCustomComPort::SetOnTriggerLineError(TTriggerLineErrorEvent E)
{
    FOnTriggerLineError = std::move(E);
    UpdateHandlerFlag();
}

void TSerCustomComPort::SetOnTriggerModemStatus(TSerNotifyEvent E)
{
    FOnTriggerModemStatus = std::move(E);
    UpdateHandlerFlag();
}

void TSerCustomComPort::SetOnTriggerOutbuffFree(TSerNotifyEvent E)
{
    FOnTriggerOutbuffFree = std::move(E);
    UpdateHandlerFlag();
}

void TSerCustomComPort::SetOnTriggerOutbuffUsed(TSerNotifyEvent E)
{
    FOnTriggerOutbuffUsed = std::move(E);
    UpdateHandlerFlag();
}

void TSerCustomComPort::SetOnTriggerOutSent(TSerNotifyEvent E)
{
    FOnTriggerOutSent = std::move(E);
    UpdateHandlerFlag();
}

// ---------------------------------------------------------------------------
// Users

void TSerCustomComPort::PortOpen()
{
    for (auto it = UserList.rbegin(); it != UserList.rend(); ++it) {
        if (it->Handle)
            SendMessage(it->Handle, MsgPortOpen, 0, 0);
        else if (it->IsEx && it->CallbackEx)
            it->CallbackEx(this, ctOpen);
        else if (it->Callback)
            it->Callback(this, true);
    }
    if (OnPortOpen)
        OnPortOpen(this);
}

void TSerCustomComPort::PortClose()
{
    for (auto it = UserList.rbegin(); it != UserList.rend(); ++it) {
        if (it->Handle)
            SendMessage(it->Handle, MsgPortClose, 0, 0);
        else if (it->IsEx && it->CallbackEx)
            it->CallbackEx(this, ctClosed);
        else if (it->Callback)
            it->Callback(this, false);
    }
    if (OnPortClose)
        OnPortClose(this);
}

void TSerCustomComPort::PortClosing()
{
    for (auto it = UserList.rbegin(); it != UserList.rend(); ++it) {
        if (!it->IsEx)
            continue;
        if (it->Handle)
            SendMessage(it->Handle, MsgPortClosing, 0, 0);
        else if (it->CallbackEx)
            it->CallbackEx(this, ctClosing);
    }
}

void TSerCustomComPort::RegisterUser(HWND H)
{
    UserList.push_back({H, nullptr, nullptr, false, FNextUserKey++});
}

void TSerCustomComPort::RegisterUserEx(HWND H)
{
    UserList.push_back({H, nullptr, nullptr, true, FNextUserKey++});
}

void TSerCustomComPort::RegisterUserCallback(TPortCallback CallBack)
{
    UserList.push_back({0, std::move(CallBack), nullptr, false, FNextUserKey++});
}

void TSerCustomComPort::RegisterUserCallbackEx(TPortCallbackEx CallBackEx)
{
    UserList.push_back({0, nullptr, std::move(CallBackEx), true, FNextUserKey++});
}

void TSerCustomComPort::DeregisterUser(HWND H)
{
    if (ComponentState() & csDestroying)
        return;
    std::erase_if(UserList, [H](const TUserEntry& e) { return e.Handle == H && H != 0; });
}

void TSerCustomComPort::DeregisterUserCallback(intptr_t Key)
{
    if (ComponentState() & csDestroying)
        return;
    std::erase_if(UserList, [Key](const TUserEntry& e) { return e.Key == Key && !e.IsEx && !e.Handle; });
}

void TSerCustomComPort::DeregisterUserCallbackEx(intptr_t Key)
{
    if (ComponentState() & csDestroying)
        return;
    std::erase_if(UserList, [Key](const TUserEntry& e) { return e.Key == Key && e.IsEx && !e.Handle; });
}

// ---------------------------------------------------------------------------
// Property setters

void TSerCustomComPort::SetDeviceLayer(TDeviceLayer Value)
{
    if (FPortState != psClosed || Value != dlWin32)
        return;
    if (Value != FDeviceLayer) {
        FDeviceLayer = Value;
        DeviceLayerChanged();
    }
}

void TSerCustomComPort::MoveToPort(const std::function<void()>& Store)
{
    // The triggers and the recordings go along to the other port.
    TTriggerSave saved;
    FDispatcher->SaveTriggers(saved);
    const TTraceLogState tracing = FTracing;
    const TTraceLogState logging = FLogging;
    SetOpen(false);
    Store();
    FTracing = tracing == tlPause ? tlOn : tracing;
    FLogging = logging == tlPause ? tlOn : logging;
    SetOpen(true);
    if (FDispatcher)
        FDispatcher->RestoreTriggers(saved);
}

void TSerCustomComPort::SetComNumber(uint16_t Value)
{
    if (Value == FComNumber && !Force)
        return;
    if (FPortState != psOpen)
        FComNumber = Value;
    else
        MoveToPort([&] { FComNumber = Value; });
}

void TSerCustomComPort::SetComPath(const QString& Value)
{
    if (Value == FComPath && !Force)
        return;
    if (FPortState != psOpen)
        FComPath = Value;
    else
        MoveToPort([&] { FComPath = Value; });
}

void TSerCustomComPort::SetBaud(int32_t Value)
{
    if (Value == FBaud && !Force)
        return;
    FBaud = Value;
    if (FPortState == psOpen)
        Check(FDispatcher->SetLine(FBaud, FParity, FDataBits, FStopBits));
}

void TSerCustomComPort::SetParity(TParity Value)
{
    if (Value == FParity && !Force)
        return;
    FParity = Value;
    if (FPortState == psOpen)
        Check(FDispatcher->SetLine(FBaud, FParity, FDataBits, FStopBits));
}

void TSerCustomComPort::SetDataBits(uint16_t Value)
{
    if (Value == FDataBits && !Force)
        return;
    FDataBits = Value;
    if (FPortState == psOpen)
        Check(FDispatcher->SetLine(FBaud, FParity, FDataBits, FStopBits));
}

void TSerCustomComPort::SetStopBits(uint16_t Value)
{
    if (Value == FStopBits && !Force)
        return;
    FStopBits = Value;
    if (FPortState == psOpen)
        Check(FDispatcher->SetLine(FBaud, FParity, FDataBits, FStopBits));
}

void TSerCustomComPort::SetInSize(uint16_t Value)
{
    if (Value == FInSize && !Force)
        return;
    FInSize = Value;
    if (FPortState == psOpen)
        FDispatcher->SetCommBuffers(FInSize, FOutSize);
}

void TSerCustomComPort::SetOutSize(uint16_t Value)
{
    if (Value == FOutSize && !Force)
        return;
    FOutSize = Value;
    if (FPortState == psOpen)
        FDispatcher->SetCommBuffers(FInSize, FOutSize);
}

void TSerCustomComPort::SetDTR(bool Value)
{
    if (Value == FDTR && !Force)
        return;
    if (FPortState != psOpen) {
        FDTR = Value;
        return;
    }
    if (Check(FDispatcher->SetDtr(Value)) == 0)
        FDTR = Value;
}

void TSerCustomComPort::SetRTS(bool Value)
{
    if (Value == FRTS && !Force)
        return;
    if (FPortState != psOpen) {
        FRTS = Value;
        return;
    }
    if (Check(FDispatcher->SetRts(Value)) == 0)
        FRTS = Value;
}

void TSerCustomComPort::ApplyHWFlow()
{
    if (FHWFlowOptions != 0) {
        if (FBufferFull == 0 || FBufferFull > FInSize)
            FBufferFull = static_cast<uint16_t>(FInSize * 0.9);
        if (FBufferResume == 0 || FBufferResume > FBufferFull)
            FBufferResume = static_cast<uint16_t>(FInSize * 0.1);
    }
    if (FPortState == psOpen)
        Check(FDispatcher->HWFlowOptions(FBufferFull, FBufferResume, FHWFlowOptions));
}

void TSerCustomComPort::ApplySWFlow()
{
    if (FSWFlowOptions != swfNone) {
        if (FBufferFull == 0 || FBufferFull > FInSize)
            FBufferFull = static_cast<uint16_t>(FInSize * 0.75);
        if (FBufferResume == 0 || FBufferResume > FBufferFull)
            FBufferResume = static_cast<uint16_t>(FInSize * 0.25);
    }
    if (FPortState != psOpen)
        return;
    static const int options[] = {0, 2, 1, 3};
    if (FSWFlowOptions == swfNone)
        Check(FDispatcher->SWFlowDisable());
    else
        Check(FDispatcher->SWFlowEnable(FBufferFull, FBufferResume, options[FSWFlowOptions]));
}

void TSerCustomComPort::SetHWFlowOptions(THWFlowOptions Value)
{
    if (Value == FHWFlowOptions && !Force)
        return;
    FHWFlowOptions = Value;
    if (Value & (HWFlow(hwfUseRTS) | HWFlow(hwfRequireCTS)))
        FRS485Mode = false;
    ApplyHWFlow();
}

void TSerCustomComPort::SetSWFlowOptions(TSWFlowOptions Value)
{
    if (Value == FSWFlowOptions && !Force)
        return;
    FSWFlowOptions = Value;
    ApplySWFlow();
}

void TSerCustomComPort::SetXOnChar(char Value)
{
    if (Value == FXOnChar && !Force)
        return;
    FXOnChar = Value;
    if (FPortState == psOpen)
        Check(FDispatcher->SWFlowChars(FXOnChar, FXOffChar));
}

void TSerCustomComPort::SetXOffChar(char Value)
{
    if (Value == FXOffChar && !Force)
        return;
    FXOffChar = Value;
    if (FPortState == psOpen)
        Check(FDispatcher->SWFlowChars(FXOnChar, FXOffChar));
}

void TSerCustomComPort::SetBufferFull(uint16_t Value)
{
    if (Value == FBufferFull && !Force)
        return;
    FBufferFull = Value > FInSize ? static_cast<uint16_t>(Value * 0.9) : Value;
    const bool old = Force;
    Force = true;
    SetHWFlowOptions(FHWFlowOptions);
    SetSWFlowOptions(FSWFlowOptions);
    Force = old;
}

void TSerCustomComPort::SetBufferResume(uint16_t Value)
{
    if (Value == FBufferResume && !Force)
        return;
    FBufferResume = Value > FBufferFull ? static_cast<uint16_t>(FBufferFull * 0.1) : Value;
    const bool old = Force;
    Force = true;
    SetHWFlowOptions(FHWFlowOptions);
    SetSWFlowOptions(FSWFlowOptions);
    Force = old;
}

void TSerCustomComPort::SetTriggerLength(uint16_t Value)
{
    if (Value == FTriggerLength && !Force)
        return;
    FTriggerLength = Value;
    if (FPortState == psOpen)
        Check(FDispatcher->ChangeLengthTrigger(Value));
}

void TSerCustomComPort::SetUseEventWord(bool Value)
{
    if (Value == FUseEventWord && !Force)
        return;
    FUseEventWord = Value;
    if (FPortState == psOpen) {
        if (Value)
            FDispatcher->OptionsOn(kEventWordOption);
        else
            FDispatcher->OptionsOff(kEventWordOption);
    }
}

void TSerCustomComPort::SetRS485Mode(bool Value)
{
    if (Value == FRS485Mode && !Force)
        return;
    FRS485Mode = Value;
    if (FPortState == psOpen)
        FDispatcher->SetRS485Mode(Value);
    if (Value) {
        FHWFlowOptions &= static_cast<THWFlowOptions>(~(HWFlow(hwfUseRTS) | HWFlow(hwfRequireCTS)));
        SetRTS(false);
    }
}

void TSerCustomComPort::SetThreadBoost(TApThreadBoost Value)
{
    if (Value == FThreadBoost && !Force)
        return;
    FThreadBoost = Value;
    if (FPortState == psOpen)
        FDispatcher->SetThreadBoost(static_cast<uint8_t>(Value));
}

uint16_t TSerCustomComPort::BaseAddress() const
{
    return FPortState == psOpen && FDispatcher ? FDispatcher->GetBaseAddress() : 0;
}

void TSerCustomComPort::SetBaseAddress(uint16_t Value)
{
    if (FPortState == psOpen)
        FDispatcher->SetBaseAddress(Value);
}

// ---------------------------------------------------------------------------
// Tracing and logging

void TSerCustomComPort::ApplyTraceLog(bool Trace, TTraceLogState Value)
{
    TTraceLogState& state = Trace ? FTracing : FLogging;
    if (Value == state && !Force)
        return;
    if (FPortState == psShuttingDown)
        return;
    if (FPortState != psOpen || !FDispatcher) {
        state = Value == tlOn ? tlOn : tlOff;
        return;
    }
    TSerBaseDispatcher& d = *FDispatcher;
    const bool running = state == tlOn || state == tlPause;
    auto start = [&] { Trace ? d.StartTracing() : d.StartDispatchLogging(); };
    auto abort = [&] { Trace ? d.AbortTracing() : d.AbortDispatchLogging(); };
    auto write = [&](bool Append) {
        const QString name = Trace ? FTraceName : FLogName;
        const bool hex = Trace ? FTraceHex : FLogHex;
        const bool allHex = Trace ? FTraceAllHex : FLogAllHex;
        int r;
        if (Trace)
            r = Append ? d.AppendTrace(name, hex, allHex) : d.DumpTrace(name, hex, allHex);
        else
            r = Append ? d.AppendDispatchLog(name, hex, allHex) : d.DumpDispatchLog(name, hex, allHex);
        Check(r);
    };
    switch (Value) {
    case tlOff:
        if (running)
            abort();
        state = tlOff;
        break;
    case tlOn:
        if (state == tlPause)
            start();
        else if (Trace)
            Check(d.InitTracing(FTraceSize));
        else
            d.InitDispatchLogging(FLogSize);
        state = tlOn;
        break;
    case tlDump:
    case tlAppend:
        if (running) {
            start();
            state = tlOff;
            try {
                write(Value == tlAppend);
            } catch (...) {
                abort();
                throw;
            }
            abort();
        }
        break;
    case tlAppendAndContinue:
        if (running) {
            start();
            write(true);
            state = tlOn;
        }
        break;
    case tlClear:
        if (running)
            Trace ? d.ClearTracing() : d.ClearDispatchLogging();
        break;
    case tlPause:
        if (state == tlOn) {
            Trace ? d.StopTracing() : d.StopDispatchLogging();
            state = tlPause;
        }
        break;
    }
}

void TSerCustomComPort::SetTracing(TTraceLogState Value)
{
    ApplyTraceLog(true, Value);
}

void TSerCustomComPort::SetLogging(TTraceLogState Value)
{
    ApplyTraceLog(false, Value);
}

void TSerCustomComPort::SetTraceSize(uint32_t Value)
{
    Value = std::min(Value, kMaxTraceSize);
    if (Value == FTraceSize && !Force)
        return;
    FTraceSize = Value;
    if (FPortState == psOpen && (FTracing == tlOn || FTracing == tlPause)) {
        const TTraceLogState prev = FTracing;
        SetTracing(tlOff);
        SetTracing(prev);
    }
}

void TSerCustomComPort::SetLogSize(uint32_t Value)
{
    Value = std::min(Value, kMaxLogSize);
    if (Value == FLogSize && !Force)
        return;
    FLogSize = Value;
    if (FPortState == psOpen && (FLogging == tlOn || FLogging == tlPause)) {
        const TTraceLogState prev = FLogging;
        SetLogging(tlOff);
        SetLogging(prev);
    }
}

void TSerCustomComPort::InitTracing(uint32_t NumEntries)
{
    if (ShuttingDown())
        return;
    Check(ValidDispatcher()->InitTracing(NumEntries));
    FTracing = tlOn;
}

void TSerCustomComPort::DumpTrace(const QString& FName, bool InHex)
{
    if (ShuttingDown())
        return;
    Check(ValidDispatcher()->DumpTrace(FName, InHex, FTraceAllHex));
}

void TSerCustomComPort::AppendTrace(const QString& FName, bool InHex, TTraceLogState NewState)
{
    if (ShuttingDown())
        return;
    Check(ValidDispatcher()->AppendTrace(FName, InHex, FTraceAllHex));
    FTracing = NewState;
}

void TSerCustomComPort::ClearTracing()
{
    if (!ShuttingDown())
        ValidDispatcher()->ClearTracing();
}

void TSerCustomComPort::AbortTracing()
{
    if (!ShuttingDown()) {
        ValidDispatcher()->AbortTracing();
        FTracing = tlOff;
    }
}

void TSerCustomComPort::StartTracing()
{
    if (!ShuttingDown())
        ValidDispatcher()->StartTracing();
}

void TSerCustomComPort::StopTracing()
{
    if (!ShuttingDown())
        ValidDispatcher()->StopTracing();
}

void TSerCustomComPort::AddTraceEntry(char CurEntry, uint8_t CurCh)
{
    if (!ShuttingDown())
        ValidDispatcher()->AddTraceEntry(CurEntry, CurCh);
}

void TSerCustomComPort::InitLogging(uint32_t Size)
{
    if (ShuttingDown())
        return;
    ValidDispatcher()->InitDispatchLogging(Size);
    FLogging = tlOn;
}

void TSerCustomComPort::DumpLog(const QString& FName, bool InHex)
{
    if (ShuttingDown())
        return;
    Check(ValidDispatcher()->DumpDispatchLog(FName, InHex, FLogAllHex));
}

void TSerCustomComPort::AppendLog(const QString& FName, bool InHex, TTraceLogState NewState)
{
    if (ShuttingDown())
        return;
    Check(ValidDispatcher()->AppendDispatchLog(FName, InHex, FLogAllHex));
    FLogging = NewState;
}

void TSerCustomComPort::ClearLogging()
{
    if (!ShuttingDown())
        ValidDispatcher()->ClearDispatchLogging();
}

void TSerCustomComPort::AbortLogging()
{
    if (!ShuttingDown()) {
        ValidDispatcher()->AbortDispatchLogging();
        FLogging = tlOff;
    }
}

void TSerCustomComPort::StartLogging()
{
    if (!ShuttingDown())
        ValidDispatcher()->StartDispatchLogging();
}

void TSerCustomComPort::StopLogging()
{
    if (!ShuttingDown())
        ValidDispatcher()->StopDispatchLogging();
}

void TSerCustomComPort::AddStringToLog(const QByteArray& S)
{
    if (!ShuttingDown())
        ValidDispatcher()->AddStringToLog(S);
}

// ---------------------------------------------------------------------------
// Reading and writing

bool TSerCustomComPort::CharReady()
{
    if (ShuttingDown())
        return false;
    return ValidDispatcher()->CharReady();
}

uint8_t TSerCustomComPort::PeekChar(uint16_t Count)
{
    if (ShuttingDown())
        return 0;
    uint8_t c = 0;
    Check(ValidDispatcher()->PeekChar(c, Count));
    return c;
}

uint8_t TSerCustomComPort::GetChar()
{
    if (ShuttingDown())
        return 0;
    uint8_t c = 0;
    Check(ValidDispatcher()->GetChar(c));
    return c;
}

void TSerCustomComPort::PeekBlock(void* Block, uint16_t Len)
{
    if (ShuttingDown())
        return;
    Check(ValidDispatcher()->PeekBlock(static_cast<uint8_t*>(Block), Len));
}

void TSerCustomComPort::GetBlock(void* Block, uint16_t Len)
{
    if (ShuttingDown())
        return;
    Check(ValidDispatcher()->GetBlock(static_cast<uint8_t*>(Block), Len));
}

void TSerCustomComPort::PutChar(uint8_t C)
{
    if (ShuttingDown())
        return;
    Check(ValidDispatcher()->PutChar(C));
}

void TSerCustomComPort::PutString(const QByteArray& S)
{
    if (ShuttingDown() || S.isEmpty())
        return;
    Check(ValidDispatcher()->PutString(S));
}

void TSerCustomComPort::PutString(const QString& S)
{
    PutString(S.toUtf8());
}

void TSerCustomComPort::PutBlock(const void* Block, uint16_t Len)
{
    if (ShuttingDown())
        return;
    Check(ValidDispatcher()->PutBlock(static_cast<const uint8_t*>(Block), Len));
}

void TSerCustomComPort::FlushInBuffer()
{
    if (!ShuttingDown())
        Check(ValidDispatcher()->FlushInBuffer());
}

void TSerCustomComPort::FlushOutBuffer()
{
    if (!ShuttingDown())
        Check(ValidDispatcher()->FlushOutBuffer());
}

void TSerCustomComPort::SendBreak(uint16_t Ticks, bool Yield)
{
    if (!ShuttingDown())
        ValidDispatcher()->SendBreak(Ticks, Yield);
}

void TSerCustomComPort::SetBreak(bool BreakOn)
{
    if (!ShuttingDown())
        ValidDispatcher()->SetBreak(BreakOn);
}

void TSerCustomComPort::ProcessCommunications()
{
    if (!ShuttingDown())
        Check(ValidDispatcher()->ProcessCommunications());
}

// ---------------------------------------------------------------------------
// Triggers

uint16_t TSerCustomComPort::AddDataTrigger(const QByteArray& Data, bool IgnoreCase)
{
    if (ShuttingDown())
        return 0;
    if (Data.size() > MaxTrigData)
        RaiseSerError(ecTriggerTooLong);
    return static_cast<uint16_t>(Check(ValidDispatcher()->AddDataTriggerLen(Data, IgnoreCase, static_cast<int>(Data.size()))));
}

uint16_t TSerCustomComPort::AddTimerTrigger()
{
    if (ShuttingDown())
        return 0;
    return static_cast<uint16_t>(Check(ValidDispatcher()->AddTimerTrigger()));
}

uint16_t TSerCustomComPort::AddStatusTrigger(uint16_t SType)
{
    if (ShuttingDown())
        return 0;
    return static_cast<uint16_t>(Check(ValidDispatcher()->AddStatusTrigger(SType)));
}

void TSerCustomComPort::RemoveTrigger(uint16_t Handle)
{
    if (FPortState == psOpen)
        Check(FDispatcher->RemoveTrigger(Handle));
}

void TSerCustomComPort::RemoveAllTriggers()
{
    if (FPortState == psOpen) {
        FDispatcher->RemoveAllTriggers();
        FTriggerLength = 0;
    }
}

void TSerCustomComPort::SetTimerTrigger(uint16_t Handle, int32_t Ticks, bool Activate)
{
    if (!ShuttingDown())
        Check(ValidDispatcher()->SetTimerTrigger(Handle, Ticks, Activate));
}

void TSerCustomComPort::SetStatusTrigger(uint16_t Handle, uint16_t Value, bool Activate)
{
    if (!ShuttingDown())
        Check(ValidDispatcher()->SetStatusTrigger(Handle, Value, Activate));
}

// ---------------------------------------------------------------------------
// Status

TFlowControlState TSerCustomComPort::FlowState()
{
    TSerBaseDispatcher* d = ValidDispatcher();
    if (ShuttingDown())
        return fcOff;
    const int hw = d->HWFlowState();
    const int state = hw != 1 ? hw : d->SWFlowState();
    switch (state) {
    case 1: return fcOff;
    case 2: return fcOn;
    case 3: return fcDsrHold;
    case 4: return fcCtsHold;
    case 6: return fcXOutHold;
    case 7: return fcXInHold;
    case 8: return fcXBothHold;
    default: return fcOff;
    }
}

uint8_t TSerCustomComPort::ModemStatus()
{
    TSerBaseDispatcher* d = ValidDispatcher();
    if (ShuttingDown())
        return 0;
    return d->GetModemStatus();
}

bool TSerCustomComPort::DSR() { return FPortState == psOpen && FDispatcher->CheckDSR(); }
bool TSerCustomComPort::CTS() { return FPortState == psOpen && FDispatcher->CheckCTS(); }
bool TSerCustomComPort::RI() { return FPortState == psOpen && FDispatcher->CheckRI(); }
bool TSerCustomComPort::DCD() { return FPortState == psOpen && FDispatcher->CheckDCD(); }
bool TSerCustomComPort::DeltaDSR() { return FPortState == psOpen && FDispatcher->CheckDeltaDSR(); }
bool TSerCustomComPort::DeltaCTS() { return FPortState == psOpen && FDispatcher->CheckDeltaCTS(); }
bool TSerCustomComPort::DeltaRI() { return FPortState == psOpen && FDispatcher->CheckDeltaRI(); }
bool TSerCustomComPort::DeltaDCD() { return FPortState == psOpen && FDispatcher->CheckDeltaDCD(); }

uint16_t TSerCustomComPort::LineError()
{
    return FPortState == psOpen ? static_cast<uint16_t>(FDispatcher->GetLineError()) : 0;
}

bool TSerCustomComPort::LineBreak()
{
    return FPortState == psOpen && FDispatcher->CheckLineBreak();
}

int TSerCustomComPort::InBuffUsed()
{
    return FPortState == psOpen ? FDispatcher->InBuffUsed() : 0;
}

int TSerCustomComPort::InBuffFree()
{
    return FPortState == psOpen ? FDispatcher->InBuffFree() : DispatchBufferSize;
}

int TSerCustomComPort::OutBuffUsed()
{
    return FPortState == psOpen ? FDispatcher->OutBuffUsed() : 0;
}

int TSerCustomComPort::OutBuffFree()
{
    return FPortState == psOpen ? FDispatcher->OutBuffFree() : FOutSize;
}

uint32_t TSerCustomComPort::LastWinError()
{
    return FDispatcher ? FDispatcher->LastWinError() : 0;
}

// ---------------------------------------------------------------------------
// String waits

void TSerCustomComPort::PrepareWait()
{
    TSerBaseDispatcher* d = ValidDispatcher();
    d->SetEventBusy(BusyBeforeWait, true);
    WaitPrepped = true;
}

bool TSerCustomComPort::CheckForString(uint16_t& Index, uint8_t C, const QString& S, bool IgnoreCase)
{
    const QByteArray s = S.toLatin1();
    if (s.isEmpty())
        return true;
    auto same = [IgnoreCase](uint8_t A, uint8_t B) {
        if (IgnoreCase) {
            if (A >= 'a' && A <= 'z')
                A = static_cast<uint8_t>(A - 32);
            if (B >= 'a' && B <= 'z')
                B = static_cast<uint8_t>(B - 32);
        }
        return A == B;
    };
    if (same(C, static_cast<uint8_t>(s[Index])))
        ++Index;
    else
        Index = same(C, static_cast<uint8_t>(s[0])) ? 1 : 0;
    if (Index >= s.size()) {
        Index = 0;
        return true;
    }
    return false;
}

int TSerCustomComPort::WaitForMultiString(const QString& S, int Timeout, bool Yield, bool IgnoreCase, char SepChar)
{
    const QStringList parts = S.split(QLatin1Char(SepChar)).mid(0, 127);
    if (S.isEmpty())
        return 1;
    TSerBaseDispatcher* d = ValidDispatcher();
    if (!WaitPrepped)
        d->SetEventBusy(BusyBeforeWait, true);
    WaitPrepped = false;
    std::vector<uint16_t> index(static_cast<size_t>(parts.size()), 0);
    EventTimer et;
    NewTimer(et, Timeout);
    int found = 0;
    while (!found && !TimerExpired(et) && !QCoreApplication::closingDown()) {
        if (d->CharReady()) {
            uint8_t c = 0;
            Check(d->GetChar(c));
            WaitChar(c);
            for (int i = 0; i < parts.size() && !found; ++i)
                if (CheckForString(index[static_cast<size_t>(i)], c, parts[i], IgnoreCase))
                    found = i + 1;
        } else {
            if (Yield)
                SafeYield();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    bool dummy;
    if (FDispatcher.get() == d)
        d->SetEventBusy(dummy, BusyBeforeWait);
    return found;
}

bool TSerCustomComPort::WaitForString(const QString& S, int Timeout, bool Yield, bool IgnoreCase)
{
    if (S.isEmpty())
        return true;
    return WaitForMultiString(S, Timeout, Yield, IgnoreCase, '\0') == 1;
}

// ---------------------------------------------------------------------------
// Assign

void TSerCustomComPort::Assign(TSerCustomComPort* Source)
{
    if (!Source)
        return;
    UserList = Source->UserList;
    if (Source->FPortState == psOpen && Source->FDispatcher) {
        Source->FDispatcher->SaveTriggers(SaveTriggerBuffer);
        CopyTriggers = true;
    }
    FDeviceLayer = Source->FDeviceLayer;
    FComNumber = Source->FComNumber;
    FComPath = Source->FComPath;
    FBaud = Source->FBaud;
    FParity = Source->FParity;
    FDataBits = Source->FDataBits;
    FStopBits = Source->FStopBits;
    FInSize = Source->FInSize;
    FOutSize = Source->FOutSize;
    FHWFlowOptions = Source->FHWFlowOptions;
    FSWFlowOptions = Source->FSWFlowOptions;
    FXOnChar = Source->FXOnChar;
    FXOffChar = Source->FXOffChar;
    FBufferFull = Source->FBufferFull;
    FBufferResume = Source->FBufferResume;
    FTracing = Source->FTracing;
    FTraceSize = Source->FTraceSize;
    FTraceName = Source->FTraceName;
    FTraceHex = Source->FTraceHex;
    FTraceAllHex = Source->FTraceAllHex;
    FLogging = Source->FLogging;
    FLogSize = Source->FLogSize;
    FLogName = Source->FLogName;
    FLogHex = Source->FLogHex;
    FLogAllHex = Source->FLogAllHex;
    FTriggerLength = Source->FTriggerLength;
    FAutoOpen = Source->FAutoOpen;
    FPromptForPort = Source->FPromptForPort;
    FRS485Mode = Source->FRS485Mode;
    FThreadBoost = Source->FThreadBoost;
    FDTR = Source->FDTR;
    FRTS = Source->FRTS;
    FTapiMode = Source->FTapiMode;
    Force = Source->Force;
    SetOnTrigger(Source->FOnTrigger);
    SetOnTriggerAvail(Source->FOnTriggerAvail);
    SetOnTriggerData(Source->FOnTriggerData);
    SetOnTriggerStatus(Source->FOnTriggerStatus);
    SetOnTriggerTimer(Source->FOnTriggerTimer);
    OnPortOpen = Source->OnPortOpen;
    OnPortClose = Source->OnPortClose;
    FOpen = false;
}

// ---------------------------------------------------------------------------
// Probing

bool IsPortAvailable(uint32_t ComNumber)
{
    if (ComNumber == 0)
        return false;
    try {
        const QString name = CommPortPath(static_cast<int>(ComNumber));
        TSerWin32Dispatcher probe(nullptr);
        return probe.CheckPort(name);
    } catch (...) {
        return false;
    }
}

QStringList AvailableComPorts()
{
    QStringList ports;
    for (uint32_t n = 1; n <= 50; ++n)
        if (IsPortAvailable(n))
            ports << QStringLiteral("COM%1").arg(n);
    return ports;
}
