// The data grid's model: construction, loading, assignment, look styles,
// the small state tests every facet uses, frozen columns and the hot-track
// row, and the footer row's geometry.

#include "components/grid/rDBGrid.h"

#include "components/base/rtool.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridSummaries.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "components/grid/rDBGridSorter.h"
#include "components/grid/rDBGridTexts.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include <cmath>

// ---- free functions ----------------------------------------------------------------

unsigned GetCellAlignment(TAlignment Alignment, TVerticalAlignment VerticalAlignment, bool SingleLine)
{
    unsigned f = DT_NOPREFIX | DT_EXPANDTABS;
    f |= Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
    f |= VerticalAlignment == taAlignBottom ? DT_BOTTOM : VerticalAlignment == taVerticalCenter ? DT_VCENTER : DT_TOP;
    f |= SingleLine ? DT_SINGLELINE : DT_WORDBREAK;
    return f;
}

TColor GetDefColor(TColor Color, TColor Default)
{
    return Color == clNone ? Default : Color;
}

int GetFldListrDBGrid(TrDBGrid* Grid, TStringList* List, TGetFldDefs FldsDef)
{
    // Indexes asked for win over labels.
    if (!HasFldDef(FldsDef, fdGetLabels) || HasFldDef(FldsDef, fdGetIndex))
        return GetFldListDBGrid(Grid, List, FldsDef);
    // The same choice of columns, captioned with the titles the grid shows
    // (a group's title for a grouped column).
    TStringList indexes;
    GetFldListDBGrid(Grid, &indexes, TGetFldDefs((FldsDef & ~FldDef(fdGetLabels)) | FldDef(fdGetIndex)));
    List->Clear();
    for (int i = 0; i < indexes.Count(); ++i)
        List->Add(Grid->GetTitleText(Grid->Columns()->Items(indexes[i].toInt())));
    return List->Count();
}

// ---- footer row --------------------------------------------------------------------

TFooterRow::TFooterRow(TrDBGrid* Grid) : FGrid(Grid)
{
    FLink.Grid = Grid;
    Font.OnChange = [this] { FGrid->LayoutChanged(); };
    FieldFooterDefs.OnChange = [this] { Refresh(); };
}

void TFooterRow::SetParentFont(bool v)
{
    FParentFont = v;
    if (v)
        Font.Assign(*FGrid->Font());
}

void TFooterRow::Refresh()
{
    FGrid->Invalidate();
}

void TFooterRow::SetFooterVisible(bool v)
{
    if (FFooterVisible == v)
        return;
    FFooterVisible = v;
    FGrid->LayoutChanged();
}

void TFooterRow::SetFooterHeight(int v)
{
    FFooterHeight = v < 8 ? 0 : v;
    FGrid->LayoutChanged();
}

int TFooterRow::GetFooterRowHeight() const
{
    if (!FFooterVisible)
        return 0;
    if (FFooterHeight > 0)
        return FFooterHeight;
    return (FGrid->RowCount() > 1 ? FGrid->RowHeights(1) : FGrid->DefaultRowHeight()) + 2;
}

TRect TFooterRow::FooterRect() const
{
    const TRect c = FGrid->ClientRect();
    const TRect g = FGrid->GridClientRect();
    return Rect(c.Left, g.Bottom, g.Right, g.Bottom + GetFooterRowHeight());
}

TRect TFooterRow::FooterCellRect(int ACol) const
{
    const TRect f = FooterRect();
    if (FGrid->RowCount() < 2 || ACol >= FGrid->ColCount())
        return TRect();
    const TRect cell = FGrid->CellRect(ACol, FGrid->RowCount() > FGrid->FixedRows() ? FGrid->FixedRows() : 0);
    if (cell.Width() <= 0)
        return TRect();
    return Rect(cell.Left - 1, f.Top, cell.Right + 1, f.Bottom);
}

bool TFooterRow::IsFooterDefined(const TField* Field) const
{
    return Field && !FieldFooterDefs.Values(Field->FieldName()).trimmed().isEmpty();
}

QString TFooterRow::GetFooterText(const TField* Field) const
{
    if (!Field)
        return QString();
    const QString def = FieldFooterDefs.Values(Field->FieldName()).trimmed();
    QString text = def.section(QLatin1Char(';'), 0, 0);
    // At design time the definition shows as written.
    if (!(FGrid->ComponentState() & TComponent::csDesigning) && text.contains(QLatin1Char('%'))) {
        TField* f = const_cast<TField*>(Field);
        FGrid->ReplaceSummaryTags(text, f, FGrid->GetSummaryResults(f, false), true);
    }
    return text;
}

void TFooterRow::Assign(const TFooterRow& S)
{
    FFooterVisible = S.FFooterVisible;
    FFooterHeight = S.FFooterHeight;
    Font.Assign(S.Font);
    FParentFont = S.FParentFont;
    BoldText = S.BoldText;
    Color = S.Color;
    ShowCellLines = S.ShowCellLines;
    CellLinesColor = S.CellLinesColor;
    FixedColText = S.FixedColText;
    SimpleText = S.SimpleText;
    SimpleTextAlign = S.SimpleTextAlign;
    FieldFooterDefs.Assign(S.FieldFooterDefs.ToQStringList());
    RecalculateAfterOpen = S.RecalculateAfterOpen;
    RecalculateAfterFilter = S.RecalculateAfterFilter;
    RefreshAfterScroll = S.RefreshAfterScroll;
    FGrid->LayoutChanged();
}

// ---- construction ------------------------------------------------------------------

TrDBGrid::TrDBGrid(TComponent* AOwner)
    : TDBGrid(AOwner), FFooterRow(this), TempBmp(std::make_unique<TBitmap>()), FTitleLineText(this), FFixedColText(this)
{
    SetOptions(Options() | dgTitleHotTrack);
    FOptionsEx2.SetGrid(this);
    ApplyFixedColClick();
    const TrDBGridCfg& cfg = ParioCompConfig.rDBGridCfg;
    FGlyphLookStyle = cfg.DefaultGlyphLookStyle;
    FGridLookStyle = cfg.DefaultGridLookStyle;
    SetDrawingStyle(cfg.DefaultDrawingStyle);
    for (TStringList* l : {&FieldsAsLink, &FieldsAsBoolean, &FieldsAsHTMLText, &FieldsAsRichText, &FieldsAsGraphics,
                           &FieldsAsDate, &FieldsAsTime, &FieldsAsColor, &FieldsAsPassword, &FieldsAsDataBar,
                           &FieldsAsStatusBar, &FieldsAutoPickList, &FieldsDrawDropDown, &FieldsFilterButton,
                           &FieldsFilterMapping, &FieldsFixedColumnWidth, &TitlePopupItems, &TitleHints, &TitleImages,
                           &TitleButtons, &DataImages, &FieldsGroups})
        l->SetCaseSensitive(false);
    // Whoever changes these lists (the host, a saver, Assign), the grid shows it.
    for (TStringList* l : {&DataImages, &TitleButtons, &TitleImages, &FieldsFilterButton, &FieldsFilterMapping,
                           &FieldsFixedColumnWidth})
        l->OnChange = [this] { Invalidate(); };
    // Whoever changes the definitions (a window, Assign, a saver) gets the
    // columns regrouped and the band repainted.
    FieldsGroups.OnChange = [this] { FieldsGroupsChanged(); };
    OwnHintWin = new THintWindow(this);
    if (!(ComponentState() & csDesigning)) {
        // The grid paints every cell itself.
        DefaultDrawing = false;
        FTimer = new TTimer(this);
        FTimer->SetEnabled(false);
        FTimer->OnTimer = [this](TComponent*) { StopSearching(); };
        oldHintPause = Application ? Application->HintPause : 500;
        // The filter bar's and panel's edit boxes exist from the start, so the
        // bar and panel heights follow the boxes' own heights.
        TrDBGridFilterBar::Of(this);
    }
    ParioCompConfig.DoParioCompGeneralEventSimple(this, 1101);
}

TrDBGrid::~TrDBGrid()
{
    if (FFooterGrid)
        FFooterGrid->NotifyTopLeftChanged = nullptr;
}

void TrDBGrid::Loaded()
{
    TDBGrid::Loaded();
    if (ParioCompConfig.rDBGridCfg.FilterMultiFieldForcedOn)
        FOptionsEx2.Filters.MultiFieldFilter = true;
    DefaultDrawing = false;
    if (FOptionsEx2.FixedCell.TitlePopup)
        SetDefaultTitlePopup();
    FColumnStoredProps.clear();
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumn* c = Columns()->Items(i);
        FColumnStoredProps.push_back({c->FieldName(), c->Width(), c->Visible(), QString()});
    }
    if (TrDBGridColumnFilters* store = TrDBGridColumnFilters::Find(this))
        store->Clear();
    // One paint pass settles what painting measures; a grid whose data
    // cannot be painted yet still finishes loading.
    if (Width() > 0 && Height() > 0) {
        try {
            TBitmap scratch;
            PaintTo(&scratch);
        } catch (...) {
        }
    }
    FixedGroupedCol(false, false);
    FFieldsGroupsDefault.SetText(FieldsGroups.Text());
    ParioCompConfig.DoParioCompGeneralEventSimple(this, 1102);
}

void TrDBGrid::SetDefaultTitlePopup()
{
    if (TitlePopupItems.Count() > 0)
        return;
    for (const QString& s : {libtxt::TitlePopupSum, libtxt::TitlePopupMin, libtxt::TitlePopupMax, libtxt::TitlePopupAvg,
                             QStringLiteral("-"), libtxt::TitlePopupCountVal, libtxt::TitlePopupCountNull,
                             libtxt::TitlePopupCountAll, libtxt::TitlePopupDistinct})
        TitlePopupItems.Add(s);
}

void TrDBGrid::Assign(const TrDBGrid& S)
{
    SetColor(S.Color());
    Columns()->Assign(*const_cast<TrDBGrid&>(S).Columns());
    SetDataSource(S.DataSource());
    SetDrawingStyle(S.DrawingStyle());
    SetFixedColor(S.FixedColor());
    GradientEndColor = S.GradientEndColor;
    GradientStartColor = S.GradientStartColor;
    Font()->Assign(*const_cast<TrDBGrid&>(S).Font());
    SetOptions(S.Options());
    SetTitleFont(*const_cast<TrDBGrid&>(S).TitleFont());
    SetColorActiveRow(S.FColorActiveRow);
    SetColorHotTrackRow(S.FColorHotTrackRow);
    SetColorOddRow(S.FColorOddRow);
    SetColumnWidthMode(S.FColumnWidth);
    ColumnWidthAfterDblClick = S.ColumnWidthAfterDblClick;
    SetCustomGlyphs(S.FCustomGlyphs);
    SetDataImageList(S.FDataImageList);
    const std::pair<TStringList*, const TStringList*> lists[] = {
        {&DataImages, &S.DataImages}, {&FieldsAsBoolean, &S.FieldsAsBoolean}, {&FieldsAsColor, &S.FieldsAsColor},
        {&FieldsAsDataBar, &S.FieldsAsDataBar}, {&FieldsAsDate, &S.FieldsAsDate}, {&FieldsAsGraphics, &S.FieldsAsGraphics},
        {&FieldsAsHTMLText, &S.FieldsAsHTMLText}, {&FieldsAsLink, &S.FieldsAsLink}, {&FieldsAsPassword, &S.FieldsAsPassword},
        {&FieldsAsRichText, &S.FieldsAsRichText}, {&FieldsAsStatusBar, &S.FieldsAsStatusBar}, {&FieldsAsTime, &S.FieldsAsTime},
        {&FieldsAutoPickList, &S.FieldsAutoPickList}, {&FieldsDrawDropDown, &S.FieldsDrawDropDown},
        {&FieldsFilterButton, &S.FieldsFilterButton}, {&FieldsFilterMapping, &S.FieldsFilterMapping},
        {&FieldsFixedColumnWidth, &S.FieldsFixedColumnWidth}, {&FieldsGroups, &S.FieldsGroups},
        {&TitleButtons, &S.TitleButtons}, {&TitleHints, &S.TitleHints}, {&TitleImages, &S.TitleImages},
        {&TitlePopupItems, &S.TitlePopupItems}};
    for (auto& [to, from] : lists)
        to->Assign(from->ToQStringList());
    FFixedColText.Assign(S.FFixedColText);
    SetFontColorFiltered(S.FFontColorFiltered);
    FontColorLink = S.FontColorLink;
    FontColorReadOnly = S.FontColorReadOnly;
    FFooterRow.Assign(S.FFooterRow);
    SetGlyphLookStyle(S.FGlyphLookStyle);
    SetGridLookStyle(S.FGridLookStyle);
    LookupCondition = S.LookupCondition;
    LookupListItemHeight = S.LookupListItemHeight;
    LookupListItemIncreaseHeight = S.LookupListItemIncreaseHeight;
    LookupListItemIncreaseWidth = S.LookupListItemIncreaseWidth;
    FOptionsEx2 = S.FOptionsEx2;
    PasswordChar = S.PasswordChar;
    SetPropSaveFile(S.FPropSaveFile);
    SetRowFixHeight(S.FRowFixHeight);
    SetRowLines(S.FRowLines);
    SetRowVerticalAlign(S.FRowVerticalAlign);
    SetSorter(S.FSorter);
    SetTitleExPopupMenu(S.FTitleExPopupMenu);
    SetTitleFont(*const_cast<TrDBGrid&>(S).TitleFont());
    SetTitleImageList(S.FTitleImageList);
    SetTitleLines(S.FTitleLines);
    FTitleLineText.Assign(S.FTitleLineText);
    SetTitleMergedCellPopupMenu(S.FTitleMergedCellPopupMenu);
    if (TrDBGridCellConds* from = TrDBGridCellConds::Find(&S))
        TrDBGridCellConds::Of(this)->List.Assign(from->List);
    else if (TrDBGridCellConds* own = TrDBGridCellConds::Find(this))
        own->List.Clear();
}

void TrDBGrid::Invalidate()
{
    if (TrDBGridCellConds* c = TrDBGridCellConds::Find(this))
        c->List.ResetCond();
    TDBGrid::Invalidate();
}

int TrDBGrid::UseScale(int N) const
{
    return int(std::nearbyint(N * FScaleRatio));
}

// ---- state tests -------------------------------------------------------------------

TDataSet* TrDBGrid::DataSet() const
{
    return DataSource() ? DataSource()->DataSet() : nullptr;
}

bool TrDBGrid::IsDatasetLinked() const
{
    return DataSet() != nullptr;
}

bool TrDBGrid::IsActive() const
{
    return IsDatasetLinked() && const_cast<TrDBGrid*>(this)->DataLink()->Active();
}

bool TrDBGrid::IsFiltered() const
{
    return IsActive() && DataSet()->Filtered() && !DataSet()->Filter().trimmed().isEmpty();
}

bool TrDBGrid::IsEmpty() const
{
    if (!IsActive())
        return true;
    auto* link = const_cast<TrDBGrid*>(this)->DataLink();
    return link->ActiveRecord() >= link->RecordCount();
}

TrDBGridInplaceEditEx* TrDBGrid::GetInplaceEditor() const
{
    return dynamic_cast<TrDBGridInplaceEditEx*>(InplaceEditor());
}

TInplaceEdit* TrDBGrid::CreateEditor()
{
    return new TrDBGridInplaceEditEx(this);
}

TEditStyle TrDBGrid::GetEditStyle(int ACol, int ARow) const
{
    auto* self = const_cast<TrDBGrid*>(this);
    if (TField* f = SelectedField(); f && self->IsDateEx(f))
        return esEllipsis;
    return TDBGrid::GetEditStyle(ACol, ARow);
}

// ---- look styles -------------------------------------------------------------------

void TrDBGrid::SetGridLookStyle(TGridLookStyles v)
{
    if (v == FGridLookStyle || Loading())
        return;
    FGridLookStyle = v;
    const int i = int(v);
    if (i >= 0 && i < GridLookStyleCount) {
        // The recolouring may move the record; the visible rows stay where they were.
        SaveRowPos(true);
        struct Restore {
            TrDBGrid* G;
            ~Restore() { G->RestoreRowPos(); }
        } restore{this};
        const TGridLookStyleDef& d = GridLookStyleDefs[size_t(i)];
        GradientStartColor = GetDefColor(d.GradientStartColor, clWhite);
        GradientEndColor = GetDefColor(d.GradientEndColor, 0xD6D6D6);
        TitleFont()->SetColor(GetDefColor(d.TitleFontColor, clWindowText));
        Font()->SetColor(GetDefColor(d.TextFontColor, clWindowText));
        SetColor(GetDefColor(d.TextBkColor, clWindow));
        FColorActiveRow = GetDefColor(d.TextBkColorActiveRow, clInfoBk);
        FColorOddRow = GetDefColor(d.TextBkColorOddRow, 0xC0DCC0);
        FOptionsEx2.Appearance.DrawColoredRow = d.TextBkColorOddRow != clNone;
        // The title line band takes the theme's title colours.
        FTitleLineText.SetColor(GradientStartColor);
        TFont lineFont;
        lineFont.Assign(FTitleLineText.Font());
        lineFont.SetColor(TitleFont()->Color());
        FTitleLineText.SetFont(lineFont);
        // The columns follow the grid's colours and fonts unless customised.
        for (int c = 0; c < Columns()->Count(); ++c) {
            TColumn* col = Columns()->Items(c);
            if (!(col->AssignedValues() & cvTitleFont))
                col->Title()->Font()->SetColor(TitleFont()->Color());
        }
    }
    Invalidate();
}

void TrDBGrid::SetGlyphLookStyle(TGlyphLookStyles v)
{
    FGlyphLookStyle = v;
    Invalidate();
}

// ---- linked components -------------------------------------------------------------

template <class T>
void TrDBGrid::LinkComponent(T*& Field, T* V)
{
    if (Field == V)
        return;
    if (Field)
        Field->RemoveFreeNotification(this);
    Field = V;
    if (V)
        V->FreeNotification(this);
}

void TrDBGrid::SetCustomGlyphs(TrCustomGlyphs* v)
{
    LinkComponent(FCustomGlyphs, v);
    Invalidate();
}

void TrDBGrid::SetDataImageList(TCustomImageList* v)
{
    LinkComponent(FDataImageList, v);
    Invalidate();
}

void TrDBGrid::SetTitleImageList(TCustomImageList* v)
{
    LinkComponent(FTitleImageList, v);
    Invalidate();
}

void TrDBGrid::SetTitleExPopupMenu(TPopupMenu* v)
{
    LinkComponent(FTitleExPopupMenu, v);
}

void TrDBGrid::SetTitleMergedCellPopupMenu(TPopupMenu* v)
{
    LinkComponent(FTitleMergedCellPopupMenu, v);
}

void TrDBGrid::SetPropSaveFile(TPropSaveFile* v)
{
    LinkComponent(FPropSaveFile, v);
}

void TrDBGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TDBGrid::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSorter)
        FSorter = nullptr;
    if (AComponent == FFooterGrid)
        FFooterGrid = nullptr;
    if (AComponent == FTitleImageList)
        FTitleImageList = nullptr;
    if (AComponent == FDataImageList)
        FDataImageList = nullptr;
    if (AComponent == FTitleExPopupMenu)
        FTitleExPopupMenu = nullptr;
    if (AComponent == FTitleMergedCellPopupMenu)
        FTitleMergedCellPopupMenu = nullptr;
    if (AComponent == FPropSaveFile)
        FPropSaveFile = nullptr;
    if (AComponent == FCustomGlyphs) {
        FCustomGlyphs = nullptr;
        Invalidate();
    }
}

void TrDBGrid::SetColorOddRow(TColor v)
{
    FColorOddRow = v;
    Invalidate();
}

void TrDBGrid::SetColorActiveRow(TColor v)
{
    FColorActiveRow = v;
    Invalidate();
}

void TrDBGrid::SetColorHotTrackRow(TColor v)
{
    FColorHotTrackRow = v;
    Invalidate();
}

void TrDBGrid::SetFontColorFiltered(TColor v)
{
    FFontColorFiltered = v;
    Invalidate();
}

void TrDBGrid::SetRowVerticalAlign(TVerticalAlignment v)
{
    if (v == FRowVerticalAlign)
        return;
    FRowVerticalAlign = v;
    LayoutChanged();
}

void TrDBGrid::SetFilteredFieldNames(const QString& v)
{
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this))
        bar->ResetFilterDlgLastColIdx();
    if (v == FFilteredFieldNames)
        return;
    FFilteredFieldNames = v;
    Invalidate();
}

// ---- layout numbers ----------------------------------------------------------------

void TrDBGrid::SetTitleLines(int v)
{
    if (v < 1)
        return;
    FTitleLines = v;
    LayoutChanged();
}

void TrDBGrid::SetRowLines(int v)
{
    if (v < 1)
        return;
    FRowLines = v;
    LayoutChanged();
}

void TrDBGrid::SetRowFixHeight(int v)
{
    v = v < 5 ? 0 : v;
    if (v == FRowFixHeight)
        return;
    FRowFixHeight = v;
    LayoutChanged();
}

namespace {

int TextHeightOf(TCanvas* C, const TFont& F)
{
    TFont saved(*C->Font());
    C->Font()->Assign(F);
    const int h = C->TextHeight(QStringLiteral("Wg"));
    C->Font()->Assign(saved);
    return h;
}

}  // namespace

int TrDBGrid::DataRowHeight() const
{
    if (FRowFixHeight > 0)
        return FRowFixHeight;
    auto* self = const_cast<TrDBGrid*>(this);
    return TextHeightOf(self->Canvas(), *self->Font()) * FRowLines + 3 + ((Options() & dgRowLines) ? GridLineWidth() : 1);
}

int TrDBGrid::TitleRowHeight() const
{
    if (!(Options() & dgTitles))
        return DataRowHeight();
    auto* self = const_cast<TrDBGrid*>(this);
    int th = TextHeightOf(self->Canvas(), *self->TitleFont());
    for (int i = 0; i < self->Columns()->Count(); ++i)
        th = std::max(th, TextHeightOf(self->Canvas(), *self->Columns()->Items(i)->Title()->Font()));
    return th * FTitleLines + 4 + FTitleLineText.SumHeight() + GroupHeight() + FOptionsEx2.Filters.TextBarTopHeight() +
           FOptionsEx2.Filters.TextBarBottomHeight();
}

// ---- frozen columns and hot-track row ----------------------------------------------

int TrDBGrid::SetFixedCols(int N)
{
    const int off = IndicatorOffset();
    int c = N < 1 ? off : off + N;
    if (IsActive() && !Loading() && ColCount() > off + 1) {
        c = std::min(c, ColCount() - 1);
        FOptionsEx2.FixedCell.FixedCols = c - off;
        const int row = Row();
        TCustomGrid::SetFixedCols(c);
        SetRow(row);
    }
    FOptionsEx2.FixedCell.FixedCols = c - off;
    return FOptionsEx2.FixedCell.FixedCols;
}

int TrDBGrid::GetFixedCols() const
{
    return IsActive() ? FixedCols() - IndicatorOffset() : FOptionsEx2.FixedCell.FixedCols;
}

bool TrDBGrid::SelectCell(int ACol, int ARow)
{
    // Frozen columns cannot take the cursor.
    if (ACol < FixedCols())
        return false;
    return TDBGrid::SelectCell(ACol, ARow);
}

void TrDBGrid::SetMouseOverRow(int Row)
{
    if ((ComponentState() & csDesigning) || FColorHotTrackRow == clNone || Row == FMouseOverRow)
        return;
    if (FMouseOverRow >= 0)
        InvalidateRowEx(FMouseOverRow);
    FMouseOverRow = Row;
    if (Row > TitleRow())
        InvalidateRowEx(Row);
}

void TrDBGrid::InvalidateRowEx(int Row)
{
    if (Row >= 0 && Row < RowCount())
        InvalidateRow(Row);
}

void TrDBGrid::ApplyFixedColClick()
{
    const TGridOptions g = TCustomGrid::Options();
    TCustomGrid::SetOptions(FOptionsEx2.FixedCell.FixedColBtn ? g | goFixedColClick : g & ~goFixedColClick);
}

void TrDBGrid::FontChanged()
{
    TDBGrid::FontChanged();
    if (FTitleLineText.ParentFont())
        FTitleLineText.SetParentFont(true);
    if (FFooterRow.ParentFont())
        FFooterRow.SetParentFont(true);
    if (FFixedColText.ParentFont())
        FFixedColText.SetParentFont(true);
}

void TrDBGrid::Resize()
{
    TDBGrid::Resize();
    // Only a new width asks for the width mode again (cwDataWidth scans every record).
    if (Width() != FLastWidth && FColumnWidth != cwNone)
        SetColumnWidth(FColumnWidth, 0);
    FLastWidth = Width();
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this))
        bar->FilterComboRefreshBounds();
}

TRect TrDBGrid::TitleRectToTextRect(const TRect& R) const
{
    TRect t = R;
    t.Top += FTitleLineText.SumHeight() + FOptionsEx2.Filters.TextBarTopHeight() + GroupHeight();
    t.Bottom -= FOptionsEx2.Filters.TextBarBottomHeight();
    return t;
}

TRect TrDBGrid::ClientRectToParentRect(const TRect& R) const
{
    // The client area's corner as the parent sees it (a frame, where the
    // window has one, and a right-to-left scroll bar included).
    TPoint off(Left(), Top());
    if (Parent())
        off = Parent()->ScreenToClient(ClientToScreen(TPoint(0, 0)));
    return Rect(R.Left + off.X, R.Top + off.Y, R.Right + off.X, R.Bottom + off.Y);
}

void TrDBGrid::InvalidateHotTrackCell()
{
    const TGridCoord c = HotTrackCell();
    if (c.X >= 0 || c.Y >= 0)
        InvalidateCell(c.X, c.Y);
}

void TrDBGrid::ResetHotTrackCell()
{
    SetHotTrackCell({-1, -1}, false);
}

TRect TrDBGrid::GridClientRect() const
{
    TRect r = TDBGrid::GridClientRect();
    r.Bottom -= FFooterRow.GetFooterRowHeight() + FOptionsEx2.Filters.FilterPanelHeight();
    return r;
}

void TrDBGrid::LinkActive(bool Value)
{
    TDBGrid::LinkActive(Value);
    if (!Value)
        return;
    SetFixedCols(FOptionsEx2.FixedCell.FixedCols);
    FixedGroupedCol(false, false);
    LoadAutoPickList();
    LoadColorPickList();
    if (FColumnWidth != cwNone)
        SetColumnWidth(FColumnWidth, 0);
    if (FFooterRow.FooterVisible() && FFooterRow.RecalculateAfterOpen)
        RecalculateSummaryResults(true);
}

void TrDBGrid::DoEnter()
{
    TDBGrid::DoEnter();
    ForgetFilterDialogColumn();
}

void TrDBGrid::DoExit()
{
    StopSearching();
    TDBGrid::DoExit();
    ForgetFilterDialogColumn();
}

// A click on a funnel after the focus moved opens its list again rather
// than taking it for the second click that closes it.
void TrDBGrid::ForgetFilterDialogColumn()
{
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this))
        bar->ResetFilterDlgLastColIdx();
}
