#pragma once
// The library's data-aware edit: the platform's edit with a caption label,
// the read-only colour while its dataset is not being edited, cleaned
// numeric and date texts, and the library's exit hook.

#include "components/dbcontrols/TrDBFieldControl.h"
#include "platform/ui/DBCtrls.h"

class TrDBEdit : public TrDBFieldControl<TDBEdit> {
public:
    explicit TrDBEdit(TComponent* AOwner) : TrDBFieldControl(AOwner) {}
    void SetReadOnly(bool V);
    // The edit's text as the field receives it (blanks out of numbers and
    // dates, trailing line ends off other texts).
    QString ValidateEdit(const QString& Text) const;

protected:
    void UpdateData() override;
};
