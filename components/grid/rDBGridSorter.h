#pragma once
// Sorter components of the data grid. A sorter turns the grid's sort (its
// fields and directions) into a sort string, a list of descending fields and
// a field list, asks the dataset for an index of that order, and requeries a
// dataset keeping the current record. TrDBGridSorter_FireDac is the one the
// program's windows place: it builds a named index on the dataset, one per
// distinct sort, and keeps it for the dataset's lifetime.

#include "components/grid/rDBGridTypes.h"
#include "platform/rtl/Component.h"

#include <QString>

class TDataSet;
class TrDBGrid;

class TrDBGridCustomSorter : public TComponent {
public:
    explicit TrDBGridCustomSorter(TComponent* AOwner);
    bool GoToFirstAfterSort = false;
    bool GoToFirstAfterRefresh = false;

    virtual void BracketFieldName(QString& FieldName);
    // Applies the ordering; false when the dataset cannot be sorted so.
    virtual bool SetSort_CreateIndex(TDataSet* DataSet, const QString& SortString, const QString& DescFields, const QString& Fields);
    virtual void DatasetRequery(TDataSet* DataSet);
    virtual bool DoSort(TrDBGrid* Sender, TDataSet* DataSet, const TSortFieldNames& SortFieldNames, const TSortDirections& SortDirections);
    // Requeries an open dataset keeping its current record (and its sort).
    virtual void DoRefresh(TrDBGrid* Sender, TDataSet* DataSet);
    virtual QChar GetFilterWildCardChar() { return QChar(); }
    virtual QString GetFilterLikeOperator() { return QString(); }

    // The texts the last DoSort built (for sorters of other datasets and tests).
    const QString& LastSortString() const { return FLastSortString; }

protected:
    QString SortFieldSeparator = QStringLiteral("; ");
    QString SortStringSeparator = QStringLiteral(", ");
    QString DescendingString = QStringLiteral("DESC");

private:
    QString FLastSortString;
};

class TrDBGridSorter_FireDac : public TrDBGridCustomSorter {
public:
    explicit TrDBGridSorter_FireDac(TComponent* AOwner) : TrDBGridCustomSorter(AOwner) {}
    bool SetSort_CreateIndex(TDataSet* DataSet, const QString& SortString, const QString& DescFields, const QString& Fields) override;
    QChar GetFilterWildCardChar() override { return QLatin1Char('%'); }
    QString GetFilterLikeOperator() override { return QStringLiteral("LIKE"); }
};
