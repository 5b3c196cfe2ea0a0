// The fixed (indicator) column and the top-left cell: a text mask with the
// record number and field values, a check box showing the row's selection,
// the record indicator glyphs, the column's width, and the title text and
// filter glyph of the top-left cell.

#include "components/grid/rDBGrid.h"

#include "components/grid/TrDBGridFilterBar.h"

#include "components/base/rGlyphs.h"
#include "platform/database/DataSet.h"

namespace {

// Width of the indicator area when the fixed column also shows a mask or check box.
constexpr int IndicatorArea = 11;

}  // namespace

// ---- the settings ------------------------------------------------------------------

void TFixedColText::Changed()
{
    FGrid->LayoutChanged();
    FGrid->Invalidate();
}

void TFixedColText::SetTitleText(const QString& V)
{
    FTitleText = V;
    Changed();
}

void TFixedColText::SetTextMask(const QString& V)
{
    FTextMask = V;
    Changed();
}

void TFixedColText::SetFixedColWidth(int V)
{
    FFixedColWidth = V < 8 ? 0 : V;
    Changed();
}

void TFixedColText::SetTextAlign(TAlignment V)
{
    FTextAlign = V;
    Changed();
}

void TFixedColText::SetShowIndicator(bool V)
{
    FShowIndicator = V;
    Changed();
}

void TFixedColText::SetShowCheckbox(bool V)
{
    FShowCheckbox = V;
    Changed();
}

void TFixedColText::Assign(const TFixedColText& S)
{
    FTitleText = S.FTitleText;
    FTextMask = S.FTextMask;
    FFixedColWidth = S.FFixedColWidth;
    FTextAlign = S.FTextAlign;
    FFont.Assign(S.FFont);
    FParentFont = S.FParentFont;
    FShowIndicator = S.FShowIndicator;
    FShowCheckbox = S.FShowCheckbox;
    Changed();
}

// ---- painting ----------------------------------------------------------------------

int TrDBGrid::IndicatorColWidth() const
{
    // The default 11 leaves the platform's own width.
    const int w = FFixedColText.FixedColWidth();
    return w >= 8 && w != 11 ? w : TDBGrid::IndicatorColWidth();
}

void TrDBGrid::DrawIndicatorCell(int DataRow, const TRect& ARect, TGridDrawState AState)
{
    const TFixedColText& fc = FFixedColText;
    // The grid draws its own indicator glyphs (in the title colour) at run time.
    if (!fc.IsFixedColUsed() && fc.ShowIndicator() && (ComponentState() & csDesigning)) {
        TDBGrid::DrawIndicatorCell(DataRow, ARect, AState);
        return;
    }
    DrawCellBackground(ARect, FixedColor(), AState, 0, DataRow + TitleOffset());
    if (!IsActive() || DataRow >= DataLink()->RecordCount())
        return;
    TCanvas* c = Canvas();
    TDataSet* ds = DataSet();
    const bool current = DataRow == DataLink()->ActiveRecord();
    const int saved = ds->ActiveRecordOverride();
    const int savedDC = c->SaveDC();
    try {
        c->IntersectClipRect(ARect);
        // 1. The row's record is read through the link's window.
        DataLink()->SetActiveRecord(DataRow);
        TRect q = Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right - 1, ARect.Bottom - 1);
        if (fc.ShowIndicator())
            q.Left += IndicatorArea;
        // 2. The mask: "<<#>>" is the record number (none on a new record).
        QString text;
        if (fc.IsFixedColUsed()) {
            const int over = ds->ActiveRecordOverride();
            const int recNo = (current && ds->State() == dsInsert) ? 0 : (over >= 0 ? over + 1 : ds->RecNo());
            text = fc.TextMask();
            text.replace(QStringLiteral("<<#>>"), recNo >= 1 ? QString::number(recNo) : QString());
            text = FillTextMask(text, ds, QStringLiteral("<<"), QStringLiteral(">>"));
        }
        // 3-4. Font, the check mark and the window's say.
        c->Font()->Assign(fc.ParentFont() ? *Font() : fc.Font());
        if (fc.ParentFont())
            c->Font()->SetColor(TitleFont()->Color());
        // The window learns the row's selection even where no check box shows it.
        bool checked = (Options() & dgMultiSelect) && SelectedRows()->CurrentRowSelected();
        if (OnGetFixedColState)
            OnGetFixedColState(this, current, c->Font(), text, checked);
        // 5. The check box.
        if (fc.ShowCheckbox()) {
            if (TBitmap* b = rGlyphs.BmpFromIndex(TrGlyphsRec::CheckIndex(checked), FScaleRatio, FCustomGlyphs)) {
                if (q.Width() >= b->Width()) {
                    const TRect br = text.isEmpty() ? q : Rect(q.Left, q.Top, q.Left + b->Width(), q.Bottom);
                    TempBmp->Assign(b);
                    DrawBMPInCell(br, TempBmp.get());
                    if (!text.isEmpty())
                        q.Left += b->Width() + 3;
                }
            }
        }
        // 6. The mask text.
        if (!text.isEmpty() && q.Width() > 2) {
            q.Right = ARect.Right - 1;
            const bool single = FRowLines == 1 || c->TextWidth(text) <= q.Width();
            c->Brush()->SetStyle(bsClear);
            DrawTextAligned(q, text, nullptr, false, QString(), FRowVerticalAlign,
                            GetCellAlignment(fc.TextAlign(), FRowVerticalAlign, single));
            c->Brush()->SetStyle(bsSolid);
        }
        // 7. The record indicator.
        if (fc.ShowIndicator()) {
            const TRect ir = fc.IsFixedColUsed() ? Rect(ARect.Left, ARect.Top, ARect.Left + IndicatorArea, ARect.Bottom) : ARect;
            const bool readOnly = ReadOnly() || !(Options() & dgEditing) || !ds->CanModify();
            const bool multi = !fc.ShowCheckbox() && (Options() & dgMultiSelect) && SelectedRows()->CurrentRowSelected();
            DrawGlyphRecoloured(ir, TrGlyphsRec::RecordIndicatorIndex(current, multi, readOnly, ds->State()), TitleFont()->Color());
        }
    } catch (...) {
        ds->SetActiveRecordOverride(saved);
        c->RestoreDC(savedDC);
        throw;
    }
    ds->SetActiveRecordOverride(saved);
    c->RestoreDC(savedDC);
}

void TrDBGrid::DrawTitleEx(const TRect& ARect, TGridDrawState AState)
{
    TCanvas* c = Canvas();
    // 1.
    TRect q = TitleRectToTextRect(ARect);
    q = Rect(q.Left + 1, q.Top + 1, q.Right - 1, q.Bottom - 1);
    if (AState & gdPressed) {
        q.Top += 1;
        q.Right += 1;
    }
    c->Font()->Assign(*TitleFont());
    // 2. The title text.
    const bool withText = !FFixedColText.TitleText().isEmpty();
    if (withText) {
        // Laid out as the titles are: the window's say, TitleLines lines.
        DrawTitleTextAlign(Rect(q.Left + IndicatorArea, q.Top, q.Right, q.Bottom), FFixedColText.TitleText(), FFixedColText.TextAlign(),
                           nullptr);
        c->Brush()->SetStyle(bsSolid);
    }
    // 3. The filter glyph (a click shows the record count or the window's own action).
    const TColor glyphColour = TitleFont()->Color();
    if (FOptionsEx2.FixedCell.TitleExBtn)
        DrawGlyphRecoloured(withText ? Rect(q.Left, q.Top, q.Left + IndicatorArea, q.Bottom) : q,
                            TrGlyphsRec::TitleExIndex(IsFiltered()), glyphColour);
    // 4. The filter bar's corner: the filter's state, a toggle when clicked.
    if (FOptionsEx2.Filters.TextBar) {
        TRect b = TrDBGridFilterBar::Of(this)->FilterComboRect(ARect, false);
        b.Left += 1;
        if (AState & gdPressed) {
            b.Top += 1;
            b.Right += 1;
        }
        if (b.Width() > 0 && b.Height() > 0) {
            if (ColWidths(0) > 10 && rGlyphs.BmpFromIndex(TrGlyphsRec::FilterBarIndex(IsFiltered()), FScaleRatio, FCustomGlyphs)) {
                DrawGlyphRecoloured(b, TrGlyphsRec::FilterBarIndex(IsFiltered()), glyphColour);
            } else {
                c->Brush()->SetStyle(bsClear);
                c->DrawText(QStringLiteral("X"), b, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
                c->Brush()->SetStyle(bsSolid);
            }
        }
    }
}
