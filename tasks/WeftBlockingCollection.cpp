#include "tasks/WeftBlockingCollection.h"

#include "tasks/OsWin32.h"

#include <array>
#include <sched.h>
#include <span>

namespace {

class TWeftBlockingCollectionEnumerator final : public IWeftBlockingCollectionEnumerator {
public:
    explicit TWeftBlockingCollectionEnumerator(std::shared_ptr<IWeftBlockingCollection> collection)
        : obceCollection(std::move(collection))
    {
    }
    const TWeftValue& GetCurrent() const override { return obceValue; }
    bool MoveNext() override { return obceCollection->Take(obceValue); }
    bool TryTake(TWeftValue& value, DWORD timeout_ms) override { return obceCollection->TryTake(value, timeout_ms); }

private:
    std::shared_ptr<IWeftBlockingCollection> obceCollection;
    TWeftValue obceValue;
};

void CheckedSet(const THandle& h)
{
    if (!SetEvent(h))
        throw EOSError(QStringLiteral("SetEvent failed, error %1").arg(GetLastError()));
}

}  // namespace

TWeftBlockingCollection::TWeftBlockingCollection(int numProducersConsumers)
    : obcCompletedSignal(CreateEvent(true, false)),
      obcNotOverflow(CreateEvent(true, true)),
      obcObserver(CreateContainerWindowsEventObserver())
{
    if (numProducersConsumers > 0)
        obcResourceCount = CreateResourceCount(numProducersConsumers);
}

TWeftBlockingCollection::~TWeftBlockingCollection() = default;

bool TWeftBlockingCollection::IsCompleted() const
{
    return (obcAddWord.load(std::memory_order_acquire) & CCompletedFlag) != 0;
}

bool TWeftBlockingCollection::TryAdd(const TWeftValue& value)
{
    // The low half of the add word counts adds in progress (and holds the
    // completed flag), the high half counts finished adds.
    struct TAddCount {
        std::atomic<uint64_t>& W;
        bool Held = true;
        ~TAddCount()
        {
            if (Held)
                W.fetch_sub(1, std::memory_order_acq_rel);
        }
    } addCount{obcAddWord};
    if (obcAddWord.fetch_add(1, std::memory_order_acq_rel) & CCompletedFlag)
        return false;
    // Written once: the flag shares its line with what every caller reads.
    if (!obcAccessed.load(std::memory_order_relaxed))
        obcAccessed.store(true, std::memory_order_release);
    if (obcThrottling && GetApproxCount() >= obcHighWaterMark) {
        if (!ResetEvent(obcNotOverflow))
            throw EOSError(QStringLiteral("ResetEvent failed, error %1").arg(GetLastError()));
        if (GetApproxCount() >= obcHighWaterMark) {
            // Not counted as an add in progress while waiting, so that
            // CompleteAdding is not held up by this producer.
            obcAddWord.fetch_sub(1, std::memory_order_acq_rel);
            addCount.Held = false;
            const DWORD r = OsWaitForTwoObjects(obcCompletedSignal, obcNotOverflow, false, INFINITE);
            addCount.Held = true;
            if (obcAddWord.fetch_add(1, std::memory_order_acq_rel) & CCompletedFlag)
                return false;
            if (r == WAIT_OBJECT_0)
                return false;
        }
    }
    obcCollection.Enqueue(value);
    // One update ends the add and counts it. It is also a full barrier
    // between the item's publication and the look at the waiters, pairing
    // with the fence in TryTake: either the taker sees the item or this
    // producer sees the taker. Nobody waits most of the time, and then
    // waking costs nothing.
    addCount.Held = false;
    obcAddWord.fetch_add(CAddedUnit - 1, std::memory_order_seq_cst);
    if (obcWaiters.load(std::memory_order_seq_cst) > 0)
        obcObserver->Notify();
    return true;
}

void TWeftBlockingCollection::Add(const TWeftValue& value)
{
    if (!TryAdd(value))
        throw ECollectionCompleted(QStringLiteral("Adding to completed collection"));
}

bool TWeftBlockingCollection::Taken(TWeftValue& value)
{
    obcTaken.fetch_add(1, std::memory_order_relaxed);
    if (obcThrottling && GetApproxCount() <= obcLowWaterMark)
        CheckedSet(obcNotOverflow);
    if (obcReraiseExceptions.load(std::memory_order_relaxed) && value.IsException()) {
        std::exception_ptr e = value.DetachException();
        if (e)
            std::rethrow_exception(e);
    }
    return true;
}

bool TWeftBlockingCollection::TryTake(TWeftValue& value, DWORD timeout_ms)
{
    if (obcCollection.TryDequeue(value))
        return Taken(value);
    if (timeout_ms == 0 && !obcResourceCount)
        return false;
    // A short spin first: a producer often follows within microseconds, and
    // a kernel wait costs far more than that.
    if (!obcResourceCount && obcSpin.load(std::memory_order_relaxed)) {
        TWeftSpinBackoff backoff(WeftQueueSpinCounts().Take);
        for (int i = 0; i < 40 && !obcCompletedSeen.load(std::memory_order_relaxed); ++i) {
            backoff.Wait();
            if (obcCollection.TryDequeue(value))
                return Taken(value);
        }
    }
    // Then, when asked, a gentler look that lasts about a round trip.
    if (!obcResourceCount && obcWatch_us.load(std::memory_order_relaxed) > 0) {
        const uint64_t until = OsMonotonicUs() + obcWatch_us.load(std::memory_order_relaxed);
        for (int i = 1; !obcCompletedSeen.load(std::memory_order_relaxed); ++i) {
            CpuRelax();
            if (!obcCollection.IsEmpty() && obcCollection.TryDequeue(value))
                return Taken(value);
            if (i % 64 == 0) {
                if (OsMonotonicUs() >= until)
                    break;
                ::sched_yield();
            }
        }
    }
    struct TUnit {
        PWeftResourceCount R;
        ~TUnit()
        {
            if (R)
                R->Release();
        }
    } unit;
    if (obcResourceCount) {
        obcResourceCount->Allocate();
        unit.R = obcResourceCount;
    }
    const int64_t start = OsTimeGetTime64();
    const std::array<THandle, 3> handles{obcCompletedSignal, obcObserver->GetEvent(),
                                         obcResourceCount ? obcResourceCount->Handle() : nullptr};
    const std::span<const THandle> waitSet(handles.data(), obcResourceCount ? 3 : 2);
    struct TWaiting {
        std::atomic<int>& N;
        ~TWaiting() { N.fetch_sub(1, std::memory_order_seq_cst); }
    } waiting{obcWaiters};
    obcWaiters.fetch_add(1, std::memory_order_seq_cst);
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (obcCollection.TryDequeue(value))
        return Taken(value);
    for (;;) {
        DWORD wait = INFINITE;
        if (timeout_ms != INFINITE) {
            const int64_t left = start + int64_t(timeout_ms) - OsTimeGetTime64();
            wait = left > 0 ? DWORD(left) : 0;
        }
        const DWORD r = WaitForMultipleObjects(waitSet, false, wait);
        if (obcCollection.TryDequeue(value)) {
            // The insert event is auto-reset and shared: when more items
            // wait, pass the wake-up on to the next waiting taker.
            if (!obcCollection.IsEmpty())
                SetEvent(obcObserver->GetEvent());
            return Taken(value);
        }
        if (r == WAIT_OBJECT_0 + 1) {
            if (timeout_ms != INFINITE && OsTimeGetTime64() > start + int64_t(timeout_ms))
                return false;
            continue;
        }
        if (r == WAIT_OBJECT_0 + 2) {
            CompleteAdding();
            return false;
        }
        return false;
    }
}

TWeftValue TWeftBlockingCollection::Next()
{
    TWeftValue v;
    if (!Take(v))
        throw ECollectionCompleted(QStringLiteral("Collection is empty"));
    return v;
}

void TWeftBlockingCollection::CompleteAdding()
{
    TWeftSpinBackoff backoff(64);
    while (!IsCompleted()) {
        uint64_t w = obcAddWord.load(std::memory_order_acquire);
        if ((w & CInProgressMask) == 0 &&
            obcAddWord.compare_exchange_strong(w, w | CCompletedFlag, std::memory_order_acq_rel)) {
            obcCompletedSeen.store(true, std::memory_order_relaxed);
            CheckedSet(obcCompletedSignal);
            return;
        }
        backoff.Wait();
    }
}

void TWeftBlockingCollection::SetThrottling(int highWaterMark, int lowWaterMark)
{
    if (obcAccessed.load(std::memory_order_acquire))
        throw Exception(QStringLiteral("Throttling cannot be set once the blocking collection has been used"));
    WeftAssert(highWaterMark >= lowWaterMark,
               "TWeftBlockingCollection.SetThrottling: high water mark below low water mark");
    obcHighWaterMark = highWaterMark;
    obcLowWaterMark = lowWaterMark;
    obcThrottling = true;
}

std::shared_ptr<IWeftBlockingCollectionEnumerator> TWeftBlockingCollection::GetEnumerator()
{
    return std::make_shared<TWeftBlockingCollectionEnumerator>(shared_from_this());
}

PWeftBlockingCollection CreateBlockingCollection(int numProducersConsumers)
{
    return std::make_shared<TWeftBlockingCollection>(numProducersConsumers);
}
