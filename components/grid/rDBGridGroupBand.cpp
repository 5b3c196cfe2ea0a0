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

TPoint TrDBGrid::GetGroupBtnRect(TRect& RCell) const
{
    const TOptionsGroups& g = FOptionsEx2.Groups;
    if (!g.Active) {
        RCell = TRect();
        return TPoint();
    }
    const int s = int(std::lround(g.CollapseBtnSize * FScaleRatio));
    const int h = GroupHeight();
    RCell.Top += FOptionsEx2.Filters.TextBarTopHeight();
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
    r.Top += FOptionsEx2.Filters.TextBarTopHeight();
    r.Bottom = r.Top + GroupHeight();
    r = Rect(r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1);
    return r.Contains(Point);
}

bool TrDBGrid::GroupBandMouseDown(int ACol, int X, int Y)
{
    if (!FOptionsEx2.Groups.Active || ACol < IndicatorOffset())
        return false;
    const TRect cell = CellRect(ACol, TitleRow());
    TGroupInfo info;
    if (PointInGroupBtnRect(cell, TPoint(X, Y), ACol, info)) {
        IntExpandCollapseGroup(info.GroupID, !IsGroupMasterExpanded(ACol));
        return true;
    }
    if (PointInGroupMergedCell(cell, TPoint(X, Y), ACol, info)) {
        if (OnTitleMergedCellClick)
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
    if (!g.Active || !Column || GroupHeight() <= 0)
        return;
    const TGroupInfo info = GetColGroupInfo(ACol, false);
    if (!info.IsGrouped)
        return;
    TCanvas* c = Canvas();
    TRect band = CellRect;
    band.Top += FOptionsEx2.Filters.TextBarTopHeight();
    band.Bottom = band.Top + GroupHeight();
    const bool expanded = info.IsMaster ? IsGroupMasterExpanded(ACol) : true;
    const bool groupGoesOn = SameGroup(info, GetColGroupInfo(ACol + 1, false));
    const TColor line = LineColorOf(info);
    const int lw = std::max(1, UseScale(g.GroupLineWidth));
    c->Pen()->SetColor(line);
    c->Pen()->SetWidth(lw);
    if (g.ShowMergedCell) {
        // The merged header spans the whole group; each cell draws its share.
        int first = ACol, last = ACol;
        while (first - 1 >= IndicatorOffset() && SameGroup(info, GetColGroupInfo(first - 1, false)))
            --first;
        while (last + 1 < ColCount() && SameGroup(info, GetColGroupInfo(last + 1, false)))
            ++last;
        TRect whole = band;
        for (int k = first; k < ACol; ++k)
            whole.Left -= ColWidths(k) + GridLineWidth();
        for (int k = ACol + 1; k <= last; ++k)
            whole.Right += ColWidths(k) + GridLineWidth();
        const int saved = c->SaveDC();
        c->IntersectClipRect(band);
        c->MoveTo(whole.Left + 1, whole.Bottom - 1);
        c->LineTo(whole.Right - 1, whole.Bottom - 1);
        TRect text = Rect(whole.Left + 2, whole.Top, whole.Right - 2, whole.Bottom - 1);
        if (g.CanExpand && ACol == first && info.IsMaster)
            text.Left += int(std::lround(g.CollapseBtnSize * FScaleRatio)) + GroupHeight() / 2;
        if (!info.MergedCellTitle.isEmpty()) {
            c->Font()->Assign(*Column->Title()->Font());
            if (info.TitleFontColor != clNone)
                c->Font()->SetColor(info.TitleFontColor);
            c->Brush()->SetStyle(bsClear);
            c->DrawText(info.MergedCellTitle, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        c->RestoreDC(saved);
    } else {
        const int y = band.Top + band.Height() / 2;
        const int from = info.IsMaster ? band.Left + band.Width() / 2 : band.Left;
        const int to = groupGoesOn ? band.Right : band.Right - 4;
        if (!info.IsMaster || expanded) {
            c->MoveTo(from, y);
            c->LineTo(to, y);
            if (!groupGoesOn) {
                c->MoveTo(to, y);
                c->LineTo(to, band.Bottom);
            }
        }
    }
    if (info.IsMaster && g.CanExpand) {
        // The button: "-" while the group is open, "+" while it is collapsed.
        TRect b = CellRect;
        const TPoint centre = GetGroupBtnRect(b);
        c->Pen()->SetWidth(1);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clWindow);
        c->Rectangle(b);
        const int arm = std::max(2, b.Width() / 2 - 2);
        c->MoveTo(centre.X - arm, centre.Y);
        c->LineTo(centre.X + arm + 1, centre.Y);
        if (!expanded) {
            c->MoveTo(centre.X, centre.Y - arm);
            c->LineTo(centre.X, centre.Y + arm + 1);
        }
    }
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
}
