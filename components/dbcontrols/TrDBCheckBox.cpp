#include "components/dbcontrols/TrDBCheckBox.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "resources/DBControlsTexts.h"

TrDBCheckBox::TrDBCheckBox(TComponent* AOwner)
    : TDBCheckBox(AOwner), FStateLink([this](TComponent* S) { UpdateState(S); }, [this](TComponent* S) { UpdateState(S); }, nullptr)
{
    FReadOnlyColor = GetStyleSystemColor(clBtnFace);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrDBCheckBox::~TrDBCheckBox() { FStateLink.SetDataSource(nullptr); }

void TrDBCheckBox::Loaded()
{
    TDBCheckBox::Loaded();
    SetDataSource(DataSource());
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrDBCheckBox::SetDataSource(TDataSource* ADataSource)
{
    TDBCheckBox::SetDataSource(ADataSource);
    FStateLink.SetDataSource(ADataSource);
    UpdateState(nullptr);
    UpdateCaption();
}

void TrDBCheckBox::SetDataField(const QString& Value)
{
    TDBCheckBox::SetDataField(Value);
    UpdateCaption();
    SetDBCompName(this, FDefaultPrefix, Value);
}

void TrDBCheckBox::SetDefaultPrefix(const QString& V)
{
    FDefaultPrefix = V;
    SetDBCompName(this, FDefaultPrefix, DataField());
}

void TrDBCheckBox::SetShowFieldCaption(bool V)
{
    FShowFieldCaption = V;
    UpdateCaption();
}

void TrDBCheckBox::UpdateCaption()
{
    if (!FShowFieldCaption)
        return;
    TDataSet* d = DataSource() ? DataSource()->DataSet() : nullptr;
    TField* f = d ? d->FindField(DataField()) : nullptr;
    if (!f) {
        SetCaption(dbctltxt::FieldLabel);
        return;
    }
    if (Caption() == f->DisplayLabel())
        return;
    SetCaption(f->DisplayLabel());
    TCanvas c;
    c.Font()->Assign(*Font());
    const int need = c.TextWidth(Caption()) + 20;
    if (Width() < need)
        SetWidth(need);
}

void TrDBCheckBox::UpdateState(TComponent*)
{
    if (ComponentState() & csDesigning)
        return;
    UpdateCaption();
    Invalidate();
    SetVisibilityFromField(this, DataSource(), DataField());
}

bool TrDBCheckBox::FieldReadOnly() const { return ReadOnly || (Field() && !Field()->CanModify()); }

void TrDBCheckBox::Click()
{
    TDBCheckBox::Click();
    Invalidate();
    if (UpdateAfterClick)
        PostExit();
}

void TrDBCheckBox::Paint()
{
    TDBCheckBox::Paint();
    if (!Enabled() || !ShowDisabledIfReadOnly || !FieldReadOnly())
        return;
    // The caption again in grey, beside the 16 pixels of the box.
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (Alignment == taLeftJustify)
        r.Right -= 16;
    else
        r.Left += 16;
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(*Font());
    c->Font()->SetColor(GetStyleSystemColor(clGrayText));
    c->DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER | (Alignment == taLeftJustify ? DT_RIGHT : DT_LEFT));
    c->Brush()->SetStyle(bsSolid);
}
