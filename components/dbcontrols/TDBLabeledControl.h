#pragma once
// The companions a data-aware control carries over the control class it
// extends: the caption label that follows it (parent, place, visibility and
// enabled state), the colour shown while the field cannot be typed into,
// and the naming prefix of the form designer.

#include "components/base/rtool.h"
#include "components/dbcontrols/TDBBoundLabel.h"
#include "components/dbcontrols/rDBComponents.h"

template <class TBase>
class TDBLabeledControl : public TBase {
public:
    explicit TDBLabeledControl(TComponent* AOwner) : TBase(AOwner)
    {
        FReadOnlyColor = GetStyleSystemColor(clBtnFace);
        FDBEditLabel = new TDBBoundLabel(this);
        FDBEditLabel->FreeNotification(this);
    }
    TDBBoundLabel* DBEditLabel() const { return FDBEditLabel; }
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    void SetReadOnlyColor(TColor V)
    {
        FReadOnlyColor = V;
        UpdateState(nullptr);
    }
    const QString& DefaultPrefix() const { return FDefaultPrefix; }
    void SetDefaultPrefix(const QString& V)
    {
        FDefaultPrefix = V;
        SetDBCompName(this, FDefaultPrefix, BoundFieldName());
    }
    // Recolours after the data link's state (and rebinds the label).
    virtual void UpdateState(TComponent* Sender) = 0;

    void SetParent(TWinControl* AParent) override
    {
        TBase::SetParent(AParent);
        if (FDBEditLabel) {
            FDBEditLabel->SetParent(AParent);
            FDBEditLabel->RefreshPosition(false);
        }
    }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override
    {
        TBase::SetBounds(ALeft, ATop, AWidth, AHeight);
        if (FDBEditLabel)
            FDBEditLabel->RefreshPosition(false);
    }

protected:
    virtual QString BoundFieldName() const = 0;
    // The colour to show while editable; the read-only colour itself (the
    // control already coloured by an earlier binding) is not taken for it.
    void RememberColor()
    {
        if (this->Color() != FReadOnlyColor)
            oldColor = this->Color();
    }
    void VisibleChanged() override
    {
        TBase::VisibleChanged();
        if (FDBEditLabel)
            FDBEditLabel->ChangeVisible(this->Visible());
    }
    void EnabledChanged() override
    {
        TBase::EnabledChanged();
        if (FDBEditLabel && FLabelFollowsEnabled)
            FDBEditLabel->SetEnabled(this->Enabled());
    }
    void Notification(TComponent* AComponent, typename TBase::TOperation Operation) override
    {
        TBase::Notification(AComponent, Operation);
        if (Operation == TBase::opRemove && AComponent == FDBEditLabel)
            FDBEditLabel = nullptr;
    }
    void Loaded() override
    {
        TBase::Loaded();
        if (FDBEditLabel)
            FDBEditLabel->StoreVisible();
    }
    TDBBoundLabel* FDBEditLabel = nullptr;
    TColor FReadOnlyColor = clBtnFace;
    TColor oldColor = clWindow;
    QString FDefaultPrefix;
    bool FLabelFollowsEnabled = true;
};
