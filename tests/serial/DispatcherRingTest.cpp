// The receive ring, reads inside and outside a notification, the output
// ring, and the process-wide port list.

#include "devices/serial/SerTypes.h"
#include "tests/serial/FakeDispatcher.h"

#include <gtest/gtest.h>
#include <memory>

TEST(DispatcherRing, BuffCountTellsFullFromEmpty)
{
    EXPECT_EQ(TSerBaseDispatcher::BuffCount(5, 5, true), 8192);
    EXPECT_EQ(TSerBaseDispatcher::BuffCount(5, 5, false), 0);
    EXPECT_EQ(TSerBaseDispatcher::BuffCount(10, 8000, false), 202);
    EXPECT_EQ(TSerBaseDispatcher::BuffCount(100, 40, false), 60);
}

TEST(DispatcherRing, ArrivalsMoveIntoTheRingAndReadsConsumeThem)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.Feed(QByteArray(300, 'a'));
    // Each pass moves the unread bytes of the first queued block.
    EXPECT_EQ(d.InQueueUsed(), 256);
    EXPECT_TRUE(d.ExtractData());
    EXPECT_EQ(d.InBuffUsed(), 256);
    EXPECT_TRUE(d.ExtractData());
    EXPECT_EQ(d.InBuffUsed(), 300);
    EXPECT_FALSE(d.ExtractData());
    uint8_t c = 0;
    EXPECT_EQ(d.GetChar(c), 0);
    EXPECT_EQ(c, 'a');
    EXPECT_EQ(d.InBuffUsed(), 299);
    QByteArray rest(299, '\0');
    EXPECT_EQ(d.GetBlock(reinterpret_cast<uint8_t*>(rest.data()), 299), 299);
    EXPECT_EQ(d.GetChar(c), ecBufferIsEmpty);
    EXPECT_FALSE(d.CharReady());
}

TEST(DispatcherRing, AFullRingIsMarkedAndOneReadClearsIt)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.Feed(QByteArray(8192 + 10, 'x'));
    while (d.ExtractData() && !d.Full()) {
    }
    EXPECT_TRUE(d.Full());
    EXPECT_EQ(d.InBuffUsed(), 8192);
    EXPECT_EQ(d.InBuffFree(), 0);
    // Nothing is dropped: the rest waits in the queue.
    EXPECT_TRUE(d.ExtractData());
    EXPECT_EQ(d.InBuffUsed(), 8192);
    uint8_t c;
    EXPECT_EQ(d.GetChar(c), 0);
    EXPECT_FALSE(d.Full());
    d.ExtractData();
    EXPECT_EQ(d.InBuffUsed(), 8192);
}

TEST(DispatcherRing, GetCharAtTheEndWrapsToTheStart)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.SetRing(8191, 8191, false);
    d.Feed("AB");
    d.ExtractData();
    EXPECT_EQ(d.Head(), 1);
    uint8_t c;
    EXPECT_EQ(d.GetChar(c), 0);
    EXPECT_EQ(c, 'A');
    EXPECT_EQ(d.Tail(), 0);
    EXPECT_EQ(d.GetChar(c), 0);
    EXPECT_EQ(c, 'B');
}

TEST(DispatcherRing, ReadsInsideANotificationCountAndTheLargestCountIsConsumed)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.Feed("12345");
    d.ExtractData();
    QByteArray first, second;
    d.RegisterProcTriggerHandler([&](unsigned, unsigned, intptr_t) {
        uint8_t c;
        for (int i = 0; i < 3; ++i) {
            d.GetChar(c);
            first.append(static_cast<char>(c));
        }
        EXPECT_EQ(d.Tail(), 0);  // nothing consumed yet
        EXPECT_TRUE(d.CharReady());
    });
    d.RegisterProcTriggerHandler([&](unsigned, unsigned, intptr_t) {
        uint8_t c;
        while (d.CharReady()) {
            d.GetChar(c);
            second.append(static_cast<char>(c));
        }
    });
    EXPECT_TRUE(d.SendNotify(MsgTriggerAvail, 5, 0));
    EXPECT_EQ(first, "123");
    EXPECT_EQ(second, "12345");
    EXPECT_EQ(d.Tail(), 5);
    EXPECT_EQ(d.InBuffUsed(), 0);
}

TEST(DispatcherRing, PutBlockOfTheFreeSpaceFillsTheRingAndOneMoreIsRefused)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(16), 0);
    EXPECT_EQ(d.PutString(QByteArray()), 0);
    EXPECT_EQ(d.PutString("0123456789"), 0);
    EXPECT_EQ(d.OutBuffFree(), 6);
    EXPECT_EQ(d.PutString("abcdefg"), ecOutputBufferTooSmall);
    EXPECT_EQ(d.OutBuffUsed(), 10);
    EXPECT_EQ(d.PutString("abcdef"), 0);
    EXPECT_EQ(d.OutBuffUsed(), 16);
    EXPECT_EQ(d.PutChar('!'), ecOutputBufferTooSmall);
    EXPECT_EQ(d.TakeOutput(), "0123456789abcdef");
}

TEST(PortList, SlotsAreReusedAndTrailingEmptySlotsGo)
{
    const int base = PortListCount();
    auto a = std::make_unique<FakeDispatcher>();
    auto b = std::make_unique<FakeDispatcher>();
    auto c = std::make_unique<FakeDispatcher>();
    EXPECT_EQ(b->Handle(), a->Handle() + 1);
    EXPECT_EQ(c->Handle(), a->Handle() + 2);
    const int middle = b->Handle();
    b.reset();
    EXPECT_EQ(PortListItem(middle), nullptr);
    auto d = std::make_unique<FakeDispatcher>();
    EXPECT_EQ(d->Handle(), middle);
    c.reset();
    d.reset();
    EXPECT_EQ(PortListCount(), a->Handle() + 1);
    a.reset();
    EXPECT_EQ(PortListCount(), base);
}
