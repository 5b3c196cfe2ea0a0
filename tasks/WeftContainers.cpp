#include "tasks/WeftContainers.h"

#include "tasks/OsWin32.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <pthread.h>
#include <sched.h>

namespace {

constexpr int32_t CMinSpin = 8;
constexpr int32_t CMaxSpin = 1024;

std::atomic<int32_t> gStackTake{CMinSpin}, gStackPut{CMinSpin};
std::atomic<int32_t> gQueueTake{CMinSpin}, gQueuePut{CMinSpin};
std::once_flag gStackOnce, gQueueOnce;

int32_t Clamp(uint64_t ticks)
{
    return int32_t(std::clamp<uint64_t>(ticks, CMinSpin, CMaxSpin));
}

// The mean of the four smallest of ten readings.
uint64_t MeanOfFourSmallest(uint64_t (&t)[10])
{
    uint64_t sum = 0;
    for (int k = 0; k < 4; ++k) {
        int best = 0;
        for (int i = 1; i < 10; ++i)
            if (t[i] < t[best])
                best = i;
        sum += t[best];
        t[best] = UINT64_MAX;
    }
    return sum / 4;
}

// Pins the calling thread to the first processor it may run on for the
// measurement, and puts its affinity back afterwards.
class TPinned {
public:
    TPinned()
    {
        FOk = pthread_getaffinity_np(pthread_self(), sizeof(FOld), &FOld) == 0;
        if (!FOk)
            return;
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
            if (CPU_ISSET(cpu, &FOld)) {
                cpu_set_t one;
                CPU_ZERO(&one);
                CPU_SET(cpu, &one);
                pthread_setaffinity_np(pthread_self(), sizeof(one), &one);
                break;
            }
    }
    ~TPinned()
    {
        if (FOk)
            pthread_setaffinity_np(pthread_self(), sizeof(FOld), &FOld);
    }

private:
    cpu_set_t FOld;
    bool FOk = false;
};

template <class C>
void Calibrate(C& container, std::atomic<int32_t>& take, std::atomic<int32_t>& put)
{
    TPinned pin;
    const TWeftSpinCounts c = container.Measure();
    take.store(c.Take, std::memory_order_relaxed);
    put.store(c.Put, std::memory_order_relaxed);
}

}  // namespace

TWeftSpinCounts WeftStackSpinCounts()
{
    return {gStackTake.load(std::memory_order_relaxed), gStackPut.load(std::memory_order_relaxed)};
}

TWeftSpinCounts WeftQueueSpinCounts()
{
    return {gQueueTake.load(std::memory_order_relaxed), gQueuePut.load(std::memory_order_relaxed)};
}

void TWeftSpinBackoff::Wait()
{
    if (FPause <= FLimit) {
        for (int32_t i = 0; i < FPause; ++i)
            CpuRelax();
        FPause *= 2;
    } else {
        OsYield();
        FPause = 1;
    }
}

void InitializeTimingInfo()
{
    TWeftBaseBoundedStack stack(10, 4);
    TWeftBaseBoundedQueue queue(10, 4);
}

// --- Stack ------------------------------------------------------------------------

TWeftBaseBoundedStack::~TWeftBaseBoundedStack() = default;

void TWeftBaseBoundedStack::Initialize(int numElements, int elementSize)
{
    WeftAssert(numElements > 0, "TWeftBaseBoundedStack.Initialize: numElements must be positive");
    WeftAssert(elementSize > 0, "TWeftBaseBoundedStack.Initialize: elementSize must be positive");
    obsElementSize = elementSize;
    obsNumElements = numElements;
    obsLinkSize = size_t(RoundUpTo(elementSize, 8));
    obsDataBuffer = std::make_unique<std::byte[]>(obsLinkSize * size_t(numElements));
    obsNext = std::make_unique<std::atomic<uint32_t>[]>(size_t(numElements));
    // Every link on the free chain, in address order.
    for (int i = 0; i < numElements; ++i)
        obsNext[i].store(i + 1 < numElements ? uint32_t(i + 2) : 0, std::memory_order_relaxed);
    obsPublicChain.store(0, std::memory_order_relaxed);
    obsRecycleChain.store(TWeftTaggedWord::Pack(1, 0), std::memory_order_release);
    std::call_once(gStackOnce, [] {
        TWeftBaseBoundedStack probe;
        probe.obsElementSize = 4;
        probe.obsNumElements = 10;
        probe.obsLinkSize = 8;
        probe.obsDataBuffer = std::make_unique<std::byte[]>(80);
        probe.obsNext = std::make_unique<std::atomic<uint32_t>[]>(10);
        for (int i = 0; i < 10; ++i)
            probe.obsNext[i].store(i + 1 < 10 ? uint32_t(i + 2) : 0);
        probe.obsRecycleChain.store(TWeftTaggedWord::Pack(1, 0));
        Calibrate(probe, gStackTake, gStackPut);
    });
}

int32_t TWeftBaseBoundedStack::PopLink(THead& head)
{
    TWeftSpinBackoff backoff(WeftStackSpinCounts().Take);
    uint64_t h = head.load(std::memory_order_acquire);
    for (;;) {
        const uint32_t top = TWeftTaggedWord::DataOf(h);
        if (top == 0)
            return -1;
        // The link may be taken and reused meanwhile; then the tag has moved
        // on and the exchange fails, whatever this read gave.
        const uint32_t next = obsNext[top - 1].load(std::memory_order_relaxed);
        const uint64_t nh = TWeftTaggedWord::Pack(next, TWeftTaggedWord::ReferenceOf(h) + 1);
        if (head.compare_exchange_weak(h, nh, std::memory_order_acq_rel, std::memory_order_acquire))
            return int32_t(top - 1);
        backoff.Wait();
    }
}

void TWeftBaseBoundedStack::PushLink(THead& head, int32_t link)
{
    TWeftSpinBackoff backoff(WeftStackSpinCounts().Put);
    uint64_t h = head.load(std::memory_order_relaxed);
    for (;;) {
        obsNext[link].store(TWeftTaggedWord::DataOf(h), std::memory_order_relaxed);
        const uint64_t nh = TWeftTaggedWord::Pack(uint32_t(link + 1), TWeftTaggedWord::ReferenceOf(h) + 1);
        if (head.compare_exchange_weak(h, nh, std::memory_order_release, std::memory_order_relaxed))
            return;
        backoff.Wait();
    }
}

bool TWeftBaseBoundedStack::Push(const void* value)
{
    const int32_t link = PopLink(obsRecycleChain);
    if (link < 0)
        return false;
    std::memcpy(Data(link), value, size_t(obsElementSize));
    PushLink(obsPublicChain, link);
    return true;
}

bool TWeftBaseBoundedStack::Pop(void* value)
{
    const int32_t link = PopLink(obsPublicChain);
    if (link < 0)
        return false;
    std::memcpy(value, Data(link), size_t(obsElementSize));
    PushLink(obsRecycleChain, link);
    return true;
}

void TWeftBaseBoundedStack::Empty()
{
    for (int32_t link; (link = PopLink(obsPublicChain)) >= 0;)
        PushLink(obsRecycleChain, link);
}

bool TWeftBaseBoundedStack::IsEmpty() const
{
    return TWeftTaggedWord::DataOf(obsPublicChain.load(std::memory_order_acquire)) == 0;
}

bool TWeftBaseBoundedStack::IsFull() const
{
    return TWeftTaggedWord::DataOf(obsRecycleChain.load(std::memory_order_acquire)) == 0;
}

TWeftSpinCounts TWeftBaseBoundedStack::Measure()
{
    uint64_t take[10], put[10];
    for (int i = 0; i < 10; ++i) {
        OsYield();
        uint64_t t0 = GetCPUTimeStamp();
        const int32_t link = PopLink(obsRecycleChain);
        uint64_t t1 = GetCPUTimeStamp();
        if (link >= 0)
            PushLink(obsRecycleChain, link);
        uint64_t t2 = GetCPUTimeStamp();
        take[i] = t1 - t0;
        put[i] = t2 - t1;
    }
    return {Clamp(MeanOfFourSmallest(take)), Clamp(MeanOfFourSmallest(put))};
}

// --- Queue ------------------------------------------------------------------------

TWeftBaseBoundedQueue::~TWeftBaseBoundedQueue() = default;

void TWeftBaseBoundedQueue::Initialize(int numElements, int elementSize)
{
    WeftAssert(numElements > 0, "TWeftBaseBoundedQueue.Initialize: numElements must be positive");
    WeftAssert(elementSize > 0, "TWeftBaseBoundedQueue.Initialize: elementSize must be positive");
    obqElementSize = elementSize;
    obqNumElements = numElements;
    obqCellSize = size_t(RoundUpTo(8 + elementSize, 8));
    obqMask = (uint64_t(numElements) & uint64_t(numElements - 1)) == 0 ? uint64_t(numElements - 1) : 0;
    if (numElements == 1)
        obqMask = 0;  // pos % 1; a mask of 0 would read as "not a power of two" anyway
    obqDataBuffer = std::make_unique<std::byte[]>(obqCellSize * size_t(numElements));
    for (int i = 0; i < numElements; ++i)
        new (obqDataBuffer.get() + size_t(i) * obqCellSize) TCell{2 * uint64_t(i)};
    obqEnqueuePos.store(0, std::memory_order_relaxed);
    obqDequeuePos.store(0, std::memory_order_release);
    std::call_once(gQueueOnce, [] {
        TWeftBaseBoundedQueue probe;
        probe.obqElementSize = 4;
        probe.obqNumElements = 10;
        probe.obqCellSize = 16;
        probe.obqDataBuffer = std::make_unique<std::byte[]>(160);
        for (int i = 0; i < 10; ++i)
            new (probe.obqDataBuffer.get() + size_t(i) * 16) TCell{2 * uint64_t(i)};
        Calibrate(probe, gQueueTake, gQueuePut);
    });
}

void TWeftBaseBoundedQueue::Empty()
{
    std::unique_ptr<std::byte[]> scratch = std::make_unique<std::byte[]>(size_t(obqElementSize));
    while (Dequeue(scratch.get())) {
    }
}

bool TWeftBaseBoundedQueue::IsEmpty() const
{
    return obqDequeuePos.load(std::memory_order_acquire) >= obqEnqueuePos.load(std::memory_order_acquire);
}

bool TWeftBaseBoundedQueue::IsFull() const
{
    const uint64_t d = obqDequeuePos.load(std::memory_order_acquire);
    return obqEnqueuePos.load(std::memory_order_acquire) - d >= uint64_t(obqNumElements);
}

int TWeftBaseBoundedQueue::Count() const
{
    const uint64_t d = obqDequeuePos.load(std::memory_order_acquire);
    const uint64_t e = obqEnqueuePos.load(std::memory_order_acquire);
    return e > d ? int(e - d) : 0;
}

TWeftSpinCounts TWeftBaseBoundedQueue::Measure()
{
    uint64_t take[10], put[10];
    uint32_t v = 0;
    for (int i = 0; i < 10; ++i) {
        OsYield();
        uint64_t t0 = GetCPUTimeStamp();
        Enqueue(&v);
        uint64_t t1 = GetCPUTimeStamp();
        Dequeue(&v);
        uint64_t t2 = GetCPUTimeStamp();
        put[i] = t1 - t0;
        take[i] = t2 - t1;
    }
    return {Clamp(MeanOfFourSmallest(take)), Clamp(MeanOfFourSmallest(put))};
}

// --- Observable queue ----------------------------------------------------------------

namespace {
int Threshold(int numElements, double factor)
{
    const int n = int(std::nearbyint(double(numElements) * factor));
    return n >= numElements ? numElements - 1 : n;
}
}  // namespace

TWeftBoundedQueue::TWeftBoundedQueue(int numElements, int elementSize, double partlyEmptyLoadFactor,
                                     double almostFullLoadFactor)
    : oqAlmostFullCount(Threshold(numElements, almostFullLoadFactor)),
      oqContainerSubject(std::make_unique<TWeftContainerSubject>()),
      oqPartlyEmptyCount(Threshold(numElements, partlyEmptyLoadFactor))
{
    Initialize(numElements, elementSize);
}

TWeftBoundedQueue::~TWeftBoundedQueue()
{
    oqContainerSubject.reset();
}

void TWeftBoundedQueue::Empty()
{
    std::unique_ptr<std::byte[]> scratch = std::make_unique<std::byte[]>(size_t(ElementSize()));
    while (Dequeue(scratch.get())) {
    }
}

void TWeftBoundedQueue::Inserted()
{
    const int n = oqInQueueCount.Increment();
    oqContainerSubject->Notify(coiNotifyOnAllInserts);
    if (n >= oqAlmostFullCount)
        oqContainerSubject->NotifyOnce(coiNotifyOnAlmostFull);
}

void TWeftBoundedQueue::Removed()
{
    const int n = oqInQueueCount.Decrement();
    oqContainerSubject->Notify(coiNotifyOnAllRemoves);
    if (n <= oqPartlyEmptyCount)
        oqContainerSubject->NotifyOnce(coiNotifyOnPartlyEmpty);
}
