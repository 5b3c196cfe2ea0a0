// The spreadsheet export's data block and ranges over an open workbook:
// reading a sheet back, filling cells and named ranges, and the workbook
// surviving a save and a new open.
#include "components/output/TrXLSExport.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "tests/output/XlsxReadBack.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// B3:D9 filled (row r, column c holds r * 10 + c), and a lone cell at F1.
void FillBlock(TrXLSExport& X)
{
    for (int r = 3; r <= 9; ++r)
        for (int c = 2; c <= 4; ++c)
            X.SetCellValue(r, c, r * 10 + c);
    X.SetCellValue(1, 6, QStringLiteral("yksin"));
}

}  // namespace

TEST(XlsxRanges, UsedRangeAndCurrentRegionComeBackAsTheBlock)
{
    TrXLSExport x;
    ASSERT_TRUE(x.OpenFile(true, QString()));
    FillBlock(x);
    ASSERT_TRUE(x.CopyUsedRangeToData());
    EXPECT_EQ(x.StartRow(), 1);
    EXPECT_EQ(x.StartCol(), 2);
    EXPECT_EQ(x.DataRowCount(), 9);
    EXPECT_EQ(x.DataColCount(), 5);
    EXPECT_EQ(x.Data(3, 1).toDouble(), 32.0);
    EXPECT_EQ(x.Data(1, 5).toString(), QStringLiteral("yksin"));
    EXPECT_FALSE(x.Data(1, 1).isValid());

    // without the lone cell the used range is B3:D9
    x.Worksheet()->Clear();
    for (int r = 3; r <= 9; ++r)
        for (int c = 2; c <= 4; ++c)
            x.SetCellValue(r, c, r * 10 + c);
    ASSERT_TRUE(x.CopyUsedRangeToData());
    EXPECT_EQ(x.StartRow(), 3);
    EXPECT_EQ(x.StartCol(), 2);
    EXPECT_EQ(x.DataRowCount(), 7);
    EXPECT_EQ(x.DataColCount(), 3);
    EXPECT_EQ(x.Range.Row, 3);

    // a start inside its region: a block of the region's size from the start cell
    x.SetStartRow(5);
    x.SetStartCol(3);
    ASSERT_TRUE(x.CopyCurrentRegionToData());
    EXPECT_EQ(x.DataRowCount(), 7);
    EXPECT_EQ(x.DataColCount(), 3);
    EXPECT_EQ(x.Data(1, 1).toDouble(), 53.0);
    EXPECT_FALSE(x.Data(7, 3).isValid());  // beyond the region's data

    // an empty block pasted writes empty cells over the rectangle
    x.SetDataSize(2, 2);
    ASSERT_TRUE(x.PasteDataToCells());
    EXPECT_FALSE(x.GetCellValue(5, 3).isValid());
    EXPECT_FALSE(x.GetCellValue(6, 4).isValid());
    EXPECT_EQ(x.GetCellValue(7, 4).toDouble(), 74.0);
    EXPECT_THROW(x.Data(3, 1), Exception);
}

TEST(XlsxRanges, NamedRangesAndSheetsSurviveSavingAndOpening)
{
    QTemporaryDir dir;
    const QString fn = dir.filePath(QStringLiteral("template.xlsx"));
    TrXLSExport x;
    ASSERT_TRUE(x.OpenFile(true, QString()));
    ASSERT_TRUE(x.SelectSheet(true, QStringLiteral("Maksut")));
    x.DefineRangeName(QStringLiteral("Summat"), 2, 2, 3, 1);
    x.SetRangeValue(QStringLiteral("Summat"), 12.5, QStringLiteral("0.00"));
    x.SetCellValue(1, 4, QDate(2026, 12, 10), QStringLiteral("d.m.yyyy"));
    ASSERT_TRUE(x.SelectSheet(false, QString(), 1));
    x.SetCellValue(1, 1, QStringLiteral("Etusivu"));
    ASSERT_TRUE(x.SaveCloseFile(true, true, fn));
    EXPECT_FALSE(x.AppOpened());

    ASSERT_TRUE(x.OpenFile(false, fn));
    EXPECT_EQ(x.GetSheetsCount(), 2);
    EXPECT_EQ(x.Workbook()->NameRef(QStringLiteral("summat")), QStringLiteral("Maksut!$B$2:$B$4"));
    x.SetDataSizeFromRange(QStringLiteral("Summat"));
    EXPECT_EQ(x.Worksheet()->Name, QStringLiteral("Maksut"));
    EXPECT_EQ(x.StartRow(), 2);
    EXPECT_EQ(x.DataRowCount(), 3);
    ASSERT_TRUE(x.CopyCellsToData());
    EXPECT_EQ(x.Data(3, 1).toDouble(), 12.5);
    EXPECT_EQ(x.GetCellValue(1, 4).toDate(), QDate(2026, 12, 10));  // a date-formatted cell reads back as a date
    // an address with its sheet, and the sheet remembered
    x.RememberActiveSheet();
    QString name = QStringLiteral("Sheet1!A1");
    ASSERT_TRUE(x.ActivateRangeSheet(name));
    EXPECT_EQ(name, QStringLiteral("A1"));
    EXPECT_EQ(x.GetCellValue(1, 1).toString(), QStringLiteral("Etusivu"));
    x.SelectRememberSheet();
    EXPECT_EQ(x.Worksheet()->Name, QStringLiteral("Maksut"));
    // the clipboard carries cells as tab-separated lines
    x.SetStartRow(2);
    x.SetStartCol(2);
    ASSERT_TRUE(x.CopyCurrentRegionToClipboard());
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("12.5\r\n12.5\r\n12.5\r\n"));
    x.SetStartCol(4);
    ASSERT_TRUE(x.PasteClipboardToCells());
    EXPECT_EQ(x.GetCellValue(4, 4).toDouble(), 12.5);
    EXPECT_TRUE(x.DeleteSheet(true, QString()));
    EXPECT_EQ(x.GetSheetsCount(), 1);

    // errors are the application's errors, and nothing is left half done
    int boxes = 0;
    auto old = SetModalHook([&](TCustomForm*) {
        ++boxes;
        return 1;
    });
    x.SetRangeValue(QStringLiteral("EiOle"), 1);
    EXPECT_EQ(boxes, 1);
    x.Disconnect();
    EXPECT_FALSE(x.CopyUsedRangeToData());
    EXPECT_EQ(boxes, 2);
    SetModalHook(old);
}

TEST(XlsxRanges, FormattingStepsAsOperations)
{
    QTemporaryDir dir;
    TrXLSExport x;
    ASSERT_TRUE(x.OpenFile(true, QString()));
    x.SetCellValue(1, 1, QStringLiteral("Nimi"));
    x.SetCellValue(2, 1, QStringLiteral("Hyvin pitkä juoksijan nimi"));
    x.SetCellValue(2, 2, 12.5);
    x.FormatCells(1, 1, 1, 2, QString(), QStringLiteral("Liberation Sans"), 12, cfOpt(TXLSCellFormat::cfBold));
    x.FormatCells(2, 2, 1, 1, QStringLiteral("0.00"), QString(), 0, cfOpt(TXLSCellFormat::cfNone));
    x.BorderCells(2, 1, 1, 2, 0, xlsDefaultColor, 2, 1);
    x.FreezePanes(1, 1);
    x.ColumnAutoFit(1, 20);
    x.SetPageZoom(75);
    x.SetWindowZoom(120);
    EXPECT_EQ(x.Range.RowCount, 1);
    EXPECT_EQ(x.ConvertDateFormat(QStringLiteral("dd/mm/yyyy")), QStringLiteral("dd.mm.yyyy"));
    EXPECT_EQ(x.GetShortDateFormat(), QStringLiteral("d.m.yyyy"));
    const QString fn = dir.filePath(QStringLiteral("formats.xlsx"));
    ASSERT_TRUE(x.SaveCloseFile(true, true, fn));
    const TXlsxReadBack r = ReadXlsx(fn);
    EXPECT_TRUE(r.Cells["A1"].Bold);
    EXPECT_TRUE(r.Cells["B1"].Bold);  // an empty cell takes the format too
    EXPECT_FALSE(r.Cells["A2"].Bold);
    EXPECT_EQ(r.Cells["B2"].NumFormat, QStringLiteral("0.00"));
    EXPECT_TRUE(r.Cells["A2"].Border);
    EXPECT_NEAR(r.Widths.value(1), 20.0, 1.0);
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("xSplit=\"1\" ySplit=\"1\""))) << r.SheetXml.toStdString();
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("zoomScale=\"120\"")));
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("scale=\"75\"")));
}

TEST(XlsxRanges, BorderEdgesColoursFitToPagesAndIconThresholds)
{
    QTemporaryDir dir;
    TrXLSExport x;
    ASSERT_TRUE(x.OpenFile(true, QString()));
    for (int r = 1; r <= 4; ++r)
        x.SetCellValue(r, 1, r * 10.0);
    // the bottom edge of the block: red, medium, dashed
    x.BorderCells(1, 1, 4, 1, 9, TColor(0x0000FF), -4138, -4115);
    x.SetPageZoom(0, 2, 1, 2);
    TIconSetSetting s;
    s.IconSetType = 12;
    s.UseThresholds = true;
    s.ThresholdValues[0] = 15;
    s.ThresholdValues[1] = 25;
    s.ThresholdValues[2] = 35;
    x.IconSetCells(1, 1, 4, s);
    const QString fn = dir.filePath(QStringLiteral("edges.xlsx"));
    ASSERT_TRUE(x.SaveCloseFile(true, true, fn));
    const TXlsxReadBack r = ReadXlsx(fn);
    EXPECT_TRUE(r.StylesXml.contains(QStringLiteral("<bottom style=\"dashed\"><color rgb=\"FFFF0000\"/></bottom>")))
        << r.StylesXml.toStdString();
    EXPECT_FALSE(r.Cells["A1"].Border);  // only the last row has a line, at its bottom
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<pageSetUpPr fitToPage=\"1\"/>"))) << r.SheetXml.toStdString();
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("fitToHeight=\"2\"")));
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("orientation=\"landscape\"")));
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<cfvo type=\"num\" val=\"15\" gte=\"1\"/><cfvo type=\"num\" val=\"25\" gte=\"1\"/>"
                                                   "<cfvo type=\"num\" val=\"35\" gte=\"1\"/></iconSet>")))
        << r.SheetXml.toStdString();
}
