#include "platform/os/MessageWindow.h"

#include "platform/os/MessageQueue.h"
#include "platform/os/Waitable.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QHash>
#include <QSocketNotifier>
#include <QThread>
#include <shared_mutex>
#include <unordered_map>

struct TSendState {
    THandle Done = CreateEvent(true, false);
    std::mutex Lock;
    bool Delivered = false;
    LRESULT Result = 0;
};

namespace {

struct TRegistry {
    std::shared_mutex Lock;
    std::unordered_map<HWND, std::shared_ptr<TWindowRec>> Windows;
    HWND Next = 0x10000;
};

// Never destroyed: pooled threads live to the end of the process and may post
// to a window while static objects are being torn down at exit.
TRegistry& Registry()
{
    static TRegistry* r = new TRegistry;
    return *r;
}

std::shared_ptr<TWindowRec> FindWindow(HWND wnd)
{
    TRegistry& r = Registry();
    std::shared_lock lock(r.Lock);
    auto it = r.Windows.find(wnd);
    return it == r.Windows.end() ? nullptr : it->second;
}

std::mutex gExceptionHandlerLock;
TMessageExceptionHandler gExceptionHandler;

void ReportHandlerFailure(std::exception_ptr e)
{
    TMessageExceptionHandler h;
    {
        std::lock_guard lock(gExceptionHandlerLock);
        h = gExceptionHandler;
    }
    if (!h)
        return;
    try {
        h(e);
    } catch (...) {
        // The reporter itself failed: nothing is left to tell, and the
        // message loop must go on.
    }
}

void Complete(const std::shared_ptr<TSendState>& s, bool delivered, LRESULT result)
{
    if (!s)
        return;
    {
        std::lock_guard lock(s->Lock);
        s->Delivered = delivered;
        s->Result = result;
    }
    SetEvent(s->Done);
}

// Runs one message on the owning thread.
void Dispatch(TQueuedMessage& q)
{
    if (!q.Wnd->Alive.load(std::memory_order_acquire)) {
        Complete(q.Send, false, 0);
        return;
    }
    // Hold the record for the call: the handler may free its own window.
    std::shared_ptr<TWindowRec> wnd = q.Wnd;
    TMessage m{q.Msg, q.WParam, q.LParam, 0};
    try {
        wnd->Handler(m);
    } catch (...) {
        ReportHandlerFailure(std::current_exception());
    }
    Complete(q.Send, true, m.Result);
}

struct TRegisteredMessages {
    std::mutex Lock;
    QHash<QString, UINT> Ids;
    UINT Next = 0xC000;
};

}  // namespace

void FailSend(const std::shared_ptr<TSendState>& s)
{
    Complete(s, false, 0);
}

void DropThreadWindows(const TThreadMessageQueue* queue)
{
    std::vector<std::shared_ptr<TWindowRec>> dropped;
    {
        TRegistry& r = Registry();
        std::unique_lock lock(r.Lock);
        for (auto it = r.Windows.begin(); it != r.Windows.end();) {
            if (it->second->Queue.get() == queue) {
                it->second->Alive.store(false, std::memory_order_release);
                dropped.push_back(std::move(it->second));
                it = r.Windows.erase(it);
            } else {
                ++it;
            }
        }
    }
    // The handlers (and what they captured) go here, on the ending thread,
    // outside the registry lock.
    for (auto& w : dropped)
        w->Handler = nullptr;
}

HWND AllocateMessageWindow(TWndMethod handler)
{
    if (!handler) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto rec = std::make_shared<TWindowRec>();
    rec->ThreadId = GetCurrentThreadId();
    rec->Queue = TThreadMessageQueue::CurrentShared();
    rec->Handler = std::move(handler);
    {
        TRegistry& r = Registry();
        std::unique_lock lock(r.Lock);
        rec->Handle = r.Next++;
        r.Windows.emplace(rec->Handle, rec);
    }
    if (IsMainThread() && QCoreApplication::instance() && !rec->Queue->Bound())
        BindMessageQueueToEventLoop();
    return rec->Handle;
}

void DeallocateMessageWindow(HWND wnd)
{
    if (wnd == 0)
        return;
    std::shared_ptr<TWindowRec> rec;
    {
        TRegistry& r = Registry();
        std::unique_lock lock(r.Lock);
        auto it = r.Windows.find(wnd);
        if (it == r.Windows.end())
            return;
        rec = std::move(it->second);
        r.Windows.erase(it);
    }
    rec->Alive.store(false, std::memory_order_release);
    // Waiting senders learn at once that no answer comes; posted messages
    // for the window are simply dropped.
    for (auto& m : rec->Queue->TakeFor(rec.get()))
        FailSend(m.Send);
}

bool IsMessageWindow(HWND wnd)
{
    return FindWindow(wnd) != nullptr;
}

DWORD MessageWindowThreadId(HWND wnd)
{
    auto rec = FindWindow(wnd);
    return rec ? rec->ThreadId : 0;
}

int MessageWindowCount()
{
    TRegistry& r = Registry();
    std::shared_lock lock(r.Lock);
    return int(r.Windows.size());
}

bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto rec = FindWindow(wnd);
    if (!rec || !rec->Queue->Push(TQueuedMessage{rec, msg, wParam, lParam, nullptr})) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    return true;
}

bool SendMessageTimeout(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD timeoutMs, LRESULT* result)
{
    auto rec = FindWindow(wnd);
    if (!rec) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (rec->ThreadId == GetCurrentThreadId()) {
        TMessage m{msg, wParam, lParam, 0};
        try {
            rec->Handler(m);
        } catch (...) {
            ReportHandlerFailure(std::current_exception());
        }
        if (result)
            *result = m.Result;
        return true;
    }
    auto state = std::make_shared<TSendState>();
    if (!rec->Queue->Push(TQueuedMessage{rec, msg, wParam, lParam, state})) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    rec.reset();
    // Serve what is sent to this thread meanwhile; posted messages wait.
    TThreadMessageQueue* own = TThreadMessageQueue::CurrentIfAny();
    const uint64_t deadline = timeoutMs == INFINITE ? 0 : OsMonotonicMs() + timeoutMs;
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            const uint64_t now = OsMonotonicMs();
            left = now >= deadline ? 0 : DWORD(deadline - now);
        }
        const int sentFd = own ? own->SentFd() : -1;
        const DWORD r = WaitForObjectsOrFds(std::span<const THandle>(&state->Done, 1),
                                            std::span<const int>(&sentFd, own ? 1 : 0), left);
        if (r == WAIT_OBJECT_0)
            break;
        if (r == WAIT_OBJECT_0 + 1) {
            TQueuedMessage q;
            while (own->PopSent(q))
                Dispatch(q);
            continue;
        }
        SetLastError(r == WAIT_TIMEOUT ? ERROR_TIMEOUT : GetLastError());
        return false;
    }
    std::lock_guard lock(state->Lock);
    if (!state->Delivered) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (result)
        *result = state->Result;
    return true;
}

LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = 0;
    return SendMessageTimeout(wnd, msg, wParam, lParam, INFINITE, &r) ? r : 0;
}

UINT RegisterWindowMessage(const QString& name)
{
    if (name.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    static TRegisteredMessages reg;
    const QString key = name.toCaseFolded();
    std::lock_guard lock(reg.Lock);
    auto it = reg.Ids.constFind(key);
    if (it != reg.Ids.constEnd())
        return it.value();
    if (reg.Next > 0xFFFF) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    const UINT id = reg.Next++;
    reg.Ids.insert(key, id);
    return id;
}

bool ProcessMessage()
{
    TThreadMessageQueue* q = TThreadMessageQueue::CurrentIfAny();
    if (!q)
        return false;
    TQueuedMessage m;
    if (!q->Pop(m))
        return false;
    Dispatch(m);
    return true;
}

int ProcessMessages(int maxCount)
{
    int n = 0;
    while ((maxCount < 0 || n < maxCount) && ProcessMessage())
        ++n;
    return n;
}

int ProcessWindowMessages(HWND wnd)
{
    auto rec = FindWindow(wnd);
    if (!rec || rec->ThreadId != GetCurrentThreadId())
        return 0;
    auto taken = rec->Queue->TakeFor(rec.get());
    rec.reset();
    for (auto& m : taken)
        Dispatch(m);
    return int(taken.size());
}

bool ThreadHasMessages()
{
    TThreadMessageQueue* q = TThreadMessageQueue::CurrentIfAny();
    return q && q->HasInput();
}

bool RunMessageLoopUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const uint64_t deadline = timeoutMs == INFINITE ? 0 : OsMonotonicMs() + timeoutMs;
    TThreadMessageQueue::Current();
    for (;;) {
        if (done())
            return true;
        if (ProcessMessage())
            continue;
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            const uint64_t now = OsMonotonicMs();
            if (now >= deadline)
                return done();
            left = DWORD(deadline - now);
        }
        // Wake at least every 10 ms: done() may turn true without a message.
        MsgWaitForMultipleObjects({}, false, std::min<DWORD>(left, 10));
    }
}

bool BindMessageQueueToEventLoop()
{
    auto queue = TThreadMessageQueue::CurrentShared();
    if (queue->Bound())
        return true;
    if (!QAbstractEventDispatcher::instance(QThread::currentThread()))
        return false;
    QObject* parent = IsMainThread() ? QCoreApplication::instance() : nullptr;
    TThreadMessageQueue* raw = queue.get();
    // Each activation delivers what is waiting now and returns to the event
    // loop, so a flood from other threads never starves input and paint; the
    // notifier fires again while the queue is not empty.
    auto pump = [raw]() { ProcessMessages(int(std::max<size_t>(raw->PendingCount(), 1))); };
    auto* posted = new QSocketNotifier(qintptr(queue->InputFds()[0]), QSocketNotifier::Read, parent);
    auto* sent = new QSocketNotifier(qintptr(queue->InputFds()[1]), QSocketNotifier::Read, parent);
    QObject::connect(posted, &QSocketNotifier::activated, posted, pump);
    QObject::connect(sent, &QSocketNotifier::activated, sent, pump);
    queue->Bind(posted, sent);
    return true;
}

namespace {

// Windows made on the main thread before the application object existed
// get their queue bound to the event loop as soon as it exists.
void BindMainThreadQueueAtStart()
{
    if (IsMainThread() && TThreadMessageQueue::CurrentIfAny())
        BindMessageQueueToEventLoop();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(BindMainThreadQueueAtStart)

void SetMessageExceptionHandler(TMessageExceptionHandler handler)
{
    std::lock_guard lock(gExceptionHandlerLock);
    gExceptionHandler = std::move(handler);
}
