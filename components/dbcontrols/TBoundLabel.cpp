#include "components/dbcontrols/TBoundLabel.h"

TBoundLabel::TBoundLabel(TControl* AOwner) : TrHTMLLabel(AOwner), FOwnerControl(AOwner)
{
    if (AOwner)
        AOwner->FreeNotification(this);
}

void TBoundLabel::SetPosition(TLabelPos V)
{
    FPosition = V;
    RefreshPosition();
}

void TBoundLabel::RefreshPosition()
{
    if (!FOwnerControl)
        return;
    const TPoint p = BoundLabelPos(FPosition, FOwnerControl->BoundsRect(), Width(), Height(), Margins, AlignWithMargins(), 0);
    if (p.X != Left() || p.Y != Top())
        SetBounds(p.X, p.Y, Width(), Height());
}

void TBoundLabel::Resize()
{
    TrHTMLLabel::Resize();
    // A new size (a new caption) keeps the label at its edge of the owner.
    RefreshPosition();
}

void TBoundLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TrHTMLLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FOwnerControl)
        FOwnerControl = nullptr;
}
