#pragma once
// Data-aware controls: each follows one field of the current record through
// a field data link, shows its value, enters edit mode when the user starts
// typing and writes its pending value when the focus leaves or the dataset
// posts. A failed write keeps the focus in the control and passes the error
// on, so nothing typed is lost silently.

#include "platform/database/DataSource.h"
#include "platform/ui/Controls.h"
#include "platform/ui/StdCtrls.h"

#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class TPopupDataList;

// The link of one data-aware control, routed to the control's handlers.
class TDBControlLink : public TFieldDataLink {
public:
    TDBControlLink() { VisualControl = true; }
};

// The field binding every single-field data-aware control offers, over the
// control class it extends.
template <class TBase>
class TDBFieldControl : public TBase {
public:
    using TBase::TBase;
    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* v) { FDataLink.SetDataSource(v); }
    QString DataField() const { return FDataLink.FieldName(); }
    void SetDataField(const QString& v) { FDataLink.SetFieldName(v); }
    TField* Field() const { return FDataLink.Field(); }
    TFieldDataLink* DataLink() { return &FDataLink; }

protected:
    TDBControlLink FDataLink;
};

class TDBEdit : public TDBFieldControl<TCustomEdit> {
public:
    explicit TDBEdit(TComponent* AOwner);
    ~TDBEdit() override;
    bool ReadOnly() const { return FDataLink.ReadOnly(); }
    void SetReadOnly(bool v);
    // Writes the pending value now (what leaving the control does).
    void UpdateRecord() { FDataLink.UpdateRecord(); }

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Change() override;

protected:
    void DoEnter() override;
    void DoExit() override;
    virtual void DataChange();
    virtual void EditingChange();
    virtual void UpdateData();
    bool FFocused = false;
    bool FShowing = false;
};

class TDBMemo : public TDBFieldControl<TMemo> {
public:
    explicit TDBMemo(TComponent* AOwner);
    ~TDBMemo() override;
    void UpdateRecord();
    void KeyPress(QChar& Key) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

protected:
    void DoExit() override;
    virtual void DataChange();
    QString FShown;
};

// A check box over a field: checked when the field's text is ValueChecked
// (several values separated by ";"), unchecked for ValueUnchecked, greyed
// otherwise. A click puts the dataset into edit state and marks the box
// changed; the state is written when the focus leaves or the record posts.
class TDBCheckBox : public TDBFieldControl<TCheckBox> {
public:
    explicit TDBCheckBox(TComponent* AOwner);
    ~TDBCheckBox() override;
    QString ValueChecked = QStringLiteral("true");
    QString ValueUnchecked = QStringLiteral("false");
    bool ReadOnly = false;
    void Click() override;
    // Leaves the box as losing the focus does, once the events waiting now
    // have run: the state is written (a failure brings the focus back).
    void PostExit();

protected:
    void DoExit() override;
    virtual void DataChange();
    virtual void UpdateData();
    TCheckState FieldState() const;
};

// A label showing a field's display text.
class TDBText : public TDBFieldControl<TCustomLabel> {
public:
    explicit TDBText(TComponent* AOwner);
    ~TDBText() override;

protected:
    QString GetLabelText() override;
};

// The rows of a list dataset as a list: ListField's texts, the row with
// KeyValue in KeyField selected. Rows are read through its own link's
// window, so scrolling the list reads rows without moving anything else.
class TDBLookupListBase : public TCustomControl {
public:
    explicit TDBLookupListBase(TComponent* AOwner);
    ~TDBLookupListBase() override;
    TDataSource* ListSource() const { return FListLink.DataSource(); }
    void SetListSource(TDataSource* v);
    QString ListField;  // "A;B": several shown side by side
    QString KeyField;
    QVariant KeyValue() const { return FKeyValue; }
    void SetKeyValue(const QVariant& v);
    // Moves the selection to the row; SelectKeyValue is the key of that row.
    void SelectRow(int Row);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int v);
    int RecordIndex() const;
    int RecordCount() const;
    // The rows currently shown (first shown row's position + count).
    int TopRecord() const { return FTop; }
    std::function<void(TDBLookupListBase* Sender)> OnSelect;
    // A typed character: OnSearchKey may take it (clearing Key); otherwise
    // the list moves to the first row whose text starts with the characters
    // typed so far (a new start when none does).
    std::function<void(TDBLookupListBase* Sender, QChar& Key)> OnSearchKey;
    virtual void ProcessSearchKey(QChar& Key);
    QString SearchText() const { return FSearchText; }
    void KeyPress(QChar& Key) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    // Text of a row at a position of the list dataset (no cursor move).
    QString RowText(int Position);
    QVariant RowKey(int Position);
    // Row height: RowHeightFixed when above 0, else the text height plus
    // RowHeightIncrease.
    int RowHeightFixed = 0;
    int RowHeightIncrease = 2;

protected:
    void Paint() override;
    virtual void Select(int Position);
    virtual int ItemHeight() const;
    class TListLink : public TDataLink {
    public:
        explicit TListLink(TDBLookupListBase* L) : FList(L) {}

    protected:
        void ActiveChanged() override { FList->Invalidate(); }
        void DataSetChanged() override { FList->Invalidate(); }
        void DataSetScrolled(int) override { FList->Invalidate(); }

    private:
        TDBLookupListBase* FList;
    } FListLink{this};
    QVariant FKeyValue;
    int FRowCount = 7;
    int FTop = 0;
    int FSelected = -1;
    QString FSearchText;
};

// The drop-down list of a lookup combo box: shown without taking the focus.
class TPopupDataList : public TDBLookupListBase {
public:
    explicit TPopupDataList(TComponent* AOwner);

protected:
    QWidget* CreateWidget() override;
};

// A combo box whose value is a key of another dataset (the list source) and
// whose text is that row's list field.
class TDBLookupComboBox : public TCustomControl {
public:
    explicit TDBLookupComboBox(TComponent* AOwner);
    ~TDBLookupComboBox() override;
    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* v) { FDataLink.SetDataSource(v); }
    QString DataField() const { return FDataLink.FieldName(); }
    void SetDataField(const QString& v) { FDataLink.SetFieldName(v); }
    TField* Field() const { return FDataLink.Field(); }
    TDataSource* ListSource() const { return FListSource; }
    void SetListSource(TDataSource* v);
    QString ListField;
    // The list field (0 = the first of ListField) that descendants showing
    // one of several fields start from.
    int ListFieldIndex = 0;
    QString KeyField;
    QVariant KeyValue() const { return FKeyValue; }
    void SetKeyValue(const QVariant& v);
    QString Text() const;
    int DropDownRows = 7;
    int DropDownWidth = 0;
    // A key that clears the value (e.g. Delete).
    TShortCut NullValueKey = 0;
    bool ReadOnly = false;
    virtual void DropDown();
    virtual void CloseUp(bool Accept);
    bool ListVisible() const;
    TPopupDataList* DataList() const { return FList; }
    TNotifyEvent OnCloseUp;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool WantsKey(Word Key, TShiftState Shift) const override;

protected:
    void Paint() override;
    void DoExit() override;
    virtual void DataChange();
    virtual void UpdateData();
    virtual void SelectKey(const QVariant& Key);
    TDBControlLink FDataLink;
    TDataSource* FListSource = nullptr;
    QVariant FKeyValue;
    TPopupDataList* FList = nullptr;
};
