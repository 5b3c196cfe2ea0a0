// The field-group band under the titles: a collapse button on every master,
// the group lines across the members or one merged header over the group,
// the group colour of the title texts, and the presses on the band.

#include "components/grid/rDBGrid.h"

#include "platform/database/Fields.h"

#include <algorithm>
#include <cmath>

namespace {

TColor LineColorOf(const TGroupInfo& Info)
{
    return Info.GroupLineColor != clNone ? Info.GroupLineColor : clGrayText;
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
    const TOptionsGroups& g = FOptionsEx2.Groups;
    // Merged headers span several cells and their grid lines: PaintBands draws them.
    if (!g.Active || g.ShowMergedCell || !Column || GroupHeight() <= 0)
        return;
    const TGroupInfo info = GetColGroupInfo(ACol, false);
    if (!info.IsGrouped)
        return;
    TCanvas* c = Canvas();
    TRect band = CellRect;
    band.Top = GroupBandTop(band);
    band.Bottom = band.Top + GroupHeight();
    const bool expanded = !info.IsMaster || IsGroupMasterExpanded(ACol);
    const bool groupGoesOn = SameGroup(info, GetColGroupInfo(ACol + 1, false));
    c->Pen()->SetColor(LineColorOf(info));
    c->Pen()->SetWidth(std::max(1, UseScale(g.GroupLineWidth)));
    // The line runs from the master's button to the last member and turns down there.
    const int y = band.Top + band.Height() / 2;
    const int from = info.IsMaster ? band.Left + band.Width() / 2 : band.Left;
    const int to = groupGoesOn ? band.Right : band.Right - 4;
    if (expanded) {
        c->MoveTo(from, y);
        c->LineTo(to, y);
        if (!groupGoesOn) {
            c->MoveTo(to, y);
            c->LineTo(to, band.Bottom);
        }
    }
    if (info.IsMaster && g.CanExpand)
        DrawGroupButton(CellRect, expanded, LineColorOf(info));
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
}

void TrDBGrid::DrawGroupButton(const TRect& CellRect, bool Expanded, TColor Color)
{
    // "-" while the group is open, "+" while it is collapsed.
    TCanvas* c = Canvas();
    TRect b = CellRect;
    const TPoint centre = GetGroupBtnRect(b);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(Color);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clWindow);
    c->Rectangle(b);
    const int arm = std::max(2, b.Width() / 2 - 2);
    c->MoveTo(centre.X - arm, centre.Y);
    c->LineTo(centre.X + arm + 1, centre.Y);
    if (!Expanded) {
        c->MoveTo(centre.X, centre.Y - arm);
        c->LineTo(centre.X, centre.Y + arm + 1);
    }
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
    band.Bottom = band.Top + GroupHeight();
    TColumn* master = ColumnAt(First);
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(master ? master->Title()->Color() : FixedColor());
    c->FillRect(band);
    c->Pen()->SetColor(LineColorOf(Info));
    c->Pen()->SetWidth(std::max(1, UseScale(FOptionsEx2.Groups.GroupLineWidth)));
    c->MoveTo(band.Left + 1, band.Bottom - 1);
    c->LineTo(band.Right - 1, band.Bottom - 1);
    const bool button = FOptionsEx2.Groups.CanExpand && Info.IsMaster;
    TRect text = Rect(band.Left + 2, band.Top, band.Right - 2, band.Bottom - 1);
    if (button)
        text.Left += int(std::lround(FOptionsEx2.Groups.CollapseBtnSize * FScaleRatio)) + GroupHeight() / 2;
    if (!Info.MergedCellTitle.isEmpty()) {
        c->Font()->Assign(master ? *master->Title()->Font() : *TitleFont());
        if (Info.TitleFontColor != clNone)
            c->Font()->SetColor(Info.TitleFontColor);
        c->Brush()->SetStyle(bsClear);
        c->DrawText(Info.MergedCellTitle, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (button)
        DrawGroupButton(Rect(band.Left, title.Top, band.Right, title.Bottom), IsGroupMasterExpanded(First), LineColorOf(Info));
}
