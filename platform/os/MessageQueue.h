#pragma once
// The per-thread message queue behind the message windows (MessageWindow.h)
// and the message-aware waits (Waitable.h). Programs use those two headers;
// this one is for the waits and the queue's own tests.

#include "platform/os/OsTypes.h"

#include <array>
#include <atomic>
#include <functional>
#include <deque>
#include <memory>
#include <mutex>
#include <span>

struct TMessage;
struct TWindowRec;
struct TSendState;
class QSocketNotifier;

struct TQueuedMessage {
    std::shared_ptr<TWindowRec> Wnd;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    std::shared_ptr<TSendState> Send;  // set for sent messages
};

class TThreadMessageQueue {
public:
    explicit TThreadMessageQueue(DWORD threadId);
    ~TThreadMessageQueue();
    TThreadMessageQueue(const TThreadMessageQueue&) = delete;
    TThreadMessageQueue& operator=(const TThreadMessageQueue&) = delete;

    // The calling thread's queue, made on first use and closed when the
    // thread ends.
    static TThreadMessageQueue& Current();
    static std::shared_ptr<TThreadMessageQueue> CurrentShared();
    // The calling thread's queue when it has one, else nullptr.
    static TThreadMessageQueue* CurrentIfAny();

    DWORD ThreadId() const { return FThreadId; }
    bool HasInput() const;
    bool HasSent() const;
    size_t PendingCount() const;
    // Readable while posted (first) or sent (second) messages wait.
    std::span<const int> InputFds() const { return FFds; }
    int SentFd() const { return FFds[1]; }

    // False when the queue is closed (its thread has ended).
    bool Push(TQueuedMessage&& m);
    bool PopSent(TQueuedMessage& out);
    bool Pop(TQueuedMessage& out);  // sent first, then posted
    // Takes the waiting messages of one window, sent ones first.
    std::deque<TQueuedMessage> TakeFor(const TWindowRec* wnd);

    void Bind(QSocketNotifier* posted, QSocketNotifier* sent);
    bool Bound() const;
    // Refuses further messages, fails waiting senders, frees the windows.
    void Close();

private:
    void SyncFd(int which);  // FLock held

    const DWORD FThreadId;
    mutable std::mutex FLock;
    std::deque<TQueuedMessage> FPosted;
    std::deque<TQueuedMessage> FSent;
    std::array<int, 2> FFds{-1, -1};
    std::array<bool, 2> FLevel{false, false};
    // The queues' emptiness as of the last change, set under FLock (SyncFd).
    std::array<std::atomic<bool>, 2> FNonEmpty{};
    bool FClosed = false;
    struct TNotifiers;
    std::unique_ptr<TNotifiers> FNotifiers;
};

// Completes a sent message that will never run (window gone, queue closed).
void FailSend(const std::shared_ptr<TSendState>& s);
// Frees the windows of a thread whose queue closes.
void DropThreadWindows(const TThreadMessageQueue* queue);

struct TWindowRec {
    HWND Handle = 0;
    DWORD ThreadId = 0;
    std::shared_ptr<TThreadMessageQueue> Queue;
    // Touched only on the owning thread; kept until the last queued message
    // or running dispatch lets the record go, so a handler may free its own
    // window.
    std::function<void(TMessage&)> Handler;
    std::atomic<bool> Alive{true};
};
