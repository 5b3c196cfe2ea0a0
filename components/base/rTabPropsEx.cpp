// The shared tab drawing, hot tracking and clicks of the improved tab and
// page controls.

#include "components/base/rTabControlEx.h"
#include "components/base/rtool.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Themes.h"

#include <cmath>

TTabPropsEx::TTabPropsEx(TComponent* AOwner, TTabHostEx* Host) : TComponent(AOwner), FHost(Host)
{
    SetName(AOwner->Name() + QStringLiteral("TabPropsEx"));
    ResetFont(*FHost->HostControl()->Font());
    auto changed = [this] { FontChanged(); };
    FTabFont.OnChange = changed;
    FSelectedTabFont.OnChange = changed;
    FHotTabFont.OnChange = changed;
}

int TTabPropsEx::S(int V) const
{
    return int(std::nearbyint(V * FScaleRatio));
}

void TTabPropsEx::FontChanged()
{
    FParentFont = false;
    FHost->HostControl()->Invalidate();
}

void TTabPropsEx::SetParentFont(bool V)
{
    if (V) {
        const bool keep = FParentFont;
        ResetFont(*FHost->HostControl()->Font());
        FParentFont = keep;
    }
    FParentFont = V;
    FHost->HostControl()->Invalidate();
}

void TTabPropsEx::UpdateScale(double Ratio, int M, int D)
{
    FScaleRatio = Ratio;
    if (FParentFont)
        return;
    for (TFont* f : {&FTabFont, &FSelectedTabFont, &FHotTabFont}) {
        auto handler = std::move(f->OnChange);
        f->SetHeight(MulDiv(f->Height(), M, D));
        f->OnChange = std::move(handler);
    }
}

void TTabPropsEx::ResetFont(const TFont& Font)
{
    if (!FParentFont)
        return;
    for (TFont* f : {&FTabFont, &FSelectedTabFont, &FHotTabFont}) {
        auto handler = std::move(f->OnChange);
        f->Assign(Font);
        f->OnChange = std::move(handler);
    }
}

void TTabPropsEx::ResetHotState(bool Repaint)
{
    if (FHotTabIndex < 0 && FHotBtnIndex < 0)
        return;
    if (Repaint)
        FHost->HostControl()->Invalidate();
    FHotTabIndex = -1;
    FHotBtnIndex = -1;
}

bool TTabPropsEx::CheckRightBorder(int TabIndex, TRect& Rect, int Extra) const
{
    const int clientWidth = FHost->HostControl()->ClientWidth();
    const int limit = TabIndex < FHost->HostTabCount() - 1 ? clientWidth - S(38) : clientWidth;
    if (Rect.Right + Extra >= limit)
        Rect.Right = clientWidth - S(38) - Extra;
    return Rect.Width() > 0;
}

bool TTabPropsEx::CloseBtnShown(int TabIndex)
{
    bool canClose = FShowCloseBtn;
    if (OnTabGetProps) {
        TFont font(*FHost->HostCanvas()->Font());
        TColor bk = clNone;
        OnTabGetProps(FHost->HostControl(), TabIndex, &font, bk, canClose);
    }
    return canClose;
}

TRect TTabPropsEx::CloseBtnRect(int TabIndex) const
{
    TRect tab = FHost->HostTabRect(TabIndex);
    if (TabIndex == FHost->HostSelectedTab()) {
        if (FHost->HostTabsAtBottom())
            tab.Top += 2;
        else
            tab.Bottom -= 2;
    }
    int w = S(FCloseBtnSize), h = w;
    if (!FCloseBtn.Empty()) {
        w = FCloseBtn.Width();
        h = FCloseBtn.Height();
    }
    const int right = tab.Right - S(2);
    const int top = tab.Top + (tab.Height() - h) / 2;
    return Rect(right - w, top, right, top + h);
}

void TTabPropsEx::DrawTabEx(int TabIndex, const TRect& Rect, TOwnerDrawState State)
{
    TCustomControl* control = FHost->HostControl();
    TCanvas* c = FHost->HostCanvas();
    // 1.
    const bool themed = GetThemeEnabled() && FDrawThemed;
    const bool selected = State & odSelected;
    const bool hot = FHost->HostHotTrack() && FHotTabIndex == TabIndex;
    bool closeBtn = FShowCloseBtn;
    // 2.
    if (FHost->HostHasDrawTabHandler()) {
        FHost->HostDrawTabHandler(TabIndex, Rect, selected);
        return;
    }
    // 3.
    const TBrush savedBrush(*c->Brush());
    const TFont savedFont(*c->Font());
    TPen savedPen;
    savedPen.Assign(*c->Pen());
    c->Font()->Assign(*control->Font());
    if (!FParentFont)
        c->Font()->Assign(selected ? FSelectedTabFont : hot ? FHotTabFont : FTabFont);
    // 4.
    TColor bk = control->Color();
    if (FTabColor != clNone)
        bk = FTabColor;
    if (selected && FSelectedTabColor != clNone)
        bk = FSelectedTabColor;
    else if (hot && !selected && FHotTabColor != clNone)
        bk = FHotTabColor;
    // 5.
    if (OnTabGetProps)
        OnTabGetProps(control, TabIndex, c->Font(), bk, closeBtn);
    // 6.
    const bool bottom = FHost->HostTabsAtBottom();
    TRect pane = control->ClientRect();
    if (bottom)
        pane.Bottom = Rect.Top;
    else
        pane.Top = Rect.Bottom;
    TRect tab = Rect;
    if (selected)
        tab.Inflate(2, 2);
    if (bottom) {
        tab.Offset(0, -1);
        if (selected)
            tab.Top += 1;
    }
    // 7.
    if (OnDrawTabBackground)
        OnDrawTabBackground(control, TabIndex, pane, tab, bk, selected, hot, closeBtn);
    else if (themed)
        DrawBkThemed(TabIndex, pane, tab, selected, hot);
    else
        DrawBkStandard(TabIndex, pane, tab, bk, selected, hot);
    // 8.
    if (OnDrawTabContent)
        OnDrawTabContent(control, TabIndex, pane, tab, bk, selected, hot, closeBtn);
    else
        DrawTabContent(TabIndex, tab, selected, hot, closeBtn);
    // 9.
    if (OnDrawTabCloseBtn)
        OnDrawTabCloseBtn(control, TabIndex, pane, tab, bk, selected, hot, closeBtn);
    else if (closeBtn)
        DrawCloseBtn(TabIndex, CloseBtnRect(TabIndex), FHotBtnIndex == TabIndex);
    // 10.
    if (OnDrawTabFinalize)
        OnDrawTabFinalize(control, TabIndex, pane, tab, bk, selected, hot, closeBtn);
    // 11.
    if (selected && control->Focused()) {
        TRect f = Rect;
        f.Inflate(-2, -2);
        if (bottom)
            f.Bottom -= 1;
        c->DrawFocusRect(f);
    }
    c->Brush()->Assign(savedBrush);
    c->Font()->Assign(savedFont);
    c->Pen()->Assign(savedPen);
}

void TTabPropsEx::DrawBkThemed(int TabIndex, const TRect& PaneRect, const TRect& TabRect, bool Selected, bool Hot)
{
    TCanvas* c = FHost->HostCanvas();
    DrawThemedTabPane(c, PaneRect);
    TRect tab = TabRect;
    if (CheckRightBorder(TabIndex, tab, 0))
        DrawThemedTab(c, tab, Selected, Hot);
    if (FHost->HostTabsAtBottom()) {
        c->Pen()->SetColor(clGray);
        c->MoveTo(tab.Left, tab.Bottom - 1);
        c->LineTo(tab.Right, tab.Bottom - 1);
    }
}

void TTabPropsEx::DrawBkStandard(int TabIndex, const TRect& PaneRect, const TRect& TabRect, TColor BkColor,
                                 bool Selected, bool Hot)
{
    TCanvas* c = FHost->HostCanvas();
    const bool bottom = FHost->HostTabsAtBottom();
    // 1.
    TRect pane = PaneRect;
    Frame3D(c, pane, clBtnHighlight, cl3DDkShadow, 1);
    TRect R = TabRect;
    if (!CheckRightBorder(TabIndex, R, 0))
        return;
    // 2.
    const int y0 = bottom ? R.Bottom - 1 : R.Top;
    const int y1 = bottom ? R.Top : R.Bottom;
    const int in = bottom ? -1 : 1;
    auto line = [c](TColor Color, int X1, int Y1, int X2, int Y2) {
        c->Pen()->SetColor(Color);
        c->MoveTo(X1, Y1);
        c->LineTo(X2, Y2);
    };
    line(clWindow, R.Left, y0, R.Right, y0);
    line(clWindow, R.Left, y0, R.Left, y1);
    line(cl3DDkShadow, R.Right - 1, y0, R.Right - 1, y1);
    line(cl3DLight, R.Left + 1, y0 + in, R.Right - 1, y0 + in);
    line(cl3DLight, R.Left + 1, y0 + in, R.Left + 1, y1);
    line(cl3DLight, R.Right - 2, y0 + in, R.Right - 2, y1);
    // 3.
    TRect inside = R;
    inside.Left += 2;
    inside.Right -= 2;
    if (bottom)
        inside.Bottom -= 2;
    else
        inside.Top += 2;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(BkColor);
    c->FillRect(inside);
    // 4.
    const TColor strip = Selected ? FSelectedBorderColor : Hot ? FHotBorderColor : clNone;
    if (strip != clNone) {
        const int shrink = Selected ? 1 : 2;
        TRect s = Rect(R.Left + shrink, R.Top, R.Right - shrink, R.Top + 2);
        if (bottom)
            s = Rect(R.Left + shrink, R.Bottom - 2, R.Right - shrink, R.Bottom);
        c->Brush()->SetColor(strip);
        c->FillRect(s);
    }
}

void TTabPropsEx::DrawTabContent(int TabIndex, const TRect& TabRect, bool Selected, bool, bool CloseBtn)
{
    TCanvas* c = FHost->HostCanvas();
    const QString text = FHost->HostTabText(TabIndex).trimmed();
    TRect R = TabRect;
    if (!CheckRightBorder(TabIndex, R, 0))
        return;
    if (Selected) {
        if (FHost->HostTabsAtBottom())
            R.Bottom += 2;
        else
            R.Bottom -= 2;
    }
    TCustomImageList* images = FHost->HostImages();
    const int image = FHost->HostTabImageIndex(TabIndex);
    const bool hasImage = images && image >= 0 && image < images->Count();
    int content = c->TextWidth(text);
    if (hasImage)
        content += S(2) + images->Width();
    if (CloseBtn)
        content += S(FCloseBtnSize) + S(2);
    int x = R.Left + std::max((R.Width() - content) / 2, 4);
    if (hasImage) {
        if (x + images->Width() <= R.Right)
            images->Draw(c, x, std::max(R.Top, R.Top + (R.Height() - images->Height()) / 2), image, true);
        x += images->Width() + S(2);
    }
    TRect textRect = R;
    textRect.Left = x;
    if (CloseBtn)
        textRect.Right = std::min(CloseBtnRect(TabIndex).Left - S(2), R.Right);
    else
        textRect.Right = R.Right - S(4);
    c->Brush()->SetStyle(bsClear);
    if (FWordWrap && c->TextWidth(text) > textRect.Width() && text.contains(QLatin1Char(' '))) {
        TRect w = textRect;
        w.Top += 2;
        c->DrawText(text, w, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    } else
        c->DrawText(text, textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    c->Brush()->SetStyle(bsSolid);
}

void TTabPropsEx::DrawCloseBtn(int TabIndex, const TRect& BtnRect, bool Hot)
{
    TRect R = BtnRect;
    if (!CheckRightBorder(TabIndex, R, S(4)) || R.Width() != BtnRect.Width())
        return;
    TCanvas* c = FHost->HostCanvas();
    if (!FCloseBtn.Empty()) {
        const TPicture& p = Hot && !FHotCloseBtn.Empty() ? FHotCloseBtn : FCloseBtn;
        c->Draw(R.Left, R.Top, p.Graphic());
        return;
    }
    DrawThemedPushButton(c, R, Hot ? tsHot : tsNormal);
    const int d = R.Height() / 3;
    c->Pen()->SetColor(clGray);
    c->Pen()->SetWidth(2);
    c->MoveTo(R.Left + d, R.Top + d);
    c->LineTo(R.Right - d, R.Bottom - d);
    c->MoveTo(R.Left + d, R.Bottom - d);
    c->LineTo(R.Right - d, R.Top + d);
    c->Pen()->SetWidth(1);
}

void TTabPropsEx::CheckMouseMove(TShiftState, int X, int Y)
{
    if (!FHost->HostOwnerDraw() || !FHost->HostHotTrack())
        return;
    TCustomControl* control = FHost->HostControl();
    int tab = FHost->HostTabAt(X, Y);
    if (tab == FHost->HostSelectedTab())
        tab = -1;
    const int hitTab = FHost->HostTabAt(X, Y);
    const int btn = hitTab >= 0 && FShowCloseBtn && CloseBtnRect(hitTab).Contains({X, Y}) ? hitTab : -1;
    if (tab != FHotTabIndex || btn != FHotBtnIndex) {
        FHotTabIndex = tab;
        FHotBtnIndex = btn;
        control->Invalidate();
    }
}

void TTabPropsEx::CheckMouseClick(TMouseButton Button, TShiftState, int X, int Y)
{
    const int tab = FHost->HostTabAt(X, Y);
    if (tab < 0)
        return;
    TCustomControl* control = FHost->HostControl();
    if (Button == mbLeft && CloseBtnShown(tab) && CloseBtnRect(tab).Contains({X, Y})) {
        bool canClose = true;
        if (OnTabClose)
            OnTabClose(control, tab, canClose);
        if (canClose)
            FHost->HostCloseTab(tab);
    } else if (Button == mbRight) {
        TPopupMenu* menu = control->PopupMenu();
        if (OnTabGetPopupMenu)
            OnTabGetPopupMenu(control, tab, menu);
        if (menu) {
            FHost->HostSetActiveTab(tab);
            const TPoint p = control->ClientToScreen({X, Y});
            menu->Popup(p.X, p.Y);
        }
    }
}
