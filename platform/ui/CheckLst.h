#pragma once
// A list box with a check box in front of every item. A left press on the
// check box of an enabled item, or the space key on the current item,
// toggles it (unchecked, checked, grayed when AllowGrayed) and raises
// OnClickCheck. Owner-drawn items are given the rectangle right of the box.

#include "platform/ui/ListBoxes.h"
#include "platform/ui/Themes.h"

class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(TComponent* AOwner);

    bool Checked(int Index) const { return State(Index) == cbChecked; }
    void SetChecked(int Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }
    TCheckState State(int Index) const;
    void SetState(int Index, TCheckState Value);
    bool ItemEnabled(int Index) const;
    void SetItemEnabled(int Index, bool Value);
    bool AllowGrayed = false;
    bool Flat = true;
    void CheckAll(TCheckState State, bool AllowGrayed = true, bool AllowDisabled = true);
    // The width taken by the check box in front of the text.
    int CheckWidth() const;

    TNotifyEvent OnClickCheck;

protected:
    // Raises OnClickCheck (after the user changed a check mark).
    virtual void ClickCheck();
    void ToggleClickCheck(int Index);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyPress(QChar& Key) override;
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    TOwnerDrawState ItemState(int Index) const override;
    TRect FocusRectOf(const TRect& ItemRect) const override;
    void ItemInserted(int Index) override;
    void ItemDeleted(int Index) override;
    void ItemMoved(int CurIndex, int NewIndex) override;
    void ItemsCleared() override;

private:
    struct TItemState {
        TCheckState Check = cbUnchecked;
        bool Enabled = true;
    };
    std::vector<TItemState> FStates;
};
