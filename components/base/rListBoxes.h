#pragma once
// List boxes whose item height follows the display scale; the check list
// box can also toggle a check by a double click or by a click anywhere on
// the item.

#include "components/base/ParioCompGlobalCfg.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/ListBoxes.h"

class TrListBox : public TListBox {
public:
    explicit TrListBox(TComponent* AOwner);
    QString SelectedItemText() const;

protected:
    void ChangeScale(int M, int D) override;
};

class TrColorBox : public TColorBox {
public:
    explicit TrColorBox(TComponent* AOwner);

protected:
    void ChangeScale(int M, int D) override;
};

class TrCheckListBox : public TCheckListBox {
public:
    explicit TrCheckListBox(TComponent* AOwner);
    TCheckboxUpdateMode CheckboxUpdateMode = chmCheckboxClick;
    QString SelectedItemText() const;
    int CheckedCount() const;
    bool SelectedItemChecked() const;
    virtual bool CanModifyCheckItem(int Index) const;
    // The check boxes keep the platform's size.
    void SetCheckSize(int) {}
    void DblClick() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void ChangeScale(int M, int D) override;
};
