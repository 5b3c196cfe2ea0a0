// The grid's sorter components: building the sort texts, asking the dataset
// for the index, and requerying a dataset while keeping its current record.

#include "components/grid/rDBGridSorter.h"

#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridTexts.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"

namespace {

// Restores the screen cursor on every exit path.
class TCursorScope {
public:
    explicit TCursorScope(TCursor Previous) : FOld(Previous) {}
    ~TCursorScope() { ChCursor(FOld); }

private:
    TCursor FOld;
};

}  // namespace

TrDBGridCustomSorter::TrDBGridCustomSorter(TComponent* AOwner) : TComponent(AOwner) {}

void TrDBGridCustomSorter::BracketFieldName(QString& FieldName)
{
    if (FieldName.contains(QLatin1Char(' ')))
        FieldName = QLatin1Char('[') + FieldName + QLatin1Char(']');
}

bool TrDBGridCustomSorter::SetSort_CreateIndex(TDataSet*, const QString&, const QString&, const QString&)
{
    return false;
}

void TrDBGridCustomSorter::DatasetRequery(TDataSet* DataSet)
{
    DataSet->Close();
    DataSet->Open();
}

bool TrDBGridCustomSorter::DoSort(TrDBGrid* Sender, TDataSet* DataSet, const TSortFieldNames& SortFieldNames,
                                  const TSortDirections& SortDirections)
{
    (void)Sender;
    // 1. Only an open dataset that is not being edited.
    if (!DataSet || !DataSet->Active() || IsEditing(DataSet))
        return false;
    // 2. The wait cursor for the whole sort.
    TCursorScope cursor(SQLCursor());
    try {
        // 3. The sort string, the descending fields and the field list.
        QString s, e, l;
        for (int i = 0; i < SortFieldNames.size(); ++i) {
            TField* f = DataSet->FindField(SortFieldNames[i]);
            if (!f || !IsSimpleField(f) || f->FieldKind() == fkCalculated || f->FieldKind() == fkInternalCalc)
                return false;
            QString name = f->FieldKind() == fkLookup ? f->KeyFields : f->FieldName();
            BracketFieldName(name);
            s += (s.isEmpty() ? QString() : SortStringSeparator) + name;
            l += (l.isEmpty() ? QString() : SortFieldSeparator) + name;
            if (size_t(i) < SortDirections.size() && SortDirections[size_t(i)]) {
                s += QLatin1Char(' ') + DescendingString;
                e += (e.isEmpty() ? QString() : SortFieldSeparator) + name;
            }
        }
        FLastSortString = s;
        // 4. The index, then back to the record (or to the first one).
        const TBookmark bm = DataSet->GetBookmark();
        const bool result = SetSort_CreateIndex(DataSet, s, e, l);
        if (GoToFirstAfterSort)
            DataSet->First();
        else if (DataSet->BookmarkValid(bm))
            DataSet->GotoBookmark(bm);
        return result;
    } catch (const Exception& E) {
        // 5. An index the dataset refuses (or any other failure) is reported; nothing is sorted.
        ShowErr(libtxt::ErrorDescription, E, false);
        return false;
    }
}

void TrDBGridCustomSorter::DoRefresh(TrDBGrid* Sender, TDataSet* DataSet)
{
    (void)Sender;
    if (!DataSet || !DataSet->Active())
        return;
    TCursorScope cursor(SQLCursor());
    const TBookmark bm = DataSet->GetBookmark();
    DatasetRequery(DataSet);
    if (!DataSet->BookmarkValid(bm))
        return;
    if (GoToFirstAfterRefresh) {
        DataSet->First();
        return;
    }
    try {
        DataSet->GotoBookmark(bm);
    } catch (const Exception&) {
        DataSet->Last();
    }
}

bool TrDBGridSorter_FireDac::SetSort_CreateIndex(TDataSet* DataSet, const QString& SortString, const QString& DescFields,
                                                 const QString& Fields)
{
    (void)SortString;
    // The dataset's index language separates fields by ";" and knows no brackets.
    auto plain = [](QString t) { return t.remove(QLatin1Char('[')).remove(QLatin1Char(']')); };
    if (Fields.trimmed().isEmpty()) {
        DataSet->SetIndexName(QString());
        return true;
    }
    const QString name = Fields + QLatin1Char('_') + DescFields;
    bool known = false;
    for (const TIndexDef& d : DataSet->IndexDefs())
        known = known || d.Name.compare(name, Qt::CaseInsensitive) == 0;
    if (!known)
        DataSet->AddIndex(name, plain(Fields), plain(DescFields));
    DataSet->SetIndexName(name);
    return true;
}
