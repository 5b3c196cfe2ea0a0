#include "platform/ui/ComCtrls.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include <algorithm>

// ---- TTabSheet / TPageControl -----------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner)
{
    FColor = clWindow;
    FAlign = alClient;
    FParentColor = false;
}

TTabSheet::~TTabSheet()
{
    if (FPageControl)
        FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
    if (FPageControl == Value)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    FPageControl = Value;
    if (Value)
        Value->InsertPage(this);
}

void TTabSheet::SetTabVisible(bool Value)
{
    FTabVisible = Value;
    if (FPageControl) {
        if (!Value && FPageControl->ActivePage() == this) {
            for (int i = 0; i < FPageControl->PageCount(); ++i)
                if (FPageControl->Pages(i)->TabVisible()) {
                    FPageControl->SetActivePage(FPageControl->Pages(i));
                    break;
                }
        }
        FPageControl->PageChanged();
    }
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    for (int i = 0; i < FPageControl->PageCount(); ++i)
        if (FPageControl->Pages(i) == this)
            return i;
    return -1;
}

void TTabSheet::TextChanged()
{
    if (FPageControl)
        FPageControl->PageChanged();
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    FWidth = 289;
    FHeight = 193;
    FTabStop = true;
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    Page->SetParent(this);
    Page->SetVisible(FActivePage == nullptr);
    if (!FActivePage)
        FActivePage = Page;
    Realign();
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
    if (FActivePage == Page)
        FActivePage = nullptr;
    Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (FActivePage == Page)
        return;
    for (TTabSheet* p : FPages)
        p->SetVisible(p == Page);
    FActivePage = Page;
    Realign();
    Invalidate();
}

int TPageControl::ActivePageIndex() const
{
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Index)
{
    SetActivePage(Index >= 0 && Index < PageCount() ? FPages[size_t(Index)] : nullptr);
}

int TPageControl::TabHeight() const
{
    // pages whose tabs are all hidden give the whole control to the page
    if (std::none_of(FPages.begin(), FPages.end(), [](const TTabSheet* P) { return P->TabVisible(); }) && !FPages.empty())
        return 0;
    TCanvas c;
    c.Font()->Assign(FFont);
    return c.TextHeight(QStringLiteral("Wg")) + 8;
}

void TPageControl::SetTabPosition(TTabPosition Value)
{
    FTabPosition = Value;
    Realign();
    Invalidate();
}

int TPageControl::TabLength(int Index) const
{
    TCanvas c;
    c.Font()->Assign(FFont);
    return c.TextWidth(StripHotkey(FPages[size_t(Index)]->Caption())) + 16;
}

int TPageControl::TabRowDepth() const
{
    const int th = TabHeight();
    if (!TabRowVertical(FTabPosition) || th == 0)
        return th;
    int depth = 0;
    for (int i = 0; i < PageCount(); ++i)
        if (FPages[size_t(i)]->TabVisible())
            depth = std::max(depth, TabLength(i));
    return depth;
}

TRect TPageControl::TabRect(int Index) const
{
    if (Index < 0 || Index >= PageCount() || !FPages[size_t(Index)]->TabVisible())
        return {};
    // along a side column every tab is one tab height long
    const bool vertical = TabRowVertical(FTabPosition);
    int start = 2;
    for (int i = 0; i < Index; ++i)
        if (FPages[size_t(i)]->TabVisible())
            start += vertical ? TabHeight() : TabLength(i);
    return TabRowRect(FTabPosition, FWidth, FHeight, TabRowDepth(), start, vertical ? TabHeight() : TabLength(Index));
}

void TPageControl::AdjustClientRect(TRect& R)
{
    TCustomControl::AdjustClientRect(R);
    TabRowAdjust(FTabPosition, TabRowDepth(), R);
    R.Inflate(-1, -1);
}

void TPageControl::Paint()
{
    TCanvas* c = Canvas();
    DrawThemedTabPane(c, TabRowPane(FTabPosition, FWidth, FHeight, TabRowDepth()));
    c->Font()->Assign(FFont);
    for (int i = 0; i < PageCount(); ++i) {
        TRect r = TabRect(i);
        if (r.IsEmpty())
            continue;
        const bool sel = FPages[size_t(i)] == FActivePage;
        if (sel)
            r = TabRowSelected(FTabPosition, r, FWidth, FHeight);
        DrawThemedTabAt(c, r, sel, false, FTabPosition, false, false);
        c->Brush()->SetStyle(bsClear);
        c->DrawText(FPages[size_t(i)]->Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    for (int i = 0; i < PageCount(); ++i)
        if (TabRect(i).Contains({X, Y}) && FPages[size_t(i)] != FActivePage) {
            bool allow = true;
            if (OnChanging)
                OnChanging(this, allow);
            if (!allow)
                return;
            SetActivePage(FPages[size_t(i)]);
            if (OnChange)
                OnChange(this);
            return;
        }
}

// ---- TStatusBar ---------------------------------------------------------------------

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    FAlign = alBottom;
    FHeight = 19;
    FWidth = 200;
}

TStatusPanel* TStatusBar::AddPanel(const QString& Text, int Width)
{
    FPanels.push_back({Text, Width, taLeftJustify, psText});
    Invalidate();
    return &FPanels.back();
}

void TStatusBar::SetPanelText(int Index, const QString& Text)
{
    if (Index >= 0 && Index < int(FPanels.size())) {
        FPanels[size_t(Index)].Text = Text;
        Invalidate();
    }
}

void TStatusBar::Paint()
{
    TCanvas* c = Canvas();
    DrawThemedStatusBar(c, ClientRect());
    c->Font()->Assign(FFont);
    c->Brush()->SetStyle(bsClear);
    if (SimplePanel) {
        TRect r = Rect(4, 1, FWidth - 4, FHeight);
        c->DrawText(FSimpleText, r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        return;
    }
    int x = 0;
    for (size_t i = 0; i < FPanels.size(); ++i) {
        TStatusPanel& p = FPanels[i];
        const bool last = i + 1 == FPanels.size();
        TRect r = Rect(x, 1, last ? FWidth : x + p.Width, FHeight);
        DrawThemedStatusPane(c, r, last);
        c->Brush()->SetStyle(bsClear);
        if (p.Style == psOwnerDraw && OnDrawPanel) {
            OnDrawPanel(this, p, r);
        } else {
            TRect t = Rect(r.Left + 4, r.Top, r.Right - 4, r.Bottom);
            const unsigned a = p.Alignment == taCenter ? DT_CENTER : p.Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
            c->DrawText(p.Text, t, a | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        x += p.Width;
    }
}

// ---- TToolButton / TToolBar -------------------------------------------------------------

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 23;
    FHeight = 22;
}

void TToolButton::SetParent(TWinControl* AParent)
{
    TGraphicControl::SetParent(AParent);
    // the bar lays its buttons out in a row
    if (auto* bar = dynamic_cast<TToolBar*>(AParent))
        bar->Realign();
}

void TToolButton::SetStyle(TToolButtonStyle V)
{
    FStyle = V;
    if (auto* bar = dynamic_cast<TToolBar*>(FParent))
        bar->Realign();
    Invalidate();
}

void TToolButton::ActionChange(TBasicAction* Sender, bool CheckDefaults)
{
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(Sender)) {
        FImageIndex = a->ImageIndex();
        FDown = a->Checked();
    }
}

void TToolButton::Click()
{
    if (FStyle == tbsSeparator || FStyle == tbsDivider || !FEnabled)
        return;
    if (FStyle == tbsCheck) {
        if (Grouped && FDown)
            ;  // a pressed button of a group stays down
        else
            FDown = !FDown;
        if (Grouped && FDown && FParent)
            for (int i = 0; i < FParent->ControlCount(); ++i)
                if (auto* b = dynamic_cast<TToolButton*>(FParent->Controls(i)); b && b != this && b->Grouped)
                    b->SetDown(false);
    }
    TGraphicControl::Click();
    if (FStyle == tbsDropDown && DropdownMenu && !OnClick && !FAction) {
        const TPoint p = ClientToScreen({0, FHeight});
        DropdownMenu->Popup(p.X, p.Y);
    }
    Invalidate();
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FEnabled) {
        FPressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FPressed = false;
    Invalidate();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TToolButton::MouseEnter()
{
    FHot = true;
    Invalidate();
    TGraphicControl::MouseEnter();
}

void TToolButton::MouseLeave()
{
    FHot = false;
    Invalidate();
    TGraphicControl::MouseLeave();
}

void TToolButton::Paint()
{
    TCanvas* c = Canvas();
    if (FStyle == tbsSeparator || FStyle == tbsDivider) {
        if (FStyle == tbsDivider) {
            c->Brush()->SetColor(RGB(215, 215, 215));
            c->FillRect(Rect(FWidth / 2, 3, FWidth / 2 + 1, FHeight - 3));
        }
        return;
    }
    const TThemedState s = !FEnabled ? tsDisabled : FPressed ? tsPressed : (FDown && FHot) ? tsCheckedHot : FDown ? tsChecked : FHot ? tsHot : tsNormal;
    DrawThemedToolButton(c, ClientRect(), s);
    auto* bar = dynamic_cast<TToolBar*>(FParent);
    TCustomImageList* images = bar ? (!FEnabled && bar->DisabledImages ? bar->DisabledImages : bar->Images) : nullptr;
    const int arrow = FStyle == tbsDropDown ? 12 : 0;
    const bool captions = bar && bar->ShowCaptions();
    int textTop = 0;
    if (images && FImageIndex >= 0) {
        const int iw = images->Width(), ih = images->Height();
        if (captions && bar->List) {
            images->Draw(c, 3, (FHeight - ih) / 2, FImageIndex, FEnabled || bar->DisabledImages);
        } else {
            const int ix = (FWidth - arrow - iw) / 2;
            const int iy = captions ? (FHeight - ih - c->TextHeight(QStringLiteral("Wg"))) / 2 - 2 : (FHeight - ih) / 2;
            images->Draw(c, ix, iy, FImageIndex, FEnabled || bar->DisabledImages);
            textTop = iy + ih + 1;
        }
    }
    if (captions) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->Assign(FFont);
        c->Font()->SetColor(ThemedTextColor(FEnabled));
        TRect r = bar->List && images ? Rect(images->Width() + 6, 0, FWidth - arrow, FHeight) : Rect(0, textTop, FWidth - arrow, FHeight);
        c->DrawText(FText, r, (bar->List ? DT_LEFT | DT_VCENTER : DT_CENTER) | DT_SINGLELINE);
    }
    if (arrow)
        DrawArrow(c, Rect(FWidth - arrow, 0, FWidth, FHeight), akDown, FEnabled ? clBtnText : clGrayText);
}

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    FAlign = alTop;
    FHeight = 29;
    FWidth = 150;
}

int TToolBar::ButtonCount() const
{
    int n = 0;
    for (TControl* c : FControls)
        if (dynamic_cast<TToolButton*>(c))
            ++n;
    return n;
}

TToolButton* TToolBar::Buttons(int Index) const
{
    for (TControl* c : FControls)
        if (auto* b = dynamic_cast<TToolButton*>(c); b && Index-- == 0)
            return b;
    return nullptr;
}

void TToolBar::SetAutoSize(bool V)
{
    FAutoSize = V;
    Realign();
}

void TToolBar::AlignControls(TControl*, TRect& R)
{
    // buttons in a row, in their order on the bar
    // A bar that fits itself to its buttons keeps no edge above them.
    int x = R.Left, y = R.Top + (FAutoSize ? 0 : 2);
    int right = 0, bottom = 0;
    for (TControl* c : FControls) {
        auto* b = dynamic_cast<TToolButton*>(c);
        if (!b || !b->Visible())
            continue;
        int w = FButtonWidth;
        if (b->Style() == tbsSeparator || b->Style() == tbsDivider)
            w = b->Width() > 0 && b->Width() < FButtonWidth ? b->Width() : 8;
        else if (b->Style() == tbsDropDown)
            w += 12;
        if (FShowCaptions && List && b->Style() != tbsSeparator && b->Style() != tbsDivider) {
            TCanvas m;
            m.Font()->Assign(*Font());
            w = std::max(w, m.TextWidth(b->Caption()) + (Images ? Images->Width() : 0) + 12);
        }
        if (Wrapable && x > R.Left && x + w > R.Right) {
            x = R.Left;
            y += FButtonHeight;
        }
        b->SetBounds(x, y, w, FButtonHeight);
        x += w;
        right = std::max(right, x);
        bottom = std::max(bottom, y + FButtonHeight);
    }
    if (FAutoSize && right > 0)
        SetBounds(Left(), Top(), right, bottom);
}

void TToolBar::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(FColor);
    c->FillRect(ClientRect());
}

// ---- TProgressBar ----------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    FWidth = 150;
    FHeight = 17;
}

void TProgressBar::SetPosition(int V)
{
    FPosition = std::clamp(V, Min, FMax);
    Invalidate();
}

void TProgressBar::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(RGB(230, 230, 230));
    c->FillRect(ClientRect());
    c->Brush()->SetColor(RGB(188, 188, 188));
    c->FrameRect(ClientRect());
    const int span = std::max(1, FMax - Min);
    const int w = (FWidth - 2) * (FPosition - Min) / span;
    c->Brush()->SetColor(RGB(6, 176, 37));
    c->FillRect(Rect(1, 1, 1 + w, FHeight - 1));
}
