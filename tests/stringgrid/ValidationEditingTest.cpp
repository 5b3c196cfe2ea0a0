// Validation of typed cells as a table, finishing an edit (numbers and dates
// re-formatted, the change log), typed access, the warning beep, and whole
// data validation.

#include "StringGridFixture.h"

#include "platform/os/Sound.h"
#include "platform/rtl/DateUtils.h"

namespace {

struct ValidityCase {
    TrStringGridEdDataType Type;
    const char* Format;
    double Min, Max;
    const char* Text;
    TrStringGridEdDataState Expected;
};

const ValidityCase Cases[] = {
    {sgdText, "", 0, 0, "mitä tahansa", sdsOk},
    {sgdNumber, "", 0, 0, "", sdsEmpty},
    {sgdNumber, "", 0, 0, "3,5", sdsOk},
    {sgdNumber, "", 0, 0, "1 234,5", sdsOk},
    {sgdNumber, "", 0, 0, "1\u00A0234,5", sdsOk},
    {sgdNumber, "", 0, 0, "abc", sdsInvalid},
    {sgdNumber, "", 0, 0, "-", sdsInvalid},
    {sgdNumber, "", 0, 10, "11", sdsOutOfLimit},
    {sgdNumber, "", 0, 10, "-0,5", sdsOutOfLimit},
    {sgdNumber, "", 0, 10, "10", sdsOk},
    {sgdDataBar, "", 0, 0, "2,5", sdsOk},
    {sgdInteger, "", 0, 0, "12", sdsOk},
    {sgdInteger, "", 0, 0, "1,5", sdsInvalid},
    {sgdStatusBar, "", 1, 5, "7", sdsOutOfLimit},
    {sgdDate, "d.m.yyyy", 0, 0, "1.2.2026", sdsOk},
    {sgdDate, "d.m.yyyy", 0, 0, "32.1.2026", sdsInvalid},
    {sgdDate, "d.m.yyyy", 46023, 46053, "1.3.2026", sdsOutOfLimit},  // limits 1.1.–31.1.2026
    {sgdDateTime, "d.m.yyyy h:nn", 0, 0, "1.2.2026 12:30", sdsOk},
    {sgdDateTime, "", 0, 0, "5.3.2024 12:00", sdsOk},
    {sgdDateTime, "", 0, 0, "12:30", sdsOk},
    {sgdTime, "", 0, 0, "12:30", sdsOk},
    {sgdTime, "", 0, 0, "25:99", sdsInvalid},
};

}  // namespace

TEST_F(StringGridTest, ValidityOfTypedCells)
{
    for (const ValidityCase& c : Cases) {
        Col(1)->DataType = c.Type;
        Col(1)->NumFormat = QString::fromUtf8(c.Format);
        Col(1)->MinValue = c.Min;
        Col(1)->MaxValue = c.Max;
        grid->SetCells(1, 1, QString::fromUtf8(c.Text));
        EXPECT_EQ(grid->IsValidData(1, 1), c.Expected) << "type " << c.Type << " text " << c.Text;
    }
    Col(1)->DataType = sgdNumber;
    grid->SetCells(1, 0, QStringLiteral("Aika"));
    EXPECT_EQ(grid->IsValidData(1, 0), sdsOk) << "titles are not validated";
}

TEST_F(StringGridTest, FinishingReformatsNumbersAndDatesAndLogsTheChange)
{
    Col(1)->DataType = sgdNumber;
    Col(1)->NumFormat = QStringLiteral("0.00");
    Col(2)->DataType = sgdDate;
    Col(2)->NumFormat = QStringLiteral("dd.mm.yyyy");
    Col(3)->DataType = sgdNumber;
    std::vector<std::pair<int, int>> finished;
    grid->OnFinishCellEditing = [&](TrStringGridEd*, int C, int R) { finished.emplace_back(C, R); };
    grid->FocusCell(1, 2, true);
    grid->SetEditText(1, 2, QStringLiteral("3,5"));
    grid->DoFinishEditing(1, 2, false);
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("3,50"));
    EXPECT_EQ(grid->ChangedRows, QStringList{QStringLiteral("2")});
    EXPECT_EQ(grid->ChangedCells, QStringList{QStringLiteral("1;2")});
    ASSERT_EQ(finished.size(), 1u);
    // Nothing changed since: an unforced finish does nothing.
    grid->DoFinishEditing(1, 2, false);
    EXPECT_EQ(finished.size(), 1u);
    grid->SetStringCells(2, 3, QStringLiteral("5.6.2026 14:00"));
    EXPECT_EQ(grid->Cells(2, 3), QStringLiteral("05.06.2026")) << "a date keeps only its day";
    EXPECT_TRUE(grid->IsCellChanged(2, 3));
    // An invalid value stays as typed.
    grid->SetStringCells(3, 1, QStringLiteral("12x"));
    EXPECT_EQ(grid->Cells(3, 1), QStringLiteral("12x"));
    // Inside an update lock without the change log nothing is logged or raised.
    finished.clear();
    grid->BeginUpdateEd(false);
    grid->SetStringCells(3, 4, QStringLiteral("7"));
    grid->EndUpdateEd();
    EXPECT_TRUE(finished.empty());
    EXPECT_FALSE(grid->IsCellChanged(3, 4));
    grid->ResetChangeLog();
    EXPECT_TRUE(grid->ChangedCells.isEmpty());
}

// Without a number format a time or a date-time is read in full, not as a
// date alone: finishing keeps the typed value instead of the day's start.
TEST_F(StringGridTest, DateAndTimeCellsWithoutAFormatKeepTheirValueWhenFinished)
{
    struct Case {
        TrStringGridEdDataType Type;
        QString Typed;
        TDateTime Expected;
    };
    const Case cases[] = {
        {sgdTime, QStringLiteral("12:30"), EncodeTime(12, 30, 0, 0)},
        {sgdDateTime, QStringLiteral("5.3.2024 12:00"), EncodeDate(2024, 3, 5) + EncodeTime(12, 0, 0, 0)},
        {sgdDateTime, QStringLiteral("7:15"), EncodeTime(7, 15, 0, 0)},
        {sgdDate, QStringLiteral("5.3.2024"), EncodeDate(2024, 3, 5)},
    };
    ShowFocused(1, 1);
    int row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed.toStdString());
        Col(1)->DataType = c.Type;
        Col(1)->NumFormat.clear();
        grid->FocusCell(1, row, true);
        QWidget* target = grid->EditorMode() ? EditorWidget() : grid->Widget();
        SendKey(target, Qt::Key_unknown, c.Typed.left(1));
        ASSERT_TRUE(grid->EditorMode());
        Type(EditorWidget(), c.Typed.mid(1));
        ASSERT_EQ(grid->Cells(1, row), c.Typed);
        SendKey(EditorWidget(), Qt::Key_Return, QStringLiteral("\r"));
        EXPECT_NEAR(grid->GetDateTimeCells(1, row), c.Expected, 1e-6) << grid->Cells(1, row).toStdString();
        EXPECT_EQ(grid->IsValidData(1, row), sdsOk);
        ++row;
    }
    form->Hide();
}

TEST_F(StringGridTest, TypedAccess)
{
    Col(1)->NumFormat = QStringLiteral("0.0");
    Col(2)->DataType = sgdTime;
    Col(2)->NumFormat = QStringLiteral("hh:nn");
    Col(3)->SetButtonStyle(sgbCheckbox);
    grid->SetNumCells(1, 1, 2.26);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("2,3"));
    grid->SetIntCells(1, 2, 1234);
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("1234,0"));
    EXPECT_DOUBLE_EQ(grid->GetNumCells(1, 3), 0) << "an empty cell counts as 0";
    grid->SetCells(1, 4, QStringLiteral("1 000,5"));
    EXPECT_DOUBLE_EQ(grid->GetNumCells(1, 4), 1000.5);
    grid->SetCells(1, 5, QStringLiteral("x"));
    EXPECT_THROW(grid->GetNumCells(1, 5), Exception);
    EXPECT_EQ(grid->Row(), 5) << "the failing cell becomes current";
    EXPECT_THROW(grid->GetIntCells(1, 4), Exception) << "integers keep their separators";
    grid->SetDateTimeCells(2, 1, EncodeDateTime(2026, 6, 1, 9, 5, 0, 0));
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("09:05"));
    grid->SetBoolCells(3, 1, true);
    EXPECT_EQ(grid->Cells(3, 1), QStringLiteral("1"));
    EXPECT_TRUE(grid->GetBoolCells(3, 1));
    grid->SetBoolCells(3, 1, false);
    EXPECT_EQ(grid->Cells(3, 1), QStringLiteral("0"));
}

TEST_F(StringGridTest, BeepOnInvalidTypingButNotOnALoneMinus)
{
    int beeps = 0;
    SetSoundSink([&](const QString&) { ++beeps; });
    Col(1)->DataType = sgdNumber;
    Col(1)->InvalidDataAction = sgaBeep;
    grid->SetEditText(1, 1, QStringLiteral("-"));
    EXPECT_EQ(beeps, 0);
    grid->SetEditText(1, 1, QStringLiteral("-a"));
    EXPECT_EQ(beeps, 1);
    grid->SetEditText(1, 1, QStringLiteral("-5"));
    EXPECT_EQ(beeps, 1);
    Col(1)->InvalidDataAction = sgaHighlight;
    grid->SetEditText(1, 1, QStringLiteral("b"));
    EXPECT_EQ(beeps, 1);
    SetSoundSink(nullptr);
}

TEST_F(StringGridTest, ValidateAllDataStopsAtTheLastBadRow)
{
    Col(1)->DataType = sgdNumber;
    Col(2)->DataType = sgdInteger;
    Fill({{QStringLiteral("1"), QStringLiteral("2")},
          {QStringLiteral("x"), QStringLiteral("y")},
          {QStringLiteral("3"), QStringLiteral("4")},
          {QStringLiteral("5"), QStringLiteral("6")},
          {QStringLiteral("7"), QStringLiteral("z")}});
    EXPECT_FALSE(grid->ValidateAllData(true));
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->Col(), 2);
    grid->SetCells(1, 2, QStringLiteral("1"));
    grid->SetCells(2, 2, QStringLiteral("1"));
    grid->SetCells(2, 5, QStringLiteral("1"));
    EXPECT_TRUE(grid->ValidateAllData(true));
}
