#pragma once
// The copies of overflowing tool buttons shown by the overflow button's popup.

#include "components/framed/FcToolButton.h"

class TFcPopupToolButton : public TFcToolButton {
public:
    explicit TFcPopupToolButton(TComponent* AOwner) : TFcToolButton(AOwner) {}
    // Copies a tool button and remembers it as the one to click.
    void AssignFrom(TFcToolButton* Source);
    TFcToolButton* MappedButton() const { return FMappedButton; }
    void SetToolbarPopupButton(TFcToolbarPopupButton* Value) { FToolbarPopupButton = Value; }
    void Click() override;

private:
    TFcToolButton* FMappedButton = nullptr;
    TFcToolbarPopupButton* FToolbarPopupButton = nullptr;
};
