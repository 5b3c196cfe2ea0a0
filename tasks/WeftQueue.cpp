#include "tasks/WeftQueue.h"

#include <bit>
#include <cstring>
#include <new>

struct alignas(16) TWeftBaseQueue::TSlot {
    // A TWeftValue while the slot is filled; the block's count in the
    // header; the next block's sentinel in the end-of-list slot.
    alignas(8) std::byte Value[sizeof(TWeftValue)];
    std::atomic<uint8_t> Tag;
    uint16_t Offset;

    TWeftValue* Item() { return std::launder(reinterpret_cast<TWeftValue*>(Value)); }
    std::atomic<int32_t>* Count() { return std::launder(reinterpret_cast<std::atomic<int32_t>*>(Value)); }
    TSlot*& Link() { return *std::launder(reinterpret_cast<TSlot**>(Value)); }
};

namespace {

using TSlotPtr = uint64_t;
constexpr uint64_t CTagMask = 15;

template <class S>
uint64_t Word(S* slot, uint8_t tag)
{
    return reinterpret_cast<uint64_t>(slot) | tag;
}

template <class S>
S* SlotOf(uint64_t w)
{
    return reinterpret_cast<S*>(w & ~CTagMask);
}

uint8_t TagOf(uint64_t w)
{
    return uint8_t(w & CTagMask);
}

}  // namespace

uint8_t TWeftBaseQueue::FreshTag(const TSlot* slot) const
{
    const uintptr_t offset = (reinterpret_cast<uintptr_t>(slot) & (obcBlockAlign - 1)) / sizeof(TSlot);
    return offset == uintptr_t(obcNumSlots - 1) ? tagEndOfList : tagFree;
}

int TWeftBaseQueue::SlotSize()
{
    static_assert(alignof(TSlot) >= 16, "tags need four free address bits");
    return int(sizeof(TSlot));
}

TWeftBaseQueue::TWeftBaseQueue(int blockSize, int numCachedBlocks)
{
    // As many whole slots as fit in the block size, so that a block keeps
    // within the power-of-two boundary the size asks for.
    const int64_t size = int64_t(blockSize / SlotSize()) * SlotSize();
    if (size / SlotSize() > 65536)
        throw Exception(QStringLiteral("TWeftBaseQueue.Create: Maximum block size is %1").arg(65536 * SlotSize()));
    WeftAssert(size / SlotSize() >= 4, "TWeftBaseQueue.Create: a block must hold at least four slots");
    obcBlockSize = int(size);
    obcNumSlots = int(size / SlotSize());
    obcBlockAlign = std::bit_ceil(size_t(size));
    const int cached = numCachedBlocks > 0 ? numCachedBlocks : 1;
    obcMemStack.Initialize(cached, int(sizeof(TSlot*)));
    for (int i = 0; i < numCachedBlocks; ++i) {
        TSlot* b = NewBlock();
        WeftAssert(obcMemStack.Push(&b), "TWeftBaseQueue.Create: spare block refused");
    }
    // Initialise: the tail rests on the first block's sentinel, the head on
    // its first data slot.
    TSlot* first = AllocateBlock();
    obcTailPointer.store(Word(first + 1, tagSentinel), std::memory_order_relaxed);
    obcHeadPointer.store(Word(first + 2, first[2].Tag.load(std::memory_order_relaxed)), std::memory_order_release);
    obcCachedBlock = AllocateBlock();
}

TWeftBaseQueue::~TWeftBaseQueue()
{
    Cleanup();
}

TWeftBaseQueue::TSlot* TWeftBaseQueue::NewBlock()
{
    void* mem = ::operator new(size_t(obcBlockSize), std::align_val_t(obcBlockAlign));
    obcBlocksAllocated.fetch_add(1, std::memory_order_relaxed);
    TSlot* b = static_cast<TSlot*>(mem);
    PartitionBlock(b);
    return b;
}

void TWeftBaseQueue::PartitionBlock(TSlot* b)
{
    std::memset(static_cast<void*>(b), 0, size_t(obcBlockSize));
    const int n = obcNumSlots;
    for (int i = 0; i < n; ++i) {
        TSlot* s = new (b + i) TSlot;
        s->Offset = uint16_t(i);
        uint8_t tag = tagFree;
        if (i == 0)
            tag = tagHeader;
        else if (i == 1)
            tag = tagSentinel;
        else if (i == n - 1)
            tag = tagEndOfList;
        s->Tag.store(tag, std::memory_order_relaxed);
    }
    new (b[0].Value) std::atomic<int32_t>(n - 1);
    b[n - 1].Link() = nullptr;
    std::atomic_thread_fence(std::memory_order_release);
}

TWeftBaseQueue::TSlot* TWeftBaseQueue::AllocateBlock()
{
    TSlot* b = nullptr;
    if (obcMemStack.Pop(&b))
        return b;
    return NewBlock();
}

void TWeftBaseQueue::ReleaseBlock(TSlot* block, bool force)
{
    if (!force && !obcMemStack.IsFull()) {
        PartitionBlock(block);
        if (obcMemStack.Push(&block))
            return;
    }
    ::operator delete(static_cast<void*>(block), std::align_val_t(obcBlockAlign));
}

void TWeftBaseQueue::LowerCount(TSlot* slot)
{
    TSlot* block = slot - slot->Offset;
    if (block[0].Count()->fetch_sub(1, std::memory_order_acq_rel) == 1)
        ReleaseBlock(block, false);
}

void TWeftBaseQueue::Enqueue(TWeftValue&& value)
{
    TWeftSpinBackoff backoff(WeftQueueSpinCounts().Put);
    uint64_t h = obcHeadPointer.load(std::memory_order_acquire);
    for (;;) {
        TSlot* slot = SlotOf<TSlot>(h);
        const uint8_t tag = TagOf(h);
        if (tag == tagFree) {
            // One exchange claims the slot and lets the next producer in;
            // the next slot's tag follows from its place in the block, so
            // no slot is read before the claim.
            TSlot* next = slot + 1;
            if (obcHeadPointer.compare_exchange_strong(h, Word(next, FreshTag(next)), std::memory_order_acq_rel)) {
                new (slot->Value) TWeftValue(std::move(value));
                slot->Tag.store(tagAllocated, std::memory_order_release);
                return;
            }
            backoff.Wait();  // h holds the current word
            continue;
        }
        if (tag == tagEndOfList) {
            if (obcHeadPointer.compare_exchange_strong(h, Word(slot, tagExtending), std::memory_order_acq_rel)) {
                TSlot* block = AllocateBlock();
                new (block[2].Value) TWeftValue(std::move(value));
                block[2].Tag.store(tagAllocated, std::memory_order_relaxed);
                slot->Link() = block + 1;
                slot->Tag.store(tagBlockPointer, std::memory_order_release);
                uint64_t expected = Word(slot, tagExtending);
                const bool ok = obcHeadPointer.compare_exchange_strong(
                    expected, Word(block + 3, FreshTag(block + 3)),
                    std::memory_order_acq_rel);
                WeftAssert(ok, "TWeftBaseQueue.Enqueue: head moved while extending");
                // Prepare the next extension so it need not allocate.
                if (obcMemStack.IsEmpty()) {
                    TSlot* spare = NewBlock();
                    if (!obcMemStack.Push(&spare))
                        ::operator delete(static_cast<void*>(spare), std::align_val_t(obcBlockAlign));
                }
                return;
            }
            continue;
        }
        backoff.Wait();
        h = obcHeadPointer.load(std::memory_order_acquire);
    }
}

// With the tail claimed on a filled slot: moves the value out, then moves
// the tail on (or leaves the slot as the sentinel before an end-of-list
// slot that no producer has extended yet).
void TWeftBaseQueue::TakeItem(TSlot* slot, TWeftValue& value)
{
    TWeftValue* item = slot->Item();
    value = std::move(*item);
    item->~TWeftValue();
    slot->Tag.store(tagRemoving, std::memory_order_relaxed);  // consumed
    TSlot* next = slot + 1;
    const uint8_t nextTag = next->Tag.load(std::memory_order_acquire);
    uint64_t expected = Word(slot, tagRemoving);
    if (nextTag == tagEndOfList) {
        const bool ok =
            obcTailPointer.compare_exchange_strong(expected, Word(slot, tagSentinel), std::memory_order_acq_rel);
        WeftAssert(ok, "TWeftBaseQueue.TryDequeue: tail moved while removing");
    } else {
        const bool ok =
            obcTailPointer.compare_exchange_strong(expected, Word(next, nextTag), std::memory_order_acq_rel);
        WeftAssert(ok, "TWeftBaseQueue.TryDequeue: tail moved while removing");
        LowerCount(slot);
    }
}

// Moves the tail forward past consumed sentinels and block pointers. With
// value set, takes the first value; without, only tells whether one waits.
// A thread reads a slot only while its claim on the tail (the busy tags
// tagRemoving and tagDestroying) keeps the slot's block alive.
bool TWeftBaseQueue::AdvanceTail(TWeftValue* value)
{
    TWeftSpinBackoff backoff(WeftQueueSpinCounts().Take);
    for (;;) {
        uint64_t t = obcTailPointer.load(std::memory_order_acquire);
        TSlot* slot = SlotOf<TSlot>(t);
        switch (TagOf(t)) {
        case tagAllocated:
            if (!value)
                return true;
            if (obcTailPointer.compare_exchange_strong(t, Word(slot, tagRemoving), std::memory_order_acq_rel)) {
                TakeItem(slot, *value);
                return true;
            }
            break;
        case tagFree:
            // The tail reached a slot before its producer had filled it.
            if (obcTailPointer.compare_exchange_strong(t, Word(slot, tagRemoving), std::memory_order_acq_rel)) {
                const bool filled = slot->Tag.load(std::memory_order_acquire) == tagAllocated;
                if (filled && value) {
                    TakeItem(slot, *value);
                    return true;
                }
                uint64_t expected = Word(slot, tagRemoving);
                const bool ok = obcTailPointer.compare_exchange_strong(
                    expected, Word(slot, filled ? tagAllocated : tagFree), std::memory_order_acq_rel);
                WeftAssert(ok, "TWeftBaseQueue.TryDequeue: tail moved while looking at a slot");
                return filled;
            }
            break;
        case tagSentinel:
            if (obcTailPointer.compare_exchange_strong(t, Word(slot, tagRemoving), std::memory_order_acq_rel)) {
                TSlot* next = slot + 1;
                const uint8_t nextTag = next->Tag.load(std::memory_order_acquire);
                uint64_t expected = Word(slot, tagRemoving);
                if (nextTag == tagEndOfList) {
                    const bool ok = obcTailPointer.compare_exchange_strong(expected, Word(slot, tagSentinel),
                                                                          std::memory_order_acq_rel);
                    WeftAssert(ok, "TWeftBaseQueue.TryDequeue: tail moved on a sentinel");
                    return false;
                }
                const bool ok =
                    obcTailPointer.compare_exchange_strong(expected, Word(next, nextTag), std::memory_order_acq_rel);
                WeftAssert(ok, "TWeftBaseQueue.TryDequeue: tail moved past a sentinel");
                LowerCount(slot);
                continue;
            }
            break;
        case tagBlockPointer:
            if (obcTailPointer.compare_exchange_strong(t, Word(slot, tagDestroying), std::memory_order_acq_rel)) {
                TSlot* target = slot->Link();
                uint64_t expected = Word(slot, tagDestroying);
                const bool ok = obcTailPointer.compare_exchange_strong(expected, Word(target, tagSentinel),
                                                                      std::memory_order_acq_rel);
                WeftAssert(ok, "TWeftBaseQueue.TryDequeue: tail moved past a block pointer");
                LowerCount(slot);
                continue;
            }
            break;
        default:
            break;  // another consumer is moving the tail
        }
        backoff.Wait();
    }
}

bool TWeftBaseQueue::TryDequeue(TWeftValue& value)
{
    return AdvanceTail(&value);
}

TWeftValue TWeftBaseQueue::Dequeue()
{
    TWeftValue v;
    if (!TryDequeue(v))
        throw Exception(QStringLiteral("TWeftBaseQueue.Dequeue: Message queue is empty"));
    return v;
}

bool TWeftBaseQueue::IsEmpty()
{
    return !AdvanceTail(nullptr);
}

void TWeftBaseQueue::Cleanup()
{
    TSlot* slot = SlotOf<TSlot>(obcTailPointer.load(std::memory_order_acquire));
    while (slot) {
        const uint8_t tag = slot->Tag.load(std::memory_order_acquire);
        if (tag == tagEndOfList || tag == tagBlockPointer) {
            TSlot* next = tag == tagBlockPointer ? slot->Link() : nullptr;
            ::operator delete(static_cast<void*>(slot - slot->Offset), std::align_val_t(obcBlockAlign));
            slot = next;
            continue;
        }
        if (tag == tagAllocated)
            slot->Item()->~TWeftValue();
        ++slot;
    }
    if (obcCachedBlock)
        ::operator delete(static_cast<void*>(obcCachedBlock), std::align_val_t(obcBlockAlign));
    obcCachedBlock = nullptr;
    TSlot* spare = nullptr;
    while (obcMemStack.Pop(&spare))
        ::operator delete(static_cast<void*>(spare), std::align_val_t(obcBlockAlign));
}

void TWeftQueue::Enqueue(TWeftValue&& value)
{
    TWeftBaseQueue::Enqueue(std::move(value));
    ContainerSubject().Notify(coiNotifyOnAllInserts);
}

bool TWeftQueue::TryDequeue(TWeftValue& value)
{
    if (!TWeftBaseQueue::TryDequeue(value))
        return false;
    ContainerSubject().Notify(coiNotifyOnAllRemoves);
    return true;
}
