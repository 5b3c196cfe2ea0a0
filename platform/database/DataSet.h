#pragma once
// TDataSet: a cursor over rows held in memory. Subclasses fill the rows when
// the dataset opens (a database query, an in-memory table) and write edits
// back when a row is posted or deleted. The dataset keeps the state machine
// (inactive, browse, edit, insert), navigation, bookmarks that survive a
// requery by key, the notifications to data sources and links, the events
// windows hang on, and a row view that filters and indexes reorder.

#include "platform/database/DBTypes.h"
#include "platform/database/Fields.h"
#include "platform/rtl/Component.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TDataSource;

// One row: a serial number unique within the dataset for its lifetime, and
// one tagged value per field (by TField::FieldNo).
struct TDataRecord {
    uint64_t Serial = 0;
    std::vector<QVariant> Values;
};

// A remembered row: its serial, its key values and its position. It finds the
// same row again after a requery when a row with that key exists.
struct TBookmark {
    uint64_t Serial = 0;
    QVariantList Key;
    int RecNo = 0;
    bool IsEmpty() const { return Serial == 0 && Key.isEmpty(); }
    bool operator==(const TBookmark& o) const { return Serial == o.Serial && Key == o.Key; }
};

// A named ordering of the rows: fields "A;B", descending ones among them.
struct TIndexDef {
    QString Name;
    QString Fields;
    QString DescFields;
    bool CaseInsensitive = false;
};

class TDataSet : public TComponent {
public:
    using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;
    using TFilterRecordEvent = std::function<void(TDataSet* DataSet, bool& Accept)>;
    // Compiles a filter text into a row test; installed by the grid layer.
    using TRecordPredicate = std::function<bool(TDataSet& DataSet)>;
    using TFilterCompiler = std::function<TRecordPredicate(TDataSet& DataSet, const QString& Filter, TFilterOptions Options)>;

    explicit TDataSet(TComponent* AOwner = nullptr);
    ~TDataSet() override;

    // ---- opening ----
    bool Active() const { return FState != dsInactive; }
    void SetActive(bool v);
    void Open();
    void Close();
    // Requery keeping the current row (by bookmark) when it still exists.
    void Refresh();
    // Refreshes some rows only: each of Rows (the data fields' values in
    // field order) replaces the row with the same key values (KeyFields) or
    // is added, the rows with the keys of Gone are dropped; the rows are then
    // filtered and ordered again and the current row stays current while it
    // exists. With CalculateAll every row's calculated fields are filled
    // again, otherwise only the given rows'.
    void RefreshRows(std::vector<std::vector<QVariant>>&& Rows, const QList<QVariantList>& Gone, bool CalculateAll);
    TDataSetState State() const { return FState; }
    bool IsEmpty() const;
    // False for read-only datasets: no insert, edit or delete.
    virtual bool CanModify() const { return !FReadOnly; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }

    // ---- fields ----
    TFields& Fields() { return FFields; }
    const TFields& Fields() const { return FFields; }
    int FieldCount() const { return FFields.Count(); }
    TField* FindField(const QString& Name) const { return FFields.FindField(Name); }
    TField* FieldByName(const QString& Name) const { return FFields.FieldByName(Name); }
    // The fields named in "A;B" (raises for an unknown name).
    std::vector<TField*> GetFieldList(const QString& Names) const;
    // Adds a field before the dataset opens (an in-memory table's columns, a
    // calculated field); fields of an opened query are made from its columns.
    TField* AddField(const QString& Name, TFieldType DataType, int Size = 0, TFieldKind Kind = fkData);

    // ---- navigation ----
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int Distance);
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    // 1-based position under the filter and index; -1 for an unposted new row.
    int RecNo() const;
    void SetRecNo(int v);
    int RecordCount() const { return int(FView.size()); }
    bool Locate(const QString& KeyFields, const QVariantList& KeyValues, TLocateOptions Options = 0);
    bool Locate(const QString& KeyField, const QVariant& KeyValue, TLocateOptions Options = 0)
    {
        return Locate(KeyField, QVariantList{KeyValue}, Options);
    }
    // The ResultFields value of the row with these key values, without moving.
    QVariant Lookup(const QString& KeyFields, const QVariantList& KeyValues, const QString& ResultField);

    // ---- bookmarks ----
    // The key fields ("A;B") that identify a row across requeries.
    const QString& KeyFields() const { return FKeyFields; }
    void SetKeyFields(const QString& v) { FKeyFields = v; }
    TBookmark GetBookmark() const;
    bool BookmarkValid(const TBookmark& B) const;
    void GotoBookmark(const TBookmark& B);  // raises EDatabaseError when gone
    // <0, 0, >0 by position in the current order; an unresolvable one is last.
    int CompareBookmarks(const TBookmark& A, const TBookmark& B) const;

    // ---- editing ----
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Posts pending edits, if any (browse mode is needed for what follows).
    void CheckBrowseMode();
    // Asks the links to write their pending values into the record.
    void UpdateRecord();
    bool Modified() const { return FModified; }

    // ---- controls ----
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    // ---- filter and index ----
    const QString& Filter() const { return FFilter; }
    void SetFilter(const QString& v);
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool v);
    TFilterOptions FilterOptions() const { return FFilterOptions; }
    void SetFilterOptions(TFilterOptions v);
    static void SetFilterCompiler(TFilterCompiler Compiler);
    std::vector<TIndexDef>& IndexDefs() { return FIndexDefs; }
    void AddIndex(const QString& Name, const QString& Fields, const QString& DescFields = QString(), bool CaseInsensitive = false);
    const QString& IndexName() const { return FIndexName; }
    void SetIndexName(const QString& v);
    const QString& IndexFieldNames() const { return FIndexFieldNames; }
    void SetIndexFieldNames(const QString& v);
    // Compares two tagged values of a field when indexes order the rows;
    // replaceable (a collation of the grid layer).
    using TValueComparator = std::function<int(const TField& F, const QVariant& A, const QVariant& B, bool CaseInsensitive)>;
    static void SetValueComparator(TValueComparator Comparator);

    // ---- the record fields read ----
    // A data link may make another row the one field reads come from, for a
    // moment, without moving the cursor or sending anything (painting).
    // -1 ends the override. Positions are 0-based in the current order.
    void SetActiveRecordOverride(int Position) { FOverride = Position; }
    int ActiveRecordOverride() const { return FOverride; }
    int CurrentPosition() const { return FCur; }

    // ---- events ----
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, OnNewRecord, BeforeRefresh, AfterRefresh;
    // Fills the calculated fields of the record being calculated (each row
    // once when the rows arrive and again after it is posted); lookup fields
    // are resolved before it runs. Only non-data fields may be set here.
    TDataSetNotifyEvent OnCalcFields;
    TFilterRecordEvent OnFilterRecord;

    // ---- for fields and links ----
    QVariant GetFieldRaw(const TField& F) const;
    void SetFieldRaw(TField& F, const QVariant& v);
    QVariant GetFieldOldRaw(const TField& F) const;
    void DataEvent(TDataEvent Event, intptr_t Info = 0);
    void AddDataSource(TDataSource* S);
    void RemoveDataSource(TDataSource* S);
    // The tagged value of a field in a row at a position of the current order.
    QVariant RowValue(int Position, const TField& F) const;

protected:
    // Fills FRecords (and creates the fields when there are none); called by Open.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() {}
    // Writes a posted row: Old is null for an insert. May change New (values
    // the database returned). Raising aborts the post and keeps the edit.
    virtual void InternalPost(TDataRecord& New, const TDataRecord* Old) { (void)New; (void)Old; }
    virtual void InternalDelete(const TDataRecord& Row) { (void)Row; }
    // Raises when the dataset refuses this kind of change.
    virtual void CheckUpdateKind(TUpdateKind Kind) const;
    // Called after an open or a close that failed half-way.
    virtual void InternalHandleOpenFailure() {}

    // Adds a field while the dataset opens (no state check).
    TField* DefineField(const QString& Name, TFieldType DataType, int Size);
    // Record store for subclasses.
    TDataRecord& NewRecord();
    // A new record holding these values (taken over).
    TDataRecord& NewRecord(std::vector<QVariant>&& Values);
    void ClearRecords();
    void ClearFields();
    // Removes the data fields and keeps the calculated and lookup ones.
    void ClearDataFields();
    // After subclasses changed the field list: data fields keep their record
    // slots in order, calculated and lookup fields take the slots after them.
    void FieldsChanged();
    std::vector<std::unique_ptr<TDataRecord>> FRecords;

private:
    friend class TField;
    void SetState(TDataSetState v);
    void RebuildView(bool KeepCurrent);
    void ApplyIndex();
    int FindPositionOf(const TDataRecord* R) const;
    int ResolveBookmark(const TBookmark& B) const;
    QVariantList KeyOf(const TDataRecord& R) const;
    void ScrollTo(int Position);
    void DoBeforeScroll();
    void DoAfterScroll();
    void StartEdit(TDataSetState NewState, int InsertAt);
    bool HasCalcFields() const;
    void CalculateRecord(TDataRecord& R);
    void CalculateAll();
    const std::vector<QVariant>* ActiveValues() const;
    static bool SameTextName(const QString& a, const QString& b);

    TFields FFields;
    std::vector<TDataRecord*> FView;
    std::vector<TDataSource*> FDataSources;
    TDataSetState FState = dsInactive;
    int FCur = -1;
    int FOverride = -1;
    TDataRecord* FCalcRecord = nullptr;
    bool FEof = true;
    bool FBof = true;
    bool FReadOnly = false;
    bool FModified = false;
    int FDisableCount = 0;
    bool FStateChangedWhileDisabled = false;
    uint64_t FNextSerial = 1;
    QString FKeyFields;
    // The edit buffer of dsEdit / dsInsert.
    std::vector<QVariant> FEditValues;
    int FInsertAt = -1;
    // Filter and index.
    QString FFilter;
    bool FFiltered = false;
    TFilterOptions FFilterOptions = 0;
    TRecordPredicate FFilterPredicate;
    std::vector<TIndexDef> FIndexDefs;
    QString FIndexName;
    QString FIndexFieldNames;
};
