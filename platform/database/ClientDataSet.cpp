#include "platform/database/ClientDataSet.h"

void TClientDataSet::EmptyDataSet()
{
    if (!Active())
        return;
    Cancel();
    while (!IsEmpty()) {
        First();
        Delete();
    }
}

void TClientDataSet::AppendRecord(const QVariantList& Values)
{
    Append();
    for (int i = 0; i < Values.size() && i < FieldCount(); ++i)
        Fields()[i]->SetAsVariant(Values[i]);
    Post();
}
