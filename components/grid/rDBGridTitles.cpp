// The grid's titles (text, sort glyph with the sort-order marks), the title
// click that sorts, the top-left cell and the footer row under the data.

#include "components/grid/rDBGrid.h"

#include "components/grid/TrDBGridFilterBar.h"

#include "components/base/rtool.h"
#include "platform/database/Fields.h"

TColor TrDBGrid::GetCellLineColor(TColor DefColor) const
{
    if (DefColor != clNone)
        return DefColor;
    return DrawingStyle() == grids::gdsClassic ? TColor(0xC0C0C0) : GetStyleColor_GridCellBorder(TColor(0xF0F0F0));
}

int TrDBGrid::GetLineWidth(const QString& S, const TFont* AFont)
{
    // Text read from the right needs two pixels more.
    const int extra = UseRightToLeftAlignment() ? 2 : 0;
    TCanvas* c = Canvas();
    if (!AFont)
        return c->TextWidth(S) + extra;
    const TFont saved(*c->Font());
    c->Font()->Assign(*AFont);
    const int w = c->TextWidth(S);
    c->Font()->Assign(saved);
    return w + extra;
}

QString TrDBGrid::GetLine(QString& S, int W, bool IgnoreWidth)
{
    if (S.isEmpty() || (W < 3 && !IgnoreWidth))
        return S;
    const TOptionsFixedCell& fc = FOptionsEx2.FixedCell;
    int brk = -1, skip = 0, stop = S.size() + 1;
    // 1. A forced separator wins.
    if (!fc.TitleForceWrapSeparators.isEmpty()) {
        for (int i = 0; i < S.size(); ++i)
            if (fc.TitleForceWrapSeparators.contains(S[i])) {
                brk = i + 1;
                skip = 1;
                break;
            }
    }
    // 2. Otherwise the last break point before the width runs out.
    if (brk < 0) {
        for (int i = 1; i <= S.size(); ++i) {
            const QChar ch = S[i - 1];
            if (fc.TitleTextSeparators.contains(ch))
                brk = i;
            else if (fc.TitleTextCaseSeparator && i >= 2 && ch >= QLatin1Char('A') && ch <= QLatin1Char('Z') &&
                     S[i - 2] >= QLatin1Char('a') && S[i - 2] <= QLatin1Char('z'))
                brk = i - 1;
            if (IgnoreWidth ? brk > 0 : GetLineWidth(S.left(i), nullptr) > W) {
                stop = i;
                break;
            }
        }
        // 3. A walk past the end takes the whole text.
        if (stop > S.size())
            brk = S.size() + 1;
        else if (brk < 0)
            brk = stop - 1;
    }
    const QString line = S.left(brk - skip);
    S = S.mid(brk);
    return line;
}

QString TrDBGrid::GetTitleText(TColumn* Column)
{
    if (!Column)
        return QString();
    QString t;
    if (FOptionsEx2.Groups.Active && GetGroupMasterTitleContent(Column->Field(), t))
        return t;
    return Column->Title()->Caption();
}

void TrDBGrid::DrawTitleDecorations(int ACol, const TRect& CellRect, TColumn* Column, TGridDrawState)
{
    if (FOptionsEx2.Filters.TextBar || FOptionsEx2.Filters.FunnelBtn)
        TrDBGridFilterBar::Of(this)->DrawTitle(ACol, CellRect, Column);
}

void TrDBGrid::DrawTitleCell(int ACol, const TRect& ARect, TColumn* Column, TGridDrawState AState)
{
    TCanvas* c = Canvas();
    if (!Column) {
        DrawCellBackground(ARect, FixedColor(), AState, ACol, 0);
        DrawTitleEx(ARect, AState);
        return;
    }
    // The title line band takes the top of the cell.
    TRect work = ARect;
    if (const int band = FTitleLineText.SumHeight(); band > 0) {
        DrawTitleLineBand(ARect, ACol == IndicatorOffset());
        work.Top = std::min(work.Bottom, ARect.Top + band);
    }
    DrawCellBackground(work, Column->Title()->Color(), AState, ACol, 0);
    // 2. The text rectangle; a pressed title moves by a pixel.
    TRect t = TitleRectToTextRect(ARect);
    if (AState & gdPressed) {
        t.Top += 1;
        t.Right += 1;
    }
    // 4. Room for the funnel and the sort glyph at the right.
    if (FOptionsEx2.Filters.FunnelBtn)
        t.Right -= TrDBGridFilterBar::Of(this)->TitleReservedWidth(Column);
    TRect sortRect = t;
    const int pos = Column->Field() ? PosInSortField(Column->FieldName()) : 0;
    const int sw = rGlyphs.SortWidth(FScaleRatio);
    const bool showSort = pos >= 1 && UseScale(FOptionsEx2.FixedCell.TitleTextMinWidth) < t.Width() - sw - 2;
    if (showSort) {
        sortRect.Right = t.Right - 1;
        sortRect.Left = sortRect.Right - sw - 2;
        t.Right = sortRect.Right - sw - 4;
    }
    // 5-7. Title buttons and image at the left.
    bool showImage = false;
    ReserveTitleImages(Column, t, showImage);
    // The title text, wrapped over TitleLines lines.
    c->Font()->Assign(*Column->Title()->Font());
    ApplyGroupTitleFont(Column, c->Font());
    c->Brush()->SetStyle(bsClear);
    TRect tr = Rect(t.Left + 2, t.Top + 1, t.Right - 2, t.Bottom - 1);
    const QString title = DrawTitleTextAlign(tr, GetTitleText(Column), Column->Title()->Alignment(), Column);
    DrawTitleImages(Column, tr, showImage, title);
    // 9. The sort glyph and its order marks, then the filter and group decorations.
    if (showSort) {
        const bool desc = CanSort() ? GetSortDirection(Column->FieldName()) : FSortDesc;
        DrawSortGlyph(sortRect, pos, desc);
    }
    // The band finds its own place under the title line and the filter bar.
    DrawFieldGroupBand(ACol, ARect, Column);
    DrawTitleDecorations(ACol, ARect, Column, AState);
    c->Brush()->SetStyle(bsSolid);
}

// A title's text in the canvas font: the window's say on text, rotation and
// font first, then wrapped over TitleLines lines. Gives the lines drawn
// ("\r\n"-separated; empty when rotated).
QString TrDBGrid::DrawTitleTextAlign(const TRect& R, QString Title, TAlignment Alignment, TColumn* Column)
{
    TCanvas* c = Canvas();
    bool rotate = FOptionsEx2.FixedCell.RotateTitleText;
    if (OnGetFixedRowState)
        OnGetFixedRowState(this, Column ? Column->Index() : -1, Column, c->Font(), Title, rotate);
    c->Brush()->SetStyle(bsClear);
    if (rotate) {
        DrawRotatedTitle(R, Title, Alignment);
        return QString();
    }
    if (FTitleLines > 1) {
        // Wrapped at the title separators, at most TitleLines lines.
        QStringList lines;
        for (int i = 0; i < FTitleLines && !Title.isEmpty(); ++i) {
            const QString rest = Title;
            const QString line = i + 1 == FTitleLines ? Title : GetLine(Title, R.Width(), false);
            if (line.isEmpty() && Title == rest) {
                lines << Title;
                Title.clear();
                break;
            }
            lines << line.trimmed();
            if (i + 1 == FTitleLines)
                Title.clear();
        }
        Title = lines.join(QStringLiteral("\r\n"));
    }
    const unsigned f = GetCellAlignment(Alignment, taVerticalCenter, FTitleLines <= 1) | DT_END_ELLIPSIS;
    DrawTextAligned(R, Title, nullptr, FTitleLines > 1, QString(), taVerticalCenter, f);
    return Title;
}

void TrDBGrid::DrawSortGlyph(const TRect& R, int Position, bool Descending)
{
    TCanvas* c = Canvas();
    if (TBitmap* b = rGlyphs.BmpFromIndex(TrGlyphsRec::SortIndex(Descending), FScaleRatio, FCustomGlyphs)) {
        TempBmp->Assign(b);
        DrawBMPInCell(R, TempBmp.get());
    }
    // The second and later sort fields show their place as small marks.
    const int sw = rGlyphs.SortWidth(FScaleRatio);
    const TColor saved = c->Brush()->Color();
    const TBrushStyle savedStyle = c->Brush()->Style();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(c->Font()->Color());
    const int top = (R.Height() - sw) / 2 + R.Top - 1;
    for (int i = 0; i < Position - 1; ++i) {
        const int right = R.Right - 2 - 3 * i - sw - 1;
        c->FillRect(Rect(right - 2, top, right, top + 2));
    }
    c->Brush()->SetColor(saved);
    c->Brush()->SetStyle(savedStyle);
}

// ---- title clicks ------------------------------------------------------------------

void TrDBGrid::TitleClick(TColumn* Column)
{
    TDBGrid::TitleClick(Column);
    if (!Column || !Column->Field() || !FOptionsEx2.FixedCell.TitleBtn || !IsActive())
        return;
    const QString f = Column->FieldName().toUpper();
    const bool inSort = PosInSortField(f) > 0;
    QString fields = f;
    // Ctrl takes a sorted field out of the sort and keeps the others.
    const bool remove = inSort && (FMouseShift & ssCtrl);
    if ((FMouseShift & ssShift) || remove) {
        fields = FSortFieldName;
        if (!inSort)
            AddToSepList(fields, f, QStringLiteral(","));
    }
    if (FSorter || OnChangeSortEx) {
        QString dirs = inSort ? ChangeSortDirection(f) : FSortDirections;
        // A plain click on one of several sort fields sorts by it alone, turned round.
        if (inSort && !(FMouseShift & ssShift) && !remove)
            dirs = GetSortDirection(f) ? QStringLiteral("A") : QStringLiteral("D");
        CheckFormatSortDirection(fields, dirs, remove ? f : QString());
        ChangeSortEx(fields, dirs);
    } else {
        ChangeSort(fields, inSort ? !FSortDesc : FSortDesc);
    }
}
