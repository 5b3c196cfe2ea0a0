#include "components/dbcontrols/TrDBEdit.h"

#include "components/base/ParioCompGlobalCfg.h"

TrDBEdit::TrDBEdit(TComponent* AOwner)
    : TDBLabeledControl(AOwner),
      FStateLink([this](TComponent* S) { UpdateState(S); }, [this](TComponent* S) { UpdateState(S); }, nullptr)
{
    oldColor = Color();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrDBEdit::~TrDBEdit() { FStateLink.SetDataSource(nullptr); }

void TrDBEdit::Loaded()
{
    TDBLabeledControl::Loaded();
    SetDataSource(DataSource(), DataField());
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrDBEdit::SetDataSource(TDataSource* ADataSource, const QString& ADataField)
{
    RememberColor();
    if (DataSource() != ADataSource)
        TDBEdit::SetDataSource(ADataSource);
    if (DataField() != ADataField)
        SetDataField(ADataField);
    FStateLink.SetDataSource(ADataSource);
    UpdateState(nullptr);
}

void TrDBEdit::SetDataField(const QString& Value)
{
    TDBEdit::SetDataField(Value);
    if (FDBEditLabel)
        FDBEditLabel->SetField(DataSource(), Value);
    SetDBCompName(this, FDefaultPrefix, Value);
}

void TrDBEdit::SetReadOnly(bool V)
{
    TDBEdit::SetReadOnly(V);
    UpdateState(nullptr);
}

void TrDBEdit::UpdateState(TComponent*)
{
    // 1.
    if (FDBEditLabel)
        FDBEditLabel->SetField(DataSource(), DataField());
    // 2.
    if (ComponentState() & csDesigning)
        return;
    // 3.
    const bool ro = ReadOnly() || (Field() && !Field()->CanModify());
    // 4.
    SetColor(!FStateLink.Editing() || ro ? FReadOnlyColor : oldColor);
    // 5.
    SetVisibilityFromField(this, DataSource(), DataField());
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

void TrDBEdit::DoExit()
{
    if (!::DoExitControl(this, Field()))
        return;
    TDBEdit::DoExit();
}
