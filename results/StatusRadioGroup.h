#pragma once
// The finish dialog's "Tila" group: a radio group bound to a text field of a
// dataset (the class-course row's STATUS), with a value per item and a
// changing event that may keep the current item. It stands in for the
// framed data-aware radio group until that control is in the library.

#include "platform/ui/StdCtrls.h"

#include <QStringList>
#include <functional>
#include <vector>

class TDataSet;
class TRadioButton;

class TStatusRadioGroup : public TGroupBox {
public:
    explicit TStatusRadioGroup(TComponent* AOwner);

    void SetItems(const QStringList& Items, const QStringList& Values, int Columns);
    int ItemIndex() const { return FItemIndex; }
    // By code: no changing event, no write to the field.
    void SetItemIndex(int Index);
    // The value text of the current item, empty when none.
    QString Value() const;
    // Shows the field's value (no item when it matches none).
    void Bind(TDataSet* DataSet, const QString& FieldName);
    void ShowFieldValue();
    // As the operator's click on an item: asks OnChanging, then writes the
    // item's value into the field (putting the dataset into edit).
    void ChooseItem(int Index);

    std::function<void(TComponent* Sender, int NewIndex, bool& AllowChange)> OnChanging;

private:
    QStringList FValues;
    std::vector<TRadioButton*> FButtons;
    int FItemIndex = -1;
    TDataSet* FDataSet = nullptr;
    QString FFieldName;
};
