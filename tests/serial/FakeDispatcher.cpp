#include "tests/serial/FakeDispatcher.h"

#include <cstring>

FakeDispatcher::FakeDispatcher(TComponent* Owner)
    : TSerBaseDispatcher(Owner)
{
}

FakeDispatcher::~FakeDispatcher()
{
    DonePort();
}

int FakeDispatcher::Open(int OutSize)
{
    return InitPort(QStringLiteral("fake"), 9600, 0, 8, 1, 4096, OutSize, 3);
}

void FakeDispatcher::Feed(const QByteArray& Bytes)
{
    for (qsizetype i = 0; i < Bytes.size(); i += 256) {
        auto b = std::make_unique<TDataBuffer>(256);
        const QByteArray part = Bytes.mid(i, 256);
        std::memcpy(b->Data.data(), part.constData(), static_cast<size_t>(part.size()));
        b->BytesUsed = static_cast<int32_t>(part.size());
        FQueue.Push(std::move(b));
    }
}

void FakeDispatcher::QueueStatus(uint32_t Mask)
{
    FQueue.Push(std::make_unique<TStatusBuffer>(Mask));
}

QByteArray FakeDispatcher::TakeOutput()
{
    TSerLock o(OutputSection);
    QByteArray out;
    const int used = OutBufUsed();
    int at = OBufTail;
    for (int i = 0; i < used; ++i) {
        out.append(static_cast<char>(OBuffer[static_cast<size_t>(at)]));
        at = (at + 1) % OutQue;
    }
    OBufHead = OBufTail = 0;
    OBufFull = false;
    return out;
}

int FakeDispatcher::FlushCom(int Queue)
{
    if (Queue == 0) {
        TSerLock o(OutputSection);
        OBufHead = OBufTail = 0;
        OBufFull = false;
    } else {
        FQueue.Clear();
    }
    return 0;
}

uint32_t FakeDispatcher::GetComError(TComStat& Stat)
{
    Stat.cbOutQue = static_cast<uint32_t>(OutBufUsed());
    return 0;
}

int FakeDispatcher::OutBufUsed()
{
    TSerLock o(OutputSection);
    if (OBufFull)
        return OutQue;
    if (OBufHead >= OBufTail)
        return OBufHead - OBufTail;
    return OBufHead + OutQue - OBufTail;
}

int FakeDispatcher::WriteCom(const uint8_t* Buffer, int Length)
{
    for (int i = 0; i < Length; ++i) {
        OBuffer[static_cast<size_t>(OBufHead)] = Buffer[i];
        OBufHead = (OBufHead + 1) % OutQue;
    }
    return Length;
}

int FakeDispatcher::InQueueUsed()
{
    return FQueue.FirstDataUnread();
}

int FakeDispatcher::ReadCom(uint8_t* Buffer, int Length)
{
    return FQueue.ReadData(Buffer, Length);
}

void FakeDispatcher::SetRing(int Head, int Tail, bool Full)
{
    TSerLock d(DispSection);
    DBufHead = Head;
    DBufTail = Tail;
    DispatchFull = Full;
    LastTailData = Head;
    NotifyTail = Head;
}
