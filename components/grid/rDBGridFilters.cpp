// The grid's column-filter operations: the public calls hand their work to
// the filter bar and the column filter store through the virtual operations
// a descendant grid may replace.

#include "components/grid/rDBGrid.h"

#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"

void TrDBGrid::ShowFunnelFilter(TColumn* Column)
{
    TrDBGridFilterBar::Of(this)->ShowFunnelFilter(Column);
}

void TrDBGrid::ShowTextFilter(TColumn* Column)
{
    TrDBGridFilterBar::Of(this)->ShowTextFilter(Column);
}

void TrDBGrid::SetTextFilter(TColumn* Column, const QString& FilterText, bool ActivateFilter)
{
    TrDBGridFilterBar::Of(this)->SetTextFilter(Column, FilterText, ActivateFilter);
}

bool TrDBGrid::DefineColumnFilter(const QString& FieldName, const QString& FilterCondition, const QString& TextFilterValue,
                                  bool ActivateFilter)
{
    const bool result = TrDBGridColumnFilters::Of(this)->DefineColumnFilter(FieldName, FilterCondition, TextFilterValue, ActivateFilter);
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this))
        bar->ResetFilterDlgLastColIdx();
    return result;
}

QString TrDBGrid::GetColumnFilterString()
{
    return TrDBGridColumnFilters::Of(this)->GetColumnFilterString();
}

void TrDBGrid::ResetFilter()
{
    TrDBGridFilterBar::Of(this)->FilterComboHide(true, true);
}

void TrDBGrid::FilterChangedNotification()
{
    // Marks the fields the dataset's filter names, then DoFilterChange.
    TrDBGridColumnFilters::Of(this)->RefreshFilteredFieldNames();
}

const std::vector<TColumnStoredProp>& TrDBGrid::ColumnFilters()
{
    return TrDBGridColumnFilters::Of(this)->ColumnFilters();
}

TrComboBoxExFilter* TrDBGrid::FilterCombo() const
{
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this);
    return bar ? bar->FilterCombo() : nullptr;
}

TrComboBoxExFilter* TrDBGrid::FilterPanelCombo() const
{
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this);
    return bar ? bar->FilterPanelCombo() : nullptr;
}

void TrDBGrid::IntShowFilterDlg(int RawCol)
{
    TrDBGridFilterBar::Of(this)->OpenFunnelForm(RawCol);
}

void TrDBGrid::DoFilterChange()
{
    TrDBGridColumnFilters::Of(this)->FilterChanged();
    if (OnFilterChanged)
        OnFilterChanged(this);
}

bool TrDBGrid::IntProcFilterBarFilter(TField* Field, const QString& Text)
{
    return TrDBGridColumnFilters::Of(this)->ApplyBarText(Field, Text);
}

bool TrDBGrid::IntSetFilterForField(TField* Fld, TField* MappingFld, const QString& FilterString, bool MultiFieldFilter,
                                    bool SetFilter, bool ShowError)
{
    const bool result =
        TrDBGridColumnFilters::Of(this)->StoreFieldFilter(Fld, MappingFld, FilterString, MultiFieldFilter, SetFilter, ShowError);
    if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(this))
        bar->ResetFilterDlgLastColIdx();
    return result;
}
