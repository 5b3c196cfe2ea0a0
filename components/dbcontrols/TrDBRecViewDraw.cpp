// How the record view paints its cells (captions, texts, memo texts, check
// boxes, pictures), grows rows to their content, and what the mouse shows
// over it: the hand over a link and a hint with a value that does not fit.

#include "components/base/rGlyphs.h"
#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "components/dbcontrols/TrDBRecView.h"
#include "components/grid/rdbtool.h"
#include "platform/ui/Grids.h"
#include "resources/ImprovedTexts.h"

#include <algorithm>

namespace {

// A check box of 13 pixels (scaled) centred in a box at the cell's left,
// for when no glyph is at hand.
void DrawCheck(TCanvas* C, const TRect& Cell, bool Checked, double Scale)
{
    const int size = int(13 * Scale + 0.5);
    const int box = Cell.Height() + 4;
    const int x = Cell.Left + (box - size) / 2, y = Cell.Top + (Cell.Height() - size) / 2;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWindow);
    C->FillRect(Rect(x, y, x + size, y + size));
    C->Brush()->SetColor(clGrayText);
    C->FrameRect(Rect(x, y, x + size, y + size));
    if (Checked) {
        C->Pen()->SetColor(clWindowText);
        C->Pen()->SetWidth(2);
        C->MoveTo(x + size / 4, y + size / 2);
        C->LineTo(x + size / 2 - 1, y + size * 3 / 4);
        C->LineTo(x + size * 3 / 4 + 1, y + size / 4);
        C->Pen()->SetWidth(1);
    }
    C->Brush()->SetStyle(bsClear);
}

}  // namespace

void TrDBRecView::SetCustomGlyphs(TrCustomGlyphs* Value)
{
    if (FCustomGlyphs)
        FCustomGlyphs->RemoveFreeNotification(this);
    FCustomGlyphs = Value;
    if (Value)
        Value->FreeNotification(this);
    Invalidate();
}

void TrDBRecView::DrwTxt(TCanvas* C, const TRect& R, const QString& Text, TAlignment Align, bool Tall)
{
    TRect r = R;
    unsigned flags = DT_NOPREFIX | (Align == taRightJustify ? DT_RIGHT : Align == taCenter ? DT_CENTER : DT_LEFT);
    if (Tall) {
        // Several lines, vertically centred.
        TRect calc = r;
        C->DrawText(Text, calc, flags | DT_WORDBREAK | DT_CALCRECT);
        r.Top += std::max(0, (r.Height() - calc.Height()) / 2);
        C->DrawText(Text, r, flags | DT_WORDBREAK);
    } else {
        C->DrawText(Text, r, flags | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
}

bool TrDBRecView::FitRowHeight(int ARow, int ContentHeight)
{
    // Rows that grow to their content never shrink below the default.
    const int h = std::max(DefaultRowHeight(), ContentHeight);
    if (ARow < 0 || ARow >= RowCount() || RowHeights(ARow) == h)
        return false;
    SetRowHeights(ARow, h);
    return true;
}

int TrDBRecView::MeasureText(TCanvas* C, const TRect& R, const QString& Text) const
{
    TRect calc = R;
    C->DrawText(Text, calc, DT_NOPREFIX | DT_WORDBREAK | DT_CALCRECT);
    return calc.Height() + 4;
}

void TrDBRecView::DrwBmp(TCanvas* C, const TRect& R, int ARow, TField* F)
{
    TBitmap bmp;
    const TrGraphicType kind = ReadBitmapFromField(F, &bmp);
    if (kind == gtError) {
        DrwTxt(C, R, imptxt::PictureCorrupted, taCenter, false);
        return;
    }
    if (kind == gtNoPicture || bmp.Width() <= 0 || bmp.Height() <= 0)
        return;
    if ((FOptionsEx & GridOptEx(goAutoHeight)) && FitRowHeight(ARow, bmp.Height() + 4))
        return;  // painted again at the new height
    C->StretchDraw(PictureRect(R, bmp.Width(), bmp.Height()), &bmp);
}

TRect TrDBRecView::PictureRect(const TRect& Cell, int W, int H)
{
    // A picture that reaches an edge of the cell is scaled down to fit,
    // keeping its proportions; a smaller one keeps its size. Both centred.
    int w = W, h = H;
    if (H >= Cell.Height() || W >= Cell.Width()) {
        if (double(W) / std::max(1, Cell.Width()) >= double(H) / std::max(1, Cell.Height())) {
            w = Cell.Width();
            h = int(double(Cell.Width()) * H / W + 0.5);
        } else {
            h = Cell.Height();
            w = int(double(Cell.Height()) * W / H + 0.5);
        }
    }
    const int x = Cell.Left + (Cell.Width() - w) / 2, y = Cell.Top + (Cell.Height() - h) / 2;
    return Rect(x, y, x + w, y + h);
}

void TrDBRecView::DrawBoolean(TCanvas* C, const TRect& Cell, bool Checked)
{
    TBitmap* glyph = rGlyphs.BmpFromIndex(TrGlyphsRec::CheckIndex(Checked), FScaleRatio, FCustomGlyphs);
    if (!glyph || glyph->Width() <= 0) {
        DrawCheck(C, Cell, Checked, FScaleRatio);
        return;
    }
    const int box = Cell.Height() + 4;
    C->Draw(Cell.Left + (box - glyph->Width()) / 2, Cell.Top + (Cell.Height() - glyph->Height()) / 2, glyph);
}

void TrDBRecView::GetCellParams(int Col, int Row, TFont* AFont, TColor& Background, bool& Highlight)
{
    if (OnGetCellParams)
        OnGetCellParams(this, Col, Row, AFont, Background, Highlight);
}

void TrDBRecView::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    // 4.
    if (!Ready())
        return;
    TCanvas* c = Canvas();
    TField* f = nullptr;
    try {
        f = GetField(ARow);
    } catch (...) {
    }
    const QString name = ARow < FFldList.size() ? FFldList[ARow] : QString();
    c->Font()->Assign(*Font());
    const TColor before = c->Font()->Color();
    if (ACol == 1 && f) {
        SetFont(name, c->Font());
        if (AState & gdFocused) {
            c->Font()->SetColor(before);
        } else if (!LinkKind(ARow).isEmpty()) {
            c->Font()->SetStyle(c->Font()->Style() | fsUnderline);
            c->Font()->SetColor(clHighlight);
        }
    }
    bool highlight = (AState & gdSelected) && (AState & gdFocused);
    TColor background = ACol == 0 ? FixedColor() : Color();
    GetCellParams(ACol, ARow, c->Font(), background, highlight);
    c->Brush()->SetColor(background);
    if (highlight) {
        DrawCellHighlight(ARect, AState, ACol, ARow);
        c->Font()->SetColor(clHighlightText);
    } else {
        DrawCellBackground(ARect, background, AState, ACol, ARow);
    }
    if (AState & gdFocused) {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(ARect);
        c->DrawFocusRect(ARect);
    }
    c->Brush()->SetStyle(bsClear);
    TRect r = ARect;
    r.Left += 2;
    r.Top += 2;
    r.Right -= 2;
    r.Bottom -= 2;
    if (ACol == 0) {
        QString caption = GetCaption(ARow);
        if (FOptionsEx & GridOptEx(goAddColon))
            caption += QLatin1Char(':');
        DrwTxt(c, r, caption, FTitleAlignment, false);
    } else if (f && FDataLink.Active()) {
        DrawValue(c, ARect, r, ARow, f);
    }
    c->Brush()->SetStyle(bsSolid);
}

void TrDBRecView::DrawValue(TCanvas* C, const TRect& Cell, const TRect& R, int ARow, TField* F)
{
    if (IsBooleanRow(ARow)) {
        DrawBoolean(C, Cell, BoolIsTrue(ARow));
        return;
    }
    if (IsGraphicField(F)) {
        DrwBmp(C, R, ARow, F);
        return;
    }
    const bool memo = IsMemoField(F);
    const QString text = memo ? GetValue(ARow) : F->DisplayText();
    if ((FOptionsEx & GridOptEx(goAutoHeight)) && FitRowHeight(ARow, MeasureText(C, R, text)))
        return;  // painted again at the new height
    const bool tall = memo || Cell.Height() > DefaultRowHeight() + 1;
    const TAlignment align = memo ? taLeftJustify : GetDataAlignment(ARow) == DT_RIGHT ? taRightJustify : taLeftJustify;
    DrwTxt(C, R, text, align, tall);
}

void TrDBRecView::Paint()
{
    TCustomDrawGrid::Paint();
    // Under a shown editor the cell shows the control's own colour.
    if (!InplaceEditor() || !InplaceEditor()->Visible())
        return;
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->FillRect(CellRect(Col(), Row()));
}

// ---- the mouse: links and hints -----------------------------------------------------------------

TRect TrDBRecView::LinkTextRect(int ARow) const
{
    // The cell less 3 pixels, moved down by 2, as wide as the text.
    TField* f = GetField(ARow);
    TRect r = CellRect(1, ARow);
    if (!f || r.IsEmpty())
        return TRect();
    TCanvas c;
    c.Font()->Assign(*const_cast<TrDBRecView*>(this)->Font());
    const int w = c.TextWidth(f->DisplayText());
    const bool right = GetDataAlignment(ARow) == DT_RIGHT;
    const int left = right ? r.Right - 3 - w : r.Left + 3;
    return Rect(left, r.Top + 5, left + w, r.Bottom - 1);
}

bool TrDBRecView::IsOverLink(int X, int Y) const
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X != 1 || !FDataLink.Active() || LinkKind(cell.Y).isEmpty())
        return false;
    const TRect r = LinkTextRect(cell.Y);
    return X >= r.Left && X <= r.Right && Y >= r.Top - 4 && Y <= r.Bottom;
}

void TrDBRecView::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomDrawGrid::MouseMove(Shift, X, Y);
    // 15. The hand over a link's text, the control's own cursor elsewhere.
    const bool over = IsOverLink(X, Y);
    if (over != FIsLink) {
        FIsLink = over;
        if (over)
            FCursorBeforeLink = Cursor();
        SetCursor(over ? crHandPoint : FCursorBeforeLink);
    }
}

void TrDBRecView::MouseLeave()
{
    TCustomDrawGrid::MouseLeave();
    if (FIsLink) {
        FIsLink = false;
        SetCursor(FCursorBeforeLink);
    }
}

void TrDBRecView::DoHintShow(int ACol, int ARow, QString& HintStr, bool& CanShow)
{
    // 16. Only a text the cell cuts off is worth a hint.
    HintStr.clear();
    try {
        if (FDataLink.Active() && ACol >= 0 && ACol < ColCount()) {
            TField* f = GetField(ARow);
            if (ACol == 0)
                HintStr = GetCaption(ARow);
            else if (f && !IsGraphicField(f))
                HintStr = GetValue(ARow);
            TCanvas c;
            c.Font()->Assign(*Font());
            if (ACol == 1 && f)
                SetFont(FFldList.value(ARow), c.Font());
            if (c.TextWidth(HintStr) + 5 < ColWidths(ACol))
                HintStr.clear();
        }
    } catch (...) {
        HintStr.clear();
    }
    TCustomDrawGrid::DoHintShow(ACol, ARow, HintStr, CanShow);
}
