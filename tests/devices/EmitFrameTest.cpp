// Frames and the emit string: the card number, the padding rules, the punch
// slots, the comparison form, and the simulator's frames decoding to the card
// they describe.

#include "devices/vrkEmitReader.h"
#include "tests/devices/FrameFeeder.h"
#include "tools/emitsim/EmitCard.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

T250Frame FrameOf(const QByteArray& Decoded, int Count = -1)
{
    T250Frame f;
    const int n = Count < 0 ? static_cast<int>(Decoded.size()) : Count;
    for (int i = 0; i < n; ++i)
        f.add(static_cast<uint8_t>(Decoded[i]));
    return f;
}

TEmitCard Card(uint32_t Number, int Week = 12, int Year = 19)
{
    TEmitCard c;
    c.Number = Number;
    c.Week = Week;
    c.Year = Year;
    return c;
}

}  // namespace

TEST(T250Frame, NewFrameIsEmptyAndHasNoCardNumber)
{
    T250Frame f;
    EXPECT_EQ(f.FcurByte, 1);
    EXPECT_EQ(f.getBadgeNo(), "-1");
    EXPECT_EQ(f.getProductionWeek(), 0);
    EXPECT_EQ(f.getProductionYear(), 0);
}

TEST(T250Frame, CardNumberNeedsNineBytes)
{
    const QByteArray frame = EmitFrame(Card(12345));
    EXPECT_EQ(FrameOf(frame, 8).getBadgeNo(), "-1");
    EXPECT_EQ(FrameOf(frame, 9).getBadgeNo(), "12345");
}

TEST(T250Frame, KeepsAtMost216Bytes)
{
    T250Frame f;
    for (int i = 0; i < 300; ++i)
        f.add(i & 0xFF);
    EXPECT_EQ(f.FcurByte, 217);
    EXPECT_EQ(f.frameBytes[216], 215);
    EXPECT_EQ(f.frameBytes[217], 0);
}

TEST(T250Frame, Card12345IsPaddedInFieldFourAndPlainInFieldSeven)
{
    T250Frame f;
    for (int b : {0xFF, 0xFF, 0x39, 0x30, 0x00, 0, 12, 19, 0, 0})
        f.add(b);
    const QString e = f.toEmitString(QDateTime(QDate(2026, 5, 4), QTime(9, 8, 7, 65)));
    EXPECT_EQ(EmitField(e, 4), "\"012345\"");
    EXPECT_EQ(EmitField(e, 7), "12345");
    EXPECT_EQ(EmitField(e, 5), "\"04.05.2026 09.08.07.065\"");
    EXPECT_EQ(EmitField(e, 6), EmitField(e, 5));
    EXPECT_EQ(EmitField(e, 8), "0012");
    EXPECT_EQ(EmitField(e, 9), "0019");
}

TEST(T250Frame, NumbersAboveSixDigitsAreNotPadded)
{
    const T250Frame f = FrameOf(EmitFrame(Card(1234567)));
    const QString e = f.toEmitString();
    EXPECT_EQ(EmitField(e, 4), "\"1234567\"");
    EXPECT_EQ(EmitField(e, 7), "1234567");
}

TEST(T250Frame, EmitStringHas109FieldsInTheFixedForm)
{
    TEmitCard c = Card(999999, 3, 7);
    c.Punches = {{31, 528}, {32, 61}, {250, 1200}};
    const QString e = FrameOf(EmitFrame(c)).toEmitString(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 6)));
    EXPECT_EQ(e.split(',').size(), 109);
    const QString head = "\"X\",\"0\",\"0\",\"999999\",\"02.01.2026 03.04.05.006\",\"02.01.2026 03.04.05.006\","
                         "999999,0003,0007,031,00528,032,00061,250,01200,000,00000";
    EXPECT_TRUE(e.startsWith(head)) << qPrintable(e);
    EXPECT_TRUE(e.endsWith(",000,00000"));
    EXPECT_FALSE(e.contains(' ') && !e.contains("2026 0"));
    EXPECT_TRUE(QRegularExpression("^(\"[^\"]*\",){6}(\\d+,){3}(\\d{3},\\d{5},){49}\\d{3},\\d{5}$").match(e).hasMatch());
}

TEST(T250Frame, SlotZeroCode31Time0210GivesFields031And00528)
{
    T250Frame f;
    for (int b : {0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0, 0, 31, 0x10, 0x02})
        f.add(b);
    EXPECT_TRUE(f.getSplits().startsWith("031,00528,000,00000"));
    EXPECT_EQ(f.getSplits().split(',').size(), 100);
}

TEST(T250Frame, ComparisonFormIgnoresTheTimeOfCode250)
{
    TEmitCard a = Card(4321);
    a.Punches = {{31, 100}, {250, 555}};
    TEmitCard b = a;
    b.Punches[1].Time = 777;
    const T250Frame fa = FrameOf(EmitFrame(a));
    const T250Frame fb = FrameOf(EmitFrame(b));
    EXPECT_EQ(fa.toString(), fb.toString());
    EXPECT_TRUE(fa.toString().startsWith("Week=12, Year=19, Chip=4321, Splits=31,100,250,0,0,0"));
    b.Punches[0].Time = 101;
    EXPECT_NE(fa.toString(), FrameOf(EmitFrame(b)).toString());
}

TEST(EmitSimulatorFrame, FieldsChecksAndWireForm)
{
    TEmitCard c;
    ASSERT_TRUE(TEmitCard::Parse("70000:5:21,31/528,40/65535", c));
    const QByteArray f = EmitFrame(c);
    ASSERT_EQ(f.size(), 217);
    EXPECT_EQ(uint8_t(f[0]), 0xFF);
    EXPECT_EQ(uint8_t(f[1]), 0xFF);
    int sum310 = 0, all = 0;
    for (int k = 3; k <= 10; ++k)
        sum310 += uint8_t(f[k - 1]);
    for (char ch : f)
        all += uint8_t(ch);
    EXPECT_EQ(sum310 % 256, 0);
    EXPECT_EQ(all % 256, 0);
    const T250Frame t = FrameOf(f);
    EXPECT_EQ(t.getBadgeNo(), "70000");
    EXPECT_EQ(t.getProductionWeek(), 5);
    EXPECT_EQ(t.getProductionYear(), 21);
    EXPECT_TRUE(t.getSplits().startsWith("031,00528,040,65535,000,00000"));
    const QByteArray w = EmitWire(f);
    for (int i = 0; i < f.size(); ++i)
        EXPECT_EQ(uint8_t(w[i]), uint8_t(f[i]) ^ 0xDF);
    EXPECT_FALSE(TEmitCard::Parse("abc", c));
    EXPECT_FALSE(TEmitCard::Parse("16777216", c));
    EXPECT_FALSE(TEmitCard::Parse("5,31", c));
}
