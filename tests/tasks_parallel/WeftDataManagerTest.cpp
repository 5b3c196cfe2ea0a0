// Source providers and data managers: package sizes, refills, stealing,
// blocking-collection sources and ordered output, driven by real threads.

#include "ParallelTestSupport.h"

#include "tasks/WeftDataManager.h"

#include <QRandomGenerator>
#include <algorithm>
#include <thread>

namespace {

class WeftDataManager : public ParallelTest {};

std::vector<int64_t> DrainAll(TWeftLocalQueue& q)
{
    std::vector<int64_t> out;
    TWeftValue v;
    while (q.GetNext(v))
        out.push_back(v.AsInt64());
    return out;
}

TEST_F(WeftDataManager, CountableFastRangeAsksForAnEqualShare)
{
    auto provider = CreateSourceProvider(1, 10, 1);
    EXPECT_EQ(provider->Count(), 10);
    auto manager = CreateDataManager(*provider, 4, 0);
    auto* base = dynamic_cast<TWeftBaseDataManager*>(manager.get());
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(base->PacketSizes(), std::vector<int32_t>({3}));
    auto q = manager->CreateLocalQueue();
    TWeftValue v;
    ASSERT_TRUE(q->GetNext(v));
    EXPECT_EQ(v.AsInt64(), 1);
    EXPECT_EQ(provider->Count(), 7);  // one package of 3 was taken
}

TEST_F(WeftDataManager, PackageSizeTablesFollowTheProvider)
{
    auto range = CreateSourceProvider(1, 100000, 1);
    auto ordered = CreateDataManager(*range, 4, dmoPreserveOrder);
    EXPECT_EQ(dynamic_cast<TWeftBaseDataManager&>(*ordered).PacketSizes(),
              std::vector<int32_t>({1, 9, 81, 729, 6561}));
    auto single = CreateDataManager(*range, 1, dmoPreserveOrder);
    EXPECT_EQ(dynamic_cast<TWeftBaseDataManager&>(*single).PacketSizes(), std::vector<int32_t>({100000}));
    EXPECT_THROW(range->GetPackageSizeLimit(), Exception);

    auto collection = CreateBlockingCollection();
    auto provider = CreateSourceProvider(collection);
    EXPECT_THROW(provider->Count(), Exception);
    auto heuristic = CreateDataManager(*provider, 4, 0);
    auto* h = dynamic_cast<TWeftHeuristicDataManager*>(heuristic.get());
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->PacketSizes(), std::vector<int32_t>({1, 9, 81, 729, 6561}));
    EXPECT_EQ(h->EstimatedPackageSize(), 6561);
}

TEST_F(WeftDataManager, RangesInBothDirectionsAndEmptyRanges)
{
    struct Case {
        int32_t low, high, step;
        int64_t count;
    };
    for (const Case& c : {Case{10, 1, -1, 10}, Case{1, 0, 1, 0}, Case{5, 2, 1, 0}, Case{1, 10, 3, 4}, Case{-5, 5, 2, 6}}) {
        auto provider = CreateSourceProvider(c.low, c.high, c.step);
        EXPECT_EQ(provider->Count(), c.count) << c.low << ".." << c.high;
        auto manager = CreateDataManager(*provider, 1, 0);
        auto q = manager->CreateLocalQueue();
        const std::vector<int64_t> got = DrainAll(*q);
        ASSERT_EQ(int64_t(got.size()), c.count);
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], c.low + int64_t(i) * c.step);
    }
    EXPECT_THROW(CreateSourceProvider(1, 10, 0), EAssertionFailed);
}

TEST_F(WeftDataManager, AnEmptyWorkerStealsTheLowerHalfOfAnother)
{
    auto provider = CreateSourceProvider(1, 10, 1);
    auto manager = CreateDataManager(*provider, 4, 0);
    auto a = manager->CreateLocalQueue();
    auto b = manager->CreateLocalQueue();
    auto c = manager->CreateLocalQueue();
    auto d = manager->CreateLocalQueue();
    TWeftValue v;
    ASSERT_TRUE(a->GetNext(v));  // a: 1..3
    ASSERT_TRUE(b->GetNext(v));  // b: 4..6
    ASSERT_TRUE(c->GetNext(v));  // c: 7..9
    ASSERT_TRUE(d->GetNext(v));  // d: 10
    EXPECT_EQ(v.AsInt64(), 10);
    // d's range is gone: it steals from a (2..3 left), lower half rounded up.
    ASSERT_TRUE(d->GetNext(v));
    EXPECT_EQ(v.AsInt64(), 2);
    ASSERT_TRUE(a->GetNext(v));
    EXPECT_EQ(v.AsInt64(), 3);
}

TEST_F(WeftDataManager, RandomRangesThroughStealingManagersGiveEveryValueOnce)
{
    QRandomGenerator rng(20261210);
    for (int round = 0; round < 12; ++round) {
        const int32_t low = rng.bounded(-1000, 1000);
        const int32_t count = rng.bounded(0, 40000);
        const int32_t step = (rng.bounded(2) ? 1 : -1) * rng.bounded(1, 4);
        const int32_t high = low + (count - 1) * step;
        const int workers = rng.bounded(1, 9);
        auto provider = CreateSourceProvider(low, high, step);
        auto manager = CreateDataManager(*provider, workers, 0);
        std::vector<std::vector<int64_t>> seen(static_cast<size_t>(workers));
        std::vector<std::thread> threads;
        for (int w = 0; w < workers; ++w)
            threads.emplace_back([&, w] {
                auto q = manager->CreateLocalQueue();
                TWeftValue v;
                int n = 0;
                while (q->GetNext(v)) {
                    seen[size_t(w)].push_back(v.AsInt64());
                    if (w == 0 && ++n % 64 == 0)
                        std::this_thread::yield();  // a slow worker, to be robbed
                }
            });
        for (auto& t : threads)
            t.join();
        std::vector<int64_t> all;
        for (auto& s : seen)
            all.insert(all.end(), s.begin(), s.end());
        std::sort(all.begin(), all.end());
        ASSERT_EQ(int(all.size()), std::max(count, 0)) << "round " << round;
        std::vector<int64_t> expected;
        for (int i = 0; i < count; ++i)
            expected.push_back(low + int64_t(i) * step);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(all, expected) << "round " << round;
    }
}

TEST_F(WeftDataManager, EnumeratorSourcesStealToo)
{
    auto collection = CreateBlockingCollection();
    for (int i = 0; i < 20000; ++i)
        collection->Add(TWeftValue(int32_t(i)));
    collection->CompleteAdding();
    auto provider = CreateSourceProvider(collection);
    auto manager = CreateDataManager(*provider, 4, 0);
    std::atomic<int64_t> sum{0}, n{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < 4; ++w)
        threads.emplace_back([&] {
            auto q = manager->CreateLocalQueue();
            TWeftValue v;
            while (q->GetNext(v)) {
                sum += v.AsInt64();
                ++n;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(n.load(), 20000);
    EXPECT_EQ(sum.load(), int64_t(20000) * 19999 / 2);
}

TEST_F(WeftDataManager, ABlockingCollectionSourceWaitsForTheFirstItemOnly)
{
    auto collection = CreateBlockingCollection();
    auto provider = CreateSourceProvider(collection);
    auto manager = CreateDataManager(*provider, 1, 0);
    auto q = manager->CreateLocalQueue();
    std::thread producer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        collection->Add(TWeftValue(int32_t(7)));
    });
    TWeftValue v;
    ASSERT_TRUE(q->GetNext(v));  // waited for the producer
    EXPECT_EQ(v.AsInteger(), 7);
    producer.join();
    collection->CompleteAdding();
    EXPECT_FALSE(q->GetNext(v));
}

TEST_F(WeftDataManager, OrderedOutputLeavesInSourceOrderWhateverTheFinishingOrder)
{
    auto provider = CreateSourceProvider(0, 999, 1);
    auto manager = CreateDataManager(*provider, 2, dmoPreserveOrder);
    auto output = CreateBlockingCollection();
    manager->SetOutput(output);
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w)
        threads.emplace_back([&, w] {
            auto q = manager->CreateLocalQueue();
            TWeftOutputBuffer* buffer = manager->AllocateOutputBuffer();
            q->AssociateBuffer(buffer);
            int64_t pos;
            TWeftValue v;
            while (q->GetNext(pos, v)) {
                if (w == 0)
                    std::this_thread::yield();
                if (v.AsInt64() % 7 != 3)  // results may skip positions
                    buffer->Submit(v, pos);
            }
            manager->ReleaseOutputBuffer(buffer);
        });
    for (auto& t : threads)
        t.join();
    output->CompleteAdding();
    std::vector<int64_t> got;
    TWeftValue v;
    while (output->TryTake(v, 0))
        got.push_back(v.AsInt64());
    std::vector<int64_t> expected;
    for (int i = 0; i < 1000; ++i)
        if (i % 7 != 3)
            expected.push_back(i);
    EXPECT_EQ(got, expected);
}

TEST_F(WeftDataManager, SubmittingBelowTheBufferPositionIsAnError)
{
    auto provider = CreateSourceProvider(0, 99, 1);
    auto manager = CreateDataManager(*provider, 2, dmoPreserveOrder);
    manager->SetOutput(CreateBlockingCollection());
    auto q = manager->CreateLocalQueue();
    TWeftOutputBuffer* buffer = manager->AllocateOutputBuffer();
    q->AssociateBuffer(buffer);
    int64_t pos;
    TWeftValue v;
    ASSERT_TRUE(q->GetNext(pos, v));
    buffer->Submit(v, pos);
    EXPECT_THROW(buffer->Submit(v, pos), EAssertionFailed);
    manager->ReleaseOutputBuffer(buffer);
}

}  // namespace
