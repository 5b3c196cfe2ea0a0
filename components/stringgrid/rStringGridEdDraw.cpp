// Drawing the string grid's cells: the cell style, the background and focus,
// titles, and each edit style's and data type's look (buttons, check boxes,
// rich text, colour swatches, data images, data bars and status bars).
#include "components/stringgrid/rStringGridEd.h"

#include "components/base/rGlyphs.h"
#include "components/base/rRichEdit.h"
#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "components/stringgrid/rStringGridEdInplaceEdit.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/SimpleTextLine.h"
#include "platform/ui/Themes.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

using enum TOptionEx;

namespace {

unsigned AlignFlag(TAlignment A)
{
    return A == taRightJustify ? DT_RIGHT : A == taCenter ? DT_CENTER : DT_LEFT;
}

// A number text as the bars read it: thousand separators and blanks dropped.
double BarNumber(const QString& S, bool& Ok)
{
    double v = 0;
    Ok = TryStrToFloat(CleanNumericString(RemoveThousandSeparator(S)), v);
    return Ok ? v : 0;
}

double ParamNumber(const QString& S, double Default)
{
    bool ok = false;
    const double v = BarNumber(S, ok);
    return ok ? v : Default;
}

// Cell text: the quick glyph path for plain lines, the full layout otherwise.
void CellText(TCanvas* C, TRect R, const QString& Text, unsigned Flags)
{
    if (!DrawSimpleTextLine(C, R, Text, Flags))
        C->DrawText(Text, R, Flags);
}

}  // namespace

// ---- cell style ----------------------------------------------------------------------------

void TrStringGridEd::GetCellParams(int ACol, int ARow, TDataImageDef& Def, bool& Highlight, TColor& Background, TFont* AFont)
{
    if (OnGetCellParams)
        OnGetCellParams(this, ACol, Highlight, Background, AFont, ARow);
    if (OnGetCellParamsEx)
        OnGetCellParamsEx(this, ACol, Def, Highlight, Background, AFont, ARow);
}

void TrStringGridEd::SetCellStyle(int ACol, int ARow, TCanvas* C, TDataImageDef& Def, bool& Highlight, bool Disabled)
{
    TrStringGridEdColumn* col = ColumnOf(ACol);
    const bool fixedRow = ARow < FixedRows();
    // 1, 2: fonts and the brush of the column, title or fixed column.
    if (fixedRow) {
        C->Font()->Assign(*col->TitleFont());
        if (HasOptionEx(dgShowTitleBold))
            C->Font()->SetStyle(C->Font()->Style() | fsBold);
        C->Brush()->SetColor(col->TitleColor() == clNone ? FixedColor() : col->TitleColor());
    } else {
        C->Font()->Assign(*col->Font());
        TColor bk = col->Color();
        if (ACol < FixedCols() && bk == Color())
            bk = FixedColor();
        C->Brush()->SetColor(bk);
    }
    // 3: changed cells.
    if (!fixedRow && HasOptionEx(dgColorChangedCells) && IsCellChanged(ACol, ARow))
        C->Brush()->SetColor(ChangedCellsBkColor);
    // 4: a disabled grid.
    if (Disabled)
        C->Font()->SetColor(clGrayText);
    // 5: INI group rows look like titles.
    if (!fixedRow && IsIniGroupRow(ARow)) {
        C->Font()->SetStyle(C->Font()->Style() | fsBold);
        C->Brush()->SetColor(FixedColor());
    }
    // 6: the owner's say.
    TColor bk = C->Brush()->Color();
    GetCellParams(ACol, ARow, Def, Highlight, bk, C->Font());
    C->Brush()->SetColor(bk);
    // 7: invalid and out-of-limit values.
    if (!Highlight && !fixedRow && ACol >= FixedCols() && col->InvalidDataAction != sgaNone) {
        const TrStringGridEdDataState st = IsValidData(ACol, ARow);
        if (st == sdsInvalid)
            C->Font()->SetColor(col->InvalidDataColor);
        else if (st == sdsOutOfLimit)
            C->Font()->SetColor(col->OutOfLimitDataColor);
    }
}

void TrStringGridEd::GetCellStyle(int ACol, int ARow, TCanvas* ACanvas)
{
    if (!ColumnOf(ACol))
        return;
    TDataImageDef def;
    bool highlight = false;
    SetCellStyle(ACol, ARow, ACanvas, def, highlight, !Enabled());
}

void TrStringGridEd::SetTextFrmRect(int ACol, int ARow, TCanvas* C, TRect& R, unsigned& Flags, TAlignment Align)
{
    const bool wrap = GetCellWordWrap(ACol, ARow);
    Flags = AlignFlag(Align) | GetTextFormatSetting(wrap);
    if (!wrap)
        return;
    TRect m = R;
    C->DrawText(GetCellText(ACol, ARow), m, (Flags | DT_CALCRECT) & ~DT_VCENTER);
    if (m.Height() < R.Height())
        R.Top += (R.Height() - m.Height()) / 2;
}

// ---- drawing one cell ------------------------------------------------------------------------

void TrStringGridEd::DrawCellBackground(const TRect& ARect, TColor AColor, TGridDrawState AState, int ACol, int ARow)
{
    TStringGrid::DrawCellBackground(ARect, AColor, AState, ACol, ARow);
    if (OnDrawCellBackground)
        OnDrawCellBackground(this, ACol, ARow, ARect, AState);
}

void TrStringGridEd::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    // 1.
    if (UpdateLocked() || ARect.Width() <= 0)
        return;
    CheckColumns();
    if (std::min(FRangeStart.X, FRangeStop.X) < FixedCols() || std::min(FRangeStart.Y, FRangeStop.Y) < FixedRows())
        ResetSelRange();
    // 2.
    if (FAutoRowHeight && ARow > 0 && (ACol == 0 || ARow == FEditCell.Y)) {
        const int h = CalcMaxRowHeight(ARow, true);
        if (h != RowHeights(ARow)) {
            SetRowHeights(ARow, h);
            return;
        }
    }
    // 3.
    if (RowHeights(ARow) <= 0)
        return;
    TDataImageDef def;
    const bool dataCell = ACol >= FixedCols() && ARow >= FixedRows();
    const TrStringGridEdEditStyle style = dataCell ? GetEditStyleEx(ACol, ARow) : sgbNone;
    const TrStringGridEdDataType dataType = dataCell ? GetDataType(ACol, ARow) : sgdText;
    // 4.
    TrStringGridEdInplaceEdit* ed = InplaceEditorEd();
    const bool focused = Focused() || (ed && ed->Focused());
    const bool selected = dataCell && IsCellSelected(ACol, ARow) && (focused || HasOptionEx(dgAlwaysShowSelection));
    const bool inRange = dataCell && CellInSelectedRange(ACol, ARow);
    bool highlight = (selected && !HasOptionEx(dgSkipCellHighlight)) || (inRange && InRangeCellsBkColor == clNone);
    if (SelectedCellBkColor != clNone)
        highlight = false;
    // 5.
    TCanvas* c = Canvas();
    SetCellStyle(ACol, ARow, c, def, highlight, !Enabled());
    TColor bk = c->Brush()->Color();
    if (highlight)
        bk = clHighlight;
    else if (inRange)
        bk = InRangeCellsBkColor != clNone ? InRangeCellsBkColor : SelectedCellBkColor;
    else if (selected && SelectedCellBkColor != clNone)
        bk = SelectedCellBkColor;
    const TColor fontColor = highlight && style != sgbButton ? TColor(clHighlightText) : c->Font()->Color();
    // 6.
    const bool groupRow = dataCell && IsIniGroupRow(ARow);
    const TGridDrawState st = groupRow ? (AState | gdFixed) : AState;
    if (highlight && style != sgbButton)
        DrawCellHighlight(ARect, st, ACol, ARow);
    else
        DrawCellBackground(ARect, bk, st & ~gdSelected, ACol, ARow);
    c->Font()->SetColor(fontColor);
    c->Brush()->SetColor(bk);
    // 7.
    TRect r = ARect;
    if (Focused() && ARow == Row() && ACol >= FixedCols() && (ACol == Col() || (Options() & goRowSelect)) && style != sgbButton &&
        dataCell) {
        c->Brush()->SetColor(clWindow);
        c->FrameRect(r);
        c->DrawFocusRect(r);
        c->Brush()->SetColor(bk);
    }
    if (style != sgbButton)
        InflateRect(r, -1, -1);
    TrStringGridEdColumn* col = ColumnOf(ACol);
    // 8.
    if (ARow < FixedRows()) {
        TRect tr = Rect(r.Left + FInnerMargin + 1, r.Top, r.Right - FInnerMargin - 1, r.Bottom);
        unsigned flags = 0;
        SetTextFrmRect(ACol, ARow, c, tr, flags, col->TitleAlignment());
        c->Brush()->SetStyle(bsClear);
        CellText(c, tr, GetCellText(ACol, ARow), flags);
        c->Brush()->SetStyle(bsSolid);
    } else if (!col->CustomDraw()) {
        // 9.
        if (style == sgbButton)
            DrawButtonCell(ACol, ARow, c, ARect, ACol == Col() && ARow == Row() && Focused());
        else if (style == sgbCheckbox)
            DrawCheckboxCell(ACol, ARow, c, r, highlight);
        else if (style == sgbRichText)
            DrawRichText(r, Cells(ACol, ARow), bk);
        else if (!def.SkipTextDrawing)
            DrawTextCell(ACol, ARow, c, r, style, dataType, def);
    }
    // 10.
    DrawCellEx(ACol, ARow, focused, bk, AState, ARect);
    c->Font()->SetColor(Font()->Color());
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TrStringGridEd::DrawCellEx(int, int, bool, TColor, TGridDrawState, const TRect&) {}

void TrStringGridEd::Paint()
{
    TStringGrid::Paint();
    // Under the editor the cell shows the grid's colour, not a highlight.
    if (EditorMode()) {
        const TRect r = CellRect(Col(), Row());
        if (!r.IsEmpty()) {
            Canvas()->Brush()->SetStyle(bsSolid);
            Canvas()->Brush()->SetColor(Color());
            Canvas()->FillRect(r);
        }
    }
}

// ---- the kinds of cells -----------------------------------------------------------------------

void TrStringGridEd::DrawButtonCell(int ACol, int ARow, TCanvas* C, const TRect& R, bool Focused)
{
    bool canEdit = true;
    if (OnCanEdit)
        OnCanEdit(this, ACol, canEdit, ARow);
    const bool enabled = Enabled() && canEdit;
    const bool pressed = enabled && FButtonDown && FMouseDownCell.X == ACol && FMouseDownCell.Y == ARow &&
                         FMouseCell.X == ACol && FMouseCell.Y == ARow;
    TRect r = R;
    if (ThemeServicesEnabled()) {
        const bool hot = FMouseCell.X == ACol && FMouseCell.Y == ARow;
        DrawThemedPushButton(C, r, !enabled ? tsDisabled : pressed ? tsPressed : hot ? tsHot : tsNormal);
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(r);
        DrawEdge(C, r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        if (pressed)
            r.Offset(1, 1);
    }
    C->Font()->SetColor(enabled ? clBtnText : clGrayText);
    C->Brush()->SetStyle(bsClear);
    TRect tr = r;
    C->DrawText(Cells(ACol, ARow), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    C->Brush()->SetStyle(bsSolid);
    if (Focused) {
        TRect f = R;
        InflateRect(f, -3, -3);
        C->DrawFocusRect(f);
    }
}

TRect TrStringGridEd::CheckboxRect(int ACol, int ARow) const
{
    const TRect cell = CellRect(ACol, ARow);
    if (cell.IsEmpty())
        return TRect();
    auto* self = const_cast<TrStringGridEd*>(this);
    const int box = FCheckboxWidth + 4;
    const TAlignment a = self->GetCheckboxAlignment(ACol, ARow);
    int left = cell.Left;
    if (a == taCenter)
        left = cell.Left + (cell.Width() - box) / 2;
    else if (a == taRightJustify)
        left = cell.Right - box;
    const int top = cell.Top + (cell.Height() - box) / 2;
    return Bounds(left, top, box, box);
}

void TrStringGridEd::DrawCheckboxCell(int ACol, int ARow, TCanvas* C, const TRect& R, bool Highlight)
{
    TBitmap* glyph = rGlyphs.BmpFromIndex(TrGlyphsRec::CheckIndex(CheckboxIsChecked(ACol, ARow)), FScaleRatio, FCustomGlyphs);
    if (!glyph)
        return;
    TBitmap bmp(*glyph);
    FCheckboxWidth = bmp.Width();
    const TColor font = C->Font()->Color();
    if (!Highlight && !IsSameColor(font, clWhite, 85)) {
        const TColor to = ColorToRGB(font);
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                if (bmp.Pixel(x, y) == clBlack)
                    bmp.SetPixel(x, y, to);
    }
    const TRect inner = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    const TAlignment a = GetCheckboxAlignment(ACol, ARow);
    int x = inner.Left;
    if (a == taCenter)
        x = inner.Left + (inner.Width() - bmp.Width()) / 2;
    else if (a == taRightJustify)
        x = inner.Right - bmp.Width();
    const int y = inner.Top + (inner.Height() - bmp.Height()) / 2;
    C->Draw(x, y, &bmp);
}

void TrStringGridEd::DrawRichText(const TRect& R, const QString& RtfText, TColor BackgroundColor)
{
    TCanvas* c = Canvas();
    const TColor bk = BackgroundColor == clNone ? c->Brush()->Color() : BackgroundColor;
    c->Brush()->SetColor(bk);
    c->FillRect(R);
    TrRichEdit* rich = RichTextControl(RtfText);
    if (!rich)
        return;
    rich->SetColor(bk);
    const TRect tr = Rect(R.Left + FInnerMargin, R.Top + FRichTextTopMargin, R.Right - FInnerMargin, R.Bottom);
    rich->DrawToCanvas(tr, 0, 0, c, false);
}

void TrStringGridEd::DrawTextCell(int ACol, int ARow, TCanvas* C, const TRect& R, TrStringGridEdEditStyle Style,
                                  TrStringGridEdDataType DataType, TDataImageDef& Def)
{
    TrStringGridEdColumn* col = ColumnOf(ACol);
    QString text = Cells(ACol, ARow);
    TRect tr = Rect(R.Left + FInnerMargin + 1, R.Top, R.Right - FInnerMargin - 1, R.Bottom);
    bool drawText = true;
    if (Style == sgbDropDownColor && !text.isEmpty()) {
        const TRect sq = Rect(R.Left + 1, R.Top + 1, R.Left + R.Height() - 1, R.Bottom - 1);
        const TColor swatch = StringToColor(text);
        if (swatch != clNone) {
            const TColor keep = C->Brush()->Color();
            C->Brush()->SetColor(swatch);
            C->FillRect(sq);
            C->Brush()->SetColor(clBlack);
            C->FrameRect(sq);
            C->Brush()->SetColor(keep);
        }
        tr.Left = sq.Right + 2;
    }
    if (Style == sgbDropDownDataImage && col->DataImageList() && !text.isEmpty()) {
        bool ok = false;
        const int idx = text.toInt(&ok);
        Def.UseDataImage = ok && idx >= 0 && idx < col->DataImageList()->Count();
        Def.ImageIndex = idx;
        Def.ImageAlignment = QStringLiteral("C");
        Def.ShowText.clear();
    }
    if (Def.UseDataImage) {
        DrawDataImage(ACol, C, tr, Def, text);
        drawText = false;
    } else if (DataType == sgdDataBar && !text.isEmpty()) {
        QString shown = text;
        if (DrawDataBarCell(ACol, ARow, C, R, text, shown))
            text = shown;
    } else if (DataType == sgdStatusBar && !text.isEmpty()) {
        if (DrawStatusBarCell(ACol, ARow, C, R, text))
            drawText = false;
    }
    if (!drawText || text.isEmpty())
        return;
    unsigned flags = 0;
    SetTextFrmRect(ACol, ARow, C, tr, flags, GetDataAlignment(ACol, ARow));
    C->Brush()->SetStyle(bsClear);
    CellText(C, tr, text, flags);
    C->Brush()->SetStyle(bsSolid);
}

void TrStringGridEd::DrawDataImage(int ACol, TCanvas* C, TRect& R, const TDataImageDef& Def, const QString& Text)
{
    TrStringGridEdColumn* col = ColumnOf(ACol);
    QString align = Def.ImageAlignment.left(1).toUpper();
    if (!Def.ShowText.isEmpty()) {
        const QString shown = Def.ShowText == QLatin1String("+") ? Text
                              : Def.ShowText.startsWith(QLatin1Char('\'')) ? Def.ShowText.mid(1)
                                                                            : Def.ShowText;
        TRect tr = R;
        C->Brush()->SetStyle(bsClear);
        C->DrawText(shown, tr, AlignFlag(col->Alignment()) | GetTextFormatSetting(false));
        C->Brush()->SetStyle(bsSolid);
        if (align == QLatin1String("A"))
            align = col->Alignment() == taLeftJustify ? QStringLiteral("R") : QStringLiteral("L");
    }
    TCustomImageList* il = col->DataImageList();
    if (!il || Def.ImageIndex < 0 || Def.ImageIndex >= il->Count())
        return;
    TBitmap img;
    img.SetSize(il->Width(), il->Height());
    img.Canvas()->Brush()->SetColor(C->Brush()->Color());
    img.Canvas()->FillRect(Rect(0, 0, il->Width(), il->Height()));
    il->Draw(img.Canvas(), 0, 0, Def.ImageIndex);
    // Shrunk to the cell in both directions keeping its shape, never enlarged.
    const double scale = std::min({1.0, double(std::max(1, R.Width())) / img.Width(), double(std::max(1, R.Height())) / img.Height()});
    const int w = std::max(1, int(img.Width() * scale)), h = std::max(1, int(img.Height() * scale));
    int x = R.Left + (R.Width() - w) / 2;
    if (align == QLatin1String("L"))
        x = R.Left;
    else if (align == QLatin1String("R"))
        x = R.Right - w;
    const int y = R.Top + (R.Height() - h) / 2;
    C->StretchDraw(Bounds(x, y, w, h), &img);
}

bool TrStringGridEd::DrawDataBarCell(int ACol, int ARow, TCanvas* C, const TRect& R, const QString& Text, QString& DrawnText)
{
    const TrDataBar& d = ColumnOf(ACol)->DataBar;
    double mn = d.MinValue, mx = d.MaxValue;
    int kind = int(d.Text);
    TColor from = d.ColorFrom, to = d.ColorTo;
    const QString offered = QStringLiteral("%1,%2,%3,%4,%5")
                                .arg(mn, 0, 'g')
                                .arg(mx, 0, 'g')
                                .arg(kind)
                                .arg(ColorToString(from, false), ColorToString(to, false));
    QVariant v = offered;
    DoGeneralEventParam(geGetDataBarParam, ACol, v, nullptr, ARow);
    const QString reply = v.toString();
    if (reply.isEmpty())
        return false;
    if (reply != offered) {
        const QStringList p = reply.split(QLatin1Char(';'));
        mn = ParamNumber(p.value(0), 0);
        mx = ParamNumber(p.value(1), 100);
        kind = std::clamp(int(ParamNumber(p.value(2), 0)), 0, 2);
        from = StringToColor(p.value(3));
        to = StringToColor(p.value(4));
    }
    bool ok = false;
    const double value = BarNumber(Text, ok);
    const TColor keep = C->Brush()->Color();
    // The text follows the bar: a value past either end shows 0 % or 100 %.
    const double fraction = DrawDataBar(C, R, from, value, mn, mx, to);
    C->Brush()->SetColor(keep);
    if (kind == dbtPercent)
        DrawnText = FormatFloat(QStringLiteral("0"), fraction * 100) + QLatin1Char('%');
    else if (kind == dbtNothing)
        DrawnText.clear();
    return true;
}

bool TrStringGridEd::DrawStatusBarCell(int ACol, int ARow, TCanvas* C, const TRect& R, const QString& Text)
{
    const TrStatusBar& s = ColumnOf(ACol)->StatusBar;
    int steps = s.Steps, icon = int(s.IconType);
    TColor all = s.ColorAll, done = s.ColorDone;
    const QString offered =
        QStringLiteral("%1,%2,%3,%4").arg(steps).arg(icon).arg(ColorToString(all, false), ColorToString(done, false));
    QVariant v = offered;
    DoGeneralEventParam(geGetStatusBarParam, ACol, v, nullptr, ARow);
    const QString reply = v.toString();
    if (reply.isEmpty())
        return false;
    if (reply != offered) {
        const QStringList p = reply.split(QLatin1Char(';'));
        steps = int(ParamNumber(p.value(0), 5));
        icon = std::clamp(int(ParamNumber(p.value(1), 0)), 0, 5);
        all = StringToColor(p.value(2));
        done = StringToColor(p.value(3));
    }
    bool ok = false;
    const int pos = int(std::nearbyint(BarNumber(Text, ok)));  // halves to even
    const TColor keep = C->Brush()->Color();
    DrawStatusBar(C, R, pos, steps, icon, all, done);
    C->Brush()->SetColor(keep);
    return true;
}
