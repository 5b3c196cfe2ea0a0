#pragma once
// TWeftBlockingCollection: the hand-over point between producer and consumer
// threads. An unbounded queue of tagged values whose consumers may wait, with
// a time-out, for an item or for the producers' declaration that nothing
// more will come (CompleteAdding). It can throttle producers between a high
// and a low water mark, end itself when all of a known number of producers
// and consumers wait at once, and raise again an exception that travels
// through it as an item.

#include "tasks/WeftQueue.h"
#include "tasks/WeftSync.h"

#include <memory>

SORVEX_EXCEPTION_KIND(ECollectionCompleted, Exception)

class IWeftBlockingCollectionEnumerator;

class IWeftBlockingCollection : public IInterface {
public:
    virtual int GetApproxCount() const = 0;
    int Count() const { return GetApproxCount(); }
    virtual TWeftContainerSubject& GetContainerSubject() = 0;
    TWeftContainerSubject& ContainerSubject() { return GetContainerSubject(); }
    // Raises ECollectionCompleted "Adding to completed collection".
    virtual void Add(const TWeftValue& value) = 0;
    virtual void CompleteAdding() = 0;
    virtual std::shared_ptr<IWeftBlockingCollectionEnumerator> GetEnumerator() = 0;
    virtual bool IsCompleted() const = 0;
    virtual bool IsEmpty() = 0;
    virtual bool IsFinalized() = 0;
    // Raises ECollectionCompleted "Collection is empty" when completed and empty.
    virtual TWeftValue Next() = 0;
    virtual void ReraiseExceptions(bool enable = true) = 0;
    // Whether a taker spins briefly before it waits (on by default). Off for
    // a queue fed at the pace of another thread's round trips (a worker
    // whose owner answers each finished item with the next): its taker would
    // only spin the whole time away from a busy machine.
    virtual void SpinBeforeWaiting(bool enable) = 0;
    // How long a taker that found nothing keeps looking, yielding its
    // processor between looks, before it waits (0, the default: not at all).
    // For a queue fed at the pace of round trips with another thread: the
    // next item usually comes within one, and a wait and wake-up on both
    // sides costs more than the round trip itself.
    virtual void WatchBeforeWaiting_us(uint32_t us) = 0;
    // Raises once the collection has been added to.
    virtual void SetThrottling(int highWaterMark, int lowWaterMark) = 0;
    virtual bool Take(TWeftValue& value) = 0;
    virtual bool TryAdd(const TWeftValue& value) = 0;
    virtual bool TryTake(TWeftValue& value, DWORD timeout_ms = 0) = 0;
    // Manual-reset, set by CompleteAdding: for waits beside other objects.
    virtual THandle CompletedSignal() const = 0;
};
using PWeftBlockingCollection = std::shared_ptr<IWeftBlockingCollection>;

class IWeftBlockingCollectionEnumerator : public IInterface {
public:
    virtual const TWeftValue& GetCurrent() const = 0;
    const TWeftValue& Current() const { return GetCurrent(); }
    // Take into Current; false when the collection is finished.
    virtual bool MoveNext() = 0;
    virtual bool TryTake(TWeftValue& value, DWORD timeout_ms) = 0;
};

class TWeftBlockingCollection final : public IWeftBlockingCollection,
                                      public std::enable_shared_from_this<TWeftBlockingCollection> {
public:
    // With numProducersConsumers > 0 the collection completes itself when
    // that many takers wait at once.
    explicit TWeftBlockingCollection(int numProducersConsumers = 0);
    ~TWeftBlockingCollection() override;

    // Items added minus items taken; approximate while operations run.
    int GetApproxCount() const override
    {
        const uint32_t added = uint32_t(obcAddWord.load(std::memory_order_relaxed) >> 32);
        return int32_t(added - uint32_t(obcTaken.load(std::memory_order_relaxed)));
    }
    TWeftContainerSubject& GetContainerSubject() override { return obcCollection.ContainerSubject(); }
    void Add(const TWeftValue& value) override;
    void CompleteAdding() override;
    std::shared_ptr<IWeftBlockingCollectionEnumerator> GetEnumerator() override;
    bool IsCompleted() const override;
    bool IsEmpty() override { return obcCollection.IsEmpty(); }
    bool IsFinalized() override { return IsCompleted() && IsEmpty(); }
    TWeftValue Next() override;
    void ReraiseExceptions(bool enable = true) override { obcReraiseExceptions = enable; }
    void SpinBeforeWaiting(bool enable) override { obcSpin = enable; }
    void WatchBeforeWaiting_us(uint32_t us) override { obcWatch_us = us; }
    void SetThrottling(int highWaterMark, int lowWaterMark) override;
    bool Take(TWeftValue& value) override { return TryTake(value, INFINITE); }
    bool TryAdd(const TWeftValue& value) override;
    bool TryTake(TWeftValue& value, DWORD timeout_ms = 0) override;
    THandle CompletedSignal() const override { return obcCompletedSignal; }

private:
    static constexpr uint64_t CCompletedFlag = 0x40000000;
    static constexpr uint64_t CInProgressMask = 0x3FFFFFFF;
    static constexpr uint64_t CAddedUnit = uint64_t(1) << 32;
    bool Taken(TWeftValue& value);

    std::atomic<bool> obcAccessed{false};
    // Adds in progress and the completed flag (bit 30) in the low half,
    // finished adds in the high half; written by every add, so it has a
    // cache line of its own.
    alignas(64) std::atomic<uint64_t> obcAddWord{0};
    // Items taken, on a line of its own: the count is finished adds minus
    // this, so producers and consumers do not fight over one word.
    alignas(64) std::atomic<int64_t> obcTaken{0};
    TWeftQueue obcCollection;
    THandle obcCompletedSignal;
    int obcHighWaterMark = 0;
    int obcLowWaterMark = 0;
    THandle obcNotOverflow;
    // Its auto-reset event wakes waiting takers; producers set it only while
    // obcWaiters counts a taker in TryTake's wait.
    std::unique_ptr<TWeftContainerWindowsEventObserver> obcObserver;
    alignas(64) std::atomic<int> obcWaiters{0};
    // Completion as a read-mostly flag for spinning takers (the add count's
    // line changes with every add).
    std::atomic<bool> obcCompletedSeen{false};
    std::atomic<bool> obcReraiseExceptions{false};
    std::atomic<bool> obcSpin{true};
    std::atomic<uint32_t> obcWatch_us{0};
    PWeftResourceCount obcResourceCount;
    bool obcThrottling = false;
    alignas(64) char obcPad[1] = {};
};

PWeftBlockingCollection CreateBlockingCollection(int numProducersConsumers = 0);
