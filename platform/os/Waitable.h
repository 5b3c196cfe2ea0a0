#pragma once
// Waitable objects and the waits on them.
//
// Every object keeps its state under its own lock; an eventfd mirrors "the
// object is signalled" (readable while signalled) so that one poll() can
// sleep on any mix of objects, a thread's message queue and other file
// descriptors. The eventfd is made on the first blocking wait (or Fd()), so
// objects that are only set and tested cost no descriptor, and it is kept in
// step only while a thread polls it (or Fd() was asked for), so a set that
// nobody polls for costs no system call. A wait on objects alone (no message
// queue, no extra descriptors) does not poll: it parks the thread on a futex
// that the objects wake, which is as quick as a condition variable.
//
// Handles are shared pointers: an object lives while anyone holds it, so a
// thread that still waits never sees it freed under it. A null handle fails
// a wait with ERROR_INVALID_HANDLE.
//
//   THandle ev = CreateEvent(/*manualReset*/ false, /*initialState*/ false);
//   SetEvent(ev);                                   // from any thread
//   if (WaitForSingleObject(ev, 500) == WAIT_OBJECT_0) ...
//
//   THandle objs[] = {stop, dataReady};
//   switch (WaitForMultipleObjects(objs, false, INFINITE)) {
//   case WAIT_OBJECT_0 + 0: ...   // the lowest signalled index wins
//   }
//
//   // Also wake when the calling thread's message queue has input, and then
//   // pump it (see MessageWindow.h):
//   if (MsgWaitForMultipleObjects(objs, false, 1000) == WAIT_OBJECT_0 + 2)
//       ProcessMessages();

#include "platform/os/OsTypes.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

class TWaitableObject {
public:
    TWaitableObject() = default;
    virtual ~TWaitableObject();
    TWaitableObject(const TWaitableObject&) = delete;
    TWaitableObject& operator=(const TWaitableObject&) = delete;

    // A descriptor that is readable while the object is signalled, for a
    // poll() beside other descriptors. Readable is only a hint: take the
    // object through a wait (with time-out 0) before acting on it. Owned by
    // the object; -1 when no descriptor could be made (last error set).
    int Fd();

protected:
    friend struct TWaitEngine;

    // Called with FLock held.
    virtual bool SignalledFor(DWORD tid) const = 0;  // may the thread take it?
    virtual void AcquireBy(DWORD tid) = 0;           // take it (after SignalledFor)
    virtual bool Level() const = 0;                  // signalled for any taker
    // Call after every change of the state (FLock held), and FlushWakes()
    // once the lock is released.
    void Changed();
    static void FlushWakes();

    mutable std::mutex FLock;

private:
    // Makes the descriptor's readiness match Level() (FLock held).
    void SyncLevel();
    // A sleeper's registration (FLock held): the descriptor, in step.
    int PollFdLocked();

    int FFd = -1;
    bool FFdLevel = false;
    bool FExternal = false;       // Fd() was handed out: always in step
    int FPollers = 0;             // threads polling the descriptor
    std::vector<std::atomic<uint32_t>*> FParked;  // futex words of parked waiters
};

using THandle = std::shared_ptr<TWaitableObject>;

// An event: manual-reset stays signalled until reset; auto-reset lets exactly
// one waiter through per Set (a wait with time-out 0 also consumes it).
class TEventObject : public TWaitableObject {
public:
    TEventObject(bool manualReset, bool initialState);
    void Set();
    void Reset();
    bool IsSet() const;
    bool ManualReset() const { return FManual; }

protected:
    bool SignalledFor(DWORD) const override { return FState; }
    void AcquireBy(DWORD) override;
    bool Level() const override { return FState; }

private:
    const bool FManual;
    bool FState;
};

// A counting semaphore: signalled while the count is above 0; each wait takes
// one unit.
class TSemaphoreObject : public TWaitableObject {
public:
    TSemaphoreObject(int32_t initialCount, int32_t maximumCount);
    // Adds releaseCount; false (ERROR_TOO_MANY_POSTS, count unchanged) when
    // the maximum would be passed.
    bool Release(int32_t releaseCount, int32_t* previousCount = nullptr);
    int32_t Count() const;

protected:
    bool SignalledFor(DWORD) const override { return FCount > 0; }
    void AcquireBy(DWORD) override { --FCount; Changed(); }
    bool Level() const override { return FCount > 0; }

private:
    int32_t FCount;
    const int32_t FMax;
};

// A mutex-like object owned by one thread at a time; the owner may take it
// again (recursion is counted) and must release it as often. There is no
// abandoned state: a mutex whose owner thread ends stays owned.
class TMutexObject : public TWaitableObject {
public:
    explicit TMutexObject(bool initialOwner);
    // False (ERROR_NOT_OWNER) when the calling thread does not own it.
    bool Release();
    DWORD Owner() const;

protected:
    bool SignalledFor(DWORD tid) const override { return FOwner == 0 || FOwner == tid; }
    void AcquireBy(DWORD tid) override;
    bool Level() const override { return FOwner == 0; }

private:
    DWORD FOwner = 0;
    uint32_t FRecursion = 0;
};

// Creation and the flat operations the framework calls.
THandle CreateEvent(bool manualReset, bool initialState);
THandle CreateSemaphore(int32_t initialCount, int32_t maximumCount);
THandle CreateMutexObject(bool initialOwner);

// SetEvent on a null handle succeeds and does nothing; on a handle that is
// not an event it fails with ERROR_INVALID_HANDLE.
bool SetEvent(const THandle& h);
bool ResetEvent(const THandle& h);
bool ReleaseSemaphore(const THandle& h, int32_t releaseCount, int32_t* previousCount = nullptr);
bool ReleaseMutex(const THandle& h);

// Waits; results as in OsTypes.h. Only the object reported is taken (an
// auto-reset event is reset, a semaphore count drops, a mutex is owned).
DWORD WaitForSingleObject(const THandle& h, DWORD timeoutMs);
// waitAll = false: the lowest signalled index wins. waitAll = true: returns
// WAIT_OBJECT_0 once every object is signalled at the same moment, and takes
// them all together (objects are locked in address order, so two wait-alls
// over overlapping sets cannot starve each other into a deadlock). The same
// object twice in a wait-all fails with ERROR_INVALID_PARAMETER. No limit on
// the number of objects.
DWORD WaitForMultipleObjects(std::span<const THandle> handles, bool waitAll, DWORD timeoutMs);
// As WaitForMultipleObjects, and also returns WAIT_OBJECT_0 + handles.size()
// as soon as the calling thread's message queue holds input (posted or sent
// messages). It wakes on "queue not empty", not on "new since last look", so
// input that was already waiting is never missed. It does not pump: call
// ProcessMessages() (MessageWindow.h) after that result. With waitAll the
// queue's input also ends the wait (the objects are then not taken).
DWORD MsgWaitForMultipleObjects(std::span<const THandle> handles, bool waitAll, DWORD timeoutMs);

// A wait beside extra descriptors (e.g. a serial port): returns
// WAIT_OBJECT_0 + i for a signalled object, WAIT_OBJECT_0 + handles.size() + j
// when extraFds[j] is readable (the descriptor is not read), WAIT_TIMEOUT.
DWORD WaitForObjectsOrFds(std::span<const THandle> handles, std::span<const int> extraFds, DWORD timeoutMs);
