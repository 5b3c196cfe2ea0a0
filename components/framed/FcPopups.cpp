#include "components/framed/FcPopups.h"

#include "components/framed/FcSystem.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PopupHost.h"

TFcCustomPopup::TFcCustomPopup(TComponent* AOwner) : TFcCustomPanel(AOwner)
{
    SetVisible(false);
    SetBorderWidth(2);
    FBorderOuter = fsPopup;
    FFlatColorAdjustment = 0;
}

TFcPopupPanel::TFcPopupPanel(TComponent* AOwner) : TFcCustomPopup(AOwner)
{
    SetAlignment(taRightJustify);
    SetBounds(0, 0, 100, 100);
    SetColor(clBtnFace);
}

bool TFcPopupPanel::Active() const
{
    return PopupShowing(this);
}

TPoint TFcPopupPanel::PopupPosition(const TRect& C, int W, int H, TAlignment Alignment, int X, int Y, const TRect& Work)
{
    // 3. under the control, or at an offset from it
    if (X == -1 && Y == -1) {
        Y = C.Bottom;
        X = Alignment == taLeftJustify ? C.Left : Alignment == taRightJustify ? C.Right - W : (C.Left + C.Right - W) / 2;
    } else {
        X += C.Left;
        Y += C.Top;
    }
    // 4. inside the work area: above the control when it does not fit below
    if (X + W > Work.Right)
        X = Work.Right - W;
    if (Y + H > Work.Bottom)
        Y = C.Top - H;
    if (X < Work.Left)
        X = Work.Left;
    if (Y < Work.Top)
        Y = Work.Top;
    return {X, Y};
}

bool TFcPopupPanel::Popup(TControl* PopupControl, int X, int Y)
{
    // 1.
    if (Active())
        return false;
    FPopupControl = PopupControl;
    TCustomForm* form = GetParentForm(PopupControl);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    bool accepted = false;
    try {
        // 2.
        if (OnPopup)
            OnPopup(this);
        // 3./4. placed under the control inside the work area
        const TPoint origin = PopupControl->ClientToScreen(Point(0, 0));
        const TRect c = Bounds(origin.X, origin.Y, PopupControl->Width(), PopupControl->Height());
        int monitor = GetMonitorContainingPoint(Point(c.Left, c.Bottom));
        const TRect work = GetMonitorWorkArea(monitor >= 0 ? monitor : 0);
        const TPoint at = PopupPosition(c, Width(), Height(), BiDiAlignment(Alignment()), X, Y, work);
        SetVisible(true);
        accepted = RunPopup(this, at.X, at.Y);
        SetVisible(false);
        // 5.
        if (OnClose)
            OnClose(this);
    } catch (...) {
        SetVisible(false);
        FPopupControl = nullptr;
        throw;
    }
    // 6.
    if (focused && focused->CanFocus() && Application && Application->Active())
        focused->SetFocus();
    FPopupControl = nullptr;
    return accepted;
}

void TFcPopupPanel::Close(TComponent*)
{
    ClosePopup(this, true);
}
