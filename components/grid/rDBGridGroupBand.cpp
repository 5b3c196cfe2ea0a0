// The field-group band under the titles: a collapse button on every master,
// the group lines across the members or one merged header over the group,
// the group colour of the title texts, and the presses on the band.

#include "components/grid/rDBGrid.h"

#include "platform/database/Fields.h"
#include "platform/ui/Themes.h"

#include <algorithm>
#include <cmath>

namespace {

// The group's line colour, else the colour of the title text beside it.
TColor LineColorOf(const TGroupInfo& Info, TColor FontColor)
{
    return Info.GroupLineColor != clNone ? Info.GroupLineColor : FontColor;
}

// A grey made lighter (Delta > 0) or darker on a 240-step luminance scale.
TColor Luminance(TColor C, int Delta)
{
    const TColor rgb = ColorToRGB(C) & 0xFFFFFF;
    auto part = [&](int shift) { return std::clamp(int((rgb >> shift) & 0xFF) + Delta * 255 / 240, 0, 255) << shift; };
    return TColor(part(0) | part(8) | part(16));
}

bool SameGroup(const TGroupInfo& A, const TGroupInfo& B)
{
    return A.IsGrouped && B.IsGrouped && A.GroupID == B.GroupID;
}

}  // namespace

int TrDBGrid::GroupBandTop(const TRect& TitleCell) const
{
    // The band lies directly above the title text, below whatever bands the
    // title stacks above it (title line, filter bar).
    return TitleRectToTextRect(TitleCell).Top - GroupHeight();
}

TPoint TrDBGrid::GetGroupBtnRect(TRect& RCell) const
{
    const TOptionsGroups& g = FOptionsEx2.Groups;
    if (!g.Active) {
        RCell = TRect();
        return TPoint();
    }
    const int s = int(std::lround(g.CollapseBtnSize * FScaleRatio));
    const int h = GroupHeight();
    RCell.Top = GroupBandTop(RCell);
    RCell.Bottom = RCell.Top + h;
    TPoint centre;
    if (g.ShowMergedCell)
        centre = TPoint(RCell.Left + (s + h) / 2, RCell.Top + (RCell.Bottom - RCell.Top - 1) / 2);
    else
        centre = TPoint(RCell.Left + (RCell.Right - RCell.Left) / 2, RCell.Top + (RCell.Bottom - RCell.Top) / 2);
    RCell.Left = centre.X - s / 2;
    RCell.Top = centre.Y - s / 2;
    RCell.Right = RCell.Left + s + 1;
    RCell.Bottom = RCell.Top + s + 1;
    return centre;
}

bool TrDBGrid::PointInGroupBtnRect(const TRect& RCell, const TPoint& Point, int ColIdx, TGroupInfo& GroupInfo)
{
    if (!FOptionsEx2.Groups.Active)
        return false;
    GroupInfo = GetColGroupInfo(ColIdx, false);
    if (!GroupInfo.IsGrouped || !GroupInfo.IsMaster || !FOptionsEx2.Groups.CanExpand)
        return false;
    TRect r = RCell;
    GetGroupBtnRect(r);
    r.Inflate(2, 2);
    return r.Contains(Point);
}

bool TrDBGrid::PointInGroupMergedCell(const TRect& RCell, const TPoint& Point, int ColIdx, TGroupInfo& GroupInfo)
{
    if (!FOptionsEx2.Groups.Active || !FOptionsEx2.Groups.ShowMergedCell)
        return false;
    GroupInfo = GetColGroupInfo(ColIdx, false);
    if (!GroupInfo.IsGrouped)
        return false;
    TRect r = RCell;
    r.Top = GroupBandTop(r);
    r.Bottom = r.Top + GroupHeight();
    r = Rect(r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1);
    return r.Contains(Point);
}

bool TrDBGrid::GroupBandElement(int ACol, int X, int Y, bool Act)
{
    if (!FOptionsEx2.Groups.Active || ACol < IndicatorOffset())
        return false;
    // The whole title cell: the band's place below the title line and the
    // filter bar is reckoned from the cell's top, as when it is painted.
    const TRect cell = CellRect(ACol, TitleRow());
    TGroupInfo info;
    if (PointInGroupBtnRect(cell, TPoint(X, Y), ACol, info)) {
        if (Act)
            IntExpandCollapseGroup(info.GroupID, !IsGroupMasterExpanded(ACol));
        return true;
    }
    if (PointInGroupMergedCell(cell, TPoint(X, Y), ACol, info)) {
        if (Act && OnTitleMergedCellClick)
            OnTitleMergedCellClick(this, ACol, ColumnAt(ACol));
        return true;
    }
    return false;
}

void TrDBGrid::ApplyGroupTitleFont(TColumn* Column, TFont* AFont)
{
    const TOptionsGroups& g = FOptionsEx2.Groups;
    if (!Column || !(g.Active || g.AlwaysUseGroupColors))
        return;
    const TGroupInfo info = GetFldGroupInfo(Column->Field(), g.AlwaysUseGroupColors);
    if (info.IsGrouped && info.TitleFontColor != clNone)
        AFont->SetColor(info.TitleFontColor);
}

void TrDBGrid::DrawFieldGroupBand(int ACol, const TRect& CellRect, TColumn* Column)
{
    FTitleInGroup = false;
    const TOptionsGroups& g = FOptionsEx2.Groups;
    // Merged headers span several cells and their grid lines: PaintBands draws them.
    if (!g.Active || g.ShowMergedCell || !Column || GroupHeight() <= 0)
        return;
    const TGroupInfo info = GetColGroupInfo(ACol, false);
    if (!info.IsGrouped)
        return;
    TCanvas* c = Canvas();
    const TColor colour = LineColorOf(info, c->Font()->Color());
    const int width = std::max(1, UseScale(g.GroupLineWidth));
    TRect button = CellRect;
    const TPoint centre = GetGroupBtnRect(button);
    const bool expanded = !info.IsMaster || IsGroupMasterExpanded(ACol);
    const bool groupGoesOn = SameGroup(info, GetColGroupInfo(ACol + 1, false));
    c->Pen()->SetColor(colour);
    c->Pen()->SetWidth(width);
    if (info.IsMaster) {
        DrawGroupButton(CellRect, expanded, colour);
        c->Pen()->SetWidth(width);
        // An open group's line runs from the button to the members.
        if (expanded) {
            c->MoveTo(button.Right, centre.Y);
            c->LineTo(CellRect.Right, centre.Y);
            FTitleInGroup = true;
        }
    } else if (groupGoesOn) {
        c->MoveTo(CellRect.Left, centre.Y);
        c->LineTo(CellRect.Right, centre.Y);
        FTitleInGroup = true;
    } else {
        // The last member: to the middle, then down to where a button would end.
        c->MoveTo(CellRect.Left, centre.Y);
        c->LineTo(centre.X, centre.Y);
        c->LineTo(centre.X, button.Bottom);
    }
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
}

void TrDBGrid::DrawGroupButton(const TRect& CellRect, bool Expanded, TColor Color)
{
    // Always a frame on a master; "-" inside while the group is open and "+"
    // while it is collapsed, only where groups can be opened and closed.
    TCanvas* c = Canvas();
    TRect b = CellRect;
    const TPoint centre = GetGroupBtnRect(b);
    const int width = std::max(1, UseScale(FOptionsEx2.Groups.GroupLineWidth));
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(Color);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clWindow);
    c->Rectangle(b);
    if (!FOptionsEx2.Groups.CanExpand)
        return;
    c->Pen()->SetWidth(width);
    const int inset = width < 2 ? 2 : width + 2, from = (width - 1) / 2 + 2;
    c->MoveTo(b.Left + from, centre.Y);
    c->LineTo(b.Right - inset, centre.Y);
    if (!Expanded) {
        c->MoveTo(centre.X, b.Top + from);
        c->LineTo(centre.X, b.Bottom - inset);
    }
    c->Pen()->SetWidth(1);
}

void TrDBGrid::DrawMergedGroupHeaders()
{
    const TOptionsGroups& g = FOptionsEx2.Groups;
    if (!g.Active || !g.ShowMergedCell || GroupHeight() <= 0 || !(Options() & dgTitles) || !IsDatasetLinked())
        return;
    TCanvas* c = Canvas();
    const int saved = c->SaveDC();
    const TRect indicator = CellRect(0, 0);
    const int dataLeft = IndicatorOffset() > 0 && !indicator.IsEmpty() ? indicator.Right + GridLineWidth() : 0;
    c->IntersectClipRect(Rect(dataLeft, 0, GridClientRect().Right, TitleRowHeight()));
    int k = IndicatorOffset();
    while (k < ColCount()) {
        const TGroupInfo info = GetColGroupInfo(k, false);
        int last = k;
        while (info.IsGrouped && last + 1 < ColCount() && SameGroup(info, GetColGroupInfo(last + 1, false)))
            ++last;
        if (info.IsGrouped)
            DrawMergedHeader(k, last, info);
        k = last + 1;
    }
    c->RestoreDC(saved);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
}

void TrDBGrid::DrawMergedHeader(int First, int Last, const TGroupInfo& Info)
{
    // Where the run stands, counting members scrolled out of sight.
    int left = 0, right = 0;
    bool seen = false;
    int pending = 0;
    for (int k = First; k <= Last; ++k) {
        const TRect r = CellRect(k, 0);
        if (r.IsEmpty()) {
            pending += ColWidths(k) + GridLineWidth();
            continue;
        }
        if (!seen)
            left = r.Left - pending;
        seen = true;
        pending = 0;
        right = r.Right;
    }
    if (!seen)
        return;
    right += pending;
    const TRect title = CellRect(First, 0).IsEmpty() ? CellRect(Last, 0) : CellRect(First, 0);
    TRect band = Rect(left, GroupBandTop(title), right, 0);
    band.Bottom = band.Top + GroupHeight() - 1;  // the last pixel row holds the separator
    TColumn* master = ColumnAt(First);
    TCanvas* c = Canvas();
    c->Font()->Assign(master ? *master->Title()->Font() : *TitleFont());
    if (Info.TitleFontColor != clNone)
        c->Font()->SetColor(Info.TitleFontColor);
    DrawMergedBackground(band);
    const bool button = FOptionsEx2.Groups.CanExpand && Info.IsMaster;
    TRect text = Rect(band.Left + 2, band.Top, band.Right - 2, band.Bottom - 1);
    if (button)
        text.Left += int(std::lround(FOptionsEx2.Groups.CollapseBtnSize * FScaleRatio)) + GroupHeight() / 2;
    // A header without a title of its own names the group while it spans or is open.
    const bool expanded = Info.IsMaster ? IsGroupMasterExpanded(First) : true;
    QString caption = Info.MergedCellTitle;
    if (caption.isEmpty() && (Last > First || expanded))
        caption = Info.GroupCollapsedTitle;
    if (!caption.isEmpty()) {
        c->Brush()->SetStyle(bsClear);
        c->DrawText(caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (button)
        DrawGroupButton(Rect(band.Left, title.Top, band.Right, title.Bottom), expanded, LineColorOf(Info, c->Font()->Color()));
}

// The merged header's background in the grid's drawing style, closed by two
// separator lines (the classic style has none: its raised edges close it).
void TrDBGrid::DrawMergedBackground(const TRect& R)
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    const grids::TGridDrawingStyle style = DrawingStyle();
    if (style == grids::gdsClassic) {
        c->Brush()->SetColor(FixedColor());
        c->FillRect(R);
        TRect edges = R;
        DrawEdge(c, edges, BDR_RAISEDINNER, BF_RECT);
        return;
    }
    if (style == grids::gdsGradient)
        c->GradientFill(R, GradientStartColor, GradientEndColor, gdVertical);
    else
        DrawThemedHeaderSection(c, R, tsNormal);
    const TColor first = TColor(0xF0F0F0), second = Luminance(first, -45);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(first);
    c->MoveTo(R.Left, R.Bottom - 1);
    c->LineTo(R.Right, R.Bottom - 1);
    c->Pen()->SetColor(second);
    c->MoveTo(R.Left, R.Bottom);
    c->LineTo(R.Right, R.Bottom);
}
