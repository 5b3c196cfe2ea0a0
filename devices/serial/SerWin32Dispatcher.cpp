#include "devices/serial/SerWin32Dispatcher.h"

#include "platform/comm/CommPorts.h"
#include "platform/os/OsTypes.h"
#include "platform/rtl/Exception.h"

#include <chrono>
#include <sched.h>
#include <thread>

namespace {

constexpr int kReadBlock = 256;
constexpr uint32_t kStatusMask = EV_CTS | EV_DSR | EV_RLSD | EV_BREAK | EV_ERR | EV_RING;

}  // namespace

TSerWin32Dispatcher::TSerWin32Dispatcher(TComponent* Owner)
    : TSerBaseDispatcher(Owner)
    , FSerialEvent(CreateEvent(false, false))
{
}

TSerWin32Dispatcher::~TSerWin32Dispatcher()
{
    // The close must run while this class's operations still exist.
    Shutdown();
}

int TSerWin32Dispatcher::OpenCom(const QString& Name, int InQueue, int OutQueue)
{
    (void)InQueue;
    (void)OutQueue;
    std::lock_guard<std::mutex> g(FDeviceLock);
    auto dev = std::make_unique<TCommDevice>();
    if (!dev->Open(Name)) {
        FLastWinError = dev->LastError();
        return -static_cast<int>(dev->LastError());
    }
    FDevice = std::move(dev);
    return FDevice->Handle();
}

int TSerWin32Dispatcher::CloseCom()
{
    {
        TSerLock g(DataSection);
        if (CloseComActive)
            return 0;
        CloseComActive = true;
    }
    if (FDispActive) {
        KillThreads = true;
        {
            std::lock_guard<std::mutex> g(FDeviceLock);
            if (FDevice) {
                FDevice->SetCommMask(0);
                FDevice->CancelIo();
            }
        }
        SetEvent(OutFlushEvent);
        SetEvent(FSerialEvent);
        WaitThreadGone(FStatusThread, -1);
        WaitThreadGone(FOutThread, -1);
        WaitThreadGone(FComThread, -1);
        // The dispatcher thread may be waiting for the owner's handler.
        WaitThreadGone(FDispThread, 2 * 36 * TickMs);
    }
    int result = 0;
    {
        std::lock_guard<std::mutex> g(FDeviceLock);
        if (FDevice) {
            result = FDevice->Close() ? 0 : -1;
            FDevice.reset();
            CidEx = -1;
        }
    }
    TSerLock g(DataSection);
    CloseComActive = false;
    return result;
}

void TSerWin32Dispatcher::WaitThreadGone(const std::atomic<bool>& Exists, int MaxMs)
{
    const uint64_t end = MaxMs < 0 ? UINT64_MAX : OsMonotonicMs() + static_cast<uint64_t>(MaxMs);
    while (Exists.load() && OsMonotonicMs() < end) {
        if (!SafeYield())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool TSerWin32Dispatcher::CheckPort(const QString& Name)
{
    return CommPortExists(Name);
}

int TSerWin32Dispatcher::ProcessCommunications()
{
    sched_yield();
    return 0;
}

int TSerWin32Dispatcher::EscapeComFunction(int Func)
{
    std::lock_guard<std::mutex> g(FDeviceLock);
    if (!FDevice)
        return -1;
    if (!FDevice->EscapeCommFunction(Func)) {
        FLastWinError = FDevice->LastError();
        return -1;
    }
    return 0;
}

int TSerWin32Dispatcher::FlushCom(int Queue)
{
    if (Queue == 0) {
        if (!FOutThread)
            return 0;
        {
            TSerLock o(OutputSection);
            OBufHead = OBufTail = 0;
            OBufFull = false;
        }
        int result = 0;
        {
            std::lock_guard<std::mutex> g(FDeviceLock);
            if (FDevice && !FDevice->PurgeComm(PURGE_TXABORT | PURGE_TXCLEAR))
                result = -static_cast<int>(FDevice->LastError());
        }
        SetEvent(OutFlushEvent);
        WaitForSingleObject(GeneralEvent, 5000);
        return result;
    }
    int result = 0;
    {
        std::lock_guard<std::mutex> g(FDeviceLock);
        if (FDevice && !FDevice->PurgeComm(PURGE_RXABORT | PURGE_RXCLEAR))
            result = -static_cast<int>(FDevice->LastError());
    }
    FQueue.Clear();
    return result;
}

uint32_t TSerWin32Dispatcher::GetComError(TComStat& Stat)
{
    uint32_t errors = 0;
    {
        std::lock_guard<std::mutex> g(FDeviceLock);
        if (!FDevice || !FDevice->ClearCommError(errors, &Stat))
            errors = 0;
    }
    Stat.cbOutQue = static_cast<uint32_t>(OutBufUsed());
    return errors;
}

int TSerWin32Dispatcher::GetComState(TDCB& Dcb)
{
    std::lock_guard<std::mutex> g(FDeviceLock);
    if (!FDevice || !FDevice->GetCommState(Dcb))
        return -1;
    return 0;
}

int TSerWin32Dispatcher::SetComState(const TDCB& Dcb)
{
    std::lock_guard<std::mutex> g(FDeviceLock);
    if (!FDevice)
        return -static_cast<int>(ERROR_INVALID_HANDLE_);
    if (!FDevice->SetCommState(Dcb)) {
        FLastWinError = FDevice->LastError();
        return -static_cast<int>(FDevice->LastError());
    }
    return 0;
}

bool TSerWin32Dispatcher::SetupCom(int InSize, int OutSize)
{
    std::lock_guard<std::mutex> g(FDeviceLock);
    return FDevice && FDevice->SetupComm(static_cast<uint32_t>(InSize), static_cast<uint32_t>(OutSize));
}

uint32_t TSerWin32Dispatcher::GetModemLines()
{
    std::lock_guard<std::mutex> g(FDeviceLock);
    uint32_t ms = 0;
    if (FDevice)
        FDevice->GetCommModemStatus(ms);
    return ms;
}

bool TSerWin32Dispatcher::WaitComEvent(uint32_t& EvtMask)
{
    EvtMask = 0;
    return true;
}

int TSerWin32Dispatcher::OutBufUsed()
{
    TSerLock o(OutputSection);
    if (OBufFull)
        return OutQue;
    if (OBufHead == OBufTail)
        return 0;
    if (OBufHead > OBufTail)
        return OBufHead - OBufTail;
    return OBufHead + OutQue - OBufTail;
}

int TSerWin32Dispatcher::WriteCom(const uint8_t* Buffer, int Length)
{
    // The caller holds OutputSection and has made sure the block fits.
    int done = 0;
    while (done < Length) {
        const int n = std::min(Length - done, OutQue - OBufHead);
        std::memcpy(OBuffer.data() + OBufHead, Buffer + done, static_cast<size_t>(n));
        OBufHead += n;
        if (OBufHead >= OutQue)
            OBufHead = 0;
        done += n;
    }
    SetEvent(OutputEvent);
    return Length;
}

int TSerWin32Dispatcher::InQueueUsed()
{
    return FQueue.FirstDataUnread();
}

int TSerWin32Dispatcher::ReadCom(uint8_t* Buffer, int Length)
{
    return FQueue.ReadData(Buffer, Length);
}

// ---------------------------------------------------------------------------
// Threads

void TSerWin32Dispatcher::StartDispatcher()
{
    TSerLock g(DataSection);
    if (FDispActive)
        throw Exception(QStringLiteral("Dispatcher already started."));
    FDispActive = true;
    KillThreads = false;
    auto start = [this](std::atomic<bool>& Exists, void (TSerWin32Dispatcher::*Body)()) {
        Exists = true;
        std::thread(Body, this).detach();
        WaitForSingleObject(GeneralEvent, 3000);
    };
    start(FComThread, &TSerWin32Dispatcher::RunReadThread);
    FDispThread = true;
    std::thread([this] { RunDispThread(); }).detach();
    WaitForSingleObject(GeneralEvent, 3000);
    start(FOutThread, &TSerWin32Dispatcher::RunWriteThread);
    start(FStatusThread, &TSerWin32Dispatcher::RunStatusThread);
}

void TSerWin32Dispatcher::StopDispatcher()
{
    if (FDispActive)
        CloseCom();
}

void TSerWin32Dispatcher::RunReadThread()
{
    ThreadStart();
    int rv = 0;
    TCommDevice* dev = FDevice.get();
    TCommTimeouts t;
    t.ReadIntervalTimeout = 0xFFFFFFFFu;
    dev->SetCommTimeouts(t);
    while (!KillThreads) {
        std::unique_ptr<TDataBuffer> buf;
        try {
            buf = std::make_unique<TDataBuffer>(kReadBlock);
        } catch (...) {
            rv = ecNoMem;
            KillThreads = true;
            break;
        }
        const int n = dev->Read(buf->Data.data(), kReadBlock, 50);
        if (n > 0) {
            buf->BytesUsed = n;
            FQueue.Push(std::move(buf));
            continue;
        }
        if (n == 0 || n == -2)
            continue;
        if (dev->LastError() != ERROR_INVALID_HANDLE_) {
            FLastWinError = dev->LastError();
            rv = ecDeviceRead;
        }
        KillThreads = true;
    }
    ThreadGone(stkRead, rv);
}

void TSerWin32Dispatcher::RunStatusThread()
{
    ThreadStart();
    int rv = 0;
    TCommDevice* dev = FDevice.get();
    LastMask = kStatusMask;
    if (!KillThreads)
        dev->SetCommMask(LastMask);
    while (!KillThreads) {
        uint32_t ev = 0;
        const int r = dev->WaitCommEvent(ev, 100);
        if (r == 1) {
            if (ev & EV_RXCHAR)
                SetEvent(FSerialEvent);
            if (ev & 0x21F8)
                FQueue.Push(std::make_unique<TStatusBuffer>(ev));
            continue;
        }
        if (r == 0 || r == -2)
            continue;
        if (dev->LastError() != ERROR_INVALID_HANDLE_) {
            FLastWinError = dev->LastError();
            rv = ecDeviceRead;
        }
        KillThreads = true;
    }
    ThreadGone(stkStatus, rv);
}

void TSerWin32Dispatcher::RunWriteThread()
{
    ThreadStart();
    int rv = 0;
    const THandle events[2] = {OutputEvent, OutFlushEvent};
    while (!KillThreads) {
        const DWORD r = WaitForMultipleObjects(events, false, 100);
        if (r == WAIT_OBJECT_0) {
            if (KillThreads)
                break;
            if (WriteSerial() != 0) {
                rv = ecDeviceWrite;
                KillThreads = true;
            }
        } else if (r == WAIT_OBJECT_0 + 1) {
            SetEvent(GeneralEvent);
        } else if (r != WAIT_TIMEOUT) {
            rv = ecDeviceWrite;
            KillThreads = true;
        }
    }
    ThreadGone(stkWrite, rv);
}

int TSerWin32Dispatcher::WriteSerial()
{
    TCommDevice* dev = FDevice.get();
    for (;;) {
        QByteArray block;
        {
            TSerLock o(OutputSection);
            const int used = OutBufUsed();
            if (used == 0 || OBuffer.empty())
                return 0;
            block.resize(used);
            int at = OBufTail;
            for (int i = 0; i < used; ++i) {
                block[i] = static_cast<char>(OBuffer[static_cast<size_t>(at)]);
                if (++at >= OutQue)
                    at = 0;
            }
            OBufHead = OBufTail = 0;
            OBufFull = false;
        }
        int written = 0;
        const int r = dev->Write(block.constData(), static_cast<int>(block.size()), written, 100);
        if (r == -2)
            return 0;  // abandoned by a flush: the rest of the block goes
        if (r < 0) {
            if (dev->LastError() == ERROR_INVALID_HANDLE_ || dev->LastError() == ERROR_OPERATION_ABORTED_)
                return 0;
            FLastWinError = dev->LastError();
            return ecDeviceWrite;
        }
    }
}
