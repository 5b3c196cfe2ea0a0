// Painting of the grid's data cells: the colour decisions of a cell (odd
// rows, the active and hot-track rows, selection, read-only, required and
// link fields, filtered data), the cell parameters hook, each display kind,
// the data grid lines and the bitmap a window draws into a cell.
//
// The canvas-state contract with the windows: an OnDrawColumnCell handler
// may set the canvas brush (and call DefaultDrawColumnCell); the cell is
// then filled with that brush colour and its content drawn on top.

#include "components/grid/rDBGrid.h"

#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "platform/database/Fields.h"

#include <cmath>

namespace {

TColor Rgb(TColor C)
{
    return ColorToRGB(C) & 0xFFFFFF;
}

// A lighter shade of a colour (Luminance 0..100 towards white).
TColor GetShadowColor(TColor C, int Luminance)
{
    const TColor rgb = Rgb(C);
    auto mix = [&](int shift) {
        const int v = int((rgb >> shift) & 0xFF);
        return (v + (255 - v) * Luminance / 100) << shift;
    };
    return TColor(mix(0) | mix(8) | mix(16));
}

}  // namespace

// ---- entry ----------------------------------------------------------------------------

void TrDBGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (ExUpdateLock)
        return;
    isActiveRow = false;
    isHotTrackRow = false;
    if (IsActive()) {
        isActiveRow = ARow - TitleRow() == DataLink()->ActiveRecord() + 1;
        isHotTrackRow = FMouseOverRow == ARow;
    }
    FPainting = true;
    try {
        TDBGrid::DrawCell(ACol, ARow, ARect, AState);
    } catch (...) {
        FPainting = false;
        throw;
    }
    FPainting = false;
    if (ARow <= TitleRow() || ACol <= FixCol()) {
        const bool dataTitle = ARow <= TitleRow() && ACol > FixCol();
        TRect lines = ARect;
        // A title's lines start below the title line band, and below a merged group header.
        if (dataTitle) {
            lines.Top += FTitleLineText.SumHeight();
            if (FOptionsEx2.Groups.Active && FOptionsEx2.Groups.ShowMergedCell)
                lines.Top = GroupBandTop(ARect) + GroupHeight();
        }
        // Drawn over the base grid's lines once they are in (PaintBands).
        FTitleGridCells.push_back({ACol, ARow, dataTitle && FTitleInGroup, AState, lines});
        if (OnDrawTitleCellEnd) {
            TRect rect = ARect;
            FixCellRectColRowLines(rect);
            OnDrawTitleCellEnd(this, ACol, ARow, rect, AState);
        }
    }
}

void TrDBGrid::FixCellRectColRowLines(TRect& Rect) const
{
    if (!(Options() & dgColLines))
        Rect.Right -= 1;
    if (!(Options() & dgRowLines))
        Rect.Bottom -= 1;
}

void TrDBGrid::DrawCellBackground(const TRect& ARect, TColor AColor, TGridDrawState AState, int ACol, int ARow)
{
    TDBGrid::DrawCellBackground(ARect, AColor, AState, ACol, ARow);
    if (OnDrawCellBackground)
        OnDrawCellBackground(this, ACol, ARow, ARect, AState);
}

// ---- the data cell ---------------------------------------------------------------------

bool TrDBGrid::ShowsFocusRect(TGridDrawState State) const
{
    const TCustomForm* form = GetParentForm(const_cast<TrDBGrid*>(this));
    return form && form->ActiveControl() == this && (State & gdSelected) &&
           ((Options() & dgAlwaysShowSelection) || Focused()) && !(Options() & dgRowSelect) &&
           !(ComponentState() & csDesigning) && !FOptionsEx2.Appearance.SkipCellHighlight;
}

void TrDBGrid::DrawColumnCell(const TRect& ARect, int DataCol, TColumn* Column, TGridDrawState State)
{
    TCanvas* c = Canvas();
    TRect rect = ARect;
    TField* field = Column ? Column->Field() : nullptr;
    const TOptionsAppearance& ap = FOptionsEx2.Appearance;
    // 2. The column's colour and font.
    TColor background = Column->Color();
    c->Font()->Assign(*Column->Font());
    // 3. Frozen columns.
    const int rawCol = DataToRawColumn(DataCol);
    if (rawCol < FixedCols()) {
        if ((State & gdFixed) && (Options() & dgColLines) && (Options() & dgRowLines))
            rect = Rect(rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1);
        if (FOptionsEx2.FixedCell.FixedColParentFont)
            c->Font()->SetColor(GetStyleFontColor_GridText(c->Font()->Color(), State & gdFixed, State & gdHotTrack, State & gdPressed));
        else
            c->Font()->Assign(FOptionsEx2.FixedCell.FixedColFont());
        if (FOptionsEx2.FixedCell.FixedColColor != clNone)
            background = FOptionsEx2.FixedCell.FixedColColor;
    }
    // 4-7. The base font colour, the highlight and the cell parameters.
    const TColor baseFontColor = c->Font()->Color();
    bool highlight = HighlightCell(DataCol, 0, QString(), State);
    TDataImageDef imageDef;
    GetCellParams(field, c->Font(), background, imageDef, isActiveRow, highlight);
    if (background == clHighlight)
        highlight = true;
    if (ap.SkipCellHighlight)
        highlight = false;
    // 8-9. The brush and the row colours.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(background);
    TColor gradientTo = clNone;
    if (IsActive()) {
        TDataSet* ds = DataSet();
        const bool link = IsLinkEx(field);
        // The painted row's record number (the cursor may stand elsewhere).
        const int over = ds->ActiveRecordOverride();
        const int recNo = over >= 0 ? over + 1 : ds->RecNo();
        const bool odd = ap.DrawColoredRow && !highlight && recNo % 2 == 0 && Column->Color() == background;
        const bool editing = DataLink()->Editing();
        if (!link && isActiveRow && (!ParioCompConfig.rDBGridCfg.FontColorReadOnly_EditingOnly || editing) &&
            FontColorReadOnly != clNone && (Column->ReadOnly() || (field && field->ReadOnly())))
            c->Font()->SetColor(FontColorReadOnly);
        if (link) {
            c->Font()->SetStyle(c->Font()->Style() | fsUnderline);
            if (!highlight && FontColorLink != clNone)
                c->Font()->SetColor(FontColorLink);
        }
        if (odd)
            c->Brush()->SetColor(FColorOddRow);
        if (isActiveRow && !highlight && FColorActiveRow != clNone) {
            if (Column->Color() != background || ap.ActiveRowGradient)
                gradientTo = FColorActiveRow;
            else
                c->Brush()->SetColor(FColorActiveRow);
        }
        if (isActiveRow && !highlight && (!ParioCompConfig.rDBGridCfg.ColorRequiredField_EditingOnly || editing) &&
            ColorRequiredField != clNone && Column->Color() == background && field && field->Required())
            c->Brush()->SetColor(ColorRequiredField);
        if (isHotTrackRow && FColorHotTrackRow != clNone)
            c->Brush()->SetColor(FColorHotTrackRow);
        if (IsFiltered()) {
            if (c->Font()->Color() == baseFontColor && !highlight && FFontColorFiltered != clNone)
                c->Font()->SetColor(FFontColorFiltered);
        } else if (!FFilteredFieldNames.isEmpty()) {
            SetFilteredFieldNames(QString());
        }
    }
    // 10. The window's own event (it may set the brush and draw).
    TDBGrid::DrawColumnCell(rect, DataCol, Column, State);
    // 11. The background.
    if (highlight) {
        DrawCellHighlight(rect, State, Col(), Row());
    } else if (OnDrawCellBackground) {
        // The painted cell's coordinates (handlers colour by the cell they get).
        const int over = IsActive() ? DataSet()->ActiveRecordOverride() : -1;
        OnDrawCellBackground(this, rawCol, over >= 0 ? over + TitleRow() + 1 : Row(), rect, State);
    } else if (gradientTo == clNone) {
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(rect);
    } else {
        GradientFillCanvas(c, GetShadowColor(c->Brush()->Color(), ap.ActiveRowOriginalColorShadowLuminance), gradientTo, rect,
                           gdVertical);
    }
    // 12-13. The content and the focus.
    c->Brush()->SetStyle(bsClear);
    if (IsActive()) {
        DrawColumnCellContent(rect, Column, field, State, imageDef, highlight);
        c->Brush()->SetStyle(bsSolid);
        if (isActiveRow && ap.DrawRowFocus) {
            // Every cell of the active row is framed.
            if (OnDrawActiveRowFocus)
                OnDrawActiveRowFocus(this, rect, DataCol, Column, State);
            else
                BiDi_DrawFocusRect(c, rect);
        } else if (ShowsFocusRect(State)) {
            BiDi_DrawFocusRect(c, rect);
        }
    }
    // 14-16. The lines, the rectangle without missing lines, the end event.
    DrawDataGridLines(rect, DataCol, State, Column);
    FixCellRectColRowLines(rect);
    if (OnDrawColumnCellEnd)
        OnDrawColumnCellEnd(this, rect, DataCol, Column, State);
}

void TrDBGrid::GetCellParams(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef, bool ActiveRow,
                             bool Highlight)
{
    GetFieldCond(Field, AFont, Background, DataImageDef, ActiveRow, Highlight);
    if (OnGetCellParams)
        OnGetCellParams(this, Field, AFont, Background, ActiveRow, Highlight);
    if (OnGetCellParamsEx)
        OnGetCellParamsEx(this, Field, AFont, Background, DataImageDef, ActiveRow, Highlight);
}

bool TrDBGrid::HighlightCell(int DataCol, int DataRow, const QString& Value, TGridDrawState AState)
{
    if (FOptionsEx2.Appearance.HighlightMultiselect)
        return TDBGrid::HighlightCell(DataCol, DataRow, Value, AState);  // marked rows included
    // Marked rows are then left plain: only the selected cell, and only while it is shown.
    return (AState & gdSelected) && ((Options() & dgAlwaysShowSelection) || Focused()) &&
           (!Updating() || (Options() & dgRowSelect));
}

QString TrDBGrid::GetCellText(TColumn* Column)
{
    TField* f = Column ? Column->Field() : nullptr;
    if (!f)
        return QString();
    if (IsMemoEx(f, false) && FOptionsEx2.Editors.Memo == obtContent)
        return f->AsString();
    return f->DisplayText();
}

void TrDBGrid::DrawColumnCellContent(const TRect& Rect, TColumn* Column, TField* Field, TGridDrawState State,
                                     TDataImageDef& DataImageDef, bool Highlight)
{
    (void)State;
    // 1.
    bool textPending = true;
    // A row without a record shows no data image, but its other kinds still draw.
    if (IsEmpty())
        DataImageDef.UseDataImage = false;
    else if (!DataImageDef.UseDataImage && IsDataImageEx(Field))
        GetDataImageDef(Field, DataImageDef);
    // 2-6. The glyph kinds and data images, first match wins.
    if (DataImageDef.UseDataImage) {
        ShowDataImage(Rect, Field, Column, DataImageDef, Highlight);
        return;
    }
    if (IsBoolEx(Field)) {
        const int idx = (FOptionsEx2.Editors.BoolAllowsNull && Field->IsNull()) ? -1 : TrGlyphsRec::CheckIndex(FieldAsBooleanValue(Field));
        DrawGlyphCell(Rect, idx, State);
        return;
    }
    if (IsGraphicEx(Field)) {
        bool isNull = false;
        try {
            isNull = Field->IsNull();
        } catch (...) {
        }
        if (FOptionsEx2.Editors.Graphic == obtContent)
            DrawPictureContent(Rect, Field);
        else
            DrawGlyphCell(Rect, TrGlyphsRec::PictureIndex(isNull, FGlyphLookStyle), State);
        return;
    }
    if (IsMemoAsGlyph(Field, false)) {
        DrawGlyphCell(Rect, TrGlyphsRec::MemoIndex(Field->AsString().isEmpty(), FGlyphLookStyle), State);
        return;
    }
    // 7. The text kinds.
    if (IsRichTextEx(Field)) {
        DrawRichText(Rect, Field->AsString(), clNone);
        return;
    }
    if (IsMemoAsText(Field, false)) {
        QString text = Field->AsString();
        if (FRowLines == 1)
            text = FitTextToWidth(text.replace(QStringLiteral("\r\n"), QStringLiteral(" | ")), Rect.Width());
        DrawCellText(Rect, text, FRowLines > 1, Column);
        return;
    }
    TRect textRect = Rect;
    QString groupText;
    if (FOptionsEx2.Groups.Active && GetGroupMasterCellContent(Field, groupText)) {
        DrawCellText(Rect, groupText, false, Column);
        textPending = false;
    }
    if (IsPasswordEx(Field)) {
        QString text = FieldsAsPassword.Values(Field->FieldName());
        if (text.isEmpty())
            text = QStringLiteral("***");
        DrawCellText(textRect, text, false, Column);
        textPending = false;
    }
    if (IsColorEx(Field)) {
        DrawColorRect(textRect, Field);
        textRect.Left += textRect.Height();
    }
    if (IsDataBarEx(Field))
        textPending = ShowDataBar(Rect, textRect, Field, Column) && textPending;
    if (IsStatusBarEx(Field) && !Field->IsNull()) {
        ShowStatusBar(Rect, Field);
        textPending = false;
    }
    if (textPending)
        DrawCellText(textRect, GetCellText(Column), false, Column);
}

QString TrDBGrid::FitTextToWidth(const QString& Text, int Width)
{
    TCanvas* c = Canvas();
    if (c->TextWidth(Text + QStringLiteral("...")) <= Width - 4)
        return Text;
    for (int n = 1; n <= Text.size(); ++n)
        if (Width - 4 < c->TextWidth(Text.left(n) + QStringLiteral("...")))
            return Text.left(n - 1) + QStringLiteral("...");
    return Text;
}

void TrDBGrid::DrawGlyphRecoloured(const TRect& Rect, int GlyphIndex, TColor Colour)
{
    TBitmap* b = GlyphIndex >= 0 ? rGlyphs.BmpFromIndex(GlyphIndex, FScaleRatio, FCustomGlyphs) : nullptr;
    if (!b)
        return;
    BitmapChangeColor(b, TempBmp.get(), Colour, clBlack);
    DrawBMPInCell(Rect, TempBmp.get());
}

void TrDBGrid::DrawGlyphCell(const TRect& Rect, int GlyphIndex, TGridDrawState State)
{
    if (GlyphIndex < 0)
        return;
    TBitmap* b = rGlyphs.BmpFromIndex(GlyphIndex, FScaleRatio, FCustomGlyphs);
    if (!b)
        return;
    const TColor colour = GetStyleFontColor_GridText(Canvas()->Font()->Color(), false, false, false);
    const TColor rgb = ColorToRGB(colour) & 0xFFFFFF;
    if (!(State & gdSelected) && !(Options() & dgMultiSelect) && rgb != clBlack && rgb != clWhite &&
        !IsSameColor(colour, clWhite, 85))
        BitmapChangeColor(b, TempBmp.get(), colour, clBlack);
    else
        TempBmp->Assign(b);
    // Tall rows keep the glyph at the row's vertical alignment.
    DrawCellBmp(Rect, TempBmp.get(), false, QString());
}

void TrDBGrid::DrawColorRect(const TRect& TextRect, TField* Field)
{
    const TColor col = StringToColor(Field->AsString());
    if (col == clNone)
        return;
    TCanvas* c = Canvas();
    const TBrush saved = *c->Brush();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(col);
    c->FillRect(Rect(TextRect.Left + 2, TextRect.Top + 2, TextRect.Left + TextRect.Height() - 2, TextRect.Bottom - 2));
    c->SetBrush(saved);
}

void TrDBGrid::DrawCellText(const TRect& Rect, const QString& Text, bool KeepLineBreaks, TColumn* Column)
{
    DrawCellTextAlign(Rect, Text, KeepLineBreaks, Column->Alignment(), Column);
}

void TrDBGrid::DrawCellTextAlign(TRect Rect, const QString& Text, bool KeepLineBreaks, TAlignment Alignment, TColumn* Column)
{
    if (UseRightToLeftAlignment()) {
        DrawCellTextRightToLeft(Rect, Text, Alignment);
        return;
    }
    Rect = ::Rect(Rect.Left + 2, Rect.Top + 2, Rect.Right - 3, Rect.Bottom - 2);
    if (Text.isEmpty() || Rect.Width() <= 0)
        return;
    QString t = Text;
    if (FRowLines == 1) {
        if (!KeepLineBreaks && t.contains(QLatin1Char('\n'))) {
            QString sep = ParioCompConfig.rDBGridCfg.CellSingleLineEOLSeparator;
            if (sep.isEmpty())
                sep = QStringLiteral(" | ");
            t.replace(QStringLiteral("\r\n"), sep).replace(QLatin1Char('\n'), sep);
        }
        TAlignment a = Alignment;
        // A date or time that does not fit shows its beginning.
        if (Column->Field() && IsDateTimeField(Column->Field()) && Canvas()->TextWidth(t) > Rect.Width())
            a = taLeftJustify;
        const TOptionsHighlightText& hl = FOptionsEx2.HighlightText;
        // A row taller than its line keeps the text where RowVerticalAlign puts it.
        const bool oneLineHigh = FRowVerticalAlign == taVerticalCenter || FRowFixHeight <= 0;
        if (FRowVerticalAlign != taAlignBottom && oneLineHigh && !(hl.Active && !hl.HighlightText.isEmpty()) && !t.contains(QLatin1Char('\t')) &&
            !(Column->Field() && IsHTMLTextEx(Column->Field())) && !(Canvas()->Font()->Style() & (fsUnderline | fsStrikeOut))) {
            // The common case, one plain line: the grid's fast text path.
            DrawGridCellText(Canvas(), ::Rect(Rect.Left - 2, Rect.Top, Rect.Right + 2, Rect.Bottom), t, a);
            return;
        }
        DrawTextAligned(Rect, t, Column, false, QString(), taAlignTop, GetCellAlignment(a, FRowVerticalAlign, true));
    } else {
        DrawTextAligned(Rect, t, Column, !KeepLineBreaks, QString(), FRowVerticalAlign,
                        GetCellAlignment(Alignment, FRowVerticalAlign, false));
    }
}

void TrDBGrid::DrawCellTextRightToLeft(const TRect& Rect, const QString& Text, TAlignment Alignment)
{
    // One line, read from the right: the alignment is mirrored as the columns are.
    TCanvas* c = Canvas();
    const TAlignment a = BiDiAlignment(Alignment);
    const int w = c->TextWidth(Text), h = c->TextHeight(QStringLiteral("Wg"));
    const int x = a == taRightJustify ? Rect.Right - w - 3 : a == taCenter ? Rect.Left + Rect.Width() / 2 - w / 2 : Rect.Left + 2;
    const int y = FRowVerticalAlign == taAlignBottom     ? Rect.Bottom - h - 2
                  : FRowVerticalAlign == taVerticalCenter ? Rect.Top + Rect.Height() / 2 - h / 2
                                                          : Rect.Top + 2;
    c->TextRect(Rect, x, y, Text);
}

void TrDBGrid::DrawTextAligned(TRect Rect, const QString& Text, TColumn* Column, bool SplitLines, const QString& AltText,
                               TVerticalAlignment VertAlign, unsigned Format)
{
    TCanvas* c = Canvas();
    // 1. Read from the right in a mirrored grid.
    BiDi_ModifyRect(c, Rect);
    if (UseRightToLeftAlignment())
        Format = DrawTextBiDiModeFlags(Format);
    // 2-3. Highlighted search text and HTML cells go through the markup renderer.
    const TOptionsHighlightText& hl = FOptionsEx2.HighlightText;
    const bool highlighting = Column && hl.Active && !hl.HighlightText.isEmpty() &&
                              (hl.HighlightInFields.isEmpty() || hl.HighlightInFields.contains(Column->FieldName(), Qt::CaseInsensitive)) &&
                              Text.contains(hl.HighlightText, Qt::CaseInsensitive);
    const bool html = Column && Column->Field() && IsHTMLTextEx(Column->Field());
    if (SplitLines && (Format & DT_WORDBREAK) && Text.contains(QStringLiteral("\r\n"))) {
        const QStringList lines = Text.split(QStringLiteral("\r\n"));
        const int lh = c->TextHeight(QStringLiteral("Wq"));
        int offset = 0;
        if (VertAlign == taAlignBottom)
            offset = std::max(0, Rect.Height() - int(lines.size()) * lh);
        else if (VertAlign == taVerticalCenter)
            offset = std::max(0, (Rect.Height() - int(lines.size()) * lh) / 2);
        const int saved = c->SaveDC();
        c->IntersectClipRect(Rect);
        for (int i = 0; i < lines.size(); ++i) {
            TRect band = ::Rect(Rect.Left, Rect.Top + offset + i * lh, Rect.Right, Rect.Top + offset + (i + 1) * lh);
            if (highlighting || html)
                DrawHTMLText(band, lines[i], Format, false, highlighting);
            else
                c->DrawText(lines[i], band, (Format & ~(DT_WORDBREAK | DT_VCENTER | DT_BOTTOM)) | DT_SINGLELINE | DT_END_ELLIPSIS);
        }
        c->RestoreDC(saved);
        return;
    }
    if (highlighting || html) {
        DrawHTMLText(Rect, Text, Format, (Format & DT_WORDBREAK) != 0, highlighting);
        return;
    }
    // 6. Measured once; a text that does not fit may give way to AltText.
    if (!(Format & DT_SINGLELINE)) {
        TRect m = Rect;
        c->DrawText(Text, m, Format | DT_CALCRECT);
        if ((m.Width() > Rect.Width() || m.Height() > Rect.Height()) && !AltText.isEmpty()) {
            c->DrawText(AltText, Rect, Format);
            return;
        }
        if (m.Height() <= Rect.Height()) {
            if (VertAlign == taAlignBottom)
                Rect.Top += Rect.Height() - m.Height();
            else if (VertAlign == taVerticalCenter)
                Rect.Top += (Rect.Height() - m.Height()) / 2;
        }
    }
    c->DrawText(Text, Rect, Format);
}

void TrDBGrid::DrawDataGridLines(const TRect& Rect, int DataCol, TGridDrawState State, TColumn* Column)
{
    (void)State;
    (void)Column;
    const TOptionsAppearance& ap = FOptionsEx2.Appearance;
    TCanvas* c = Canvas();
    const bool frozen = DataToRawColumn(DataCol) < FixedCols();
    const TPen saved = *c->Pen();
    if ((Options() & dgRowLines) && ap.DataRowLineColor != clNone) {
        const bool asTitle = frozen && ap.DataRowInFixedColsAsTitle;
        const TColor col = asTitle ? ap.TitleRowLineColor : ap.DataRowLineColor;
        if (col != clNone) {
            c->Pen()->SetColor(col);
            c->Pen()->SetStyle(asTitle ? ap.TitleRowLineStyle : ap.DataRowLineStyle);
            c->MoveTo(Rect.Left, Rect.Bottom);
            c->LineTo(Rect.Right, Rect.Bottom);
        }
    }
    if ((Options() & dgColLines) && ap.DataColLineColor != clNone) {
        // A frozen column without a title line colour keeps the data colour.
        const TColor col = frozen && ap.TitleColLineColor != clNone ? ap.TitleColLineColor : ap.DataColLineColor;
        c->Pen()->SetColor(col);
        c->Pen()->SetStyle(frozen && ap.TitleColLineColor != clNone ? ap.TitleColLineStyle : ap.DataColLineStyle);
        c->MoveTo(Rect.Right, Rect.Top);
        c->LineTo(Rect.Right, Rect.Bottom);
    }
    c->SetPen(saved);
}

void TrDBGrid::DrawTitleGridLines(int ACol, int ARow, bool InGroup, TGridDrawState State, const TRect& Rect)
{
    (void)ACol;
    (void)ARow;
    (void)State;
    // Without line colours the base background's own edges and lines stay.
    const TOptionsAppearance& ap = FOptionsEx2.Appearance;
    TCanvas* c = Canvas();
    const TPen saved = *c->Pen();
    if ((Options() & dgRowLines) && ap.TitleRowLineColor != clNone) {
        c->Pen()->SetColor(ap.TitleRowLineColor);
        c->Pen()->SetStyle(ap.TitleRowLineStyle);
        c->MoveTo(Rect.Left, Rect.Bottom);
        c->LineTo(Rect.Right, Rect.Bottom);
    }
    if ((Options() & dgColLines) && ap.TitleColLineColor != clNone) {
        c->Pen()->SetColor(InGroup && ap.TitleColInGroupLineColor != clNone ? TColor(ap.TitleColInGroupLineColor)
                                                                            : TColor(ap.TitleColLineColor));
        c->Pen()->SetStyle(ap.TitleColLineStyle);
        c->MoveTo(Rect.Right, Rect.Top);
        c->LineTo(Rect.Right, Rect.Bottom);
    }
    c->SetPen(saved);
}

void TrDBGrid::DrawBMPInCell(const TRect& R, TBitmap* Bmp)
{
    if (!Bmp || Bmp->Width() <= 0 || R.Width() <= 2 || R.Height() <= 2)
        return;
    TCanvas* c = Canvas();
    const int x = R.Left + (R.Width() - Bmp->Width()) / 2;
    const int y = R.Top + (R.Height() - Bmp->Height()) / 2;
    const int saved = c->SaveDC();
    c->IntersectClipRect(R);
    c->Draw(x, y, Bmp);
    c->RestoreDC(saved);
}
