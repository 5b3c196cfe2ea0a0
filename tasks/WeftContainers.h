#pragma once
// Fixed-capacity containers of fixed-size elements that any number of
// threads may use at once without a lock: the stack TWeftBaseBoundedStack,
// the queue TWeftBaseBoundedQueue and the observable queue TWeftBoundedQueue
// (notices on inserts, removals, almost full and partly empty). All memory is
// taken by Initialize; adding and removing never allocate and never block: a
// full container refuses an element, an empty one returns false.
//
// The stack is two index-linked chains (occupied and free links) whose heads
// are 64-bit words of (link index + 1, change tag): the tag changes with
// every exchange, so a head that was popped and pushed back meanwhile is not
// mistaken for the one read. The queue is a ring of cells with sequence
// numbers: a producer at position p claims the cell whose number is 2p and
// publishes it as 2p + 1, the consumer at p claims that and hands the cell
// to the producer of the next lap as 2(p + capacity). Both are FIFO/LIFO exact.
//
// Raw elements are copied by size; the typed forms (EnqueueWith/DequeueWith)
// let a container of non-trivial records (task messages, tagged values)
// construct and move elements in place.

#include "tasks/WeftObservers.h"
#include "tasks/WeftSync.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

// ((value - 1) div granularity + 1) * granularity.
constexpr int64_t RoundUpTo(int64_t value, int64_t granularity)
{
    return ((value - 1) / granularity + 1) * granularity;
}

// --- Spinning ------------------------------------------------------------------

// Process-wide spin limits of the lock-free containers, measured once on the
// first Initialize (and at start-up): the time-stamp ticks of taking and of
// putting back one element, clamped to a sane range. They bound how long a
// waiter pauses before it yields the processor; correctness never depends
// on them.
struct TWeftSpinCounts {
    int32_t Take;
    int32_t Put;
};
TWeftSpinCounts WeftStackSpinCounts();
TWeftSpinCounts WeftQueueSpinCounts();

// Pauses with a processor hint, doubling the pause up to the limit, then
// yields the processor: on a two-core machine a spinning thread must let the
// thread it waits for run.
class TWeftSpinBackoff {
public:
    explicit TWeftSpinBackoff(int32_t limit) : FLimit(limit < 1 ? 1 : limit) {}
    void Wait();

private:
    int32_t FLimit;
    int32_t FPause = 1;
};

// Runs the calibration of both containers on the calling thread (start-up).
void InitializeTimingInfo();

// --- Stack ----------------------------------------------------------------------

class TWeftBaseBoundedStack {
public:
    TWeftBaseBoundedStack() = default;
    TWeftBaseBoundedStack(int numElements, int elementSize) { Initialize(numElements, elementSize); }
    virtual ~TWeftBaseBoundedStack();
    TWeftBaseBoundedStack(const TWeftBaseBoundedStack&) = delete;
    TWeftBaseBoundedStack& operator=(const TWeftBaseBoundedStack&) = delete;

    // Both must be positive (assertion). A second call drops all content.
    virtual void Initialize(int numElements, int elementSize);
    // False when full.
    bool Push(const void* value);
    // False when empty.
    bool Pop(void* value);
    // Drops every element. Not to be mixed with concurrent pushes and pops.
    void Empty();
    bool IsEmpty() const;
    bool IsFull() const;
    int ElementSize() const { return obsElementSize; }
    int NumElements() const { return obsNumElements; }

    // One measurement of take and put-back times (calibration).
    TWeftSpinCounts Measure();

private:
    using THead = std::atomic<uint64_t>;
    int32_t PopLink(THead& head);
    void PushLink(THead& head, int32_t link);
    std::byte* Data(int32_t link) const { return obsDataBuffer.get() + size_t(link) * obsLinkSize; }

    std::unique_ptr<std::byte[]> obsDataBuffer;
    std::unique_ptr<std::atomic<uint32_t>[]> obsNext;  // next link + 1, 0 = none
    int obsElementSize = 0;
    int obsNumElements = 0;
    size_t obsLinkSize = 0;
    alignas(64) THead obsPublicChain{0};
    alignas(64) THead obsRecycleChain{0};
    alignas(64) char obsPad[1] = {};
};

// --- Queue ----------------------------------------------------------------------

class TWeftBaseBoundedQueue {
public:
    TWeftBaseBoundedQueue() = default;
    TWeftBaseBoundedQueue(int numElements, int elementSize) { Initialize(numElements, elementSize); }
    virtual ~TWeftBaseBoundedQueue();
    TWeftBaseBoundedQueue(const TWeftBaseBoundedQueue&) = delete;
    TWeftBaseBoundedQueue& operator=(const TWeftBaseBoundedQueue&) = delete;

    // Both must be positive (assertion). A second call drops all content
    // (raw bytes: typed users empty the queue first).
    virtual void Initialize(int numElements, int elementSize);
    bool Enqueue(const void* value)
    {
        return EnqueueWith([&](void* cell) { std::memcpy(cell, value, size_t(obqElementSize)); });
    }
    bool Dequeue(void* value)
    {
        return DequeueWith([&](void* cell) { std::memcpy(value, cell, size_t(obqElementSize)); });
    }
    // Drops every raw element.
    void Empty();
    bool IsEmpty() const;
    bool IsFull() const;
    int ElementSize() const { return obqElementSize; }
    int NumElements() const { return obqNumElements; }
    // Elements in the queue (exact when no operation runs).
    int Count() const;

    // write(cell) fills the claimed cell; false (write not called) when full.
    template <class W>
    bool EnqueueWith(W&& write);
    // read(cell) takes the element out of the claimed cell (and ends the
    // life of a typed element); false (read not called) when empty.
    template <class R>
    bool DequeueWith(R&& read);

    TWeftSpinCounts Measure();

private:
    struct TCell {
        std::atomic<uint64_t> Seq;
    };
    TCell& CellAt(uint64_t pos) const
    {
        const uint64_t idx = obqMask ? (pos & obqMask) : (pos % uint64_t(obqNumElements));
        return *reinterpret_cast<TCell*>(obqDataBuffer.get() + idx * obqCellSize);
    }
    static void* Payload(TCell& c) { return reinterpret_cast<std::byte*>(&c) + 8; }

    std::unique_ptr<std::byte[]> obqDataBuffer;
    int obqElementSize = 0;
    int obqNumElements = 0;
    size_t obqCellSize = 0;
    uint64_t obqMask = 0;  // capacity - 1 for a power of two, else 0
    // The two ends live on different cache lines.
    alignas(128) std::atomic<uint64_t> obqEnqueuePos{0};
    alignas(128) std::atomic<uint64_t> obqDequeuePos{0};
    alignas(128) char obqPad[1] = {};
};

// The observable queue. Thresholds: partly empty at Round(n * partly-empty
// factor), almost full at Round(n * almost-full factor), each at most n - 1.
class TWeftBoundedQueue : public TWeftBaseBoundedQueue {
public:
    TWeftBoundedQueue(int numElements, int elementSize, double partlyEmptyLoadFactor,
                      double almostFullLoadFactor);
    ~TWeftBoundedQueue() override;

    bool Enqueue(const void* value)
    {
        return EnqueueWith([&](void* cell) { std::memcpy(cell, value, size_t(ElementSize())); });
    }
    bool Dequeue(void* value)
    {
        return DequeueWith([&](void* cell) { std::memcpy(value, cell, size_t(ElementSize())); });
    }
    // Drops every raw element, counting and notifying each removal.
    void Empty();
    template <class W>
    bool EnqueueWith(W&& write)
    {
        if (!TWeftBaseBoundedQueue::EnqueueWith(std::forward<W>(write)))
            return false;
        Inserted();
        return true;
    }
    template <class R>
    bool DequeueWith(R&& read)
    {
        if (!TWeftBaseBoundedQueue::DequeueWith(std::forward<R>(read)))
            return false;
        Removed();
        return true;
    }

    TWeftContainerSubject& ContainerSubject() { return *oqContainerSubject; }
    int AlmostFullCount() const { return oqAlmostFullCount; }
    int PartlyEmptyCount() const { return oqPartlyEmptyCount; }
    int InQueueCount() const { return oqInQueueCount.Value(); }

private:
    void Inserted();
    void Removed();

    int oqAlmostFullCount;
    std::unique_ptr<TWeftContainerSubject> oqContainerSubject;
    TWeftAlignedInt32 oqInQueueCount;
    int oqPartlyEmptyCount;
};

// --- Template bodies ------------------------------------------------------------

template <class W>
bool TWeftBaseBoundedQueue::EnqueueWith(W&& write)
{
    TWeftSpinBackoff backoff(WeftQueueSpinCounts().Put);
    uint64_t pos = obqEnqueuePos.load(std::memory_order_relaxed);
    for (;;) {
        TCell& cell = CellAt(pos);
        const uint64_t seq = cell.Seq.load(std::memory_order_acquire);
        const int64_t diff = int64_t(seq - 2 * pos);
        if (diff == 0) {
            if (obqEnqueuePos.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
                write(Payload(cell));
                cell.Seq.store(2 * pos + 1, std::memory_order_release);
                return true;
            }
            backoff.Wait();
        } else if (diff < 0) {
            return false;  // the cell still holds the element one lap behind: full
        } else {
            pos = obqEnqueuePos.load(std::memory_order_relaxed);
        }
    }
}

template <class R>
bool TWeftBaseBoundedQueue::DequeueWith(R&& read)
{
    TWeftSpinBackoff backoff(WeftQueueSpinCounts().Take);
    uint64_t pos = obqDequeuePos.load(std::memory_order_relaxed);
    for (;;) {
        TCell& cell = CellAt(pos);
        const uint64_t seq = cell.Seq.load(std::memory_order_acquire);
        const int64_t diff = int64_t(seq - (2 * pos + 1));
        if (diff == 0) {
            if (obqDequeuePos.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
                read(Payload(cell));
                cell.Seq.store(2 * (pos + uint64_t(obqNumElements)), std::memory_order_release);
                return true;
            }
            backoff.Wait();
        } else if (diff < 0) {
            return false;  // not yet filled: empty
        } else {
            pos = obqDequeuePos.load(std::memory_order_relaxed);
        }
    }
}
