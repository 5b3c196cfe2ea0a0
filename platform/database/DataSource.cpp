#include "platform/database/DataSource.h"

#include <algorithm>

// ---- TDataSource ----

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource()
{
    SetDataSet(nullptr);
    auto links = FLinks;
    for (TDataLink* l : links)
        l->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* v)
{
    if (FDataSet == v)
        return;
    if (FDataSet)
        FDataSet->RemoveDataSource(this);
    FDataSet = v;
    if (FDataSet)
        FDataSet->AddDataSource(this);
    DataEvent(deUpdateState, 0);
    DataEvent(deDataSetChange, 0);
}

void TDataSource::SetEnabled(bool v)
{
    if (FEnabled == v)
        return;
    FEnabled = v;
    DataEvent(deUpdateState, 0);
}

void TDataSource::Edit()
{
    if (FAutoEdit && FDataSet && FDataSet->State() == dsBrowse)
        FDataSet->Edit();
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
}

void TDataSource::AddLink(TDataLink* L)
{
    FLinks.push_back(L);
}

void TDataSource::RemoveLink(TDataLink* L)
{
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), L), FLinks.end());
}

void TDataSource::DataEvent(TDataEvent Event, intptr_t Info)
{
    const bool disabled = FDataSet && FDataSet->ControlsDisabled();
    if (Event == deUpdateState && !disabled) {
        const TDataSetState s = State();
        if (s != FLastState) {
            FLastState = s;
            if (OnStateChange)
                OnStateChange(this);
        }
    }
    auto links = FLinks;
    for (TDataLink* l : links)
        if (!disabled || l->FollowsWhileDisabled())
            if (std::find(FLinks.begin(), FLinks.end(), l) != FLinks.end())
                l->DataEvent(Event, Info);
    if (disabled)
        return;
    switch (Event) {
    case deFieldChange:
        if (OnDataChange)
            OnDataChange(this, reinterpret_cast<TField*>(Info));
        break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(this);
        break;
    default:
        break;
    }
}

// ---- TDataLink ----

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
    if (FDataSource)
        FDataSource->RemoveLink(this);
    FDataSource = nullptr;
}

void TDataLink::SetDataSource(TDataSource* v)
{
    if (FDataSource == v)
        return;
    if (FDataSource)
        FDataSource->RemoveLink(this);
    FDataSource = v;
    if (FDataSource)
        FDataSource->AddLink(this);
    UpdateState();
    if (FActive)
        DataEvent(deDataSetChange, 0);
}

void TDataLink::SetReadOnly(bool v)
{
    if (FReadOnly == v)
        return;
    FReadOnly = v;
    UpdateState();
}

void TDataLink::SetBufferCount(int v)
{
    FBufferCount = std::max(1, v);
    UpdateWindow();
}

int TDataLink::ActiveRecord() const
{
    TDataSet* ds = DataSet();
    if (!ds || !FActive)
        return 0;
    const int pos = ds->ActiveRecordOverride() >= 0 ? ds->ActiveRecordOverride() : ds->CurrentPosition();
    return std::max(0, pos - FFirst);
}

void TDataLink::SetActiveRecord(int v)
{
    TDataSet* ds = DataSet();
    if (!ds || !FActive)
        return;
    const int pos = FFirst + v;
    ds->SetActiveRecordOverride(pos == ds->CurrentPosition() ? -1 : pos);
}

int TDataLink::RecordCount() const
{
    TDataSet* ds = DataSet();
    if (!ds || !FActive)
        return 0;
    if (ds->State() == dsInsert)
        return std::min(FBufferCount, ds->RecordCount() - FFirst + 1);
    return std::max(0, std::min(FBufferCount, ds->RecordCount() - FFirst));
}

void TDataLink::UpdateWindow()
{
    TDataSet* ds = DataSet();
    if (!ds || !ds->Active()) {
        FFirst = 0;
        return;
    }
    const int cur = std::max(0, ds->CurrentPosition());
    if (cur < FFirst)
        FFirst = cur;
    else if (cur >= FFirst + FBufferCount)
        FFirst = cur - FBufferCount + 1;
    const int maxFirst = std::max(0, ds->RecordCount() - FBufferCount);
    if (FFirst > maxFirst)
        FFirst = maxFirst;
}

bool TDataLink::Edit()
{
    if (!FReadOnly && FDataSource)
        FDataSource->Edit();
    return FEditing;
}

void TDataLink::UpdateRecord()
{
    if (FUpdating)
        return;
    FUpdating = true;
    try {
        UpdateData();
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

void TDataLink::UpdateState()
{
    TDataSet* ds = DataSet();
    const bool active = FDataSource && FDataSource->Enabled() && ds && ds->Active();
    if (active != FActive) {
        FActive = active;
        UpdateWindow();
        ActiveChanged();
    }
    const bool editing = FActive && !FReadOnly && (ds->State() == dsEdit || ds->State() == dsInsert);
    if (editing != FEditing) {
        FEditing = editing;
        EditingChanged();
    }
}

void TDataLink::DataEvent(TDataEvent Event, intptr_t Info)
{
    switch (Event) {
    case deUpdateState:
        UpdateState();
        break;
    case deDataSetChange:
        if (FActive) {
            UpdateWindow();
            DataSetChanged();
        }
        break;
    case deLayoutChange:
        if (FActive) {
            UpdateWindow();
            LayoutChanged();
        }
        break;
    case deDataSetScroll:
        if (FActive) {
            UpdateWindow();
            DataSetScrolled(int(Info));
        }
        break;
    case deFieldChange:
    case deRecordChange:
        if (FActive && !FUpdating)
            RecordChanged(reinterpret_cast<TField*>(Info));
        break;
    case deUpdateRecord:
        if (FActive)
            UpdateRecord();
        break;
    case deCheckBrowseMode:
        if (FActive)
            CheckBrowseMode();
        break;
    case deFocusControl: {
        TField* f = reinterpret_cast<TField*>(Info);
        FocusControl(&f);
        break;
    }
    default:
        break;
    }
}

// ---- TFieldDataLink ----

void TFieldDataLink::SetFieldName(const QString& v)
{
    if (FFieldName == v)
        return;
    FFieldName = v;
    UpdateField();
}

void TFieldDataLink::UpdateField()
{
    TDataSet* ds = DataSet();
    FField = (Active() && ds && !FFieldName.isEmpty()) ? ds->FindField(FFieldName) : nullptr;
    FModified = false;
    if (OnDataChange)
        OnDataChange(this);
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && FField && FField->CanModify();
}

void TFieldDataLink::Reset()
{
    FModified = false;
    if (OnDataChange)
        OnDataChange(this);
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange(this);
}

void TFieldDataLink::EditingChanged()
{
    if (OnEditingChange)
        OnEditingChange(this);
}

void TFieldDataLink::LayoutChanged()
{
    UpdateField();
}

void TFieldDataLink::RecordChanged(TField* Field)
{
    if (Field == nullptr || Field == FField) {
        FModified = false;
        if (OnDataChange)
            OnDataChange(this);
    }
}

void TFieldDataLink::UpdateData()
{
    if (FModified) {
        if (FField && OnUpdateData)
            OnUpdateData(this);
        FModified = false;
    }
}
