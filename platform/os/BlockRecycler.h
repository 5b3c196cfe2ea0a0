#pragma once
// Small memory blocks kept for reuse, for objects that one thread makes and
// another frees at a high rate (a task is made by its owner and released by
// the pool thread that ran it). The general heap serves such traffic through
// one arena lock that every freeing thread fights for; here each thread
// keeps its own free blocks per size class and trades them with the others
// in batches under a lock taken once per batch.
//
// Blocks up to CRecycledMaxSize bytes are recycled (sizes rounded up to
// 64-byte classes); larger requests go to the general heap. Freed blocks are
// kept, up to a bound per class, for the life of the process.
//
//   auto p = std::allocate_shared<TThing>(TRecyclingAllocator<TThing>(), args...);

#include <cstddef>
#include <new>

constexpr std::size_t CRecycledMaxSize = 1024;

void* RecycledAllocate(std::size_t size);
void RecycledFree(void* block, std::size_t size) noexcept;

template <class T>
struct TRecyclingAllocator {
    using value_type = T;
    TRecyclingAllocator() noexcept = default;
    template <class U>
    TRecyclingAllocator(const TRecyclingAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t n)
    {
        static_assert(alignof(T) <= alignof(std::max_align_t), "over-aligned types are not recycled");
        return static_cast<T*>(RecycledAllocate(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { RecycledFree(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const TRecyclingAllocator<U>&) const noexcept
    {
        return true;
    }
};
