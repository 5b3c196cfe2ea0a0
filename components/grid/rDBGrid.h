#pragma once
// TrDBGrid: the data grid behind every table of the program and of the
// library's dialogs. It paints every cell itself (colour decisions of the
// active, odd, hot-track, read-only, required, link and filtered cells, and
// the display kinds of check boxes, memo and picture glyphs, passwords,
// colours, links and text), sorts through a sorter component, searches as
// the user types, copies to and pastes from the clipboard as tab-separated
// text and edits through its own in-place editor. The behaviour is spread
// over several source files, one per facet (painting, titles and footer,
// sorting and scans, keys and search, clipboard).

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rGlyphs.h"
#include "components/grid/TrDBGridSummaries.h"
#include "components/grid/rDBGridDataList.h"
#include "components/grid/rDBGridFieldGroups.h"
#include "components/grid/rDBGridTitleLine.h"
#include "components/grid/rDBGridTypes.h"
#include "components/grid/rdbtool.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/DBGrids.h"

#include <functional>
#include <set>
#include <tuple>
#include <memory>

class TrDBGridCustomSorter;
class TrDBGridInplaceEditEx;
class TTimer;
class THintWindow;
class TrRichEdit;
class TCustomImageList;
class TPopupMenu;
class TCustomForm;
class TCellParamsCondList;

// The band under the data rows: one text per column and a free text.
class TFooterRow {
public:
    explicit TFooterRow(class TrDBGrid* Grid);
    bool FooterVisible() const { return FFooterVisible; }
    void SetFooterVisible(bool v);
    int FooterHeight() const { return FFooterHeight; }
    void SetFooterHeight(int v);  // below 8 stores 0 (a data row + 2)
    // A change of the font lays the grid out again (the footer's height follows it).
    TFont Font;
    // Each footer cell in its column's font; switching it on takes the grid's
    // font into Font, and Font follows the grid's font while it is on.
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);

private:
    TOptionsLink FLink;

public:
    // Each of these repaints the footer when set.
    TGridOption<bool> BoldText{&FLink, false, oeRepaint};
    TGridOption<TColor> Color{&FLink, clNone, oeRepaint};
    TGridOption<bool> ShowCellLines{&FLink, true, oeRepaint};
    TGridOption<TColor> CellLinesColor{&FLink, clNone, oeRepaint};
    TGridOption<QString> FixedColText{&FLink, QString(), oeRepaint};
    TGridOption<QString> SimpleText{&FLink, QString(), oeRepaint};
    TGridOption<TAlignment> SimpleTextAlign{&FLink, taLeftJustify, oeRepaint};
    // FIELD=text;settings, one line per field; the text may hold summary
    // tags ("%SUM", ...) filled in from the grid's last summaries. Any
    // change repaints the footer.
    TStringList FieldFooterDefs;
    // Repaints the footer.
    void Refresh();
    // Recompute the summaries when the data opens / after a filter change;
    // redraw the footer on every scroll (a "%RECNO" text follows the row).
    bool RecalculateAfterOpen = false;
    bool RecalculateAfterFilter = false;
    bool RefreshAfterScroll = false;
    int GetFooterRowHeight() const;
    TRect FooterRect() const;
    TRect FooterCellRect(int ACol) const;
    bool IsFooterDefined(const TField* Field) const;
    QString GetFooterText(const TField* Field) const;
    void Assign(const TFooterRow& Source);

private:
    TrDBGrid* FGrid;
    bool FFooterVisible = false;
    int FFooterHeight = 0;
    bool FParentFont = true;
};

// The top-left cell and the indicator column's texts and width. Every
// setter but SetParentFont lays the grid out again.
class TFixedColText : public TGridPartFont {
public:
    explicit TFixedColText(TrDBGrid* Grid) : TGridPartFont(Grid) {}
    const QString& TitleText() const { return FTitleText; }
    void SetTitleText(const QString& V);
    // The text of every data row: "<<#>>" the record number, "<<FIELD>>" a field's value.
    const QString& TextMask() const { return FTextMask; }
    void SetTextMask(const QString& V);
    // 11 (the default) leaves the platform's indicator width; below 8 stores 0.
    int FixedColWidth() const { return FFixedColWidth; }
    void SetFixedColWidth(int V);
    TAlignment TextAlign() const { return FTextAlign; }
    void SetTextAlign(TAlignment V);
    bool ShowIndicator() const { return FShowIndicator; }
    void SetShowIndicator(bool V);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool V);
    bool IsFixedColUsed() const { return FShowCheckbox || !FTextMask.isEmpty(); }
    void Assign(const TFixedColText& S);

protected:
    void Changed() override;

private:
    QString FTitleText;
    QString FTextMask;
    int FFixedColWidth = 11;
    TAlignment FTextAlign = taLeftJustify;
    bool FShowIndicator = true;
    bool FShowCheckbox = false;
};

class TrDBGrid : public TDBGrid {
public:
    explicit TrDBGrid(TComponent* AOwner);
    ~TrDBGrid() override;

    // ---- model ----
    TOptionsEx2& OptionsEx2() { return FOptionsEx2; }
    void Loaded() override;
    void Assign(const TrDBGrid& Source);
    void Invalidate() override;
    int UseScale(int N) const;
    double ScaleRatio() const { return FScaleRatio; }
    bool IsDatasetLinked() const;
    bool IsActive() const;
    bool IsFiltered() const;
    bool IsEmpty() const;
    bool IsNotEmpty() const { return IsActive() && !IsEmpty(); }
    int TitleRow() const { return (Options() & dgTitles) ? 0 : -1; }
    int FixCol() const { return IndicatorOffset() - 1; }
    TDataSet* DataSet() const;
    TrDBGridInplaceEditEx* GetInplaceEditor() const;
    void HideInplaceEditor() { HideEditor(); }
    int SetFixedCols(int N);
    int GetFixedCols() const;
    void SetMouseOverRow(int Row);
    int MouseOverRow() const { return FMouseOverRow; }
    void InvalidateRowEx(int Row);
    TRect TitleRectToTextRect(const TRect& R) const;
    void SetDefaultTitlePopup();
    // A rectangle of the grid's client area in its parent's coordinates.
    TRect ClientRectToParentRect(const TRect& R) const;
    static bool CheckCoord(const TGridCoord& A, const TGridCoord& B) { return A.X == B.X && A.Y == B.Y; }
    static bool CheckCoordXY(const TGridCoord& A, int X, int Y) { return A.X == X && A.Y == Y; }
    // The fixed cell under the mouse: repainted / forgotten.
    void InvalidateHotTrackCell();
    void ResetHotTrackCell();
    // The fixed column's cells are buttons while the base grid's
    // goFixedColClick is on (FixedColBtn switches it).
    bool FixedColClickOn() const { return TCustomGrid::Options() & goFixedColClick; }
    void ApplyFixedColClick();

    TGridLookStyles GridLookStyle() const { return FGridLookStyle; }
    void SetGridLookStyle(TGridLookStyles v);
    TGlyphLookStyles GlyphLookStyle() const { return FGlyphLookStyle; }
    void SetGlyphLookStyle(TGlyphLookStyles v);
    TrCustomGlyphs* CustomGlyphs() const { return FCustomGlyphs; }
    void SetCustomGlyphs(TrCustomGlyphs* v);

    TColor ColorOddRow() const { return FColorOddRow; }
    void SetColorOddRow(TColor v);
    TColor ColorActiveRow() const { return FColorActiveRow; }
    void SetColorActiveRow(TColor v);
    TColor ColorHotTrackRow() const { return FColorHotTrackRow; }
    void SetColorHotTrackRow(TColor v);
    TColor ColorRequiredField = clNone;
    TColor FontColorFiltered() const { return FFontColorFiltered; }
    void SetFontColorFiltered(TColor v);
    TColor FontColorLink = clHighlight;
    TColor FontColorReadOnly = clGrayText;
    TVerticalAlignment RowVerticalAlign() const { return FRowVerticalAlign; }
    void SetRowVerticalAlign(TVerticalAlignment v);
    QChar PasswordChar = QLatin1Char('*');
    TFooterRow* FooterRow() { return &FFooterRow; }
    TFixedColText* FixedColText() { return &FFixedColText; }

    int TitleLines() const { return FTitleLines; }
    void SetTitleLines(int v);
    int RowLines() const { return FRowLines; }
    void SetRowLines(int v);
    int RowFixHeight() const { return FRowFixHeight; }
    void SetRowFixHeight(int v);
    TLookupCondition LookupCondition = lcBrowse;
    TColumnWidth ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidthMode(TColumnWidth v);
    TColumnWidth ColumnWidthAfterDblClick = cwDataLabelWidth;
    const QString& FilteredFieldNames() const { return FFilteredFieldNames; }
    void SetFilteredFieldNames(const QString& v);

    // Per-field lists (see the field-kind tests for their entries).
    TStringList FieldsAsLink, FieldsAsBoolean, FieldsAsHTMLText, FieldsAsRichText, FieldsAsGraphics, FieldsAsDate,
        FieldsAsTime, FieldsAsColor, FieldsAsPassword, FieldsAsDataBar, FieldsAsStatusBar, FieldsAutoPickList,
        FieldsDrawDropDown, FieldsFilterButton, FieldsFilterMapping, FieldsFixedColumnWidth, TitlePopupItems, TitleHints,
        TitleImages, TitleButtons, DataImages, FieldsGroups;

    // ---- field kinds ----
    bool IsBoolEx(TField* Field);
    bool IsMemoEx(TField* Field, bool WithStrings);
    bool IsMemoAsGlyph(TField* Field, bool WithStrings);
    bool IsMemoAsText(TField* Field, bool WithStrings);
    bool IsHTMLTextEx(TField* Field);
    bool IsGraphicEx(TField* Field);
    bool IsFieldAsDateEx(TField* Field);
    bool IsDateEx(TField* Field);
    bool IsFieldAsTimeEx(TField* Field);
    bool IsTimeEx(TField* Field);
    bool IsColorEx(TField* Field);
    // Pick lists of these fields are drawn and measured by OnPickListDrawItem / OnPickListMeasureItem.
    bool IsDrawDropDownEx(TField* Field);
    // The field has an entry in FieldsAsBoolean (with or without its texts).
    bool IsFieldAsBoolean(TField* Field);
    bool IsLinkEx(TField* Field);
    bool IsPasswordEx(TField* Field);
    bool IsFixedColumnWidth(TField* Field, const QString& FieldName);
    bool IsDataBarEx(TField* Field);
    bool IsStatusBarEx(TField* Field);
    bool IsDataImageEx(TField* Field);
    bool GetDataImageDef(TField* Field, TDataImageDef& Def);
    // Settings texts "min;max;value type;colour from;colour to" and
    // "steps;bar type;colour all;colour done" (a name starting with "*" is
    // the settings text itself).
    bool Fields_GetDataBarSettings(const QString& FieldName, double& MinValue, double& MaxValue, TrDataBarText& ValueType,
                                   TColor& ColorFrom, TColor& ColorTo);
    bool Fields_GetStatusBarSettings(const QString& FieldName, int& Steps, TrStatusBarType& BarType, TColor& ColorAll,
                                     TColor& ColorDone);
    // Images of DataImages by index (and their TDataImageDef); the grid
    // forgets the list when it is freed first.
    TCustomImageList* DataImageList() const { return FDataImageList; }
    void SetDataImageList(TCustomImageList* v);
    bool FieldAsBooleanValue(TField* F) const;
    QVariant FieldAsBooleanDefValue(TField* F, bool Value) const;
    bool ChangeBool(bool SetFalse, bool SetNull);
    TDateTime GetDateValueEx(TField* Field) const;
    void SetDateValueEx(TField* Field, TDateTime Value);
    TDateTime GetTimeValueEx(TField* Field) const;
    void SetTimeValueEx(TField* Field, TDateTime Value);
    // The minute step of a time field's arrow keys (its FieldsAsTime value, default 1).
    int TimeFieldMinuteStep(const TField* Field) const;

    // ---- painting ----
    void DrawBMPInCell(const TRect& Rect, TBitmap* Bmp);
    // A glyph of the library's set centred in Rect with its black drawn in Colour.
    void DrawGlyphRecoloured(const TRect& Rect, int GlyphIndex, TColor Colour);
    // An image of a list centred in R (transparent unless the list's Tag is set).
    void DrawListImage(TCustomImageList* List, int Index, const TRect& R);
    virtual void GetCellParams(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef, bool ActiveRow,
                               bool Highlight);
    // The cell conditions' share of the cell parameters (first of the three steps).
    virtual void GetFieldCond(TField* Field, TFont* AFont, TColor& Background, TDataImageDef& DataImageDef, bool ActiveRow,
                              bool Highlight);
    void DrawTextAligned(TRect Rect, const QString& Text, TColumn* Column, bool SplitLines, const QString& AltText,
                         TVerticalAlignment VertAlign, unsigned Format);
    void DrawDataGridLines(const TRect& Rect, int DataCol, TGridDrawState State, TColumn* Column);
    void RefreshCellParamsCond() { Invalidate(); }
    // The grid's cell-condition rules (made on first use).
    TCellParamsCondList& CellParamsCondList();
    // While set, DrawCell paints nothing.
    bool ExUpdateLock = false;
    // How many times a cell was painted while the grid's dataset scrolled
    // (must stay 0: painting reads rows through the link's window).
    int PaintScrollCount() const { return FPaintScrollCount; }
    QString GetCellText(TColumn* Column);

    // ---- field groups (rDBGridFieldGroups.cpp) ----
    // FieldsGroups holds the definitions; every change of it regroups the
    // columns (FieldsGroupsChanged).
    void FieldsGroupsChanged();
    void SetFieldsGroupsText(const QString& Text);
    // The definitions the grid had when it was loaded ("Set default groups").
    const TStringList& FieldsGroupsDefault() const { return FFieldsGroupsDefault; }
    void SetGroupsActive(bool Value);
    void SetGroupsShowMergedCell(bool Value);
    // Height of the group band under the titles (0 while groups are off).
    int GroupHeight() const;
    int Fields_GetGroupList(TStringList* GroupList);
    QString Fields_GetGroupDefinition(int GroupID);
    bool Fields_GetGroupSettingsEx(const QString& GroupDefinition, int& GroupID, QString& MergedCellTitle,
                                   QString& GroupCollapsedTitle, QString& ContentCollapsed, TColor& TitleFontColor,
                                   TColor& GroupLineColor, bool& GroupLocked, QStringList* FieldList);
    bool Fields_GetGroupSettings(const QString& GroupDefinition, int& GroupID, QString& GroupCollapsedTitle,
                                 QString& ContentCollapsed, TColor& TitleFontColor, TColor& GroupLineColor,
                                 bool& GroupLocked, QStringList* FieldList);
    QString Fields_SetGroupSettingsEx(int GroupID, const QString& MergedCellTitle, const QString& GroupCollapsedTitle,
                                      const QString& ContentCollapsed, TColor TitleFontColor, TColor GroupLineColor,
                                      bool GroupLocked, const QStringList& FieldList);
    QString Fields_SetGroupSettings(int GroupID, const QString& GroupCollapsedTitle, const QString& ContentCollapsed,
                                    TColor TitleFontColor, TColor GroupLineColor, bool GroupLocked,
                                    const QStringList& FieldList);
    static int GetGroupID(const QString& GroupDef);
    TGroupInfo GetFieldGroupInfo(TField* Fld) { return GetFldGroupInfo(Fld, false); }
    TGroupInfo GetFldGroupInfo(TField* Fld, bool SkipCheckFldGroupOption);
    // ColIdx is a raw grid column (the indicator counts).
    TGroupInfo GetColGroupInfo(int ColIdx, bool FindFirstVisibleCol);
    bool IsGroupMasterExpanded(int ColIdx);
    bool IsFieldGroupMasterVisible(TField* Fld);
    bool IsFieldGroupMasterExpanded(TField* Fld);
    void FixedGroupedCol(bool SwitchGroupOn, bool RestoreDefaults);
    void MoveGroupedCol(int FromIndex, int ToIndex);
    void CollapseGroup(int GroupID) { IntExpandCollapseGroup(GroupID, false); }
    void ExpandGroup(int GroupID) { IntExpandCollapseGroup(GroupID, true); }
    void CollapseGroup(TField* Fld);
    void ExpandGroup(TField* Fld);
    void CollapseAll() { IntExpandCollapseAll(false); }
    void ExpandAll() { IntExpandCollapseAll(true); }
    // The collapsed master's title / cell text; false when the field shows its own.
    virtual bool GetGroupMasterTitleContent(TField* Fld, QString& Text);
    virtual bool GetGroupMasterCellContent(TField* Fld, QString& Text);
    // Button and merged header geometry inside a title cell rectangle.
    TPoint GetGroupBtnRect(TRect& RCell) const;
    bool PointInGroupBtnRect(const TRect& RCell, const TPoint& Point, int ColIdx, TGroupInfo& GroupInfo);
    bool PointInGroupMergedCell(const TRect& RCell, const TPoint& Point, int ColIdx, TGroupInfo& GroupInfo);
    std::function<void(TComponent* Sender, int ACol, TColumn* Column)> OnTitleMergedCellClick;

    // ---- column summaries (TrDBGridTitlePopup.cpp) ----
    // Recomputes every column's summary and redraws the footer; the title
    // popup reuses the results while UseCalculatedSummaryForPopup holds.
    void RecalculateSummaryResults(bool UseCalculatedSummaryForPopup);
    // The stored summary of the first column showing F (empty when none).
    TSummaryResults GetSummaryResults(TField* F, bool Recalculate);
    TSummaryResults SummaryResults(TField* Fld, bool Recalculate) { return GetSummaryResults(Fld, Recalculate); }
    TSummaryResults SummaryResults(TColumn* Column, bool Recalculate);
    QString ReplaceSummaryTags(QString& S, TField* F, const TSummaryResults& R, bool ForFooter);
    // The store the footer, the title popup and the cell conditions share.
    TrDBGridSummaries* SummaryStore();

    // ---- titles and footer ----
    // The next line of a title text no wider than W (S keeps the rest):
    // breaks after a separator, at a forced separator (dropped) or before a
    // capital that follows a small letter.
    QString GetLine(QString& S, int W, bool IgnoreWidth);
    int GetLineWidth(const QString& S, const TFont* AFont);
    // Where the footer's free text goes: past the indicator column and, while
    // the last column is in view, not beyond it.
    TRect SimpleTextRect(const TRect& Footer) const;
    // A cell line colour: DefColor, or for clNone the style's cell border
    // colour (light grey for the themed and gradient styles, silver else).
    TColor GetCellLineColor(TColor DefColor) const;
    // The rectangle the end-of-cell events get: without column (row) lines
    // it stops a pixel short on the right (at the bottom).
    void FixCellRectColRowLines(TRect& Rect) const;
    QString GetTitleText(TColumn* Column);
    void DrawFooterRow();

    // ---- cell contents, title images and buttons, title line, fixed column,
    // cell dialogs and scaling (rDBGridRichCells, rDBGridTitleImages,
    // rDBGridFixedCol, rDBGridCellDialogs, rDBGridScale) ----
    bool IsRichTextEx(TField* Field);
    virtual void DrawRichText(const TRect& Rect, const QString& Text, TColor Color);
    // Draws a bitmap into a cell: shrunk to fit (Resize), at the left or right ("L"/"R") or centred.
    void DrawCellBmp(TRect Rect, TBitmap* Bitmap, bool Resize, const QString& Alignment);
    void ShowMemo(TField* Field);
    void ShowGraphic(TField* Field);
    bool GetMouseOverCellHint(TColumn*& Column, QString& HintText, bool& ForceShow);
    // Images of the title images and buttons (forgotten when freed first).
    TCustomImageList* TitleImageList() const { return FTitleImageList; }
    void SetTitleImageList(TCustomImageList* v);
    // The menus of the top-left cell and of merged group headers (forgotten when freed first).
    TPopupMenu* TitleExPopupMenu() const { return FTitleExPopupMenu; }
    void SetTitleExPopupMenu(TPopupMenu* v);
    TPopupMenu* TitleMergedCellPopupMenu() const { return FTitleMergedCellPopupMenu; }
    void SetTitleMergedCellPopupMenu(TPopupMenu* v);
    bool IsTitleImageEx(TField* Field);
    bool GetTitleImageIndex(TField* Field, int& Index);
    int GetTitleImageWidth(TField* Field, bool WithSpace);
    int GetTitleButtonIndexes(TField* Field);
    const std::vector<int>& TitleButtonIndexes() const { return FTitleButtonIdx; }
    int GetTitleButtonsWidth(TField* Field, bool WithMargins);
    bool GetTitleButtonsRect(int ColIndex, TRect& Rect, bool FromTitleRect);
    bool PointInTitleButtonsRect(int ColIndex, TRect Rect, int& ButtonIndex, const TPoint& P);
    int Title_GetImageIndex(const QString& FieldName) const;
    void Title_SetImageIndex(const QString& FieldName, int ImageIndex);
    QString Title_GetHint(const QString& FieldName) const;
    void Title_SetHint(const QString& FieldName, const QString& Hint);
    TTitleLineText* TitleLineText() { return &FTitleLineText; }
    // Settings texts of the per-field lists, read and written (rDBGridFieldSettings).
    QString Fields_GetBoolValues(const QString& FieldName) const;
    void Fields_SetBoolValues(const QString& FieldName, const QString& BoolValues);
    TrLinkType Fields_GetLinkType(const QString& FieldName) const;
    void Fields_SetLinkType(const QString& FieldName, TrLinkType LinkType);
    QString Fields_SetDataBarSettings(const QString& FieldName, double MinValue, double MaxValue, TrDataBarText ValueType,
                                      TColor ColorFrom, TColor ColorTo);
    QString Fields_SetStatusBarSettings(const QString& FieldName, int Steps, TrStatusBarType BarType, TColor ColorAll,
                                        TColor ColorDone);
    using TFontStylesDefault = std::set<TFontStyleDefault>;
    bool FooterRow_GetSettings(const QString& FieldName, QString& ContentMask, TFont* AFont, int& FontSize, TColor& FontColor,
                               TFontStylesDefault& FontStyles, TAlignmentDefault& TextAlignment);
    QString FooterRow_SetSettings(const QString& FieldName, const QString& ContentMask, int FontSize, TColor FontColor,
                                  const TFontStylesDefault& FontStyles, TAlignmentDefault TextAlignment);
    // The lines of a field's data-image section (the alignment line taken out
    // into ImageAlign); without a list 1 when the section exists, else 0.
    int DataImages_GetSettings(const QString& FieldName, TStringList* ConditionList, QString& ImageAlign) const;
    void DataImages_SetSettings(const QString& FieldName, const TStringList* ConditionList, const QString& AddImageAlign);
    // Screen scaling: fonts, row heights and column widths follow the ratio.
    void ChangeScale(int M, int D) override;
    // A second grid under this one (totals, say) whose columns follow this grid's:
    // its columns named Prefix + field name line up with this grid's columns.
    void SetFooterDBGrid(TrDBGrid* FooterGrid, const QString& FieldPrefix, bool ShowHSBarMaster, bool ShowHSBarFooter);
    TrDBGrid* FooterDBGrid() const { return FFooterGrid; }
    void UpdateFooterGrid();
    using TDrawTitleLineEvent = std::function<void(TComponent* Sender, const TRect& Rect, QString& Text)>;
    TDrawTitleLineEvent OnDrawTitleLine;
    using TGetFixedColStateEvent = std::function<void(TComponent* Sender, bool ActiveRow, TFont* AFont, QString& Text, bool& CheckBoxChecked)>;
    TGetFixedColStateEvent OnGetFixedColState;
    // Per title before its text is laid out: the window may change the text, its rotation and the font.
    using TGetFixedRowStateEvent =
        std::function<void(TComponent* Sender, int DataCol, TColumn* Column, TFont* AFont, QString& Text, bool& RotateText)>;
    TGetFixedRowStateEvent OnGetFixedRowState;
    // The title button under the mouse (-1 none) and whether a drag scrolls the data.
    int MouseOverTitleButton() const { return FMMoveTitleBtnIndex; }
    bool IsDataScrolling() const { return isDataScrolling; }

    // ---- sorting ----
    const QString& SortFieldName() const { return FSortFieldName; }
    void SetSortFieldName(const QString& v);
    bool SortDesc() const { return FSortDesc; }
    void SetSortDesc(bool v);
    const QString& SortDirections() const { return FSortDirections; }
    void SetSortDirections(const QString& v);
    TrDBGridCustomSorter* Sorter() const { return FSorter; }
    void SetSorter(TrDBGridCustomSorter* v);
    bool ReSort();
    bool ChangeSort(const QString& NewSortFieldName, bool NewSortDesc);
    bool ChangeSortEx(const QString& NewSortFieldNames, const QString& NewSortDirections);
    int PosInSortField(const QString& FieldName) const;
    bool GetSortDirection(const QString& FieldName) const;
    QString ChangeSortDirection(const QString& FieldName) const;
    static void CheckFormatSortDirection(QString& FieldNames, QString& Directions, const QString& RemoveFieldName);
    static QString TrimSortFields(const QString& Text);
    static QString TrimSortDirections(const QString& Text);
    static TSortFieldNames GetSortFieldNames(const QString& Text);
    static TSortDirections GetSortDirections(const QString& Text);
    TSortFieldNames SortFieldNamesArr() const { return GetSortFieldNames(FSortFieldName); }
    TSortDirections SortDirectionsArr() const { return GetSortDirections(FSortDirections); }
    bool CanSort() const;

    // ---- record scan and general event ----
    using TScanCallBack = std::function<void(TDataSet* DataSet, int RecIndex)>;
    void ScanAllRecords(int Reason, int MaxRecords, bool FromFirst, bool IgnoreFilter, const TScanCallBack& CallBack);
    bool DoGeneralEvent(TGeneralEventType EventType);
    bool DoGeneralEventField(TGeneralEventType EventType, TField* Field);
    bool DoGeneralEventFieldBool(TGeneralEventType EventType, TField* Field, bool& Value);
    bool DoGeneralEventParam(TGeneralEventType EventType, TColumn* Column, QVariant& ParamValue, void* ParamObject, TField* Field);
    const TGeneralEventRec& GeneralEventRec() const { return FGeneralEventRec; }

    // ---- column widths ----
    void SetColumnWidth(TColumnWidth Mode, int AdditionalSpace);
    void SetOneColumnWidth(TColumnWidth Mode, TColumn* Column, int AdditionalSpace);
    void IntSetColumnWidth(TColumn* Column, int Width);
    int GetLimitColumnWidth(int Width, bool UseMin, bool UseMax) const;
    int GetTitleWidth(TColumn* Column);
    void RestoreColumnsWidth(bool RestoreVisibility, bool RestorePosition);

    // ---- column filters (the filter bar, the funnel and the panel feed one store) ----
    void ShowFilterDlg(TColumn* Column) { ShowFunnelFilter(Column); }
    void ShowFunnelFilter(TColumn* Column);
    void ShowTextFilter(TColumn* Column);
    void SetTextFilter(TColumn* Column, const QString& FilterText, bool ActivateFilter);
    bool DefineColumnFilter(const QString& FieldName, const QString& FilterCondition, const QString& TextFilterValue,
                            bool ActivateFilter);
    QString GetColumnFilterString();
    bool SetFilterForField(TField* Fld, const QString& FilterString, bool MultiFieldFilter, bool SetFilter, bool ShowError)
    {
        return IntSetFilterForField(Fld, Fld, FilterString, MultiFieldFilter, SetFilter, ShowError);
    }
    void ResetFilter();
    // After the dataset's filter was changed by other means.
    void FilterChangedNotification();
    void RefreshFilteredFieldNames() { FilterChangedNotification(); }
    const std::vector<TColumnStoredProp>& ColumnFilters();
    class TrComboBoxExFilter* FilterCombo() const;
    class TrComboBoxExFilter* FilterPanelCombo() const;
    // The funnel list of a raw column; the one notification after every filter
    // change; a filter-bar text applied to a field; one field's stored filter.
    virtual void IntShowFilterDlg(int RawCol);
    virtual void DoFilterChange();
    virtual bool IntProcFilterBarFilter(TField* Field, const QString& Text);
    virtual bool IntSetFilterForField(TField* Fld, TField* MappingFld, const QString& FilterString, bool MultiFieldFilter,
                                      bool SetFilter, bool ShowError);
    TNotifyEvent OnFilterChanged;

    // ---- keys and incremental search ----
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool CheckDropDownEdit();
    bool SearchNext(bool Prev);
    bool SearchGridFilter(bool Reset);
    QString SearchGetFilterString(TField* Field);
    void StopSearching();
    bool IsSearching() const { return !FSearchText.isEmpty(); }
    const QString& SearchText() const { return FSearchText; }
    // The text the search hint shows (empty while no hint is shown).
    const QString& SearchHint() const { return FSearchHint; }
    // Shows Text in the grid's own hint window at TopLeft (grid coordinates);
    // with UseDelay the search stops after the reset delay.
    void ShowIntHint(const QString& Text, TPoint TopLeft, bool UseDelay);
    THintWindow* OwnHintWindow() const { return OwnHintWin; }
    virtual void ProcessGridSearchKey(QChar& Key);
    virtual void ProcessPicklistSearchKey(QChar& Key);
    // Typing in a lookup column searches the lookup dataset's result field.
    virtual void ProcessLookupSearchKey(QChar& Key);
    bool SearchLookupFilter(bool Reset);
    bool IsLookupFilterColumn(TColumn* Column);
    void LoadAutoPickList();
    void LoadColorPickList();
    bool CanEdit();
    bool IsColumnReadOnly(TColumn* Column);
    // Completes a typed date ("5" = the 5th of this month, "5.6" and "5-6" use
    // the date separator) and a typed time ("9" = 9:00).
    static QString ProcDatePart(const QString& DatePart);
    static QString ProcTimePart(const QString& TimePart);
    void SaveRowPos(bool SetExUpdateLock);
    void RestoreRowPos();
    // Scrolls the shown rows by ScrollBy while the current record stays;
    // returns the records the first move covered.
    int ScrollData(int ScrollBy);
    // The current record's bookmark as of the last scroll, and the one before it.
    const TBookmark& ActiveBookmark() const { return FActiveBookmark; }
    const TBookmark& PrevActiveBookmark() const { return FPrevActiveBookmark; }
    bool RowIsMultiselected(bool FromActiveRecord, int FromDataRow);
    std::function<void(TComponent* Sender, TColumn* Column, bool ManualSizing)> OnColWidthChanged;
    TNotifyEvent OnDataScrolled;
    // The first shown row or column changed (scrolling either way).
    TNotifyEvent OnTopLeftChanged;
    unsigned DropDownRowsCount = 15;

    // The property file of the grid's memo and picture dialogs (nullptr: the
    // global one); forgotten when the file is freed first.
    class TPropSaveFile* PropSaveFile() const { return FPropSaveFile; }
    void SetPropSaveFile(class TPropSaveFile* v);

    // ---- in-place editor lists and buttons (rDBGridInplaceEditEx) ----
    // Item height of lookup drop-downs (0: the list's own, passed through
    // OnGetLookupListItemHeight) and the room added to each item's height and
    // to each column's width; OnGetLookupListItemProps adjusts each cell.
    int LookupListItemHeight = 0;
    int LookupListItemIncreaseHeight = 2;
    int LookupListItemIncreaseWidth = 0;
    std::function<void(TComponent* Sender, TCanvas* Canvas, const QString& KeyField, const QString& ListFields, int& Height)>
        OnGetLookupListItemHeight;
    TGetLookupListItemProps OnGetLookupListItemProps;
    // Owner-drawn pick lists of the FieldsDrawDropDown fields.
    std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)> OnPickListDrawItem;
    std::function<void(TWinControl* Control, int Index, int& Height)> OnPickListMeasureItem;
    // The size of an open drop-down; Resize (in and out) places the list again.
    std::function<void(TComponent* Sender, int& NewWidth, int& NewHeight, bool& Resize)> OnPickListSetSize;
    // The editor's ellipsis button: a width above 0 frames a button that
    // wide, 0 or less the glyph alone; Glyph replaces the three dots.
    std::function<void(TComponent* Sender, int ColIndex, TField* Field, int& ButtonWidth, TBitmap*& Glyph)>
        OnGetEllipsisButtonFormat;

    // ---- clipboard ----
    QString GetCellValue(TField* Fld, bool UseDisplayText);
    QString CopyCellData(bool CopyToClipboard);
    void CopyFieldsData(const QStringList& FieldNames, bool IncludeTitles);
    void CopyActiveFieldData(bool IncludeTitles);
    void CopyActiveRecordData(bool IncludeTitles, bool IncludeHidden);
    void CopyAllData(bool IncludeTitles, bool IncludeHidden);
    void PasteData(bool AddAsNewRecs) { IntPasteData(SelectedIndex(), AddAsNewRecs); }
    bool FillCellData(bool FillUp, const QString& SpecificFieldNames);
    int GetFieldNameColumnIndex(const QString& FieldName) const;
    virtual QString IntCopyData(bool ToClipboard, bool AllRec, bool AllFields, bool IncTitles, bool IncHidden,
                                const QStringList* FieldNames);
    virtual void IntPasteData(int FromCol, bool AddAsNewRecs);
    // Asked when posting a pasted record fails: true goes on with the next line.
    std::function<bool(const QString& ErrorText)> OnPasteErrorQuery;

    // ---- events ----
    using TGetCellParamsEvent = std::function<void(TComponent* Sender, TField* Field, TFont* AFont, TColor& Background, bool ActiveRow, bool Highlight)>;
    using TGetCellParamsExEvent = std::function<void(TComponent* Sender, TField* Field, TFont* AFont, TColor& Background,
                                                     TDataImageDef& DataImageDef, bool ActiveRow, bool Highlight)>;
    using TChangeSortEvent = std::function<void(TComponent* Sender, TDataSet* DataSet, const QString& SortFieldName, bool SortDesc, bool& Accept)>;
    using TChangeSortExEvent = std::function<void(TComponent* Sender, TDataSet* DataSet, const TSortFieldNames& SortFieldNames,
                                                  const TSortDirections& SortDirections, bool& Accept)>;
    using TLinkClickEvent = std::function<void(TComponent* Sender, TDataSet* DataSet, TColumn* Column, TField* Field, const QVariant& Value)>;
    using TScanDatasetEvent = std::function<void(TComponent* Sender, TDataSet* DataSet, int Reason)>;
    using TGeneralEvent = std::function<void(TComponent* Sender, TGeneralEventType EventType, TGeneralEventRec& EventParam, bool& ContinueEvent)>;
    using TLoadPickListEvent = std::function<void(TComponent* Sender, TDataSet* DS, const QString& FieldName, QStringList& PickList)>;
    using TCanEditEvent = std::function<void(TComponent* Sender, TField* Field, TColumn* Column, bool& CanEdit)>;
    using TDrawCellEvent2 = std::function<void(TComponent* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
    using TDrawFooterRowEvent = std::function<void(TComponent* Sender, const TRect& FooterRect, QString& FooterSimpleText, bool& DefaultDrawing)>;
    using TDrawFooterCellEvent = std::function<void(TComponent* Sender, const TRect& FooterCellRect, int ColIndex, TField* Field,
                                                    QString& FooterCellText, bool& DefaultDrawing)>;
    TGetCellParamsEvent OnGetCellParams;
    TGetCellParamsExEvent OnGetCellParamsEx;
    TDrawColumnCellEvent OnDrawColumnCellEnd;
    TDrawColumnCellEvent OnDrawActiveRowFocus;
    TDrawCellEvent2 OnDrawCellBackground;
    TDrawCellEvent2 OnDrawTitleCellEnd;
    TDrawFooterRowEvent OnDrawFooterRow;
    TDrawFooterCellEvent OnDrawFooterCell;
    TChangeSortEvent OnChangeSort;
    TChangeSortExEvent OnChangeSortEx;
    TLinkClickEvent OnLinkClick;
    TLinkClickEvent OnBoolClick;
    TLinkClickEvent OnTitleButtonClick;
    TScanDatasetEvent BeforeScanDataset;
    TScanDatasetEvent AfterScanDataset;
    TGeneralEvent OnGeneralEvent;
    TLoadPickListEvent OnLoadPickList;
    TCanEditEvent OnCanEdit;
    TNotifyEvent OnRefreshData;
    TNotifyEvent OnTitleExClick;
    TNotifyEvent OnFixColClick;
    using TFooterCellClick = std::function<void(TComponent* Sender, int ACol, TColumn* Column)>;
    TFooterCellClick OnFooterCellClick;
    // The filter bar's list of earlier texts, filled by the window.
    TLoadPickListEvent OnLoadFilterList;
    // Replaces the grid's own applying of a bar or funnel filter (FilterForm:
    // the funnel list, nil for the bar); Result false reports a failure.
    using TSetColumnFilterEvent = std::function<void(TComponent* Sender, TDataSet* DataSet, TField* Field, const QString& FilterString,
                                                     const QString& FilterValue, TComponent* FilterForm, bool& Result)>;
    TSetColumnFilterEvent OnSetColumnFilter;
    // Fills the funnel list instead of the grid (IsLoaded true skips the grid's own loading).
    using TFunnelFilterAddToList = std::function<void(const QString& DisplayText, const QString& ValueText, bool Checked)>;
    using TLoadFunnelFilterEvent = std::function<void(TComponent* Sender, TDataSet* DS, const QString& FieldName,
                                                      const TFunnelFilterAddToList& AddToListProc, bool& IsLoaded)>;
    TLoadFunnelFilterEvent OnLoadFunnelFilter;
    // The filter panel's user buttons (Value = the button's index).
    TLinkClickEvent OnFilterPanelButtonClick;
    // The window computes the summaries itself (nothing else is computed then).
    std::function<void(TComponent* Sender, TField* F, TSummaryResults& SummaryResults)> OnRecalculateSummaryResult;
    // The window's say on a summary's text (TagStr: "%SUM", "%AVG", ...).
    std::function<void(TComponent* Sender, TField* F, const TSummaryResults& SummaryResults, const QString& TagStr, bool ForFooter,
                       QString& DisplayText)>
        OnGetSummaryResult;
    // Replaces the copy of a clicked title popup line (Sender: the menu item).
    TNotifyEvent OnTitlePopupItemClick;
    // FieldValues: "NAME=value" of every field of the record under the mouse.
    using TGetHintStringExEvent = std::function<void(TComponent* Sender, TColumn* UnderMouseColumn, bool TitleRow, bool FooterRow,
                                                     const TStringList& FieldValues, const QString& CellText, QString& HintString)>;
    TGetHintStringExEvent OnGetHintStringEx;
    // The cell of the last press; the footer row is row -2.
    TGridCoord MouseDownCoord() const { return FMouseDownCoord; }
    // Grid coordinates with the footer row as row -2.
    TGridCoord MouseCoordEx(int X, int Y) const;
    // Whether the mouse is over the text of a link cell.
    bool IsOverLink() const { return isLink; }
    // A click on the top-left cell: OnTitleExClick, else the record-count hint at once.
    virtual void TitleExClick(TMouseButton Button, TShiftState Shift);
    // The record-count hint the top-left cell shows (nullptr before the first).
    THintWindow* RecCountHintWindow() const { return FRecCountHint; }
    void HideRecCountHint();

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void DrawColumnCell(const TRect& Rect, int DataCol, TColumn* Column, TGridDrawState State) override;
    void DrawTitleCell(int ACol, const TRect& ARect, TColumn* Column, TGridDrawState AState) override;
    void DrawCellBackground(const TRect& ARect, TColor AColor, TGridDrawState AState, int ACol, int ARow) override;
    void DrawIndicatorCell(int DataRow, const TRect& ARect, TGridDrawState AState) override;
    int IndicatorColWidth() const override;
    void TopLeftChanged() override;
    void UpdateScrollBars() override;
    void PaintBands() override;

public:
    TRect GridClientRect() const override;

protected:
    bool SelectCell(int ACol, int ARow) override;
    bool HighlightCell(int DataCol, int DataRow, const QString& Value, TGridDrawState AState) override;
    TInplaceEdit* CreateEditor() override;
    TEditStyle GetEditStyle(int ACol, int ARow) const override;
    void TitleClick(TColumn* Column) override;
    void FixedCellClick(int ACol, int ARow) override;
    void DoEnter() override;
    void DoExit() override;
    void ForgetFilterDialogColumn();
    void Scroll(int Distance) override;
    bool CanEditShow() const override;
    bool ReadOnlyButtonShows() const;
    bool CanEditModify() override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void EditButtonClick() override;
    void ColEnter() override;
    void ColExit() override;
    void ColWidthsChanged() override;
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) const override;
    void LinkActive(bool Value) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The title popup and the top-left cell's menu (see TrDBGridTitlePopup).
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    void CellClick(int ACol, int ARow, TMouseButton Button, TShiftState Shift) override;
    void CellClickActions(int ACol, TMouseButton Button);
    bool OnSizingBorder(int X, int Y) const;
    bool CanHotTrack(int ACol, int ARow) const override;
    // The parts under the mouse that have hints of their own; true when one changed.
    bool UpdateHoverParts(const TGridCoord& C, int X, int Y);
    // Whether the point is on the clickable part of a link cell: its data
    // image, or else its text as drawn.
    bool PointOnLink(const TGridCoord& C, int X, int Y);
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void DblClick() override;
    void DoHintShow(int ACol, int ARow, QString& HintStr, bool& CanShow) override;
    void Resize() override;
    // The title line's and the footer's fonts follow the grid's while they use it.
    void FontChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    int TitleRowHeight() const override;
    int DataRowHeight() const override;
    int FrozenDataColumns() const override { return FOptionsEx2.FixedCell.FixedCols; }

private:
    friend class TrDBGridInplaceEditEx;
    // Painting helpers.
    void DrawColumnCellContent(const TRect& Rect, TColumn* Column, TField* Field, TGridDrawState State,
                               TDataImageDef& DataImageDef, bool Highlight);
    void DrawCellText(const TRect& Rect, const QString& Text, bool KeepLineBreaks, TColumn* Column);
    void DrawCellTextAlign(TRect Rect, const QString& Text, bool KeepLineBreaks, TAlignment Alignment, TColumn* Column);
    void DrawCellTextRightToLeft(const TRect& Rect, const QString& Text, TAlignment Alignment);
    // A glyph centred in a cell, its black turned to the cell's text colour
    // (not on selected cells or in a multi-select grid).
    void DrawGlyphCell(const TRect& Rect, int GlyphIndex, TGridDrawState State);
    void DrawColorRect(const TRect& TextRect, TField* Field);
    bool ShowDataBar(const TRect& Rect, const TRect& TextRect, TField* Field, TColumn* Column);
    void ShowStatusBar(const TRect& Rect, TField* Field);
    void ShowDataImage(const TRect& Rect, TField* Field, TColumn* Column, const TDataImageDef& Def, bool Highlight);
    void DrawHTMLText(const TRect& Rect, const QString& Text, unsigned Format, bool WordWrap, bool Highlighting);
    void DrawSortGlyph(const TRect& R, int Position, bool Descending);
    // The ordinary focus rectangle of a data cell (the active control's selected cell).
    bool ShowsFocusRect(TGridDrawState State) const;
    void DrawFooterCellBackground(int ACol, TColor CellColor, TColor LineColor);
    // Writes a footer cell's text; LastRight is where the previous text ended (+3).
    void DrawFooterCellText(int ACol, TColumn* Column, TColor CellColor, int& LastRight);
    // A footer text wider than its cell runs over the following columns in the
    // reading direction (leftward in a grid read from the right), or back
    // towards the text before it, whose edge is LastEdge.
    void OverflowFooterText(int ACol, TRect& R, int TextWidth, bool TowardsLastText, int LastEdge, bool Leftward);


protected:
    // Decorations of a title cell drawn by the filter and group code (title
    // rectangle, text rectangle left for the title text).
    virtual void DrawTitleDecorations(int ACol, const TRect& CellRect, TColumn* Column, TGridDrawState State);
    // Field groups: the band with its buttons, lines and merged header in a
    // title cell; the group colour of a title's text; a press on the band
    // (true when it was taken); the drag rule and the members following a master.
    void DrawFieldGroupBand(int ACol, const TRect& CellRect, TColumn* Column);
    int GroupBandTop(const TRect& TitleCell) const;
    void DrawGroupButton(const TRect& CellRect, bool Expanded, TColor Color);
    void DrawMergedGroupHeaders();
    void DrawMergedHeader(int First, int Last, const TGroupInfo& Info);
    void DrawMergedBackground(const TRect& R);
    // Title grid lines: the row line, and the column line in the group's colour inside a group.
    void DrawTitleGridLines(int ACol, int ARow, bool InGroup, TGridDrawState State, const TRect& Rect);
    void ApplyGroupTitleFont(TColumn* Column, TFont* AFont);
    // The group button or merged title under the point: only found (Act
    // false, at the press) or clicked (at the release).
    bool GroupBandElement(int ACol, int X, int Y, bool Act);
    bool CheckColumnDrag(int& Origin, int& Destination, const TPoint& MousePt) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void IntExpandCollapseGroup(int GroupID, bool Expand);
    void IntExpandCollapseAll(bool Expand);

private:
    QString FitTextToWidth(const QString& Text, int Width);
    void PrepareCellDialog(TCustomForm& Form, int GlyphIndex);
    // Sorting helpers.
    bool ApplySortThroughEvents(const QString& Fields, const QString& Directions, bool Single, bool Desc);
    // Search helpers.
    bool TryLocate(const QString& Text, QChar Typed);
    bool TryFind(const QString& Text);
    bool TryLocateLookup(TField* Lookup, const QString& Text, QChar Typed);
    bool TryFindLookup(TField* Lookup, const QString& Text);
    void ShowLookupResult(TField* Lookup, const QString& Text, const QString& Key, bool Found, bool SelectAll, QChar& KeyOut);
    void ShowSearchHint(const QString& Text, const QString& Key, bool Found, QChar& KeyOut);
    bool DoDelete();
    bool PasteFromClipboard();
    // Clipboard helpers.
    static QString QuoteClipboardCell(const QString& Text);
    static QStringList SplitClipboardLine(const QString& Line);
    static QString UnquoteClipboardCell(const QString& Cell);
    void SaveResetDatasetEvents(int Reason);
    void RestoreDatasetEvents(int Reason);

    TOptionsEx2 FOptionsEx2;
    double FScaleRatio = 1.0;
    TGridLookStyles FGridLookStyle = grs_Default;
    TGlyphLookStyles FGlyphLookStyle = glsStandard;
    TrCustomGlyphs* FCustomGlyphs = nullptr;
    TCustomImageList* FDataImageList = nullptr;
    TCustomImageList* FTitleImageList = nullptr;
    TPopupMenu* FTitleExPopupMenu = nullptr;
    TPopupMenu* FTitleMergedCellPopupMenu = nullptr;
    class TPropSaveFile* FPropSaveFile = nullptr;
    // Points Field at V, moving the free notification from the old component to the new.
    template <class T>
    void LinkComponent(T*& Field, T* V);
    TColor FColorOddRow = clMoneyGreen;
    TColor FColorActiveRow = clInfoBk;
    TColor FColorHotTrackRow = clNone;
    TColor FFontColorFiltered = 0x800000;
    TVerticalAlignment FRowVerticalAlign = taAlignTop;
    int FTitleLines = 1;
    int FRowLines = 1;
    int FRowFixHeight = 0;
    TColumnWidth FColumnWidth = cwNone;
    QString FFilteredFieldNames;
    TFooterRow FFooterRow;
    TFixedColText FFixedColText;
    int FMouseOverRow = -1;
    bool isActiveRow = false;
    bool isHotTrackRow = false;
    int FLastWidth = -1;  // the width the column width mode was last applied at
    bool FTitleInGroup = false;  // the title cell painted last lies inside an open group
    // The fixed cells painted in this pass, for their grid lines.
    struct TTitleGridCell {
        int Col, Row;
        bool InGroup;
        TGridDrawState State;
        TRect Rect;
    };
    std::vector<TTitleGridCell> FTitleGridCells;
    bool FPainting = false;
    int FPaintScrollCount = 0;
    std::unique_ptr<TBitmap> TempBmp;
    // Sorting.
    QString FSortFieldName;
    QString FSortDirections;
    bool FSortDesc = false;
    TrDBGridCustomSorter* FSorter = nullptr;
    TGeneralEventRec FGeneralEventRec;
    // Record scans: the events taken off the dataset while it runs.
    std::vector<std::tuple<TDataSet::TDataSetNotifyEvent, TDataSet::TDataSetNotifyEvent, decltype(TDataSource::OnDataChange)>> FSavedEvents;
    std::vector<TColumnStoredProp> FColumnStoredProps;
    // Search.
    QString FSearchText;
    QString FSearchHint;
    TSearchingType FSearchingPrevNext = stFindFirst;
    TTimer* FTimer = nullptr;
    // The application's hint pause when the grid was made (a search shortens it).
    int oldHintPause = 500;
    THintWindow* OwnHintWin = nullptr;
    bool isReturnAsTabKeyActive = false;
    TShiftState FMouseShift = 0;
    TGridCoord FMouseDownCoord{-1, -1};
    bool isPushing = false;
    bool isLink = false;
    // The press was taken by a decoration (filter bar or panel, group band)
    // that acts on the matching release.
    bool FBarPressed = false;
    bool FGroupBandPressed = false;
    bool ShowHintRecCount = false;
    THintWindow* FRecCountHint = nullptr;
    // Where the mouse last moved (the hints of the filter and group buttons read it).
    TPoint FMMovePoint{-1, -1};
    TStringList FHintFieldValues;
    // The hints of the funnel, the filter panel's buttons and the merged group titles.
    bool FilterAndGroupHint(int ACol, int ARow, TColumn* Column, QString& HintStr);
    void FillHintFieldValues(int ARow);
    int oldRowPos = 0;
    int oldRecNo = 0;
    mutable int FLastColWidthChangedIdx = -1;
    // Field groups: the definitions from the form and the parsed definitions.
    TStringList FFieldsGroupsDefault;
    std::shared_ptr<TFieldGroupsIni> FFieldsGroupsIni;
    QStringList FFieldsGroupsLines;
    const TFieldGroupsIni& FieldGroupsIni();
    // Cell contents, title images and buttons, title line, fixed column.
    friend class TTitleLineText;
    void DrawTitleEx(const TRect& ARect, TGridDrawState AState);
    void DrawTitleLineBand(const TRect& ARect, bool FirstColumn);
    // Moves the text rectangle's left edge past the title buttons and image.
    void ReserveTitleImages(TColumn* Column, TRect& T, bool& ShowImage);
    void DrawTitleImages(TColumn* Column, const TRect& T, bool ShowImage, const QString& Title);
    bool DrawPictureContent(const TRect& Rect, TField* Field);
    void DataScrollMove(int Row);
    // Draws a title's text turned a quarter left (running upwards), in up to 9 lines.
    void DrawRotatedTitle(const TRect& R, const QString& Text, TAlignment Alignment);
    QString DrawTitleTextAlign(const TRect& R, QString Title, TAlignment Alignment, TColumn* Column);
    bool CellHintAt(const TGridCoord& C, TColumn*& Column, QString& HintText, bool& ForceShow);
    TTitleLineText FTitleLineText;
    TrRichEdit* FRichText = nullptr;
    TField* FTitleButtonField = nullptr;
    std::vector<int> FTitleButtonIdx;
    int FMMoveTitleBtnIndex = -1;
    bool isDataScrolling = false;
    TBookmark FActiveBookmark, FPrevActiveBookmark;
    TGridCoord FMMoveCoord{-1, -1};
    TField* FMMoveTitleMergeCellField = nullptr;
    bool FMMoveTitleExFilterBtn = false;
    bool FMMoveFilterPanelFixBtn = false;
    int FMMoveFilterPanelBtnIndex = -1;
    int FDataScrollRow = -1;
    void FooterScrolled(TrDBGrid* Footer);
    TrDBGrid* FFooterGrid = nullptr;
    QString FFooterGridFieldPrefix;
    bool FooterGridUpdating = false;
    std::function<void(TrDBGrid* Sender)> NotifyTopLeftChanged;
};

// DrawText flags for a cell's alignment.
unsigned GetCellAlignment(TAlignment Alignment, TVerticalAlignment VerticalAlignment, bool SingleLine);
TColor GetDefColor(TColor Color, TColor Default);
// The columns of a grid (field names, or with fdGetLabels "name=title").
int GetFldListrDBGrid(TrDBGrid* Grid, TStringList* List, TGetFldDefs FldsDef);
