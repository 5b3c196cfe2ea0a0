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
    // a column of tabs at a side never reaches the row's reserved right end
    if (TabRowVertical(FHost->HostTabPosition()))
        return Rect.Width() > 0;
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
        // the selected tab loses its two pixels on the pane's side
        switch (FHost->HostTabPosition()) {
        case tpTop: tab.Bottom -= 2; break;
        case tpBottom: tab.Top += 2; break;
        case tpLeft: tab.Right -= 2; break;
        case tpRight: tab.Left += 2; break;
        }
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
    const TTabPosition pos = FHost->HostTabPosition();
    TRect pane = control->ClientRect();
    switch (pos) {
    case tpTop: pane.Top = Rect.Bottom; break;
    case tpBottom: pane.Bottom = Rect.Top; break;
    case tpLeft: pane.Left = Rect.Right; break;
    case tpRight: pane.Right = Rect.Left; break;
    }
    TRect tab = Rect;
    if (selected)
        tab.Inflate(2, 2);
    // tabs facing the pane from below or from the right sit one pixel closer to it
    if (pos == tpBottom) {
        tab.Offset(0, -1);
        if (selected)
            tab.Top += 1;
    } else if (pos == tpRight) {
        tab.Offset(-1, 0);
        if (selected)
            tab.Left += 1;
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
        if (pos == tpBottom)
            f.Bottom -= 1;
        else if (pos == tpRight)
            f.Right -= 1;
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
    const TTabPosition pos = FHost->HostTabPosition();
    TRect tab = TabRect;
    if (!CheckRightBorder(TabIndex, tab, 0))
        return;
    // the edge parts: the first tab on the pane's leading edge, and a last one
    // that reaches the trailing edge once widened by 2
    const TRect client = FHost->HostControl()->ClientRect();
    const bool vertical = TabRowVertical(pos);
    const bool first = TabIndex == 0;
    const bool last = vertical ? tab.Bottom + 2 >= client.Bottom : tab.Right + 2 >= client.Right;
    DrawThemedTabAt(c, tab, Selected, Hot, pos, first, last);
    if (pos == tpBottom) {
        c->Pen()->SetColor(clGray);
        c->MoveTo(tab.Left, tab.Bottom - 1);
        c->LineTo(tab.Right, tab.Bottom - 1);
    } else if (pos == tpRight) {
        c->Pen()->SetColor(clGray);
        c->MoveTo(tab.Right - 1, tab.Top);
        c->LineTo(tab.Right - 1, tab.Bottom);
    }
}

void TTabPropsEx::DrawBkStandard(int TabIndex, const TRect& PaneRect, const TRect& TabRect, TColor BkColor,
                                 bool Selected, bool Hot)
{
    TCanvas* c = FHost->HostCanvas();
    const TTabPosition pos = FHost->HostTabPosition();
    // 1.
    TRect pane = PaneRect;
    Frame3D(c, pane, clBtnHighlight, cl3DDkShadow, 1);
    TRect R = TabRect;
    if (!CheckRightBorder(TabIndex, R, 0))
        return;
    auto line = [c](TColor Color, int X1, int Y1, int X2, int Y2) {
        c->Pen()->SetColor(Color);
        c->MoveTo(X1, Y1);
        c->LineTo(X2, Y2);
    };
    // 2. the tab's outer edge (away from the pane) in light lines, its far side in shadow
    if (!TabRowVertical(pos)) {
        const int y0 = pos == tpBottom ? R.Bottom - 1 : R.Top;
        const int y1 = pos == tpBottom ? R.Top : R.Bottom;
        const int in = pos == tpBottom ? -1 : 1;
        line(clWindow, R.Left, y0, R.Right, y0);
        line(clWindow, R.Left, y0, R.Left, y1);
        line(cl3DDkShadow, R.Right - 1, y0, R.Right - 1, y1);
        line(cl3DLight, R.Left + 1, y0 + in, R.Right - 1, y0 + in);
        line(cl3DLight, R.Left + 1, y0 + in, R.Left + 1, y1);
        line(cl3DLight, R.Right - 2, y0 + in, R.Right - 2, y1);
    } else {
        const int x0 = pos == tpRight ? R.Right - 1 : R.Left;
        const int x1 = pos == tpRight ? R.Left : R.Right;
        const int in = pos == tpRight ? -1 : 1;
        line(clWindow, x0, R.Top, x0, R.Bottom);
        line(clWindow, x0, R.Top, x1, R.Top);
        line(cl3DDkShadow, x0, R.Bottom - 1, x1, R.Bottom - 1);
        line(cl3DLight, x0 + in, R.Top + 1, x0 + in, R.Bottom - 1);
        line(cl3DLight, x0 + in, R.Top + 1, x1, R.Top + 1);
        line(cl3DLight, x0 + in, R.Bottom - 2, x1, R.Bottom - 2);
    }
    // 3.
    TRect inside = R;
    switch (pos) {
    case tpTop: inside = Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom); break;
    case tpBottom: inside = Rect(R.Left + 2, R.Top, R.Right - 2, R.Bottom - 2); break;
    case tpLeft: inside = Rect(R.Left + 2, R.Top + 2, R.Right, R.Bottom - 2); break;
    case tpRight: inside = Rect(R.Left, R.Top + 2, R.Right - 2, R.Bottom - 2); break;
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(BkColor);
    c->FillRect(inside);
    // 4. the strip along the outer edge
    const TColor strip = Selected ? FSelectedBorderColor : Hot ? FHotBorderColor : clNone;
    if (strip == clNone)
        return;
    const int k = Selected ? 1 : 2;
    TRect s;
    switch (pos) {
    case tpTop: s = Rect(R.Left + k, R.Top, R.Right - k, R.Top + 2); break;
    case tpBottom: s = Rect(R.Left + k, R.Bottom - 2, R.Right - k, R.Bottom); break;
    case tpLeft: s = Rect(R.Left, R.Top + k, R.Left + 2, R.Bottom - k); break;
    case tpRight: s = Rect(R.Right - 2, R.Top + k, R.Right, R.Bottom - k); break;
    }
    c->Brush()->SetColor(strip);
    c->FillRect(s);
}

void TTabPropsEx::DrawTabContent(int TabIndex, const TRect& TabRect, bool Selected, bool, bool CloseBtn)
{
    TCanvas* c = FHost->HostCanvas();
    const QString text = FHost->HostTabText(TabIndex).trimmed();
    TRect R = TabRect;
    if (!CheckRightBorder(TabIndex, R, 0))
        return;
    if (Selected) {
        switch (FHost->HostTabPosition()) {
        case tpTop: R.Bottom -= 2; break;
        case tpBottom: R.Bottom += 2; break;
        case tpLeft: R.Right -= 2; break;
        case tpRight: R.Left += 2; break;
        }
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
    const int btn = hitTab >= 0 && CloseBtnShown(hitTab) && CloseBtnRect(hitTab).Contains({X, Y}) ? hitTab : -1;
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
