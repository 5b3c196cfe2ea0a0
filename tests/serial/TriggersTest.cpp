// Length, data, timer and status triggers and the notification rules.

#include "devices/serial/SerTypes.h"
#include "tests/serial/FakeDispatcher.h"

#include <gtest/gtest.h>

namespace {

struct Recorder {
    std::vector<std::pair<unsigned, unsigned>> Seen;
    int ReadEach = -1;  // bytes to read on a data-available notification; -1 all
};

void Listen(FakeDispatcher& D, Recorder& R)
{
    D.RegisterProcTriggerHandler([&D, &R](unsigned Msg, unsigned W, intptr_t) {
        R.Seen.push_back({Msg, W});
        if (Msg == MsgTriggerAvail) {
            uint8_t c;
            int n = R.ReadEach < 0 ? static_cast<int>(W) : R.ReadEach;
            while (n-- > 0 && D.GetChar(c) == 0) {
            }
        }
    });
}

}  // namespace

TEST(Triggers, OneArrivalGivesOneNotificationWithAllUnreadBytes)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.ChangeLengthTrigger(1);
    Recorder r;
    Listen(d, r);
    d.Feed("abcde");
    d.ProcessComEvent();
    ASSERT_EQ(r.Seen.size(), 1u);
    EXPECT_EQ(r.Seen[0], std::make_pair(MsgTriggerAvail, 5u));
    EXPECT_EQ(d.InBuffUsed(), 0);
    d.ProcessComEvent();
    EXPECT_EQ(r.Seen.size(), 1u);
}

TEST(Triggers, BytesLeftUnreadAreAnnouncedAgainWithTheNextArrival)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.ChangeLengthTrigger(1);
    Recorder r;
    r.ReadEach = 3;
    Listen(d, r);
    d.Feed("abcde");
    d.ExtractData();
    EXPECT_FALSE(d.CheckReceiveTriggers());
    EXPECT_EQ(d.InBuffUsed(), 2);
    EXPECT_FALSE(d.CheckReceiveTriggers());  // nothing new arrived
    r.ReadEach = -1;
    d.Feed("fghi");
    d.ExtractData();
    EXPECT_TRUE(d.CheckReceiveTriggers());
    ASSERT_EQ(r.Seen.size(), 2u);
    EXPECT_EQ(r.Seen[1].second, 6u);
}

TEST(Triggers, LengthTriggerWaitsForEnoughBytes)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.ChangeLengthTrigger(10);
    Recorder r;
    Listen(d, r);
    d.Feed("1234");
    d.ProcessComEvent();
    EXPECT_TRUE(r.Seen.empty());
    d.Feed("567890");
    d.ProcessComEvent();
    ASSERT_EQ(r.Seen.size(), 1u);
    EXPECT_EQ(r.Seen[0].second, 10u);
}

TEST(Triggers, APortWithoutHandlersIsNotNotified)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.ChangeLengthTrigger(1);
    d.RegisterWndTriggerHandler(12345);
    d.UpdateHandlerFlags(2);
    d.Feed("abc");
    d.ProcessComEvent();
    EXPECT_EQ(d.InBuffUsed(), 3);  // the bytes stay in the ring
}

TEST(Triggers, HandlesAndRemoval)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    const int t = d.AddTimerTrigger();
    EXPECT_EQ(t, 8);
    const int s = d.AddStatusTrigger(stLine);
    EXPECT_EQ(s, 16 + stLine);
    EXPECT_EQ(TSerBaseDispatcher::ClassifyStatusTrigger(s), stLine);
    EXPECT_EQ(d.AddStatusTrigger(6), ecBadArgument);
    EXPECT_EQ(d.AddDataTrigger(QByteArray(22, 'x'), false), ecTriggerTooLong);
    const int dt = d.AddDataTrigger("OK", true);
    EXPECT_EQ(dt, 24);
    d.ChangeLengthTrigger(1);
    EXPECT_EQ(d.RemoveTrigger(1), 0);
    EXPECT_EQ(d.LengthTrigger(), 0);
    EXPECT_EQ(d.RemoveTrigger(t), 0);
    EXPECT_EQ(d.RemoveTrigger(t), ecBadTriggerHandle);
    EXPECT_EQ(d.SetTimerTrigger(999, 1, true), ecBadTriggerHandle);
}

TEST(Triggers, AfterAllCounterHandlesTheSmallestFreeMultipleOf8IsTaken)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    for (int i = 1; i < 4096; ++i) {
        const int h = d.AddTimerTrigger();
        ASSERT_EQ(h, 8 * i);
        if (h > 4096)
            d.RemoveTrigger(h);
    }
    // 8 .. 4096 are held; remove two and the smaller comes back first.
    d.RemoveTrigger(800);
    d.RemoveTrigger(40);
    EXPECT_EQ(d.AddTimerTrigger(), 40);
    EXPECT_EQ(d.AddTimerTrigger(), 800);
    EXPECT_EQ(d.AddTimerTrigger(), ecNoMoreTriggers);
}

TEST(Triggers, DataTriggerNotifiesItsHandleAndLength)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    const int h = d.AddDataTrigger("ok", true);
    Recorder r;
    r.ReadEach = 0;
    Listen(d, r);
    d.Feed("xxOK");
    d.ProcessComEvent();
    ASSERT_FALSE(r.Seen.empty());
    EXPECT_EQ(r.Seen.back(), std::make_pair(MsgTriggerData, static_cast<unsigned>(h)));
}

TEST(Triggers, StatusTriggersFireOncePerActivation)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    Recorder r;
    Listen(d, r);
    const int line = d.AddStatusTrigger(stLine);
    d.SetStatusTrigger(line, 8, true);  // breaks
    d.SetLastError(0x10);
    EXPECT_TRUE(d.CheckStatusTriggers());
    EXPECT_FALSE(d.CheckStatusTriggers());
    ASSERT_EQ(r.Seen.size(), 1u);
    EXPECT_EQ(r.Seen[0], std::make_pair(MsgTriggerStatus, static_cast<unsigned>(line)));
    EXPECT_EQ(d.GetLineError(), 9);
    EXPECT_TRUE(d.CheckLineBreak());
    EXPECT_FALSE(d.CheckLineBreak());

    const int sent = d.AddStatusTrigger(stOutSent);
    d.SetStatusTrigger(sent, 0, true);
    d.PutChar('x');
    d.ResetStatusHits();
    EXPECT_TRUE(d.CheckStatusTriggers());
    EXPECT_EQ(r.Seen.back().second, static_cast<unsigned>(sent));
}

TEST(Triggers, LineErrorsAreReportedInOrderAndBreakStays)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.SetLastError(0x18);
    EXPECT_EQ(d.GetLineError(), 4);
    EXPECT_EQ(d.LastErrorBits(), 0x10u);
    EXPECT_TRUE(d.CheckLineBreak());
    EXPECT_EQ(d.LastErrorBits(), 0u);
}

TEST(Triggers, ModemChangesSetTheChangeFlagsOnce)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    d.Lines = 0;
    d.GetModemStatus();
    d.Lines = 0x10;  // CTS raised
    d.MapEventsToMS(0x08);
    EXPECT_TRUE(d.CheckDeltaCTS());
    EXPECT_FALSE(d.CheckDeltaCTS());
    EXPECT_TRUE(d.CheckCTS());
}

TEST(Triggers, SavedTriggersComeBack)
{
    FakeDispatcher a;
    ASSERT_EQ(a.Open(), 0);
    a.ChangeLengthTrigger(1);
    const int t = a.AddTimerTrigger();
    TTriggerSave save;
    a.SaveTriggers(save);
    FakeDispatcher b;
    ASSERT_EQ(b.Open(), 0);
    b.RestoreTriggers(save);
    EXPECT_EQ(b.LengthTrigger(), 1);
    EXPECT_EQ(b.SetTimerTrigger(t, 5, true), 0);
    EXPECT_NE(b.AddTimerTrigger(), t);
}

TEST(Triggers, HardwareFlowThresholdsGoIntoTheControlBlock)
{
    FakeDispatcher d;
    ASSERT_EQ(d.Open(), 0);
    EXPECT_EQ(d.HWFlowOptions(3686, 409, 2), 0);
    EXPECT_EQ(d.Dcb().Flags & dcb_RtsControlMask, dcb_RtsControlHandshake);
    EXPECT_EQ(d.Dcb().XoffLim, 410);
    EXPECT_EQ(d.Dcb().XonLim, 409);
    EXPECT_EQ(d.SetRts(false), 1);  // the line is under flow control
    EXPECT_EQ(d.HWFlowOptions(100, 200, 2), ecBadArgument);
    EXPECT_EQ(d.HWFlowOptions(5000, 10, 2), ecBadArgument);
    EXPECT_EQ(d.HWFlowOptions(0, 0, 0), 0);
    EXPECT_EQ(d.HWFlowState(), 1);
}
