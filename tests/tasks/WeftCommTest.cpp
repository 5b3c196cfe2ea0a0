#include "tasks/WeftComm.h"

#include "tasks/OsWin32.h"

#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

TEST(MessageQueue, StartUpSelfTestPasses)
{
    EXPECT_NO_THROW(RingBufferTest());
}

TEST(MessageQueue, DequeueOnEmptyRaises)
{
    TWeftMessageQueue q(4);
    try {
        q.Dequeue();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TWeftMessageQueue.Dequeue: Message queue is empty"));
    }
}

TEST(MessageQueue, HandlerDeliversEachMessageOnceInOrder)
{
    TWeftMessageQueue q(10);
    std::vector<int> got;
    q.SetOnMessage([&](TWeftMessageQueue&, const TWeftMessage& m) { got.push_back(m.MsgID); });
    for (uint16_t id : {7, 8, 9})
        ASSERT_TRUE(q.Enqueue(TWeftMessage(id)));
    ProcessMessages();
    EXPECT_EQ(got, (std::vector<int>{7, 8, 9}));
    ProcessMessages();
    EXPECT_EQ(got.size(), 3u);
    q.SetOnMessage(nullptr);
    ASSERT_TRUE(q.Enqueue(TWeftMessage(10)));
    ProcessMessages();
    EXPECT_EQ(got.size(), 3u) << "no handler, no delivery";
    EXPECT_EQ(q.Dequeue().MsgID, 10);
}

TEST(MessageQueue, DestroyingReleasesQueuedPayloads)
{
    auto holder = std::make_shared<TWeftHolder<int>>(1);
    {
        TWeftMessageQueue q(10);
        ASSERT_TRUE(q.Enqueue(TWeftMessage(1, TWeftValue(IInterfacePtr(holder)))));
        EXPECT_EQ(holder.use_count(), 2);
    }
    EXPECT_EQ(holder.use_count(), 1);
}

TEST(Channel, FullQueueRaisesAndSendWaitWaitsForThePartlyEmptyMark)
{
    THandle terminated = CreateEvent(true, false);
    PWeftTwoWayChannel ch = CreateTwoWayChannel(10000, terminated);
    PWeftCommunicationEndpoint owner = ch->Endpoint1(), task = ch->Endpoint2();
    for (int i = 0; i < 10000; ++i)
        owner->Send(uint16_t(i % 1000), TWeftValue(int32_t(i)));
    try {
        owner->Send(1);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TWeftCommunicationEndpoint.Send: Queue is full"));
    }
    EXPECT_FALSE(owner->SendWait(1, 0));
    std::atomic<int> taken{0};
    std::thread reader([&] {
        std::this_thread::sleep_for(20ms);
        TWeftMessage m;
        for (int i = 0; i < 2000; ++i) {
            ASSERT_TRUE(task->Receive(m));
            taken.fetch_add(1);
        }
    });
    EXPECT_TRUE(owner->SendWait(2, TWeftValue(int32_t(-1)), 5000));
    EXPECT_GE(taken.load(), 1);
    reader.join();
    EXPECT_EQ(task->Reader()->InQueueCount(), 8001);
}

TEST(Channel, SendWaitAndReceiveWaitEndWhenTheTaskHasTerminated)
{
    THandle terminated = CreateEvent(true, false);
    PWeftTwoWayChannel ch = CreateTwoWayChannel(5, terminated);
    PWeftCommunicationEndpoint owner = ch->Endpoint1(), task = ch->Endpoint2();
    for (int i = 0; i < 5; ++i)
        owner->Send(1);
    std::thread ender([&] {
        std::this_thread::sleep_for(40ms);
        SetEvent(terminated);
    });
    const int64_t start = OsTimeGetTime64();
    EXPECT_FALSE(owner->SendWait(2, INFINITE)) << "the full queue is never drained";
    TWeftMessage m;
    EXPECT_FALSE(owner->ReceiveWait(m, INFINITE)) << "the task sends nothing";
    EXPECT_LT(OsTimeGetTime64() - start, 3000);
    ender.join();
    EXPECT_EQ(task->Reader()->InQueueCount(), 5) << "a refused message is not queued";
}

TEST(Channel, ReceiveWaitTimeOuts)
{
    THandle terminated = CreateEvent(true, false);
    PWeftTwoWayChannel ch = CreateTwoWayChannel(5, terminated);
    TWeftMessage m;
    EXPECT_FALSE(ch->Endpoint1()->ReceiveWait(m, 0));
    const int64_t start = OsTimeGetTime64();
    EXPECT_FALSE(ch->Endpoint1()->ReceiveWait(m, 50));
    EXPECT_GE(OsTimeGetTime64() - start, 45);
    ch->Endpoint2()->Send(3, TWeftValue(int32_t(4)));
    uint16_t id = 0;
    TWeftValue data;
    EXPECT_TRUE(ch->Endpoint1()->ReceiveWait(id, data, 0));
    EXPECT_EQ(id, 3);
    EXPECT_EQ(data.AsInteger(), 4);
}

TEST(Channel, WaitsWithoutATerminatedEventRaise)
{
    PWeftTwoWayChannel ch = CreateTwoWayChannel(1);
    TWeftMessage m;
    EXPECT_THROW(ch->Endpoint1()->ReceiveWait(m, 10), Exception);
    ch->Endpoint1()->Send(1);
    EXPECT_THROW(ch->Endpoint1()->SendWait(1, 10), Exception);
}

TEST(Channel, ATextOutlivesItsSender)
{
    PWeftTwoWayChannel ch = CreateTwoWayChannel(10);
    {
        QString text = QStringLiteral("Lähetetty %1").arg(42);
        ch->Endpoint2()->Send(1001, TWeftValue(text));
    }
    TWeftMessage m;
    ASSERT_TRUE(ch->Endpoint1()->Receive(m));
    EXPECT_EQ(m.MsgID, 1001);
    EXPECT_EQ(m.MsgData.AsString(), QStringLiteral("Lähetetty 42"));
    ch->Endpoint1()->Send(5, {1, "kaksi", 3.0});
    ASSERT_TRUE(ch->Endpoint2()->Receive(m));
    EXPECT_TRUE(m.MsgData.IsArray());
}

TEST(Channel, TenThousandMessagesArriveInOrderAcrossThreads)
{
    THandle terminated = CreateEvent(true, false);
    PWeftTwoWayChannel ch = CreateTwoWayChannel(1000, terminated);
    constexpr int N = 10000;
    std::thread task([&] {
        for (int i = 0; i < N; ++i)
            ASSERT_TRUE(ch->Endpoint2()->SendWait(uint16_t(i % 60000), TWeftValue(QString::number(i)), INFINITE));
    });
    TWeftMessage m;
    for (int i = 0; i < N; ++i) {
        ASSERT_TRUE(ch->Endpoint1()->ReceiveWait(m, 10000)) << i;
        ASSERT_EQ(m.MsgData.AsString(), QString::number(i));
    }
    task.join();
}

TEST(Channel, EndpointsAndTheirPair)
{
    PWeftTwoWayChannel ch = CreateTwoWayChannel(10);
    PWeftCommunicationEndpoint e1 = ch->Endpoint1(), e2 = ch->Endpoint2();
    EXPECT_EQ(ch->Endpoint1(), e1);
    EXPECT_EQ(e1->OtherEndpoint(), e2);
    EXPECT_EQ(e2->OtherEndpoint(), e1);
    EXPECT_EQ(e1->Reader(), e2->Writer());
    PWeftTwoWayChannel other = CreateTwoWayChannel(10);
    try {
        ch->OtherEndpoint(other->Endpoint1().get());
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TWeftTwoWayChannel.OtherEndpoint: Invalid endpoint!"));
    }
    ch.reset();
    EXPECT_EQ(e1->Reader(), nullptr) << "an endpoint that outlives its channel has no queues";
    EXPECT_EQ(e1->OtherEndpoint(), nullptr);
    TWeftMessage m;
    EXPECT_FALSE(e1->Receive(m));
}

TEST(MessageQueue, EightByEightEveryMessageOnceAndNoPayloadLeaked)
{
    auto holder = std::make_shared<TWeftHolder<int>>(1);
    {
        TWeftMessageQueue q(128);
        constexpr int Per = 3000;
        std::vector<std::atomic<int>> seen(8 * Per);
        std::atomic<int> taken{0};
        std::vector<std::thread> threads;
        for (int p = 0; p < 8; ++p)
            threads.emplace_back([&, p] {
                for (int i = 0; i < Per; ++i) {
                    TWeftValue data = TWeftValue::Create({p * Per + i, IInterfacePtr(holder)});
                    while (!q.Enqueue(TWeftMessage(uint16_t(p), data)))
                        std::this_thread::yield();
                }
            });
        for (int c = 0; c < 8; ++c)
            threads.emplace_back([&] {
                TWeftMessage m;
                while (taken.load() < 8 * Per) {
                    if (q.TryDequeue(m)) {
                        seen[size_t(m.MsgData.AsArray()[0].AsInteger())].fetch_add(1);
                        taken.fetch_add(1);
                    } else {
                        std::this_thread::yield();
                    }
                }
            });
        for (auto& t : threads)
            t.join();
        for (int i = 0; i < 8 * Per; ++i)
            ASSERT_EQ(seen[size_t(i)].load(), 1) << i;
        // Some left in the queue are released with it.
        for (int i = 0; i < 10; ++i)
            ASSERT_TRUE(q.Enqueue(TWeftMessage(1, TWeftValue(IInterfacePtr(holder)))));
    }
    EXPECT_EQ(holder.use_count(), 1);
}
