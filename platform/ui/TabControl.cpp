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
    FTabPosition = Value;
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

int TCustomTabControl::TabRowDepth() const
{
    if (!TabRowVertical(FTabPosition))
        return TabHeight();
    int depth = 0;
    for (int i = 0; i < TabCount(); ++i)
        depth = std::max(depth, TabLength(i));
    return depth;
}

int TCustomTabControl::TabLength(int Index) const
{
    TCanvas c;
    c.Font()->Assign(FFont);
    int w = c.TextWidth(StripHotkey(FTabs[Index])) + 16;
    if (Images)
        w += Images->Width() + 4;
    return w;
}

TRect TCustomTabControl::TabRect(int Index) const
{
    if (Index < 0 || Index >= TabCount())
        return {};
    // along a side column every tab is one tab height long
    const bool vertical = TabRowVertical(FTabPosition);
    int start = 2;
    for (int i = 0; i < Index; ++i)
        start += vertical ? TabHeight() : TabLength(i);
    return TabRowRect(FTabPosition, FWidth, FHeight, TabRowDepth(), start, vertical ? TabHeight() : TabLength(Index));
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
    TabRowAdjust(FTabPosition, TabRowDepth(), R);
    R.Inflate(-2, -2);
}

void TCustomTabControl::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    DrawThemedTabPane(c, TabRowPane(FTabPosition, FWidth, FHeight, TabCount() > 0 ? TabRowDepth() : 0));
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
    TRect r = sel ? TabRowSelected(FTabPosition, Rect, FWidth, FHeight) : Rect;
    DrawThemedTabAt(c, r, sel, false, FTabPosition, false, false);
    c->Font()->Assign(FFont);
    c->Brush()->SetStyle(bsClear);
    c->DrawText(FTabs[TabIndex], r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    c->Brush()->SetStyle(bsSolid);
}

void TCustomTabControl::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    // along a side column Up and Down move as well
    const bool back = Key == VK_LEFT || (TabRowVertical(FTabPosition) && Key == VK_UP);
    const bool on = Key == VK_RIGHT || (TabRowVertical(FTabPosition) && Key == VK_DOWN);
    if (!back && !on)
        return;
    const int i = FTabIndex + (back ? -1 : 1);
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
