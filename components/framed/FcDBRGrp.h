#pragma once
// A radio group bound to one field: Values maps each item to the text the
// field holds; the field's value chooses the item, a choice writes it.

#include "components/framed/FcRadGrp.h"
#include "platform/ui/DBCtrls.h"

class TFcDBRadioGroup : public TDBFieldControl<TFcCustomRadioGroup> {
public:
    explicit TFcDBRadioGroup(TComponent* AOwner);
    ~TFcDBRadioGroup() override;

    QStringList Values() const { return FValues; }
    virtual void SetValues(const QStringList& Value);
    void SetItems(const QStringList& Value) override;
    void AddItemValue(const QString& Item, const QString& Value);
    // The value text of the chosen item.
    QString Value() const { return FValue; }
    virtual void SetValue(const QString& Value);
    bool ReadOnly() const { return FDataLink.ReadOnly(); }
    void SetReadOnly(bool Value) override;
    virtual QString GetButtonValue(int Index) const;
    bool CanModify() override;
    TNotifyEvent OnChange;
    void Click() override;

protected:
    virtual void Change();
    void DataChange();
    void UpdateData();
    void KeyDown(Word& Key, TShiftState Shift) override;
    void DoExit() override;
    QString FValue;
    QStringList FValues;
    bool FInSetValue = false;
};
