// The grid's option objects: what a changed option makes the grid do, the
// assignment of whole option objects through their setters, and the few
// values the filter options derive from the grid.

#include "components/grid/rDBGridTypes.h"

#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridSorter.h"
#include "components/grid/rdbtool.h"

namespace {

bool IsDateColumn(TrDBGrid* G, TColumn* C)
{
    TField* f = C->Field();
    return f && (G->IsFieldAsDateEx(f) || IsDateField(f));
}

void ApplyDateTimePicker(TrDBGrid* G)
{
    const bool on = G->OptionsEx2().Editors.DateTimePicker;
    TDBGridColumns* cols = G->Columns();
    for (int i = 0; i < cols->Count(); ++i)
        if (IsDateColumn(G, cols->Items(i)))
            cols->Items(i)->ButtonStyle = on ? cbsEllipsis : cbsAuto;
}

}  // namespace

void GridOptionChanged(TrDBGrid* Grid, TOptionEffect Effect)
{
    TOptionsEx2& o = Grid->OptionsEx2();
    switch (Effect) {
    case oeNone:
        return;
    case oeRepaint:
        break;
    case oeLayout:
        Grid->LayoutChanged();
        break;
    case oeTitleClick: {
        const bool click = o.FixedCell.TitleBtn || o.FixedCell.TitleExBtn;
        Grid->SetOptions(click ? Grid->Options() | dgTitleClick : Grid->Options() & ~dgTitleClick);
        break;
    }
    case oeFixedColClick:
        Grid->ApplyFixedColClick();
        break;
    case oeDateTimePicker:
        ApplyDateTimePicker(Grid);
        break;
    case oeHideHScrollBar:
        Grid->SetScrollBars(o.Appearance.HideHScrollBar ? ssNone : ssHorizontal);
        break;
    case oeTextComboStyle:
        if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(Grid)) {
            bar->FilterCombo()->SetStyle(o.Filters.TextComboStyle);
            bar->FilterPanelCombo()->SetStyle(o.Filters.TextComboStyle);
        }
        break;
    case oeFilterPanelPadding:
        Grid->LayoutChanged();
        break;
    case oeGroupsActive:
        Grid->LayoutChanged();
        Grid->FixedGroupedCol(false, false);
        break;
    case oeFixedColParentFont:
        if (o.FixedCell.FixedColParentFont)
            o.FixedCell.TakeParentFont(*Grid->Font());
        Grid->LayoutChanged();
        break;
    }
    Grid->Invalidate();
}

// ---- assignment through the setters -------------------------------------------------

TOptionsAppearance& TOptionsAppearance::operator=(const TOptionsAppearance& S)
{
    ActiveRowGradient = S.ActiveRowGradient;
    SkipCellHighlight = S.SkipCellHighlight;
    DrawRowFocus = S.DrawRowFocus;
    DrawColoredRow = S.DrawColoredRow;
    HighlightMultiselect = S.HighlightMultiselect;
    HideHScrollBar = S.HideHScrollBar;
    StandardTabKey = S.StandardTabKey;
    ReturnAsTabKey = S.ReturnAsTabKey;
    HintMaxLength = S.HintMaxLength;
    ColumnMinWidth = S.ColumnMinWidth;
    ColumnMaxWidth = S.ColumnMaxWidth;
    ColumnWidthMaxRecordsSearch = S.ColumnWidthMaxRecordsSearch;
    LookupResetDelay = S.LookupResetDelay;
    DataRowLineColor = S.DataRowLineColor;
    DataColLineColor = S.DataColLineColor;
    TitleRowLineColor = S.TitleRowLineColor;
    TitleColLineColor = S.TitleColLineColor;
    TitleColInGroupLineColor = S.TitleColInGroupLineColor;
    DataRowLineStyle = S.DataRowLineStyle;
    DataColLineStyle = S.DataColLineStyle;
    TitleRowLineStyle = S.TitleRowLineStyle;
    TitleColLineStyle = S.TitleColLineStyle;
    DataRowInFixedColsAsTitle = S.DataRowInFixedColsAsTitle;
    ColumnFontStyleColor = S.ColumnFontStyleColor;
    TitleFontStyleColor = S.TitleFontStyleColor;
    DragCell = S.DragCell;
    DragToScrollData = S.DragToScrollData;
    return *this;
}

TOptionsEditors& TOptionsEditors::operator=(const TOptionsEditors& S)
{
    BoolGlyphs = S.BoolGlyphs;
    BoolOneClickChange = S.BoolOneClickChange;
    BoolAutoSave = S.BoolAutoSave;
    BoolAllowsNull = S.BoolAllowsNull;
    Memo = S.Memo;
    Graphic = S.Graphic;
    DateTimePicker = S.DateTimePicker;
    OnlyPickListValues = S.OnlyPickListValues;
    TextAsMemoSize = S.TextAsMemoSize;
    NotProcDblClick = S.NotProcDblClick;
    NotProcMemoDblClick = S.NotProcMemoDblClick;
    NotProcGraphicDblClick = S.NotProcGraphicDblClick;
    AllowPasteMultipleCells = S.AllowPasteMultipleCells;
    AllowReadOnlyButton = S.AllowReadOnlyButton;
    AllowLookupFilter = S.AllowLookupFilter;
    AutoDropDown = S.AutoDropDown;
    AutoPickListWidth = S.AutoPickListWidth;
    BlockInsertByKey = S.BlockInsertByKey;
    return *this;
}

TOptionsFixedCell::TOptionsFixedCell()
{
    FFixedColFont.OnChange = [this] {
        if (FTakingParentFont)
            return;
        if (FixedColParentFont)
            FixedColParentFont = false;
        else if (Link.Grid)
            GridOptionChanged(Link.Grid, oeLayout);
    };
}

TFont& TOptionsFixedCell::FixedColFontRef()
{
    return FFixedColFont;
}

void TOptionsFixedCell::TakeParentFont(const TFont& F)
{
    FTakingParentFont = true;
    FFixedColFont.Assign(F);
    FTakingParentFont = false;
}

void TOptionsFixedCell::SetFixedColFont(const TFont& F)
{
    FFixedColFont.Assign(F);
    FixedColParentFont = false;
}

TOptionsFixedCell& TOptionsFixedCell::operator=(const TOptionsFixedCell& S)
{
    TitleExBtn = S.TitleExBtn;
    TitleExBtnHintRecCount = S.TitleExBtnHintRecCount;
    TitleBtn = S.TitleBtn;
    FixedColBtn = S.FixedColBtn;
    TitlePopup = S.TitlePopup;
    TitlePopupDistinctValues = S.TitlePopupDistinctValues;
    TitleImageSpace = S.TitleImageSpace;
    TitleTextMinWidth = S.TitleTextMinWidth;
    FixedCols = S.FixedCols;
    TitleTextSeparators = S.TitleTextSeparators;
    TitleForceWrapSeparators = S.TitleForceWrapSeparators;
    TitleTextCaseSeparator = S.TitleTextCaseSeparator;
    RotateTitleText = S.RotateTitleText;
    FixedColColor = S.FixedColColor;
    if (!S.FixedColParentFont)
        SetFixedColFont(S.FFixedColFont);
    FixedColParentFont = S.FixedColParentFont;
    return *this;
}

TOptionsFilters& TOptionsFilters::operator=(const TOptionsFilters& S)
{
    FunnelBtn = S.FunnelBtn;
    FunnelBtnActiveOnly = S.FunnelBtnActiveOnly;
    MultiFieldFilter = S.MultiFieldFilter;
    TextBar = S.TextBar;
    TextBarTopLayout = S.TextBarTopLayout;
    TextMarginX = S.TextMarginX;
    TextMarginY = S.TextMarginY;
    TextBkColor = S.TextBkColor;
    TextListAutoLoad = S.TextListAutoLoad;
    TextListAddFilter = S.TextListAddFilter;
    TextFilterType = S.TextFilterType;
    TextFilterLikeChar = S.TextFilterLikeChar;
    TextFilterLikeOperator = S.TextFilterLikeOperator;
    TextComboStyle = S.TextComboStyle;
    UseDatePartAsRange = S.UseDatePartAsRange;
    UseNumberPartAsRange = S.UseNumberPartAsRange;
    NumberPartWildChar = S.NumberPartWildChar;
    SetFilterDelay = S.SetFilterDelay;
    FilterPanel = S.FilterPanel;
    FilterPanelColor = S.FilterPanelColor;
    FilterPanelComboMaxWidth = S.FilterPanelComboMaxWidth;
    FilterPanelPaddingHeight = S.FilterPanelPaddingHeight;
    SetFilterPanelButtonList(S.FFilterPanelButtonList);
    return *this;
}

TOptionsGroups& TOptionsGroups::operator=(const TOptionsGroups& S)
{
    CanExpand = S.CanExpand;
    ShowMergedCell = S.ShowMergedCell;
    AlwaysUseGroupColors = S.AlwaysUseGroupColors;
    GroupHeightPixels = S.GroupHeightPixels;
    MergeCellHeightPixels = S.MergeCellHeightPixels;
    CollapseBtnSize = S.CollapseBtnSize;
    GroupLineWidth = S.GroupLineWidth;
    Active = S.Active;
    return *this;
}

TOptionsHighlightText& TOptionsHighlightText::operator=(const TOptionsHighlightText& S)
{
    HighlightText = S.HighlightText;
    HighlightInFields = S.HighlightInFields;
    FontColor = S.FontColor;
    BkColor = S.BkColor;
    Bold = S.Bold;
    Active = S.Active;
    return *this;
}

TOptionsEx2& TOptionsEx2::operator=(const TOptionsEx2& S)
{
    Appearance = S.Appearance;
    CellCondition = S.CellCondition;
    Editors = S.Editors;
    Filters = S.Filters;
    FixedCell = S.FixedCell;
    Groups = S.Groups;
    HighlightText = S.HighlightText;
    return *this;
}

void TOptionsEx2::SetGrid(TrDBGrid* Grid)
{
    for (TOptionsLink* l : {&Appearance.Link, &Editors.Link, &FixedCell.Link, &Filters.Link, &Groups.Link,
                            &CellCondition.Link, &HighlightText.Link})
        l->Grid = Grid;
}

// ---- the filter options' derived values ---------------------------------------------

void TOptionsFilters::SetFilterPanelButtonList(const QString& V)
{
    FFilterPanelButtonList = V;
    FFilterPanelButtonIndexes.clear();
    for (const QString& p : V.split(QLatin1Char(','))) {
        bool ok = false;
        const int i = p.trimmed().toInt(&ok);
        if (ok && i >= 0)
            FFilterPanelButtonIndexes.push_back(i);
    }
    if (Link.Grid)
        GridOptionChanged(Link.Grid, oeRepaint);
}

int TOptionsFilters::Scaled(int N) const
{
    return Link.Grid ? Link.Grid->UseScale(N) : N;
}

QChar TOptionsFilters::GetTextFilterLikeChar() const
{
    QChar c = TextFilterLikeChar;
    if (c.isNull() && Link.Grid && Link.Grid->Sorter())
        c = Link.Grid->Sorter()->GetFilterWildCardChar();
    if (c.isNull())
        c = GetFilterWildCardChar(Link.Grid ? Link.Grid->DataSet() : nullptr, false);
    return c;
}

QString TOptionsFilters::GetTextFilterLikeOperator() const
{
    QString op = TextFilterLikeOperator;
    if (op.isEmpty() && Link.Grid && Link.Grid->Sorter())
        op = Link.Grid->Sorter()->GetFilterLikeOperator();
    if (op.isEmpty())
        op = GetFilterLikeOperator(Link.Grid ? Link.Grid->DataSet() : nullptr, false);
    return op;
}

// Hiding the horizontal bar (the option, or a footer grid that scrolls for
// both) leaves the vertical bar, which shows where the data is, on a visible
// grid.
void TrDBGrid::UpdateScrollBars()
{
    ForceVertScrollBar = Visible();
    TCustomDBGrid::UpdateScrollBars();
}
