#include "platform/ui/Splitter.h"

#include "platform/ui/Graphics.h"

#include <algorithm>

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FAlign = alLeft;
    FWidth = 3;
    FHeight = 100;
    ApplyCursor();
}

TControl* TSplitter::ResizedControl() const
{
    if (!FParent)
        return nullptr;
    for (int i = 0; i < FParent->ControlCount(); ++i) {
        TControl* c = FParent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != FAlign)
            continue;
        const bool against = (FAlign == alLeft && c->Left() + c->Width() == FLeft)
                             || (FAlign == alRight && c->Left() == FLeft + FWidth)
                             || (FAlign == alTop && c->Top() + c->Height() == FTop)
                             || (FAlign == alBottom && c->Top() == FTop + FHeight);
        if (against)
            return c;
    }
    return nullptr;
}

void TSplitter::MoveBy(int Delta)
{
    TControl* c = FDragging ? FDragControl : ResizedControl();
    if (!c || !FParent)
        return;
    const int start = FDragging ? FDownSize : (Horizontal() ? c->Width() : c->Height());
    const bool growsWithDelta = FAlign == alLeft || FAlign == alTop;
    // What the parent's aligned controls other than this pair take; the rest
    // keeps at least MinSize.
    int taken = 0;
    for (int i = 0; i < FParent->ControlCount(); ++i) {
        TControl* o = FParent->Controls(i);
        if (o == c || !o->Visible())
            continue;
        const TAlign a = o->Align();
        if (Horizontal() && (a == alLeft || a == alRight))
            taken += o->Width();
        else if (!Horizontal() && (a == alTop || a == alBottom))
            taken += o->Height();
    }
    const int room = (Horizontal() ? FParent->ClientWidth() : FParent->ClientHeight()) - taken - FMinSize;
    const int wanted = growsWithDelta ? start + Delta : start - Delta;
    const int size = std::max(FMinSize, std::min(wanted, std::max(FMinSize, room)));
    if (size == (Horizontal() ? c->Width() : c->Height()))
        return;
    if (Horizontal())
        c->SetWidth(size);
    else
        c->SetHeight(size);
    if (OnMoved)
        OnMoved(this);
}

int TSplitter::ScreenPos(int X, int Y) const
{
    const TPoint p = ClientToScreen(TPoint(X, Y));
    return Horizontal() ? p.X : p.Y;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    FDragControl = ResizedControl();
    if (!FDragControl)
        return;
    FDragging = true;
    FDownPos = ScreenPos(X, Y);
    FDownSize = Horizontal() ? FDragControl->Width() : FDragControl->Height();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    // Measured on the screen: the splitter itself moves with the drag.
    if (FDragging)
        MoveBy(ScreenPos(X, Y) - FDownPos);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FDragging && Button == mbLeft) {
        MoveBy(ScreenPos(X, Y) - FDownPos);
        FDragging = false;
        FDragControl = nullptr;
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSplitter::MouseEnter()
{
    // The alignment may have changed since the cursor was chosen.
    ApplyCursor();
    TGraphicControl::MouseEnter();
}

void TSplitter::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
}

void TSplitter::EnabledChanged()
{
    TGraphicControl::EnabledChanged();
    if (!Enabled())
        FDragging = false;
    ApplyCursor();
}

void TSplitter::ApplyCursor()
{
    if (!Enabled())
        SetCursor(crDefault);
    else
        SetCursor(Horizontal() ? crHSplit : crVSplit);
}
