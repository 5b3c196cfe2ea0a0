#pragma once
// Synchronous calls from a task to the thread that owns it, and the waits
// of that owner thread which keep serving them.
//
// A task's work may need the owner thread (the main thread: its windows and
// its database connection) and wait for it. The owner, in turn, may wait for
// the task (closing the program releases the background worker and waits
// for the running work item). Both waiting on each other would hang, so
// every owner-side wait of the task framework goes through WeftOwnerWait,
// which runs the synchronous calls waiting for its thread while it waits.
// A call also gives up, with EWeftCallCancelled, when its cancellation token
// is signalled before the owner took it up.
//
//   // owner thread (once, e.g. when starting the worker)
//   PWeftOwnerCalls owner = TWeftOwnerCalls::OfCurrentThread();
//   // task thread
//   owner->Call([&] { counter = ReadCounter(); }, item->CancellationToken());

#include "platform/os/MessageWindow.h"
#include "platform/os/Waitable.h"
#include "platform/rtl/Exception.h"
#include "tasks/WeftSync.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>

SORVEX_EXCEPTION_KIND(EWeftCallCancelled, Exception)

class TWeftOwnerCalls : public std::enable_shared_from_this<TWeftOwnerCalls> {
public:
    // The calling thread's call target, made with a hidden window on first
    // use; it lives while the thread runs (or longer, while referenced).
    // Null while the thread ends.
    static std::shared_ptr<TWeftOwnerCalls> OfCurrentThread();
    // The calling thread's target when one was made, else null.
    static std::shared_ptr<TWeftOwnerCalls> CurrentIfAny();

    ~TWeftOwnerCalls();
    TWeftOwnerCalls(const TWeftOwnerCalls&) = delete;
    TWeftOwnerCalls& operator=(const TWeftOwnerCalls&) = delete;

    DWORD ThreadID() const { return FThreadID; }
    // Runs fn on the owner thread and waits for it; from the owner thread
    // itself fn runs at once. An exception of fn is raised again here.
    // Raises EWeftCallCancelled "Synchronous call cancelled" when the token
    // is signalled before fn started (the request is withdrawn), and
    // "Synchronous call target has ended" when the owner thread is gone.
    void Call(const std::function<void()>& fn, const PWeftCancellationToken& token = nullptr);
    // Owner thread: runs the waiting calls; the number run.
    int Serve();
    // Auto-reset; set whenever a call is queued (for the owner's waits).
    THandle Pending() const { return FPending; }

private:
    struct TCall;
    TWeftOwnerCalls();
    void Close();

    std::mutex FLock;
    std::deque<std::shared_ptr<TCall>> FQueue;
    THandle FPending = CreateEvent(false, false);
    HWND FWindow = 0;
    DWORD FThreadID = 0;
    bool FClosed = false;
    friend struct TWeftOwnerCallsHolder;
};
using PWeftOwnerCalls = std::shared_ptr<TWeftOwnerCalls>;

// The owner side's wait: WAIT_OBJECT_0 + i for the first signalled handle,
// WAIT_TIMEOUT or WAIT_FAILED, as WaitForMultipleObjects (wait-any). Runs
// the synchronous calls queued for the calling thread meanwhile; processes
// no other window messages.
DWORD WeftOwnerWait(std::span<const THandle> handles, DWORD timeout_ms);
inline DWORD WeftOwnerWait(const THandle& handle, DWORD timeout_ms)
{
    return WeftOwnerWait(std::span<const THandle>(&handle, 1), timeout_ms);
}
