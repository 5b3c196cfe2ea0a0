// Codes to exceptions, the message table and the tick timer.

#include "devices/serial/SerErrors.h"
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
