#include "components/dbcontrols/DataItemDefs.h"

#include "components/dbcontrols/TrDBTreeView.h"
#include "platform/database/DataSource.h"

#include <QDateTime>

TDataItemDef::TDataItemDef(TDataItemDefs* ACollection)
    : FCollection(ACollection), FSubDataItemDefs(std::make_unique<TDataItemDefs>(ACollection ? ACollection->rDBTreeView : nullptr))
{
}

TDataItemDef::~TDataItemDef() = default;

int TDataItemDef::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

TrDBTreeView* TDataItemDef::GetTreeView() const { return FCollection ? FCollection->rDBTreeView : nullptr; }

TDataSet* TDataItemDef::DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }

void TDataItemDef::SetDataSource(TDataSource* Value)
{
    if (FDataSource == Value)
        return;
    TrDBTreeView* t = GetTreeView();
    // The tree hears of the source's end, so no level keeps a dangling source.
    // The old registration stays: another level may still use that source.
    FDataSource = Value;
    if (FDataSource && t)
        FDataSource->FreeNotification(t);
    Changed();
}

void TDataItemDef::RemoveDataSourceLink(TComponent* Source)
{
    if (FDataSource && static_cast<TComponent*>(FDataSource) == Source)
        SetDataSource(nullptr);
    for (int i = 0; i < FSubDataItemDefs->Count(); ++i)
        FSubDataItemDefs->GetDataItemDef(i)->RemoveDataSourceLink(Source);
}

void TDataItemDef::Changed()
{
    if (TrDBTreeView* t = GetTreeView())
        t->RefreshData(true, false);
}

TDataItemDef* TDataItemDefs::Add()
{
    BeginUpdate();
    FItems.push_back(std::make_unique<TDataItemDef>(this));
    TDataItemDef* d = FItems.back().get();
    EndUpdate();
    return d;
}

void TDataItemDefs::Delete(int Index)
{
    FItems.erase(FItems.begin() + Index);
    Update();
}

void TDataItemDefs::Clear()
{
    FItems.clear();
    Update();
}

int TDataItemDefs::IndexOf(const TDataItemDef* Item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == Item)
            return int(i);
    return -1;
}

void TDataItemDefs::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Update();
}

void TDataItemDefs::Update()
{
    if (FUpdateCount > 0 || !rDBTreeView || rDBTreeView->Loading())
        return;
    rDBTreeView->RefreshData(true, false);
}

bool VarEquals(const QVariant& A, const QVariant& B)
{
    if (!A.isValid() || !B.isValid() || A.isNull() || B.isNull())
        return false;
    const auto numeric = [](const QVariant& V) {
        switch (V.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
            return true;
        default:
            return false;
        }
    };
    if (numeric(A) && numeric(B)) {
        const bool integral = A.typeId() != QMetaType::Double && A.typeId() != QMetaType::Float && B.typeId() != QMetaType::Double &&
                              B.typeId() != QMetaType::Float;
        return integral ? A.toLongLong() == B.toLongLong() : A.toDouble() == B.toDouble();
    }
    if (numeric(A) != numeric(B)) {
        // A number against a text: equal when the text reads as that number.
        const QVariant& n = numeric(A) ? A : B;
        const QVariant& s = numeric(A) ? B : A;
        if (s.typeId() != QMetaType::QString)
            return false;
        bool ok = false;
        const double d = s.toString().trimmed().toDouble(&ok);
        return ok && d == n.toDouble();
    }
    return A == B;
}
