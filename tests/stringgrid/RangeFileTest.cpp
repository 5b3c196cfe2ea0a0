// The text form of ranges (separators, quotes, line breaks), pasting it
// back, table files with Finnish letters and awkward cells, the INI view,
// and the automatic empty last row.

#include "StringGridFixture.h"

#include "tests/support/TempProgramDir.h"

#include <QFile>

TEST_F(StringGridTest, CopyAndPasteKeepEmptyCellsQuotesAndLineBreaks)
{
    grid->SetOptionsEx(OptEx(dgSelectRange));
    Fill({{QString(), QStringLiteral("b"), QString()},
          {QStringLiteral("a\"b"), QStringLiteral("\"alku"), QStringLiteral("kaksi\r\nriviä")},
          {QStringLiteral("x\ty"), QStringLiteral("ä"), QStringLiteral("ö")}});
    grid->SetSelectedRange({1, 1, 3, 1});
    EXPECT_EQ(grid->CopySelRange(), QStringLiteral("\tb\t"));
    grid->SetSelectedRange({1, 2, 3, 3});
    const QString text = grid->CopySelRange();
    EXPECT_EQ(text, QStringLiteral("\"a\"\"b\"\t\"\"\"alku\"\t\"kaksi\nriviä\"\r\n\"x\ty\"\tä\tö"));

    // Pasted back two rows lower, every cell comes back as it was.
    grid->SetRowCount(8);
    grid->FocusCell(1, 5, true);
    grid->PasteSelRange(false, text);
    EXPECT_EQ(grid->Cells(1, 5), QStringLiteral("a\"b"));
    EXPECT_EQ(grid->Cells(2, 5), QStringLiteral("\"alku"));
    EXPECT_EQ(grid->Cells(3, 5), QStringLiteral("kaksi\r\nriviä"));
    EXPECT_EQ(grid->Cells(1, 6), QStringLiteral("x\ty"));
    const TGridRect r = grid->SelectedRange();
    EXPECT_EQ(r.Left, 1);
    EXPECT_EQ(r.Top, 5);
    EXPECT_EQ(r.Right, 3);
    EXPECT_EQ(r.Bottom, 6);
    grid->FocusCell(1, 4, true);
    grid->PasteSelRange(false, QStringLiteral("\tb\t"));
    EXPECT_EQ(grid->Cells(2, 4), QStringLiteral("b"));
    EXPECT_EQ(grid->Cells(1, 4), QString());
    // A spreadsheet's trailing line break does not empty the cell below.
    grid->FocusCell(2, 4, true);
    grid->PasteSelRange(false, QStringLiteral("c\r\n"));
    EXPECT_EQ(grid->Cells(2, 4), QStringLiteral("c"));
    EXPECT_EQ(grid->Cells(2, 5), QStringLiteral("\"alku"));
}

TEST_F(StringGridTest, PasteCleansNumbersSkipsHiddenColumnsAndMayGrow)
{
    Col(1)->DataType = sgdNumber;
    Col(2)->SetVisible(false);
    grid->FocusCell(1, 1, true);
    grid->PasteSelRange(false, QStringLiteral("1 234,5\tkolmas\tneljäs"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("1234,5"));
    EXPECT_EQ(grid->Cells(2, 1), QString()) << "hidden columns are passed over";
    EXPECT_EQ(grid->Cells(3, 1), QStringLiteral("kolmas"));
    EXPECT_EQ(grid->ColCount(), 4) << "fields beyond the grid are dropped";
    grid->FocusCell(3, 5, true);
    grid->PasteSelRange(true, QStringLiteral("a\tb\r\nc\td"));
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->Cells(4, 6), QStringLiteral("d"));
    // The owner may refuse a paste.
    grid->OnGeneralEvent = [](TrStringGridEd*, TGeneralEventType T, bool& Allow, TGeneralEventRec&) {
        Allow = T != gePasteDataBefore;
    };
    grid->PasteSelRange(false, QStringLiteral("z"));
    EXPECT_EQ(grid->Cells(3, 5), QStringLiteral("a"));
}

TEST_F(StringGridTest, TableFileRoundTrip)
{
    TempProgramDir dir;
    Col(1)->SetTitleCaption(QStringLiteral("Nimi"));
    grid->SetCells(2, 0, QStringLiteral("Seura"));
    Fill({{QStringLiteral("Äijälä Öljymäki"), QStringLiteral("Åbo \"OK\""), QStringLiteral("a\tb")},
          {QStringLiteral("kaksi\r\nriviä"), QString(), QStringLiteral("\"")},
          {QStringLiteral("Ström"), QStringLiteral("x;y"), QStringLiteral("€")}});
    const QString file = dir.File(QStringLiteral("taulu.txt"));
    grid->SaveToFile(file, QString(), QLatin1Char('\t'));
    const QByteArray bytes = dir.Read(QStringLiteral("taulu.txt"));
    EXPECT_TRUE(bytes.startsWith("\tNimi\tSeura\t\r\n")) << "the title caption stands for an empty title cell";
    EXPECT_TRUE(bytes.contains("\xC3\x84ij\xC3\xA4l\xC3\xA4")) << "UTF-8";

    TrStringGridEd* other = new TrStringGridEd(form.get());
    other->SetColCount(2);
    other->SetRowCount(2);
    other->SetOptions(other->Options() | goEditing);
    other->LoadFromFile(file, false, QLatin1Char('\t'), QString());
    ASSERT_EQ(other->RowCount(), grid->RowCount());
    ASSERT_EQ(other->ColCount(), grid->ColCount());
    for (int r = 1; r < grid->RowCount(); ++r)
        for (int c = 1; c < grid->ColCount(); ++c)
            EXPECT_EQ(other->Cells(c, r), grid->Cells(c, r)) << c << "," << r;
    EXPECT_EQ(other->Cells(1, 0), QStringLiteral("Nimi"));

    // Another separator and a single-byte encoding.
    grid->SaveToFile(file, QStringLiteral("ISO-8859-15"), QLatin1Char(';'));
    EXPECT_TRUE(dir.Read(QStringLiteral("taulu.txt")).contains("\"x;y\""));
    TrStringGridEd* third = new TrStringGridEd(form.get());
    third->LoadFromFile(file, true, QLatin1Char(';'), QStringLiteral("ISO-8859-15"));
    EXPECT_EQ(third->Cells(3, 3), QStringLiteral("€"));
    EXPECT_EQ(third->Cells(1, 2), QStringLiteral("kaksi\r\nriviä"));

    // A file that cannot be read is an error and changes nothing.
    EXPECT_THROW(third->LoadFromFile(dir.File(QStringLiteral("puuttuu.txt")), true, QLatin1Char(';'), QString()), Exception);
    EXPECT_EQ(third->Cells(3, 3), QStringLiteral("€"));
    // Nor does a failed save harm the old file.
    EXPECT_THROW(grid->SaveToFile(dir.File(QStringLiteral("ei/ole/kansio.txt")), QString(), QLatin1Char('\t')), Exception);
}

TEST_F(StringGridTest, IniView)
{
    grid->SetColCount(2);
    grid->SetRowCount(2);
    grid->LoadFromIniFile(QString(), QStringLiteral("[Main]\r\na=1\r\nb=2=3\r\n"), QString());
    ASSERT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("Main"));
    EXPECT_TRUE(grid->IsIniGroupRow(1));
    EXPECT_FALSE(grid->IsIniGroupRow(2));
    EXPECT_EQ(grid->Cells(1, 3), QStringLiteral("2=3"));
    EXPECT_EQ(grid->GetIniValue(QStringLiteral("A")), QStringLiteral("1"));
    grid->SetIniValue(QStringLiteral("b"), QStringLiteral("uusi"));
    grid->SetIniValue(QStringLiteral("puuttuu"), QStringLiteral("x"));
    EXPECT_EQ(grid->FindIniRow(QStringLiteral("puuttuu")), -1);
    QString text;
    grid->SaveToIniFile(QString(), QString(), text);
    EXPECT_EQ(text, QStringLiteral("[Main]\r\na=1\r\nb=uusi\r\n"));
    grid->LoadValuesFromIniFile(QString(), QStringLiteral("b=9\r\nc=5"), QString());
    EXPECT_EQ(grid->GetIniValue(QStringLiteral("b")), QStringLiteral("9"));
    EXPECT_EQ(grid->GetIniValue(QStringLiteral("a")), QStringLiteral("1"));
    // Group rows cannot be edited.
    grid->FocusCell(1, 1, true);
    EXPECT_FALSE(grid->CanEditModifyEx(true));
}

TEST_F(StringGridTest, AutomaticEmptyLastRow)
{
    grid->SetRowCount(2);
    grid->SetAutoAddNewRow(true);
    EXPECT_EQ(grid->RowCount(), 2);
    grid->FocusCell(1, 1, true);
    grid->SetEditText(1, 1, QStringLiteral("a"));
    EXPECT_EQ(grid->RowCount(), 3) << "typing into the empty last row appends one";
    grid->SetEditText(2, 2, QStringLiteral("b"));
    EXPECT_EQ(grid->RowCount(), 4);
    grid->SetEditText(2, 2, QString());
    EXPECT_EQ(grid->RowCount(), 3) << "two empty rows at the end become one";
    grid->DeleteRowEx(1, 1);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_TRUE(grid->IsRowEmpty(1, true, 0));
}

TEST_F(StringGridTest, LoadingALargeTableStaysQuick)
{
    TempProgramDir dir;
    QString text;
    for (int r = 0; r < 3000; ++r)
        text += QStringLiteral("%1\tNimi %1\tSeura\t%2\r\n").arg(r).arg(r * 3);
    dir.Write(QStringLiteral("iso.txt"), text.toUtf8());
    grid->SetOptionsEx(OptEx(dgColorChangedCells));
    grid->LoadFromFile(dir.File(QStringLiteral("iso.txt")), false, QLatin1Char('\t'), QString());
    EXPECT_EQ(grid->RowCount(), 3000);
    EXPECT_EQ(grid->Cells(1, 2999), QStringLiteral("Nimi 2999"));
    EXPECT_EQ(grid->ChangedRows.size(), 2999) << "every data row is logged once";
    EXPECT_TRUE(grid->IsCellChanged(3, 2999));
    // The public lists may be edited directly; the look-ups follow.
    grid->ChangedCells.clear();
    EXPECT_FALSE(grid->IsCellChanged(3, 2999));
}
