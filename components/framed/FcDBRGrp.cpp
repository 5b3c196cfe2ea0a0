#include "components/framed/FcDBRGrp.h"

#include "platform/database/Fields.h"

TFcDBRadioGroup::TFcDBRadioGroup(TComponent* AOwner) : TDBFieldControl<TFcCustomRadioGroup>(AOwner)
{
    FDataLink.OnDataChange = [this](TFieldDataLink*) { DataChange(); };
    FDataLink.OnActiveChange = [this](TFieldDataLink*) {
        // 8. usable only while the link is active
        SetEnabled(FDataLink.Active());
        DataChange();
    };
    FDataLink.OnUpdateData = [this](TFieldDataLink*) { UpdateData(); };
}

TFcDBRadioGroup::~TFcDBRadioGroup()
{
    FDataLink.OnDataChange = nullptr;
    FDataLink.OnActiveChange = nullptr;
    FDataLink.OnUpdateData = nullptr;
    FDataLink.SetDataSource(nullptr);
}

void TFcDBRadioGroup::SetValues(const QStringList& Value)
{
    FValues = Value;
    DataChange();
}

void TFcDBRadioGroup::SetItems(const QStringList& Value)
{
    TFcCustomRadioGroup::SetItems(Value);
    DataChange();
}

void TFcDBRadioGroup::AddItemValue(const QString& Item, const QString& Value)
{
    FValues.append(Value);
    QStringList items = Items();
    items.append(Item);
    SetItems(items);
}

void TFcDBRadioGroup::SetReadOnly(bool Value)
{
    TFcCustomRadioGroup::SetReadOnly(Value);
    FDataLink.SetReadOnly(Value);
}

QString TFcDBRadioGroup::GetButtonValue(int Index) const
{
    // 1. the value of an item, else its caption
    if (Index < FValues.size() && !FValues.at(Index).isEmpty())
        return FValues.at(Index);
    if (Index < Items().size())
        return Items().at(Index);
    return QString();
}

void TFcDBRadioGroup::SetValue(const QString& Value)
{
    // 2. the first item whose value is the same text, case counting
    int found = -1;
    for (int i = 0; i < ButtonCount(); ++i)
        if (GetButtonValue(i) == Value) {
            found = i;
            break;
        }
    if (Value == FValue && found == FItemIndex)
        return;
    FInSetValue = true;
    try {
        const bool hadFocus = FItemIndex >= 0 && Buttons(FItemIndex)->Focused();
        SetItemIndex(found);
        if (hadFocus && found >= 0 && Buttons(found)->CanFocus())
            Buttons(found)->SetFocus();
    } catch (...) {
        FInSetValue = false;
        throw;
    }
    FInSetValue = false;
    FValue = Value;
    Change();
}

void TFcDBRadioGroup::Change()
{
    if (OnChange)
        OnChange(this);
}

void TFcDBRadioGroup::DataChange()
{
    // 3.
    if (ComponentState() & csDestroying)
        return;
    TField* f = FDataLink.Field();
    SetValue(f ? f->DisplayText() : QString());
}

bool TFcDBRadioGroup::CanModify()
{
    // 4. a choice puts the dataset into edit mode first
    return !TFcCustomRadioGroup::ReadOnly() && FDataLink.Edit();
}

void TFcDBRadioGroup::Click()
{
    if (FInSetValue)
        return;
    TFcCustomRadioGroup::Click();
    if (FItemIndex >= 0)
        SetValue(GetButtonValue(FItemIndex));
    if (FDataLink.Editing())
        FDataLink.SetModified();
}

void TFcDBRadioGroup::UpdateData()
{
    // 5.
    if (TField* f = FDataLink.Field())
        f->SetText(FValue);
}

void TFcDBRadioGroup::KeyDown(Word& Key, TShiftState Shift)
{
    // 6.
    TFcCustomRadioGroup::KeyDown(Key, Shift);
    if (Key == VK_BACK || Key == VK_SPACE) {
        FDataLink.Edit();
    } else if (Key == VK_ESCAPE) {
        FDataLink.Reset();
        Key = 0;
    }
}

void TFcDBRadioGroup::DoExit()
{
    // 7. a failed write keeps the focus in the group and reports the error
    try {
        FDataLink.UpdateRecord();
    } catch (...) {
        const int index = FItemIndex >= 0 ? FItemIndex : 0;
        if (index < ControlCount()) {
            auto* w = dynamic_cast<TWinControl*>(Controls(index));
            if (w && w->CanFocus())
                w->SetFocus();
        }
        throw;
    }
    TFcCustomRadioGroup::DoExit();
}
