#pragma once
// Small types the data grid shares with its sorter, editor, action module
// and the export engines: width modes, search conditions, sort lists and the
// option objects. The general event, its record and the per-cell data image
// definition are the string grid's, shared by both grids.

#include "components/stringgrid/rStringGridEdTypes.h"  // TGeneralEventType, TGeneralEventRec, TDataImageDef
#include "platform/ui/Graphics.h"
#include "platform/ui/Types.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class TColumn;
class TField;

enum TColumnWidth { cwNone, cwDefaultWidth, cwSameWidth, cwAutoWidth, cwDataWidth, cwLabelWidth, cwDataLabelWidth, cwHideEmptyCol };
enum TLookupCondition { lcNever, lcBrowse, lcNotEdit, lcBrowseFilter, lcNotEditFilter };
enum TOptionsBlobType { obtNone, obtGlyph, obtContent };

using TSortFieldNames = QStringList;
using TSortDirections = std::vector<bool>;  // true = descending

// ---- option objects ----

struct TOptionsAppearance {
    bool ActiveRowGradient = false;
    int ActiveRowOriginalColorShadowLuminance = 60;
    bool SkipCellHighlight = false;
    bool DrawRowFocus = false;
    bool DrawColoredRow = false;
    bool HighlightMultiselect = true;
    bool StandardTabKey = false;
    bool ReturnAsTabKey = false;
    int HintMaxLength = 2000;
    int ColumnMinWidth = 40;
    int ColumnMaxWidth = 200;
    int ColumnWidthMaxRecordsSearch = 2000;
    unsigned LookupResetDelay = 2500;
    TColor DataRowLineColor = clNone, DataColLineColor = clNone, TitleRowLineColor = clNone, TitleColLineColor = clNone;
    TPenStyle DataRowLineStyle = psSolid, DataColLineStyle = psSolid, TitleRowLineStyle = psSolid, TitleColLineStyle = psSolid;
    bool DataRowInFixedColsAsTitle = false;
    bool ColumnFontStyleColor = false;
    bool TitleFontStyleColor = false;
    bool DragCell = false;
    bool DragToScrollData = false;
};

struct TOptionsEditors {
    bool BoolGlyphs = true;
    bool BoolOneClickChange = false;
    bool BoolAutoSave = false;
    bool BoolAllowsNull = false;
    TOptionsBlobType Memo = obtGlyph;
    TOptionsBlobType Graphic = obtGlyph;
    bool DateTimePicker = true;
    bool OnlyPickListValues = false;
    int TextAsMemoSize = 0;
    bool AllowPasteMultipleCells = false;
    bool AllowReadOnlyButton = false;
    bool AllowLookupFilter = false;
    bool AutoDropDown = false;
    bool AutoPickListWidth = true;
    bool BlockInsertByKey = false;
};

struct TOptionsFixedCell {
    bool TitleExBtn = true;
    bool TitleExBtnHintRecCount = false;
    bool TitleBtn = true;
    bool FixedColBtn = true;
    bool TitlePopup = true;
    bool TitlePopupDistinctValues = false;
    int TitleImageSpace = 3;
    int TitleTextMinWidth = 16;
    int FixedCols = 0;  // stored value; read and written through the grid
    QString TitleTextSeparators = QStringLiteral(" ._-/\\@#$&|");
    QString TitleForceWrapSeparators;
    bool TitleTextCaseSeparator = true;
    bool RotateTitleText = false;
    TColor FixedColColor = clNone;
    bool FixedColParentFont = true;
    TFont FixedColFont;
};

enum TOptionTextFilterType { oftAnyPos, oftStartPos, oftExactValue, oftAnyPosForNoLikeChar };

struct TOptionsFilters {
    bool FunnelBtn = false;
    bool FunnelBtnActiveOnly = false;
    bool MultiFieldFilter = false;
    bool TextBar = false;
    bool TextBarTopLayout = false;
    int TextMarginX = 2;  // 0..20
    int TextMarginY = 1;  // 0..20
    TColor TextBkColor = clWindow;
    bool TextListAutoLoad = false;
    bool TextListAddFilter = true;
    TOptionTextFilterType TextFilterType = oftAnyPos;
    QChar TextFilterLikeChar;
    QString TextFilterLikeOperator;
    bool UseDatePartAsRange = true;
    bool UseNumberPartAsRange = true;
    QChar NumberPartWildChar = QLatin1Char('*');
    unsigned SetFilterDelay = 1000;
    bool FilterPanel = false;
    TColor FilterPanelColor = 0xD6D6D6;
    int FilterPanelComboMaxWidth = 0;
    int FilterPanelPaddingHeight = 2;
    // The height of the bar's edit box (21 until the combo reports its own).
    int TextBarHeight = 21;
    // Heights the title stack reserves for the filter text bar.
    int TextBarTopHeight() const { return TextBar && TextBarTopLayout ? 2 * TextMarginY + TextBarHeight : 0; }
    int TextBarBottomHeight() const { return TextBar && !TextBarTopLayout ? 2 * TextMarginY + TextBarHeight : 0; }
    int FilterPanelHeight() const { return FilterPanel ? 2 * FilterPanelPaddingHeight + 21 : 0; }
    const QString& FilterPanelButtonList() const { return FFilterPanelButtonList; }
    // Comma-separated image indexes; parts that are not numbers >= 0 are dropped.
    void SetFilterPanelButtonList(const QString& V)
    {
        FFilterPanelButtonList = V;
        FFilterPanelButtonIndexes.clear();
        for (const QString& p : V.split(QLatin1Char(','))) {
            bool ok = false;
            const int i = p.trimmed().toInt(&ok);
            if (ok && i >= 0)
                FFilterPanelButtonIndexes.push_back(i);
        }
    }
    const std::vector<int>& FilterPanelButtonIndexes() const { return FFilterPanelButtonIndexes; }
    static int ClampMargin(int V) { return V < 0 ? 0 : V > 20 ? 20 : V; }

private:
    QString FFilterPanelButtonList;
    std::vector<int> FFilterPanelButtonIndexes;
};

struct TOptionsCellCondition {
    bool Active = false;
};

// Field groups of the grid. Change Active and ShowMergedCell through the
// grid (SetGroupsActive, SetGroupsShowMergedCell) so the columns are
// regrouped and the title height follows; the band height is GroupHeight().
struct TOptionsGroups {
    bool Active = false;
    bool CanExpand = true;
    bool ShowMergedCell = false;
    bool AlwaysUseGroupColors = false;
    int GroupHeightPixels = 12;
    int MergeCellHeightPixels = 20;
    int CollapseBtnSize = 10;
    int GroupLineWidth = 1;
};

struct TOptionsHighlightText {
    bool Active = false;
    QString HighlightText;
    TColor FontColor = clNone;
    TColor BkColor = 0x00FFFF;
    bool Bold = false;
    QStringList HighlightInFields;
};

struct TOptionsEx2 {
    TOptionsAppearance Appearance;
    TOptionsEditors Editors;
    TOptionsFixedCell FixedCell;
    TOptionsFilters Filters;
    TOptionsGroups Groups;
    TOptionsCellCondition CellCondition;
    TOptionsHighlightText HighlightText;
};
