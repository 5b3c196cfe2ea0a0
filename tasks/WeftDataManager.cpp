#include "tasks/WeftDataManager.h"

#include "tasks/OsWin32.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int32_t CMaxRate = INT32_MAX / 10;
constexpr int CMaxPacketSizes = 20;
constexpr int32_t COrderedLimit = 10240;

TWeftDataPackageBase& BaseOf(TWeftDataPackage& package)
{
    auto* base = dynamic_cast<TWeftDataPackageBase*>(&package);
    WeftAssert(base != nullptr, "TWeftDataManager: wrong package class");
    return *base;
}

}  // namespace

// --- Integer packages -------------------------------------------------------------------

void TWeftIntegerDataPackage::Fill(int64_t low, int64_t high, int32_t step, const TWeftPositionRange& range)
{
    std::lock_guard lock(idpLock);
    idpStep = step;
    idpSign = step > 0 ? 1 : -1;
    idpStepAbs = step > 0 ? step : -step;
    idpFirst = low;
    idpHigh = high;
    idpHighSign = high * idpSign;
    idpLocalNext = low;
    idpLocalLast = low - idpStep;  // nothing claimed ahead
    dpbRange = range;
    idpLow.store(low, std::memory_order_release);
}

bool TWeftIntegerDataPackage::Take(int64_t& v)
{
    if (idpStep == 0)
        return false;
    if (idpLocalNext * idpSign <= idpLocalLast * idpSign) {
        v = idpLocalNext;
        idpLocalNext += idpStep;
        return true;
    }
    // Cheap check first so an empty package is not driven further and further.
    const int64_t low = idpLow.load(std::memory_order_relaxed);
    if (low * idpSign > idpHighSign)
        return false;
    // Claim a small batch with one atomic add: at most a sixteenth of what
    // is left, so thieves still find nearly all of it.
    const int64_t left = (idpHighSign - low * idpSign) / idpStepAbs + 1;
    const int64_t batch = std::clamp<int64_t>(left / 16, 1, 64);
    v = idpLow.fetch_add(batch * idpStep, std::memory_order_acq_rel);
    if (v * idpSign > idpHighSign)
        return false;
    const int64_t got = std::min(batch, (idpHighSign - v * idpSign) / idpStepAbs + 1);
    idpLocalNext = v + idpStep;
    idpLocalLast = v + (got - 1) * idpStep;
    return true;
}

bool TWeftDataPackage::GetNextBlock(int64_t& first, int64_t& last, int32_t& step)
{
    TWeftValue value;
    if (!GetNext(value))
        return false;
    first = last = value.CastToInt64();
    step = 1;
    return true;
}

bool TWeftIntegerDataPackage::GetNextBlock(int64_t& first, int64_t& last, int32_t& step)
{
    // Take claims a batch ahead; the rest of it goes out with the first.
    if (!Take(first))
        return false;
    step = idpStep;
    last = first;
    if (idpLocalNext * idpSign <= idpLocalLast * idpSign) {
        last = idpLocalLast;
        idpLocalNext = idpLocalLast + idpStep;
    }
    return true;
}

bool TWeftIntegerDataPackage::GetNext(TWeftValue& value)
{
    int64_t v;
    if (!Take(v))
        return false;
    value.SetAsInt64(v);
    return true;
}

bool TWeftIntegerDataPackage::GetNext(int64_t& position, TWeftValue& value)
{
    int64_t v;
    if (!Take(v))
        return false;
    position = dpbRange.First + (v - idpFirst) / idpStep;
    value.SetAsInt64(v);
    return true;
}

bool TWeftIntegerDataPackage::Split(TWeftDataPackage& package)
{
    auto* thief = dynamic_cast<TWeftIntegerDataPackage*>(&package);
    WeftAssert(thief != nullptr, "TWeftIntegerDataPackage.Split: wrong package class");
    int64_t low, k;
    int32_t step;
    {
        std::lock_guard lock(idpLock);
        if (idpStep == 0)
            return false;
        step = idpStep;
        low = idpLow.load(std::memory_order_acquire);
        do {
            if (low * idpSign > idpHighSign)
                return false;
            // The lower half, rounded up; never more than what is left,
            // because the exchange fails when a take moved the low value.
            k = ((idpHigh - low) * idpSign / 2 + 1) / idpStepAbs;
            if (k <= 0)
                return false;
        } while (!idpLow.compare_exchange_weak(low, low + k * step, std::memory_order_acq_rel));
    }
    // Outside this package's lock: the thief's package has a lock of its
    // own, and two package locks are never held together.
    thief->Fill(low, low + (k - 1) * step, step, TWeftPositionRange::Empty());
    return true;
}

// --- Enumerator packages --------------------------------------------------------------------

void TWeftValueEnumeratorDataPackage::Add(const TWeftValue& value)
{
    vedpDataQueue.Enqueue(value);
    vedpApproxCount.fetch_add(1, std::memory_order_release);
}

bool TWeftValueEnumeratorDataPackage::GetNext(TWeftValue& value)
{
    if (!vedpDataQueue.TryDequeue(value))
        return false;
    vedpApproxCount.fetch_sub(1, std::memory_order_relaxed);
    return true;
}

bool TWeftValueEnumeratorDataPackage::GetNext(int64_t& position, TWeftValue& value)
{
    if (!GetNext(value))
        return false;
    position = vedpPosition++;
    return true;
}

int TWeftValueEnumeratorDataPackage::Prepare(int dataCount, int64_t position)
{
    vedpApproxCount.store(0, std::memory_order_relaxed);
    vedpPosition = position;
    return std::min(dataCount, CSizeLimit);
}

bool TWeftValueEnumeratorDataPackage::Split(TWeftDataPackage& package)
{
    auto* thief = dynamic_cast<TWeftValueEnumeratorDataPackage*>(&package);
    WeftAssert(thief != nullptr, "TWeftValueEnumeratorDataPackage.Split: wrong package class");
    const int n = thief->Prepare(vedpApproxCount.load(std::memory_order_acquire) / 2, 0);
    thief->dpbRange = TWeftPositionRange::Empty();
    int moved = 0;
    TWeftValue value;
    while (moved < n && GetNext(value)) {
        thief->Add(value);
        ++moved;
    }
    return moved > 0;
}

// --- Integer range provider -----------------------------------------------------------------

int64_t TWeftIntegerRangeProvider::CountOf(int64_t low, int64_t high, int64_t step)
{
    const int64_t n = step > 0 ? (high + step - low) / step : (low - high - step) / -step;
    return n > 0 ? n : 0;
}

TWeftIntegerRangeProvider::TWeftIntegerRangeProvider(int32_t low, int32_t high, int32_t step)
    : irpHigh(high), irpLow(low), irpStep(step)
{
    WeftAssert(step != 0, "TWeftIntegerRangeProvider: step must not be 0");
    irpCount.store(CountOf(low, high, step));
}

int64_t TWeftIntegerRangeProvider::Count()
{
    return irpCount.load(std::memory_order_acquire);
}

std::unique_ptr<TWeftDataPackage> TWeftIntegerRangeProvider::CreateDataPackage()
{
    return std::make_unique<TWeftIntegerDataPackage>();
}

bool TWeftIntegerRangeProvider::GetPackage(int32_t dataCount, TWeftDataPackage& package)
{
    WeftAssert(dataCount >= 0, "TWeftIntegerRangeProvider.GetPackage: negative data count");
    auto* pkg = dynamic_cast<TWeftIntegerDataPackage*>(&package);
    WeftAssert(pkg != nullptr, "TWeftIntegerRangeProvider.GetPackage: wrong package class");
    if (irpCount.load(std::memory_order_acquire) < 1 || dataCount == 0)
        return false;
    std::lock_guard lock(irpLock);
    const int64_t count = irpCount.load(std::memory_order_relaxed);
    if (count < 1)
        return false;
    const int64_t n = std::min<int64_t>(dataCount, count);
    const int64_t last = irpLow + (n - 1) * irpStep;
    pkg->Fill(irpLow, last, irpStep, TWeftPositionRange{irpPosition, irpPosition + n - 1});
    irpPosition += n;
    irpLow = last + irpStep;
    irpCount.store(CountOf(irpLow, irpHigh, irpStep), std::memory_order_release);
    return true;
}

int32_t TWeftIntegerRangeProvider::GetPackageSizeLimit()
{
    throw Exception(QStringLiteral("No limit for TWeftIntegerRangeProvider packages"));
}

// --- Value enumerator provider (blocking collection) -----------------------------------------

TWeftValueEnumeratorProvider::TWeftValueEnumeratorProvider(PWeftBlockingCollection source)
    : vepEnumerator(std::move(source))
{
}

int64_t TWeftValueEnumeratorProvider::Count()
{
    throw Exception(QStringLiteral("IWeftValueEnumerable cannot be counted"));
}

std::unique_ptr<TWeftDataPackage> TWeftValueEnumeratorProvider::CreateDataPackage()
{
    return std::make_unique<TWeftValueEnumeratorDataPackage>();
}

bool TWeftValueEnumeratorProvider::GetPackage(int32_t dataCount, TWeftDataPackage& package)
{
    WeftAssert(dataCount >= 0, "TWeftValueEnumeratorProvider.GetPackage: negative data count");
    auto* pkg = dynamic_cast<TWeftValueEnumeratorDataPackage*>(&package);
    WeftAssert(pkg != nullptr, "TWeftValueEnumeratorProvider.GetPackage: wrong package class");
    // The collection is safe to take from concurrently; only positions need
    // the takes of one package to be contiguous.
    std::unique_lock lock(vepEnumLock, std::defer_lock);
    if (spbStorePositions)
        lock.lock();
    const int n = pkg->Prepare(dataCount, vepPosition);
    int taken = 0;
    TWeftValue value;
    while (taken < n && vepEnumerator->TryTake(value, taken == 0 ? INFINITE : 0)) {
        pkg->Add(value);
        ++taken;
    }
    if (spbStorePositions && taken > 0) {
        pkg->dpbRange = TWeftPositionRange{vepPosition, vepPosition + taken - 1};
        vepPosition += taken;
    }
    return taken > 0;
}

// --- Enumerator provider --------------------------------------------------------------------

TWeftEnumeratorProvider::TWeftEnumeratorProvider(TWeftValueEnumerator* enumerator) : epEnumeratorObj(enumerator)
{
}

int64_t TWeftEnumeratorProvider::Count()
{
    throw Exception(QStringLiteral("IEnumerable cannot be counted"));
}

std::unique_ptr<TWeftDataPackage> TWeftEnumeratorProvider::CreateDataPackage()
{
    return std::make_unique<TWeftValueEnumeratorDataPackage>();
}

bool TWeftEnumeratorProvider::GetPackage(int32_t dataCount, TWeftDataPackage& package)
{
    WeftAssert(dataCount >= 0, "TWeftEnumeratorProvider.GetPackage: negative data count");
    auto* pkg = dynamic_cast<TWeftValueEnumeratorDataPackage*>(&package);
    WeftAssert(pkg != nullptr, "TWeftEnumeratorProvider.GetPackage: wrong package class");
    std::lock_guard lock(epEnumLock);
    const int n = pkg->Prepare(dataCount, epPosition);
    int taken = 0;
    while (taken < n && epEnumeratorObj->MoveNext()) {
        pkg->Add(epEnumeratorObj->GetCurrent());
        ++taken;
    }
    if (spbStorePositions && taken > 0)
        pkg->dpbRange = TWeftPositionRange{epPosition, epPosition + taken - 1};
    epPosition += taken;
    return taken > 0;
}

// --- Output buffers ---------------------------------------------------------------------------

class TWeftOutputBufferImpl final : public TWeftOutputBuffer {
public:
    void Submit(const TWeftValue& value, int64_t position) override
    {
        if (obiFull.load(std::memory_order_acquire))
            throw ECollectionCompleted(QStringLiteral("Adding to completed collection"));
        if (position < obiNextPosition)
            throw EAssertionFailed(QStringLiteral("%1 < %2").arg(position).arg(obiNextPosition));
        obiNextPosition = position + 1;
        obiBuffer.push_back(value);
    }
    void SetRange(const TWeftPositionRange& range)
    {
        obiRange = range;
        obiNextPosition = range.First;
        obiHasData = true;
        obiDataManager_ref->RegisterRange(this);
    }

    TWeftBaseDataManager* obiDataManager_ref = nullptr;
    TWeftOutputBufferSet* obiSet = nullptr;
    std::vector<TWeftValue> obiBuffer;
    bool obiFree = true;  // guarded by the set's lock
    std::atomic<bool> obiFull{false};
    bool obiHasData = false;  // owner worker only
    int64_t obiNextPosition = 0;
    TWeftPositionRange obiRange;
};

// Two buffers per worker: one collects the current package's results while
// the other may still wait for earlier packages to reach the output.
class TWeftOutputBufferSet final : public TWeftOutputBuffer {
public:
    explicit TWeftOutputBufferSet(TWeftBaseDataManager* manager)
    {
        for (auto& b : obsBuffers) {
            b.obiDataManager_ref = manager;
            b.obiSet = this;
        }
        Activate();
    }
    void Submit(const TWeftValue& value, int64_t position) override { obsActiveBuffer_ref->Submit(value, position); }
    // Waits until one of the buffers is free and makes it the active one.
    void Activate()
    {
        std::unique_lock lock(obsShareLock);
        obsFreed.wait(lock, [this] { return obsBuffers[0].obiFree || obsBuffers[1].obiFree; });
        obsActiveIndex = obsBuffers[0].obiFree ? 0 : 1;
        obsActiveBuffer_ref = &obsBuffers[obsActiveIndex];
        obsActiveBuffer_ref->obiFree = false;
    }
    // The active buffer is done: a buffer holding data goes to the manager,
    // an unused one returns to service at once.
    void MarkFull()
    {
        TWeftOutputBufferImpl* b = obsActiveBuffer_ref;
        if (!b)
            return;
        obsActiveBuffer_ref = nullptr;
        if (b->obiHasData) {
            b->obiHasData = false;
            b->obiDataManager_ref->BufferFull(b);
        } else {
            MakeFree(b);
        }
    }
    void MakeFree(TWeftOutputBufferImpl* b)
    {
        {
            std::lock_guard lock(obsShareLock);
            b->obiFree = true;
        }
        obsFreed.notify_all();
    }
    TWeftOutputBufferImpl* Active() { return obsActiveBuffer_ref; }

private:
    TWeftOutputBufferImpl* obsActiveBuffer_ref = nullptr;
    std::mutex obsShareLock;
    std::condition_variable obsFreed;
    TWeftOutputBufferImpl obsBuffers[2];
    int obsActiveIndex = 0;
};

// --- Local queues -----------------------------------------------------------------------------

class TWeftLocalQueueImpl final : public TWeftLocalQueue {
public:
    TWeftLocalQueueImpl(TWeftBaseDataManager* manager, std::unique_ptr<TWeftDataPackage> package)
        : lqiDataManager_ref(manager), lqiDataPackage(std::move(package))
    {
        BaseOf(*lqiDataPackage).dpbQueue = this;
    }
    ~TWeftLocalQueueImpl() override { lqiDataManager_ref->RemoveQueue(this); }

    void AssociateBuffer(TWeftOutputBuffer* buffer) override
    {
        lqiBufferSet = dynamic_cast<TWeftOutputBufferSet*>(buffer);
        WeftAssert(buffer == nullptr || lqiBufferSet != nullptr, "TWeftLocalQueue.AssociateBuffer: not a buffer set");
    }
    bool GetNext(TWeftValue& value) override
    {
        if (lqiDataPackage->GetNext(value))
            return true;
        WeftAssert(lqiBufferSet == nullptr, "TWeftLocalQueue.GetNext: ordered queue needs positions");
        // A thief may empty a freshly filled package; ask again then.
        while (lqiDataManager_ref->GetNext(*lqiDataPackage)) {
            if (lqiDataPackage->GetNext(value))
                return true;
        }
        return false;
    }
    bool GetNext(int64_t& position, TWeftValue& value) override
    {
        if (lqiDataPackage->GetNext(position, value))
            return true;
        WeftAssert(lqiBufferSet != nullptr, "TWeftLocalQueue.GetNext: no output buffer");
        lqiBufferSet->MarkFull();
        lqiBufferSet->Activate();
        while (lqiDataManager_ref->GetNext(*lqiDataPackage)) {
            if (lqiDataPackage->GetNext(position, value)) {
                lqiBufferSet->Active()->SetRange(BaseOf(*lqiDataPackage).dpbRange);
                return true;
            }
        }
        return false;
    }
    bool GetNextBlock(int64_t& first, int64_t& last, int32_t& step) override
    {
        if (lqiDataPackage->GetNextBlock(first, last, step))
            return true;
        WeftAssert(lqiBufferSet == nullptr, "TWeftLocalQueue.GetNext: ordered queue needs positions");
        while (lqiDataManager_ref->GetNext(*lqiDataPackage)) {
            if (lqiDataPackage->GetNextBlock(first, last, step))
                return true;
        }
        return false;
    }
    bool Split(TWeftDataPackage& package) override { return lqiDataPackage->Split(package); }
    TWeftDataPackage& Package() { return *lqiDataPackage; }

private:
    TWeftOutputBufferSet* lqiBufferSet = nullptr;
    TWeftBaseDataManager* lqiDataManager_ref;
    std::unique_ptr<TWeftDataPackage> lqiDataPackage;
};

// --- Data managers ------------------------------------------------------------------------------

TWeftBaseDataManager::TWeftBaseDataManager(TWeftSourceProvider& sourceProvider, int numWorkers,
                                           TWeftDataManagerOptions options)
    : dmNumWorkers(numWorkers), dmOptions(options), dmSourceProvider_ref(&sourceProvider)
{
    WeftAssert(numWorkers > 0, "TWeftDataManager: at least one worker is needed");
    if (auto* base = dynamic_cast<TWeftSourceProviderBase*>(&sourceProvider))
        base->spbStorePositions = (options & dmoPreserveOrder) != 0;
    InitializePacketSizes();
}

TWeftBaseDataManager::~TWeftBaseDataManager() = default;

void TWeftBaseDataManager::InitializePacketSizes()
{
    const TWeftSourceProviderCapabilities caps = dmSourceProvider_ref->GetCapabilities();
    const bool countable = (caps & spcCountable) != 0;
    const bool fast = (caps & spcFast) != 0;
    const bool ordered = (dmOptions & dmoPreserveOrder) != 0;
    if (countable && (dmNumWorkers == 1 || (fast && !ordered))) {
        const int64_t count = dmSourceProvider_ref->Count();
        const int64_t share = (count + dmNumWorkers - 1) / dmNumWorkers;
        dmPacketSizes = {int32_t(std::clamp<int64_t>(share, 1, INT32_MAX))};
        return;
    }
    const int64_t limit = fast ? (ordered ? COrderedLimit : INT32_MAX) : dmSourceProvider_ref->GetPackageSizeLimit();
    for (int i = 0; i < CMaxPacketSizes; ++i) {
        const double size = std::round(std::exp(2.0 * i * std::log(3.0)));
        if (size > double(limit))
            break;
        dmPacketSizes.push_back(int32_t(size));
    }
    if (dmPacketSizes.empty())
        dmPacketSizes.push_back(1);
}

int32_t TWeftBaseDataManager::PacketSize(uint32_t generation) const
{
    return dmPacketSizes[std::min<size_t>(generation, dmPacketSizes.size() - 1)];
}

std::unique_ptr<TWeftLocalQueue> TWeftBaseDataManager::CreateLocalQueue()
{
    auto queue = std::make_unique<TWeftLocalQueueImpl>(this, dmSourceProvider_ref->CreateDataPackage());
    std::lock_guard lock(dmQueueLock);
    dmQueueList.push_back(queue.get());
    return queue;
}

void TWeftBaseDataManager::RemoveQueue(TWeftLocalQueueImpl* queue)
{
    std::lock_guard lock(dmQueueLock);
    std::erase(dmQueueList, queue);
}

bool TWeftBaseDataManager::GetNext(TWeftDataPackage& package)
{
    TWeftDataPackageBase& base = BaseOf(package);
    const bool ok = GetNextFromProvider(package, base.dpbGeneration) || StealPackage(package);
    if (ok)
        ++base.dpbGeneration;
    return ok;
}

bool TWeftBaseDataManager::StealPackage(TWeftDataPackage& package)
{
    if (dmOptions & dmoPreserveOrder)
        return false;
    std::lock_guard lock(dmQueueLock);
    const size_t n = dmQueueList.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t idx = (dmStealIdx + i) % n;
        TWeftLocalQueueImpl* victim = dmQueueList[idx];
        if (&victim->Package() == &package)
            continue;
        if (victim->Split(package)) {
            dmStealIdx = (idx + 1) % n;
            return true;
        }
    }
    return false;
}

TWeftOutputBuffer* TWeftBaseDataManager::AllocateOutputBuffer()
{
    WeftAssert(dmOutputIntf != nullptr, "TWeftDataManager.AllocateOutputBuffer: no output set");
    auto set = std::make_unique<TWeftOutputBufferSet>(this);
    TWeftOutputBufferSet* result = set.get();
    std::lock_guard lock(dmUnusedBuffersLock);
    dmUnusedBuffers.push_back(std::move(set));
    return result;
}

void TWeftBaseDataManager::ReleaseOutputBuffer(TWeftOutputBuffer* buffer)
{
    // The set stays with the manager: its buffers may still wait for
    // earlier ranges to reach the output.
    if (auto* set = dynamic_cast<TWeftOutputBufferSet*>(buffer))
        set->MarkFull();
}

void TWeftBaseDataManager::SetOutput(const PWeftBlockingCollection& queue)
{
    dmOutputIntf = queue;
}

void TWeftBaseDataManager::RegisterRange(TWeftOutputBufferImpl* buffer)
{
    std::lock_guard lock(dmBufferRangeLock);
    const bool inserted = dmBufferRangeList.emplace(buffer->obiRange.First, buffer).second;
    WeftAssert(inserted, "TWeftDataManager: duplicate output range");
}

void TWeftBaseDataManager::BufferFull(TWeftOutputBufferImpl* buffer)
{
    std::vector<TWeftOutputBufferImpl*> freed;
    {
        std::lock_guard lock(dmBufferRangeLock);
        buffer->obiFull.store(true, std::memory_order_release);
        while (!dmBufferRangeList.empty()) {
            auto first = dmBufferRangeList.begin();
            TWeftOutputBufferImpl* b = first->second;
            if (first->first != dmNextPosition || !b->obiFull.load(std::memory_order_acquire))
                break;
            dmBufferRangeList.erase(first);
            dmNextPosition = b->obiRange.Last + 1;
            for (TWeftValue& v : b->obiBuffer)
                dmOutputIntf->Add(v);
            b->obiBuffer.clear();
            b->obiFull.store(false, std::memory_order_release);
            freed.push_back(b);
        }
    }
    for (TWeftOutputBufferImpl* b : freed)
        b->obiSet->MakeFree(b);
}

bool TWeftCountableDataManager::GetNextFromProvider(TWeftDataPackage& package, uint32_t generation)
{
    return Provider().GetPackage(PacketSize(generation), package);
}

TWeftHeuristicDataManager::TWeftHeuristicDataManager(TWeftSourceProvider& sourceProvider, int numWorkers,
                                                     TWeftDataManagerOptions options)
    : TWeftBaseDataManager(sourceProvider, numWorkers, options), hdmEstimatedPackageSize(PacketSizes().back())
{
}

bool TWeftHeuristicDataManager::GetNextFromProvider(TWeftDataPackage& package, uint32_t generation)
{
    const int32_t count = std::min(PacketSize(generation), hdmEstimatedPackageSize.load(std::memory_order_relaxed));
    const int64_t start = OsTimeGetTime64();
    const bool ok = Provider().GetPackage(count, package);
    if (ok) {
        const int64_t elapsed = OsTimeGetTime64() - start;
        const double rate = elapsed <= 0 ? double(CMaxRate)
                                         : std::min(std::round(double(count) / double(elapsed)), double(CMaxRate));
        // A quarter of the way toward what the source delivers in 10 ms.
        const double estimate = std::round(hdmEstimatedPackageSize.load(std::memory_order_relaxed) / 4.0 * 3.0 +
                                           rate / 4.0 * 10.0);
        hdmEstimatedPackageSize.store(int32_t(std::clamp(estimate, 1.0, double(INT32_MAX))),
                                      std::memory_order_relaxed);
    }
    return ok;
}

// --- Creation ----------------------------------------------------------------------------------

std::unique_ptr<TWeftSourceProvider> CreateSourceProvider(int32_t low, int32_t high, int32_t step)
{
    return std::make_unique<TWeftIntegerRangeProvider>(low, high, step);
}

std::unique_ptr<TWeftSourceProvider> CreateSourceProvider(const PWeftBlockingCollection& source)
{
    return std::make_unique<TWeftValueEnumeratorProvider>(source);
}

std::unique_ptr<TWeftSourceProvider> CreateSourceProvider(TWeftValueEnumerator* enumerator)
{
    return std::make_unique<TWeftEnumeratorProvider>(enumerator);
}

std::unique_ptr<TWeftDataManager> CreateDataManager(TWeftSourceProvider& sourceProvider, int numWorkers,
                                                    TWeftDataManagerOptions options)
{
    if (sourceProvider.GetCapabilities() & spcCountable)
        return std::make_unique<TWeftCountableDataManager>(sourceProvider, numWorkers, options);
    return std::make_unique<TWeftHeuristicDataManager>(sourceProvider, numWorkers, options);
}
