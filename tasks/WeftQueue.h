#pragma once
// An unbounded first-in first-out queue of tagged values that any number of
// threads may fill and drain at once without a lock (TWeftBaseQueue), and
// the observable form TWeftQueue. Values live in slots of fixed-size blocks;
// blocks are chained as the queue grows and go back to a small cache of
// spare blocks (a bounded stack) as the tail leaves them.
//
// The head (where the next value is written) and the tail (where the next
// one is read) are 64-bit words holding a slot's address with a state tag in
// its low bits; a thread claims an end by exchanging the word to a busy
// state, and reads or writes a slot only while its claim keeps the slot's
// block alive. A producer claims its slot and moves the head on in one
// exchange, then fills the slot and publishes the value through the slot's
// own tag, so producers do not wait for each other's copies; consumers never
// read the head.
// Every slot of a block but the header is passed by the tail once, and each
// pass lowers the block's count: the pass that brings it to zero hands the
// block back. A slot holds one TWeftValue (moved in and out properly), its
// tag and its index in the block; block capacity follows from the slot size
// (SlotSize) and the block size, see ItemsPerBlock.

#include "tasks/WeftContainers.h"
#include "tasks/WeftValue.h"

#include <atomic>
#include <cstddef>
#include <memory>

enum TWeftQueueTag : uint8_t {
    tagFree = 0,
    tagAllocating = 1,
    tagAllocated = 2,
    tagRemoving = 3,
    tagEndOfList = 4,
    tagExtending = 5,
    tagBlockPointer = 6,
    tagDestroying = 7,
    tagHeader = 8,
    tagSentinel = 9
};

class TWeftBaseQueue {
public:
    static constexpr int CDefaultBlockSize = 65536;
    static constexpr int CDefaultCachedBlocks = 4;

    // A block holds blockSize / SlotSize() slots (at least four: assertion).
    // Raises "TWeftBaseQueue.Create: Maximum block size is %d" when a block
    // would hold more than 65536 slots.
    explicit TWeftBaseQueue(int blockSize = CDefaultBlockSize, int numCachedBlocks = CDefaultCachedBlocks);
    virtual ~TWeftBaseQueue();
    TWeftBaseQueue(const TWeftBaseQueue&) = delete;
    TWeftBaseQueue& operator=(const TWeftBaseQueue&) = delete;

    void Enqueue(const TWeftValue& value) { Enqueue(TWeftValue(value)); }
    virtual void Enqueue(TWeftValue&& value);
    // False when empty.
    virtual bool TryDequeue(TWeftValue& value);
    // Raises "TWeftBaseQueue.Dequeue: Message queue is empty" when empty.
    TWeftValue Dequeue();
    // Also moves the tail past consumed sentinels and block pointers.
    bool IsEmpty();

    // Bytes per slot, slots per block, and the values one block holds (all
    // slots but the header, the sentinel and the end-of-list slot).
    static int SlotSize();
    int NumSlots() const { return obcNumSlots; }
    int ItemsPerBlock() const { return obcNumSlots - 3; }
    // Blocks allocated over the queue's life (for tests).
    int BlocksAllocated() const { return obcBlocksAllocated.load(std::memory_order_relaxed); }

private:
    struct TSlot;
    TSlot* AllocateBlock();
    TSlot* NewBlock();
    void PartitionBlock(TSlot* block);
    void ReleaseBlock(TSlot* block, bool force);
    bool AdvanceTail(TWeftValue* value);
    uint8_t FreshTag(const TSlot* slot) const;
    void TakeItem(TSlot* slot, TWeftValue& value);
    void LowerCount(TSlot* slot);
    void Cleanup();

    TSlot* obcCachedBlock = nullptr;
    int obcBlockSize;
    TWeftBaseBoundedStack obcMemStack;
    int obcNumSlots;
    // Blocks lie on this power-of-two boundary, so a slot's place in its
    // block follows from its address.
    size_t obcBlockAlign = 64;
    std::atomic<int> obcBlocksAllocated{0};
    alignas(128) std::atomic<uint64_t> obcHeadPointer{0};
    alignas(128) std::atomic<uint64_t> obcTailPointer{0};
    alignas(128) char obcPad[1] = {};
};

// Notifies coiNotifyOnAllInserts after each enqueue and coiNotifyOnAllRemoves
// after each successful dequeue.
class TWeftQueue : public TWeftBaseQueue {
public:
    explicit TWeftQueue(int blockSize = CDefaultBlockSize, int numCachedBlocks = CDefaultCachedBlocks)
        : TWeftBaseQueue(blockSize, numCachedBlocks)
    {
    }
    using TWeftBaseQueue::Enqueue;
    void Enqueue(TWeftValue&& value) override;
    bool TryDequeue(TWeftValue& value) override;
    TWeftContainerSubject& ContainerSubject() { return ocContainerSubject; }

private:
    TWeftContainerSubject ocContainerSubject;
};
