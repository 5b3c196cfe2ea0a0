#pragma once
// Small types the data grid shares with its sorter, editor, action module
// and the export engines: width modes, search conditions, sort lists and the
// option objects. The general event, its record and the per-cell data image
// definition are the string grid's, shared by both grids.

#include "components/stringgrid/rStringGridEdTypes.h"  // TGeneralEventType, TGeneralEventRec, TDataImageDef
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"  // TComboBoxStyle
#include "platform/ui/Types.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <type_traits>
#include <vector>

class TColumn;
class TField;

enum TColumnWidth { cwNone, cwDefaultWidth, cwSameWidth, cwAutoWidth, cwDataWidth, cwLabelWidth, cwDataLabelWidth, cwHideEmptyCol };
enum TLookupCondition { lcNever, lcBrowse, lcNotEdit, lcBrowseFilter, lcNotEditFilter };
enum TOptionsBlobType { obtNone, obtGlyph, obtContent };

// A column's stored name, width and visibility (the layout kept at loading)
// or a field's stored filter condition (the column filters).
struct TColumnStoredProp {
    QString FieldName;
    int Width = 0;
    bool Visible = true;
    QString FilterString;
};

using TSortFieldNames = QStringList;
using TSortDirections = std::vector<bool>;  // true = descending

// ---- option objects ----
//
// The options of the grid's OptionsEx2, grouped by theme. Options with a
// setter are TGridOption members: assigning one stores the value (limited to
// its range where it has one) and tells the grid, which repaints, lays
// itself out again or switches what the option stands for. Assigning a whole
// option object copies its settings through the same setters. Options
// without a setter are plain members.

class TrDBGrid;

// What the grid does after an option changed.
enum TOptionEffect {
    oeNone, oeRepaint, oeLayout, oeTitleClick, oeFixedColClick, oeDateTimePicker, oeHideHScrollBar, oeTextComboStyle,
    oeFilterPanelPadding, oeGroupsActive, oeFixedColParentFont
};

// The option objects' way to their grid (set by the grid's constructor); a
// copy keeps its own grid.
struct TOptionsLink {
    TrDBGrid* Grid = nullptr;
    TOptionsLink() = default;
    TOptionsLink(const TOptionsLink&) {}
    TOptionsLink& operator=(const TOptionsLink&) { return *this; }
};

// Carries out an option's effect on its grid (rDBGridOptions.cpp).
void GridOptionChanged(TrDBGrid* Grid, TOptionEffect Effect);

template <typename T>
class TGridOption {
public:
    TGridOption(const TOptionsLink* Link, T Default, TOptionEffect Effect, T Lo = T(), T Hi = T())
        : FLink(Link), FValue(Default), FEffect(Effect), FLo(Lo), FHi(Hi)
    {
    }
    TGridOption(const TGridOption&) = delete;
    TGridOption& operator=(const TGridOption& S) { return *this = S.FValue; }
    TGridOption& operator=(T V)
    {
        if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>)
            if (FLo < FHi)
                V = V < FLo ? FLo : V > FHi ? FHi : V;
        FValue = V;
        if (FLink->Grid && FEffect != oeNone)
            GridOptionChanged(FLink->Grid, FEffect);
        return *this;
    }
    operator T() const { return FValue; }
    T Value() const { return FValue; }

private:
    const TOptionsLink* FLink;
    T FValue;
    TOptionEffect FEffect;
    T FLo, FHi;
};

using TBoolOption = TGridOption<bool>;
using TIntOption = TGridOption<int>;
using TColorOption = TGridOption<TColor>;
using TPenStyleOption = TGridOption<TPenStyle>;

struct TOptionsAppearance {
    TOptionsLink Link;
    TBoolOption ActiveRowGradient{&Link, false, oeRepaint};
    // Not copied by an assignment (public, not published).
    int ActiveRowOriginalColorShadowLuminance = 10;
    bool SkipCellHighlight = false;
    TBoolOption DrawRowFocus{&Link, false, oeRepaint};
    TBoolOption DrawColoredRow{&Link, false, oeRepaint};
    TBoolOption HighlightMultiselect{&Link, true, oeRepaint};
    TBoolOption HideHScrollBar{&Link, false, oeHideHScrollBar};
    bool StandardTabKey = false;
    bool ReturnAsTabKey = false;
    int HintMaxLength = 2000;
    int ColumnMinWidth = 40;
    int ColumnMaxWidth = 200;
    int ColumnWidthMaxRecordsSearch = 2000;
    unsigned LookupResetDelay = 2500;
    TColorOption DataRowLineColor{&Link, clNone, oeRepaint}, DataColLineColor{&Link, clNone, oeRepaint},
        TitleRowLineColor{&Link, clNone, oeRepaint}, TitleColLineColor{&Link, clNone, oeRepaint},
        TitleColInGroupLineColor{&Link, clNone, oeRepaint};
    TPenStyleOption DataRowLineStyle{&Link, psSolid, oeRepaint}, DataColLineStyle{&Link, psSolid, oeRepaint},
        TitleRowLineStyle{&Link, psSolid, oeRepaint}, TitleColLineStyle{&Link, psSolid, oeRepaint};
    TBoolOption DataRowInFixedColsAsTitle{&Link, false, oeRepaint};
    TBoolOption ColumnFontStyleColor{&Link, false, oeRepaint};
    TBoolOption TitleFontStyleColor{&Link, false, oeRepaint};
    bool DragCell = false;
    bool DragToScrollData = false;
    TOptionsAppearance() = default;
    TOptionsAppearance(const TOptionsAppearance&) = delete;
    TOptionsAppearance& operator=(const TOptionsAppearance& S);
};

struct TOptionsEditors {
    TOptionsLink Link;
    bool BoolGlyphs = true;
    bool BoolOneClickChange = false;
    bool BoolAutoSave = false;
    bool BoolAllowsNull = false;
    TOptionsBlobType Memo = obtGlyph;
    TOptionsBlobType Graphic = obtGlyph;
    // Date columns get a calendar button (their button style follows).
    TBoolOption DateTimePicker{&Link, true, oeDateTimePicker};
    bool OnlyPickListValues = false;
    int TextAsMemoSize = 0;
    // The grid leaves double clicks alone / on memos / on pictures.
    bool NotProcDblClick = false;
    bool NotProcMemoDblClick = false;
    bool NotProcGraphicDblClick = false;
    bool AllowPasteMultipleCells = false;
    bool AllowReadOnlyButton = false;
    bool AllowLookupFilter = false;
    bool AutoDropDown = false;
    bool AutoPickListWidth = true;
    bool BlockInsertByKey = false;
    bool ShowMemoGlyph() const { return Memo == obtGlyph; }
    bool ShowMemoContent() const { return Memo == obtContent; }
    bool ShowGraphicGlyph() const { return Graphic == obtGlyph; }
    bool ShowGraphicContent() const { return Graphic == obtContent; }
    TOptionsEditors() = default;
    TOptionsEditors(const TOptionsEditors&) = delete;
    TOptionsEditors& operator=(const TOptionsEditors& S);
};

struct TOptionsFixedCell {
    TOptionsLink Link;
    // The title-click switch of the grid is on while either button option is.
    TBoolOption TitleExBtn{&Link, true, oeTitleClick};
    bool TitleExBtnHintRecCount = false;
    TBoolOption TitleBtn{&Link, true, oeTitleClick};
    TBoolOption FixedColBtn{&Link, true, oeFixedColClick};
    TBoolOption TitlePopup{&Link, true, oeRepaint};
    TBoolOption TitlePopupDistinctValues{&Link, false, oeRepaint};
    TIntOption TitleImageSpace{&Link, 3, oeRepaint, 0, 100};
    TIntOption TitleTextMinWidth{&Link, 16, oeRepaint, 0, 200};
    int FixedCols = 0;  // stored value; read and written through the grid
    QString TitleTextSeparators = QStringLiteral(" ._-/\\@#$&|");
    QString TitleForceWrapSeparators;
    TBoolOption TitleTextCaseSeparator{&Link, true, oeRepaint};
    TBoolOption RotateTitleText{&Link, false, oeRepaint};
    TColorOption FixedColColor{&Link, clNone, oeRepaint};
    TBoolOption FixedColParentFont{&Link, true, oeFixedColParentFont};
    const TFont& FixedColFont() const { return FFixedColFont; }
    // Setting the font (or changing it) ends the use of the grid font.
    TFont& FixedColFontRef();
    void SetFixedColFont(const TFont& F);
    // Copies the grid font in without ending its use.
    void TakeParentFont(const TFont& F);
    TOptionsFixedCell();
    TOptionsFixedCell(const TOptionsFixedCell&) = delete;
    TOptionsFixedCell& operator=(const TOptionsFixedCell& S);

private:
    TFont FFixedColFont;
    bool FTakingParentFont = false;
};

enum TOptionTextFilterType { oftAnyPos, oftStartPos, oftExactValue, oftAnyPosForNoLikeChar };

struct TOptionsFilters {
    TOptionsLink Link;
    TBoolOption FunnelBtn{&Link, false, oeRepaint};
    TBoolOption FunnelBtnActiveOnly{&Link, false, oeRepaint};
    TBoolOption MultiFieldFilter{&Link, false, oeRepaint};
    TBoolOption TextBar{&Link, false, oeLayout};
    TBoolOption TextBarTopLayout{&Link, false, oeLayout};
    TIntOption TextMarginX{&Link, 2, oeLayout, 0, 20};
    TIntOption TextMarginY{&Link, 1, oeLayout, 0, 20};
    TColorOption TextBkColor{&Link, clWindow, oeRepaint};
    TBoolOption TextListAutoLoad{&Link, false, oeRepaint};
    TBoolOption TextListAddFilter{&Link, true, oeRepaint};
    TOptionTextFilterType TextFilterType = oftAnyPos;
    QChar TextFilterLikeChar;
    QString TextFilterLikeOperator;
    // The style of the filter bar's edit box (the box follows).
    TGridOption<TComboBoxStyle> TextComboStyle{&Link, csDropDown, oeTextComboStyle};
    TBoolOption UseDatePartAsRange{&Link, true, oeRepaint};
    TBoolOption UseNumberPartAsRange{&Link, true, oeRepaint};
    QChar NumberPartWildChar = QLatin1Char('*');
    unsigned SetFilterDelay = 1000;
    TBoolOption FilterPanel{&Link, false, oeLayout};
    TColorOption FilterPanelColor{&Link, TColor(0xD6D6D6), oeRepaint};
    int FilterPanelComboMaxWidth = 0;
    // The panel's height follows (2 × padding + the edit box's height).
    TIntOption FilterPanelPaddingHeight{&Link, 2, oeFilterPanelPadding};
    // The height of the bar's edit box (21 until the combo reports its own).
    int TextBarHeight = 21;
    // The height of the panel's edit box (21 until the combo reports its own).
    int FilterPanelComboHeight = 21;
    // Heights the title stack reserves for the filter text bar (margins scaled with the grid).
    int TextBarTopHeight() const { return TextBar && TextBarTopLayout ? Scaled(2 * TextMarginY) + TextBarHeight : 0; }
    int TextBarBottomHeight() const { return TextBar && !TextBarTopLayout ? Scaled(2 * TextMarginY) + TextBarHeight : 0; }
    int FilterPanelHeight() const { return FilterPanel ? 2 * FilterPanelPaddingHeight + FilterPanelComboHeight : 0; }
    // The wildcard and LIKE operator of text filters: the option, else the
    // grid's sorter's, else what the dataset utilities give for the dataset.
    QChar GetTextFilterLikeChar() const;
    QString GetTextFilterLikeOperator() const;
    const QString& FilterPanelButtonList() const { return FFilterPanelButtonList; }
    // Comma-separated image indexes; parts that are not numbers >= 0 are dropped.
    void SetFilterPanelButtonList(const QString& V);
    const std::vector<int>& FilterPanelButtonIndexes() const { return FFilterPanelButtonIndexes; }
    static int ClampMargin(int V) { return V < 0 ? 0 : V > 20 ? 20 : V; }
    TOptionsFilters() = default;
    TOptionsFilters(const TOptionsFilters&) = delete;
    TOptionsFilters& operator=(const TOptionsFilters& S);

private:
    int Scaled(int N) const;
    QString FFilterPanelButtonList;
    std::vector<int> FFilterPanelButtonIndexes;
};

struct TOptionsCellCondition {
    TOptionsLink Link;
    TBoolOption Active{&Link, false, oeRepaint};
    TOptionsCellCondition() = default;
    TOptionsCellCondition(const TOptionsCellCondition&) = delete;
    TOptionsCellCondition& operator=(const TOptionsCellCondition& S)
    {
        Active = S.Active;
        return *this;
    }
};

// Field groups of the grid. Switching Active on regroups the columns; the
// band height is GroupHeight().
struct TOptionsGroups {
    TOptionsLink Link;
    TBoolOption Active{&Link, false, oeGroupsActive};
    TBoolOption CanExpand{&Link, true, oeLayout};
    TBoolOption ShowMergedCell{&Link, false, oeLayout};
    TBoolOption AlwaysUseGroupColors{&Link, false, oeLayout};
    TIntOption GroupHeightPixels{&Link, 12, oeLayout, 0, 100};
    TIntOption MergeCellHeightPixels{&Link, 20, oeLayout, 0, 100};
    TIntOption CollapseBtnSize{&Link, 10, oeRepaint, 0, 20};
    TIntOption GroupLineWidth{&Link, 1, oeRepaint, 1, 10};
    TOptionsGroups() = default;
    TOptionsGroups(const TOptionsGroups&) = delete;
    TOptionsGroups& operator=(const TOptionsGroups& S);
};

struct TOptionsHighlightText {
    TOptionsLink Link;
    TBoolOption Active{&Link, false, oeRepaint};
    QString HighlightText;
    TColorOption FontColor{&Link, clNone, oeRepaint};
    TColorOption BkColor{&Link, TColor(0x00FFFF), oeRepaint};
    TBoolOption Bold{&Link, false, oeRepaint};
    QStringList HighlightInFields;
    TOptionsHighlightText() = default;
    TOptionsHighlightText(const TOptionsHighlightText&) = delete;
    TOptionsHighlightText& operator=(const TOptionsHighlightText& S);
};

struct TOptionsEx2 {
    TOptionsAppearance Appearance;
    TOptionsEditors Editors;
    TOptionsFixedCell FixedCell;
    TOptionsFilters Filters;
    TOptionsGroups Groups;
    TOptionsCellCondition CellCondition;
    TOptionsHighlightText HighlightText;
    // Links the seven objects to their grid.
    void SetGrid(TrDBGrid* Grid);
    TOptionsEx2() = default;
    TOptionsEx2(const TOptionsEx2&) = delete;
    TOptionsEx2& operator=(const TOptionsEx2& S);
};
