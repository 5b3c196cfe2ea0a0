#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

TEST(DateTime, SerialNumbersMatchTheClassicEpoch)
{
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(2026, 12, 10), 46366.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_THROW(EncodeDate(2026, 2, 30), EConvertError);
    int y, m, d, h, n, s, z;
    const TDateTime dt = EncodeDateTime(2026, 7, 4, 23, 59, 59, 999);
    DecodeDate(dt, y, m, d);
    DecodeTime(dt, h, n, s, z);
    EXPECT_EQ(QList<int>({y, m, d, h, n, s, z}), QList<int>({2026, 7, 4, 23, 59, 59, 999}));
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 10)), 5);  // Thursday
}

TEST(DateTime, FormatDateTimeLetters)
{
    const TDateTime dt = EncodeDateTime(2026, 3, 5, 7, 8, 9, 45);
    struct Case {
        const char* fmt;
        const char* out;
    };
    const Case cases[] = {
        {"dd.mm.yyyy hh:nn:ss,zzz", "05.03.2026 07:08:09,045"},
        {"d.m.yy h:n:s", "5.3.26 7:8:9"},
        {"yyyymmdd", "20260305"},
        {"hh:mm", "07:08"},  // m after an hour is minutes
        {"mmmm mmm", "maaliskuu maalis"},
        {"dddd ddd", "torstai to"},
        {"'at' hh\"h\"", "at 07h"},
        {"c", "5.3.2026 7:08:09"},
        {"ddddd t", "5.3.2026 7:08"},
        {"hh am/pm", "07 am"},
        {"dd.mm.yyyy hh.nn.ss.zzz", "05.03.2026 07.08.09.045"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateTime(c.fmt, dt), QString::fromUtf8(c.out)) << c.fmt;
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2026, 3, 5)), "5.3.2026");
}

TEST(DateTime, ParsingFollowsTheShortDateOrder)
{
    EXPECT_DOUBLE_EQ(StrToDate("5.3.2026"), EncodeDate(2026, 3, 5));
    EXPECT_DOUBLE_EQ(StrToDateTime("05.03.2026 07:08:09"), EncodeDateTime(2026, 3, 5, 7, 8, 9, 0));
    EXPECT_DOUBLE_EQ(StrToTime("7:08"), EncodeTime(7, 8, 0, 0));
    TDateTime v;
    EXPECT_FALSE(TryStrToDate("31.2.2026", v));
    EXPECT_FALSE(TryStrToDateTime("x", v));
    EXPECT_THROW(StrToDate("today"), EConvertError);
}

TEST(DateTime, QDateTimeRoundTrip)
{
    const QDateTime q(QDate(2026, 12, 10), QTime(23, 59, 59, 998));
    EXPECT_EQ(DateTimeToQDateTime(QDateTimeToDateTime(q)), q);
    EXPECT_EQ(MilliSecondsBetween(EncodeTime(0, 0, 1, 0), EncodeTime(0, 0, 2, 500)), 1500);
}
