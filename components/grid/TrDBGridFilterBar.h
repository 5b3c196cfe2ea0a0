#pragma once
// The column filters as the user meets them on the grid: the filter bar (a
// text line in every filterable title, edited in a combo box that floats over
// it and applies its text after a typing pause), the funnel button in the
// titles (opens the value list of the column) and the filter panel under the
// rows (the dataset's whole filter text, editable, with a history). All three
// feed the grid's column filter store.

#include "components/base/rComboBoxEx.h"
#include "platform/rtl/Component.h"
#include "platform/ui/Types.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class TrDBGrid;
class TColumn;
class TField;
class TDataSet;
class TrDBGridColumnFilters;
class TrDBGridFilterForm;

// The bar's and the panel's edit box.
class TrComboBoxExFilter : public TrComboBoxEx {
public:
    TrComboBoxExFilter(TrDBGrid* Grid, bool Panel);
    // A press on another control closes the box (the bar's text is applied first).
    void CancelMode(TControl* Sender);
    TrDBGrid* Gr;
    bool FilterPanel;
};

class TrDBGridFilterBar : public TComponent {
public:
    explicit TrDBGridFilterBar(TrDBGrid* Grid);
    // The grid's bar, made on first use (named "FilterBar").
    static TrDBGridFilterBar* Of(TrDBGrid* Grid);
    // The bar when the grid has one already (painting asks without making it).
    static TrDBGridFilterBar* Find(const TrDBGrid* Grid);

    TrComboBoxExFilter* FilterCombo() const { return FCombo; }
    TrComboBoxExFilter* FilterPanelCombo() const { return FPanelCombo; }
    TrDBGridFilterForm* FunnelForm() const { return FFunnel; }
    int EditColumnIndex() const { return FEditColumnIndex; }
    bool EditChanged() const { return FEditChanged; }

    // Field name (upper case) = the bar texts used before in that column.
    std::map<QString, QStringList> TextValueList;
    // The filter events (OnLoadFilterList, OnSetColumnFilter, OnLoadFunnelFilter,
    // OnFilterPanelButtonClick) are the grid's own.

    // ---- which columns filter ----
    bool IsFilterColumn(int DataCol, bool AllowLookupField) const;
    bool IsFunnelButtonColumn(int DataCol) const;
    bool IsFilterTextBarColumn(int DataCol) const;
    bool IsFilterFieldActive(const QString& FieldName) const;

    // ---- geometry ----
    TRect FilterComboRect(const TRect& CellRect, bool UseMargin) const;
    TRect FunnelRect(const TRect& CellRect) const;
    TRect ClearButtonRect(const TRect& BarRect) const;
    // The room the funnel takes at the right of a title's text.
    int TitleReservedWidth(TColumn* Column) const;
    TRect FilterPanelRect() const;
    TRect FilterPanelComboRect() const;
    TRect FilterPanelButtonRect(int Index) const;

    // ---- painting (called by the grid) ----
    void DrawTitle(int ACol, const TRect& CellRect, TColumn* Column);
    void DrawFilterPanel();

    // ---- mouse: a press on one of the bar's elements is the bar's (true);
    // the element acts on the release (MouseUp, true when it took it) ----
    bool MouseDown(int X, int Y);
    bool MouseUp(int X, int Y);

    // ---- the bar ----
    void ShowTextFilter(TColumn* Column);
    void SetTextFilter(TColumn* Column, const QString& FilterText, bool ActivateFilter);
    void FilterComboShow(const TRect& R, int DataCol);
    void FilterComboHide(bool ClearAllValues, bool ClearAllFilters);
    void FilterComboRefreshBounds();
    void ReactivateFilter();
    // Applies the pending bar text (what the typing pause, Enter, a list
    // pick and leaving the box do).
    void FilterComboUpdateTimer();
    bool FilterComboMoveToNextCol(bool Prev);

    // ---- the funnel ----
    void ShowFunnelFilter(TColumn* Column);
    // Goes through the grid's IntShowFilterDlg, whose own version opens the form.
    void IntShowFilterDlg(int RawCol);
    void OpenFunnelForm(int RawCol);
    void CancelMode(TrComboBoxExFilter* Combo, TControl* Sender);
    int FilterDlgLastColIdx() const { return FFilterDlgLastColIdx; }
    void ResetFilterDlgLastColIdx() { FFilterDlgLastColIdx = -1; }

    // ---- the panel ----
    void FilterPanelComboShow();
    bool FilterPanelApply(const QString& Text);
    void FilterPanelUpdateFilterList();
    void FilterPanelButtonClick(int Index);

    // After every change of the grid's filter: the panel's history and the
    // grid's filter-changed event.
    void DoFilterChange();

private:
    // The element under the point: only found (Act false) or clicked.
    bool Element(int X, int Y, bool Act);
    // Off when filtered, else the last filter again.
    void ToggleFilter();
    TrDBGridColumnFilters* Store() const;
    TField* EditField() const;
    void FilterListLoadValues(TField* F, QStringList& List);
    void FilterComboRefreshColor();
    // A key that is a shortcut of the grid's menu runs it (true) instead of being typed.
    bool MenuShortcut(Word& Key, TShiftState Shift);
    void ComboKeyDown(Word& Key, TShiftState Shift);
    void ComboExit();
    void PanelKeyDown(Word& Key, TShiftState Shift);
    TrDBGrid* FGrid;
    TrComboBoxExFilter* FCombo = nullptr;
    TrComboBoxExFilter* FPanelCombo = nullptr;
    TrDBGridFilterForm* FFunnel = nullptr;
    bool FFunnelOpenAtPress = false;
    int FEditColumnIndex = -1;
    bool FEditChanged = false;
    bool FSettingText = false;
    int FFilterDlgLastColIdx = -1;
    TColor FComboFontColor = clWindowText;
};
