#pragma once
// The lowest layer of the task framework: compare-and-swap, a recursive
// critical section made on first use, a spinning lock for many readers and
// one writer, the cancellation token that work loops poll, a resource
// counter with "free" and "all taken" events, and TWaitFor, a wait for any
// or all of any number of objects.
//
// Every operation may be called from any thread.

#include "platform/os/Waitable.h"
#include "tasks/WeftBase.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// --- Compare-and-swap ------------------------------------------------------
// Each is one locked compare-exchange and a full barrier. Other threads must
// reach the destination through these (or std::atomic_ref) too.

bool CAS8(uint8_t oldValue, uint8_t newValue, uint8_t& destination);
bool CAS(int32_t oldValue, int32_t newValue, int32_t& destination);
bool CAS(void* oldValue, void* newValue, void*& destination);

// A 64-bit word of a 32-bit datum (an index, never a pointer: pointers are
// 64 bits here) and a 32-bit reference tag, exchanged as one unit.
struct alignas(8) TWeftTaggedWord {
    uint64_t Word = 0;
    static constexpr uint64_t Pack(uint32_t data, uint32_t reference)
    {
        return uint64_t(data) | (uint64_t(reference) << 32);
    }
    static constexpr uint32_t DataOf(uint64_t w) { return uint32_t(w); }
    static constexpr uint32_t ReferenceOf(uint64_t w) { return uint32_t(w >> 32); }
    // An atomic read of both halves.
    uint64_t Load() const;
};
bool CAS(uint32_t oldData, uint32_t oldReference, uint32_t newData, uint32_t newReference,
         TWeftTaggedWord& destination);
// Writes both halves as one 8-byte store, without comparing.
void MoveDPtr(uint32_t newData, uint32_t newReference, TWeftTaggedWord& destination);

// The calling thread's 32-bit id (read once per thread).
DWORD GetThreadId();
// The processor's time-stamp counter.
uint64_t GetCPUTimeStamp();
void NInterlockedExchangeAdd(int32_t& addend, int32_t value);
// Spin-wait hint for busy loops.
void CpuRelax();

// The boundary on which lock-free containers place their compare-and-swap
// words.
extern uint32_t CASAlignment;

// --- Critical sections -------------------------------------------------------

// A recursive lock that fills 128 bytes of its own, so no two locks share a
// cache line.
class alignas(128) TFixedCriticalSection {
public:
    void Enter();
    void Leave();
    bool TryEnter();

private:
    std::mutex FMutex;
    std::atomic<DWORD> FOwner{0};
    uint32_t FRecursion = 0;
};

class IWeftCriticalSection : public IInterface {
public:
    virtual int GetLockCount() const = 0;
    int LockCount() const { return GetLockCount(); }
    virtual void Acquire() = 0;
    virtual void Release() = 0;
    // The padded lock itself, for code that takes a generic lock object.
    virtual TFixedCriticalSection* GetSyncObj() = 0;
};

class TWeftCriticalSection final : public IWeftCriticalSection {
public:
    int GetLockCount() const override { return ocsLockCount.load(std::memory_order_relaxed); }
    void Acquire() override
    {
        ocsCritSect.Enter();
        ocsLockCount.store(ocsLockCount.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    }
    void Release() override
    {
        ocsLockCount.store(ocsLockCount.load(std::memory_order_relaxed) - 1, std::memory_order_relaxed);
        ocsCritSect.Leave();
    }
    TFixedCriticalSection* GetSyncObj() override { return &ocsCritSect; }

private:
    TFixedCriticalSection ocsCritSect;
    // Changed only by the holder, read by anyone.
    std::atomic<int32_t> ocsLockCount{0};
};

std::shared_ptr<IWeftCriticalSection> CreateWeftCriticalSection();

// A lock that needs no set-up: the critical section is made on the first
// Acquire (under one global lock, so two first users share one). Copies of
// an initialised TWeftCS share its critical section.
class TWeftCS {
public:
    TWeftCS() = default;
    TWeftCS(const TWeftCS& other);
    TWeftCS& operator=(const TWeftCS& other);
    ~TWeftCS() = default;

    void Initialize();
    void Acquire()
    {
        TWeftCriticalSection* cs = FCS.load(std::memory_order_acquire);
        if (!cs) {
            Initialize();
            cs = FCS.load(std::memory_order_acquire);
        }
        cs->Acquire();
    }
    // Releasing a lock that was never acquired is a caller error.
    void Release() { FCS.load(std::memory_order_acquire)->Release(); }
    // For std::lock_guard.
    void lock() { Acquire(); }
    void unlock() { Release(); }
    std::shared_ptr<IWeftCriticalSection> GetSyncObj() const;

private:
    std::atomic<TWeftCriticalSection*> FCS{nullptr};
    std::shared_ptr<TWeftCriticalSection> ocsSync;  // written once, under the global lock
};

// --- Cancellation token --------------------------------------------------------

class IWeftCancellationToken : public IInterface {
public:
    // A manual-reset event set while the token is signalled.
    virtual THandle GetHandle() const = 0;
    THandle Handle() const { return GetHandle(); }
    virtual void Clear() = 0;
    // A plain flag read: work loops may poll it on every iteration.
    virtual bool IsSignalled() const = 0;
    virtual void Signal() = 0;
};
using PWeftCancellationToken = std::shared_ptr<IWeftCancellationToken>;
PWeftCancellationToken CreateWeftCancellationToken();

// --- Event made on first demand ----------------------------------------------------

// A manual-reset event that costs nothing until someone asks for its handle:
// most tasks are asked to end or announce their end without anyone waiting,
// and then a set is one atomic operation. A handle made after the set starts
// set, so a wait that comes late returns at once. Never reset.
class TWeftLazyEvent {
public:
    TWeftLazyEvent() = default;
    TWeftLazyEvent(const TWeftLazyEvent&) = delete;
    TWeftLazyEvent& operator=(const TWeftLazyEvent&) = delete;

    // The event, made on the first call (concurrent first calls share one).
    THandle Handle();
    void Set();
    bool IsSet() const { return (FState.load(std::memory_order_acquire) & CSet) != 0; }

private:
    static constexpr uint32_t CSet = 1;
    static constexpr uint32_t CMaking = 2;
    static constexpr uint32_t CMade = 4;
    std::atomic<uint32_t> FState{0};
    THandle FEvent;  // written once, before CMade is published
};

// --- Reader/writer spin lock -------------------------------------------------------

// Bit 0 of the word is the writer flag, the rest counts readers in steps of
// 2. For very short sections: waiters spin (with a pause hint, then
// yielding). A writer must not enter again, nor a reader take the write
// lock: it would spin for ever.
class TWeftMREW {
public:
    void EnterReadLock();
    void ExitReadLock() { omrewReference.fetch_sub(2, std::memory_order_release); }
    void EnterWriteLock();
    void ExitWriteLock() { omrewReference.store(0, std::memory_order_release); }
    // A time-out of 0 or less makes exactly one attempt.
    bool TryEnterReadLock(int32_t timeout_ms);
    bool TryEnterWriteLock(int32_t timeout_ms);
    int32_t Word() const { return omrewReference.load(std::memory_order_relaxed); }

private:
    std::atomic<int32_t> omrewReference{0};
};

// --- Resource counter ----------------------------------------------------------------

class IWeftResourceCount : public IInterface {
public:
    // Signalled while no resource is free.
    virtual THandle GetHandle() const = 0;
    THandle Handle() const { return GetHandle(); }
    // Waits without limit; the count left.
    virtual int32_t Allocate() = 0;
    // The count after the release; the count has no upper bound.
    virtual int32_t Release() = 0;
    virtual bool TryAllocate(int32_t& resourceCount, DWORD timeout_ms = 0) = 0;
};
using PWeftResourceCount = std::shared_ptr<IWeftResourceCount>;
PWeftResourceCount CreateResourceCount(int32_t initialCount);

// --- Multi-object wait -------------------------------------------------------------

// Waits for any or all of an unlimited number of objects; the platform's
// wait has no 64-object limit, so every mode waits directly.
class TWaitFor {
public:
    enum TWaitMode { wmSmart, wmForceWFM, wmForceRWFS };
    enum TWaitForResult { waAwaited, waTimeout, waFailed, waIOCompletion, waMessage };
    struct THandleInfo {
        int32_t Index = 0;
        bool operator==(const THandleInfo&) const = default;
    };
    using THandles = std::vector<THandleInfo>;

    TWaitFor();
    explicit TWaitFor(const std::vector<THandle>& handles);
    void SetHandles(const std::vector<THandle>& handles);
    std::vector<THandle> Handles() const { return FHandles; }
    TWaitMode WaitMode() const { return FWaitMode; }
    void SetWaitMode(TWaitMode value) { FWaitMode = value; }
    // The positions reported by the last wait.
    const THandles& Signalled() const { return FSignalledHandles; }

    TWaitForResult WaitAll(DWORD timeout_ms);
    // No APCs here: alertable is accepted and waIOCompletion never returned.
    TWaitForResult WaitAny(DWORD timeout_ms, bool alertable = false);
    // Also returns waMessage while the calling thread's message queue holds
    // input; wakeMask and flags are accepted ("any message" is the one mask).
    TWaitForResult MsgWaitAny(DWORD timeout_ms, DWORD wakeMask = 0, DWORD flags = 0);

private:
    TWaitForResult MapResult(DWORD r, bool all, bool msg);

    std::vector<THandle> FHandles;
    THandles FSignalledHandles;
    TWaitMode FWaitMode = wmSmart;
};

// --- One-time initialisation of a shared reference -------------------------------------

// Storage for a shared reference that is filled once and then only read.
// Reads after the fill take no lock.
template <class T>
class TWeftAtomicStorage {
public:
    std::shared_ptr<T> Load() const
    {
        // FHold is written once, before FPtr is published.
        return FPtr.load(std::memory_order_acquire) ? FHold : nullptr;
    }
    bool IsEmpty() const { return FPtr.load(std::memory_order_acquire) == nullptr; }
    // Stores value unless the storage is filled already; the stored value.
    std::shared_ptr<T> InstallIfEmpty(std::shared_ptr<T> value)
    {
        std::lock_guard lock(FLock);
        if (!FPtr.load(std::memory_order_relaxed)) {
            FHold = std::move(value);
            FPtr.store(FHold.get(), std::memory_order_release);
        }
        return FHold;
    }

private:
    std::atomic<T*> FPtr{nullptr};
    std::shared_ptr<T> FHold;
    std::mutex FLock;
};

// Fills an empty storage once, even when threads race: each racer's factory
// may run, one of the made values is stored and the others are released;
// every caller gets the stored value.
template <class T>
struct Atomic {
    static std::shared_ptr<T> Initialize(TWeftAtomicStorage<T>& storage,
                                         const std::function<std::shared_ptr<T>()>& factory)
    {
        if (std::shared_ptr<T> current = storage.Load())
            return current;
        return storage.InstallIfEmpty(factory());
    }
    // Without a factory only concrete classes can be made.
    static std::shared_ptr<T> Initialize(TWeftAtomicStorage<T>& storage)
    {
        if constexpr (std::is_abstract_v<T> || !std::is_default_constructible_v<T>) {
            if (std::shared_ptr<T> current = storage.Load())
                return current;
            throw Exception(QStringLiteral("Atomic<T>.Initialize: Unsupported type"));
        } else {
            return Initialize(storage, [] { return std::make_shared<T>(); });
        }
    }
};
