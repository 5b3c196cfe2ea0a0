// The footer row under the data: the band, one cell per column with its text
// and settings (alignment and font tokens), a one-line text running over the
// following columns that have no text of their own, and the free text over
// the whole footer.

#include "components/grid/rDBGrid.h"

#include "components/grid/TrDBGridFilterBar.h"

#include "components/base/rtool.h"
#include "platform/database/Fields.h"

#include <algorithm>

void TrDBGrid::PaintBands()
{
    TDBGrid::PaintBands();
    for (const TTitleGridCell& t : FTitleGridCells)
        DrawTitleGridLines(t.Col, t.Row, t.InGroup, t.State, t.Rect);
    FTitleGridCells.clear();
    DrawMergedGroupHeaders();
    DrawFooterRow();
    if (FOptionsEx2.Filters.FilterPanel)
        TrDBGridFilterBar::Of(this)->DrawFilterPanel();
}

TRect TrDBGrid::SimpleTextRect(const TRect& Footer) const
{
    const bool rtl = UseRightToLeftAlignment();
    TRect r = Footer;
    if (IndicatorOffset()) {
        const TRect ind = CellRect(0, 0);
        if (rtl)
            r.Right = ind.Left;
        else
            r.Left = ind.Right;
    }
    const TRect last = CellRect(ColCount() - 1, 0);
    if (!last.IsEmpty()) {
        if (rtl)
            r.Left = std::max(r.Left, last.Left);
        else
            r.Right = std::min(r.Right, last.Right);
    }
    return Rect(r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1);
}

void TrDBGrid::DrawFooterRow()
{
    if (!FFooterRow.FooterVisible() || !Visible())
        return;
    TCanvas* c = Canvas();
    const TRect fr = FFooterRow.FooterRect();
    if (fr.Height() <= 0)
        return;
    const int saved = c->SaveDC();
    c->IntersectClipRect(fr);
    // 1. The band.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(fr);
    // 2. The window may draw the footer itself.
    bool defaultDrawing = true;
    QString simple = FFooterRow.SimpleText;
    if (OnDrawFooterRow)
        OnDrawFooterRow(this, fr, simple, defaultDrawing);
    if (defaultDrawing) {
        // 3-4. The colours and every cell's background first, so that a text
        // running over the next columns is not painted over.
        const TColor lineColor = GetCellLineColor(FFooterRow.CellLinesColor);
        const TColor cellColor = FFooterRow.Color != clNone ? FFooterRow.Color : Color();
        for (int col = 0; col < ColCount(); ++col)
            DrawFooterCellBackground(col, cellColor, lineColor);
        // 5. The texts, left to right.
        int lastRight = 0;
        for (int col = 0; col < ColCount(); ++col)
            DrawFooterCellText(col, ColumnAt(col), cellColor, lastRight);
        // 6. The free text over the whole footer.
        if (!simple.isEmpty()) {
            c->Font()->Assign(FFooterRow.ParentFont() ? *Font() : FFooterRow.Font);
            if (FFooterRow.BoldText)
                c->Font()->SetStyle(c->Font()->Style() | fsBold);
            c->Brush()->SetStyle(bsClear);
            TRect r = SimpleTextRect(fr);
            c->DrawText(simple, r, GetCellAlignment(FFooterRow.SimpleTextAlign, taVerticalCenter, true) | DT_END_ELLIPSIS);
        }
    }
    c->Brush()->SetStyle(bsSolid);
    c->RestoreDC(saved);
}

void TrDBGrid::DrawFooterCellBackground(int ACol, TColor CellColor, TColor LineColor)
{
    TCanvas* c = Canvas();
    const TRect r = FFooterRow.FooterCellRect(ACol);
    if (r.Width() <= 2)
        return;
    c->Brush()->SetStyle(bsSolid);
    if (ACol < IndicatorOffset()) {
        TDBGrid::DrawCellBackground(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), FixedColor(), gdFixed, 0, 1);
    } else {
        c->Brush()->SetColor(CellColor);
        c->FillRect(r);
    }
    if (FFooterRow.ShowCellLines) {
        c->Brush()->SetColor(LineColor);
        c->FrameRect(r);
    }
}

void TrDBGrid::DrawFooterCellText(int ACol, TColumn* Column, TColor CellColor, int& LastRight)
{
    TCanvas* c = Canvas();
    const TRect cell = FFooterRow.FooterCellRect(ACol);
    if (cell.Width() <= 2)
        return;
    const bool indicator = ACol < IndicatorOffset();
    // Read from the right, texts run over the columns to their left and
    // LastRight is the far (left) edge of the text drawn before.
    const bool rtl = UseRightToLeftAlignment();
    if (indicator)
        LastRight = rtl ? cell.Left - 3 : cell.Right + 3;
    // 5.1-5.3 Font, alignment and text; the settings' tokens after the text.
    TField* field = Column && !indicator ? Column->Field() : nullptr;
    QString text = indicator ? FFooterRow.FixedColText : FFooterRow.GetFooterText(field);
    TAlignment align = indicator ? FFixedColText.TextAlign() : Column ? Column->Alignment() : taLeftJustify;
    // With ParentFont a cell takes its column's font, the indicator cell the fixed column's.
    const TFont& font = !FFooterRow.ParentFont() ? FFooterRow.Font
                        : indicator              ? FFixedColText.Font()
                        : Column                 ? *Column->Font()
                                                 : FFooterRow.Font;
    c->Font()->Assign(font);
    if (FFooterRow.BoldText)
        c->Font()->SetStyle(c->Font()->Style() | fsBold);
    QString mask;
    int size = 0;
    TColor colour = clNone;
    TFontStylesDefault styles;
    TAlignmentDefault alignDefault = tadDefault;
    if (field && FooterRow_GetSettings(field->FieldName(), mask, c->Font(), size, colour, styles, alignDefault))
        UpdateAlignmentFromAlignmentDefault(align, alignDefault);
    // 5.4
    bool defaultDrawing = true;
    if (OnDrawFooterCell)
        OnDrawFooterCell(this, cell, ACol, field, text, defaultDrawing);
    if (text.isEmpty())
        return;
    TRect r = Rect(cell.Left + 3, cell.Top + 1, cell.Right - 3, cell.Bottom - 1);
    if (defaultDrawing) {
        c->Brush()->SetStyle(bsClear);
        if (r.Height() < 2 * c->TextHeight(QStringLiteral("Wg"))) {
            // 5.5 One line: a text wider than its cell runs over its neighbours.
            const int w = c->TextWidth(text);
            if (!indicator && w > r.Width()) {
                OverflowFooterText(ACol, r, w, align == taRightJustify, LastRight, rtl);
                if (!rtl && FFooterRow.ShowCellLines) {
                    c->Brush()->SetStyle(bsSolid);
                    c->Brush()->SetColor(CellColor);
                    c->FillRect(r);
                    c->Brush()->SetStyle(bsClear);
                }
            }
            DrawTextAligned(r, text, nullptr, false, QString(), taVerticalCenter,
                            GetCellAlignment(align, taVerticalCenter, true) | DT_END_ELLIPSIS);
        } else {
            // A taller footer: "|" breaks lines; "###" when the text does not fit.
            text.replace(QLatin1Char('|'), QStringLiteral("\r\n"));
            DrawTextAligned(r, text, nullptr, false, QStringLiteral("###"), taVerticalCenter,
                            GetCellAlignment(align, taVerticalCenter, false));
        }
        c->Brush()->SetStyle(bsSolid);
    }
    // 5.6
    LastRight = rtl ? r.Left - 3 : r.Right + 3;
}

void TrDBGrid::OverflowFooterText(int ACol, TRect& R, int TextWidth, bool TowardsLastText, int LastEdge, bool Leftward)
{
    // The cell's side towards the text drawn before, the side away from it,
    // and the reading direction (+1 rightward, -1 leftward).
    int& back = Leftward ? R.Right : R.Left;
    int& ahead = Leftward ? R.Left : R.Right;
    const int dir = Leftward ? -1 : 1;
    auto furthest = [dir](int A, int B) { return dir > 0 ? std::max(A, B) : std::min(A, B); };
    auto nearest = [dir](int A, int B) { return dir > 0 ? std::min(A, B) : std::max(A, B); };
    const int span = dir * (TextWidth + 2);
    if (TowardsLastText) {
        // Back over the free room up to the text drawn before.
        if (dir * (back - LastEdge) > 3)
            back = furthest(LastEdge, ahead - span);
        return;
    }
    // Ahead over the following cells without a footer of their own, inside the band.
    const TRect band = FFooterRow.FooterRect();
    int reach = ahead;
    for (int next = ACol + 1; next < ColCount(); ++next) {
        TColumn* nc = ColumnAt(next);
        const TRect nr = FFooterRow.FooterCellRect(next);
        if (nr.Width() <= 2)
            continue;
        if (nc && FFooterRow.IsFooterDefined(nc->Field()))
            break;
        reach = (Leftward ? nr.Left : nr.Right) - dir * 3;
    }
    ahead = nearest(nearest(reach, Leftward ? band.Left : band.Right), back + span);
}
