#include "platform/ui/TabControl.h"

#include "platform/ui/ImgList.h"
#include "platform/ui/Themes.h"

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    FWidth = 289;
    FHeight = 193;
    FTabStop = true;
}

void TCustomTabControl::SetTabs(const QStringList& Value)
{
    FTabs = Value;
    FObjects.assign(size_t(FTabs.size()), nullptr);
    if (FTabIndex >= TabCount())
        FTabIndex = TabCount() - 1;
    if (FTabIndex < 0 && TabCount() > 0)
        FTabIndex = 0;
    Realign();
    Invalidate();
}

int TCustomTabControl::AddTab(const QString& Text, void* Object)
{
    FTabs.append(Text);
    FObjects.push_back(Object);
    if (FTabIndex < 0)
        FTabIndex = 0;
    Realign();
    Invalidate();
    return TabCount() - 1;
}

void TCustomTabControl::DeleteTab(int Index)
{
    if (Index < 0 || Index >= TabCount())
        return;
    FTabs.removeAt(Index);
    FObjects.erase(FObjects.begin() + Index);
    if (FTabIndex >= TabCount())
        FTabIndex = TabCount() - 1;
    Realign();
    Invalidate();
}

void TCustomTabControl::SetTabText(int Index, const QString& Text)
{
    if (Index >= 0 && Index < TabCount()) {
        FTabs[Index] = Text;
        Invalidate();
    }
}

void* TCustomTabControl::TabObject(int Index) const
{
    return Index >= 0 && Index < TabCount() ? FObjects[size_t(Index)] : nullptr;
}

void TCustomTabControl::SetTabIndex(int Value)
{
    if (Value < -1 || Value >= TabCount())
        return;
    FTabIndex = Value;
    Invalidate();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value)
{
    FTabPosition = Value == tpBottom ? tpBottom : tpTop;
    Realign();
    Invalidate();
}

int TCustomTabControl::TabHeight() const
{
    TCanvas c;
    c.Font()->Assign(FFont);
    int h = c.TextHeight(QStringLiteral("Wg")) + 8;
    if (Images)
        h = std::max(h, Images->Height() + 6);
    return h;
}

TRect TCustomTabControl::TabRect(int Index) const
{
    if (Index < 0 || Index >= TabCount())
        return {};
    TCanvas c;
    c.Font()->Assign(FFont);
    const int th = TabHeight();
    int x = 2;
    for (int i = 0; i < TabCount(); ++i) {
        int w = c.TextWidth(StripHotkey(FTabs[i])) + 16;
        if (Images)
            w += Images->Width() + 4;
        if (i == Index)
            return FTabPosition == tpBottom ? Rect(x, FHeight - th, x + w, FHeight - 2) : Rect(x, 2, x + w, th);
        x += w;
    }
    return {};
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const
{
    for (int i = 0; i < TabCount(); ++i)
        if (TabRect(i).Contains({X, Y}))
            return i;
    return -1;
}

TRect TCustomTabControl::DisplayRect() const
{
    TRect r = ClientRect();
    const_cast<TCustomTabControl*>(this)->AdjustClientRect(r);
    return r;
}

bool TCustomTabControl::CanChange()
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomTabControl::AdjustClientRect(TRect& R)
{
    TCustomControl::AdjustClientRect(R);
    if (TabCount() == 0)
        return;
    if (FTabPosition == tpBottom)
        R.Bottom -= TabHeight();
    else
        R.Top += TabHeight();
    R.Inflate(-2, -2);
}

void TCustomTabControl::Paint()
{
    TCanvas* c = Canvas();
    const int th = TabCount() > 0 ? TabHeight() : 0;
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    if (FTabPosition == tpBottom)
        DrawThemedTabPane(c, Rect(0, 0, FWidth, FHeight - th + 1));
    else
        DrawThemedTabPane(c, Rect(0, th - 1, FWidth, FHeight));
    for (int i = 0; i < TabCount(); ++i) {
        if (i == FTabIndex)
            continue;
        DrawTab(i, TabRect(i), 0);
    }
    // the selected tab last, over its neighbours
    if (FTabIndex >= 0)
        DrawTab(FTabIndex, TabRect(FTabIndex), odSelected | (Focused() ? odFocused : 0u));
}

void TCustomTabControl::DrawTab(int TabIndex, const TRect& Rect, TOwnerDrawState State)
{
    const bool sel = State & odSelected;
    if (OnDrawTab) {
        OnDrawTab(this, TabIndex, Rect, sel);
        return;
    }
    TCanvas* c = Canvas();
    TRect r = Rect;
    if (sel) {
        // the selected tab stands out: wider, and reaching the control's edge
        r.Inflate(2, 0);
        if (FTabPosition == tpBottom)
            r.Bottom = FHeight;
        else
            r.Top = 0;
    }
    DrawThemedTab(c, r, sel, false);
    c->Font()->Assign(FFont);
    c->Brush()->SetStyle(bsClear);
    c->DrawText(FTabs[TabIndex], r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    c->Brush()->SetStyle(bsSolid);
}

void TCustomTabControl::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key != VK_LEFT && Key != VK_RIGHT)
        return;
    const int i = FTabIndex + (Key == VK_LEFT ? -1 : 1);
    Key = 0;
    if (i < 0 || i >= FTabs.size() || !CanChange())
        return;
    SetTabIndex(i);
    Change();
}

void TCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    const int i = IndexOfTabAt(X, Y);
    if (i < 0 || i == FTabIndex)
        return;
    if (!CanChange())
        return;
    SetTabIndex(i);
    Change();
}
