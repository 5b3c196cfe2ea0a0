#include "tasks/WeftComm.h"

#include "tasks/OsWin32.h"

#include <array>

// --- Message queue --------------------------------------------------------------------

TWeftMessageQueue::TWeftMessageQueue(int numMessages, bool createEventObserver)
    : TWeftBoundedQueue(numMessages, int(sizeof(TWeftMessage)), 0.8, 0.9)
{
    static_assert(alignof(TWeftMessage) <= 8, "queue cells are 8-aligned");
    if (createEventObserver)
        GetNewMessageEvent();
    mqIsInitialized = true;
}

TWeftMessageQueue::~TWeftMessageQueue()
{
    if (mqWinMsgObserver.Observer)
        SetOnMessage(nullptr);
    if (mqWinEventObserver)
        ContainerSubject().Detach(mqWinEventObserver.get(), coiNotifyOnAllInserts);
    if (mqIsInitialized)
        Empty();
}

bool TWeftMessageQueue::Enqueue(TWeftMessage&& msg)
{
    return EnqueueWith([&](void* cell) { new (cell) TWeftMessage(std::move(msg)); });
}

bool TWeftMessageQueue::TryDequeue(TWeftMessage& msg)
{
    return DequeueWith([&](void* cell) {
        auto* m = static_cast<TWeftMessage*>(cell);
        msg = std::move(*m);
        m->~TWeftMessage();
    });
}

TWeftMessage TWeftMessageQueue::Dequeue()
{
    TWeftMessage m;
    if (!TryDequeue(m))
        throw Exception(QStringLiteral("TWeftMessageQueue.Dequeue: Message queue is empty"));
    return m;
}

void TWeftMessageQueue::Empty()
{
    TWeftMessage m;
    while (TryDequeue(m)) {
    }
}

THandle TWeftMessageQueue::GetNewMessageEvent()
{
    std::lock_guard lock(mqObserverLock);
    if (!mqWinEventObserver) {
        mqWinEventObserver.reset(CreateContainerWindowsEventObserver());
        ContainerSubject().Attach(mqWinEventObserver.get(), coiNotifyOnAllInserts);
    }
    mqWinEventObserver->Activate();
    return mqWinEventObserver->GetEvent();
}

void TWeftMessageQueue::SetOnMessage(TWeftMessageQueueMessageEvent handler)
{
    if (handler && !mqWinMsgObserver.Observer) {
        mqWinMsgObserver.Window = OsAllocateHWnd([this](TMessage& m) { WndProc(m); });
        mqWinMsgObserver.Observer.reset(
            CreateContainerWindowsMessageObserver(mqWinMsgObserver.Window, WM_USER, 0, 0));
        ContainerSubject().Attach(mqWinMsgObserver.Observer.get(), coiNotifyOnAllInserts);
        mqWinMsgObserver.Observer->Activate();
    } else if (!handler && mqWinMsgObserver.Observer) {
        mqWinMsgObserver.Observer->Deactivate();
        ContainerSubject().Detach(mqWinMsgObserver.Observer.get(), coiNotifyOnAllInserts);
        mqWinMsgObserver.Observer.reset();
        OsDeallocateHWnd(mqWinMsgObserver.Window);
        mqWinMsgObserver.Window = 0;
    }
    mqWinMsgObserver.OnMessage = std::move(handler);
}

void TWeftMessageQueue::WndProc(TMessage& msg)
{
    if (msg.Msg != WM_USER || !mqWinMsgObserver.OnMessage)
        return;
    TWeftMessage m;
    while (mqWinMsgObserver.OnMessage && TryDequeue(m))
        mqWinMsgObserver.OnMessage(*this, m);
}

// --- Endpoints and channel ------------------------------------------------------------------

bool IWeftCommunicationEndpoint::Receive(uint16_t& msgID, TWeftValue& msgData)
{
    TWeftMessage m;
    if (!Receive(m))
        return false;
    msgID = m.MsgID;
    msgData = std::move(m.MsgData);
    return true;
}

bool IWeftCommunicationEndpoint::ReceiveWait(uint16_t& msgID, TWeftValue& msgData, DWORD timeout_ms)
{
    TWeftMessage m;
    if (!ReceiveWait(m, timeout_ms))
        return false;
    msgID = m.MsgID;
    msgData = std::move(m.MsgData);
    return true;
}

namespace {

class TWeftTwoWayChannel;

// Attaches an event observer for one wait and detaches it on every way out.
// Each thread keeps one such observer for reuse, so a wait does not make
// (and throw away) a kernel object each time; a signal left over from an
// earlier wait only costs one more look at the queue.
class TTemporaryObserver {
public:
    TTemporaryObserver(TWeftMessageQueue& queue, TWeftContainerObserverInterest interest)
        : FQueue(queue), FInterest(interest)
    {
        thread_local std::unique_ptr<TWeftContainerWindowsEventObserver> tCached;
        thread_local bool tInUse = false;
        if (!tInUse) {
            if (!tCached)
                tCached.reset(CreateContainerWindowsEventObserver());
            FObserver = tCached.get();
            FInUse = &tInUse;
            tInUse = true;
        } else {
            FOwned.reset(CreateContainerWindowsEventObserver());
            FObserver = FOwned.get();
        }
        FObserver->Activate();
        FQueue.ContainerSubject().Attach(FObserver, FInterest);
    }
    ~TTemporaryObserver()
    {
        FQueue.ContainerSubject().Detach(FObserver, FInterest);
        if (FInUse)
            *FInUse = false;
    }
    THandle Event() const { return FObserver->GetEvent(); }

private:
    TWeftMessageQueue& FQueue;
    TWeftContainerObserverInterest FInterest;
    TWeftContainerWindowsEventObserver* FObserver = nullptr;
    std::unique_ptr<TWeftContainerWindowsEventObserver> FOwned;
    bool* FInUse = nullptr;
};

// Retries op, waiting between tries for the observer's event, until it
// succeeds, the time runs out or the task's end (or a failure) ends the wait.
template <class Op>
bool WaitLoop(const THandle& observerEvent, const THandle& terminated, DWORD timeout_ms, Op op)
{
    const int64_t start = OsTimeGetTime64();
    // The other side often answers within microseconds: look a few times
    // (pausing, then yielding) before the far dearer kernel wait.
    TWeftSpinBackoff backoff(WeftQueueSpinCounts().Take);
    for (int i = 0; i < 40; ++i) {
        if (op())
            return true;
        backoff.Wait();
    }
    for (;;) {
        if (op())
            return true;
        DWORD wait = INFINITE;
        if (timeout_ms != INFINITE) {
            const int64_t left = int64_t(timeout_ms) - OsElapsedTime64(start);
            if (left < 0)
                return false;
            wait = DWORD(left);
        }
        if (OsWaitForTwoObjects(observerEvent, terminated, false, wait) != WAIT_OBJECT_0)
            return op();
    }
}

class TWeftCommunicationEndpoint final : public IWeftCommunicationEndpoint {
public:
    TWeftCommunicationEndpoint(std::weak_ptr<TWeftTwoWayChannel> owner, std::shared_ptr<TWeftMessageQueue> reader,
                               std::shared_ptr<TWeftMessageQueue> writer, THandle taskTerminatedEvent)
        : ceOwner(std::move(owner)),
          ceReader(std::move(reader)),
          ceWriter(std::move(writer)),
          ceTaskTerminatedEvent(std::move(taskTerminatedEvent))
    {
    }

    THandle GetNewMessageEvent() override
    {
        TWeftMessageQueue* r = GetReader();
        return r ? r->GetNewMessageEvent() : nullptr;
    }
    PWeftCommunicationEndpoint GetOtherEndpoint() override;
    TWeftMessageQueue* GetReader() override { return Detached() ? nullptr : ceReader.get(); }
    TWeftMessageQueue* GetWriter() override { return Detached() ? nullptr : ceWriter.get(); }

    bool Receive(TWeftMessage& msg) override
    {
        TWeftMessageQueue* r = GetReader();
        return r && r->TryDequeue(msg);
    }

    bool ReceiveWait(TWeftMessage& msg, DWORD timeout_ms) override
    {
        if (Receive(msg))
            return true;
        if (timeout_ms == 0)
            return false;
        if (!ceTaskTerminatedEvent)
            throw Exception(QStringLiteral("TWeftCommunicationEndpoint.ReceiveWait: <task terminated> event is not set"));
        TWeftMessageQueue* r = GetReader();
        if (!r)
            return false;
        TTemporaryObserver observer(*r, coiNotifyOnAllInserts);
        return WaitLoop(observer.Event(), ceTaskTerminatedEvent, timeout_ms, [&] { return r->TryDequeue(msg); });
    }

    void Send(const TWeftMessage& msg) override
    {
        TWeftMessageQueue* w = GetWriter();
        if (!w)
            throw Exception(QStringLiteral("TWeftCommunicationEndpoint.Send: Endpoint is detached from its channel"));
        if (!w->Enqueue(msg))
            throw Exception(QStringLiteral("TWeftCommunicationEndpoint.Send: Queue is full"));
    }

    bool SendWait(uint16_t msgID, const TWeftValue& msgData, DWORD timeout_ms) override
    {
        TWeftMessageQueue* w = GetWriter();
        if (!w)
            return false;
        const TWeftMessage msg(msgID, msgData);
        if (w->Enqueue(msg))
            return true;
        if (timeout_ms == 0)
            return false;
        if (!ceTaskTerminatedEvent)
            throw Exception(QStringLiteral("TWeftCommunicationEndpoint.SendWait: <task terminated> event is not set"));
        TTemporaryObserver observer(*w, coiNotifyOnPartlyEmpty);
        return WaitLoop(observer.Event(), ceTaskTerminatedEvent, timeout_ms, [&] { return w->Enqueue(msg); });
    }

    void DetachFromQueues() { ceDetached.store(true, std::memory_order_release); }

private:
    bool Detached() const { return ceDetached.load(std::memory_order_acquire); }

    std::weak_ptr<TWeftTwoWayChannel> ceOwner;
    // Kept alive by the endpoint; unreachable once detached.
    std::shared_ptr<TWeftMessageQueue> ceReader;
    std::shared_ptr<TWeftMessageQueue> ceWriter;
    THandle ceTaskTerminatedEvent;
    std::atomic<bool> ceDetached{false};
};

class TWeftTwoWayChannel final : public IWeftTwoWayChannel,
                                 public std::enable_shared_from_this<TWeftTwoWayChannel> {
public:
    TWeftTwoWayChannel(int numElements, THandle taskTerminatedEvent)
        : twcMessageQueueSize(numElements), twcTaskTerminatedEvt(std::move(taskTerminatedEvent))
    {
    }

    ~TWeftTwoWayChannel() override
    {
        for (auto& e : twcEndpoint)
            if (auto* ep = e.load(std::memory_order_acquire))
                ep->DetachFromQueues();
        for (auto& q : twcUnidirQueue)
            if (q)
                q->Empty();
    }

    PWeftCommunicationEndpoint Endpoint1() override { return Endpoint(0); }
    PWeftCommunicationEndpoint Endpoint2() override { return Endpoint(1); }

    PWeftCommunicationEndpoint OtherEndpoint(const IWeftCommunicationEndpoint* endpoint) override
    {
        if (endpoint && endpoint == twcEndpoint[0].load(std::memory_order_acquire))
            return Endpoint(1);
        if (endpoint && endpoint == twcEndpoint[1].load(std::memory_order_acquire))
            return Endpoint(0);
        throw Exception(QStringLiteral("TWeftTwoWayChannel.OtherEndpoint: Invalid endpoint!"));
    }

private:
    PWeftCommunicationEndpoint Endpoint(int i)
    {
        if (twcEndpoint[i].load(std::memory_order_acquire))
            return twcEndpointRef[i];
        std::lock_guard lock(twcLock);
        if (!twcEndpoint[i].load(std::memory_order_relaxed)) {
            for (auto& q : twcUnidirQueue)
                if (!q)
                    q = std::make_shared<TWeftMessageQueue>(twcMessageQueueSize, true);
            // Endpoint 1 (index 0) reads queue 1 and writes queue 2.
            auto ep = std::make_shared<TWeftCommunicationEndpoint>(weak_from_this(), twcUnidirQueue[i],
                                                                   twcUnidirQueue[1 - i], twcTaskTerminatedEvt);
            twcEndpointRef[i] = ep;
            twcEndpoint[i].store(ep.get(), std::memory_order_release);
        }
        return twcEndpointRef[i];
    }

    std::array<std::atomic<TWeftCommunicationEndpoint*>, 2> twcEndpoint{};
    std::array<PWeftCommunicationEndpoint, 2> twcEndpointRef;  // written once, under twcLock
    std::mutex twcLock;
    int twcMessageQueueSize;
    THandle twcTaskTerminatedEvt;
    std::array<std::shared_ptr<TWeftMessageQueue>, 2> twcUnidirQueue;
};

PWeftCommunicationEndpoint TWeftCommunicationEndpoint::GetOtherEndpoint()
{
    std::shared_ptr<TWeftTwoWayChannel> owner = ceOwner.lock();
    return owner ? owner->OtherEndpoint(this) : nullptr;
}

}  // namespace

PWeftTwoWayChannel CreateTwoWayChannel(int numElements, THandle taskTerminatedEvent)
{
    return std::make_shared<TWeftTwoWayChannel>(numElements, std::move(taskTerminatedEvent));
}

void RingBufferTest()
{
    TWeftMessageQueue queue(100, true);
    if (!queue.IsEmpty())
        throw Exception(QStringLiteral("Buffer is not empty when created"));
    for (int i = 1; i <= 100; ++i)
        if (!queue.Enqueue(TWeftMessage(uint16_t(i), TWeftValue(int32_t(-i)))))
            throw Exception(QStringLiteral("Enqueue failed on element %1").arg(i));
    for (int i = 1; i <= 100; ++i) {
        if (queue.IsEmpty())
            throw Exception(QStringLiteral("Buffer is empty on element %1").arg(i));
        TWeftMessage m = queue.Dequeue();
        const int64_t data = m.MsgData.CastToInt64();
        if (m.MsgID != i || data != -i)
            throw Exception(QStringLiteral("Retrieved (%1, %2), expected (%3, %4)").arg(m.MsgID).arg(data).arg(i).arg(-i));
    }
    if (!queue.IsEmpty())
        throw Exception(QStringLiteral("Buffer is not empty at the end"));
}
