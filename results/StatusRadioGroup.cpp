#include "results/StatusRadioGroup.h"

#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"

TStatusRadioGroup::TStatusRadioGroup(TComponent* AOwner) : TGroupBox(AOwner) {}

void TStatusRadioGroup::SetItems(const QStringList& Items, const QStringList& Values, int Columns)
{
    FValues = Values;
    const int rows = (int(Items.size()) + Columns - 1) / Columns;
    const int w = (Width() - 16) / Columns;
    for (int i = 0; i < Items.size(); ++i) {
        auto* b = new TRadioButton(this);
        b->SetParent(this);
        b->SetCaption(Items[i]);
        b->SetBounds(8 + (i / rows) * w, 20 + (i % rows) * 22, w - 4, 20);
        b->OnClick = [this, i](TComponent*) {
            if (i != FItemIndex)
                ChooseItem(i);
        };
        FButtons.push_back(b);
    }
}

void TStatusRadioGroup::SetItemIndex(int Index)
{
    FItemIndex = Index >= 0 && Index < int(FButtons.size()) ? Index : -1;
    for (int i = 0; i < int(FButtons.size()); ++i)
        FButtons[size_t(i)]->SetChecked(i == FItemIndex);
}

QString TStatusRadioGroup::Value() const
{
    return FItemIndex >= 0 ? FValues.value(FItemIndex) : QString();
}

void TStatusRadioGroup::Bind(TDataSet* DataSet, const QString& FieldName)
{
    FDataSet = DataSet;
    FFieldName = FieldName;
}

void TStatusRadioGroup::ShowFieldValue()
{
    if (!FDataSet || !FDataSet->Active() || FDataSet->IsEmpty()) {
        SetItemIndex(-1);
        return;
    }
    SetItemIndex(int(FValues.indexOf(FDataSet->FieldByName(FFieldName)->AsString().trimmed())));
}

void TStatusRadioGroup::ChooseItem(int Index)
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, Index, allow);
    if (!allow) {
        SetItemIndex(FItemIndex);
        return;
    }
    SetItemIndex(Index);
    if (FDataSet && FDataSet->Active() && !FDataSet->IsEmpty()) {
        if (FDataSet->State() != dsEdit && FDataSet->State() != dsInsert)
            FDataSet->Edit();
        FDataSet->FieldByName(FFieldName)->SetAsString(Value());
    }
}
