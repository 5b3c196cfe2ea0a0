// The cell editor's date and time shortcuts, as a table of cases, and the
// time column's letters that are typed rather than taken as shortcuts.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "components/base/rtool.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Clipbrd.h"

#include <cmath>

namespace {

class EditorTest : public RDBGridTest {
protected:
    void SetUp() override
    {
        RDBGridTest::SetUp();
        times = std::make_unique<TClientDataSet>();
        times->AddField(QStringLiteral("ID"), ftInteger);
        times->AddField(QStringLiteral("D"), ftDate);
        times->AddField(QStringLiteral("T"), ftTime);
        times->AddField(QStringLiteral("S"), ftWideString, 10);
        times->CreateDataSet();
        times->AppendRecord({1, QVariant(), QVariant(), QVariant()});
        src->SetDataSet(times.get());
        grid->Columns()->SetState(csDefault);
        grid->LayoutChanged();
        grid->SetOptions(grid->Options() | dgEditing);
        grid->FieldsAsTime.Add(QStringLiteral("T=15"));
        grid->FieldsAsTime.Add(QStringLiteral("S"));
    }
    void TearDown() override
    {
        src->SetDataSet(data.get());
        RDBGridTest::TearDown();
    }
    TrDBGridInplaceEditEx* EditorAt(int DataCol)
    {
        grid->SetSelectedIndex(DataCol);
        grid->ShowEditor();
        return grid->GetInplaceEditor();
    }
    std::unique_ptr<TClientDataSet> times;
};

TDateTime D(int Y, int M, int Dd)
{
    return QDateToDateTime(QDate(Y, M, Dd));
}

TDateTime T(int H, int Mi)
{
    return (H * 60 + Mi) / 1440.0;
}

}  // namespace

TEST_F(EditorTest, DateShortcuts)
{
    const TDateTime today = std::floor(Now());
    struct Case {
        TDateTime Start;  // -1: empty
        int Key;
        TShiftState Shift;
        TDateTime Expected;
    } cases[] = {
        {D(2026, 1, 31), VK_DOWN, ssCtrl, D(2026, 1, 30)},
        {D(2026, 1, 31), VK_UP, ssCtrl, D(2026, 2, 1)},
        {D(2026, 1, 31), VK_DOWN, ssCtrl | ssShift, D(2025, 12, 31)},
        {D(2026, 3, 31), VK_DOWN, ssCtrl | ssShift, D(2026, 2, 28)},
        {D(2026, 1, 15), 'e', 0, D(2026, 1, 31)},
        {D(2024, 2, 10), 'E', 0, D(2024, 2, 29)},
        {D(2026, 1, 15), 's', 0, D(2026, 1, 1)},
        {D(2026, 1, 15), '*', 0, today},
        {-1, '*', 0, today},
        {-1, ';', 0, today},
        {D(2026, 1, 15), 't', 0, today},
    };
    TField* f = times->FieldByName(QStringLiteral("D"));
    for (const Case& c : cases) {
        times->Edit();
        if (c.Start < 0)
            f->Clear();
        else
            f->SetAsDateTime(c.Start);
        TrDBGridInplaceEditEx* ed = EditorAt(1);
        ASSERT_TRUE(ed);
        if (c.Key == VK_UP || c.Key == VK_DOWN) {
            Word k = Word(c.Key);
            ed->KeyDown(k, c.Shift);
            EXPECT_EQ(k, 0);
        } else {
            QChar ch(c.Key);
            ed->KeyPress(ch);
            EXPECT_TRUE(ch.isNull());
        }
        EXPECT_EQ(f->AsDateTime(), c.Expected) << "key " << c.Key << " from " << c.Start;
        times->Cancel();
    }
    // The arrows leave an empty date alone.
    times->Edit();
    f->Clear();
    Word k = VK_UP;
    EditorAt(1)->KeyDown(k, ssCtrl);
    EXPECT_TRUE(f->IsNull());
    times->Cancel();
}

TEST_F(EditorTest, TimeShortcutsUseTheFieldsMinuteStep)
{
    TField* t = times->FieldByName(QStringLiteral("T"));
    struct Case {
        int Key;
        TShiftState Shift;
        TDateTime Expected;
    } cases[] = {
        {VK_UP, ssCtrl, T(10, 15)},
        {VK_DOWN, ssCtrl, T(9, 45)},
        {VK_UP, ssCtrl | ssShift, T(11, 0)},
        {VK_DOWN, ssCtrl | ssShift, T(9, 0)},
    };
    for (const Case& c : cases) {
        times->Edit();
        t->SetAsDateTime(T(10, 0));
        Word k = Word(c.Key);
        EditorAt(2)->KeyDown(k, c.Shift);
        EXPECT_NEAR(t->AsDateTime(), c.Expected, 1e-6) << c.Key << " " << c.Shift;
        times->Cancel();
    }
    // In a time column the date letters are typed, not taken as shortcuts.
    times->Edit();
    t->SetAsDateTime(T(10, 0));
    TrDBGridInplaceEditEx* ed = EditorAt(2);
    for (QChar c : QStringLiteral("TSE;")) {
        EXPECT_FALSE(ed->ProcDateTimeHotKey(c.unicode(), 0)) << QString(c).toStdString();
        EXPECT_NEAR(t->AsDateTime(), T(10, 0), 1e-6);
    }
    // A step past midnight wraps to the next day's morning.
    t->SetAsDateTime(T(23, 50));
    Word k = VK_UP;
    ed->KeyDown(k, ssCtrl);
    EXPECT_NEAR(t->AsDateTime(), T(0, 5), 1e-6);
    times->Cancel();
}

TEST_F(EditorTest, TypedDatesAndTimesAreCompleted)
{
    const QDate today = DateTimeToQDate(Now());
    const QString sep = QString(GetTimeSeparator());
    struct Case {
        int DataCol;
        QString Typed;
        TDateTime Expected;
    } cases[] = {
        {1, QStringLiteral("5"), QDateToDateTime(QDate(today.year(), today.month(), 5))},
        {1, QStringLiteral("12"), QDateToDateTime(QDate(today.year(), today.month(), 12))},
        {1, QStringLiteral("5-6-2026"), D(2026, 6, 5)},
        {1, QStringLiteral("24,12,2025"), D(2025, 12, 24)},
        {2, QStringLiteral("9"), T(9, 0)},
        {2, QStringLiteral("17.45"), T(17, 45)},
        {2, QStringLiteral("8-05"), T(8, 5)},
    };
    for (const Case& c : cases) {
        TrDBGridInplaceEditEx* ed = EditorAt(c.DataCol);
        ASSERT_TRUE(ed);
        ed->SetText(c.Typed);
        Word k = VK_RETURN;
        ed->KeyDown(k, 0);
        TField* f = times->Fields()[c.DataCol];
        EXPECT_NEAR(f->AsDateTime(), c.Expected, 1e-6) << c.Typed.toStdString();
        times->Cancel();
    }
    EXPECT_EQ(TrDBGrid::ProcTimePart(QStringLiteral("9")), QStringLiteral("9") + sep + QStringLiteral("00"));
    EXPECT_EQ(TrDBGrid::ProcDatePart(QStringLiteral("32")), QStringLiteral("32")) << "no such day: left as typed";
}

TEST_F(EditorTest, TheDateButtonOpensACalendarThatTakesArrowsAndEnter)
{
    TField* f = times->FieldByName(QStringLiteral("D"));
    times->Edit();
    f->SetAsDateTime(D(2026, 6, 3));
    TrDBGridInplaceEditEx* ed = EditorAt(1);
    ASSERT_EQ(ed->EditStyle(), esEllipsis);
    Word k = VK_F4;
    ed->KeyDown(k, 0);
    ASSERT_TRUE(ed->CalendarShown());
    EXPECT_EQ(std::floor(ed->Calendar()->Date()), D(2026, 6, 3));
    for (Word key : {Word(VK_RIGHT), Word(VK_DOWN)}) {
        Word kk = key;
        ed->KeyDown(kk, 0);
    }
    k = VK_RETURN;
    ed->KeyDown(k, 0);
    EXPECT_FALSE(ed->CalendarShown());
    EXPECT_EQ(f->AsDateTime(), D(2026, 6, 11)) << "a day right and a week down";
    times->Cancel();
}

TEST_F(EditorTest, PastedTextIsCleanedByTheFieldsKind)
{
    TClientDataSet kinds;
    kinds.AddField(QStringLiteral("BCD"), ftFMTBcd, 2);
    kinds.AddField(QStringLiteral("SGL"), ftSingle);
    kinds.AddField(QStringLiteral("INT"), ftInteger);
    kinds.AddField(QStringLiteral("TXT"), ftWideString, 20);
    kinds.CreateDataSet();
    kinds.AppendRecord({QVariant(), QVariant(), QVariant(), QVariant()});
    src->SetDataSet(&kinds);
    grid->LayoutChanged();
    const struct { int Col; const char* Want; } cases[] = {{0, "1234,5"}, {1, "1234,5"}, {2, "1234,5"}, {3, "1 234,5"}};
    for (const auto& c : cases) {
        TrDBGridInplaceEditEx* ed = EditorAt(c.Col);
        ASSERT_NE(ed, nullptr);
        Clipboard()->SetAsText(QString::fromUtf8("1 234,5\r\n"));
        ed->SetText(QString());
        ed->Paste();
        EXPECT_EQ(ed->Text(), QString::fromUtf8(c.Want)) << c.Col;
        grid->HideEditor();
    }
    kinds.Cancel();
    src->SetDataSet(times.get());
}
