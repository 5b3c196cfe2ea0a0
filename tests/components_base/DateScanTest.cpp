// Reading dates and times written in a display format, and 8-bit code pages.
#include "components/base/rtool.h"

#include <gtest/gtest.h>

namespace {

int CurrentYear()
{
    int y = 0, m = 0, d = 0;
    DecodeDate(Date(), y, m, d);
    return y;
}

TFormatSettings English()
{
    TFormatSettings fs = TFormatSettings::Finnish();
    fs.ShortMonthNames = QStringList{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    fs.LongMonthNames = QStringList{"January", "February", "March", "April", "May", "June", "July", "August", "September",
                                    "October", "November", "December"};
    fs.TimePMString = QStringLiteral("PM");
    fs.DateSeparator = QLatin1Char('-');
    return fs;
}

struct ScanCase {
    const char* Text;
    const char* Format;
    int Year, Month, Day, Hour, Min, Sec, MSec;  // Year 0: no date part; -1: the scan fails
};

TEST(ScanFormattedDateTime, CaseTable)
{
    const int century = CurrentYear() / 100 * 100;
    const int now = CurrentYear();
    const ScanCase cases[] = {
        {"31.12.24 23:59", "dd.mm.yy hh:nn", century + 24, 12, 31, 23, 59, 0, 0},
        {"5 Mar 2024", "d mmm yyyy", 2024, 3, 5, -1, 0, 0, 0},
        {"5 march 2024", "d mmmm yyyy", 2024, 3, 5, -1, 0, 0, 0},
        {"13:45", "hh:nn", 0, 0, 0, 13, 45, 0, 0},
        {"13:45", "hh:mm", 0, 0, 0, 13, 45, 0, 0},
        {"01.02.2023 08:07", "dd.mm.yyyy hh:mm", 2023, 2, 1, 8, 7, 0, 0},
        {"2023-02-01", "yyyy-mm-dd", 2023, 2, 1, -1, 0, 0, 0},
        {"1/2/2023", "d/m/yyyy", 2023, 2, 1, -1, 0, 0, 0},
        {"1-2-2023", "d/m/yyyy", 2023, 2, 1, -1, 0, 0, 0},  // the locale separator stands for "/"
        {"\"1.2.2023\"", "\"d.m.yyyy\"", -1, 0, 0, 0, 0, 0, 0},  // quotes of the format go, those of the text stay
        {"1.2.0", "d.m.y", now, 2, 1, -1, 0, 0, 0},
        {"7.8.", "d.m.", now, 8, 7, -1, 0, 0, 0},  // no year part: the current year
        {"1:30 PM", "h:nn ampm", 0, 0, 0, 13, 30, 0, 0},
        {"12:30 pm", "h:nn ampm", 0, 0, 0, 12, 30, 0, 0},  // noon stays noon
        {"10:11:12.345", "hh:nn:ss.zzz", 0, 0, 0, 10, 11, 12, 345},
        {"32.1.2024", "dd.mm.yyyy", -1, 0, 0, 0, 0, 0, 0},
        {"1.13.2024", "dd.mm.yyyy", -1, 0, 0, 0, 0, 0, 0},
        {"25:00", "hh:nn", -1, 0, 0, 0, 0, 0, 0},
        {"-3:15", "hh:nn", 0, 0, 0, 0, 15, 0, 0},  // an hour below 1 counts as 0
        {"abc", "xyz", -1, 0, 0, 0, 0, 0, 0},
    };
    const TFormatSettings fs = English();
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + " / " + c.Format);
        TDateTime v = -99;
        const bool ok = ScanFormattedDateTime(QString::fromUtf8(c.Text), QString::fromUtf8(c.Format), v, fs);
        if (c.Year == -1) {
            EXPECT_FALSE(ok);
            EXPECT_EQ(v, -99);  // untouched on failure
            continue;
        }
        ASSERT_TRUE(ok);
        TDateTime expected = 0;
        if (c.Year > 0)
            expected += EncodeDate(c.Year, c.Month, c.Day);
        if (c.Hour >= 0)
            expected += EncodeTime(c.Hour, c.Min, c.Sec, c.MSec);
        EXPECT_NEAR(v, expected, 1e-9);
    }
}

TEST(ScanFormattedDateTime, ProgramWideSettingsAreUsedByDefault)
{
    TDateTime v = 0;
    ASSERT_TRUE(ScanFormattedDateTime(QStringLiteral("24.12.2025"), QStringLiteral("dd.mm.yyyy"), v));
    EXPECT_EQ(v, EncodeDate(2025, 12, 24));
    // the Finnish month names of the program-wide settings
    ASSERT_TRUE(ScanFormattedDateTime(QStringLiteral("3 ") + FormatSettings().LongMonthNames.value(4) + QStringLiteral(" 2020"),
                                      QStringLiteral("d mmmm yyyy"), v));
    EXPECT_EQ(v, EncodeDate(2020, 5, 3));
}

TEST(FormattedStrToDateTimeDef, FormatDateExAndLocaleRoutes)
{
    const TDateTime def = EncodeDate(2000, 1, 1);
    EXPECT_EQ(FormattedStrToDateTimeDef(QStringLiteral("2.3.2024"), QStringLiteral(" d.m.yyyy "), def, false), EncodeDate(2024, 3, 2));
    EXPECT_EQ(FormattedStrToDateTimeDef(QStringLiteral("x"), QStringLiteral("d.m.yyyy"), def, true), def);
    // without a format: the typed-date reader first, then the locale's conversion
    EXPECT_EQ(FormattedStrToDateTimeDef(QStringLiteral("050324"), QString(), def, true), EncodeDate(2024, 3, 5));
    EXPECT_EQ(FormattedStrToDateTimeDef(QStringLiteral("050324"), QStringLiteral("  "), def, false), def);
    EXPECT_NEAR(FormattedStrToDateTimeDef(QStringLiteral("5.3.2024 10:30"), QString(), def, false),
                EncodeDate(2024, 3, 5) + EncodeTime(10, 30, 0, 0), 1e-9);
    EXPECT_EQ(FormattedStrToDateTimeDef(QString(), QString(), def, true), def);
    // a time alone is the locale conversion's too
    EXPECT_NEAR(FormattedStrToDateTimeDef(QStringLiteral("12:30"), QString(), def, false), EncodeTime(12, 30, 0, 0), 1e-9);
    EXPECT_NEAR(FormattedStrToDateTimeDef(QStringLiteral("12:30"), QString(), def, true), EncodeTime(12, 30, 0, 0), 1e-9);
}

TEST(SortDate, TimesAloneAreOrdered)
{
    EXPECT_EQ(SortDate(QStringLiteral("9:30"), QStringLiteral("10:00")), -1);
    EXPECT_EQ(SortDate(QStringLiteral("10:00"), QStringLiteral("9:30")), 1);
    EXPECT_EQ(SortDate(QStringLiteral("1.1.2026"), QStringLiteral("1.1.2026 0:01")), -1);
    EXPECT_EQ(SortDate(QString(), QStringLiteral("9:30")), -1);
}

TEST(WideStringToString, CodePagesTable)
{
    struct Case {
        QString Text;
        int CodePage;
        QByteArray Expected;
    };
    const Case cases[] = {
        {QString(), CP_WINDOWS1252, QByteArray()},
        {QStringLiteral("Äijä €"), CP_WINDOWS1252, QByteArray("\xC4ij\xE4 \x80")},
        {QStringLiteral("A\u0308bc"), CP_WINDOWS1252, QByteArray("\xC4" "bc")},   // composed
        {QStringLiteral("x\u0323y"), CP_WINDOWS1252, QByteArray("xy")},           // a mark that composes with nothing is dropped
        {QStringLiteral("Ωk"), CP_WINDOWS1252, QByteArray("?k")},
        {QStringLiteral("€ä"), CP_ISO8859_1, QByteArray("?\xE4")},
        {QStringLiteral("äx"), CP_US_ASCII, QByteArray("?x")},
        {QStringLiteral("äx"), CP_UTF8, QByteArray("\xC3\xA4x")},
        {QStringLiteral("äx"), CP_ACP, QByteArray("\xC3\xA4x")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WideStringToString(c.Text, c.CodePage), c.Expected) << c.Text.toStdString() << " " << c.CodePage;
    // receipt letters in code page 437 where the system has the codec; "?" otherwise
    const QByteArray oem = WideStringToString(QStringLiteral("ä"), CP_OEM437);
    EXPECT_TRUE(oem == QByteArray("\x84") || oem == QByteArray("?")) << oem.toHex().toStdString();
}

}  // namespace
