#include "components/base/rButton.h"

#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

TrButton::TrButton(TComponent* AOwner) : TButton(AOwner) {}

void TrButton::SetImagesDisabled(TCustomImageList* Value)
{
    FImagesDisabled = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TrButton::SetImages(TCustomImageList* Value)
{
    FEnabledImages = Value;
    if (Value)
        Value->FreeNotification(this);
    Images = Enabled() ? FEnabledImages : FImagesDisabled;
    Invalidate();
}

void TrButton::Loaded()
{
    TButton::Loaded();
    // Images set through SetImages before the loading ended stay the enabled ones.
    if (!FEnabledImages)
        FEnabledImages = Images;
    if (FEnabledImages)
        FEnabledImages->FreeNotification(this);
    Images = Enabled() ? FEnabledImages : FImagesDisabled;
}

void TrButton::EnabledChanged()
{
    TButton::EnabledChanged();
    if (FEnabledImages)
        Images = Enabled() ? FEnabledImages : FImagesDisabled;
    Invalidate();
}

void TrButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TButton::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImagesDisabled)
        FImagesDisabled = nullptr;
    if (AComponent == FEnabledImages)
        FEnabledImages = nullptr;
    if (AComponent == Images)
        Images = nullptr;
}

void TrButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Style != bsSplitButton && DropDownMenu) {
        const TPoint p = ClientToScreen({-1, Height()});
        DropDownMenu->Popup(p.X, p.Y);
    }
    TButton::MouseDown(Button, Shift, X, Y);
}
