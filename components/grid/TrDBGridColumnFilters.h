#pragma once
// The grid's store of column filters: one condition per field, joined with
// AND into the dataset's filter, fed by the filter bar's small language
// (parts joined by "&" and "|", operators "<", ">", "=", wildcards, number
// and date ranges, "(null)"/"(not null)") and by programmatic calls. The
// grid's filtered-field list follows every change.

#include "components/grid/rDBGridTypes.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/StringList.h"

#include <QString>
#include <functional>
#include <vector>

class TrDBGrid;
class TField;
class TDataSet;

// Owned by its grid (named "ColumnFilters"), so it lives exactly as long.
class TrDBGridColumnFilters : public TComponent {
public:
    explicit TrDBGridColumnFilters(TrDBGrid* Grid);
    // The grid's store, made on first use.
    static TrDBGridColumnFilters* Of(TrDBGrid* Grid);
    // The grid's store when it has one already.
    static TrDBGridColumnFilters* Find(const TrDBGrid* Grid);
    // Forgets the stored conditions (the dataset's filter is left alone).
    void Clear() { FStore.clear(); }

    const std::vector<TColumnStoredProp>& ColumnFilters() const { return FStore; }
    // Field name = the bar text shown in that column's title.
    TStringList EditValues;
    // Field name = "E" when the bar text gave no condition or its filter failed.
    TStringList EditStatuses;
    std::function<void()> OnFilterChanged;

    // Restores one stored column filter; false when the dataset has no such field.
    bool DefineColumnFilter(const QString& FieldName, const QString& FilterCondition, const QString& TextFilterValue,
                            bool ActivateFilter);
    // The joined store; also rebuilds the grid's filtered-field names.
    QString GetColumnFilterString();
    // Both go through the grid's virtual operations (a descendant grid may
    // replace them); the grid's own versions call StoreFieldFilter / ApplyBarText.
    bool SetFilterForField(TField* Fld, const QString& FilterString, bool MultiFieldFilter, bool SetFilter, bool ShowError);
    bool ProcFilterBarFilter(TField* Field, const QString& Text);
    // One field's condition into the store (nil: all off); the bar text of
    // MappingFld (the column shown) goes with a blank condition.
    bool StoreFieldFilter(TField* Fld, TField* MappingFld, const QString& FilterString, bool MultiFieldFilter, bool SetFilter,
                          bool ShowError);
    // Applies a filter-bar text typed into the column of Field; a blank text
    // removes that column's filter. False when the text gave no condition or
    // the dataset refused the filter.
    bool ApplyBarText(TField* Field, const QString& Text);
    // What every filter change brings: the panel's history, the footer's and
    // the cell conditions' summaries, OnFilterChanged.
    void FilterChanged();
    // The condition of a bar text for Field (empty: none), without applying it.
    QString BarTextCondition(TField* Field, const QString& Text) const;
    // After the dataset's filter was changed by other means: the fields named
    // in it (outside quoted values) become the grid's filtered fields.
    void RefreshFilteredFieldNames();
    // Empties the store and the bar texts and switches the filter off.
    void ResetFilter();

private:
    QString PartCondition(TField* F, const QString& Part) const;
    QString NumberCondition(TField* F, const QString& Value) const;
    QString DateCondition(TField* F, const QString& Op, const QString& Value) const;
    QString TextCondition(TField* F, QString Op, QString Value) const;
    void Changed();
    TrDBGrid* FGrid;
    std::vector<TColumnStoredProp> FStore;
};
