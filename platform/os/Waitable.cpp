#include "platform/os/Waitable.h"

#include "platform/os/BlockRecycler.h"
#include "platform/os/MessageQueue.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <functional>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

TWaitableObject::~TWaitableObject()
{
    if (FFd >= 0)
        ::close(FFd);
}

int TWaitableObject::Fd()
{
    std::lock_guard lock(FLock);
    FExternal = true;
    return PollFdLocked();
}

int TWaitableObject::PollFdLocked()
{
    if (FFd < 0) {
        FFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (FFd < 0) {
            SetLastError(ERROR_TOO_MANY_HANDLES);
            return -1;
        }
        FFdLevel = false;
    }
    SyncLevel();
    return FFd;
}

namespace {

// Futex words to wake once the object's lock is released: a waiter woken
// while the lock is still held would only block on it again.
thread_local std::vector<std::atomic<uint32_t>*> tPendingWakes;

}  // namespace

void TWaitableObject::FlushWakes()
{
    if (tPendingWakes.empty())
        return;
    // The words were set under the lock; a waiter that meanwhile left has
    // nothing to lose from a wake on its (former) word.
    for (std::atomic<uint32_t>* w : tPendingWakes)
        ::syscall(SYS_futex, reinterpret_cast<uint32_t*>(w), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
    tPendingWakes.clear();
}

void TWaitableObject::Changed()
{
    if (!FParked.empty() && Level()) {
        // Every parked waiter looks again; those that lose go back to sleep.
        for (std::atomic<uint32_t>* w : FParked) {
            w->store(1, std::memory_order_release);
            tPendingWakes.push_back(w);
        }
    }
    // Nobody polls the descriptor: the next poller brings it in step.
    if (FFd >= 0 && (FPollers > 0 || FExternal))
        SyncLevel();
}

void TWaitableObject::SyncLevel()
{
    if (FFd < 0)
        return;
    const bool want = Level();
    if (want == FFdLevel)
        return;
    if (want) {
        const uint64_t one = 1;
        while (::write(FFd, &one, sizeof one) < 0 && errno == EINTR) {
        }
    } else {
        uint64_t v;
        while (::read(FFd, &v, sizeof v) < 0 && errno == EINTR) {
        }
    }
    FFdLevel = want;
}

// ---------------------------------------------------------------------------

TEventObject::TEventObject(bool manualReset, bool initialState) : FManual(manualReset), FState(initialState) {}

void TEventObject::Set()
{
    {
        std::lock_guard lock(FLock);
        FState = true;
        Changed();
    }
    FlushWakes();
}

void TEventObject::Reset()
{
    std::lock_guard lock(FLock);
    FState = false;
    Changed();
}

bool TEventObject::IsSet() const
{
    std::lock_guard lock(FLock);
    return FState;
}

void TEventObject::AcquireBy(DWORD)
{
    if (!FManual) {
        FState = false;
        Changed();
    }
}

TSemaphoreObject::TSemaphoreObject(int32_t initialCount, int32_t maximumCount)
    : FCount(std::clamp(initialCount, 0, std::max(maximumCount, 1))), FMax(std::max(maximumCount, 1))
{
}

bool TSemaphoreObject::Release(int32_t releaseCount, int32_t* previousCount)
{
    {
        std::lock_guard lock(FLock);
        if (previousCount)
            *previousCount = FCount;
        if (releaseCount <= 0 || releaseCount > FMax - FCount) {
            SetLastError(releaseCount <= 0 ? ERROR_INVALID_PARAMETER : ERROR_TOO_MANY_POSTS);
            return false;
        }
        FCount += releaseCount;
        Changed();
    }
    FlushWakes();
    return true;
}

int32_t TSemaphoreObject::Count() const
{
    std::lock_guard lock(FLock);
    return FCount;
}

TMutexObject::TMutexObject(bool initialOwner)
{
    if (initialOwner) {
        FOwner = GetCurrentThreadId();
        FRecursion = 1;
    }
}

bool TMutexObject::Release()
{
    {
        std::lock_guard lock(FLock);
        if (FOwner != GetCurrentThreadId()) {
            SetLastError(ERROR_NOT_OWNER);
            return false;
        }
        if (--FRecursion == 0) {
            FOwner = 0;
            Changed();
        }
    }
    FlushWakes();
    return true;
}

DWORD TMutexObject::Owner() const
{
    std::lock_guard lock(FLock);
    return FOwner;
}

void TMutexObject::AcquireBy(DWORD tid)
{
    FOwner = tid;
    ++FRecursion;
    Changed();
}

// ---------------------------------------------------------------------------

THandle CreateEvent(bool manualReset, bool initialState)
{
    // Tasks make and drop several events each, on different threads.
    return std::allocate_shared<TEventObject>(TRecyclingAllocator<TEventObject>(), manualReset, initialState);
}

THandle CreateSemaphore(int32_t initialCount, int32_t maximumCount)
{
    return std::make_shared<TSemaphoreObject>(initialCount, maximumCount);
}

THandle CreateMutexObject(bool initialOwner)
{
    return std::make_shared<TMutexObject>(initialOwner);
}

bool SetEvent(const THandle& h)
{
    if (!h)
        return true;
    auto* ev = dynamic_cast<TEventObject*>(h.get());
    if (!ev) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    ev->Set();
    return true;
}

bool ResetEvent(const THandle& h)
{
    auto* ev = dynamic_cast<TEventObject*>(h.get());
    if (!ev) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    ev->Reset();
    return true;
}

bool ReleaseSemaphore(const THandle& h, int32_t releaseCount, int32_t* previousCount)
{
    auto* s = dynamic_cast<TSemaphoreObject*>(h.get());
    if (!s) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return s->Release(releaseCount, previousCount);
}

bool ReleaseMutex(const THandle& h)
{
    auto* m = dynamic_cast<TMutexObject*>(h.get());
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return m->Release();
}

// ---------------------------------------------------------------------------

struct TWaitEngine {
    enum class Sleep { Woken, TimedOut, Failed };

    std::span<const THandle> Handles;
    std::span<const int> ExtraFds;
    TThreadMessageQueue* Queue = nullptr;  // message-aware waits only
    DWORD Tid = GetCurrentThreadId();
    uint64_t DeadlineUs = 0;
    bool Infinite = false;
    std::vector<pollfd> Pfd;
    std::vector<TWaitableObject*> Sleeping;  // registered for the current sleep

    explicit TWaitEngine(DWORD timeoutMs)
    {
        Infinite = timeoutMs == INFINITE;
        if (!Infinite)
            DeadlineUs = OsMonotonicUs() + uint64_t(timeoutMs) * 1000u;
    }

    static bool TryTake(TWaitableObject& o, DWORD tid)
    {
        {
            std::lock_guard lock(o.FLock);
            if (!o.SignalledFor(tid))
                return false;
            o.AcquireBy(tid);
        }
        TWaitableObject::FlushWakes();
        return true;
    }

    DWORD QueueResult() const { return WAIT_OBJECT_0 + DWORD(Handles.size()); }
    bool TimedOut() const { return !Infinite && OsMonotonicUs() >= DeadlineUs; }

    // Waits on objects alone park the thread on a futex word that the
    // objects wake when they become signalled; anything else polls.
    bool CanPark() const { return !Queue && ExtraFds.empty(); }

    Sleep Park(const std::vector<TWaitableObject*>& objects, const std::function<bool()>& ready)
    {
        static thread_local std::atomic<uint32_t> word{0};
        word.store(0, std::memory_order_relaxed);
        for (TWaitableObject* o : objects) {
            std::lock_guard lock(o->FLock);
            o->FParked.push_back(&word);
        }
        Sleep result = Sleep::Woken;
        // A change made before the word was registered everywhere is seen
        // here; one made after it wakes the futex.
        if (!ready()) {
            timespec ts{};
            timespec* tsp = nullptr;
            bool expired = false;
            if (!Infinite) {
                const uint64_t now = OsMonotonicUs();
                expired = now >= DeadlineUs;
                const uint64_t left = expired ? 0 : DeadlineUs - now;
                ts.tv_sec = time_t(left / 1000000u);
                ts.tv_nsec = long(left % 1000000u) * 1000;
                tsp = &ts;
            }
            if (expired)
                result = Sleep::TimedOut;
            else
                ::syscall(SYS_futex, reinterpret_cast<uint32_t*>(&word), FUTEX_WAIT_PRIVATE, 0, tsp, nullptr, 0);
        }
        for (TWaitableObject* o : objects) {
            std::lock_guard lock(o->FLock);
            auto& v = o->FParked;
            v.erase(std::find(v.begin(), v.end(), &word));
        }
        return result;
    }

    // Registers as a sleeper on each object (bringing its descriptor in
    // step) and adds the descriptors; false when one could not be made.
    bool Register(TWaitableObject& o)
    {
        std::lock_guard lock(o.FLock);
        const int fd = o.PollFdLocked();
        if (fd < 0)
            return false;
        ++o.FPollers;
        Sleeping.push_back(&o);
        Pfd.push_back({fd, POLLIN, 0});
        return true;
    }

    void UnregisterAll()
    {
        for (TWaitableObject* o : Sleeping) {
            std::lock_guard lock(o->FLock);
            --o->FPollers;
        }
        Sleeping.clear();
        Pfd.clear();
    }

    void AddQueueFds()
    {
        if (Queue)
            for (int fd : Queue->InputFds())
                Pfd.push_back({fd, POLLIN, 0});
    }

    Sleep SleepOn()
    {
        timespec ts{};
        timespec* tsp = nullptr;
        if (!Infinite) {
            const uint64_t now = OsMonotonicUs();
            if (now >= DeadlineUs)
                return Sleep::TimedOut;
            const uint64_t left = DeadlineUs - now;
            ts.tv_sec = time_t(left / 1000000u);
            ts.tv_nsec = long(left % 1000000u) * 1000;
            tsp = &ts;
        }
        const int r = ::ppoll(Pfd.data(), Pfd.size(), tsp, nullptr);
        if (r < 0 && errno != EINTR) {
            SetLastError(ERROR_INVALID_HANDLE);
            return Sleep::Failed;
        }
        return Sleep::Woken;
    }

    // Sleeps on the given objects (and the extra descriptors and the queue);
    // *extraReady is the first extra descriptor found readable, or -1.
    Sleep SleepOnObjects(const std::vector<TWaitableObject*>& objects, int* extraReady)
    {
        for (TWaitableObject* o : objects)
            if (!Register(*o)) {
                UnregisterAll();
                return Sleep::Failed;
            }
        const size_t extraBase = Pfd.size();
        for (int fd : ExtraFds)
            Pfd.push_back({fd, POLLIN, 0});
        AddQueueFds();
        const Sleep r = SleepOn();
        if (extraReady) {
            *extraReady = -1;
            for (size_t j = 0; j < ExtraFds.size(); ++j)
                if (Pfd[extraBase + j].revents & (POLLIN | POLLHUP | POLLERR)) {
                    *extraReady = int(j);
                    break;
                }
        }
        UnregisterAll();
        return r;
    }

    DWORD Any()
    {
        std::vector<TWaitableObject*> all;
        all.reserve(Handles.size());
        for (const THandle& h : Handles)
            all.push_back(h.get());
        int extraReady = -1;
        for (;;) {
            for (size_t i = 0; i < Handles.size(); ++i)
                if (TryTake(*Handles[i], Tid))
                    return WAIT_OBJECT_0 + DWORD(i);
            if (Queue && Queue->HasInput())
                return QueueResult();
            // Extra descriptors are reported as they are: level, not taken.
            if (extraReady >= 0)
                return WAIT_OBJECT_0 + DWORD(Handles.size() + size_t(extraReady));
            if (TimedOut())
                return WAIT_TIMEOUT;
            const Sleep slept = CanPark() ? Park(all, [&] {
                for (TWaitableObject* o : all) {
                    std::lock_guard lock(o->FLock);
                    if (o->SignalledFor(Tid))
                        return true;
                }
                return false;
            })
                                          : SleepOnObjects(all, &extraReady);
            switch (slept) {
            case Sleep::TimedOut: return WAIT_TIMEOUT;
            case Sleep::Failed: return WAIT_FAILED;
            case Sleep::Woken: break;
            }
        }
    }

    DWORD All()
    {
        std::vector<TWaitableObject*> order;
        order.reserve(Handles.size());
        for (const THandle& h : Handles)
            order.push_back(h.get());
        std::sort(order.begin(), order.end());
        if (std::adjacent_find(order.begin(), order.end()) != order.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return WAIT_FAILED;
        }
        std::vector<TWaitableObject*> missing;
        for (;;) {
            missing.clear();
            {
                std::vector<std::unique_lock<std::mutex>> locks;
                locks.reserve(order.size());
                for (TWaitableObject* o : order)
                    locks.emplace_back(o->FLock);
                for (TWaitableObject* o : order)
                    if (!o->SignalledFor(Tid))
                        missing.push_back(o);
                if (missing.empty()) {
                    for (TWaitableObject* o : order)
                        o->AcquireBy(Tid);
                }
            }
            if (missing.empty()) {
                TWaitableObject::FlushWakes();
                return WAIT_OBJECT_0;
            }
            if (Queue && Queue->HasInput())
                return QueueResult();
            if (TimedOut())
                return WAIT_TIMEOUT;
            // Sleep only on what is missing; sleeping on a signalled one
            // would spin.
            const Sleep slept = CanPark() ? Park(missing, [&] {
                for (TWaitableObject* o : missing) {
                    std::lock_guard lock(o->FLock);
                    if (!o->SignalledFor(Tid))
                        return false;
                }
                return true;
            })
                                          : SleepOnObjects(missing, nullptr);
            switch (slept) {
            case Sleep::TimedOut: return WAIT_TIMEOUT;
            case Sleep::Failed: return WAIT_FAILED;
            case Sleep::Woken: break;
            }
        }
    }
};

namespace {

bool ValidHandles(std::span<const THandle> handles)
{
    for (const THandle& h : handles)
        if (!h) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
    return true;
}

}  // namespace

DWORD WaitForSingleObject(const THandle& h, DWORD timeoutMs)
{
    return WaitForMultipleObjects(std::span<const THandle>(&h, 1), false, timeoutMs);
}

DWORD WaitForMultipleObjects(std::span<const THandle> handles, bool waitAll, DWORD timeoutMs)
{
    if (!ValidHandles(handles))
        return WAIT_FAILED;
    TWaitEngine w(timeoutMs);
    w.Handles = handles;
    if (handles.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    return waitAll ? w.All() : w.Any();
}

DWORD MsgWaitForMultipleObjects(std::span<const THandle> handles, bool waitAll, DWORD timeoutMs)
{
    if (!ValidHandles(handles))
        return WAIT_FAILED;
    TWaitEngine w(timeoutMs);
    w.Handles = handles;
    w.Queue = &TThreadMessageQueue::Current();
    return (waitAll && !handles.empty()) ? w.All() : w.Any();
}

DWORD WaitForObjectsOrFds(std::span<const THandle> handles, std::span<const int> extraFds, DWORD timeoutMs)
{
    if (!ValidHandles(handles))
        return WAIT_FAILED;
    TWaitEngine w(timeoutMs);
    w.Handles = handles;
    w.ExtraFds = extraFds;
    return w.Any();
}
