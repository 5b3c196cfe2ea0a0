#include "components/base/rListBoxes.h"

namespace {

// 1. A standard list becomes owner-drawn at a fixed height that can follow the
// scale; 2. and 3. the platform's scaling, which also keeps ScaleRatio;
// 4. the item height follows the ratio.
template <class L>
void ScaleItemHeight(L* List, int M, int D, bool MakeOwnerDrawn, const std::function<void(int, int)>& Inherited)
{
    if (MakeOwnerDrawn && List->Style() == lbStandard) {
        List->SetStyle(lbOwnerDrawFixed);
        List->SetItemHeight(16);
        List->OnDrawItem = nullptr;
    }
    Inherited(M, D);
    List->SetItemHeight(int(List->ScaleRatio() * 16));
}

}  // namespace

// ---- TrListBox ---------------------------------------------------------------------------------

TrListBox::TrListBox(TComponent* AOwner) : TListBox(AOwner) {}

QString TrListBox::SelectedItemText() const
{
    return ItemIndex() >= 0 ? Strings(ItemIndex()) : QString();
}

void TrListBox::ChangeScale(int M, int D)
{
    ScaleItemHeight(this, M, D, true, [this](int m, int d) { TListBox::ChangeScale(m, d); });
}

// ---- TrColorBox --------------------------------------------------------------------------------

TrColorBox::TrColorBox(TComponent* AOwner) : TColorBox(AOwner) {}

void TrColorBox::ChangeScale(int M, int D)
{
    TColorBox::ChangeScale(M, D);
    SetItemHeight(int(ScaleRatio() * 16));
}

// ---- TrCheckListBox ----------------------------------------------------------------------------

TrCheckListBox::TrCheckListBox(TComponent* AOwner) : TCheckListBox(AOwner) {}

QString TrCheckListBox::SelectedItemText() const
{
    return ItemIndex() >= 0 ? Strings(ItemIndex()) : QString();
}

int TrCheckListBox::CheckedCount() const
{
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        n += Checked(i) ? 1 : 0;
    return n;
}

bool TrCheckListBox::SelectedItemChecked() const
{
    return ItemIndex() >= 0 && Checked(ItemIndex());
}

bool TrCheckListBox::CanModifyCheckItem(int Index) const
{
    return Index >= 0 && Index < Count() && ItemEnabled(Index);
}

void TrCheckListBox::ChangeScale(int M, int D)
{
    ScaleItemHeight(this, M, D, true, [this](int m, int d) { TCheckListBox::ChangeScale(m, d); });
}

void TrCheckListBox::DblClick()
{
    TCheckListBox::DblClick();
    if (CheckboxUpdateMode == chmItemDblClick && CanModifyCheckItem(ItemIndex())) {
        SetChecked(ItemIndex(), !Checked(ItemIndex()));
        ClickCheck();
        Click();
    }
}

void TrCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const int index = ItemAtPos({X, Y}, true);
    const bool plainLeft = Button == mbLeft && (Shift & ~ssDouble) == ssLeft;
    if (CheckboxUpdateMode != chmItemClick || !plainLeft || !CanModifyCheckItem(index)) {
        TCheckListBox::MouseDown(Button, Shift, X, Y);
        return;
    }
    // a press on the check box itself toggles it once, in the platform's handling
    const TCheckState before = State(index);
    TCheckListBox::MouseDown(Button, Shift, X, Y);
    if (State(index) != before)
        return;
    SetChecked(index, !Checked(index));
    ClickCheck();
}
