#pragma once
// TClientDataSet: a dataset whose rows live only in memory. Fields are added
// before CreateDataSet; rows are inserted, edited and deleted like any
// dataset's and disappear when it closes.

#include "platform/database/DataSet.h"

#include <QVariantList>

class TClientDataSet : public TDataSet {
public:
    explicit TClientDataSet(TComponent* AOwner = nullptr) : TDataSet(AOwner) {}
    // Opens the dataset empty with the fields added so far.
    void CreateDataSet() { Open(); }
    // Removes every row.
    void EmptyDataSet();
    // Appends a posted row from values in field order (AsVariant kinds).
    void AppendRecord(const QVariantList& Values);

protected:
    void InternalOpen() override {}
};
