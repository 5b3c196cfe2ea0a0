#pragma once
// The library's data-aware edit: the platform's edit with a caption label,
// the read-only colour while its dataset is not being edited, cleaned
// numeric and date texts, and the library's exit hook.

#include "components/dbcontrols/TDBLabeledControl.h"
#include "platform/ui/DBCtrls.h"

class TrDBEdit : public TDBLabeledControl<TDBEdit> {
public:
    explicit TrDBEdit(TComponent* AOwner);
    ~TrDBEdit() override;
    void SetDataSource(TDataSource* ADataSource, const QString& ADataField);
    void SetDataSource(TDataSource* ADataSource) { SetDataSource(ADataSource, DataField()); }
    void SetDataField(const QString& Value);
    void SetReadOnly(bool V);
    void UpdateState(TComponent* Sender) override;
    // The edit's text as the field receives it (blanks out of numbers and
    // dates, trailing line ends off other texts).
    QString ValidateEdit(const QString& Text) const;

protected:
    void Loaded() override;
    QString BoundFieldName() const override { return DataField(); }
    void UpdateData() override;
    void DoExit() override;
    TrDataLink FStateLink;
};

