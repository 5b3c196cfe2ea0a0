// Line settings, flow control, modem lines, line errors and breaks of a
// dispatcher.

#include "devices/serial/SerDispatcher.h"

#include <chrono>
#include <thread>

int32_t TSerBaseDispatcher::ActualBaud(int32_t Code)
{
    static const int32_t table[24] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, -1, -1, 38400,
                                      -1, -1, -1, 56000, -1, -1, -1, 128000, -1, -1, -1, 256000};
    if (Code == 65279)
        return 115200;
    if (Code >= 65296 && Code <= 65319) {
        const int32_t v = table[Code - 65296];
        return v < 0 ? Code : v;
    }
    return Code;
}

namespace {

// Waits for the output ring to drain, then for the time of about 18
// characters so that the UART's own buffer can empty.
void WaitTxSent(TSerBaseDispatcher& D, const TDCB& Dcb, int32_t LastBaud)
{
    for (int i = 0; i < 5000 && D.OutBuffUsed() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const int32_t baud = std::max<int32_t>(1, TSerBaseDispatcher::ActualBaud(LastBaud));
    int bits = Dcb.ByteSize + 2;
    if (Dcb.Parity != NOPARITY)
        ++bits;
    if (Dcb.StopBits != ONESTOPBIT)
        ++bits;
    int64_t t = static_cast<int64_t>(10000000 / baud) * bits * 18;
    if (t < 10000)
        t *= 2;
    std::this_thread::sleep_for(std::chrono::milliseconds((t + 9999) / 10000));
}

}  // namespace

int TSerBaseDispatcher::SetLine(int32_t Baud, int Parity, int DataBits, int StopBits)
{
    return ChangeLine(Baud, Parity, DataBits, StopBits, true);
}

int TSerBaseDispatcher::ChangeLine(int32_t Baud, int Parity, int DataBits, int StopBits, bool LetOutputDrain)
{
    TDCB current;
    uint8_t newParity, newSize, newStop;
    uint32_t newFlags;
    uint32_t newBaud;
    {
        TSerLock g(DataSection);
        if (GetComState(current) != 0)
            return -static_cast<int>(FLastWinError.load() ? FLastWinError.load() : ERROR_GEN_FAILURE_);
        newBaud = Baud == 0 ? current.BaudRate : static_cast<uint32_t>(Baud);
        newParity = Parity == 5 ? current.Parity : static_cast<uint8_t>(Parity);
        if (StopBits != 3)
            StopBits = StopBits <= 0 ? 1 : (StopBits > 2 ? 2 : StopBits);
        newSize = DataBits == 9 ? current.ByteSize : static_cast<uint8_t>(DataBits);
        newStop = current.StopBits;
        if (StopBits != 3)
            newStop = StopBits == 1 ? ONESTOPBIT : TWOSTOPBITS;
        if (newSize == 5)
            newStop = ONE5STOPBITS;
        newFlags = current.Flags;
        newFlags |= dcb_Binary | dcb_TXContinueOnXoff;
        newFlags &= ~(dcb_Parity | dcb_DsrSensivity | dcb_Null);
        if (newBaud == current.BaudRate && newParity == current.Parity && newSize == current.ByteSize
            && newStop == current.StopBits && newFlags == current.Flags)
            return ecOK;
    }
    if (LetOutputDrain)
        WaitTxSent(*this, current, LastBaud);
    TSerLock g(DataSection);
    TDCB dcb;
    GetComState(dcb);
    dcb.BaudRate = newBaud;
    dcb.Parity = newParity;
    dcb.ByteSize = newSize;
    dcb.StopBits = newStop;
    dcb.Flags = newFlags;
    return SetCommStateFix(dcb);
}

int TSerBaseDispatcher::GetLine(int32_t& Baud, int& Parity, int& DataBits, int& StopBits)
{
    TSerLock g(DataSection);
    TDCB dcb;
    const int r = GetComState(dcb);
    Baud = ActualBaud(static_cast<int32_t>(dcb.BaudRate));
    Parity = dcb.Parity;
    DataBits = dcb.ByteSize;
    StopBits = dcb.StopBits == ONESTOPBIT ? 1 : 2;
    return r;
}

int TSerBaseDispatcher::ChangeBaud(int32_t Baud)
{
    return SetLine(Baud, 5, 9, 3);
}

int TSerBaseDispatcher::SetCommStateFix(TDCB& Dcb)
{
    TSerLock g(DataSection);
    if (!DTRAuto) {
        Dcb.Flags &= ~dcb_DtrControlMask;
        Dcb.Flags |= DTRState ? dcb_DtrControlEnable : dcb_DtrControlDisable;
    }
    if (!RTSAuto) {
        Dcb.Flags &= ~dcb_RtsControlMask;
        Dcb.Flags |= RTSState ? dcb_RtsControlEnable : dcb_RtsControlDisable;
    }
    const int r = SetComState(Dcb);
    LastBaud = static_cast<int32_t>(Dcb.BaudRate);
    if (r == 0)
        DCB = Dcb;
    SetDtr(DTRState);
    if (!RS485Mode)
        SetRts(RTSState);
    return r;
}

int TSerBaseDispatcher::SetDtr(bool OnOff)
{
    TSerLock g(DataSection);
    if (DTRAuto)
        return 1;
    const int r = EscapeComFunction(OnOff ? SETDTR : CLRDTR);
    DTRState = OnOff;
    return r < 0 ? ecBadArgument : ecOK;
}

int TSerBaseDispatcher::SetRts(bool OnOff)
{
    TSerLock g(DataSection);
    if (RTSAuto)
        return 1;
    const int r = EscapeComFunction(OnOff ? SETRTS : CLRRTS);
    RTSState = OnOff;
    return r < 0 ? ecBadArgument : ecOK;
}

int TSerBaseDispatcher::SetModem(bool Dtr, bool Rts)
{
    const int r = SetDtr(Dtr);
    if (r != 0)
        return r;
    return SetRts(Rts);
}

// ---------------------------------------------------------------------------
// Flow control

int TSerBaseDispatcher::HWFlowOptions(int BufferFull, int BufferResume, int Options)
{
    if (BufferFull < BufferResume || BufferFull > InQue)
        return ecBadArgument;
    TSerLock g(DataSection);
    TDCB dcb;
    GetComState(dcb);
    dcb.Flags &= ~(dcb_OutxCtsFlow | dcb_OutxDsrFlow | dcb_DtrControlMask | dcb_RtsControlMask);
    DTRAuto = false;
    RTSAuto = false;
    if (Options & 1) {
        dcb.Flags |= dcb_DtrControlHandshake;
        DTRAuto = true;
    } else {
        dcb.Flags |= DTRState ? dcb_DtrControlEnable : dcb_DtrControlDisable;
    }
    if (Options & 2) {
        dcb.Flags |= dcb_RtsControlHandshake;
        RTSAuto = true;
    } else {
        dcb.Flags |= RTSState ? dcb_RtsControlEnable : dcb_RtsControlDisable;
    }
    if (RS485Mode) {
        dcb.Flags = (dcb.Flags & ~dcb_RtsControlMask) | dcb_RtsControlToggle;
        RTSAuto = true;
    }
    dcb.XoffLim = static_cast<uint16_t>(InQue - BufferFull);
    dcb.XonLim = static_cast<uint16_t>(BufferResume);
    if (Options & 4)
        dcb.Flags |= dcb_OutxDsrFlow;
    if (Options & 8)
        dcb.Flags |= dcb_OutxCtsFlow;
    return SetCommStateFix(dcb);
}

int TSerBaseDispatcher::HWFlowState()
{
    TSerLock g(DataSection);
    const uint32_t f = DCB.Flags;
    const bool dtrHs = (f & dcb_DtrControlMask) == dcb_DtrControlHandshake;
    const bool rtsHs = (f & dcb_RtsControlMask) == dcb_RtsControlHandshake;
    if (!(f & (dcb_OutxCtsFlow | dcb_OutxDsrFlow)) && !dtrHs && !rtsHs)
        return 1;
    if (!dtrHs && !rtsHs)
        return 2;
    RefreshStatus();
    // The kernel reports no hold states; a held line shows as flow on.
    return 2;
}

int TSerBaseDispatcher::SWFlowEnable(int BufferFull, int BufferResume, int Options)
{
    if (BufferFull < BufferResume || BufferFull > InQue)
        return ecBadArgument;
    TSerLock g(DataSection);
    TDCB dcb;
    GetComState(dcb);
    if (Options & 2) {
        dcb.Flags |= dcb_InX;
        dcb.XoffLim = static_cast<uint16_t>(InQue - BufferFull);
        dcb.XonLim = static_cast<uint16_t>(BufferResume);
        dcb.XonChar = 17;
        dcb.XoffChar = 19;
    }
    if (Options & 1) {
        dcb.Flags |= dcb_OutX;
        dcb.XonChar = 17;
        dcb.XoffChar = 19;
    }
    return SetCommStateFix(dcb);
}

int TSerBaseDispatcher::SWFlowDisable()
{
    TSerLock g(DataSection);
    TDCB dcb;
    GetComState(dcb);
    dcb.Flags &= ~(dcb_InX | dcb_OutX);
    return SetCommStateFix(dcb);
}

int TSerBaseDispatcher::SWFlowState()
{
    TSerLock g(DataSection);
    if (!(DCB.Flags & (dcb_InX | dcb_OutX)))
        return 1;
    RefreshStatus();
    return 2;
}

int TSerBaseDispatcher::SWFlowChars(char OnChar, char OffChar)
{
    TSerLock g(DataSection);
    TDCB dcb;
    GetComState(dcb);
    dcb.XonChar = OnChar;
    dcb.XoffChar = OffChar;
    return SetCommStateFix(dcb);
}

int TSerBaseDispatcher::GetFlowOptions(int& HWOpts, int& SWOpts, char& BufferFull, char& BufferResume)
{
    TSerLock g(DataSection);
    TDCB dcb;
    const int r = GetComState(dcb);
    HWOpts = 0;
    SWOpts = 0;
    if ((dcb.Flags & dcb_DtrControlMask) == dcb_DtrControlHandshake)
        HWOpts |= 1;
    if ((dcb.Flags & dcb_RtsControlMask) == dcb_RtsControlHandshake)
        HWOpts |= 2;
    if (dcb.Flags & dcb_OutxDsrFlow)
        HWOpts |= 4;
    if (dcb.Flags & dcb_OutxCtsFlow)
        HWOpts |= 8;
    if (dcb.Flags & dcb_OutX)
        SWOpts |= 1;
    if (dcb.Flags & dcb_InX)
        SWOpts |= 2;
    BufferFull = dcb.XoffChar;
    BufferResume = dcb.XonChar;
    return r;
}

// ---------------------------------------------------------------------------
// Modem lines and line errors

void TSerBaseDispatcher::DoGetModemStatusPrim(uint8_t ClearMask, uint8_t& Result)
{
    const uint32_t lines = GetModemLines();
    TSerLock g(DataSection);
    ModemStatus = static_cast<uint8_t>((lines & 0xF0) | (ModemStatus & 0x0F));
    if (RingFlag) {
        RingFlag = false;
        ModemStatus |= 0x04;
    }
    Result = ModemStatus;
    ModemStatus &= ClearMask;
}

uint8_t TSerBaseDispatcher::GetModemStatus()
{
    uint8_t r;
    DoGetModemStatusPrim(0xF0, r);
    return r;
}

bool TSerBaseDispatcher::ModemFlag(uint8_t ClearMask, uint8_t Bit)
{
    uint8_t r;
    DoGetModemStatusPrim(ClearMask, r);
    return (r & Bit) != 0;
}

// Each read clears only its own line's change flag.
bool TSerBaseDispatcher::CheckCTS() { return ModemFlag(0xFE, 0x10); }
bool TSerBaseDispatcher::CheckDSR() { return ModemFlag(0xFD, 0x20); }
bool TSerBaseDispatcher::CheckRI() { return ModemFlag(0xFB, 0x40); }
bool TSerBaseDispatcher::CheckDCD() { return ModemFlag(0xF7, 0x80); }
bool TSerBaseDispatcher::CheckDeltaCTS() { return ModemFlag(0xFE, 0x01); }
bool TSerBaseDispatcher::CheckDeltaDSR() { return ModemFlag(0xFD, 0x02); }
bool TSerBaseDispatcher::CheckDeltaRI() { return ModemFlag(0xFB, 0x04); }
bool TSerBaseDispatcher::CheckDeltaDCD() { return ModemFlag(0xF7, 0x08); }

void TSerBaseDispatcher::MapEventsToMS(uint32_t Events)
{
    (void)Events;
    const uint8_t before = ModemStatus;
    uint8_t now;
    DoGetModemStatusPrim(0xFF, now);
    TSerLock g(DataSection);
    const uint8_t changed = static_cast<uint8_t>((before ^ now) & 0xF0);
    if (changed & 0x10)
        ModemStatus |= 0x01;
    if (changed & 0x20)
        ModemStatus |= 0x02;
    if (changed & 0x40)
        ModemStatus |= 0x04;
    if (changed & 0x80)
        ModemStatus |= 0x08;
}

int TSerBaseDispatcher::GetLineError()
{
    TSerLock g(DataSection);
    static const struct {
        uint32_t Bit;
        int Code;
    } order[] = {{0x01, 1}, {0x02, 2}, {0x04, 3}, {0x08, 4}, {0x10, 9}};
    for (const auto& o : order)
        if (LastError & o.Bit) {
            LastError &= ~0x0Fu;
            return o.Code;
        }
    return 0;
}

bool TSerBaseDispatcher::CheckLineBreak()
{
    TSerLock g(DataSection);
    const bool b = LastError & 0x10;
    LastError &= ~0x10u;
    return b;
}

void TSerBaseDispatcher::RefreshStatus()
{
    TSerLock g(DataSection);
    TComStat st;
    const uint32_t e = GetComError(st);
    ComStatus = st;
    LastError |= e & 0x1F;
}

void TSerBaseDispatcher::SendBreak(int Ticks, bool Yield)
{
    if (RS485Mode)
        EscapeComFunction(SETRTS);
    EscapeComFunction(SETBREAK);
    DelayTicks(Ticks, Yield);
    EscapeComFunction(CLRBREAK);
    if (RS485Mode && OutBuffUsed() == 0)
        EscapeComFunction(CLRRTS);
}

void TSerBaseDispatcher::SetBreak(bool BreakOn)
{
    if (BreakOn) {
        if (RS485Mode)
            EscapeComFunction(SETRTS);
        EscapeComFunction(SETBREAK);
    } else {
        EscapeComFunction(CLRBREAK);
        if (RS485Mode && OutBuffUsed() == 0)
            EscapeComFunction(CLRRTS);
    }
}

void TSerBaseDispatcher::SetRS485Mode(bool OnOff)
{
    TSerLock g(DataSection);
    RS485Mode = OnOff;
}

void TSerBaseDispatcher::SetBaseAddress(uint16_t NewBaseAddress)
{
    BaseAddress = NewBaseAddress;
}
