#include "tasks/WeftBlockingCollection.h"
#include "tasks/WeftContainers.h"
#include "tasks/WeftQueue.h"

#include "tasks/OsWin32.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// Counts live instances, so a test can see that every held value was let go.
class TProbe : public IInterface {
public:
    explicit TProbe(int64_t id) : Id(id) { Live.fetch_add(1); }
    ~TProbe() override { Live.fetch_sub(1); }
    const int64_t Id;
    static inline std::atomic<int> Live{0};
};

TWeftValue ProbeValue(int64_t id)
{
    return TWeftValue(IInterfacePtr(std::make_shared<TProbe>(id)));
}

int64_t ProbeId(const TWeftValue& v)
{
    return std::dynamic_pointer_cast<TProbe>(v.CastToInterface())->Id;
}

constexpr int CProducers = 8;
constexpr int CConsumers = 8;

// Runs producers that hand out the ids 0..producers*perProducer-1 and
// consumers that take until all are taken; checks each id came exactly once.
template <class Put, class Get>
void RunStress(int perProducer, Put put, Get get)
{
    const int total = CProducers * perProducer;
    std::vector<std::atomic<int>> seen(static_cast<size_t>(total));
    std::atomic<int> taken{0};
    std::vector<std::thread> threads;
    for (int p = 0; p < CProducers; ++p)
        threads.emplace_back([&, p] {
            for (int i = 0; i < perProducer; ++i)
                put(int64_t(p) * perProducer + i);
        });
    for (int c = 0; c < CConsumers; ++c)
        threads.emplace_back([&] {
            int64_t id;
            while (taken.load() < total) {
                if (get(id)) {
                    seen[size_t(id)].fetch_add(1);
                    taken.fetch_add(1);
                } else {
                    std::this_thread::yield();
                }
            }
        });
    for (auto& t : threads)
        t.join();
    for (int i = 0; i < total; ++i)
        ASSERT_EQ(seen[size_t(i)].load(), 1) << "id " << i;
}

}  // namespace

// --- Bounded stack and queue ---------------------------------------------------------

TEST(BoundedContainers, CapacityEdges)
{
    for (int n : {1, 2, 7, 16, 100}) {
        TWeftBaseBoundedQueue q(n, 4);
        TWeftBaseBoundedStack s(n, 4);
        EXPECT_TRUE(q.IsEmpty());
        EXPECT_TRUE(s.IsEmpty());
        for (int32_t i = 0; i < n; ++i) {
            EXPECT_TRUE(q.Enqueue(&i)) << n;
            EXPECT_TRUE(s.Push(&i)) << n;
        }
        int32_t extra = -1;
        EXPECT_FALSE(q.Enqueue(&extra)) << "queue of " << n << " refuses the next";
        EXPECT_FALSE(s.Push(&extra)) << "stack of " << n << " refuses the next";
        EXPECT_TRUE(q.IsFull());
        EXPECT_TRUE(s.IsFull());
        int32_t v = 0;
        ASSERT_TRUE(q.Dequeue(&v));
        EXPECT_EQ(v, 0) << "arrival order";
        ASSERT_TRUE(s.Pop(&v));
        EXPECT_EQ(v, n - 1) << "reverse arrival order";
        EXPECT_TRUE(q.Enqueue(&extra));
        EXPECT_TRUE(s.Push(&extra));
        EXPECT_FALSE(q.Enqueue(&extra));
        for (int32_t i = 1; i < n; ++i) {
            ASSERT_TRUE(q.Dequeue(&v));
            EXPECT_EQ(v, i);
        }
        ASSERT_TRUE(q.Dequeue(&v));
        EXPECT_EQ(v, -1);
        EXPECT_FALSE(q.Dequeue(&v));
        s.Empty();
        EXPECT_TRUE(s.IsEmpty());
        EXPECT_FALSE(s.IsFull());
        EXPECT_FALSE(s.Pop(&v));
    }
}

TEST(BoundedContainers, EmptyOnAFullQueue)
{
    TWeftBaseBoundedQueue q(5, 12);
    char rec[12] = "abcdefghijk";
    while (q.Enqueue(rec)) {
    }
    q.Empty();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_FALSE(q.IsFull());
    char out[12] = {};
    EXPECT_TRUE(q.Enqueue(rec));
    EXPECT_TRUE(q.Dequeue(out));
    EXPECT_STREQ(out, "abcdefghijk") << "elements are copied by size";
}

TEST(BoundedContainers, NonPositiveSizesFailAssertions)
{
    TWeftBaseBoundedQueue q;
    EXPECT_THROW(q.Initialize(0, 4), EAssertionFailed);
    EXPECT_THROW(q.Initialize(4, 0), EAssertionFailed);
    TWeftBaseBoundedStack s;
    EXPECT_THROW(s.Initialize(-1, 4), EAssertionFailed);
}

TEST(BoundedContainers, CalibratedSpinCountsArePositive)
{
    InitializeTimingInfo();
    EXPECT_GT(WeftStackSpinCounts().Take, 0);
    EXPECT_GT(WeftStackSpinCounts().Put, 0);
    EXPECT_GT(WeftQueueSpinCounts().Take, 0);
    EXPECT_GT(WeftQueueSpinCounts().Put, 0);
}

TEST(BoundedContainers, QueueEightByEightEveryValueOnce)
{
    TWeftBaseBoundedQueue q(64, 8);
    RunStress(
        20000, [&](int64_t id) { while (!q.Enqueue(&id)) std::this_thread::yield(); },
        [&](int64_t& id) { return q.Dequeue(&id); });
    EXPECT_TRUE(q.IsEmpty());
}

TEST(BoundedContainers, StackEightByEightEveryValueOnce)
{
    TWeftBaseBoundedStack s(64, 8);
    RunStress(
        20000, [&](int64_t id) { while (!s.Push(&id)) std::this_thread::yield(); },
        [&](int64_t& id) { return s.Pop(&id); });
    EXPECT_TRUE(s.IsEmpty());
}

TEST(BoundedContainers, TypedQueueMovesValuesAndLeaksNone)
{
    {
        TWeftBaseBoundedQueue q(32, int(sizeof(TWeftValue)));
        RunStress(
            5000,
            [&](int64_t id) {
                TWeftValue v = ProbeValue(id);
                while (!q.EnqueueWith([&](void* cell) { new (cell) TWeftValue(std::move(v)); }))
                    std::this_thread::yield();
            },
            [&](int64_t& id) {
                TWeftValue out;
                if (!q.DequeueWith([&](void* cell) {
                        auto* p = static_cast<TWeftValue*>(cell);
                        out = std::move(*p);
                        p->~TWeftValue();
                    }))
                    return false;
                id = ProbeId(out);
                return true;
            });
    }
    EXPECT_EQ(TProbe::Live.load(), 0);
}

// --- Observable bounded queue ---------------------------------------------------------

namespace {
class TCountingObserver : public TWeftContainerObserver {
public:
    void Notify() override { ++Count; }
    int Count = 0;
};
}  // namespace

TEST(BoundedQueueNotices, ThresholdsAndOneShotNotices)
{
    TWeftBoundedQueue q(100, 4, 0.8, 0.9);
    EXPECT_EQ(q.PartlyEmptyCount(), 80);
    EXPECT_EQ(q.AlmostFullCount(), 90);
    TCountingObserver inserts, almostFull, partlyEmpty, removes;
    q.ContainerSubject().Attach(&inserts, coiNotifyOnAllInserts);
    q.ContainerSubject().Attach(&inserts, coiNotifyOnAllInserts);  // once only
    q.ContainerSubject().Attach(&almostFull, coiNotifyOnAlmostFull);
    q.ContainerSubject().Attach(&partlyEmpty, coiNotifyOnPartlyEmpty);
    q.ContainerSubject().Attach(&removes, coiNotifyOnAllRemoves);
    int32_t v = 1;
    for (int i = 0; i < 89; ++i)
        ASSERT_TRUE(q.Enqueue(&v));
    EXPECT_EQ(almostFull.Count, 0);
    ASSERT_TRUE(q.Enqueue(&v));
    EXPECT_EQ(almostFull.Count, 1) << "fires on the enqueue that reaches 90";
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(q.Enqueue(&v));
    EXPECT_FALSE(q.Enqueue(&v));
    EXPECT_EQ(inserts.Count, 100) << "failed operations notify nothing";
    EXPECT_EQ(almostFull.Count, 1) << "not again until re-armed";
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(q.Dequeue(&v));
    EXPECT_EQ(partlyEmpty.Count, 1);
    EXPECT_EQ(removes.Count, 20);
    q.ContainerSubject().Rearm(coiNotifyOnAlmostFull);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(q.Enqueue(&v));
    EXPECT_EQ(almostFull.Count, 2);
    q.ContainerSubject().Detach(&inserts, coiNotifyOnAllInserts);
    q.ContainerSubject().Detach(&inserts, coiNotifyOnAllInserts);  // not attached: nothing
    ASSERT_TRUE(q.Dequeue(&v));
    ASSERT_TRUE(q.Enqueue(&v));
    EXPECT_EQ(inserts.Count, 120);
    q.Empty();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_EQ(q.InQueueCount(), 0) << "emptying counts every removal";
}

TEST(BoundedQueueNotices, ThresholdsStayBelowCapacity)
{
    TWeftBoundedQueue q(3, 4, 1.0, 1.0);
    EXPECT_EQ(q.PartlyEmptyCount(), 2);
    EXPECT_EQ(q.AlmostFullCount(), 2);
}

TEST(Observers, EventObserverSetsItsEventAndMessageObserverPosts)
{
    std::unique_ptr<TWeftContainerWindowsEventObserver> ev(CreateContainerWindowsEventObserver());
    EXPECT_EQ(WaitForSingleObject(ev->GetEvent(), 0), WAIT_TIMEOUT);
    ev->Notify();
    EXPECT_EQ(WaitForSingleObject(ev->GetEvent(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(ev->GetEvent(), 0), WAIT_TIMEOUT) << "auto-reset";

    int got = 0;
    HWND wnd = OsAllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_USER + 7 && m.WParam == 3 && m.LParam == 4)
            ++got;
    });
    std::unique_ptr<TWeftContainerWindowsMessageObserver> mo(
        CreateContainerWindowsMessageObserver(wnd, WM_USER + 7, 3, 4));
    mo->Notify();
    ProcessMessages();
    EXPECT_EQ(got, 1);
    OsDeallocateHWnd(wnd);
    EXPECT_THROW(mo->Notify(), EOSError) << "a post to a window that is gone raises";
}

// --- Unbounded queue --------------------------------------------------------------------

TEST(UnboundedQueue, EmptyThenOneRoundTrip)
{
    TWeftQueue q;
    EXPECT_TRUE(q.IsEmpty());
    TWeftValue v;
    EXPECT_FALSE(q.TryDequeue(v));
    EXPECT_THROW(q.Dequeue(), Exception);
    q.Enqueue(TWeftValue(QStringLiteral("yksi")));
    EXPECT_FALSE(q.IsEmpty());
    ASSERT_TRUE(q.TryDequeue(v));
    EXPECT_EQ(v.AsString(), QStringLiteral("yksi"));
    EXPECT_TRUE(q.IsEmpty());
}

TEST(UnboundedQueue, BlockSizeLimit)
{
    EXPECT_THROW(TWeftQueue(65537 * TWeftBaseQueue::SlotSize()), Exception);
    EXPECT_THROW(TWeftQueue(3 * TWeftBaseQueue::SlotSize()), EAssertionFailed);
    EXPECT_EQ(TWeftQueue(TWeftBaseQueue::CDefaultBlockSize).NumSlots(),
              TWeftBaseQueue::CDefaultBlockSize / TWeftBaseQueue::SlotSize());
    TWeftQueue q(65536 * TWeftBaseQueue::SlotSize(), 1);
    EXPECT_EQ(q.NumSlots(), 65536);
}

TEST(UnboundedQueue, ChainsAcrossSeveralBlocksInOrder)
{
    TWeftQueue q(4096, 2);
    const int perBlock = q.ItemsPerBlock();
    EXPECT_EQ(perBlock, 4096 / TWeftBaseQueue::SlotSize() - 3);
    const int total = perBlock * 5 + 3;
    for (int i = 0; i < total; ++i)
        q.Enqueue(TWeftValue(int32_t(i)));
    EXPECT_GE(q.BlocksAllocated(), 6);
    for (int i = 0; i < total; ++i) {
        TWeftValue v;
        ASSERT_TRUE(q.TryDequeue(v)) << i;
        ASSERT_EQ(v.AsInteger(), i);
    }
    EXPECT_TRUE(q.IsEmpty());
    // Emptied blocks went back to the cache: another round allocates no
    // more than the spare stack could not hold.
    const int before = q.BlocksAllocated();
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < perBlock; ++i)
            q.Enqueue(TWeftValue(int32_t(i)));
        TWeftValue v;
        while (q.TryDequeue(v)) {
        }
    }
    EXPECT_LE(q.BlocksAllocated() - before, 3);
}

TEST(UnboundedQueue, IsEmptyMovesTheTailIntoTheNextBlock)
{
    TWeftQueue q(4096, 1);
    const int perBlock = q.ItemsPerBlock();
    for (int i = 0; i < perBlock + 1; ++i)
        q.Enqueue(TWeftValue(int32_t(i)));
    TWeftValue v;
    for (int i = 0; i < perBlock; ++i)
        ASSERT_TRUE(q.TryDequeue(v));
    EXPECT_FALSE(q.IsEmpty());
    ASSERT_TRUE(q.TryDequeue(v));
    EXPECT_EQ(v.AsInteger(), perBlock);
    EXPECT_TRUE(q.IsEmpty());
}

TEST(UnboundedQueue, DestroyingAFullQueueReleasesEveryHeldValue)
{
    {
        TWeftQueue q(4096, 2);
        for (int i = 0; i < 500; ++i) {
            q.Enqueue(ProbeValue(i));
            q.Enqueue(TWeftValue(QString::number(i)));
        }
        TWeftValue v;
        for (int i = 0; i < 100; ++i)
            ASSERT_TRUE(q.TryDequeue(v));
        v.Clear();
        EXPECT_EQ(TProbe::Live.load(), 450);
    }
    EXPECT_EQ(TProbe::Live.load(), 0);
}

TEST(UnboundedQueue, EightByEightEveryValueOnceAcrossBlocks)
{
    {
        TWeftQueue q(2048, 4);  // small blocks: many extensions and recycles
        RunStress(
            6000, [&](int64_t id) { q.Enqueue(ProbeValue(id)); },
            [&](int64_t& id) {
                TWeftValue v;
                if (!q.TryDequeue(v))
                    return false;
                id = ProbeId(v);
                return true;
            });
        EXPECT_TRUE(q.IsEmpty());
    }
    EXPECT_EQ(TProbe::Live.load(), 0);
}

TEST(UnboundedQueue, OneProducerKeepsItsOrder)
{
    TWeftQueue q(2048, 2);
    constexpr int N = 50000;
    std::thread producer([&] {
        for (int i = 0; i < N; ++i)
            q.Enqueue(TWeftValue(int32_t(i)));
    });
    int expected = 0;
    while (expected < N) {
        TWeftValue v;
        if (q.TryDequeue(v)) {
            ASSERT_EQ(v.AsInteger(), expected++);
        }
    }
    producer.join();
}
