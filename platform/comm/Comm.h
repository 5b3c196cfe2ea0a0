#pragma once
// The serial calls the port layer makes, over termios and poll.
//
// The port layer was designed around the Windows comm API: a device control
// block, comm event masks and waits, overlapped reads and writes that another
// thread can abandon, purges, error and queue counts, escape functions. This
// file offers the same calls for Linux serial devices, USB adapters and
// pseudo-terminals, so the layer above keeps its own logic unchanged.
//
// Failures return false (or a negative count) and leave a Windows-style error
// number in LastError(): 2 no such device, 5 in use, 1314 not permitted (the
// user may not open the device), 1200 not a terminal device, 6 bad handle,
// 87 bad argument, 995 operation abandoned, 1167 device gone, 31 any other
// device failure.

#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>

// Comm event mask bits.
constexpr uint32_t EV_RXCHAR = 0x0001;
constexpr uint32_t EV_RXFLAG = 0x0002;
constexpr uint32_t EV_TXEMPTY = 0x0004;
constexpr uint32_t EV_CTS = 0x0008;
constexpr uint32_t EV_DSR = 0x0010;
constexpr uint32_t EV_RLSD = 0x0020;
constexpr uint32_t EV_BREAK = 0x0040;
constexpr uint32_t EV_ERR = 0x0080;
constexpr uint32_t EV_RING = 0x0100;
constexpr uint32_t EV_RING_TE = 0x2000;

// Comm error bits.
constexpr uint32_t CE_RXOVER = 0x01;
constexpr uint32_t CE_OVERRUN = 0x02;
constexpr uint32_t CE_RXPARITY = 0x04;
constexpr uint32_t CE_FRAME = 0x08;
constexpr uint32_t CE_BREAK = 0x10;

// Purge flags.
constexpr uint32_t PURGE_TXABORT = 0x01;
constexpr uint32_t PURGE_RXABORT = 0x02;
constexpr uint32_t PURGE_TXCLEAR = 0x04;
constexpr uint32_t PURGE_RXCLEAR = 0x08;

// Modem status bits.
constexpr uint32_t MS_CTS_ON = 0x10;
constexpr uint32_t MS_DSR_ON = 0x20;
constexpr uint32_t MS_RING_ON = 0x40;
constexpr uint32_t MS_RLSD_ON = 0x80;

// Escape functions.
constexpr int SETXOFF = 1;
constexpr int SETXON = 2;
constexpr int SETRTS = 3;
constexpr int CLRRTS = 4;
constexpr int SETDTR = 5;
constexpr int CLRDTR = 6;
constexpr int SETBREAK = 8;
constexpr int CLRBREAK = 9;

// Device control block flag word.
constexpr uint32_t dcb_Binary = 0x0001;
constexpr uint32_t dcb_Parity = 0x0002;
constexpr uint32_t dcb_OutxCtsFlow = 0x0004;
constexpr uint32_t dcb_OutxDsrFlow = 0x0008;
constexpr uint32_t dcb_DtrControlMask = 0x0030;
constexpr uint32_t dcb_DtrControlDisable = 0x0000;
constexpr uint32_t dcb_DtrControlEnable = 0x0010;
constexpr uint32_t dcb_DtrControlHandshake = 0x0020;
constexpr uint32_t dcb_DsrSensivity = 0x0040;
constexpr uint32_t dcb_TXContinueOnXoff = 0x0080;
constexpr uint32_t dcb_OutX = 0x0100;
constexpr uint32_t dcb_InX = 0x0200;
constexpr uint32_t dcb_ErrorChar = 0x0400;
constexpr uint32_t dcb_Null = 0x0800;
constexpr uint32_t dcb_RtsControlMask = 0x3000;
constexpr uint32_t dcb_RtsControlDisable = 0x0000;
constexpr uint32_t dcb_RtsControlEnable = 0x1000;
constexpr uint32_t dcb_RtsControlHandshake = 0x2000;
constexpr uint32_t dcb_RtsControlToggle = 0x3000;
constexpr uint32_t dcb_AbortOnError = 0x4000;

constexpr uint8_t NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4;
constexpr uint8_t ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2;

// Windows-style error numbers kept in LastError().
constexpr uint32_t ERROR_FILE_NOT_FOUND_ = 2;
constexpr uint32_t ERROR_ACCESS_DENIED_ = 5;
constexpr uint32_t ERROR_INVALID_HANDLE_ = 6;
constexpr uint32_t ERROR_GEN_FAILURE_ = 31;
constexpr uint32_t ERROR_INVALID_PARAMETER_ = 87;
constexpr uint32_t ERROR_INSUFFICIENT_BUFFER_ = 122;
constexpr uint32_t ERROR_OPERATION_ABORTED_ = 995;
constexpr uint32_t ERROR_DEVICE_NOT_CONNECTED_ = 1167;
constexpr uint32_t ERROR_BAD_DEVICE_ = 1200;
constexpr uint32_t ERROR_PRIVILEGE_NOT_HELD_ = 1314;

struct TDCB {
    uint32_t BaudRate = 9600;
    uint32_t Flags = dcb_Binary | dcb_DtrControlEnable | dcb_RtsControlEnable;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 8;
    uint8_t Parity = NOPARITY;
    uint8_t StopBits = ONESTOPBIT;
    char XonChar = 17;
    char XoffChar = 19;
};

struct TComStat {
    uint32_t Flags = 0;  // hold states; Linux reports none
    uint32_t cbInQue = 0;
    uint32_t cbOutQue = 0;
};

struct TCommTimeouts {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
};

// One open serial device. Read, Write and WaitCommEvent may run on different
// threads at the same time; CancelIo and SetCommMask(0) from any thread make a
// waiting call return at once.
class TCommDevice {
public:
    TCommDevice();
    ~TCommDevice();
    TCommDevice(const TCommDevice&) = delete;
    TCommDevice& operator=(const TCommDevice&) = delete;

    // Opens the device for exclusive use (no other program may open it while
    // this handle is open); raw mode, non-blocking, no controlling terminal.
    bool Open(const QString& Path);
    bool Close();
    bool IsOpen() const { return FFd >= 0; }
    int Handle() const { return FFd; }
    const QString& Path() const { return FPath; }
    uint32_t LastError() const { return FLastError; }
    // Whether the device is a pseudo-terminal (no modem lines, no line errors).
    bool IsPseudoTerminal() const { return FPty; }

    // Driver queue sizes: the kernel's queues are fixed; recorded only.
    bool SetupComm(uint32_t InQueue, uint32_t OutQueue);
    bool GetCommState(TDCB& Dcb);
    bool SetCommState(const TDCB& Dcb);
    bool GetCommTimeouts(TCommTimeouts& T) const;
    bool SetCommTimeouts(const TCommTimeouts& T);

    bool SetCommMask(uint32_t Mask);
    uint32_t GetCommMask() const { return FMask.load(); }
    // Waits up to TimeoutMs (negative: no limit) for one of the mask's events.
    // Returns 1 with the events in Events, 0 on time-out, -1 on failure (the
    // device is gone or the handle closed), -2 when the wait was abandoned by
    // SetCommMask or CancelIo.
    int WaitCommEvent(uint32_t& Events, int TimeoutMs);

    // Reads what the driver holds, up to Count bytes. With nothing there it
    // waits up to TimeoutMs for data. Returns the count (0 on time-out),
    // -1 on failure, -2 when abandoned.
    int Read(void* Buffer, int Count, int TimeoutMs);
    // Writes all Count bytes, waiting for the driver to take them in slices of
    // at most SliceMs. Returns the count written, -1 on failure, or -2 with the
    // count so far in Written when abandoned.
    int Write(const void* Buffer, int Count, int& Written, int SliceMs = 100);
    // Abandons every waiting Read, Write and WaitCommEvent once.
    void CancelIo();

    bool PurgeComm(uint32_t Flags);
    bool ClearCommError(uint32_t& Errors, TComStat* Stat);
    bool EscapeCommFunction(int Function);
    bool GetCommModemStatus(uint32_t& ModemStat);
    // Waits until the driver has sent everything written.
    bool DrainOutput();
    // RTS raised only while sending, where the driver offers it.
    bool SetRS485(bool On);

private:
    bool Fail(int Errno);
    uint32_t ReadModemLines(bool& Ok);
    bool ReadErrorCounts(uint32_t& Errors);
    int WaitFd(short Events, int TimeoutMs, short& Revents, int CancelFd);

    int FFd = -1;
    int FCancelRead = -1;   // eventfds that abandon a waiting call
    int FCancelWrite = -1;
    int FCancelEvent = -1;
    // An abandon request moves its kind's generation on; a waiting call that
    // sees a newer generation than the one it started with gives up.
    std::atomic<uint64_t> FGenRead{0}, FGenWrite{0}, FGenEvent{0};
    QString FPath;
    bool FPty = false;
    std::atomic<uint32_t> FMask{0};
    std::atomic<uint32_t> FLastError{0};
    TDCB FDcb;
    TCommTimeouts FTimeouts;
    std::mutex FStateLock;       // modem/error snapshots
    uint32_t FLastModem = 0;
    bool FHaveModem = false;
    uint32_t FPendingErrors = 0;
    int FCounts[5] = {0, 0, 0, 0, 0};
    bool FHaveCounts = false;
    uint32_t FInQueue = 4096, FOutQueue = 4096;
};

// Maps the system's errno to the Windows-style numbers above.
uint32_t CommErrorFromErrno(int Errno);
