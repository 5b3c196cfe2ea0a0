#include "components/dbcontrols/TrDBEdit.h"

void TrDBEdit::SetReadOnly(bool V)
{
    TDBEdit::SetReadOnly(V);
    UpdateState(nullptr);
}

QString TrDBEdit::ValidateEdit(const QString& Text) const
{
    const TField* f = Field();
    if (dynamic_cast<const TNumericField*>(f))
        return CleanNumericString(Text);
    if (dynamic_cast<const TDateTimeField*>(f))
        return CleanDateTimeString(Text);
    return CleanLastEOL(Text);
}

void TrDBEdit::UpdateData()
{
    const QString cleaned = ValidateEdit(Text());
    if (cleaned != Text()) {
        FShowing = true;
        SetText(cleaned);
        FShowing = false;
    }
    TDBEdit::UpdateData();
}
