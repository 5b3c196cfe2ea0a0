// The settings texts of the per-field lists written and read back: link
// kinds, check-box values, data and status bars, footer cells and data-image
// sections, with the edge cases of each as a table.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StrUtils.h"

TEST_F(RDBGridTest, LinkKindsAndCheckBoxValues)
{
    struct Case {
        const char* Entry;
        TrLinkType Kind;
    };
    const Case cases[] = {{"CLUB=http://", ltHTTP}, {"CLUB=mailto:", ltMailTo}, {"CLUB=HTTP://", ltUserDefined},
                          {"CLUB=user_defined", ltUserDefined}, {"NAME=http://", ltNone}};
    for (const Case& c : cases) {
        grid->FieldsAsLink.Clear();
        grid->FieldsAsLink.Add(QString::fromLatin1(c.Entry));
        EXPECT_EQ(grid->Fields_GetLinkType(QStringLiteral("CLUB")), c.Kind) << c.Entry;
    }
    grid->Fields_SetLinkType(QStringLiteral("CLUB"), ltMailTo);
    EXPECT_EQ(grid->FieldsAsLink.Values(QStringLiteral("CLUB")), QStringLiteral("mailto:"));
    grid->Fields_SetLinkType(QStringLiteral("CLUB"), ltNone);
    EXPECT_EQ(grid->FieldsAsLink.IndexOfName(QStringLiteral("CLUB")), -1) << "none deletes the entry";
    grid->FieldsAsLink.Clear();
    grid->Fields_SetLinkType(QStringLiteral("  "), ltHTTP);
    EXPECT_EQ(grid->FieldsAsLink.Count(), 0) << "a blank name writes nothing";

    grid->Fields_SetBoolValues(QStringLiteral("RENTED"), QStringLiteral("K;E"));
    EXPECT_EQ(grid->Fields_GetBoolValues(QStringLiteral("RENTED")), QStringLiteral("K;E"));
    grid->Fields_SetBoolValues(QStringLiteral("RENTED"), QString());
    EXPECT_EQ(grid->FieldsAsBoolean.Count(), 0);
}

TEST_F(RDBGridTest, DataAndStatusBarTextsRoundTrip)
{
    struct Case {
        double Min, Max;
        TrDataBarText Type;
        TColor From, To;
        const char* Text;
    };
    const Case cases[] = {
        {0, 0, dbtPercent, clRed, clBlue, ""},  // both 0: no bar, the entry goes
        {0, 100, dbtValue, clNone, clRed, "0;100;0"},  // colour to only after colour from
        {10, 1.5, dbtPercent, clRed, clNone, "10;1.5;1;Red"},
        {-5, 20, dbtNothing, clRed, TColor(0x123456), "-5;20;2;Red;$00123456"},
    };
    for (const Case& c : cases) {
        const QString text = grid->Fields_SetDataBarSettings(QStringLiteral("SECS"), c.Min, c.Max, c.Type, c.From, c.To);
        // Numbers in the locale's form ("1,5" under a Finnish locale); reading takes either.
        EXPECT_EQ(text, QString::fromLatin1(c.Text).replace(QStringLiteral("1.5"), FloatToStr(1.5)));
        EXPECT_EQ(grid->FieldsAsDataBar.Values(QStringLiteral("SECS")), text);
        if (text.isEmpty())
            continue;
        double mn = 0, mx = 0;
        TrDataBarText type = dbtValue;
        TColor from = 0, to = 0;
        ASSERT_TRUE(grid->Fields_GetDataBarSettings(QStringLiteral("SECS"), mn, mx, type, from, to));
        EXPECT_DOUBLE_EQ(mn, c.Min);
        EXPECT_DOUBLE_EQ(mx, c.Max);
        EXPECT_EQ(type, c.Type);
        EXPECT_EQ(from, c.From);
        EXPECT_EQ(to, c.From == clNone ? TColor(clNone) : c.To);
    }
    EXPECT_EQ(grid->Fields_SetStatusBarSettings(QStringLiteral("SECS"), 0, sbtPie, clRed, clBlue), QString());
    EXPECT_EQ(grid->Fields_SetStatusBarSettings(QStringLiteral("SECS"), 7, sbtPie, clRed, clBlue), QStringLiteral("7;5;Red;Blue"));
    int steps = 0;
    TrStatusBarType bar = sbtProgressBar;
    TColor all = 0, done = 0;
    ASSERT_TRUE(grid->Fields_GetStatusBarSettings(QStringLiteral("*7;9"), steps, bar, all, done));
    EXPECT_EQ(steps, 7);
    EXPECT_EQ(bar, sbtPie) << "types above the last read as the last";
    // Either separator reads as the decimal one; with both, the first separates thousands.
    const struct {
        const char* Text;
        double Min, Max;
    } numbers[] = {{"*1,5;2.25", 1.5, 2.25}, {"*1.234,5;2,000.75", 1234.5, 2000.75}, {"*x;", 0, 100}};
    for (const auto& n : numbers) {
        double mn = -1, mx = -1;
        TrDataBarText type = dbtValue;
        TColor from = 0, to = 0;
        ASSERT_TRUE(grid->Fields_GetDataBarSettings(QString::fromLatin1(n.Text), mn, mx, type, from, to));
        EXPECT_DOUBLE_EQ(mn, n.Min) << n.Text;
        EXPECT_DOUBLE_EQ(mx, n.Max) << n.Text;
    }
}

TEST_F(RDBGridTest, FooterSettingsTokensRoundTrip)
{
    grid->FooterRow()->FieldFooterDefs.Add(QStringLiteral("SECS=Sum = %sum;b;r;red;12"));
    QString mask;
    int size = -1;
    TColor colour = 0;
    TrDBGrid::TFontStylesDefault styles;
    TAlignmentDefault align = tadDefault;
    TFont font;
    font.SetStyle(0);
    ASSERT_TRUE(grid->FooterRow_GetSettings(QStringLiteral("SECS"), mask, &font, size, colour, styles, align));
    EXPECT_EQ(mask, QStringLiteral("Sum = %sum"));
    EXPECT_EQ(align, tadRight);
    EXPECT_EQ(styles, TrDBGrid::TFontStylesDefault{fsdBold});
    EXPECT_EQ(colour, TColor(clRed));
    EXPECT_EQ(size, 12);
    EXPECT_TRUE(font.Style() & fsBold) << "the given font takes the tokens too";
    EXPECT_FALSE(grid->FooterRow_GetSettings(QStringLiteral("NAME"), mask, nullptr, size, colour, styles, align));

    const QString text = grid->FooterRow_SetSettings(QStringLiteral("NAME"), QStringLiteral("%CountAll juoksijaa"), 9, clNavy,
                                                     {fsdItalic, fsdUnderline}, tadCenter);
    EXPECT_EQ(text, QStringLiteral("%CountAll juoksijaa;I;U;C;Navy;9"));
    EXPECT_EQ(grid->FooterRow()->FieldFooterDefs.Values(QStringLiteral("NAME")), text);
    EXPECT_EQ(grid->FooterRow_SetSettings(QStringLiteral("NAME"), QString(), 9, clNavy, {}, tadLeft), QString());
    EXPECT_EQ(grid->FooterRow()->FieldFooterDefs.IndexOfName(QStringLiteral("NAME")), -1);
}

TEST_F(RDBGridTest, DataImageSectionsAreReadAndRewrittenInPlace)
{
    grid->DataImages.SetText(QStringLiteral("[STATUS]\r\n3=1\r\nCfg_Align=R\r\n*=0\r\n[SECS]\r\n<2990=2\r\n"));
    TStringList lines;
    QString align;
    EXPECT_EQ(grid->DataImages_GetSettings(QStringLiteral("STATUS"), &lines, align), 2);
    EXPECT_EQ(align, QStringLiteral("R"));
    EXPECT_EQ(lines.Text(), QStringLiteral("3=1\r\n*=0\r\n"));
    EXPECT_EQ(grid->DataImages_GetSettings(QStringLiteral("SECS"), nullptr, align), 1);
    EXPECT_EQ(grid->DataImages_GetSettings(QStringLiteral("NAME"), nullptr, align), 0);

    TStringList now;
    now.Add(QStringLiteral("0=Hyväksytty"));
    grid->DataImages_SetSettings(QStringLiteral("STATUS"), &now, QStringLiteral("L"));
    EXPECT_EQ(grid->DataImages.Text(), QStringLiteral("[STATUS]\r\n0=Hyväksytty\r\nCfg_Align=L\r\n[SECS]\r\n<2990=2\r\n"));
    // The painter sees the new section: a word instead of an image.
    data->First();
    TDataImageDef def;
    ASSERT_TRUE(grid->GetDataImageDef(data->FieldByName(QStringLiteral("STATUS")), def));
    EXPECT_EQ(def.ImageIndex, -2);
    EXPECT_EQ(def.ShowText, QStringLiteral("Hyväksytty"));
    grid->DataImages_SetSettings(QStringLiteral("SECS"), nullptr, QString());
    EXPECT_EQ(grid->DataImages.Text(), QStringLiteral("[STATUS]\r\n0=Hyväksytty\r\nCfg_Align=L\r\n")) << "no list erases the section";
}

TEST_F(RDBGridTest, BarReadersLeaveTheirOutputsWithoutSettingsAndConvertedDatesRaise)
{
    double mn = -1, mx = -1;
    TrDataBarText type = dbtPercent;
    TColor from = clRed, to = clBlue;
    grid->FieldsAsDataBar.Add(QStringLiteral("SECS"));
    EXPECT_FALSE(grid->Fields_GetDataBarSettings(QStringLiteral("SECS"), mn, mx, type, from, to));
    EXPECT_EQ(mn, -1);
    EXPECT_EQ(from, clRed);
    int steps = -1;
    TrStatusBarType bar = sbtProgressBar;
    TColor all = clRed, done = clRed;
    EXPECT_FALSE(grid->Fields_GetStatusBarSettings(QStringLiteral("SECS"), steps, bar, all, done));
    EXPECT_EQ(steps, -1);
    EXPECT_TRUE(grid->Fields_GetStatusBarSettings(QStringLiteral("*4;1"), steps, bar, all, done));
    EXPECT_EQ(steps, 4);

    // A text field listed as a date: empty reads 0, a date reads, anything else raises.
    TField* club = data->FieldByName(QStringLiteral("CLUB"));
    grid->FieldsAsDate.Add(QStringLiteral("CLUB"));
    grid->FieldsAsTime.Add(QStringLiteral("CLUB"));
    data->Edit();
    club->SetAsString(QString());
    EXPECT_EQ(grid->GetDateValueEx(club), 0);
    club->SetAsString(DateToStr(QDateToDateTime(QDate(2026, 6, 3))));
    EXPECT_EQ(grid->GetDateValueEx(club), QDateToDateTime(QDate(2026, 6, 3)));
    club->SetAsString(QStringLiteral("12:30:15 ja vähän"));
    EXPECT_NEAR(grid->GetTimeValueEx(club), (12 * 3600 + 30 * 60 + 15) / 86400.0, 1e-6) << "only the first 8 characters";
    club->SetAsString(QStringLiteral("Rasti-Helsinki"));
    EXPECT_ANY_THROW(grid->GetDateValueEx(club));
    EXPECT_ANY_THROW(grid->GetTimeValueEx(club));
    data->Cancel();
    // A date-time field not listed keeps its time of day.
    TClientDataSet times;
    times.AddField(QStringLiteral("AT"), ftDateTime);
    times.CreateDataSet();
    const TDateTime at = QDateToDateTime(QDate(2026, 6, 3)) + 0.75;
    times.Append();
    times.FieldByName(QStringLiteral("AT"))->SetAsDateTime(at);
    times.Post();
    EXPECT_DOUBLE_EQ(grid->GetDateValueEx(times.FieldByName(QStringLiteral("AT"))), at);
}

// The image of a value: its own line wins over every condition whatever the
// order, keys match without case, conditions hold only for numbers and
// dates, and the window's general event may replace text and alignment.
TEST_F(RDBGridTest, DataImageOfAValueBeforeConditionsAndTheGeneralEvent)
{
    grid->DataImages.SetText(QStringLiteral("[SECS]\r\n<~2990=1\r\n2986=2\r\n*=3\r\n[CLUB]\r\nok espoo=5\r\n[STATUS]\r\n<5=7\r\n"));
    const struct {
        int Id;
        const char* Field;
        int Image;  // -1: none
    } cases[] = {{1, "SECS", 3},  {2, "SECS", 2},    {3, "SECS", 1}, {1, "CLUB", 5},
                 {2, "CLUB", -1}, {1, "STATUS", -1}};
    for (const auto& c : cases) {
        ASSERT_TRUE(data->Locate(QStringLiteral("ID"), c.Id));
        TDataImageDef def;
        EXPECT_EQ(grid->GetDataImageDef(data->FieldByName(QString::fromLatin1(c.Field)), def), c.Image >= 0) << c.Field << c.Id;
        EXPECT_EQ(def.ImageIndex, c.Image >= 0 ? c.Image : -1) << c.Field << c.Id;
    }
    // A date field's condition is a date in the locale's short form.
    TClientDataSet days;
    days.AddField(QStringLiteral("DAY"), ftDate);
    days.CreateDataSet();
    days.AppendRecord({QDateToDateTime(QDate(2026, 6, 3))});
    grid->DataImages.SetText(QStringLiteral("[DAY]\r\n>~") + DateToStr(QDateToDateTime(QDate(2026, 6, 1))) + QStringLiteral("=4\r\n"));
    TDataImageDef def;
    ASSERT_TRUE(grid->GetDataImageDef(days.FieldByName(QStringLiteral("DAY")), def));
    EXPECT_EQ(def.ImageIndex, 4);
    // The window's word.
    data->First();
    grid->DataImages.SetText(QStringLiteral("[SECS]\r\n*=3\r\n"));
    grid->OnGeneralEvent = [](TComponent*, TGeneralEventType T, TGeneralEventRec& R, bool&) {
        if (T == geGetDataImageIndex)
            R.ParamValue = QStringLiteral("Hyvä");
        if (T == geGetDataImageAlignment)
            R.ParamValue = QStringLiteral("R");
    };
    ASSERT_TRUE(grid->GetDataImageDef(data->FieldByName(QStringLiteral("SECS")), def));
    EXPECT_EQ(def.ImageIndex, -2);
    EXPECT_EQ(def.ShowText, QStringLiteral("Hyvä"));
    EXPECT_EQ(def.ImageAlignment, QStringLiteral("R"));
}

// The print engine's check-box test is the grid's own.
TEST_F(RDBGridTest, ThePrintEnginesCheckBoxTestIsTheGrids)
{
    TField* rented = data->FieldByName(QStringLiteral("RENTED"));
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED"));
    EXPECT_FALSE(grid->IsFieldAsBoolean(rented)) << "a name alone is no pair entry";
    grid->FieldsAsBoolean.Clear();
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED=K;E"));
    EXPECT_TRUE(grid->IsFieldAsBoolean(rented));
    grid->OptionsEx2().Editors.BoolGlyphs = false;
    EXPECT_FALSE(grid->IsFieldAsBoolean(rented)) << "without check-box glyphs";
    grid->OptionsEx2().Editors.BoolGlyphs = true;
    grid->OnGeneralEvent = [](TComponent*, TGeneralEventType T, TGeneralEventRec& R, bool&) {
        if (T == geIsBool)
            R.ParamValue = false;
    };
    EXPECT_FALSE(grid->IsFieldAsBoolean(rented)) << "the window's answer";
}
