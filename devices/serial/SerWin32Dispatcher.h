#pragma once
// The native port layer under the dispatcher: the device opened through the
// serial calls of platform/comm, the output ring and its write thread, the
// read thread that moves received bytes into the locked queue in blocks of at
// most 256 bytes, and the status thread that waits for modem line changes,
// breaks and line errors.
//
// The read thread waits on the device itself (poll) instead of being woken by
// a byte-received comm event: on Linux readiness is a level, so this keeps the
// status thread from spinning on unread bytes and saves a thread hop.

#include "devices/serial/SerDispatcher.h"

#include <mutex>

class TSerWin32Dispatcher : public TSerBaseDispatcher {
public:
    explicit TSerWin32Dispatcher(TComponent* Owner);
    ~TSerWin32Dispatcher() override;

    int EscapeComFunction(int Func) override;
    int FlushCom(int Queue) override;
    uint32_t GetComError(TComStat& Stat) override;
    uint32_t GetComEventMask() override { return 0; }
    int GetComState(TDCB& Dcb) override;
    int ReadCom(uint8_t* Buffer, int Length) override;
    int SetComState(const TDCB& Dcb) override;
    int WriteCom(const uint8_t* Buffer, int Length) override;
    bool WaitComEvent(uint32_t& EvtMask) override;
    bool SetupCom(int InSize, int OutSize) override;
    void StartDispatcher() override;
    void StopDispatcher() override;
    int OutBufUsed() override;
    int InQueueUsed() override;
    uint32_t GetModemLines() override;
    int OpenCom(const QString& Name, int InQueue, int OutQueue) override;
    int CloseCom() override;
    bool CheckPort(const QString& Name) override;
    int ProcessCommunications() override;

private:
    void RunReadThread();
    void RunWriteThread();
    void RunStatusThread();
    int WriteSerial();
    void WaitThreadGone(const std::atomic<bool>& Exists, int MaxMs);

    std::unique_ptr<TCommDevice> FDevice;
    // Guards the device against being closed while another thread asks it
    // for its state; the blocking reads, writes and waits run only on the
    // port threads, which are stopped before the device closes.
    std::mutex FDeviceLock;
    THandle FSerialEvent;
    uint32_t LastMask = 0;
};
