#include "tasks/WeftOwnerCall.h"

#include "tasks/OsWin32.h"

#include <vector>

struct TWeftOwnerCalls::TCall {
    enum TState { csQueued, csRunning, csDone, csWithdrawn };
    std::function<void()> Fn;
    THandle Done = CreateEvent(true, false);
    std::exception_ptr Error;
    TState State = csQueued;  // under the target's lock
};

namespace {

constexpr UINT CWakeMessage = 0x0400;  // WM_USER: serve the queue

}  // namespace

// Keeps the thread's target alive until the thread ends, then closes it.
namespace {
// Trivially destructible, so it stays readable after the holder is gone.
thread_local bool tOwnerCallsGone = false;
}  // namespace

struct TWeftOwnerCallsHolder {
    PWeftOwnerCalls Calls;
    ~TWeftOwnerCallsHolder()
    {
        tOwnerCallsGone = true;
        const PWeftOwnerCalls calls = std::move(Calls);
        if (calls)
            calls->Close();
    }
};

namespace {
thread_local TWeftOwnerCallsHolder tOwnerCalls;
}

TWeftOwnerCalls::TWeftOwnerCalls() : FThreadID(GetThreadId()) {}

TWeftOwnerCalls::~TWeftOwnerCalls()
{
    Close();
}

PWeftOwnerCalls TWeftOwnerCalls::OfCurrentThread()
{
    if (tOwnerCallsGone)
        return nullptr;  // the thread is ending
    if (!tOwnerCalls.Calls) {
        PWeftOwnerCalls calls(new TWeftOwnerCalls());
        std::weak_ptr<TWeftOwnerCalls> weak = calls;
        calls->FWindow = OsAllocateHWnd([weak](TMessage& msg) {
            if (msg.Msg != CWakeMessage)
                return;
            if (PWeftOwnerCalls c = weak.lock())
                c->Serve();
            msg.Result = 1;
        });
        tOwnerCalls.Calls = calls;
    }
    return tOwnerCalls.Calls;
}

PWeftOwnerCalls TWeftOwnerCalls::CurrentIfAny()
{
    return tOwnerCallsGone ? nullptr : tOwnerCalls.Calls;
}

void TWeftOwnerCalls::Close()
{
    std::deque<std::shared_ptr<TCall>> left;
    HWND wnd = 0;
    {
        std::lock_guard lock(FLock);
        if (FClosed)
            return;
        FClosed = true;
        left.swap(FQueue);
        wnd = FWindow;
        FWindow = 0;
    }
    for (const auto& c : left) {
        {
            std::lock_guard lock(FLock);
            c->State = TCall::csWithdrawn;
        }
        SetEvent(c->Done);
    }
    // The window belongs to this thread only when closing on it.
    if (wnd && GetThreadId() == FThreadID)
        OsDeallocateHWnd(wnd);
}

void TWeftOwnerCalls::Call(const std::function<void()>& fn, const PWeftCancellationToken& token)
{
    if (GetThreadId() == FThreadID) {
        fn();
        return;
    }
    auto call = std::make_shared<TCall>();
    call->Fn = fn;
    HWND wnd = 0;
    {
        std::lock_guard lock(FLock);
        if (FClosed)
            throw EWeftCallCancelled(QStringLiteral("Synchronous call target has ended"));
        FQueue.push_back(call);
        wnd = FWindow;
    }
    SetEvent(FPending);
    PostMessage(wnd, CWakeMessage, 0, 0);  // the owner's own message loop serves it

    std::vector<THandle> handles{call->Done};
    if (token)
        handles.push_back(token->Handle());
    for (;;) {
        const DWORD r = WaitForMultipleObjects(handles, false, INFINITE);
        if (r == WAIT_OBJECT_0)
            break;
        if (r == WAIT_OBJECT_0 + 1) {
            std::lock_guard lock(FLock);
            if (call->State == TCall::csQueued) {
                call->State = TCall::csWithdrawn;
                for (auto it = FQueue.begin(); it != FQueue.end(); ++it)
                    if (*it == call) {
                        FQueue.erase(it);
                        break;
                    }
                throw EWeftCallCancelled(QStringLiteral("Synchronous call cancelled"));
            }
            // Running already: it ends soon, wait for it alone.
            handles.resize(1);
            continue;
        }
        throw EWeftCallCancelled(QStringLiteral("Synchronous call failed"));
    }
    std::lock_guard lock(FLock);
    if (call->State == TCall::csWithdrawn)
        throw EWeftCallCancelled(QStringLiteral("Synchronous call target has ended"));
    if (call->Error)
        std::rethrow_exception(call->Error);
}

int TWeftOwnerCalls::Serve()
{
    int n = 0;
    for (;;) {
        std::shared_ptr<TCall> call;
        {
            std::lock_guard lock(FLock);
            if (FQueue.empty())
                return n;
            call = FQueue.front();
            FQueue.pop_front();
            call->State = TCall::csRunning;
        }
        try {
            call->Fn();
        } catch (...) {
            call->Error = std::current_exception();
        }
        call->Fn = nullptr;
        {
            std::lock_guard lock(FLock);
            call->State = TCall::csDone;
        }
        SetEvent(call->Done);
        ++n;
    }
}

DWORD WeftOwnerWait(std::span<const THandle> handles, DWORD timeout_ms)
{
    const PWeftOwnerCalls calls = TWeftOwnerCalls::CurrentIfAny();
    if (!calls)
        return WaitForMultipleObjects(handles, false, timeout_ms);
    std::vector<THandle> all(handles.begin(), handles.end());
    all.push_back(calls->Pending());
    const int64_t start = OsTimeGetTime64();
    for (;;) {
        // Calls that were queued before the wait began are served too.
        calls->Serve();
        DWORD left = timeout_ms;
        if (timeout_ms != INFINITE) {
            const int64_t spent = OsTimeGetTime64() - start;
            left = spent >= int64_t(timeout_ms) ? 0 : DWORD(int64_t(timeout_ms) - spent);
        }
        const DWORD r = WaitForMultipleObjects(all, false, left);
        if (r != WAIT_OBJECT_0 + DWORD(handles.size()))
            return r;
    }
}
