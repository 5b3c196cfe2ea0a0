#include "devices/serial/SerIOQueue.h"

#include "platform/rtl/Exception.h"

#include <algorithm>
#include <cstring>
#include <new>

using enum TDispatchType;
using enum TDispatchSubType;

TDataBuffer::TDataBuffer(int32_t ASize)
    : TIOBuffer(ASize)
{
    try {
        Data = QByteArray(ASize, '\0');
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(QStringLiteral("Insufficient memory to allocate I/O buffer."));
    }
}

TIOQueue::TIOQueue()
    : FEvent(CreateEvent(false, false))
{
}

TIOQueue::~TIOQueue()
{
    std::lock_guard<std::mutex> g(FLock);
    FList.clear();
}

void TIOQueue::Push(std::unique_ptr<TIOBuffer> Buffer)
{
    {
        std::lock_guard<std::mutex> g(FLock);
        FBytesQueued += Buffer->Size;
        FList.push_back(std::move(Buffer));
    }
    SetEvent(FEvent);
}

TIOBuffer* TIOQueue::Peek()
{
    std::lock_guard<std::mutex> g(FLock);
    if (FList.empty() || FList.front()->InUse)
        return nullptr;
    FList.front()->InUse = true;
    return FList.front().get();
}

void TIOQueue::Release(TIOBuffer* Buffer)
{
    std::lock_guard<std::mutex> g(FLock);
    if (Buffer)
        Buffer->InUse = false;
}

std::unique_ptr<TIOBuffer> TIOQueue::Pop()
{
    std::lock_guard<std::mutex> g(FLock);
    if (FList.empty())
        return nullptr;
    std::unique_ptr<TIOBuffer> b = std::move(FList.front());
    FList.pop_front();
    FBytesQueued -= b->Size;
    b->InUse = false;
    return b;
}

void TIOQueue::Clear()
{
    std::lock_guard<std::mutex> g(FLock);
    for (auto it = FList.begin(); it != FList.end();) {
        if ((*it)->InUse) {
            ++it;
        } else {
            FBytesQueued -= (*it)->Size;
            it = FList.erase(it);
        }
    }
}

void TIOQueue::WaitForBuffer(uint32_t Ms)
{
    {
        std::lock_guard<std::mutex> g(FLock);
        if (!FList.empty())
            return;
    }
    WaitForSingleObject(FEvent, Ms);
}

int32_t TIOQueue::BytesQueued() const
{
    std::lock_guard<std::mutex> g(FLock);
    return FBytesQueued;
}

int TIOQueue::Count() const
{
    std::lock_guard<std::mutex> g(FLock);
    return static_cast<int>(FList.size());
}

int TIOQueue::FirstDataUnread()
{
    TIOBuffer* b = Peek();
    if (!b)
        return 0;
    int n = 0;
    if (auto* d = dynamic_cast<TDataBuffer*>(b))
        n = d->BytesUsed - d->BytesRead;
    Release(b);
    return n;
}

int TIOQueue::ReadData(uint8_t* Buffer, int Length)
{
    int copied = 0;
    while (copied < Length) {
        TIOBuffer* b = Peek();
        if (!b)
            break;
        auto* d = dynamic_cast<TDataBuffer*>(b);
        if (!d) {
            Release(b);
            break;
        }
        const int n = std::min(Length - copied, d->BytesUsed - d->BytesRead);
        std::memcpy(Buffer + copied, d->Data.constData() + d->BytesRead, static_cast<size_t>(n));
        d->BytesRead += n;
        copied += n;
        if (d->BytesRead >= d->BytesUsed)
            Pop();
        else
            Release(b);
    }
    return copied;
}
