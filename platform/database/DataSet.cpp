#include "platform/database/DataSet.h"

#include "platform/database/Collation.h"
#include "platform/database/DataSource.h"
#include "platform/database/FilterExpr.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

TDataSet::TFilterCompiler& FilterCompiler()
{
    static TDataSet::TFilterCompiler c = CompileFilterExpression;
    return c;
}

int DefaultCompare(const TField& F, const QVariant& A, const QVariant& B, bool CaseInsensitive)
{
    return CollateFieldValues(F, A, B, CaseInsensitive);
}

TDataSet::TValueComparator& ValueComparator()
{
    static TDataSet::TValueComparator c = DefaultCompare;
    return c;
}

QStringList SplitNames(const QString& Names)
{
    QStringList r;
    for (const QString& n : Names.split(QLatin1Char(';')))
        if (!n.trimmed().isEmpty())
            r << n.trimmed();
    return r;
}

[[noreturn]] void NotActive()
{
    throw EDatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

// Runs an event handler through a copy, so a handler may replace itself.
void Fire(const TDataSet::TDataSetNotifyEvent& E, TDataSet* D)
{
    if (E) {
        auto copy = E;
        copy(D);
    }
}

}  // namespace

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet()
{
    auto sources = FDataSources;
    for (TDataSource* s : sources)
        s->SetDataSet(nullptr);
}

void TDataSet::SetFilterCompiler(TFilterCompiler Compiler) { FilterCompiler() = std::move(Compiler); }
void TDataSet::SetValueComparator(TValueComparator Comparator)
{
    ValueComparator() = Comparator ? std::move(Comparator) : TValueComparator(DefaultCompare);
}

// ---- opening ----

void TDataSet::SetActive(bool v)
{
    if (v)
        Open();
    else
        Close();
}

void TDataSet::Open()
{
    if (Active())
        return;
    Fire(BeforeOpen, this);
    try {
        ClearRecords();
        InternalOpen();
    } catch (...) {
        ClearRecords();
        InternalHandleOpenFailure();
        throw;
    }
    FOverride = -1;
    CalculateAll();
    RebuildView(false);
    FCur = FView.empty() ? -1 : 0;
    FBof = true;
    FEof = FView.empty();
    FModified = false;
    SetState(dsBrowse);
    Fire(AfterOpen, this);
    DoAfterScroll();
}

void TDataSet::Close()
{
    if (!Active())
        return;
    Fire(BeforeClose, this);
    FEditValues.clear();
    FInsertAt = -1;
    InternalClose();
    ClearRecords();
    FCur = -1;
    FOverride = -1;
    FBof = FEof = true;
    FModified = false;
    SetState(dsInactive);
    Fire(AfterClose, this);
}

void TDataSet::Refresh()
{
    if (!Active())
        NotActive();
    CheckBrowseMode();
    Fire(BeforeRefresh, this);
    const TBookmark bm = GetBookmark();
    InternalClose();
    ClearRecords();
    try {
        InternalOpen();
    } catch (...) {
        ClearRecords();
        InternalHandleOpenFailure();
        FCur = -1;
        FBof = FEof = true;
        SetState(dsInactive);
        throw;
    }
    CalculateAll();
    RebuildView(false);
    int pos = ResolveBookmark(bm);
    if (pos < 0 && !FView.empty())
        pos = std::clamp(bm.RecNo - 1, 0, int(FView.size()) - 1);
    FCur = FView.empty() ? -1 : pos;
    FBof = FCur <= 0;
    FEof = FView.empty();
    DataEvent(deDataSetChange);
    Fire(AfterRefresh, this);
}

bool TDataSet::IsEmpty() const
{
    return FView.empty() && FState != dsInsert;
}

// ---- fields ----

std::vector<TField*> TDataSet::GetFieldList(const QString& Names) const
{
    std::vector<TField*> r;
    for (const QString& n : SplitNames(Names))
        r.push_back(FieldByName(n));
    return r;
}

TField* TDataSet::AddField(const QString& Name, TFieldType DataType, int Size, TFieldKind Kind)
{
    if (Active())
        throw EDatabaseError(QStringLiteral("Cannot add a field to an open dataset"));
    TField* p = DefineField(Name, DataType, Size);
    p->SetFieldKind(Kind);
    return p;
}

TField* TDataSet::DefineField(const QString& Name, TFieldType DataType, int Size)
{
    auto f = CreateField(DataType);
    f->SetFieldName(Name);
    f->SetSize(Size);
    f->FDataSet = this;
    f->FFieldNo = FFields.Count();
    TField* p = f.get();
    FFields.Add(std::move(f));
    return p;
}

void TDataSet::ClearFields()
{
    FFields.Clear();
}

void TDataSet::ClearDataFields()
{
    auto& items = FFields.FItems;
    items.erase(std::remove_if(items.begin(), items.end(),
                               [](const std::unique_ptr<TField>& f) { return f->FieldKind() == fkData; }),
                items.end());
    FFields.Reindex();
}

void TDataSet::FieldsChanged()
{
    // Data fields first (in the order they came), then the others.
    auto& items = FFields.FItems;
    std::stable_partition(items.begin(), items.end(),
                          [](const std::unique_ptr<TField>& f) { return f->FieldKind() == fkData; });
    for (int i = 0; i < FFields.Count(); ++i) {
        FFields[i]->FDataSet = this;
        FFields[i]->FFieldNo = i;
    }
    FFields.Reindex();
}

void TDataSet::RefreshRows(std::vector<std::vector<QVariant>>&& Rows, const QList<QVariantList>& Gone,
                           bool CalculateAllRows)
{
    if (!Active())
        NotActive();
    CheckBrowseMode();
    const std::vector<TField*> keys = GetFieldList(FKeyFields);
    if (keys.empty())
        throw EDatabaseError(QStringLiteral("%1: no key fields to refresh rows by").arg(Name()));
    auto keyText = [&](const std::vector<QVariant>& Values) {
        QString t;
        for (const TField* k : keys)
            t += Values[size_t(k->FieldNo())].toString() + QChar(0x1f);
        return t;
    };
    const int oldPos = FCur;
    const uint64_t curSerial = FCur >= 0 && FCur < int(FView.size()) ? FView[size_t(FCur)]->Serial : 0;
    QHash<QString, TDataRecord*> byKey;
    byKey.reserve(int(FRecords.size()));
    for (auto& r : FRecords)
        byKey.insert(keyText(r->Values), r.get());
    std::vector<TDataRecord*> changed;
    for (auto& row : Rows) {
        row.resize(size_t(FFields.Count()));
        TDataRecord* r = byKey.value(keyText(row));
        if (r)
            r->Values = std::move(row);
        else
            r = &NewRecord(std::move(row));
        changed.push_back(r);
    }
    if (!Gone.isEmpty()) {
        QSet<const TDataRecord*> drop;
        for (const QVariantList& g : Gone) {
            QString t;
            for (const QVariant& v : g)
                t += v.toString() + QChar(0x1f);
            if (TDataRecord* r = byKey.value(t))
                drop.insert(r);
        }
        std::erase_if(FRecords, [&](const std::unique_ptr<TDataRecord>& r) { return drop.contains(r.get()); });
    }
    if (CalculateAllRows)
        CalculateAll();
    else if (HasCalcFields())
        for (TDataRecord* r : changed)
            CalculateRecord(*r);
    RebuildView(false);
    int pos = -1;
    for (size_t i = 0; curSerial != 0 && i < FView.size() && pos < 0; ++i)
        if (FView[i]->Serial == curSerial)
            pos = int(i);
    if (pos < 0 && !FView.empty())
        pos = std::clamp(oldPos, 0, int(FView.size()) - 1);
    FCur = FView.empty() ? -1 : pos;
    FBof = FCur <= 0;
    FEof = FView.empty();
    DataEvent(deDataSetChange);
}

bool TDataSet::HasCalcFields() const
{
    for (int i = 0; i < FFields.Count(); ++i)
        if (FFields[i]->FieldKind() != fkData)
            return true;
    return false;
}

void TDataSet::CalculateRecord(TDataRecord& R)
{
    R.Values.resize(size_t(FFields.Count()));
    TDataRecord* saved = FCalcRecord;
    FCalcRecord = &R;
    try {
        for (int i = 0; i < FFields.Count(); ++i) {
            TField* f = FFields[i];
            if (f->FieldKind() == fkData)
                continue;
            QVariant v;
            if (f->FieldKind() == fkLookup && f->LookupDataSet && f->LookupDataSet->Active()) {
                QVariantList keys;
                for (TField* k : GetFieldList(f->KeyFields))
                    keys << k->AsVariant();
                v = f->ToRaw(f->LookupDataSet->Lookup(f->LookupKeyFields, keys, f->LookupResultField));
            }
            R.Values[size_t(f->FFieldNo)] = v;
        }
        if (OnCalcFields) {
            auto handler = OnCalcFields;
            handler(this);
        }
    } catch (...) {
        FCalcRecord = saved;
        throw;
    }
    FCalcRecord = saved;
}

void TDataSet::CalculateAll()
{
    if (!HasCalcFields())
        return;
    for (auto& r : FRecords)
        CalculateRecord(*r);
}

TDataRecord& TDataSet::NewRecord()
{
    auto r = std::make_unique<TDataRecord>();
    r->Serial = FNextSerial++;
    r->Values.resize(size_t(FFields.Count()));
    FRecords.push_back(std::move(r));
    return *FRecords.back();
}

TDataRecord& TDataSet::NewRecord(std::vector<QVariant>&& Values)
{
    auto r = std::make_unique<TDataRecord>();
    r->Serial = FNextSerial++;
    r->Values = std::move(Values);
    FRecords.push_back(std::move(r));
    return *FRecords.back();
}

void TDataSet::ClearRecords()
{
    FView.clear();
    FRecords.clear();
}

// ---- record access ----

const std::vector<QVariant>* TDataSet::ActiveValues() const
{
    if (FCalcRecord)
        return &FCalcRecord->Values;
    if (FOverride >= 0) {
        if (FOverride < int(FView.size()))
            return &FView[size_t(FOverride)]->Values;
        return nullptr;
    }
    if (FState == dsEdit || FState == dsInsert)
        return &FEditValues;
    if (FCur >= 0 && FCur < int(FView.size()))
        return &FView[size_t(FCur)]->Values;
    return nullptr;
}

QVariant TDataSet::GetFieldRaw(const TField& F) const
{
    const std::vector<QVariant>* v = ActiveValues();
    if (!v || F.FFieldNo >= int(v->size()))
        return QVariant();
    return (*v)[size_t(F.FFieldNo)];
}

QVariant TDataSet::RowValue(int Position, const TField& F) const
{
    if (Position < 0 || Position >= int(FView.size()))
        return QVariant();
    const auto& v = FView[size_t(Position)]->Values;
    return F.FFieldNo < int(v.size()) ? v[size_t(F.FFieldNo)] : QVariant();
}

QVariant TDataSet::GetFieldOldRaw(const TField& F) const
{
    if (FState == dsInsert)
        return QVariant();
    if (FCur >= 0 && FCur < int(FView.size()))
        return FView[size_t(FCur)]->Values[size_t(F.FFieldNo)];
    return QVariant();
}

void TDataSet::SetFieldRaw(TField& F, const QVariant& v)
{
    if (FCalcRecord) {
        if (F.FieldKind() == fkData)
            throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(F.FieldName()));
        FCalcRecord->Values[size_t(F.FFieldNo)] = v;
        return;
    }
    if (FState != dsEdit && FState != dsInsert)
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    if (F.ReadOnly() || F.FieldKind() != fkData)
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(F.FieldName()));
    if (F.FFieldNo >= int(FEditValues.size()))
        FEditValues.resize(size_t(FFields.Count()));
    if (F.OnValidate) {
        // The handler sees the new value; a raise keeps the old one.
        QVariant old = FEditValues[size_t(F.FFieldNo)];
        FEditValues[size_t(F.FFieldNo)] = v;
        try {
            F.OnValidate(&F);
        } catch (...) {
            FEditValues[size_t(F.FFieldNo)] = old;
            throw;
        }
    } else {
        FEditValues[size_t(F.FFieldNo)] = v;
    }
    FModified = true;
    if (F.OnChange)
        F.OnChange(&F);
    DataEvent(deFieldChange, reinterpret_cast<intptr_t>(&F));
}

// ---- navigation ----

void TDataSet::DoBeforeScroll() { Fire(BeforeScroll, this); }
void TDataSet::DoAfterScroll() { Fire(AfterScroll, this); }

void TDataSet::ScrollTo(int Position)
{
    const int old = FCur;
    FCur = Position;
    FOverride = -1;
    const int d = FCur - old;
    if (d == 1 || d == -1)
        DataEvent(deDataSetScroll, d);
    else
        DataEvent(deDataSetChange);
}

void TDataSet::First()
{
    if (!Active())
        NotActive();
    CheckBrowseMode();
    DoBeforeScroll();
    ScrollTo(FView.empty() ? -1 : 0);
    FBof = true;
    FEof = FView.empty();
    DoAfterScroll();
}

void TDataSet::Last()
{
    if (!Active())
        NotActive();
    CheckBrowseMode();
    DoBeforeScroll();
    ScrollTo(int(FView.size()) - 1);
    FEof = true;
    FBof = FView.empty();
    DoAfterScroll();
}

int TDataSet::MoveBy(int Distance)
{
    if (!Active())
        NotActive();
    CheckBrowseMode();
    if (Distance == 0 || FView.empty()) {
        if (Distance > 0)
            FEof = true;
        if (Distance < 0)
            FBof = true;
        return 0;
    }
    const int target = std::clamp(FCur + Distance, 0, int(FView.size()) - 1);
    const int moved = target - FCur;
    if (moved == 0) {
        if (Distance > 0)
            FEof = true;
        else
            FBof = true;
        return 0;
    }
    DoBeforeScroll();
    ScrollTo(target);
    FBof = false;
    FEof = false;
    if (moved != Distance) {
        if (Distance > 0)
            FEof = true;
        else
            FBof = true;
    }
    DoAfterScroll();
    return moved;
}

void TDataSet::Next() { MoveBy(1); }
void TDataSet::Prior() { MoveBy(-1); }

int TDataSet::RecNo() const
{
    if (FState == dsInsert)
        return -1;
    return FCur < 0 ? 0 : FCur + 1;
}

void TDataSet::SetRecNo(int v)
{
    if (!Active())
        NotActive();
    if (FView.empty())
        return;
    v = std::clamp(v, 1, int(FView.size()));
    if (v - 1 != FCur)
        MoveBy(v - 1 - FCur);
}

bool TDataSet::Locate(const QString& KeyFields, const QVariantList& KeyValues, TLocateOptions Options)
{
    if (!Active())
        NotActive();
    CheckBrowseMode();
    const std::vector<TField*> fields = GetFieldList(KeyFields);
    std::vector<QVariant> wanted;
    for (size_t i = 0; i < fields.size(); ++i)
        wanted.push_back(fields[i]->ToRaw(KeyValues.value(int(i))));
    const bool ci = Options & loCaseInsensitive;
    const bool partial = Options & loPartialKey;
    for (size_t pos = 0; pos < FView.size(); ++pos) {
        const auto& vals = FView[pos]->Values;
        bool match = true;
        for (size_t i = 0; i < fields.size() && match; ++i) {
            const TField& f = *fields[i];
            const QVariant& have = vals[size_t(f.FFieldNo)];
            if (partial && (IsStringType(f.DataType()) || f.DataType() == ftMemo || f.DataType() == ftWideMemo) &&
                wanted[i].isValid() && have.isValid())
                match = have.toString().startsWith(wanted[i].toString(), ci ? Qt::CaseInsensitive : Qt::CaseSensitive);
            else
                match = f.CompareRaw(have, wanted[i], ci) == 0;
        }
        if (match) {
            DoBeforeScroll();
            ScrollTo(int(pos));
            FBof = FEof = false;
            DoAfterScroll();
            return true;
        }
    }
    return false;
}

QVariant TDataSet::Lookup(const QString& KeyFields, const QVariantList& KeyValues, const QString& ResultField)
{
    const std::vector<TField*> fields = GetFieldList(KeyFields);
    TField* result = FieldByName(ResultField);
    for (size_t pos = 0; pos < FView.size(); ++pos) {
        bool match = true;
        for (size_t i = 0; i < fields.size() && match; ++i)
            match = fields[i]->CompareRaw(FView[pos]->Values[size_t(fields[i]->FFieldNo)], fields[i]->ToRaw(KeyValues.value(int(i)))) == 0;
        if (match) {
            const int saved = FOverride;
            FOverride = int(pos);
            QVariant v = result->AsVariant();
            FOverride = saved;
            return v;
        }
    }
    return QVariant();
}

// ---- bookmarks ----

QVariantList TDataSet::KeyOf(const TDataRecord& R) const
{
    QVariantList key;
    for (const QString& n : SplitNames(FKeyFields)) {
        TField* f = FindField(n);
        key << (f ? R.Values[size_t(f->FFieldNo)] : QVariant());
    }
    return key;
}

TBookmark TDataSet::GetBookmark() const
{
    TBookmark b;
    if (FCur < 0 || FCur >= int(FView.size()) || FState == dsInsert)
        return b;
    b.Serial = FView[size_t(FCur)]->Serial;
    b.Key = KeyOf(*FView[size_t(FCur)]);
    b.RecNo = FCur + 1;
    return b;
}

int TDataSet::ResolveBookmark(const TBookmark& B) const
{
    if (B.IsEmpty())
        return -1;
    if (B.RecNo >= 1 && B.RecNo <= int(FView.size()) && FView[size_t(B.RecNo - 1)]->Serial == B.Serial)
        return B.RecNo - 1;
    for (size_t i = 0; i < FView.size(); ++i)
        if (FView[i]->Serial == B.Serial)
            return int(i);
    bool anyKey = false;
    for (const QVariant& k : B.Key)
        anyKey = anyKey || k.isValid();
    if (!anyKey)
        return -1;
    for (size_t i = 0; i < FView.size(); ++i)
        if (KeyOf(*FView[i]) == B.Key)
            return int(i);
    return -1;
}

bool TDataSet::BookmarkValid(const TBookmark& B) const
{
    return Active() && ResolveBookmark(B) >= 0;
}

void TDataSet::GotoBookmark(const TBookmark& B)
{
    if (!Active())
        NotActive();
    CheckBrowseMode();
    const int pos = ResolveBookmark(B);
    if (pos < 0)
        throw EDatabaseError(QStringLiteral("Record not found"));
    DoBeforeScroll();
    ScrollTo(pos);
    FBof = FEof = false;
    DoAfterScroll();
}

int TDataSet::CompareBookmarks(const TBookmark& A, const TBookmark& B) const
{
    int a = ResolveBookmark(A), b = ResolveBookmark(B);
    if (a < 0)
        a = INT32_MAX;
    if (b < 0)
        b = INT32_MAX;
    return a < b ? -1 : (a > b ? 1 : 0);
}

// ---- editing ----

void TDataSet::SetState(TDataSetState v)
{
    if (FState == v)
        return;
    FState = v;
    FModified = false;
    DataEvent(deUpdateState);
}

void TDataSet::StartEdit(TDataSetState NewState, int InsertAt)
{
    if (NewState == dsEdit) {
        FEditValues = FView[size_t(FCur)]->Values;
    } else {
        FEditValues.assign(size_t(FFields.Count()), QVariant());
        FInsertAt = InsertAt;
    }
    FOverride = -1;
    SetState(NewState);
}

void TDataSet::Edit()
{
    if (!Active())
        NotActive();
    if (FState == dsEdit || FState == dsInsert)
        return;
    CheckUpdateKind(ukModify);
    if (FView.empty()) {
        Insert();
        return;
    }
    Fire(BeforeEdit, this);
    StartEdit(dsEdit, -1);
    DataEvent(deRecordChange);
    Fire(AfterEdit, this);
}

void TDataSet::Insert()
{
    if (!Active())
        NotActive();
    CheckBrowseMode();
    CheckUpdateKind(ukInsert);
    Fire(BeforeInsert, this);
    DoBeforeScroll();
    StartEdit(dsInsert, std::max(FCur, 0));
    Fire(OnNewRecord, this);
    FModified = false;
    DataEvent(deDataSetChange);
    Fire(AfterInsert, this);
    DoAfterScroll();
}

void TDataSet::Append()
{
    if (!Active())
        NotActive();
    CheckBrowseMode();
    CheckUpdateKind(ukInsert);
    Fire(BeforeInsert, this);
    DoBeforeScroll();
    StartEdit(dsInsert, int(FView.size()));
    Fire(OnNewRecord, this);
    FModified = false;
    DataEvent(deDataSetChange);
    Fire(AfterInsert, this);
    DoAfterScroll();
}

void TDataSet::CheckUpdateKind(TUpdateKind Kind) const
{
    (void)Kind;
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

void TDataSet::UpdateRecord()
{
    if (FState == dsEdit || FState == dsInsert)
        DataEvent(deUpdateRecord);
}

void TDataSet::Post()
{
    if (!Active())
        NotActive();
    UpdateRecord();
    if (FState != dsEdit && FState != dsInsert)
        return;
    Fire(BeforePost, this);
    for (int i = 0; i < FFields.Count(); ++i) {
        TField* f = FFields[i];
        if (f->Required() && f->FieldKind() == fkData && !FEditValues[size_t(f->FFieldNo)].isValid())
            throw EDatabaseError(QStringLiteral("Field '%1' must have a value").arg(f->DisplayName()));
    }
    if (FState == dsInsert) {
        TDataRecord fresh;
        fresh.Serial = FNextSerial++;
        fresh.Values = FEditValues;
        InternalPost(fresh, nullptr);
        if (HasCalcFields())
            CalculateRecord(fresh);
        auto rec = std::make_unique<TDataRecord>(std::move(fresh));
        TDataRecord* p = rec.get();
        FRecords.push_back(std::move(rec));
        const int at = std::clamp(FInsertAt, 0, int(FView.size()));
        FView.insert(FView.begin() + at, p);
        FCur = at;
    } else {
        TDataRecord* cur = FView[size_t(FCur)];
        TDataRecord changed;
        changed.Serial = cur->Serial;
        changed.Values = FEditValues;
        InternalPost(changed, cur);
        if (HasCalcFields())
            CalculateRecord(changed);
        cur->Values = std::move(changed.Values);
    }
    FEditValues.clear();
    FInsertAt = -1;
    FBof = FEof = false;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterPost, this);
}

void TDataSet::Cancel()
{
    if (FState != dsEdit && FState != dsInsert)
        return;
    Fire(BeforeCancel, this);
    const bool wasInsert = FState == dsInsert;
    FEditValues.clear();
    FInsertAt = -1;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterCancel, this);
    if (wasInsert)
        DoAfterScroll();
}

void TDataSet::Delete()
{
    if (!Active())
        NotActive();
    if (FState == dsInsert) {
        Cancel();
        return;
    }
    if (FView.empty())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    CheckUpdateKind(ukDelete);
    Fire(BeforeDelete, this);
    DoBeforeScroll();
    TDataRecord* cur = FView[size_t(FCur)];
    InternalDelete(*cur);
    FView.erase(FView.begin() + FCur);
    for (auto it = FRecords.begin(); it != FRecords.end(); ++it)
        if (it->get() == cur) {
            FRecords.erase(it);
            break;
        }
    FEditValues.clear();
    if (FCur >= int(FView.size()))
        FCur = int(FView.size()) - 1;
    FEof = FView.empty();
    FBof = FCur <= 0;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterDelete, this);
    DoAfterScroll();
}

void TDataSet::CheckBrowseMode()
{
    if (!Active())
        NotActive();
    DataEvent(deCheckBrowseMode);
    if (FState == dsEdit || FState == dsInsert) {
        UpdateRecord();
        if (FModified || FState == dsEdit)
            Post();
        else
            Cancel();
    }
}

// ---- controls ----

void TDataSet::DisableControls()
{
    if (FDisableCount++ == 0)
        FStateChangedWhileDisabled = false;
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0)
        return;
    if (--FDisableCount == 0) {
        if (FStateChangedWhileDisabled)
            DataEvent(deUpdateState);
        DataEvent(deDataSetChange);
    }
}

void TDataSet::AddDataSource(TDataSource* S)
{
    if (std::find(FDataSources.begin(), FDataSources.end(), S) == FDataSources.end())
        FDataSources.push_back(S);
}

void TDataSet::RemoveDataSource(TDataSource* S)
{
    FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), S), FDataSources.end());
}

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info)
{
    if (FDisableCount > 0 && Event == deUpdateState)
        FStateChangedWhileDisabled = true;
    auto sources = FDataSources;
    for (TDataSource* s : sources)
        s->DataEvent(Event, Info);
}

// ---- filter and index ----

void TDataSet::SetFilter(const QString& v)
{
    if (FFilter == v)
        return;
    if (FFiltered && Active()) {
        CheckBrowseMode();
        TRecordPredicate p;
        if (!v.trimmed().isEmpty() && FilterCompiler())
            p = FilterCompiler()(*this, v, FFilterOptions);
        FFilter = v;
        FFilterPredicate = std::move(p);
        RebuildView(true);
        DataEvent(deDataSetChange);
    } else {
        FFilter = v;
        FFilterPredicate = nullptr;
    }
}

void TDataSet::SetFiltered(bool v)
{
    if (FFiltered == v)
        return;
    if (Active())
        CheckBrowseMode();
    FFilterPredicate = nullptr;
    if (v && !FFilter.trimmed().isEmpty() && FilterCompiler())
        FFilterPredicate = FilterCompiler()(*this, FFilter, FFilterOptions);
    FFiltered = v;
    if (Active()) {
        RebuildView(true);
        DataEvent(deDataSetChange);
    }
}

void TDataSet::SetFilterOptions(TFilterOptions v)
{
    if (FFilterOptions == v)
        return;
    FFilterOptions = v;
    if (FFiltered) {
        const QString f = FFilter;
        FFilter.clear();
        SetFilter(f);
    }
}

void TDataSet::AddIndex(const QString& Name, const QString& Fields, const QString& DescFields, bool CaseInsensitive)
{
    for (auto& d : FIndexDefs)
        if (SameTextName(d.Name, Name)) {
            d = TIndexDef{Name, Fields, DescFields, CaseInsensitive};
            return;
        }
    FIndexDefs.push_back(TIndexDef{Name, Fields, DescFields, CaseInsensitive});
}

void TDataSet::SetIndexName(const QString& v)
{
    if (!v.isEmpty()) {
        bool found = false;
        for (auto& d : FIndexDefs)
            found = found || SameTextName(d.Name, v);
        if (!found)
            throw EDatabaseError(QStringLiteral("Index '%1' not found").arg(v));
    }
    if (Active())
        CheckBrowseMode();
    FIndexName = v;
    FIndexFieldNames.clear();
    if (Active()) {
        RebuildView(true);
        DataEvent(deDataSetChange);
    }
}

void TDataSet::SetIndexFieldNames(const QString& v)
{
    if (Active())
        CheckBrowseMode();
    FIndexFieldNames = v;
    FIndexName.clear();
    if (Active()) {
        RebuildView(true);
        DataEvent(deDataSetChange);
    }
}

bool TDataSet::SameTextName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

void TDataSet::ApplyIndex()
{
    TIndexDef def;
    if (!FIndexName.isEmpty()) {
        for (auto& d : FIndexDefs)
            if (SameTextName(d.Name, FIndexName))
                def = d;
    } else if (!FIndexFieldNames.isEmpty()) {
        def.Fields = FIndexFieldNames;
    } else {
        return;
    }
    std::vector<TField*> fields;
    std::vector<bool> desc;
    const QStringList descNames = SplitNames(def.DescFields);
    for (const QString& n : SplitNames(def.Fields)) {
        TField* f = FindField(n);
        if (!f)
            continue;
        fields.push_back(f);
        bool d = false;
        for (const QString& dn : descNames)
            d = d || SameTextName(dn, n);
        desc.push_back(d);
    }
    if (fields.empty())
        return;
    const TValueComparator& cmp = ValueComparator();
    std::stable_sort(FView.begin(), FView.end(), [&](const TDataRecord* a, const TDataRecord* b) {
        for (size_t i = 0; i < fields.size(); ++i) {
            const int no = fields[i]->FieldNo();
            int r = cmp(*fields[i], a->Values[size_t(no)], b->Values[size_t(no)], def.CaseInsensitive);
            if (r != 0)
                return desc[i] ? r > 0 : r < 0;
        }
        return false;
    });
}

void TDataSet::RebuildView(bool KeepCurrent)
{
    const TDataRecord* cur = (KeepCurrent && FCur >= 0 && FCur < int(FView.size())) ? FView[size_t(FCur)] : nullptr;
    FView.clear();
    FView.reserve(FRecords.size());
    const bool filtering = FFiltered && (FFilterPredicate || OnFilterRecord);
    for (auto& r : FRecords) {
        if (filtering) {
            // Field reads inside the test see the candidate row.
            FView.push_back(r.get());
            const int saved = FOverride;
            FOverride = int(FView.size()) - 1;
            bool accept = true;
            try {
                if (FFilterPredicate)
                    accept = FFilterPredicate(*this);
                if (accept && OnFilterRecord)
                    OnFilterRecord(this, accept);
            } catch (...) {
                FOverride = saved;
                throw;
            }
            FOverride = saved;
            if (!accept)
                FView.pop_back();
        } else {
            FView.push_back(r.get());
        }
    }
    ApplyIndex();
    if (KeepCurrent) {
        const int pos = cur ? FindPositionOf(cur) : -1;
        FCur = pos >= 0 ? pos : (FView.empty() ? -1 : 0);
        FBof = FCur <= 0;
        FEof = FView.empty();
    }
}

int TDataSet::FindPositionOf(const TDataRecord* R) const
{
    for (size_t i = 0; i < FView.size(); ++i)
        if (FView[i] == R)
            return int(i);
    return -1;
}
