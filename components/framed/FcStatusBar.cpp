#include "components/framed/FcStatusBar.h"

#include "components/framed/FcFrames.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ThemedElements.h"
#include "platform/ui/WindowSizing.h"

#include <cmath>

TFcStatusBar::TFcStatusBar(TComponent* AOwner) : TFcCustomPanel(AOwner)
{
    SetAlign(alBottom);
    FBorderInner = fsNone;
    FBorderOuter = fsNone;
    FBorderSides = sdAllSides;
    SetHeight(19);
    SetBorderWidth(0);
}

void TFcStatusBar::Loaded()
{
    TFcCustomPanel::Loaded();
    if (FAutoStyle)
        AdjustStyle();
}

void TFcStatusBar::SetBorderInner(TFrameStyleEx Value)
{
    if (Value == FBorderInner)
        return;
    TFcCustomPanel::SetBorderInner(Value);
    FAutoStyle = false;
}

void TFcStatusBar::SetBorderOuter(TFrameStyleEx Value)
{
    if (Value == FBorderOuter)
        return;
    TFcCustomPanel::SetBorderOuter(Value);
    FAutoStyle = false;
}

void TFcStatusBar::SetBorderSides(TSides Value)
{
    if (Value == FBorderSides)
        return;
    TFcCustomPanel::SetBorderSides(Value);
    FAutoStyle = false;
}

void TFcStatusBar::AdjustStyle()
{
    const bool keep = FAutoStyle;
    SetBorderInner(fsNone);
    SetBorderOuter(fsNone);
    SetBorderSides(sdAllSides);
    SetHeight(19);
    SetBorderWidth(0);
    FAutoStyle = keep;
}

void TFcStatusBar::SetShowSizeGrip(bool Value)
{
    if (FShowSizeGrip != Value) {
        FShowSizeGrip = Value;
        Invalidate();
    }
}

void TFcStatusBar::SetSimpleCaption(const QString& Value)
{
    if (FSimpleCaption != Value) {
        FSimpleCaption = Value;
        Invalidate();
    }
}

void TFcStatusBar::SetSimpleFrameStyle(TFrameStyle Value)
{
    if (FSimpleFrameStyle != Value && InFrameStyleRange(Value)) {
        FSimpleFrameStyle = Value;
        Invalidate();
    }
}

void TFcStatusBar::SetSimpleStatus(bool Value)
{
    if (FSimpleStatus == Value)
        return;
    FSimpleStatus = Value;
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetVisible(!Value);
    EnableAlign();
    Invalidate();
}

TRect TFcStatusBar::ClientRect() const
{
    TRect r = TFcCustomPanel::ClientRect();
    if (!ThemeServicesEnabled()) {
        ++r.Bottom;
        if (FSimpleStatus) {
            r.Top = 2;
        } else {
            r.Top = 1;
            --r.Left;
            ++r.Right;
        }
    } else if (FSimpleStatus) {
        ++r.Left;
        ++r.Top;
        --r.Right;
    }
    return r;
}

void TFcStatusBar::GetGradientColors(TColor& Start, TColor& Stop) const
{
    // handed over as (stop, start): the bar's gradient runs the other way round
    if (FGradientColorStyle == gcsCustom) {
        Start = FGradientColorStop;
        Stop = FGradientColorStart;
    } else {
        TColor frame;
        GetGradientStatusBarColors(FGradientColorStyle, Start, Stop, frame);
    }
}

bool TFcStatusBar::SizeGripValid() const
{
    const TCustomForm* f = GetParentForm(this);
    if (!f)
        return false;
    const TFormBorderStyle s = f->BorderStyle();
    return (s == bsSizeable || s == bsSizeToolWin) && f->WindowState() != wsMaximized;
}

void TFcStatusBar::MouseMove(TShiftState Shift, int X, int Y)
{
    const bool overGrip = FShowSizeGrip && SizeGripValid() && SizeGripRect().Contains(Point(X, Y));
    ShowCursorShape(overGrip ? crSizeNWSE : Cursor());
    TFcCustomPanel::MouseMove(Shift, X, Y);
}

void TFcStatusBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FShowSizeGrip && SizeGripValid() && SizeGripRect().Contains(Point(X, Y))) {
        SetMouseCapture(false);
        StartWindowSizingFromCorner(GetParentForm(this));
        return;
    }
    TFcCustomPanel::MouseDown(Button, Shift, X, Y);
}

void TFcStatusBar::Paint()
{
    TCanvas* c = Canvas();
    if (FVisualStyle == vsWinXP && ActiveStyleServicesEnabled()) {
        DrawThemedStatusBar(c, Rect(0, 0, Width(), Height()));
        if (FSimpleStatus && !FSimpleCaption.isEmpty()) {
            TRect r = ClientRect();
            c->SetFont(*Font());
            c->Font()->SetColor(ThemedTextColor(Enabled()));
            c->Brush()->SetStyle(bsClear);
            r.Left += 2;
            c->DrawText(FSimpleCaption, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            c->Brush()->SetStyle(bsSolid);
        }
    } else {
        PaintPanel();
        TRect r = ClientRect();
        --r.Bottom;
        if (FSimpleStatus) {
            DrawSimpleStatusBorder(r);
            r.Inflate(-1, -1);
            if (!FSimpleCaption.isEmpty()) {
                c->SetFont(*Font());
                c->Brush()->SetStyle(bsClear);
                c->TextRect(r, r.Left + 2, r.Top + (r.Height() - c->TextHeight(QStringLiteral("Pp"))) / 2, FSimpleCaption);
                c->Brush()->SetStyle(bsSolid);
            }
        }
    }
    if (FShowSizeGrip && SizeGripValid())
        DrawSizeGrip();
}

void TFcStatusBar::DrawSimpleStatusBorder(const TRect& R)
{
    TCanvas* c = Canvas();
    if (FVisualStyle == vsWinXP && ActiveStyleServicesEnabled()) {
        DrawThemedStatusPane(c, R, true);
        return;
    }
    if (FVisualStyle != vsClassic)
        return;
    if (FSimpleFrameStyle == fsFlat) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(AdjustColor(FFlatColor, FFlatColorAdjustment));
        c->FillRect(Rect(R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1));
        c->FillRect(Rect(R.Left + 1, R.Top, R.Right - 1, R.Top + 1));
        c->FillRect(Rect(R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1));
        c->FillRect(Rect(R.Left + 1, R.Bottom - 1, R.Right - 1, R.Bottom));
    } else {
        DrawBorder(c, R, FSimpleFrameStyle);
    }
}

void TFcStatusBar::DrawSizeGrip()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    --r.Bottom;
    if (FVisualStyle == vsWinXP && ActiveStyleServicesEnabled()) {
        DrawThemedSizeGrip(c, Rect(r.Right - 20, r.Top, r.Right, r.Bottom));
        return;
    }
    TColor light = clBtnHighlight, dark = clBtnShadow;
    if (FVisualStyle == vsGradient) {
        TColor stop;
        GetGradientStatusBarColors(FGradientColorStyle, stop, light, dark);
    }
    const TPoint spots[6] = {{r.Right - 5, r.Bottom - 12}, {r.Right - 5, r.Bottom - 8}, {r.Right - 5, r.Bottom - 4},
                             {r.Right - 9, r.Bottom - 8},  {r.Right - 9, r.Bottom - 4}, {r.Right - 13, r.Bottom - 4}};
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(light);
    for (const TPoint& p : spots)
        c->FillRect(Rect(p.X, p.Y, p.X + 2, p.Y + 2));
    c->Brush()->SetColor(dark);
    for (const TPoint& p : spots)
        c->FillRect(Rect(p.X - 1, p.Y - 1, p.X + 1, p.Y + 1));
}

void TFcStatusBar::Resize()
{
    TFcCustomPanel::Resize();
    if (Width() < 50)
        return;
    if (FFirst) {
        FFirst = false;
        FLastWidth = Width();
        return;
    }
    FDelta = Width() - FLastWidth;
    if (AutoScalePanes && ControlCount() > 0 && FDelta != 0 && FLastWidth > 0) {
        DisableAlign();
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* p = Controls(i);
            p->SetWidth(p->Width() + int(std::nearbyint(double(FDelta) * p->Width() / FLastWidth)));
        }
        EnableAlign();
    }
    FLastWidth = Width();
}
