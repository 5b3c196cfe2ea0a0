#pragma once
// Lets an in-memory dataset act as the detail of another: on every move of
// the master it shows only the rows whose DetailField equals the master's
// MasterField (what a detail query does with its master source).

#include "platform/database/DataSource.h"

#include <QString>

class TDetailFilterLink : public TDataLink {
public:
    TDetailFilterLink(TDataSource* Master, TDataSet* Detail, const QString& MasterField, const QString& DetailField)
        : FDetail(Detail), FMasterField(MasterField), FDetailField(DetailField)
    {
        SetDataSource(Master);
        Apply();
    }
    ~TDetailFilterLink() override { SetDataSource(nullptr); }

protected:
    void ActiveChanged() override { Apply(); }
    void DataSetChanged() override { Apply(); }

private:
    void Apply()
    {
        TDataSet* m = DataSet();
        if (!FDetail->Active())
            return;
        const QString v = m && m->Active() && !m->IsEmpty() ? m->FieldByName(FMasterField)->AsString() : QStringLiteral("-1");
        FDetail->SetFilter(FDetailField + QLatin1Char('=') + (v.isEmpty() ? QStringLiteral("-1") : v));
        FDetail->SetFiltered(true);
    }
    TDataSet* FDetail;
    QString FMasterField;
    QString FDetailField;
};
