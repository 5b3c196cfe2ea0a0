// Codes to exceptions, the message table and the tick timer.

#include "devices/serial/SerErrors.h"
#include "devices/serial/SerMessageTable.h"
#include "devices/serial/SerTypes.h"
#include "devices/serial/SerUtils.h"
#include "platform/rtl/Component.h"

#include <gtest/gtest.h>

namespace {

int32_t gTick = 1000;
int32_t FakeTick()
{
    return gTick;
}

}  // namespace

TEST(SerErrors, CodesWithAClassRaiseThatClassWithItsText)
{
    try {
        CheckException(nullptr, -2001);
        FAIL();
    } catch (const EBadId& e) {
        EXPECT_EQ(e.Message(), "ie_BadId - Specified comport doesn't exist");
        EXPECT_EQ(e.ErrorCode, -2001);
    }
    EXPECT_THROW(CheckException(nullptr, -2008), EAlreadyOpen);
    EXPECT_THROW(CheckException(nullptr, -2011), ENoPortSelected);
    EXPECT_THROW(CheckException(nullptr, -3007), EBufferIsEmpty);
    EXPECT_THROW(CheckException(nullptr, -3006), EOutputBufferTooSmall);
    EXPECT_THROW(CheckException(nullptr, -5002), ETriggerTooLong);
    EXPECT_THROW(CheckException(nullptr, -13868), ETapiNoMem);
    EXPECT_THROW(CheckException(nullptr, -13868), ETapi);
    EXPECT_THROW(CheckException(nullptr, -2007), EOpenComm);
    try {
        CheckException(nullptr, -13868);
    } catch (const ESerException& e) {
        EXPECT_EQ(e.Message(), "No memory");
    }
}

TEST(SerErrors, SystemCodesGiveInputOutputErrors)
{
    try {
        CheckException(nullptr, -5);
        FAIL();
    } catch (const ESerInOutError& e) {
        EXPECT_EQ(e.Message(), "File access denied");
        EXPECT_EQ(e.ErrorCode, 5);
    }
    try {
        CheckException(nullptr, -161);
        FAIL();
    } catch (const ESerInOutError& e) {
        EXPECT_EQ(e.Message(), "Device read error");
        EXPECT_EQ(e.ErrorCode, 161);
    }
    EXPECT_THROW(CheckException(nullptr, -8), EOutOfMemory);
}

TEST(SerErrors, CodesWithoutClassAreDorvExceptions)
{
    for (int code : {-1001, -3002, -200, -99999}) {
        try {
            CheckException(nullptr, code);
            FAIL() << code;
        } catch (const ESerException& e) {
            EXPECT_EQ(e.Message(), "Dorv exception") << code;
            EXPECT_EQ(e.ErrorCode, 0);
        }
    }
    EXPECT_EQ(CheckException(nullptr, 0), 0);
    EXPECT_EQ(CheckException(nullptr, 7), 7);
}

TEST(SerErrors, NothingIsRaisedWhileTheComponentLoads)
{
    TComponent c;
    c.BeginLoading();
    EXPECT_EQ(CheckException(&c, -2001), -2001);
    c.EndLoading();
    EXPECT_THROW(CheckException(&c, -2001), EBadId);
}

TEST(SerErrors, TableLookupIgnoresTheSign)
{
    EXPECT_EQ(MessageNumberToString(2001), MessageNumberToString(-2001));
    EXPECT_EQ(MessageNumberToString(-3006), "Output buffer too small for block");
    EXPECT_EQ(MessageNumberToString(1), "");
    EXPECT_EQ(MessageNumberToString(15502), "--------  --------  ------------  --------  ---------");
    EXPECT_EQ(DorvLoadStr(-2011), "The ComNumber property of the TSerComPort has not been set");
    EXPECT_GT(MessageTableSize(), 100);
}

// The whole table: every code of the layer by range, each absolute value
// once, in search order, and the eleven entries that have no text. Three
// codes of the port layer of our own (no permission, not a serial device,
// open failed) come on top.
TEST(SerErrors, TableHoldsEveryEntryOfEveryRange)
{
    const int ownCodes = 3;
    ASSERT_EQ(MessageTableSize(), 897 + ownCodes);
    std::vector<int> empty;
    for (int i = 0; i < SerMessageCount; ++i) {
        const int n = SerMessageNumberLookup[i].MessageNumber;
        if (i > 0)
            EXPECT_LT(std::abs(SerMessageNumberLookup[i - 1].MessageNumber), std::abs(n)) << n;
        EXPECT_EQ(MessageNumberToString(n), QString::fromLatin1(SerMessageNumberLookup[i].MessageString)) << n;
        if (QByteArray(SerMessageNumberLookup[i].MessageString).isEmpty())
            empty.push_back(n);
    }
    EXPECT_EQ(empty, (std::vector<int>{4200, 4600, 4630, 4660, 4725, 4726, 4727, 4728, 4730, 10000, 15100}));
    struct TRange {
        int From, To, Count;
        bool Negative;
    };
    const TRange ranges[] = {{4001, 4021, 19, true},    {4101, 4843, 141, false}, {5501, 5506, 6, true},
                             {6001, 6016, 16, true},    {7001, 7502, 17, true},   {8001, 8500, 65, true},
                             {9001, 9007, 7, false},    {10000, 11004, 52, false}, {13501, 13933, 69, false},
                             {13801, 13980, 112, true}, {15001, 15021, 21, false}, {15100, 15356, 257, false},
                             {15501, 15502, 2, false},  {15601, 15608, 8, false}, {15700, 15742, 43, false}};
    for (const TRange& r : ranges) {
        int count = 0;
        for (int i = 0; i < SerMessageCount; ++i) {
            const int n = SerMessageNumberLookup[i].MessageNumber;
            if ((n < 0) == r.Negative && std::abs(n) >= r.From && std::abs(n) <= r.To)
                ++count;
        }
        EXPECT_EQ(count, r.Count) << r.From << ".." << r.To;
    }
    EXPECT_EQ(MessageNumberToString(-13868), "No memory");
    EXPECT_EQ(MessageNumberToString(15700 + 24), "TerminalType");
    EXPECT_EQ(MessageNumberToString(-161), "Device read error");
}

TEST(SerTimer, ZeroTickTimerExpiresFromTheNextTick)
{
    SetTickSource(&FakeTick);
    gTick = 1000;
    EventTimer et;
    NewTimer(et, 0);
    EXPECT_FALSE(TimerExpired(et));
    ++gTick;
    EXPECT_TRUE(TimerExpired(et));
    EXPECT_EQ(RemainingTime(et), 0);
    NewTimer(et, 10);
    gTick += 4;
    EXPECT_EQ(RemainingTime(et), 6);
    NewTimer(et, MaxTicks + 100);
    EXPECT_EQ(et.ExpireTicks - et.StartTicks, MaxTicks);
    SetTickSource(nullptr);
}
