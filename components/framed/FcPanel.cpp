#include "components/framed/FcPanel.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcGrafx.h"
#include "components/framed/FcLegacyProps.h"
#include "components/framed/FcPanelDockManager.h"

#include <algorithm>

TFcCustomPanel::TFcCustomPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    FcCommonInitialize();
    FBevelOuter = bvNone;
}

TFcCustomPanel::~TFcCustomPanel()
{
    FDockManager.reset();
    if (FFrameController)
        FFrameController->RemoveControl(this);
}

void TFcCustomPanel::Changed()
{
    Invalidate();
}

void TFcCustomPanel::Rearranged()
{
    Realign();
    Invalidate();
}

#define FC_PANEL_SETTER(Name, Type, Field, After)   \
    void TFcCustomPanel::Set##Name(Type Value)      \
    {                                               \
        if (Field == Value)                         \
            return;                                 \
        Field = Value;                              \
        After;                                      \
    }
FC_PANEL_SETTER(AlignmentVertical, TAlignmentVertical, FAlignmentVertical, Changed())
FC_PANEL_SETTER(BorderInner, TFrameStyleEx, FBorderInner, Rearranged())
FC_PANEL_SETTER(BorderOuter, TFrameStyleEx, FBorderOuter, Rearranged())
FC_PANEL_SETTER(BorderSides, TSides, FBorderSides, Rearranged())
FC_PANEL_SETTER(BorderColor, TColor, FBorderColor, Changed())
FC_PANEL_SETTER(BorderHighlight, TColor, FBorderHighlight, Changed())
FC_PANEL_SETTER(BorderShadow, TColor, FBorderShadow, Changed())
FC_PANEL_SETTER(FlatColor, TColor, FFlatColor, Changed())
FC_PANEL_SETTER(FlatColorAdjustment, int, FFlatColorAdjustment, Changed())
FC_PANEL_SETTER(PaintClientArea, bool, FPaintClientArea, Changed())
FC_PANEL_SETTER(VisualStyle, TFcVisualStyle, FVisualStyle, Changed())
FC_PANEL_SETTER(GradientColorStyle, TFcGradientColorStyle, FGradientColorStyle, Changed())
FC_PANEL_SETTER(GradientColorStart, TColor, FGradientColorStart, Changed(); InvalidateControls(this))
FC_PANEL_SETTER(GradientColorStop, TColor, FGradientColorStop, Changed(); InvalidateControls(this))
FC_PANEL_SETTER(GradientDirection, TFcGradientDirection, FGradientDirection, Changed(); InvalidateControls(this))
FC_PANEL_SETTER(GridColor, TColor, FGridColor, Changed())
FC_PANEL_SETTER(GridStyle, TFcGridStyle, FGridStyle, Changed())
FC_PANEL_SETTER(GridXSize, int, FGridXSize, Changed())
FC_PANEL_SETTER(GridYSize, int, FGridYSize, Changed())
FC_PANEL_SETTER(ShowGrid, bool, FShowGrid, Changed())
FC_PANEL_SETTER(TextMargin, int, FTextMargin, Changed())
FC_PANEL_SETTER(TextMarginVertical, int, FTextMarginVertical, Changed())
FC_PANEL_SETTER(WordWrap, bool, FWordWrap, Changed())
#undef FC_PANEL_SETTER

void TFcCustomPanel::SetDockSite(bool Value)
{
    FDockSite = Value;
    if (Value && UseDockManager && !FDockManager)
        FDockManager = std::make_unique<TFcPanelDockManager>(this);
    else if (!Value)
        FDockManager.reset();
    Realign();
}

void TFcCustomPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FDockManager && FDockManager->MouseDown(X, Y))
        return;
    TCustomPanel::MouseDown(Button, Shift, X, Y);
}

void TFcCustomPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FDockManager) {
        ShowCursorShape(FDockManager->CursorAt(X, Y) != crDefault ? FDockManager->CursorAt(X, Y) : Cursor());
        if (FDockManager->MouseMove(X, Y))
            return;
    }
    TCustomPanel::MouseMove(Shift, X, Y);
}

void TFcCustomPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FDockManager && FDockManager->MouseUp(X, Y))
        return;
    TCustomPanel::MouseUp(Button, Shift, X, Y);
}

void TFcCustomPanel::FocusChanged(TWinControl*)
{
    // the grabbers show which docked client has the focus
    if (FDockManager && FDockManager->ClientCount() > 0)
        Invalidate();
}

void TFcCustomPanel::Resize()
{
    TCustomPanel::Resize();
    if (FDockManager)
        FDockManager->ResetBounds();
}

void TFcCustomPanel::SetGridSize(int XSize, int YSize)
{
    SetGridXSize(XSize);
    SetGridYSize(YSize);
}

void TFcCustomPanel::SetTransparent(bool Value)
{
    if (Transparent() == Value)
        return;
    TCustomPanel::SetTransparent(Value);
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TFcCustomPanel::SetFrameController(TFcFrameController* Value)
{
    ChangeFrameController(this, FFrameController, Value);
}

void TFcCustomPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFrameController)
        FFrameController = nullptr;
    if (Operation == opRemove && FDockManager)
        FDockManager->Forget(AComponent);
    if (Operation == opRemove)
        FEnabledList.erase(std::remove_if(FEnabledList.begin(), FEnabledList.end(),
                                          [AComponent](const auto& e) { return e.first == AComponent; }),
                           FEnabledList.end());
}

void TFcCustomPanel::ReadLegacyUseGradients(bool Value)
{
    if (Value)
        SetVisualStyle(vsGradient);
}

bool TFcCustomPanel::ReadLegacyProperty(const QString& Name, const QString& Value)
{
    if (Name.compare(QLatin1String("UseGradients"), Qt::CaseInsensitive) == 0) {
        ReadLegacyUseGradients(LegacyBool(Value));
        return true;
    }
    return Name.compare(QLatin1String("ThemeAware"), Qt::CaseInsensitive) == 0 ||
           Name.compare(QLatin1String("FrameSides"), Qt::CaseInsensitive) == 0;
}

void TFcCustomPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    // a bottom-aligned panel grows upward, a right-aligned one leftward
    if (Align() == alBottom && AHeight != Height() && Height() > 0)
        ATop = Top() + Height() - AHeight;
    else if (Align() == alRight && AWidth != Width() && Width() > 0)
        ALeft = Left() + Width() - AWidth;
    TCustomPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
}

TRect TFcCustomPanel::FixClientRect(TRect R, bool IncludeBorderWidth) const
{
    if (IncludeBorderWidth)
        R.Inflate(-BorderWidth(), -BorderWidth());
    for (TFrameStyleEx style : {FBorderOuter, FBorderInner}) {
        const int t = FrameStyleThickness(style, BevelWidth());
        if (HasSide(FBorderSides, sdLeft))
            R.Left += t;
        if (HasSide(FBorderSides, sdTop))
            R.Top += t;
        if (HasSide(FBorderSides, sdRight))
            R.Right -= t;
        if (HasSide(FBorderSides, sdBottom))
            R.Bottom -= t;
    }
    return R;
}

void TFcCustomPanel::AlignControls(TControl* AControl, TRect& R)
{
    // the inherited adjustment already took the border width
    R = FixClientRect(R, false);
    TCustomPanel::AlignControls(AControl, R);
}

void TFcCustomPanel::AdjustClientRect(TRect& R)
{
    TCustomPanel::AdjustClientRect(R);
    if (FDockSite)
        R = FixClientRect(R, false);
}

void TFcCustomPanel::EnabledChanged()
{
    TCustomPanel::EnabledChanged();
    Invalidate();
    EnableChildControls(Enabled());
}

void TFcCustomPanel::EnableChildControls(bool Enable)
{
    if (!Enable) {
        FEnabledList.clear();
        for (int i = 0; i < ControlCount(); ++i)
            FEnabledList.emplace_back(Controls(i), Controls(i)->Enabled());
        for (int i = 0; i < ControlCount(); ++i)
            Controls(i)->SetEnabled(false);
        return;
    }
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        auto it = std::find_if(FEnabledList.begin(), FEnabledList.end(), [c](const auto& e) { return e.first == c; });
        if (it == FEnabledList.end() || it->second)
            c->SetEnabled(true);
    }
}

void TFcCustomPanel::ColorChanged()
{
    FPanelColor = Color();
    TCustomPanel::ColorChanged();
}

void TFcCustomPanel::GetGradientColors(TColor& Start, TColor& Stop) const
{
    if (FGradientColorStyle == gcsCustom) {
        Start = FGradientColorStart;
        Stop = FGradientColorStop;
    } else {
        GetGradientPanelColors(FGradientColorStyle, Start, Stop);
    }
}

void TFcCustomPanel::GetGradientFrameColor(TColor& Color, int& Adjustment) const
{
    if (FVisualStyle == vsGradient && FGradientColorStyle != gcsCustom) {
        Color = GetGradientPanelFrameColor(FGradientColorStyle);
        Adjustment = 0;
    } else {
        Color = FFlatColor;
        Adjustment = FFlatColorAdjustment;
    }
}

void TFcCustomPanel::CustomFramingChanged()
{
    const TFcFrameController* c = FFrameController;
    if (!c || !c->FrameVisible())
        return;
    const TFcFrameControllerNotifications n = FrameControllerNotifications;
    if (HasNotification(n, fcpFrameStyle))
        SetBorderOuter(c->FrameStyle());
    if (HasNotification(n, fcpFrameSides))
        SetBorderSides(c->FrameSides());
    if (HasNotification(n, fcpFrameColor)) {
        SetFlatColor(c->FrameColor());
        SetFlatColorAdjustment(0);
    }
    if (HasNotification(n, fcpColor))
        SetColor(c->Color());
    if (HasNotification(n, fcpParentColor))
        SetParentColor(c->ParentColor());
    if (HasNotification(n, fcpColor)) {
        SetBorderHighlight(LighterColor(c->Color(), 100));
        SetBorderShadow(DarkerColor(c->Color(), 50));
    }
    Invalidate();
}

void TFcCustomPanel::Paint()
{
    PaintPanel();
}

void TFcCustomPanel::PaintPanel()
{
    TCanvas* c = Canvas();
    // 1.
    TRect r = GetControlRect();
    // 2. colours (only the system look exists)
    TFcBorderSet b;
    GetGradientFrameColor(b.FlatColor, b.FlatColorAdjustment);
    b.ParentColor = Parent() ? Parent()->Color() : clBtnFace;
    b.BorderColor = FBorderColor;
    b.BorderHighlight = FBorderHighlight;
    b.BorderShadow = FBorderShadow;
    b.Color = Color();
    b.BorderOuter = FBorderOuter;
    b.BorderInner = FBorderInner;
    b.BorderWidth = BorderWidth();
    b.BorderSides = FBorderSides;
    b.BevelWidth = BevelWidth();
    b.Transparent = Transparent();
    // 3. frames and band
    r = DrawInnerOuterBorders(c, r, b);
    // 4. the fill
    if (!Transparent() && FPaintClientArea) {
        const bool rounded = (FBorderOuter == fsFlatRounded && FBorderInner == fsNone && BorderWidth() == 0) ||
                             FBorderInner == fsFlatRounded;
        TRect f = r;
        if (rounded) {
            if (HasSide(FBorderSides, sdLeft)) --f.Left;
            if (HasSide(FBorderSides, sdTop)) --f.Top;
            if (HasSide(FBorderSides, sdRight)) ++f.Right;
            if (HasSide(FBorderSides, sdBottom)) ++f.Bottom;
        }
        if (FVisualStyle == vsGradient) {
            TColor start, stop;
            GetGradientColors(start, stop);
            PaintGradient(c, f, FGradientDirection, start, stop, 1);
        } else {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(Color());
            c->FillRect(f);
        }
        if (rounded) {
            const TColor corner = ColorToRGB(AdjustColor(b.FlatColor, b.FlatColorAdjustment));
            const TSides s = FBorderSides;
            if (HasSide(s, sdLeft) && HasSide(s, sdTop)) c->SetPixel(f.Left, f.Top, corner);
            if (HasSide(s, sdTop) && HasSide(s, sdRight)) c->SetPixel(f.Right - 1, f.Top, corner);
            if (HasSide(s, sdRight) && HasSide(s, sdBottom)) c->SetPixel(f.Right - 1, f.Bottom - 1, corner);
            if (HasSide(s, sdBottom) && HasSide(s, sdLeft)) c->SetPixel(f.Left, f.Bottom - 1, corner);
        }
    }
    // 5.
    if (FShowGrid)
        DrawGrid(r);
    // 6.
    c->Brush()->SetStyle(bsClear);
    DrawCaption(r);
    c->Brush()->SetStyle(bsSolid);
    if (FDockManager)
        FDockManager->PaintSite(c);
    if (OnPaint)
        OnPaint(this);
}

void TFcCustomPanel::DrawCaption(TRect R)
{
    // 1.
    if (Caption().isEmpty())
        return;
    TCanvas* c = Canvas();
    c->SetFont(*Font());
    R.Left += FTextMargin;
    R.Right -= FTextMargin;
    R.Top += FTextMarginVertical;
    R.Bottom -= FTextMarginVertical;
    // 2. flags and the text's height
    unsigned flags = DrawTextWordWrap[FWordWrap ? 1 : 0] | DT_EXPANDTABS | DT_VCENTER |
                     DrawTextAlignments[BiDiAlignment(Alignment())] | DrawTextBiDiModeFlagsReadingOnly();
    if (!FWordWrap)
        flags |= DT_SINGLELINE;
    TRect m = R;
    const int h = c->DrawText(Caption(), m, flags | DT_CALCRECT);
    // 3. vertical placement
    switch (FAlignmentVertical) {
    case avTop:
        R.Bottom = std::min(R.Bottom, R.Top + h);
        break;
    case avCenter:
        R.Top = (R.Top + R.Bottom - h) / 2;
        R.Bottom = std::min(R.Bottom, R.Top + h);
        break;
    case avBottom:
        R.Top = std::max(R.Top, R.Bottom - h - 1);
        break;
    }
    // 4.
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    c->DrawText(Caption(), R, flags);
}

void TFcCustomPanel::DrawGrid(const TRect& R)
{
    TCanvas* c = Canvas();
    const TColor color = ColorToRGB(ActiveStyleSystemColor(FGridColor));
    const int cols = FGridXSize > 0 ? R.Width() / FGridXSize : 0;
    const int rows = FGridYSize > 0 ? R.Height() / FGridYSize : 0;
    auto xAt = [&](int i) { return R.Left + i * FGridXSize - 1; };
    auto yAt = [&](int j) { return R.Top + j * FGridYSize - 1; };
    switch (FGridStyle) {
    case gsDots:
        for (int i = 1; i <= cols; ++i)
            for (int j = 1; j <= rows; ++j)
                c->SetPixel(xAt(i), yAt(j), color);
        break;
    case gsSolidLines:
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(color);
        for (int i = 1; i <= cols; ++i)
            c->FillRect(Rect(xAt(i), R.Top, xAt(i) + 1, R.Bottom));
        for (int j = 1; j <= rows; ++j)
            c->FillRect(Rect(R.Left, yAt(j), R.Right, yAt(j) + 1));
        break;
    case gsDottedLines:
        for (int i = 1; i <= cols; ++i)
            for (int y = R.Top + 1; y < R.Bottom - 1; y += 2)
                c->SetPixel(xAt(i), y, color);
        for (int j = 1; j <= rows; ++j)
            for (int x = R.Left + 1; x < R.Right - 1; x += 2)
                c->SetPixel(x, yAt(j), color);
        break;
    }
}
