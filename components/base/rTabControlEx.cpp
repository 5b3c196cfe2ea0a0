#include "components/base/rTabControlEx.h"

#include "components/base/ParioCompGlobalCfg.h"

#include <cmath>

namespace {

// Places the right-end button and label on the tab row; both controls share it.
void ArrangeRightEnd(TControl* Control, TTabPropsEx* Props, TrButton* Button, bool ButtonVisible, TrHTMLLabel* Label,
                     bool LabelVisible, int TabCount, const TRect& LastTab)
{
    const int w = Control->Width();
    Button->SetLeft(w - Props->S(4) - Button->Width());
    const int labelRight = ButtonVisible ? Button->Left() - Props->S(4) : w - Props->S(4);
    Label->SetLeft(labelRight - Label->Width());
    if (TabCount > 0) {
        const int rowHeight = LastTab.Height();
        Button->SetTop(LastTab.Top + (rowHeight - Button->Height() - 1) / 2);
        Label->SetTop(LastTab.Top + (rowHeight - Label->Height() - 1) / 2);
    }
    const int lastRight = TabCount > 0 ? LastTab.Right : 0;
    Button->SetVisible(ButtonVisible && Button->Left() - Props->S(2) >= lastRight);
    Label->SetVisible(LabelVisible && Label->Left() - Props->S(2) >= lastRight);
}

template <class C>
void MakeRightEnd(C* Control, TrButton*& Button, TrHTMLLabel*& Label)
{
    Button = new TrButton(Control);
    Button->SetName(Control->Name() + QStringLiteral("RightButton"));
    Button->SetParent(Control);
    Button->SetCaption(QString());
    Button->SetBounds(0, 0, 20, 18);
    Button->SetVisible(false);
    Label = new TrHTMLLabel(Control);
    Label->SetName(Control->Name() + QStringLiteral("RightLabel"));
    Label->SetParent(Control);
    Label->SetCaption(QString());
    Label->SetVisible(false);
}

QString WithCloseSpace(const QString& Text, bool Center)
{
    const QString t = Text.trimmed();
    return Center ? QStringLiteral("  ") + t + QStringLiteral("  ") : t + QStringLiteral("    ");
}

}  // namespace

// ---- TrTabControlEx ----------------------------------------------------------------------

TrTabControlEx::TrTabControlEx(TComponent* AOwner) : TCustomTabControl(AOwner)
{
    FTabPropsEx = new TTabPropsEx(this, this);
    MakeRightEnd(this, FTabRightButton, FTabRightLabel);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

void TrTabControlEx::Loaded()
{
    TCustomTabControl::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

int TrTabControlEx::UseScale(int Value) const
{
    return int(std::nearbyint(Value * FScaleRatio));
}

void TrTabControlEx::SetTabRightButtonVisible(bool V)
{
    FTabRightButtonVisible = V;
    Realign();
}

void TrTabControlEx::SetTabRightLabelVisible(bool V)
{
    FTabRightLabelVisible = V;
    Realign();
}

void TrTabControlEx::AdjustClientRect(TRect& R)
{
    TCustomTabControl::AdjustClientRect(R);
    if (TabCount() == 0) {
        const int s = UseScale(4);
        R.Inflate(s, s);
        if (TabPosition() == tpTop)
            R.Top -= 2;
    }
    if (FTabRightButton)
        ArrangeRightEnd(this, FTabPropsEx, FTabRightButton, FTabRightButtonVisible, FTabRightLabel,
                        FTabRightLabelVisible, TabCount(), TabRect(TabCount() - 1));
}

void TrTabControlEx::ChangeScale(int M, int D)
{
    TCustomTabControl::ChangeScale(M, D);
    FScaleRatio = FScaleRatio * M / D;
    FTabPropsEx->UpdateScale(FScaleRatio, M, D);
}

void TrTabControlEx::FontChanged()
{
    TCustomTabControl::FontChanged();
    if (FTabPropsEx)
        FTabPropsEx->ResetFont(*Font());
}

void TrTabControlEx::DrawTab(int TabIndex, const TRect& Rect, TOwnerDrawState State)
{
    if (OwnerDraw)
        FTabPropsEx->DrawTabEx(TabIndex, Rect, State);
    else
        TCustomTabControl::DrawTab(TabIndex, Rect, State);
}

void TrTabControlEx::HostDrawTabHandler(int Index, const TRect& Rect, bool Active)
{
    OnDrawTab(this, Index, Rect, Active);
}

bool TrTabControlEx::SetActiveTabEx(int Index)
{
    if (Index == TabIndex() || !CanChange())
        return false;
    SetTabIndex(Index);
    Change();
    return true;
}

QString TrTabControlEx::ActiveTabCaption() const
{
    return TabCount() > 0 && TabIndex() >= 0 ? Tabs().value(TabIndex()) : QString();
}

void* TrTabControlEx::ActiveTabObject() const
{
    return TabCount() > 0 && TabIndex() >= 0 ? TabObject(TabIndex()) : nullptr;
}

void TrTabControlEx::AddSpaceForCloseBtn(bool Center)
{
    for (int i = 0; i < TabCount(); ++i)
        SetTabText(i, WithCloseSpace(Tabs()[i], Center));
}

void TrTabControlEx::ReplaceAccelChar()
{
    for (int i = 0; i < TabCount(); ++i) {
        QString t = Tabs()[i];
        SetTabText(i, t.replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

void TrTabControlEx::HostCloseTab(int Index)
{
    DeleteTab(Index);
    const int before = std::max(Index - 1, 0);
    SetTabIndex(before < TabCount() ? before : -1);
}

void TrTabControlEx::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomTabControl::MouseMove(Shift, X, Y);
    FTabPropsEx->CheckMouseMove(Shift, X, Y);
}

void TrTabControlEx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTabControl::MouseDown(Button, Shift, X, Y);
    FTabPropsEx->CheckMouseClick(Button, Shift, X, Y);
}

void TrTabControlEx::MouseEnter()
{
    TCustomTabControl::MouseEnter();
    FTabPropsEx->ResetHotState(false);
}

void TrTabControlEx::MouseLeave()
{
    TCustomTabControl::MouseLeave();
    FTabPropsEx->ResetHotState(true);
}

// ---- TrPageControlEx -----------------------------------------------------------------------

TrPageControlEx::TrPageControlEx(TComponent* AOwner) : TPageControl(AOwner)
{
    FTabPropsEx = new TTabPropsEx(this, this);
    MakeRightEnd(this, FTabRightButton, FTabRightLabel);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

void TrPageControlEx::Loaded()
{
    TPageControl::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

int TrPageControlEx::UseScale(int Value) const
{
    return int(std::nearbyint(Value * FScaleRatio));
}

void TrPageControlEx::SetTabRightButtonVisible(bool V)
{
    FTabRightButtonVisible = V;
    Realign();
}

void TrPageControlEx::SetTabRightLabelVisible(bool V)
{
    FTabRightLabelVisible = V;
    Realign();
}

int TrPageControlEx::VisiblePageCount() const
{
    int n = 0;
    for (int i = 0; i < PageCount(); ++i)
        n += Pages(i)->TabVisible() ? 1 : 0;
    return n;
}

int TrPageControlEx::HostTabAt(int X, int Y) const
{
    for (int i = 0; i < PageCount(); ++i)
        if (TabRect(i).Contains({X, Y}))
            return i;
    return -1;
}

void TrPageControlEx::AdjustClientRect(TRect& R)
{
    TPageControl::AdjustClientRect(R);
    if (VisiblePageCount() == 0) {
        const int s = UseScale(4);
        R.Inflate(s, s);
        if (TabPosition() == tpTop)
            R.Top -= 2;
    }
    int last = -1;
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible())
            last = i;
    if (FTabRightButton)
        ArrangeRightEnd(this, FTabPropsEx, FTabRightButton, FTabRightButtonVisible, FTabRightLabel,
                        FTabRightLabelVisible, VisiblePageCount(), last >= 0 ? TabRect(last) : TRect());
}

void TrPageControlEx::Paint()
{
    if (!OwnerDraw) {
        TPageControl::Paint();
        return;
    }
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    TTabSheet* active = ActivePage();
    for (int i = 0; i < PageCount(); ++i) {
        const TRect r = TabRect(i);
        if (!r.IsEmpty() && Pages(i) != active)
            FTabPropsEx->DrawTabEx(i, r, 0);
    }
    if (active && !TabRect(active->PageIndex()).IsEmpty())
        FTabPropsEx->DrawTabEx(active->PageIndex(), TabRect(active->PageIndex()), odSelected);
}

void TrPageControlEx::ChangeScale(int M, int D)
{
    TPageControl::ChangeScale(M, D);
    FScaleRatio = FScaleRatio * M / D;
    FTabPropsEx->UpdateScale(FScaleRatio, M, D);
}

void TrPageControlEx::FontChanged()
{
    TPageControl::FontChanged();
    if (FTabPropsEx)
        FTabPropsEx->ResetFont(*Font());
}

bool TrPageControlEx::SetActivePageEx(TTabSheet* Sheet)
{
    if (Sheet == ActivePage())
        return false;
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    if (!allow)
        return false;
    SetActivePage(Sheet);
    if (OnChange)
        OnChange(this);
    return true;
}

bool TrPageControlEx::SetActiveTabEx(int Index)
{
    return SetActivePageEx(Index >= 0 && Index < PageCount() ? Pages(Index) : nullptr);
}

QString TrPageControlEx::ActiveTabCaption() const
{
    return ActivePage() ? ActivePage()->Caption() : QString();
}

void TrPageControlEx::AddSpaceForCloseBtn(bool Center)
{
    for (int i = 0; i < PageCount(); ++i)
        Pages(i)->SetCaption(WithCloseSpace(Pages(i)->Caption(), Center));
}

void TrPageControlEx::HostCloseTab(int Index)
{
    // The page whose close button was pressed is the one closed, also when
    // another page is the active one.
    TTabSheet* closing = Pages(Index);
    const bool wasActive = closing == ActivePage();
    closing->SetTabVisible(false);
    if (!wasActive)
        return;
    TTabSheet* previous = nullptr;
    for (int i = Index - 1; i >= 0 && !previous; --i)
        if (Pages(i)->TabVisible())
            previous = Pages(i);
    for (int i = Index + 1; i < PageCount() && !previous; ++i)
        if (Pages(i)->TabVisible())
            previous = Pages(i);
    SetActivePage(previous);
}

void TrPageControlEx::MouseMove(TShiftState Shift, int X, int Y)
{
    TPageControl::MouseMove(Shift, X, Y);
    FTabPropsEx->CheckMouseMove(Shift, X, Y);
}

void TrPageControlEx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPageControl::MouseDown(Button, Shift, X, Y);
    FTabPropsEx->CheckMouseClick(Button, Shift, X, Y);
}

void TrPageControlEx::MouseEnter()
{
    TPageControl::MouseEnter();
    FTabPropsEx->ResetHotState(false);
}

void TrPageControlEx::MouseLeave()
{
    TPageControl::MouseLeave();
    FTabPropsEx->ResetHotState(true);
}
