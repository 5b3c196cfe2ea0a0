#pragma once
// Hidden message windows: how another thread reaches the thread that owns a
// window.
//
// Every thread that allocates a window gets a message queue of its own. A
// message posted or sent to the window from any thread runs the window's
// handler on the owning thread, when that thread pumps its queue:
//   - the main thread (the one running Qt's event loop) is pumped by the
//     event loop itself: a socket notifier watches the queue, so handlers run
//     between input and paint events, and also inside modal loops that a
//     handler opens;
//   - any other thread pumps in its own waits: MsgWaitForMultipleObjects
//     (Waitable.h) returns when the queue has input, then ProcessMessages();
//     or RunMessageLoopUntil() does both.
//
// Ordering: one FIFO per owning thread (across all its windows), so messages
// from one sender arrive in the order it posted them. Sent messages are
// delivered before posted ones. The queue is unbounded; posting never fails
// while the window lives.
//
// A failure (exception) inside a handler never leaves the pump and never
// stops the loop: it goes to the handler installed with
// SetMessageExceptionHandler (the application's global exception handler),
// and is dropped when none is installed. A sent message whose handler failed
// still completes, with whatever Result the handler had set (0 by default).
//
//   // on the port owner's thread
//   HWND wnd = AllocateMessageWindow([this](TMessage& m) {
//       if (m.Msg == MY_DATA) { HandleData(m.WParam); m.Result = 1; }
//   });
//   // on a worker thread
//   LRESULT r;
//   if (!SendMessageTimeout(wnd, MY_DATA, n, 0, 3000, &r))
//       ;  // not handled within 3000 ms (the handler still runs later)
//   PostMessage(wnd, MY_CLOSE, 0, 0);        // deferred, returns at once
//   // back on the owner thread, when done
//   DeallocateMessageWindow(wnd);

#include "platform/os/OsTypes.h"

#include <QString>
#include <exception>
#include <functional>

// The message record a handler receives; it sets Result for a sender.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage&)>;

// Makes a window owned by the calling thread. Never fails (0 only for an
// empty handler). On the main thread, with a QCoreApplication present, the
// thread's queue is bound to the event loop (BindMessageQueueToEventLoop).
HWND AllocateMessageWindow(TWndMethod handler);
// Frees a window; call it on the owning thread. Messages still queued for it
// are dropped, senders waiting for it return false at once. 0 is ignored. It
// may be called from inside the window's own handler.
void DeallocateMessageWindow(HWND wnd);
bool IsMessageWindow(HWND wnd);
// The owning thread's id, 0 for no window.
DWORD MessageWindowThreadId(HWND wnd);
// The number of live windows in the process.
int MessageWindowCount();

// Queues the message for the window's thread and returns at once; false
// (ERROR_INVALID_WINDOW_HANDLE) when the window does not exist (any more) or
// its thread has ended.
bool PostMessage(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Runs the handler on the window's thread and waits for it at most timeoutMs
// (INFINITE: no limit). True with *result set when the handler ran in time.
// False with ERROR_TIMEOUT when the time ran out: the message stays queued
// and the handler still runs later, its result is then dropped. False with
// ERROR_INVALID_WINDOW_HANDLE for a window that is gone or goes before its
// turn. From the owning thread itself the handler is called directly. While
// the sender waits it serves messages sent to its own thread's windows (never
// posted ones), so two threads sending to each other do not deadlock.
bool SendMessageTimeout(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
                        LRESULT* result = nullptr);
// SendMessageTimeout without limit; the handler's result, 0 on failure.
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

// A process-wide message id for a name (letter case ignored): the same name
// always gives the same id, in 0xC000..0xFFFF; 0 for an empty name.
UINT RegisterWindowMessage(const QString& name);

// Pumping, always on the calling thread's own queue.
// Delivers one message (sent ones first); false when none was waiting.
bool ProcessMessage();
// Delivers waiting messages until none is left or maxCount were delivered
// (maxCount < 0: no limit); returns the number delivered. Messages that
// arrive meanwhile are delivered too.
int ProcessMessages(int maxCount = -1);
// Delivers only the waiting messages of one window (in their order).
int ProcessWindowMessages(HWND wnd);
// True when the calling thread's queue holds input.
bool ThreadHasMessages();
// Pumps the calling thread's queue, sleeping in between, until done()
// returns true (checked before and after every message) or the time-out ends;
// returns done()'s last value.
bool RunMessageLoopUntil(const std::function<bool()>& done, DWORD timeoutMs = INFINITE);

// Lets Qt's event loop of the calling thread pump its queue (a socket
// notifier on the queue). Done automatically for the main thread: when a
// window is allocated there with a QCoreApplication present, or when the
// QCoreApplication is created after windows were. Call it for other threads
// that run a Qt event loop. False when the thread has no Qt event
// dispatcher.
bool BindMessageQueueToEventLoop();

// Where handler failures go; nullptr to drop them.
using TMessageExceptionHandler = std::function<void(std::exception_ptr)>;
void SetMessageExceptionHandler(TMessageExceptionHandler handler);
