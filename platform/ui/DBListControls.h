#pragma once
// A combo box and a list box bound to one field: they show the field's text
// (a drop-down list or a list box selects the equal item) and write the text
// chosen or typed back to the field.

#include "platform/ui/DBCtrls.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/StdCtrls.h"

class TDBComboBox : public TDBFieldControl<TComboBox> {
public:
    explicit TDBComboBox(TComponent* AOwner);
    ~TDBComboBox() override;
    // Shows the field's present text.
    void DataChange();
    void Change() override;

protected:
    void DoExit() override;

private:
    QString ChosenText() const;
    bool FShowing = false;
};

class TDBListBox : public TDBFieldControl<TListBox> {
public:
    explicit TDBListBox(TComponent* AOwner);
    ~TDBListBox() override;
    void DataChange();
    void Click() override;

protected:
    void DoExit() override;

private:
    bool FShowing = false;
};
