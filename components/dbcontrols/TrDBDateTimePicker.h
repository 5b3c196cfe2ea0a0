#pragma once
// The library's data-aware date-time picker: the platform's picker bound to
// a date or time field, with a null value the platform's picker lacks. A
// null field shows nothing (or FormatEmpty while the picker has the focus),
// Delete clears the field, typing into a null field starts from today, an
// optional small check box left of the picker switches between null and a
// value, and ReadOnly and EnabledAll modes refuse changes.

#include "components/dbcontrols/TDBLabeledControl.h"
#include "platform/ui/DateTimePicker.h"

// A check box without a caption, placed left of another control.
class TCheckBoxOnly : public TCheckBox {
public:
    explicit TCheckBoxOnly(TComponent* AOwner);
    void SetPos(TControl* W, double ScaleRatio);
    void Click() override;

protected:
    void Paint() override;
    void DoEnter() override;
    void DoExit() override;
};

class TrDBDateTimePicker : public TDBLabeledControl<TDateTimePicker> {
public:
    explicit TrDBDateTimePicker(TComponent* AOwner);
    ~TrDBDateTimePicker() override;

    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* Value);
    QString DataField() const { return FDataLink.FieldName(); }
    void SetDataField(const QString& Value);
    TField* Field() const { return FDataLink.Field(); }
    TFieldDataLink* DataLink() { return &FDataLink; }
    // The designed format ("''" counts as the default format).
    void SetFormat(const QString& Value);
    const QString& FormatEmpty() const { return FFormatEmpty; }
    void SetFormatEmpty(const QString& Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool DataAllowNull() const { return FDataAllowNull; }
    void SetDataAllowNull(bool Value);
    bool EnabledAll() const { return FEnabledAll; }
    void SetEnabledAll(bool Value);
    bool AutoSelectDayPart = false;
    bool IsChecked() const { return FCheckBox && FCheckBox->Checked(); }
    TCheckBoxOnly* CheckBox() const { return FCheckBox; }
    void UpdateState(TComponent* Sender) override;

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Change() override;
    void DropDown() override;
    void CloseUp(bool Accept) override;
    void DoEnter() override;
    void DoExit() override;
    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Loaded() override;
    QString BoundFieldName() const override { return DataField(); }
    void VisibleChanged() override;
    void ChangeScale(int M, int D) override;
    void DateTimeChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool CanEdit();
    bool AcceptChange();
    void SetSubComp();
    void SetIntFormat();
    void CheckClick();
    void ActiveChange();
    void DataChange();
    void EditingChange();
    void UpdateData();
    void ShowValue(TDateTime V);
    bool CheckBoxShown() const { return Visible() && FDataAllowNull; }
    TFieldDataLink FDataLink;
    TCheckBoxOnly* FCheckBox = nullptr;
    QString oldFormat;
    QString FFormatEmpty;
    bool FReadOnly = false;
    bool FDataAllowNull = false;
    bool FEnabledAll = true;
    bool FFocused = false;
    bool FChanging = false;
    bool FShowing = false;
};
