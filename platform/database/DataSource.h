#pragma once
// TDataSource connects a dataset with the controls and detail datasets that
// show it; TDataLink is one such connection and receives the dataset's
// notifications; TFieldDataLink follows one field for a data-bound control.

#include "platform/database/DataSet.h"
#include "platform/rtl/Component.h"

#include <functional>
#include <vector>

class TDataLink;

class TDataSource : public TComponent {
public:
    explicit TDataSource(TComponent* AOwner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* v);
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool v) { FAutoEdit = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    TDataSetState State() const { return FDataSet && FEnabled ? FDataSet->State() : dsInactive; }
    // Puts the dataset into edit mode when AutoEdit allows it.
    void Edit();

    std::function<void(TDataSource* Sender, TField* Field)> OnDataChange;
    std::function<void(TDataSource* Sender)> OnStateChange;
    std::function<void(TDataSource* Sender)> OnUpdateData;

    // Called by the dataset.
    void DataEvent(TDataEvent Event, intptr_t Info);
    const std::vector<TDataLink*>& Links() const { return FLinks; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TDataLink;
    void AddLink(TDataLink* L);
    void RemoveLink(TDataLink* L);
    TDataSet* FDataSet = nullptr;
    bool FAutoEdit = true;
    bool FEnabled = true;
    TDataSetState FLastState = dsInactive;
    std::vector<TDataLink*> FLinks;
};

class TDataLink {
public:
    TDataLink();
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* v);
    TDataSet* DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }
    bool Active() const { return FActive; }
    bool Editing() const { return FEditing; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool VisualControl = false;
    // Links of detail datasets keep following while controls are disabled.
    virtual bool FollowsWhileDisabled() const { return false; }

    // The window of rows a control shows: BufferCount rows around the cursor.
    int BufferCount() const { return FBufferCount; }
    void SetBufferCount(int v);
    // The row of the window that field reads come from (0-based).
    int ActiveRecord() const;
    // Makes another row of the window the one field reads come from, without
    // moving the cursor or notifying anyone; ended by setting the cursor's row.
    void SetActiveRecord(int v);
    // Rows in the window (at most BufferCount).
    int RecordCount() const;
    // Position of the window's first row in the dataset's current order.
    int FirstRecord() const { return FFirst; }
    // Brings the window to the cursor at once; a control that moves the cursor
    // with the dataset's controls disabled calls it after each move, so that the
    // moves still scroll its window.
    void FollowCursor() { UpdateWindow(); }

    // Enters edit mode through the data source; true when editing afterwards.
    bool Edit();
    // Writes the control's pending value (calls UpdateData once).
    void UpdateRecord();

    // Called by the data source.
    void DataEvent(TDataEvent Event, intptr_t Info);

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int Distance) { (void)Distance; DataSetChanged(); }
    virtual void EditingChanged() {}
    virtual void FocusControl(TField** Field) { (void)Field; }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* Field) { (void)Field; }
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    void UpdateState();
    void UpdateWindow();
    TDataSource* FDataSource = nullptr;
    bool FActive = false;
    bool FEditing = false;
    bool FReadOnly = false;
    bool FUpdating = false;
    int FBufferCount = 1;
    int FFirst = 0;
};

class TFieldDataLink : public TDataLink {
public:
    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& v);
    TField* Field() const { return FField; }
    bool CanModify() const;
    bool Modified() const { return FModified; }
    void SetModified() { FModified = true; }
    // Forgets the control's pending change and shows the field's value again.
    void Reset();

    std::function<void(TFieldDataLink* Sender)> OnDataChange;
    std::function<void(TFieldDataLink* Sender)> OnEditingChange;
    std::function<void(TFieldDataLink* Sender)> OnActiveChange;
    std::function<void(TFieldDataLink* Sender)> OnUpdateData;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;

private:
    void UpdateField();
    QString FFieldName;
    TField* FField = nullptr;
    bool FModified = false;
};
