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

namespace {

// The spreadsheet's line style and weight as a side style of the workbook
// writer (0 none, 1 thin, 2 medium, 3 dashed, 4 dotted, 5 thick, 6 double, 7 hair).
uint8_t SideStyle(int LineStyle, int Weight)
{
    constexpr int xlDash = -4115, xlDot = -4118, xlDouble = -4119, xlNone = -4142, xlMedium = -4138;
    switch (LineStyle) {
    case xlNone: return 0;
    case xlDouble: return 6;
    case xlDot: return 4;
    case xlDash: case 4: case 5: case 13: return 3;  // dash, dash-dot, dash-dot-dot, slanted dash-dot
    default: break;
    }
    switch (Weight) {
    case 1: return 7;
    case xlMedium: return 2;
    case 4: return 5;
    default: return 1;
    }
}

}  // namespace

void TrXLSExport::BorderCells(int Row, int Col, int RowCount, int ColCount, int Border, TColor LineColor, int LineWidth,
                              int LineStyle)
{
    enum { Left, Top, Right, Bottom };
    const uint8_t style = SideStyle(LineStyle, LineWidth);
    const int r0 = Row - 1, c0 = Col - 1, r1 = Row + RowCount - 2, c1 = Col + ColCount - 2;
    Guard([&] {
        SetCurrentRange(Row, Col, RowCount, ColCount);
        Target()->ForEachCell(r0, c0, r1, c1, [&](TXlsxSheet::TCell& C) {
            TXlsxFormat f = C.Format >= 0 ? FWorkbook->Format(C.Format) : TXlsxFormat();
            // which sides of this cell the chosen lines are
            bool side[4] = {false, false, false, false};
            switch (Border) {
            case 0: side[Left] = side[Top] = side[Right] = side[Bottom] = true; break;
            case 7: side[Left] = C.Col == c0; break;
            case 8: side[Top] = C.Row == r0; break;
            case 9: side[Bottom] = C.Row == r1; break;
            case 10: side[Right] = C.Col == c1; break;
            case 11: side[Left] = C.Col > c0; side[Right] = C.Col < c1; break;
            case 12: side[Top] = C.Row > r0; side[Bottom] = C.Row < r1; break;
            default: break;
            }
            bool any = false;
            for (int i = 0; i < 4; ++i)
                if (side[i]) {
                    f.Sides[i] = style;
                    any = true;
                }
            if (any && f.Border) {
                // the thin lines all round stay on the other sides
                f.Border = false;
                for (int i = 0; i < 4; ++i)
                    if (!side[i] && f.Sides[i] == 0)
                        f.Sides[i] = 1;
            }
            if (any)
                f.BorderColor = XlsRgb(LineColor);
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

void TrXLSExport::SetPageZoom(int Zoom, int FitToPagesTall, int FitToPagesWide, int Orientation)
{
    Guard([&] {
        TXlsxSheet* s = Target();
        if (Zoom < 1) {
            s->PrintZoom = 0;
            s->FitTall = std::max(0, FitToPagesTall);
            s->FitWide = std::max(0, FitToPagesWide);
        } else {
            s->PrintZoom = Zoom;
            s->FitTall = s->FitWide = 0;
        }
        if (Orientation != 0)
            s->Orientation = Orientation;
    });
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
