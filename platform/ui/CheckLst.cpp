#include "platform/ui/CheckLst.h"

namespace {

constexpr int CheckBoxSize = 13;

}  // namespace

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

TCheckState TCheckListBox::State(int Index) const
{
    return Index >= 0 && Index < int(FStates.size()) ? FStates[size_t(Index)].Check : cbUnchecked;
}

void TCheckListBox::SetState(int Index, TCheckState Value)
{
    if (Index < 0 || Index >= int(FStates.size()) || FStates[size_t(Index)].Check == Value)
        return;
    FStates[size_t(Index)].Check = Value;
    Invalidate();
}

bool TCheckListBox::ItemEnabled(int Index) const
{
    return Index >= 0 && Index < int(FStates.size()) && FStates[size_t(Index)].Enabled;
}

void TCheckListBox::SetItemEnabled(int Index, bool Value)
{
    if (Index < 0 || Index >= int(FStates.size()))
        return;
    FStates[size_t(Index)].Enabled = Value;
    Invalidate();
}

void TCheckListBox::CheckAll(TCheckState Value, bool AllowGrayedItems, bool AllowDisabled)
{
    for (TItemState& s : FStates) {
        if (!AllowDisabled && !s.Enabled)
            continue;
        if (!AllowGrayedItems && s.Check == cbGrayed)
            continue;
        s.Check = Value;
    }
    Invalidate();
}

int TCheckListBox::CheckWidth() const
{
    return CheckBoxSize + 4;
}

void TCheckListBox::ClickCheck()
{
    if (OnClickCheck)
        OnClickCheck(this);
}

void TCheckListBox::ToggleClickCheck(int Index)
{
    if (Index < 0 || Index >= Count() || !ItemEnabled(Index))
        return;
    TCheckState next = cbUnchecked;
    switch (State(Index)) {
    case cbUnchecked:
        next = cbChecked;
        break;
    case cbChecked:
        next = AllowGrayed ? cbGrayed : cbUnchecked;
        break;
    case cbGrayed:
        next = cbUnchecked;
        break;
    }
    SetState(Index, next);
    ClickCheck();
}

void TCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        const int index = ItemAtPos({X, Y}, true);
        if (index >= 0 && ItemEnabled(index) && X - ItemRect(index).Left < CheckWidth())
            ToggleClickCheck(index);
    }
    TCustomListBox::MouseDown(Button, Shift, X, Y);
}

void TCheckListBox::KeyPress(QChar& Key)
{
    TCustomListBox::KeyPress(Key);
    if (Key == QLatin1Char(' ') && ItemIndex() >= 0) {
        ToggleClickCheck(ItemIndex());
        Key = QChar();
    }
}

TOwnerDrawState TCheckListBox::ItemState(int Index) const
{
    TOwnerDrawState s = TCustomListBox::ItemState(Index);
    if (Checked(Index))
        s |= odChecked;
    if (State(Index) == cbGrayed)
        s |= odGrayed;
    if (!ItemEnabled(Index))
        s |= odDisabled;
    return s;
}

void TCheckListBox::DrawItem(int Index, TRect R, TOwnerDrawState ItemStateBits)
{
    TCanvas* c = Canvas();
    // the check box sits on the list's own colour, left of the item
    const TRect box = Rect(R.Left, R.Top, R.Left + CheckWidth(), R.Bottom);
    const TColor itemBrush = c->Brush()->Color();
    c->Brush()->SetColor(FColor);
    c->FillRect(box);
    const int top = R.Top + (R.Height() - CheckBoxSize) / 2;
    const TRect check = Rect(R.Left + 2, top, R.Left + 2 + CheckBoxSize, top + CheckBoxSize);
    DrawThemedCheckBox(c, check, State(Index), ItemEnabled(Index) && FEnabled ? tsNormal : tsDisabled);
    c->Brush()->SetColor(itemBrush);
    c->Brush()->SetStyle(bsSolid);
    if (!ItemEnabled(Index) && !(ItemStateBits & odSelected))
        c->Font()->SetColor(clGrayText);
    TRect text = R;
    text.Left += CheckWidth();
    TCustomListBox::DrawItem(Index, text, ItemStateBits);
}

TRect TCheckListBox::FocusRectOf(const TRect& ItemRect) const
{
    TRect r = ItemRect;
    r.Left += CheckWidth();
    return r;
}

void TCheckListBox::ItemInserted(int Index)
{
    FStates.insert(FStates.begin() + Index, TItemState());
}

void TCheckListBox::ItemDeleted(int Index)
{
    FStates.erase(FStates.begin() + Index);
}

void TCheckListBox::ItemMoved(int CurIndex, int NewIndex)
{
    const TItemState s = FStates[size_t(CurIndex)];
    FStates.erase(FStates.begin() + CurIndex);
    FStates.insert(FStates.begin() + NewIndex, s);
}

void TCheckListBox::ItemsCleared()
{
    FStates.clear();
}
