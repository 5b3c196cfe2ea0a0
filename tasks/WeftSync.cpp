#include "tasks/WeftSync.h"

#include "platform/os/BlockRecycler.h"
#include "platform/os/MessageWindow.h"
#include "tasks/OsWin32.h"

#include <thread>
#include <x86intrin.h>

uint32_t CASAlignment = 8;

bool CAS8(uint8_t oldValue, uint8_t newValue, uint8_t& destination)
{
    return std::atomic_ref<uint8_t>(destination).compare_exchange_strong(oldValue, newValue);
}

bool CAS(int32_t oldValue, int32_t newValue, int32_t& destination)
{
    return std::atomic_ref<int32_t>(destination).compare_exchange_strong(oldValue, newValue);
}

bool CAS(void* oldValue, void* newValue, void*& destination)
{
    return std::atomic_ref<void*>(destination).compare_exchange_strong(oldValue, newValue);
}

uint64_t TWeftTaggedWord::Load() const
{
    return std::atomic_ref<uint64_t>(const_cast<uint64_t&>(Word)).load();
}

bool CAS(uint32_t oldData, uint32_t oldReference, uint32_t newData, uint32_t newReference,
         TWeftTaggedWord& destination)
{
    uint64_t expected = TWeftTaggedWord::Pack(oldData, oldReference);
    return std::atomic_ref<uint64_t>(destination.Word)
        .compare_exchange_strong(expected, TWeftTaggedWord::Pack(newData, newReference));
}

void MoveDPtr(uint32_t newData, uint32_t newReference, TWeftTaggedWord& destination)
{
    std::atomic_ref<uint64_t>(destination.Word).store(TWeftTaggedWord::Pack(newData, newReference));
}

DWORD GetThreadId()
{
    return GetCurrentThreadId();
}

uint64_t GetCPUTimeStamp()
{
    return __rdtsc();
}

void NInterlockedExchangeAdd(int32_t& addend, int32_t value)
{
    std::atomic_ref<int32_t>(addend).fetch_add(value);
}

void CpuRelax()
{
    _mm_pause();
}

namespace {

// Spins briefly with a pause hint, then yields: CI machines may have two
// cores, where a spinning waiter would keep the holder from running.
class TBackoff {
public:
    void Wait()
    {
        if (++FCount < 64) {
            _mm_pause();
        } else {
            std::this_thread::yield();
        }
    }

private:
    int FCount = 0;
};

}  // namespace

// --- Critical sections -------------------------------------------------------

void TFixedCriticalSection::Enter()
{
    const DWORD me = GetCurrentThreadId();
    if (FOwner.load(std::memory_order_relaxed) == me) {
        ++FRecursion;
        return;
    }
    FMutex.lock();
    FOwner.store(me, std::memory_order_relaxed);
    FRecursion = 1;
}

bool TFixedCriticalSection::TryEnter()
{
    const DWORD me = GetCurrentThreadId();
    if (FOwner.load(std::memory_order_relaxed) == me) {
        ++FRecursion;
        return true;
    }
    if (!FMutex.try_lock())
        return false;
    FOwner.store(me, std::memory_order_relaxed);
    FRecursion = 1;
    return true;
}

void TFixedCriticalSection::Leave()
{
    if (--FRecursion == 0) {
        FOwner.store(0, std::memory_order_relaxed);
        FMutex.unlock();
    }
}

static_assert(sizeof(TFixedCriticalSection) == 128, "a critical section fills one 128-byte block");

std::shared_ptr<IWeftCriticalSection> CreateWeftCriticalSection()
{
    return std::make_shared<TWeftCriticalSection>();
}

namespace {

// Serialises the first-use creation of every TWeftCS.
std::mutex& WeftCSInitializer()
{
    static std::mutex m;
    return m;
}

}  // namespace

TWeftCS::TWeftCS(const TWeftCS& other)
{
    std::lock_guard lock(WeftCSInitializer());
    ocsSync = other.ocsSync;
    FCS.store(ocsSync.get(), std::memory_order_release);
}

TWeftCS& TWeftCS::operator=(const TWeftCS& other)
{
    if (this != &other) {
        std::lock_guard lock(WeftCSInitializer());
        ocsSync = other.ocsSync;
        FCS.store(ocsSync.get(), std::memory_order_release);
    }
    return *this;
}

void TWeftCS::Initialize()
{
    if (FCS.load(std::memory_order_acquire))
        return;
    std::lock_guard lock(WeftCSInitializer());
    if (!FCS.load(std::memory_order_relaxed)) {
        ocsSync = std::make_shared<TWeftCriticalSection>();
        FCS.store(ocsSync.get(), std::memory_order_release);
    }
}

std::shared_ptr<IWeftCriticalSection> TWeftCS::GetSyncObj() const
{
    std::lock_guard lock(WeftCSInitializer());
    return ocsSync;
}

// --- Event made on first demand ----------------------------------------------

THandle TWeftLazyEvent::Handle()
{
    // A racer waits the few instructions the maker needs.
    for (TBackoff backoff;; backoff.Wait()) {
        uint32_t state = FState.load(std::memory_order_acquire);
        if (state & CMade)
            return FEvent;
        if (state & CMaking)
            continue;
        state = FState.fetch_or(CMaking, std::memory_order_acq_rel);
        if (state & CMaking)
            continue;
        const bool initial = (state & CSet) != 0;
        try {
            FEvent = CreateEvent(true, initial);
        } catch (...) {
            FState.fetch_and(~CMaking, std::memory_order_acq_rel);
            throw;
        }
        // A set that came while the event was made saw no event to set.
        state = FState.fetch_or(CMade, std::memory_order_acq_rel);
        if ((state & CSet) && !initial)
            SetEvent(FEvent);
        return FEvent;
    }
}

void TWeftLazyEvent::Set()
{
    if (FState.fetch_or(CSet, std::memory_order_acq_rel) & CMade)
        SetEvent(FEvent);
}

// --- Cancellation token ----------------------------------------------------

namespace {

class TWeftCancellationToken final : public IWeftCancellationToken {
public:
    THandle GetHandle() const override { return FEvent; }
    void Clear() override
    {
        FIsSignalled.store(false, std::memory_order_release);
        ResetEvent(FEvent);
    }
    bool IsSignalled() const override { return FIsSignalled.load(std::memory_order_acquire); }
    void Signal() override
    {
        FIsSignalled.store(true, std::memory_order_release);
        SetEvent(FEvent);
    }

private:
    THandle FEvent = CreateEvent(true, false);
    std::atomic<bool> FIsSignalled{false};
};

}  // namespace

PWeftCancellationToken CreateWeftCancellationToken()
{
    // Made per work item and per task, often on one thread and freed on another.
    return std::allocate_shared<TWeftCancellationToken>(TRecyclingAllocator<TWeftCancellationToken>());
}

// --- Reader/writer spin lock -------------------------------------------------

void TWeftMREW::EnterReadLock()
{
    TBackoff backoff;
    for (;;) {
        int32_t r = omrewReference.load(std::memory_order_relaxed) & ~1;
        if (omrewReference.compare_exchange_weak(r, r + 2, std::memory_order_acquire))
            return;
        backoff.Wait();
    }
}

void TWeftMREW::EnterWriteLock()
{
    TBackoff backoff;
    for (;;) {
        int32_t r = omrewReference.load(std::memory_order_relaxed) & ~1;
        if (omrewReference.compare_exchange_weak(r, r | 1, std::memory_order_acquire))
            break;
        backoff.Wait();
    }
    TBackoff drain;
    while (omrewReference.load(std::memory_order_acquire) != 1)
        drain.Wait();
}

bool TWeftMREW::TryEnterReadLock(int32_t timeout_ms)
{
    const int64_t start = OsTimeGetTime64();
    TBackoff backoff;
    for (;;) {
        int32_t r = omrewReference.load(std::memory_order_relaxed) & ~1;
        if (omrewReference.compare_exchange_strong(r, r + 2, std::memory_order_acquire))
            return true;
        if (timeout_ms <= 0 || OsHasElapsed64(start, DWORD(timeout_ms)))
            return false;
        backoff.Wait();
    }
}

bool TWeftMREW::TryEnterWriteLock(int32_t timeout_ms)
{
    const int64_t start = OsTimeGetTime64();
    auto expired = [&] { return timeout_ms <= 0 || OsHasElapsed64(start, DWORD(timeout_ms)); };
    TBackoff backoff;
    for (;;) {
        int32_t r = omrewReference.load(std::memory_order_relaxed) & ~1;
        if (omrewReference.compare_exchange_strong(r, r + 1, std::memory_order_acquire))
            break;
        if (expired())
            return false;
        backoff.Wait();
    }
    TBackoff drain;
    while (omrewReference.load(std::memory_order_acquire) != 1) {
        if (expired()) {
            // Withdraw the writer flag; the readers' count stays.
            omrewReference.fetch_and(~1, std::memory_order_release);
            return false;
        }
        drain.Wait();
    }
    return true;
}

// --- Resource counter --------------------------------------------------------

namespace {

class TWeftResourceCount final : public IWeftResourceCount {
public:
    explicit TWeftResourceCount(int32_t initialCount)
        : orcAvailable(CreateEvent(true, initialCount != 0)), orcHandle(CreateEvent(true, initialCount == 0)),
          orcNumResources(initialCount)
    {
    }

    THandle GetHandle() const override { return orcHandle; }

    int32_t Allocate() override
    {
        int32_t n = 0;
        TryAllocate(n, INFINITE);
        return n;
    }

    int32_t Release() override
    {
        std::lock_guard lock(orcLock);
        const int32_t n = ++orcNumResources;
        if (n == 1) {
            ResetEvent(orcHandle);
            SetEvent(orcAvailable);
        }
        return n;
    }

    bool TryAllocate(int32_t& resourceCount, DWORD timeout_ms) override
    {
        const int64_t start = OsTimeGetTime64();
        orcLock.Acquire();
        while (orcNumResources == 0) {
            orcLock.Release();
            if (timeout_ms == 0)
                return false;
            DWORD wait = INFINITE;
            if (timeout_ms != INFINITE) {
                const int64_t left = start + int64_t(timeout_ms) - OsTimeGetTime64();
                if (left <= 0)
                    return false;
                wait = DWORD(left);
            }
            if (WaitForSingleObject(orcAvailable, wait) != WAIT_OBJECT_0)
                return false;
            orcLock.Acquire();
        }
        const int32_t n = --orcNumResources;
        resourceCount = n;
        if (n == 0) {
            ResetEvent(orcAvailable);
            orcLock.Release();
            SetEvent(orcHandle);
        } else {
            orcLock.Release();
        }
        return true;
    }

private:
    THandle orcAvailable;
    THandle orcHandle;
    TWeftCS orcLock;
    int32_t orcNumResources;
};

}  // namespace

PWeftResourceCount CreateResourceCount(int32_t initialCount)
{
    return std::make_shared<TWeftResourceCount>(initialCount);
}

// --- TWaitFor ----------------------------------------------------------------

TWaitFor::TWaitFor() = default;

TWaitFor::TWaitFor(const std::vector<THandle>& handles) : FHandles(handles) {}

void TWaitFor::SetHandles(const std::vector<THandle>& handles)
{
    FHandles = handles;
}

TWaitFor::TWaitForResult TWaitFor::MapResult(DWORD r, bool all, bool msg)
{
    FSignalledHandles.clear();
    const DWORD n = DWORD(FHandles.size());
    if (msg && r == WAIT_OBJECT_0 + n)
        return waMessage;
    if (r < WAIT_OBJECT_0 + n) {
        if (all && (FWaitMode == wmForceRWFS || n > 64)) {
            // The registered-wait form of a wait-all reports every position.
            for (DWORD i = 0; i < n; ++i)
                FSignalledHandles.push_back({int32_t(i)});
        } else {
            FSignalledHandles.push_back({int32_t(r - WAIT_OBJECT_0)});
        }
        return waAwaited;
    }
    if (r == WAIT_IO_COMPLETION)
        return waIOCompletion;
    if (r == WAIT_TIMEOUT)
        return waTimeout;
    return waFailed;
}

TWaitFor::TWaitForResult TWaitFor::WaitAll(DWORD timeout_ms)
{
    return MapResult(WaitForMultipleObjects(FHandles, true, timeout_ms), true, false);
}

TWaitFor::TWaitForResult TWaitFor::WaitAny(DWORD timeout_ms, bool)
{
    return MapResult(WaitForMultipleObjects(FHandles, false, timeout_ms), false, false);
}

TWaitFor::TWaitForResult TWaitFor::MsgWaitAny(DWORD timeout_ms, DWORD, DWORD)
{
    return MapResult(MsgWaitForMultipleObjects(FHandles, false, timeout_ms), false, true);
}
