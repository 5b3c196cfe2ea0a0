#include "tasks/WeftHandOver.h"

#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Small segments, few kept: the tests cross many segment boundaries and
// both reuse and free used-up segments.
using TSmallHandOver = TWeftHandOver<std::shared_ptr<int>, 4, 2>;

TEST(WeftHandOver, ItemsComeOutInOrderAcrossSegmentsAndAreLetGo)
{
    auto probe = std::make_shared<int>(0);
    TSmallHandOver q;
    std::shared_ptr<int> out;
    EXPECT_FALSE(q.Take(out));
    int next = 0;
    // Bursts of varying length: segments fill, empty, and come back.
    for (int burst : {1, 3, 4, 5, 17, 2, 40}) {
        for (int i = 0; i < burst; ++i)
            q.Push(std::make_shared<int>(next + i));
        EXPECT_EQ(q.Size(), burst);
        for (int i = 0; i < burst; ++i) {
            ASSERT_TRUE(q.Take(out));
            EXPECT_EQ(*out, next + i);
        }
        EXPECT_FALSE(q.Take(out));
        EXPECT_EQ(q.Size(), 0);
        next += burst;
    }
    EXPECT_EQ(q.Pushed(), uint64_t(next));
    // A taken slot keeps no reference; a queue destroyed full lets go of its items.
    q.Push(std::shared_ptr<int>(probe));
    ASSERT_TRUE(q.Take(out));
    out.reset();
    EXPECT_EQ(probe.use_count(), 1);
    {
        TSmallHandOver full;
        for (int i = 0; i < 9; ++i)
            full.Push(std::shared_ptr<int>(probe));
        EXPECT_EQ(probe.use_count(), 10);
    }
    EXPECT_EQ(probe.use_count(), 1);
}

// One producer, consumers taking turns under a lock: every item comes out
// once, and in the order it went in.
TEST(WeftHandOver, ConsumersTakingTurnsSeeEveryItemOnceInOrder)
{
    constexpr int CItems = 20000;
    TSmallHandOver q;
    std::mutex turn;
    std::vector<int> taken;
    taken.reserve(CItems);
    std::thread producer([&] {
        for (int i = 0; i < CItems; ++i)
            q.Push(std::make_shared<int>(i));
    });
    std::vector<std::thread> consumers;
    for (int c = 0; c < 3; ++c)
        consumers.emplace_back([&] {
            std::shared_ptr<int> out;
            for (;;) {
                std::lock_guard lock(turn);
                if (int(taken.size()) == CItems)
                    return;
                if (q.Take(out))
                    taken.push_back(*out);
            }
        });
    producer.join();
    for (std::thread& c : consumers)
        c.join();
    ASSERT_EQ(int(taken.size()), CItems);
    for (int i = 0; i < CItems; ++i)
        ASSERT_EQ(taken[size_t(i)], i);
    EXPECT_EQ(q.Size(), 0);
}
