#pragma once
// Task messages and the two-way channel between a task and its owner: two
// bounded message queues, one per direction, and two endpoints, each reading
// one queue and writing the other. A message is a 16-bit id and one tagged
// value. Sending never blocks (a full queue raises, or the waiting form
// waits until the reader has drained the queue to its partly-empty mark);
// receiving returns at once or waits, with a time-out, for a message or for
// the task's end. A queue can also deliver its messages to a handler through
// a hidden window of the thread that set the handler.

#include "tasks/WeftContainers.h"
#include "tasks/WeftValue.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>

// Messages with this id are the framework's own (invoke requests).
constexpr uint16_t CWeftInternalMessageID = 0xFFFF;

struct TWeftMessage {
    uint16_t MsgID = 0;
    TWeftValue MsgData;

    TWeftMessage() = default;
    TWeftMessage(uint16_t msgID, TWeftValue msgData) : MsgID(msgID), MsgData(std::move(msgData)) {}
    explicit TWeftMessage(uint16_t msgID) : MsgID(msgID) {}
};

class TWeftMessageQueue;
using TWeftMessageQueueMessageEvent = std::function<void(TWeftMessageQueue& sender, const TWeftMessage& msg)>;

// A bounded queue of task messages; partly-empty at 80 %, almost full at
// 90 % of the capacity. Messages are moved in and out whole, so a sender may
// drop its copy at once.
class TWeftMessageQueue : public TWeftBoundedQueue {
public:
    explicit TWeftMessageQueue(int numMessages, bool createEventObserver = true);
    ~TWeftMessageQueue() override;

    // False when full.
    bool Enqueue(const TWeftMessage& msg) { return Enqueue(TWeftMessage(msg)); }
    bool Enqueue(TWeftMessage&& msg);
    // False when empty.
    bool TryDequeue(TWeftMessage& msg);
    // Raises "TWeftMessageQueue.Dequeue: Message queue is empty".
    TWeftMessage Dequeue();
    // Takes messages out until none is left.
    void Empty();
    // The auto-reset event that every successful enqueue sets (made on
    // first demand).
    THandle GetNewMessageEvent();
    // Sets or clears the delivery handler: while set, a hidden window of
    // the calling thread takes the messages out and hands each to it. Set
    // and clear on the same thread.
    void SetOnMessage(TWeftMessageQueueMessageEvent handler);
    const TWeftMessageQueueMessageEvent& OnMessage() const { return mqWinMsgObserver.OnMessage; }

private:
    void WndProc(TMessage& msg);

    std::mutex mqObserverLock;
    std::unique_ptr<TWeftContainerWindowsEventObserver> mqWinEventObserver;
    struct {
        std::unique_ptr<TWeftContainerWindowsMessageObserver> Observer;
        HWND Window = 0;
        TWeftMessageQueueMessageEvent OnMessage;
    } mqWinMsgObserver;
    bool mqIsInitialized = false;
};

class IWeftCommunicationEndpoint;
using PWeftCommunicationEndpoint = std::shared_ptr<IWeftCommunicationEndpoint>;

class IWeftCommunicationEndpoint : public IInterface {
public:
    virtual THandle GetNewMessageEvent() = 0;
    THandle NewMessageEvent() { return GetNewMessageEvent(); }
    // Null once the channel is gone.
    virtual PWeftCommunicationEndpoint GetOtherEndpoint() = 0;
    PWeftCommunicationEndpoint OtherEndpoint() { return GetOtherEndpoint(); }
    // The queues; null once the endpoint is detached from its channel.
    virtual TWeftMessageQueue* GetReader() = 0;
    virtual TWeftMessageQueue* GetWriter() = 0;
    TWeftMessageQueue* Reader() { return GetReader(); }
    TWeftMessageQueue* Writer() { return GetWriter(); }

    virtual bool Receive(TWeftMessage& msg) = 0;
    bool Receive(uint16_t& msgID, TWeftValue& msgData);
    // Waits at most timeout_ms for a message; ends early (false) when the
    // task's terminated event is set.
    virtual bool ReceiveWait(TWeftMessage& msg, DWORD timeout_ms) = 0;
    bool ReceiveWait(uint16_t& msgID, TWeftValue& msgData, DWORD timeout_ms);
    // Raises "TWeftCommunicationEndpoint.Send: Queue is full".
    virtual void Send(const TWeftMessage& msg) = 0;
    void Send(uint16_t msgID) { Send(TWeftMessage(msgID)); }
    void Send(uint16_t msgID, const TWeftValue& msgData) { Send(TWeftMessage(msgID, msgData)); }
    void Send(uint16_t msgID, std::initializer_list<TWeftVarRec> values)
    {
        Send(TWeftMessage(msgID, TWeftValue::Create(values)));
    }
    // Waits at most timeout_ms for room (the reader bringing the queue down
    // to its partly-empty mark) or until the task ends; never raises "Queue
    // is full".
    virtual bool SendWait(uint16_t msgID, const TWeftValue& msgData, DWORD timeout_ms) = 0;
    bool SendWait(uint16_t msgID, DWORD timeout_ms) { return SendWait(msgID, TWeftValue(), timeout_ms); }
};

class IWeftTwoWayChannel : public IInterface {
public:
    // Endpoint 1 reads queue 1 and writes queue 2; endpoint 2 the reverse.
    virtual PWeftCommunicationEndpoint Endpoint1() = 0;
    virtual PWeftCommunicationEndpoint Endpoint2() = 0;
    // Raises "TWeftTwoWayChannel.OtherEndpoint: Invalid endpoint!" for a
    // foreign endpoint.
    virtual PWeftCommunicationEndpoint OtherEndpoint(const IWeftCommunicationEndpoint* endpoint) = 0;
};
using PWeftTwoWayChannel = std::shared_ptr<IWeftTwoWayChannel>;

// taskTerminatedEvent (manual-reset) ends waits; null: waits raise.
PWeftTwoWayChannel CreateTwoWayChannel(int numElements = 1000, THandle taskTerminatedEvent = nullptr);

// Start-up self-test: 100 messages through a 100-message queue; raises on a
// mismatch.
void RingBufferTest();
