#pragma once
// What every data-aware control of the library shares: a second data link
// that reports activation and edit-state changes, the naming rule of the
// form designer, visibility that may follow the field, and the exit hook.

#include "platform/database/DataSource.h"
#include "platform/ui/Controls.h"

#include <QString>
#include <functional>

using TDataLinkNotify = std::function<void(TComponent* Sender)>;

class TrDataLink : public TDataLink {
public:
    TrDataLink(TDataLinkNotify ActiveChEvent, TDataLinkNotify EditingChEvent, TDataLinkNotify DataSetChEvent);
    ~TrDataLink() override { SetDataSource(nullptr); }
    // No data source counts as editing: a free control is editable.
    bool Editing() const;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void DataSetChanged() override;

private:
    TDataLinkNotify FActiveChEvent;
    TDataLinkNotify FEditingChEvent;
    TDataLinkNotify FDataSetChEvent;
};

// Names a control DefaultPrefix + FieldName while a form is designed (with
// 1, 2, ... appended while the name is taken); nothing at run time.
void SetDBCompName(TComponent* C, const QString& DefaultPrefix, const QString& FieldName);
// Shows or hides the control after its field's Visible, when the library's
// configuration asks for it (by default nothing changes).
void SetVisibilityFromField(TControl* Sender, TDataSource* DataSource, const QString& DataField);
// The library's exit hook for a control leaving Field: false keeps the
// focus in the control (an empty required field the application refuses).
bool DoExitControl(TWinControl* Control, TField* Field);
// A value the control cuts off is shown whole as its hint: when the
// control has no hint of its own (or only the one given here before) and
// Text, in the control's font, is wider than Room. AutoHint remembers the
// hint given here so that a later shorter value takes it back.
void ShowLongValueHint(TControl* C, const QString& Text, int Room, QString& AutoHint);
