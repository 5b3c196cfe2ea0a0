#pragma once
// What feeds the workers of the parallel ForEach loop. A source provider
// cuts one source (an integer range, a blocking collection, a value
// enumerator) into packages of items. A data manager gives every worker a
// local queue holding one package at a time, decides how big the worker's
// next package is, lets a worker whose source ran dry steal half of another
// worker's package, and, when results must keep the source order, collects
// each worker's results per package in output buffers and passes them on
// strictly in source order.
//
// Every operation may be called from any worker thread at once.
//
//   auto provider = CreateSourceProvider(1, 1000, 1);
//   auto manager = CreateDataManager(*provider, numWorkers, {});
//   // in each worker:
//   auto queue = manager->CreateLocalQueue();
//   TWeftValue v;
//   while (queue->GetNext(v)) Use(v);

#include "tasks/WeftBlockingCollection.h"
#include "tasks/WeftQueue.h"
#include "tasks/WeftSync.h"
#include "tasks/WeftValue.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

struct TWeftPositionRange {
    int64_t First = 0;
    int64_t Last = 0;
    static TWeftPositionRange Empty() { return {}; }
};

enum TWeftSourceProviderCapability : uint32_t {
    spcCountable = 1,  // the number of items is known
    spcFast = 2,       // a package of any size is cut at no cost
    spcDataLimit = 4   // a package holds at most a fixed number of items
};
using TWeftSourceProviderCapabilities = uint32_t;

enum TWeftDataManagerOption : uint32_t { dmoPreserveOrder = 1 };
using TWeftDataManagerOptions = uint32_t;

class TWeftLocalQueue;
class TWeftOutputBuffer;

class TWeftDataPackage {
public:
    virtual ~TWeftDataPackage() = default;
    virtual bool GetNext(TWeftValue& value) = 0;
    virtual bool GetNext(int64_t& position, TWeftValue& value) = 0;
    // The next items as integers first, first+step, ... last, without a
    // value per item. Integer packages hand out the whole batch claimed in
    // one go; others one item at a time, converted to an integer.
    virtual bool GetNextBlock(int64_t& first, int64_t& last, int32_t& step);
    // Moves part of this package into the given empty one (a thief's).
    virtual bool Split(TWeftDataPackage& package) = 0;
};

class TWeftDataPackageBase : public TWeftDataPackage {
public:
    uint32_t dpbGeneration = 0;      // times the package was refilled
    TWeftPositionRange dpbRange;     // positions of the current contents
    TWeftLocalQueue* dpbQueue = nullptr;
};

// Values low, low+step, ... high. The next value is taken by one atomic
// add, so the owner and a thief may take from one package at once.
class TWeftIntegerDataPackage final : public TWeftDataPackageBase {
public:
    bool GetNext(TWeftValue& value) override;
    bool GetNext(int64_t& position, TWeftValue& value) override;
    bool GetNextBlock(int64_t& first, int64_t& last, int32_t& step) override;
    bool Split(TWeftDataPackage& package) override;
    // Owner thread only (its own package).
    void Fill(int64_t low, int64_t high, int32_t step, const TWeftPositionRange& range);

private:
    bool Take(int64_t& v);

    // Values the owner claimed ahead with one atomic add (owner only).
    int64_t idpLocalNext = 1;
    int64_t idpLocalLast = 0;
    std::mutex idpLock;  // between a refill and a thief's split
    int64_t idpFirst = 0;
    int64_t idpHigh = 0;
    int64_t idpHighSign = 0;
    alignas(64) std::atomic<int64_t> idpLow{0};
    int32_t idpSign = 1;
    int32_t idpStep = 0;  // 0 while never filled
    int32_t idpStepAbs = 0;
};

class TWeftValueEnumeratorDataPackage final : public TWeftDataPackageBase {
public:
    static constexpr int CSizeLimit = 10240;
    TWeftValueEnumeratorDataPackage() : vedpDataQueue(65536, 4) {}
    void Add(const TWeftValue& value);
    bool GetNext(TWeftValue& value) override;
    bool GetNext(int64_t& position, TWeftValue& value) override;
    // Empties the count, sets the position; the size actually allowed.
    int Prepare(int dataCount, int64_t position);
    bool Split(TWeftDataPackage& package) override;

private:
    std::atomic<int32_t> vedpApproxCount{0};
    TWeftBaseQueue vedpDataQueue;
    int64_t vedpPosition = 0;
};

class TWeftSourceProvider {
public:
    virtual ~TWeftSourceProvider() = default;
    virtual int64_t Count() = 0;
    virtual std::unique_ptr<TWeftDataPackage> CreateDataPackage() = 0;
    virtual TWeftSourceProviderCapabilities GetCapabilities() = 0;
    virtual bool GetPackage(int32_t dataCount, TWeftDataPackage& package) = 0;
    virtual int32_t GetPackageSizeLimit() = 0;
};

class TWeftSourceProviderBase : public TWeftSourceProvider {
public:
    bool spbStorePositions = false;
};

class TWeftIntegerRangeProvider final : public TWeftSourceProviderBase {
public:
    TWeftIntegerRangeProvider(int32_t low, int32_t high, int32_t step);
    int64_t Count() override;
    std::unique_ptr<TWeftDataPackage> CreateDataPackage() override;
    TWeftSourceProviderCapabilities GetCapabilities() override { return spcCountable | spcFast; }
    bool GetPackage(int32_t dataCount, TWeftDataPackage& package) override;
    // Raises "No limit for TWeftIntegerRangeProvider packages".
    int32_t GetPackageSizeLimit() override;

private:
    static int64_t CountOf(int64_t low, int64_t high, int64_t step);
    std::atomic<int64_t> irpCount{0};
    int64_t irpHigh;
    TWeftCS irpLock;
    int64_t irpLow;
    int64_t irpPosition = 0;
    int32_t irpStep;
};

// Takes from a blocking collection: a package's first take waits until an
// item arrives or the collection is completed, the rest take only what is
// there already.
class TWeftValueEnumeratorProvider final : public TWeftSourceProviderBase {
public:
    explicit TWeftValueEnumeratorProvider(PWeftBlockingCollection source);
    // Raises "IWeftValueEnumerable cannot be counted".
    int64_t Count() override;
    std::unique_ptr<TWeftDataPackage> CreateDataPackage() override;
    TWeftSourceProviderCapabilities GetCapabilities() override { return spcDataLimit; }
    bool GetPackage(int32_t dataCount, TWeftDataPackage& package) override;
    int32_t GetPackageSizeLimit() override { return TWeftValueEnumeratorDataPackage::CSizeLimit; }

private:
    PWeftBlockingCollection vepEnumerator;
    TWeftCS vepEnumLock;
    int64_t vepPosition = 0;
};

// Over a value enumerator that is not thread-safe (always used under the
// lock). The enumerator is not owned.
class TWeftEnumeratorProvider final : public TWeftSourceProviderBase {
public:
    explicit TWeftEnumeratorProvider(TWeftValueEnumerator* enumerator);
    // Raises "IEnumerable cannot be counted".
    int64_t Count() override;
    std::unique_ptr<TWeftDataPackage> CreateDataPackage() override;
    TWeftSourceProviderCapabilities GetCapabilities() override { return spcDataLimit; }
    bool GetPackage(int32_t dataCount, TWeftDataPackage& package) override;
    int32_t GetPackageSizeLimit() override { return TWeftValueEnumeratorDataPackage::CSizeLimit; }

private:
    TWeftValueEnumerator* epEnumeratorObj;
    TWeftCS epEnumLock;
    int64_t epPosition = 0;
};

class TWeftOutputBuffer {
public:
    virtual ~TWeftOutputBuffer() = default;
    // Raises "Adding to completed collection" into a full buffer.
    virtual void Submit(const TWeftValue& value, int64_t position) = 0;
};

class TWeftLocalQueue {
public:
    virtual ~TWeftLocalQueue() = default;
    virtual void AssociateBuffer(TWeftOutputBuffer* buffer) = 0;
    virtual bool GetNext(TWeftValue& value) = 0;
    virtual bool GetNext(int64_t& position, TWeftValue& value) = 0;
    // Unordered queues only; see TWeftDataPackage::GetNextBlock.
    virtual bool GetNextBlock(int64_t& first, int64_t& last, int32_t& step) = 0;
    virtual bool Split(TWeftDataPackage& package) = 0;
};

class TWeftDataManager {
public:
    virtual ~TWeftDataManager() = default;
    // The worker owns (and frees) its queue.
    virtual std::unique_ptr<TWeftLocalQueue> CreateLocalQueue() = 0;
    // Ordered output: a worker's buffer set, owned by the manager; hand it
    // back with ReleaseOutputBuffer (also after an exception).
    virtual TWeftOutputBuffer* AllocateOutputBuffer() = 0;
    virtual bool GetNext(TWeftDataPackage& package) = 0;
    virtual void ReleaseOutputBuffer(TWeftOutputBuffer* buffer) = 0;
    virtual void SetOutput(const PWeftBlockingCollection& queue) = 0;
};

class TWeftOutputBufferSet;
class TWeftOutputBufferImpl;
class TWeftLocalQueueImpl;

class TWeftBaseDataManager : public TWeftDataManager {
public:
    TWeftBaseDataManager(TWeftSourceProvider& sourceProvider, int numWorkers, TWeftDataManagerOptions options);
    ~TWeftBaseDataManager() override;

    std::unique_ptr<TWeftLocalQueue> CreateLocalQueue() override;
    TWeftOutputBuffer* AllocateOutputBuffer() override;
    bool GetNext(TWeftDataPackage& package) override;
    void ReleaseOutputBuffer(TWeftOutputBuffer* buffer) override;
    void SetOutput(const PWeftBlockingCollection& queue) override;

    TWeftSourceProvider& Provider() { return *dmSourceProvider_ref; }
    const std::vector<int32_t>& PacketSizes() const { return dmPacketSizes; }
    int32_t PacketSize(uint32_t generation) const;

protected:
    virtual bool GetNextFromProvider(TWeftDataPackage& package, uint32_t generation) = 0;

private:
    friend class TWeftLocalQueueImpl;
    friend class TWeftOutputBufferImpl;
    friend class TWeftOutputBufferSet;
    void InitializePacketSizes();
    bool StealPackage(TWeftDataPackage& package);
    void RemoveQueue(TWeftLocalQueueImpl* queue);
    void RegisterRange(TWeftOutputBufferImpl* buffer);
    // A buffer became full: passes every due buffer on to the output.
    void BufferFull(TWeftOutputBufferImpl* buffer);

    std::map<int64_t, TWeftOutputBufferImpl*> dmBufferRangeList;
    std::mutex dmBufferRangeLock;
    int64_t dmNextPosition = 0;
    int32_t dmNumWorkers;
    TWeftDataManagerOptions dmOptions;
    PWeftBlockingCollection dmOutputIntf;
    std::vector<int32_t> dmPacketSizes;
    std::vector<TWeftLocalQueueImpl*> dmQueueList;
    std::mutex dmQueueLock;
    TWeftSourceProvider* dmSourceProvider_ref;
    size_t dmStealIdx = 0;
    std::vector<std::unique_ptr<TWeftOutputBufferSet>> dmUnusedBuffers;
    std::mutex dmUnusedBuffersLock;
};

class TWeftCountableDataManager final : public TWeftBaseDataManager {
public:
    using TWeftBaseDataManager::TWeftBaseDataManager;

protected:
    bool GetNextFromProvider(TWeftDataPackage& package, uint32_t generation) override;
};

class TWeftHeuristicDataManager final : public TWeftBaseDataManager {
public:
    TWeftHeuristicDataManager(TWeftSourceProvider& sourceProvider, int numWorkers, TWeftDataManagerOptions options);
    int32_t EstimatedPackageSize() const { return hdmEstimatedPackageSize.load(); }

protected:
    bool GetNextFromProvider(TWeftDataPackage& package, uint32_t generation) override;

private:
    std::atomic<int32_t> hdmEstimatedPackageSize;
};

// The caller owns the provider.
std::unique_ptr<TWeftSourceProvider> CreateSourceProvider(int32_t low, int32_t high, int32_t step = 1);
std::unique_ptr<TWeftSourceProvider> CreateSourceProvider(const PWeftBlockingCollection& source);
std::unique_ptr<TWeftSourceProvider> CreateSourceProvider(TWeftValueEnumerator* enumerator);
// A countable provider gets the countable manager, others the heuristic
// one. The manager does not own the provider; numWorkers must be at least 1.
std::unique_ptr<TWeftDataManager> CreateDataManager(TWeftSourceProvider& sourceProvider, int numWorkers,
                                                    TWeftDataManagerOptions options);
