#pragma once
// The locked queue between the port's reading threads and its dispatcher
// thread: received data blocks and comm-status entries, in arrival order.
// The dispatch log keeps its entries in a queue of the same kind.

#include "platform/os/Waitable.h"

#include <QByteArray>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

class TIOBuffer {
public:
    explicit TIOBuffer(int32_t ASize)
        : Size(ASize)
    {
    }
    virtual ~TIOBuffer() = default;
    bool InUse = false;
    int32_t Size;
};

class TDataBuffer : public TIOBuffer {
public:
    // Raises "Insufficient memory to allocate I/O buffer." when the block
    // cannot be had.
    explicit TDataBuffer(int32_t ASize);
    QByteArray Data;
    int32_t BytesUsed = 0;
    int32_t BytesRead = 0;
};

class TStatusBuffer : public TIOBuffer {
public:
    explicit TStatusBuffer(uint32_t AStatus)
        : TIOBuffer(0)
        , Status(AStatus)
    {
    }
    uint32_t Status;
};

// Scoped: other layers use some of the same names; the serial layer's own
// sources bring them into scope with "using enum".
enum class TDispatchType {
    dtNone, dtDispatch, dtTrigger, dtError, dtThread, dtTriggerAlloc, dtTriggerDispose, dtTriggerHandlerAlloc,
    dtTriggerHandlerDispose, dtTriggerDataChange, dtTelnet, dtFax, dtXModem, dtYModem, dtZModem, dtKermit,
    dtAscii, dtBPlus, dtPacket, dtUser, dtScript
};

// The subtypes this layer writes (their number is their value).
enum class TDispatchSubType : uint16_t {
    dstNone = 0, dstReadCom = 1, dstWriteCom = 2, dstLineStatus = 3, dstModemStatus = 4, dstAvail = 5,
    dstTimer = 6, dstData = 7, dstStatus = 8, dstDataTrigger = 13, dstTimerTrigger = 14,
    dstStatusTrigger = 15, dstAvailTrigger = 16, dstWndHandler = 17, dstProcHandler = 18,
    dstEventHandler = 19
};

class TLogBuffer : public TIOBuffer {
public:
    TLogBuffer(TDispatchType AType, TDispatchSubType ASubType, uint32_t ATime, uint32_t AData, const QByteArray& ABuffer)
        : TIOBuffer(static_cast<int32_t>(ABuffer.size()))
        , drType(AType)
        , drSubType(ASubType)
        , drTime(ATime)
        , drData(AData)
        , drBuffer(ABuffer)
    {
    }
    TDispatchType drType;
    TDispatchSubType drSubType;
    uint32_t drTime;
    uint32_t drData;
    QByteArray drBuffer;
    int32_t drMoreData() const { return static_cast<int32_t>(drBuffer.size()); }
};

class TIOQueue {
public:
    TIOQueue();
    ~TIOQueue();

    void Push(std::unique_ptr<TIOBuffer> Buffer);
    // The first buffer when it is not in use, marked in use; else null.
    TIOBuffer* Peek();
    // Clears InUse of a buffer handed out by Peek.
    void Release(TIOBuffer* Buffer);
    // Removes and returns the first buffer.
    std::unique_ptr<TIOBuffer> Pop();
    // Frees every buffer that is not in use.
    void Clear();
    // Returns at once when the queue holds anything, else waits up to Ms.
    void WaitForBuffer(uint32_t Ms);
    // Unread bytes of the first queued block when it is a data block, else 0.
    int FirstDataUnread();
    // Copies up to Length received bytes from the data blocks at the front,
    // stopping at a status entry; exhausted blocks are freed.
    int ReadData(uint8_t* Buffer, int Length);
    int32_t BytesQueued() const;
    int Count() const;

private:
    mutable std::mutex FLock;
    THandle FEvent;
    std::deque<std::unique_ptr<TIOBuffer>> FList;
    int32_t FBytesQueued = 0;
};
