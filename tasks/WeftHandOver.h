#pragma once
// A first-in first-out queue from one producing thread to consumers that
// take turns (under a lock of their own). The producer takes no lock and
// makes no atomic read-modify-write: a thread that hands over items at a
// high rate does not fight its consumers for a cache line per item, and a
// thread that loses its processor holds up nobody. Items live in segments
// of CSegment slots; used-up segments go back to the producer for reuse (up
// to CKeptSegments), so neither a steady stream nor a repeated burst
// allocates.
//
// Push: the producing thread only. Take: one consumer at a time. Size: any
// thread (a snapshot).

#include <atomic>
#include <cstdint>
#include <utility>

template <class T, int CSegment = 256, int CKeptSegments = 512>
class TWeftHandOver {
public:
    TWeftHandOver() : FHead(new TSegment), FTail(FHead) {}
    ~TWeftHandOver()
    {
        for (TSegment* s = FHead; s;) {
            TSegment* next = s->Next.load(std::memory_order_acquire);
            delete s;
            s = next;
        }
        for (TSegment* s = FSpare.load(std::memory_order_acquire); s;) {
            TSegment* next = s->NextSpare;
            delete s;
            s = next;
        }
    }
    TWeftHandOver(const TWeftHandOver&) = delete;
    TWeftHandOver& operator=(const TWeftHandOver&) = delete;

    void Push(T&& item)
    {
        TSegment* s = FTail;
        if (FWritten == CSegment) {
            TSegment* next = PopSpare();
            if (next) {
                next->Written.store(0, std::memory_order_relaxed);
                next->Read = 0;
                next->Next.store(nullptr, std::memory_order_relaxed);
            } else {
                next = new TSegment;
            }
            s->Next.store(next, std::memory_order_release);
            FTail = s = next;
            FWritten = 0;
        }
        s->Slots[FWritten] = std::move(item);
        s->Written.store(++FWritten, std::memory_order_release);
        FPushed.store(FPushed.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }

    // The oldest item, if any.
    bool Take(T& out)
    {
        for (TSegment* s = FHead;;) {
            if (s->Read < s->Written.load(std::memory_order_acquire)) {
                out = std::move(s->Slots[s->Read]);
                s->Slots[s->Read] = T();
                ++s->Read;
                FTaken.store(FTaken.load(std::memory_order_relaxed) + 1, std::memory_order_release);
                return true;
            }
            if (s->Read < CSegment)
                return false;
            TSegment* next = s->Next.load(std::memory_order_acquire);
            if (!next)
                return false;
            // The producer has left this segment for good.
            FHead = next;
            PushSpare(s);
            s = next;
        }
    }

    int64_t Size() const
    {
        const uint64_t taken = FTaken.load(std::memory_order_acquire);
        const uint64_t pushed = FPushed.load(std::memory_order_acquire);
        return pushed > taken ? int64_t(pushed - taken) : 0;
    }
    // Counts every push; watched by idle consumers.
    uint64_t Pushed() const { return FPushed.load(std::memory_order_acquire); }

private:
    struct TSegment {
        T Slots[CSegment];
        std::atomic<int> Written{0};
        int Read = 0;  // consumer's
        std::atomic<TSegment*> Next{nullptr};
        TSegment* NextSpare = nullptr;
    };

    // The spare segments form a stack that only the producer pops, so a
    // segment cannot leave and come back while a pop looks at it.
    TSegment* PopSpare()
    {
        TSegment* top = FSpare.load(std::memory_order_acquire);
        while (top && !FSpare.compare_exchange_weak(top, top->NextSpare, std::memory_order_acquire,
                                                    std::memory_order_acquire)) {
        }
        if (top)
            FSpareCount.fetch_sub(1, std::memory_order_relaxed);
        return top;
    }
    // Consumer's side.
    void PushSpare(TSegment* s)
    {
        if (FSpareCount.load(std::memory_order_relaxed) >= CKeptSegments) {
            delete s;
            return;
        }
        FSpareCount.fetch_add(1, std::memory_order_relaxed);
        s->NextSpare = FSpare.load(std::memory_order_relaxed);
        while (!FSpare.compare_exchange_weak(s->NextSpare, s, std::memory_order_release, std::memory_order_relaxed)) {
        }
    }

    // Consumer's side.
    TSegment* FHead;
    alignas(64) std::atomic<uint64_t> FTaken{0};
    // Producer's side.
    alignas(64) TSegment* FTail;
    int FWritten = 0;
    std::atomic<uint64_t> FPushed{0};
    // Used-up segments for the producer to fill again.
    alignas(64) std::atomic<TSegment*> FSpare{nullptr};
    std::atomic<int> FSpareCount{0};
};
