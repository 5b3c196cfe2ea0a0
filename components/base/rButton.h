#pragma once
// The library's push button: a second image list while disabled, and a
// drop-down menu that opens below the button on a left press.

#include "platform/ui/StdCtrls.h"

class TCustomImageList;
class TPopupMenu;

enum TButtonStyle { bsPushButton, bsCommandLink, bsSplitButton };

class TrButton : public TButton {
public:
    explicit TrButton(TComponent* AOwner);
    TCustomImageList* ImagesDisabled() const { return FImagesDisabled; }
    void SetImagesDisabled(TCustomImageList* Value);
    // The images while enabled, for buttons built outside a form's loading.
    void SetImages(TCustomImageList* Value);
    TPopupMenu* DropDownMenu = nullptr;
    TButtonStyle Style = bsPushButton;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void EnabledChanged() override;

private:
    TCustomImageList* FEnabledImages = nullptr;
    TCustomImageList* FImagesDisabled = nullptr;
};
