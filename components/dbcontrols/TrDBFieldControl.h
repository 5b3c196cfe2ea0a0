#pragma once
// The binding every single-field data-aware control of the library shares
// over the platform's control: data source and field set together, the
// caption label bound to the field, the read-only colour while the dataset
// is not being edited (or the field cannot change), visibility from the
// field, the exit hook and the library's general events.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/dbcontrols/TDBLabeledControl.h"

template <class TBase>
class TrDBFieldControl : public TDBLabeledControl<TBase> {
public:
    explicit TrDBFieldControl(TComponent* AOwner)
        : TDBLabeledControl<TBase>(AOwner),
          FStateLink([this](TComponent* S) { UpdateState(S); }, [this](TComponent* S) { UpdateState(S); }, nullptr)
    {
        this->oldColor = this->Color();
        ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
    }
    ~TrDBFieldControl() override { FStateLink.SetDataSource(nullptr); }

    void SetDataSource(TDataSource* ADataSource, const QString& ADataField)
    {
        this->RememberColor();
        if (this->DataSource() != ADataSource)
            TBase::SetDataSource(ADataSource);
        if (this->DataField() != ADataField)
            SetDataField(ADataField);
        FStateLink.SetDataSource(ADataSource);
        UpdateState(nullptr);
    }
    void SetDataSource(TDataSource* ADataSource) { SetDataSource(ADataSource, this->DataField()); }
    void SetDataField(const QString& Value)
    {
        TBase::SetDataField(Value);
        if (this->FDBEditLabel)
            this->FDBEditLabel->SetField(this->DataSource(), Value);
        SetDBCompName(this, this->FDefaultPrefix, Value);
    }
    void UpdateState(TComponent*) override
    {
        // 1. The label follows the field; 2. nothing more while designing.
        if (this->FDBEditLabel)
            this->FDBEditLabel->SetField(this->DataSource(), this->DataField());
        if (this->ComponentState() & TComponent::csDesigning)
            return;
        // 3.-4. Read-only colour unless editing a field that can change.
        const bool ro = this->ReadOnly() || (this->Field() && !this->Field()->CanModify());
        this->SetColor(!FStateLink.Editing() || ro ? this->FReadOnlyColor : this->oldColor);
        // 5.
        SetVisibilityFromField(this, this->DataSource(), this->DataField());
    }

protected:
    void Loaded() override
    {
        TDBLabeledControl<TBase>::Loaded();
        SetDataSource(this->DataSource(), this->DataField());
        ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
    }
    QString BoundFieldName() const override { return this->DataField(); }
    void DoExit() override
    {
        if (!DoExitControl(this, this->Field()))
            return;
        TBase::DoExit();
    }
    TrDataLink FStateLink;
};
