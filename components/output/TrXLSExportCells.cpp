// The spreadsheet export's formatting steps as operations of their own:
// formats, fonts and borders of a block, frozen panes, column widths and
// row heights fitted to the texts, zoom, and date formats in the
// spreadsheet's codes.

#include "components/output/TrXLSExport.h"

#include "platform/rtl/FormatSettings.h"

void TrXLSExport::FormatCells(int Row, int Col, int RowCount, int ColCount, const QString& NumberFormat, const QString& FontName,
                              int FontSize, TXLSCellFormats Frm)
{
    Guard([&] {
        SetCurrentRange(Row, Col, RowCount, ColCount);
        Target()->ForEachCell(Row - 1, Col - 1, Row + RowCount - 2, Col + ColCount - 2, [&](TXlsxSheet::TCell& C) {
            TXlsxFormat f = C.Format >= 0 ? FWorkbook->Format(C.Format) : TXlsxFormat();
            if (!NumberFormat.isEmpty())
                f.NumFormat = NumberFormat;
            if (!FontName.isEmpty())
                f.FontName = FontName;
            if (FontSize != 0)
                f.FontSize = FontSize;
            if (!(Frm & cfOpt(TXLSCellFormat::cfNone))) {
                f.Bold = Frm & cfOpt(TXLSCellFormat::cfBold);
                f.Italic = Frm & cfOpt(TXLSCellFormat::cfItalic);
                f.Underline = Frm & cfOpt(TXLSCellFormat::cfUnderline);
            }
            C.Format = f == TXlsxFormat() ? -1 : FWorkbook->AddFormat(f);
        });
    });
}

void TrXLSExport::BorderCells(int Row, int Col, int RowCount, int ColCount, int, TColor, int LineWidth, int)
{
    Guard([&] {
        SetCurrentRange(Row, Col, RowCount, ColCount);
        Target()->ForEachCell(Row - 1, Col - 1, Row + RowCount - 2, Col + ColCount - 2, [&](TXlsxSheet::TCell& C) {
            TXlsxFormat f = C.Format >= 0 ? FWorkbook->Format(C.Format) : TXlsxFormat();
            f.Border = LineWidth > 0;
            C.Format = f == TXlsxFormat() ? -1 : FWorkbook->AddFormat(f);
        });
    });
}

void TrXLSExport::FreezePanes(int Row, int Col)
{
    Guard([&] {
        TXlsxSheet* s = Target();
        s->FreezeRows(std::max(0, Row));
        s->FreezeCols(std::max(0, Col));
    });
}

void TrXLSExport::SetColumnWidth(int Col, double ColWidth)
{
    Guard([&] { Target()->SetColumnWidth(Col - 1, ColWidth); });
}

void TrXLSExport::SetRowHeight(int Row, double RowHeight)
{
    Guard([&] { Target()->SetRowHeight(Row - 1, RowHeight); });
}

void TrXLSExport::ColumnAutoFit(int Col, int MaxWidth)
{
    Guard([&] {
        TXlsxSheet* s = Target();
        int r0, c0, rows, cols;
        if (!s->UsedRange(r0, c0, rows, cols))
            return;
        int longest = 0;
        for (int r = r0; r < r0 + rows; ++r) {
            const QVariant v = s->Value(r, Col - 1);
            for (const QString& line : v.toString().split(QLatin1Char('\n')))
                longest = std::max(longest, int(line.size()));
        }
        double w = std::max(longest, 4) + 2;
        if (MaxWidth > 0)
            w = std::min<double>(w, MaxWidth);
        s->SetColumnWidth(Col - 1, w);
    });
}

void TrXLSExport::RowAutoFit(int Row, int MaxHeight)
{
    Guard([&] {
        TXlsxSheet* s = Target();
        int r0, c0, rows, cols;
        if (!s->UsedRange(r0, c0, rows, cols))
            return;
        int lines = 1;
        for (int c = c0; c < c0 + cols; ++c)
            lines = std::max(lines, int(s->Value(Row - 1, c).toString().count(QLatin1Char('\n'))) + 1);
        double h = 15.0 * lines;
        if (MaxHeight > 0)
            h = std::min<double>(h, MaxHeight);
        s->SetRowHeight(Row - 1, h);
    });
}

void TrXLSExport::UsedRangeAutoFit(int MaxWidth, int MaxHeight, bool SetColumnWidth, bool SetRowHeight)
{
    int r0 = 0, c0 = 0, rows = 0, cols = 0;
    if (!Guard([&] { Target()->UsedRange(r0, c0, rows, cols); }))
        return;
    Range = {r0 + 1, c0 + 1, rows, cols};
    if (SetColumnWidth)
        for (int c = c0; c < c0 + cols; ++c)
            ColumnAutoFit(c + 1, MaxWidth);
    if (SetRowHeight)
        for (int r = r0; r < r0 + rows; ++r)
            RowAutoFit(r + 1, MaxHeight);
}

void TrXLSExport::SetPageZoom(int Zoom, int, int, int)
{
    // fitting to a number of pages is not kept by the workbook writer: the zoom is
    Guard([&] { Target()->PrintZoom = Zoom >= 1 ? Zoom : 0; });
}

void TrXLSExport::SetWindowZoom(int Zoom)
{
    if (Zoom != 0)
        Guard([&] { Target()->WindowZoom = Zoom; });
}

QString TrXLSExport::GetShortDateFormat() const
{
    const QString sep = FormatSettings().DateSeparator;
    return QStringLiteral("d") + sep + QStringLiteral("m") + sep + QStringLiteral("yyyy");
}

QString TrXLSExport::ConvertDateFormat(const QString& FieldDateFormat) const
{
    // the file's codes are the same letters in every language
    return QString(FieldDateFormat).replace(QLatin1Char('/'), FormatSettings().DateSeparator);
}
