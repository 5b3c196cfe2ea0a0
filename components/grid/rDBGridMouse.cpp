// The grid's mouse gestures: presses and releases on the titles, the top-left
// cell, the fixed column and the footer; link and check-box clicks; double
// clicks (check boxes, the editor, column widths at a title border); the
// hot-track row, the link cursor and the hints of cells and titles.

#include "components/grid/rDBGrid.h"

#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "components/grid/rDBGridTexts.h"

#include "components/base/rtool.h"
#include "platform/database/Fields.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/ImgList.h"

#include <cstdlib>
#include <utility>

TGridCoord TrDBGrid::MouseCoordEx(int X, int Y) const
{
    TGridCoord c = MouseCoord(X, Y);
    if (c.Y >= 0 || !FFooterRow.FooterVisible())
        return c;
    const TRect f = FFooterRow.FooterRect();
    if (Y < f.Top || Y >= f.Bottom)
        return c;
    c.Y = -2;
    for (int col = 0; col < ColCount(); ++col) {
        const TRect r = FFooterRow.FooterCellRect(col);
        if (r.Width() > 0 && X >= r.Left && X < r.Right) {
            c.X = col;
            break;
        }
    }
    return c;
}

void TrDBGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // A press on the grid closes an open filter box, as a press on any other control would.
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this))
        for (TrComboBoxExFilter* box : {bar->FilterCombo(), bar->FilterPanelCombo()})
            if (box && box->Visible())
                box->CancelMode(this);
    // 1.
    FMouseShift = Shift;
    isPushing = false;
    FBarPressed = false;
    FGroupBandPressed = false;
    FMouseDownCoord = MouseCoordEx(X, Y);
    const TGridCoord c = FMouseDownCoord;
    // 2. The filter bar, funnels, filter panel and group band take their own
    // presses (no sort, no column drag) and act on the release.
    const TOptionsFilters& fo = FOptionsEx2.Filters;
    if (!(Shift & ssDouble) && (fo.TextBar || fo.FunnelBtn || fo.FilterPanel) && TrDBGridFilterBar::Of(this)->MouseDown(X, Y)) {
        FBarPressed = Button == mbLeft;
        return;
    }
    if (c.Y == TitleRow() && GroupBandElement(c.X, X, Y, false)) {
        FGroupBandPressed = Button == mbLeft && !(Shift & ssDouble);
        return;
    }
    // 5. A double click at a title border sizes the column before it (the
    // one on the left, or on the right in a mirrored grid).
    if ((Shift & ssDouble) && Button == mbLeft && c.Y == TitleRow() && c.X > FixCol()) {
        const TRect r = CellRect(c.X, c.Y);
        const bool rtl = UseRightToLeftAlignment();
        int col = -1;
        if (X >= r.Right - 3)
            col = rtl ? c.X - 1 : c.X;
        else if (X <= r.Left + 3)
            col = rtl ? c.X : c.X - 1;
        if (col > FixCol() && col >= IndicatorOffset()) {
            if (TColumn* column = ColumnAt(col))
                SetOneColumnWidth(ColumnWidthAfterDblClick, column, 0);
            return;
        }
    }
    // 2. A press on the title line or a title button is theirs (no sort, no column drag).
    int button = -1;
    if (Button == mbLeft && c.Y == TitleRow() && c.X > FixCol() &&
        (Y < FTitleLineText.SumHeight() || PointInTitleButtonsRect(c.X, CellRect(c.X, c.Y), button, TPoint(X, Y))))
        return;
    // 3. A press beside the cells only writes what is being typed.
    const bool focused = Focused() || (EditorMode() && GetInplaceEditor() && GetInplaceEditor()->Focused());
    if (c.X < 0 && c.Y < 0 && focused && !(Shift & ssDouble) && !OnSizingBorder(X, Y)) {
        UpdateText();
        if (DataLink()->Editing())
            DataLink()->UpdateRecord();
        return;
    }
    TDBGrid::MouseDown(Button, Shift, X, Y);
    // 4. Pressable fixed cells.
    if (Button == mbLeft && !(Shift & ssDouble)) {
        const bool topLeft = c.X == std::max(0, FixCol()) && c.Y == TitleRow() && FixCol() >= 0;
        if (topLeft && FOptionsEx2.FixedCell.TitleExBtn)
            isPushing = true;
        else if (c.Y == TitleRow() && c.X > FixCol() && FOptionsEx2.FixedCell.TitleBtn)
            isPushing = true;
        else if (c.X == FixCol() && c.X >= 0 && c.Y > TitleRow() && FixedColClickOn())
            isPushing = true;
        // A drag over the data scrolls it (the hand moves the rows).
        isDataScrolling = FOptionsEx2.Appearance.DragToScrollData && !isPushing && c.Y > TitleRow() && c.X > FixCol();
        FDataScrollRow = c.Y;
        if (FOptionsEx2.Appearance.DragCell && c.Y > TitleRow() && c.X > FixCol())
            BeginDrag(false);
    }
}

bool TrDBGrid::OnSizingBorder(int X, int Y) const
{
    TGridState state = gsNormal;
    int index = 0, pos = 0, ofs = 0;
    CalcSizingState(X, Y, state, index, pos, ofs);
    return state != gsNormal;
}

void TrDBGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridCoord u = MouseCoordEx(X, Y);
    const bool sameCell = u.X == FMouseDownCoord.X && u.Y == FMouseDownCoord.Y;
    const bool colSizing = GridState() == gsColSizing;
    isDataScrolling = false;
    // 3. A decoration that took the press acts when the left button comes
    // up on the same cell.
    const bool barPressed = std::exchange(FBarPressed, false);
    const bool bandPressed = std::exchange(FGroupBandPressed, false);
    if (Button == mbLeft && sameCell && barPressed && TrDBGridFilterBar::Of(this)->MouseUp(X, Y))
        return;
    if (Button == mbLeft && sameCell && bandPressed && u.Y == TitleRow() && GroupBandElement(u.X, X, Y, true))
        return;
    // 3. A title button.
    int button = -1;
    if (Button == mbLeft && sameCell && u.Y == TitleRow() && u.X > FixCol() &&
        PointInTitleButtonsRect(u.X, CellRect(u.X, u.Y), button, TPoint(X, Y))) {
        TColumn* column = ColumnAt(u.X);
        if (button >= 0 && OnTitleButtonClick && column)
            OnTitleButtonClick(this, DataSet(), column, column->Field(), button);
        return;
    }
    // 3. The footer row.
    if (Button == mbLeft && sameCell && u.Y == -2 && OnFooterCellClick) {
        const int dataCol = u.X >= IndicatorOffset() ? RawToDataColumn(u.X) : -1;
        OnFooterCellClick(this, u.X, dataCol >= 0 && dataCol < Columns()->Count() ? Columns()->Items(dataCol) : nullptr);
    }
    // 4. The platform release (title and cell clicks).
    TDBGrid::MouseUp(Button, Shift, X, Y);
    // 2. A first column sized wider than the grid comes back within reach of its border.
    if (colSizing) {
        const int first = IndicatorOffset();
        const int dataCol = first < ColCount() ? RawToDataColumn(first) : -1;
        const int indicator = first > 0 ? ColWidths(0) + LineWidthH() : 0;
        const int room = ClientWidth() - indicator;
        if (dataCol >= 0 && dataCol < Columns()->Count() && ColWidths(first) > room)
            Columns()->Items(dataCol)->SetWidth(std::max(16, std::min(X - indicator, room - LineWidthH() - 4)));
    }
    // 6. The top-left cell and the fixed column.
    if (isPushing) {
        isPushing = false;
        if (sameCell && FixCol() >= 0 && u.X == FixCol() && u.Y == TitleRow()) {
            TitleExClick(Button, Shift);
        } else if (sameCell && FixCol() >= 0 && u.X == FixCol() && u.Y > TitleRow() && OnFixColClick) {
            OnFixColClick(this);
        }
    }
    // 7. A cell drag that never left its threshold ends here.
    if (FOptionsEx2.Appearance.DragCell)
        EndDrag(false);
}

void TrDBGrid::TitleExClick(TMouseButton, TShiftState)
{
    if (OnTitleExClick) {
        OnTitleExClick(this);
        return;
    }
    // The record-count hint shows at once, not after the hint pause, and
    // only on a grid that shows hints at all.
    if (!ShowHint() || (Application && !Application->ShowHint))
        return;
    ShowHintRecCount = true;
    QString text;
    bool show = false;
    DoHintShow(FixCol(), TitleRow(), text, show);
    if (!show)
        return;
    if (!FRecCountHint)
        FRecCountHint = new THintWindow(this);
    TRect r = FRecCountHint->CalcHintRect(400, text);
    const TRect cell = CellRect(FixCol(), TitleRow());
    const TPoint at = ClientToScreen(TPoint(cell.Left, cell.Bottom));
    r = Rect(at.X, at.Y, at.X + r.Width(), at.Y + r.Height());
    FRecCountHint->ActivateHint(r, text);
}

void TrDBGrid::HideRecCountHint()
{
    if (FRecCountHint && FRecCountHint->Showing())
        FRecCountHint->ReleaseHandle();
}

void TrDBGrid::FixedCellClick(int ACol, int ARow)
{
    // Titles sort only after a press that pushed them (TitleBtn on).
    if (ARow == TitleRow() && ACol > FixCol() && !isPushing)
        return;
    TDBGrid::FixedCellClick(ACol, ARow);
}

void TrDBGrid::CellClick(int ACol, int ARow, TMouseButton Button, TShiftState Shift)
{
    TDBGrid::CellClick(ACol, ARow, Button, Shift);
    CellClickActions(ACol, Button);
    if (FOptionsEx2.Appearance.DragCell)
        BeginDrag(false);
}

bool TrDBGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    // An open list of the editor takes the wheel: a line per started notch.
    TrDBGridInplaceEditEx* ed = GetInplaceEditor();
    TWinControl* list = ed && ed->ListVisible() ? ed->ActiveList() : nullptr;
    if (!list || WheelDelta == 0)
        return TDBGrid::DoMouseWheel(Shift, WheelDelta, MousePos);
    const int lines = (std::abs(WheelDelta) + 119) / 120;
    for (int i = 0; i < lines; ++i) {
        Word key = WheelDelta > 0 ? VK_UP : VK_DOWN;
        list->KeyDown(key, 0);
    }
    return true;
}

void TrDBGrid::CellClickActions(int ACol, TMouseButton Button)
{
    TColumn* column = ColumnAt(ACol);
    TField* f = column ? column->Field() : nullptr;
    if (!f || Button != mbLeft)
        return;
    // 1. Links.
    if (isLink && IsLinkEx(f)) {
        const QString type = FieldsAsLink.Values(f->FieldName());
        if (type != QLatin1String("http://") && type != QLatin1String("mailto:")) {
            if (OnLinkClick)
                OnLinkClick(this, DataSet(), column, f, f->AsVariant());
        } else if (!f->AsString().isEmpty()) {
            const QString text = f->AsString();
            RunFileSimple(text.contains(type, Qt::CaseInsensitive) ? text : type + text);
        }
    }
    // 2. One-click check boxes.
    if (FMouseDownCoord.X > FixCol() && FMouseDownCoord.Y > TitleRow() && IsBoolEx(f) && FOptionsEx2.Editors.BoolOneClickChange)
        ChangeBool(false, false);
}

void TrDBGrid::DblClick()
{
    // NotProcDblClick leaves double clicks to the window alone.
    if (!IsActive() || FOptionsEx2.Editors.NotProcDblClick) {
        TDBGrid::DblClick();
        return;
    }
    const TGridCoord c = FMouseDownCoord;
    // A double click on the titles only sizes columns (see MouseDown).
    if (c.Y == TitleRow())
        return;
    bool handled = false;
    const bool dataCell = c.X > FixCol() && c.Y > TitleRow();
    TField* f = dataCell && ColumnAt(c.X) ? ColumnAt(c.X)->Field() : nullptr;
    if (f && IsBoolEx(f) && !FOptionsEx2.Editors.BoolOneClickChange) {
        handled = ChangeBool(false, false);
    } else if (f && IsGraphicEx(f) && !FOptionsEx2.Editors.NotProcGraphicDblClick) {
        ShowGraphic(f);
        handled = true;
    } else if (f && IsMemoEx(f, true) && !FOptionsEx2.Editors.NotProcMemoDblClick) {
        ShowMemo(f);
        handled = true;
    }
    if (handled)
        return;
    TDBGrid::DblClick();
    if (dataCell && ColumnAt(c.X) && !IsColumnReadOnly(ColumnAt(c.X)) && !CheckDropDownEdit())
        ShowEditor();
}

void TrDBGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    TDBGrid::MouseMove(Shift, X, Y);
    const TGridCoord c = MouseCoordEx(X, Y);
    FMMovePoint = TPoint(X, Y);
    if (c.X != FixCol() || c.Y != TitleRow())
        HideRecCountHint();
    DataScrollMove(c.Y);
    // The parts of a cell with hints of their own: a new one asks the hint again.
    if (UpdateHoverParts(c, X, Y))
        RefreshCellHint(X, Y);
    SetMouseOverRow(c.Y > TitleRow() ? c.Y : -1);
    // 8. The hand cursor over the clickable part of a link cell.
    // The base grid has shown its own Cursor (or a sizing one); over a link the hand.
    isLink = PointOnLink(c, X, Y);
    if (isLink)
        ShowCursorShape(crHandPoint);
}

bool TrDBGrid::PointOnLink(const TGridCoord& C, int X, int Y)
{
    if (C.X <= FixCol() || C.Y <= TitleRow() || !IsNotEmpty())
        return false;
    TColumn* column = ColumnAt(C.X);
    if (!column || !IsLinkEx(column->Field()))
        return false;
    // The cell shrunk by 3 pixels and moved 2 down.
    const TRect cell = CellRect(C.X, C.Y);
    const TRect r(cell.Left + 3, cell.Top + 5, cell.Right - 3, cell.Bottom - 1);
    if (X < r.Left || X >= r.Right || Y < r.Top || Y >= r.Bottom)
        return false;
    const QString section = QLatin1Char('[') + column->Field()->FieldName() + QLatin1Char(']');
    if (DataImages.IndexOf(section) >= 0) {
        // The image is drawn centred, as wide as the image list's images.
        const int w = FDataImageList ? FDataImageList->Width() : 0;
        const int left = r.Left + (r.Width() - w) / 2;
        return X >= left && X < left + w;
    }
    TColumn* hinted = nullptr;
    QString text;
    bool force = false;
    CellHintAt(C, hinted, text, force);
    if (text.isEmpty())
        return false;
    const int w = GetLineWidth(text, column->Font());
    int left = r.Left;
    if (column->Alignment() == taRightJustify)
        left = r.Right - w;
    else if (column->Alignment() == taCenter)
        left = r.Left + (r.Width() - w) / 2;
    return X >= left && X <= left + w;
}

bool TrDBGrid::UpdateHoverParts(const TGridCoord& C, int X, int Y)
{
    const TPoint p(X, Y);
    auto inside = [&p](const TRect& R) { return p.X >= R.Left && p.X < R.Right && p.Y >= R.Top && p.Y < R.Bottom; };
    int button = -1, panelButton = -1;
    TField* merged = nullptr;
    bool exFilter = false, panelFix = false;
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this);
    const TOptionsFilters& fo = FOptionsEx2.Filters;
    if (C.Y == TitleRow() && C.X > FixCol()) {
        const TRect cell = CellRect(C.X, C.Y);
        PointInTitleButtonsRect(C.X, cell, button, p);
        TGroupInfo info;
        if (FOptionsEx2.Groups.Active && FOptionsEx2.Groups.ShowMergedCell && PointInGroupMergedCell(cell, p, C.X, info))
            merged = ColumnAt(C.X) ? ColumnAt(C.X)->Field() : nullptr;
    } else if (bar && fo.TextBar && C.X == FixCol() && C.X >= 0 && C.Y == TitleRow()) {
        exFilter = inside(bar->FilterComboRect(CellRect(C.X, C.Y), false));
    }
    if (bar && fo.FilterPanel && inside(bar->FilterPanelRect())) {
        panelFix = IndicatorOffset() && p.X < bar->FilterPanelRect().Left + ColWidths(0);
        for (int i = 0; i < int(fo.FilterPanelButtonIndexes().size()) && panelButton < 0; ++i)
            if (inside(bar->FilterPanelButtonRect(i)))
                panelButton = i;
    }
    const bool changed = !(C == FMMoveCoord) || button != FMMoveTitleBtnIndex || merged != FMMoveTitleMergeCellField ||
                         exFilter != FMMoveTitleExFilterBtn || panelFix != FMMoveFilterPanelFixBtn ||
                         panelButton != FMMoveFilterPanelBtnIndex;
    FMMoveCoord = C;
    FMMoveTitleBtnIndex = button;
    FMMoveTitleMergeCellField = merged;
    FMMoveTitleExFilterBtn = exFilter;
    FMMoveFilterPanelFixBtn = panelFix;
    FMMoveFilterPanelBtnIndex = panelButton;
    return changed;
}

bool TrDBGrid::CanHotTrack(int ACol, int ARow) const
{
    if (TDBGrid::CanHotTrack(ACol, ARow))
        return true;
    // The fixed column's cells and the top-left cell are buttons when their options say so.
    if (ACol != FixCol() || ACol < 0)
        return false;
    return ARow == TitleRow() ? FOptionsEx2.FixedCell.TitleExBtn : ARow > TitleRow() && FixedColClickOn();
}

void TrDBGrid::MouseLeave()
{
    HideRecCountHint();
    // A link cell left behind must not keep the hand over the rest of the grid.
    ShowCursorShape(Cursor());
    isLink = false;
    SetMouseOverRow(-1);
    InvalidateHotTrackCell();
    ResetHotTrackCell();
    TDBGrid::MouseLeave();
}

// ---- hints ---------------------------------------------------------------------------

void TrDBGrid::DoHintShow(int ACol, int ARow, QString& HintStr, bool& CanShow)
{
    TColumn* column = ACol > FixCol() ? ColumnAt(ACol) : nullptr;
    QString cellText;
    try {
        if (FilterAndGroupHint(ACol, ARow, column, HintStr)) {
            // 2-5. The funnel, the panel's buttons and the merged group titles.
        } else if (ACol == FixCol() && ACol >= 0 && ARow == TitleRow() && (FOptionsEx2.FixedCell.TitleExBtnHintRecCount || ShowHintRecCount)) {
            // 6. The record count (and the filter) on the top-left cell.
            if (IsActive()) {
                HintStr = QStringLiteral("Total count of records: %1").arg(DataSet()->RecordCount());
                if (IsFiltered())
                    HintStr += QStringLiteral("\rFilter condition:\r") + DataSet()->Filter().trimmed();
            }
            ShowHintRecCount = false;
        } else if (column && ARow == TitleRow() && FMMoveTitleBtnIndex >= 0) {
            // 4. A title button's own hint.
            HintStr = TitleHints.Values(column->FieldName() + QStringLiteral("_Button%1").arg(FMMoveTitleBtnIndex + 1));
        } else if (column && ARow == TitleRow()) {
            // 7. A title's own hint, else the title when it does not fit.
            cellText = GetTitleText(column);
            HintStr = TitleHints.Values(column->FieldName());
            if (HintStr.isEmpty()) {
                Canvas()->Font()->Assign(*column->Title()->Font());
                int reserved = GetTitleButtonsWidth(column->Field(), true) + GetTitleImageWidth(column->Field(), true);
                if (reserved == 0)
                    reserved = 2 * UseScale(FOptionsEx2.FixedCell.TitleImageSpace);
                if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this); bar && bar->IsFunnelButtonColumn(column->Index()))
                    reserved += rGlyphs.FilterWidth(FScaleRatio) + 2;
                if (column->Width() - 2 < Canvas()->TextWidth(cellText) + reserved)
                    HintStr = cellText;
            }
        } else if (column && ARow > TitleRow() && IsActive()) {
            // 8. A data cell's text when it is cut or always worth showing
            // (pictures, rich text, memos, long texts).
            TColumn* hinted = nullptr;
            bool forced = false;
            if (!IsPasswordEx(column->Field()))
                CellHintAt(TGridCoord{ACol, ARow}, hinted, cellText, forced);
            Canvas()->Font()->Assign(*column->Font());
            if (!cellText.isEmpty() && (forced || column->Width() - 2 < Canvas()->TextWidth(cellText)))
                HintStr = cellText;
        }
        HintStr.replace(QLatin1Char('|'), QLatin1Char('\r'));
    } catch (...) {
    }
    if (OnGetHintStringEx) {
        FillHintFieldValues(ARow);
        OnGetHintStringEx(this, column, ARow == TitleRow(), ARow == -2, FHintFieldValues, cellText, HintStr);
    }
    HintStr.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    CanShow = !HintStr.isEmpty();
    TDBGrid::DoHintShow(ACol, ARow, HintStr, CanShow);
}

bool TrDBGrid::FilterAndGroupHint(int ACol, int ARow, TColumn* Column, QString& HintStr)
{
    const TPoint p = FMMovePoint;
    auto inside = [&p](const TRect& R) { return p.X >= R.Left && p.X < R.Right && p.Y >= R.Top && p.Y < R.Bottom; };
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this);
    const TOptionsFilters& fo = FOptionsEx2.Filters;
    // 2. The funnel of a title and the panel's fixed button clear the filter.
    const TRect cell = CellRect(ACol, ARow);
    bool clearButton = false;
    if (bar && Column && ARow == TitleRow() && bar->IsFunnelButtonColumn(Column->Index()) &&
        bar->TitleReservedWidth(Column) > 0)
        clearButton = inside(bar->FunnelRect(cell));
    if (bar && fo.FilterPanel && IndicatorOffset() && inside(bar->FilterPanelRect()) &&
        p.X < bar->FilterPanelRect().Left + ColWidths(0))
        clearButton = true;
    if (clearButton) {
        HintStr = IsFiltered() ? libtxt::ClearCurrentFilter : QString();
        return true;
    }
    // 3. A merged group title.
    TGroupInfo info;
    if (Column && ARow == TitleRow() && FOptionsEx2.Groups.Active && FOptionsEx2.Groups.ShowMergedCell &&
        PointInGroupMergedCell(cell, p, ACol, info)) {
        HintStr = TitleHints.Values(Column->FieldName() + QStringLiteral("_MergedCell"));
        return true;
    }
    // 5. A button of the filter panel.
    if (bar && fo.FilterPanel)
        for (int i = 0; i < int(fo.FilterPanelButtonIndexes().size()); ++i)
            if (inside(bar->FilterPanelButtonRect(i))) {
                HintStr = TitleHints.Values(QStringLiteral("#FilterPanel#_Button%1").arg(i + 1));
                return true;
            }
    return false;
}

void TrDBGrid::FillHintFieldValues(int ARow)
{
    FHintFieldValues.Clear();
    TDataSet* ds = DataSet();
    if (!IsActive() || ARow <= TitleRow() || ARow - TitleOffset() >= DataLink()->RecordCount())
        return;
    const int saved = ds->ActiveRecordOverride();
    DataLink()->SetActiveRecord(ARow - TitleOffset());
    const QString eol = ParioCompConfig.rDBGridCfg.CellSingleLineEOLSeparator;
    for (int i = 0; i < ds->FieldCount(); ++i) {
        TField* f = ds->Fields()[i];
        try {
            QString text = IsMemoField(f) ? f->AsString() : f->DisplayText();
            text.replace(QStringLiteral("\r\n"), eol);
            FHintFieldValues.Add(f->FieldName() + QLatin1Char('=') + text);
        } catch (...) {
            // a field that cannot give its text is left out
        }
    }
    ds->SetActiveRecordOverride(saved);
}
