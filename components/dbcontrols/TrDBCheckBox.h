#pragma once
// The library's data-aware check box: the platform's (stored texts for
// checked and unchecked) with the caption taken from the field when asked,
// a grey caption while the field cannot change, the library's visibility
// rule and naming prefix.

#include "components/dbcontrols/rDBComponents.h"
#include "platform/ui/DBCtrls.h"

class TrDBCheckBox : public TDBCheckBox {
public:
    explicit TrDBCheckBox(TComponent* AOwner);
    ~TrDBCheckBox() override;
    void SetDataSource(TDataSource* ADataSource);
    void SetDataField(const QString& Value);
    bool ShowFieldCaption() const { return FShowFieldCaption; }
    void SetShowFieldCaption(bool V);
    const QString& DefaultPrefix() const { return FDefaultPrefix; }
    void SetDefaultPrefix(const QString& V);
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    void SetReadOnlyColor(TColor V) { FReadOnlyColor = V; }
    bool ShowDisabledIfReadOnly = false;
    // Each click reaches the field at once instead of when the focus leaves.
    bool UpdateAfterClick = false;
    bool IsChecked() const { return Checked(); }
    void UpdateCaption();
    virtual void UpdateState(TComponent* Sender);
    // The field cannot be changed from here (ReadOnly or a fixed field).
    bool FieldReadOnly() const;
    void Click() override;

protected:
    void Loaded() override;
    void Paint() override;
    bool FShowFieldCaption = false;
    QString FDefaultPrefix;
    TColor FReadOnlyColor = clBtnFace;
    TrDataLink FStateLink;
};
