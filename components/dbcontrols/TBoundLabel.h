#pragma once
// The mini-HTML caption label a control carries beside itself (the lookup
// combo box's second caption, the markup memo's caption at its top right):
// it shows formatted captions and links and keeps its place around the
// control wherever the control goes.

#include "components/base/rHTMLLabel.h"
#include "components/dbcontrols/TDBBoundLabel.h"

class TBoundLabel : public TrHTMLLabel {
public:
    // Owner is the control the label belongs to.
    explicit TBoundLabel(TControl* AOwner);
    TLabelPos Position() const { return FPosition; }
    void SetPosition(TLabelPos V);
    // Puts the label at its place around the owner (by BoundLabelPos).
    void RefreshPosition();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;

private:
    TControl* FOwnerControl;
    TLabelPos FPosition = lpTopLeft;
};
