#pragma once
// A dispatcher over an in-memory device: no threads and no system device, so
// the ring, output, trigger and notification logic can be driven step by step
// on the test's own thread. Received bytes are fed into the input queue as a
// port's read thread would queue them.

#include "devices/serial/SerDispatcher.h"

class FakeDispatcher : public TSerBaseDispatcher {
public:
    explicit FakeDispatcher(TComponent* Owner = nullptr);
    ~FakeDispatcher() override;

    // Opens the fake device with the given output size.
    int Open(int OutSize = 4096);
    // Queues received bytes in blocks of at most 256.
    void Feed(const QByteArray& Bytes);
    // Takes what the port wrote and empties the output ring.
    QByteArray TakeOutput();
    int QueuedBlocks() const { return FQueue.Count(); }
    void QueueStatus(uint32_t Mask);

    int EscapeComFunction(int) override { return 0; }
    int FlushCom(int Queue) override;
    uint32_t GetComError(TComStat& Stat) override;
    uint32_t GetComEventMask() override { return 0; }
    int GetComState(TDCB& Dcb) override
    {
        Dcb = FDcb;
        return 0;
    }
    int ReadCom(uint8_t* Buffer, int Length) override;
    int SetComState(const TDCB& Dcb) override
    {
        FDcb = Dcb;
        return 0;
    }
    int WriteCom(const uint8_t* Buffer, int Length) override;
    bool WaitComEvent(uint32_t& EvtMask) override
    {
        EvtMask = 0;
        return true;
    }
    bool SetupCom(int, int) override { return true; }
    void StartDispatcher() override {}
    void StopDispatcher() override {}
    int OutBufUsed() override;
    int InQueueUsed() override;
    uint32_t GetModemLines() override { return Lines; }
    int OpenCom(const QString&, int, int) override { return 3; }
    int CloseCom() override
    {
        CidEx = -1;
        return 0;
    }
    bool CheckPort(const QString&) override { return true; }
    int ProcessCommunications() override { return 0; }

    // Ring positions for the edge cases.
    void SetRing(int Head, int Tail, bool Full);
    int Head() const { return DBufHead; }
    int Tail() const { return DBufTail; }
    bool Full() const { return DispatchFull; }
    void SetLastError(uint32_t Bits) { LastError = Bits; }
    void SetInQue(int N) { InQue = N; }
    TDCB Dcb() const { return FDcb; }
    uint32_t Lines = 0;

private:
    TDCB FDcb;
};
