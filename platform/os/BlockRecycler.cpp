#include "platform/os/BlockRecycler.h"

#include <mutex>
#include <vector>

namespace {

constexpr std::size_t CClassSize = 64;
constexpr std::size_t CClasses = CRecycledMaxSize / CClassSize;
constexpr int CBatch = 32;
constexpr int CLocalMax = 2 * CBatch;
// Per class; beyond it freed blocks go back to the heap.
constexpr std::size_t CDepotMaxBatches = 256;

struct TFreeBlock {
    TFreeBlock* Next;
};

// Whole batches traded between threads.
struct TDepot {
    std::mutex Lock;
    std::vector<TFreeBlock*> Batches[CClasses];
};

TDepot& Depot()
{
    // Never destroyed: threads may hand back blocks during the process's end.
    static TDepot* depot = new TDepot;
    return *depot;
}

std::size_t ClassOf(std::size_t size)
{
    return size == 0 ? 0 : (size - 1) / CClassSize;
}

void* HeapBlock(std::size_t cls)
{
    return ::operator new((cls + 1) * CClassSize);
}

void FreeChain(TFreeBlock* chain) noexcept
{
    while (chain) {
        TFreeBlock* next = chain->Next;
        ::operator delete(chain);
        chain = next;
    }
}

// Plain data: readable also while the thread's cache is being destroyed.
thread_local bool tCacheGone = false;

struct TLocalCache {
    TFreeBlock* Head[CClasses] = {};
    int Count[CClasses] = {};

    ~TLocalCache()
    {
        tCacheGone = true;
        for (std::size_t c = 0; c < CClasses; ++c) {
            while (Count[c] >= CBatch)
                GiveBatch(c);
            FreeChain(Head[c]);
            Head[c] = nullptr;
            Count[c] = 0;
        }
    }

    // Moves CBatch blocks from the front of the list to the depot.
    void GiveBatch(std::size_t c) noexcept
    {
        TFreeBlock* first = Head[c];
        TFreeBlock* last = first;
        for (int i = 1; i < CBatch; ++i)
            last = last->Next;
        Head[c] = last->Next;
        last->Next = nullptr;
        Count[c] -= CBatch;
        TDepot& d = Depot();
        {
            std::lock_guard lock(d.Lock);
            if (d.Batches[c].size() < CDepotMaxBatches) {
                try {
                    d.Batches[c].push_back(first);
                    return;
                } catch (...) {
                }
            }
        }
        FreeChain(first);
    }

    bool TakeBatch(std::size_t c)
    {
        TDepot& d = Depot();
        std::lock_guard lock(d.Lock);
        if (d.Batches[c].empty())
            return false;
        Head[c] = d.Batches[c].back();
        d.Batches[c].pop_back();
        Count[c] = CBatch;
        return true;
    }
};

thread_local TLocalCache tCache;

}  // namespace

void* RecycledAllocate(std::size_t size)
{
    if (size > CRecycledMaxSize)
        return ::operator new(size);
    const std::size_t c = ClassOf(size);
    if (tCacheGone)
        return HeapBlock(c);
    TLocalCache& cache = tCache;
    if (!cache.Head[c] && !cache.TakeBatch(c))
        return HeapBlock(c);
    TFreeBlock* b = cache.Head[c];
    cache.Head[c] = b->Next;
    --cache.Count[c];
    return b;
}

void RecycledFree(void* block, std::size_t size) noexcept
{
    if (!block)
        return;
    if (size > CRecycledMaxSize || tCacheGone) {
        ::operator delete(block);
        return;
    }
    const std::size_t c = ClassOf(size);
    TLocalCache& cache = tCache;
    auto* b = static_cast<TFreeBlock*>(block);
    b->Next = cache.Head[c];
    cache.Head[c] = b;
    if (++cache.Count[c] > CLocalMax)
        cache.GiveBatch(c);
}
