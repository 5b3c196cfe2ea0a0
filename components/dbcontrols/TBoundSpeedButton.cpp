#include "components/dbcontrols/TBoundSpeedButton.h"

TBoundSpeedButton::TBoundSpeedButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetCursor(crArrow);
}

void TBoundSpeedButton::SetGlyph(const TBitmap* Value)
{
    if (Value)
        FGlyph.Assign(Value);
    else
        FGlyph.Clear();
    Invalidate();
}

void TBoundSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    c->Brush()->SetColor(FDown ? clBtnShadow : clBtnFace);
    c->FillRect(r);
    if (FHot || FDown) {
        c->Brush()->SetColor(FDown ? clBtnText : clBtnShadow);
        c->FrameRect(r);
    }
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    if (FGlyph.Width() > 0) {
        c->Draw((r.Width() - FGlyph.Width()) / 2, (r.Height() - FGlyph.Height()) / 2, &FGlyph);
    } else {
        TRect t = r;
        c->Brush()->SetStyle(bsClear);
        c->DrawText(Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c->Brush()->SetStyle(bsSolid);
    }
}

void TBoundSpeedButton::MouseEnter()
{
    TCustomControl::MouseEnter();
    FHot = true;
    Invalidate();
}

void TBoundSpeedButton::MouseLeave()
{
    TCustomControl::MouseLeave();
    FHot = FDown = false;
    Invalidate();
}

void TBoundSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    FDown = Button == mbLeft;
    Invalidate();
}

void TBoundSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDown = false;
    Invalidate();
}
