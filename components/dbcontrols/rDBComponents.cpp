#include "components/dbcontrols/rDBComponents.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "platform/ui/Graphics.h"
#include "resources/DBControlsTexts.h"

TrDataLink::TrDataLink(TDataLinkNotify ActiveChEvent, TDataLinkNotify EditingChEvent, TDataLinkNotify DataSetChEvent)
    : FActiveChEvent(std::move(ActiveChEvent)), FEditingChEvent(std::move(EditingChEvent)), FDataSetChEvent(std::move(DataSetChEvent))
{
    VisualControl = true;
}

bool TrDataLink::Editing() const
{
    if (!DataSource())
        return true;
    const TDataSet* d = DataSet();
    return d && (d->State() == dsEdit || d->State() == dsInsert);
}

void TrDataLink::ActiveChanged()
{
    TDataLink::ActiveChanged();
    if (FActiveChEvent)
        FActiveChEvent(nullptr);
}

void TrDataLink::EditingChanged()
{
    TDataLink::EditingChanged();
    if (FEditingChEvent)
        FEditingChEvent(nullptr);
}

void TrDataLink::DataSetChanged()
{
    TDataLink::DataSetChanged();
    if (FDataSetChEvent)
        FDataSetChEvent(nullptr);
}

void SetDBCompName(TComponent* C, const QString& DefaultPrefix, const QString& FieldName)
{
    if (!C || !(C->ComponentState() & TComponent::csDesigning) || DefaultPrefix.isEmpty())
        return;
    const QString base = DefaultPrefix + (FieldName.isEmpty() ? dbctltxt::NoDataField : FieldName);
    TComponent* owner = C->Owner();
    QString name = base;
    for (int i = 1; owner && owner->FindComponent(name) && owner->FindComponent(name) != C; ++i)
        name = base + QString::number(i);
    C->SetName(name);
}

void SetVisibilityFromField(TControl* Sender, TDataSource* DataSource, const QString& DataField)
{
    if (!Sender || !DataSource || !DataSource->DataSet())
        return;
    const TField* f = DataSource->DataSet()->FindField(DataField);
    if (!f)
        return;
    const TrDBComponentsCfg& cfg = ParioCompConfig.rDBComponentsCfg;
    if (f->Visible() && cfg.VisibilityFromField_AutoShow)
        Sender->SetVisible(true);
    else if (!f->Visible() && cfg.VisibilityFromField_AutoHide)
        Sender->SetVisible(false);
}

bool DoExitControl(TWinControl* Control, TField* Field)
{
    const bool blank = !Field || Field->IsNull() || Field->AsString().isEmpty();
    return ParioCompConfig.rDBComponentsCfg.DoExitControl(Control, Field, Field && Field->Required(), blank);
}

void ShowLongValueHint(TControl* C, const QString& Text, int Room, QString& AutoHint)
{
    if (!C || (!C->Hint().isEmpty() && C->Hint() != AutoHint))
        return;
    TCanvas canvas;
    canvas.Font()->Assign(*C->Font());
    AutoHint = canvas.TextWidth(Text) > Room ? Text : QString();
    C->SetHint(AutoHint);
}
