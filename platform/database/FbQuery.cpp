#include "platform/database/FbQuery.h"

#include "platform/database/DataSource.h"

#include <utility>
#include <QRegularExpression>

// ---- TSQLText ----

void TSQLText::Clear()
{
    if (FLines.isEmpty())
        return;
    FLines.clear();
    if (OnChange)
        OnChange();
}

void TSQLText::Add(const QString& Line)
{
    FLines << Line;
    if (OnChange)
        OnChange();
}

void TSQLText::SetText(const QString& v)
{
    FLines = v.split(QLatin1Char('\n'));
    if (OnChange)
        OnChange();
}

// ---- master link ----

class TMasterDataLink : public TDataLink {
public:
    explicit TMasterDataLink(TFbQuery* Detail) : FDetail(Detail) {}
    bool FollowsWhileDisabled() const override { return true; }

protected:
    void ActiveChanged() override { FDetail->MasterChanged(); }
    void DataSetChanged() override { FDetail->MasterChanged(); }
    void DataSetScrolled(int) override { FDetail->MasterChanged(); }

private:
    TFbQuery* FDetail;
};

// ---- TFbQuery ----

namespace {

void RollbackQuietly(TFbTransaction* t)
{
    if (t && t->Active()) {
        try {
            t->Rollback();
        } catch (...) {
        }
    }
}

// Runs Body in the transaction, starting it when it is not yet active. A
// failure first lets OnFailure tidy up, then rolls back only a transaction
// started here: a caller's own running transaction is the caller's to end.
template <class TBody, class TOnFailure>
void RunInTransaction(TFbTransaction* t, TBody&& Body, TOnFailure&& OnFailure)
{
    const bool started = t->EnsureActive();
    try {
        Body();
    } catch (...) {
        OnFailure();
        if (started)
            RollbackQuietly(t);
        throw;
    }
}

template <class TBody>
void RunInTransaction(TFbTransaction* t, TBody&& Body)
{
    RunInTransaction(t, std::forward<TBody>(Body), [] {});
}

QString ColumnOf(const TField& f)
{
    const int dot = f.Origin().lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? f.Origin().mid(dot + 1) : f.FieldName();
}

QString TableOf(const TField& f)
{
    const int dot = f.Origin().lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? f.Origin().left(dot) : QString();
}

}  // namespace

TFbQuery::TFbQuery(TComponent* AOwner) : TDataSet(AOwner)
{
    FSQL.OnChange = [this] { SQLChanged(); };
}

TFbQuery::~TFbQuery()
{
    try {
        Close();
    } catch (...) {
    }
    FMasterLink.reset();
    FCommand.reset();
    FUpdateCommand.reset();
    if (FConnection)
        FConnection->UnregisterDataSet(this);
}

void TFbQuery::SetConnection(TFbConnection* v)
{
    if (FConnection == v)
        return;
    Close();
    FCommand.reset();
    FUpdateCommand.reset();
    if (FConnection)
        FConnection->UnregisterDataSet(this);
    FConnection = v;
    if (FConnection)
        FConnection->RegisterDataSet(this);
}

TFbTransaction* TFbQuery::Transaction() const
{
    if (FTransaction)
        return FTransaction;
    return FConnection ? FConnection->DefaultTransaction() : nullptr;
}

void TFbQuery::SetTransaction(TFbTransaction* v)
{
    FTransaction = v;
}

TFbTransaction* TFbQuery::UpdateTransaction() const
{
    return FUpdateTransaction ? FUpdateTransaction : Transaction();
}

void TFbQuery::SetKeyFieldNames(const QString& v)
{
    FUpdateOptions.KeyFields = v;
    SetKeyFields(v);
}

void TFbQuery::SetMasterSource(TDataSource* v)
{
    if (FMasterSource == v)
        return;
    FMasterSource = v;
    if (!FMasterLink)
        FMasterLink = std::make_unique<TMasterDataLink>(this);
    FMasterLink->SetDataSource(v);
}

void TFbQuery::SQLChanged()
{
    Close();
    if (FCommand)
        FCommand->Unprepare();
    FParams.Rebuild(DistinctParamNames(ParseNamedParams(FSQL.Text()).Names));
}

void TFbQuery::PrepareCommand(TFbTransaction* t)
{
    if (!FCommand)
        FCommand = std::make_unique<TFbCommand>(FConnection, t);
    FCommand->SetTransaction(t);
    FCommand->Prepare(FSQL.Text());
}

void TFbQuery::Prepare()
{
    if (!FConnection || !FConnection->Connected())
        throw EDatabaseError(QStringLiteral("Connection is not open"));
    TFbTransaction* t = Transaction();
    RunInTransaction(t, [&] {
        PrepareCommand(t);
    });
}

void TFbQuery::Unprepare()
{
    if (FCommand)
        FCommand->Unprepare();
}

void TFbQuery::MasterChanged()
{
    // A detail that closed with its master (a master requeried by its own
    // master) follows it again, so chains of details keep working.
    if (!Active() && !FClosedByMaster)
        return;
    if (Active())
        Close();
    TDataSet* master = FMasterSource ? FMasterSource->DataSet() : nullptr;
    FClosedByMaster = !(master && master->Active());
    if (!FClosedByMaster)
        Open();
}

void TFbQuery::BuildFields(const std::vector<TFbColumn>& Columns)
{
    int dataFields = 0;
    for (int i = 0; i < FieldCount(); ++i)
        dataFields += Fields()[i]->FieldKind() == fkData ? 1 : 0;
    bool same = dataFields == int(Columns.size());
    for (int i = 0; same && i < FieldCount(); ++i) {
        TField* f = Fields()[i];
        if (f->FieldKind() != fkData)
            continue;
        same = f->FieldNo() < int(Columns.size()) &&
               QString::compare(f->FieldName(), Columns[size_t(f->FieldNo())].Name, Qt::CaseInsensitive) == 0 &&
               f->DataType() == Columns[size_t(f->FieldNo())].DataType;
    }
    if (same)
        return;
    ClearDataFields();
    for (const TFbColumn& c : Columns) {
        TField* f = DefineField(c.Name, c.DataType, c.Size);
        if (!c.Relation.isEmpty())
            f->SetOrigin(c.Relation + QLatin1Char('.') + c.Field);
        else
            f->SetReadOnly(true);
    }
    FieldsChanged();
    for (const QString& n : FUpdateOptions.KeyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (TField* f = FindField(n.trimmed()))
            f->SetProviderFlags(f->ProviderFlags() | pfInKey);
}

void TFbQuery::InternalOpen()
{
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("%1: no connection").arg(Name()));
    if (!FConnection->Connected())
        throw EDatabaseError(QStringLiteral("Connection is not open"));
    if (KeyFields().isEmpty() && !FUpdateOptions.KeyFields.isEmpty())
        SetKeyFields(FUpdateOptions.KeyFields);
    TFbTransaction* t = Transaction();
    RunInTransaction(t, [&] {
        PrepareCommand(t);
        if (BeforeExecute)
            BeforeExecute(this);
        TDataSet* master = FMasterSource ? FMasterSource->DataSet() : nullptr;
        if (master && master->Active()) {
            const QStringList names = MasterFields.isEmpty() ? FCommand->ParamNames()
                                                             : MasterFields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
            for (const QString& n : names) {
                TParam* p = FParams.FindParam(n.trimmed());
                TField* mf = master->FindField(n.trimmed());
                if (p && mf) {
                    if (master->IsEmpty())
                        p->Clear();
                    else
                        p->AssignField(*mf);
                }
            }
        }
        if (FCommand->HasCursor()) {
            FCommand->Open(FParams);
            BuildFields(FCommand->Columns());
            std::vector<QVariant> row;
            while (FCommand->Fetch(row)) {
                NewRecord(std::move(row));
                row = std::vector<QVariant>();
            }
            FCommand->CloseCursor();
        } else {
            std::vector<QVariant> out;
            FCommand->Execute(FParams, &out);
            BuildFields(FCommand->Columns());
            if (!FCommand->Columns().empty())
                NewRecord().Values = std::move(out);
        }
    }, [&] {
        if (FCommand)
            FCommand->CloseCursor();
    });
}

void TFbQuery::InternalClose()
{
    if (FCommand)
        FCommand->CloseCursor();
}

void TFbQuery::ExecSQL()
{
    if (!FConnection || !FConnection->Connected())
        throw EDatabaseError(QStringLiteral("Connection is not open"));
    TFbTransaction* t = Transaction();
    RunInTransaction(t, [&] {
        PrepareCommand(t);
        FCommand->Execute(FParams, nullptr);
        FRowsAffected = FCommand->RowsAffected();
    });
}

bool TFbQuery::CanModify() const
{
    return !ReadOnly() && (FUpdateOptions.EnableInsert || FUpdateOptions.EnableUpdate || FUpdateOptions.EnableDelete);
}

void TFbQuery::CheckUpdateKind(TUpdateKind Kind) const
{
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    if (Kind == ukModify && !FUpdateOptions.EnableUpdate)
        throw EDatabaseError(QStringLiteral("%1: updating is not allowed").arg(Name()));
    if (Kind == ukInsert && !FUpdateOptions.EnableInsert)
        throw EDatabaseError(QStringLiteral("%1: inserting is not allowed").arg(Name()));
    if (Kind == ukDelete && !FUpdateOptions.EnableDelete)
        throw EDatabaseError(QStringLiteral("%1: deleting is not allowed").arg(Name()));
}

QString TFbQuery::UpdateTable() const
{
    if (!FUpdateOptions.UpdateTableName.isEmpty())
        return FUpdateOptions.UpdateTableName.toUpper();
    static const QRegularExpression re(QStringLiteral("\\bfrom\\s+([A-Za-z_][A-Za-z0-9_$]*)"),
                                       QRegularExpression::CaseInsensitiveOption);
    auto m = re.match(const_cast<TFbQuery*>(this)->FSQL.Text());
    return m.hasMatch() ? m.captured(1).toUpper() : QString();
}

QString TFbQuery::GeneratedSQL(TUpdateKind Kind) const
{
    const QString table = UpdateTable();
    if (table.isEmpty())
        throw EDatabaseError(QStringLiteral("%1: no table to write to").arg(Name()));
    QStringList cols, values, sets, where;
    QStringList only;
    for (const QString& n : FUpdateOptions.UpdateFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        only << n.trimmed().toUpper();
    for (int i = 0; i < FieldCount(); ++i) {
        const TField& f = *Fields()[i];
        if (f.FieldKind() != fkData || f.ReadOnly() || !(f.ProviderFlags() & pfInUpdate))
            continue;
        if (!only.isEmpty() && !only.contains(f.FieldName().toUpper()))
            continue;
        if (QString::compare(TableOf(f), table, Qt::CaseInsensitive) != 0)
            continue;
        cols << ColumnOf(f);
        values << QStringLiteral(":NEW_") + f.FieldName();
        sets << ColumnOf(f) + QStringLiteral(" = :NEW_") + f.FieldName();
    }
    for (const QString& n : FUpdateOptions.KeyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        TField* f = FieldByName(n.trimmed());
        where << ColumnOf(*f) + QStringLiteral(" = :OLD_") + f->FieldName();
    }
    if (Kind == ukInsert)
        return QStringLiteral("insert into %1 (%2) values (%3)").arg(table, cols.join(QStringLiteral(", ")),
                                                                    values.join(QStringLiteral(", ")));
    if (where.isEmpty())
        throw EDatabaseError(QStringLiteral("%1: no key fields to find the row").arg(Name()));
    if (Kind == ukModify)
        return QStringLiteral("update %1 set %2 where %3").arg(table, sets.join(QStringLiteral(", ")),
                                                              where.join(QStringLiteral(" and ")));
    return QStringLiteral("delete from %1 where %2").arg(table, where.join(QStringLiteral(" and ")));
}

void TFbQuery::RunUpdate(TUpdateKind Kind, TDataRecord* New, const TDataRecord* Old)
{
    QString sql;
    if (FUpdateObject)
        sql = Kind == ukInsert ? FUpdateObject->InsertSQL
                               : (Kind == ukModify ? FUpdateObject->ModifySQL : FUpdateObject->DeleteSQL);
    if (sql.trimmed().isEmpty())
        sql = GeneratedSQL(Kind);
    TFbTransaction* t = UpdateTransaction();
    if (!FConnection || !FConnection->Connected() || !t)
        throw EDatabaseError(QStringLiteral("Connection is not open"));
    RunInTransaction(t, [&] {
        if (!FUpdateCommand)
            FUpdateCommand = std::make_unique<TFbCommand>(FConnection, t);
        FUpdateCommand->SetTransaction(t);
        FUpdateCommand->Prepare(sql);
        auto bind = [&](TFbCommand& cmd, TParams& ps) {
            for (const QString& name : cmd.ParamNames()) {
                const QString up = name.toUpper();
                const TDataRecord* from = New;
                QString fieldName = name;
                if (up.startsWith(QLatin1String("NEW_")) && FindField(name.mid(4))) {
                    fieldName = name.mid(4);
                } else if (up.startsWith(QLatin1String("OLD_")) && FindField(name.mid(4))) {
                    fieldName = name.mid(4);
                    from = Old ? Old : New;
                }
                TField* f = FieldByName(fieldName);
                TParam& p = ps.Add(name);
                p.SetRaw(f->DataType(), from ? from->Values[size_t(f->FieldNo())] : QVariant(),
                         IsFixedType(f->DataType()) ? f->Size() : 0);
            }
        };
        TParams ps;
        bind(*FUpdateCommand, ps);
        std::vector<QVariant> out;
        FUpdateCommand->Execute(ps, &out);
        if (FUpdateCommand->ChangesRows() && FUpdateCommand->RowsAffected() != 1)
            throw EDatabaseError(QStringLiteral("Update command changed [%1] instead of [1] record")
                                     .arg(FUpdateCommand->RowsAffected()));
        auto copyBack = [&](const std::vector<TFbColumn>& cols, const std::vector<QVariant>& vals) {
            for (size_t i = 0; i < cols.size() && i < vals.size(); ++i)
                if (TField* f = FindField(cols[i].Name))
                    New->Values[size_t(f->FieldNo())] = vals[i];
        };
        if (New && !out.empty())
            copyBack(FUpdateCommand->Columns(), out);
        if (New && FUpdateObject && !FUpdateObject->FetchRowSQL.trimmed().isEmpty()) {
            TFbCommand fetch(FConnection, t);
            fetch.Prepare(FUpdateObject->FetchRowSQL);
            TParams fp;
            bind(fetch, fp);
            fetch.Open(fp);
            std::vector<QVariant> row;
            if (fetch.Fetch(row))
                copyBack(fetch.Columns(), row);
            fetch.CloseCursor();
        }
    });
}

void TFbQuery::InternalPost(TDataRecord& New, const TDataRecord* Old)
{
    RunUpdate(Old ? ukModify : ukInsert, &New, Old);
}

void TFbQuery::InternalDelete(const TDataRecord& Row)
{
    RunUpdate(ukDelete, nullptr, &Row);
}

// ---- TFbStoredProc ----

TFbStoredProc::TFbStoredProc(TComponent* AOwner) : TComponent(AOwner) {}
TFbStoredProc::~TFbStoredProc() = default;

void TFbStoredProc::SetConnection(TFbConnection* v)
{
    if (FConnection == v)
        return;
    FCommand.reset();
    FPrepared = false;
    FConnection = v;
}

TFbTransaction* TFbStoredProc::Transaction() const
{
    if (FTransaction)
        return FTransaction;
    return FConnection ? FConnection->DefaultTransaction() : nullptr;
}

void TFbStoredProc::SetStoredProcName(const QString& v)
{
    if (FName == v)
        return;
    FName = v;
    FPrepared = false;
    if (FCommand)
        FCommand->Unprepare();
}

TParam& TFbStoredProc::ParamByName(const QString& Name)
{
    if (!FPrepared && FConnection && FConnection->Connected())
        Prepare();
    return FParams.ParamByName(Name);
}

void TFbStoredProc::Prepare()
{
    if (FPrepared && FCommand && FCommand->Prepared())
        return;
    if (!FConnection || !FConnection->Connected())
        throw EDatabaseError(QStringLiteral("Connection is not open"));
    TFbTransaction* t = Transaction();
    RunInTransaction(t, [&] {
        QString package, proc = FName.trimmed().toUpper();
        const int dot = proc.indexOf(QLatin1Char('.'));
        if (dot >= 0) {
            package = proc.left(dot);
            proc = proc.mid(dot + 1);
        }
        TFbCommand meta(FConnection, t);
        meta.Prepare(QStringLiteral(
            "select trim(p.rdb$parameter_name), p.rdb$parameter_type from rdb$procedure_parameters p "
            "where p.rdb$procedure_name = :PROC and coalesce(p.rdb$package_name, '') = :PKG "
            "order by p.rdb$parameter_type, p.rdb$parameter_number"));
        TParams mp;
        mp.Add(QStringLiteral("PROC")).SetAsString(proc);
        mp.Add(QStringLiteral("PKG")).SetAsString(package);
        meta.Open(mp);
        QStringList inputs, outputs;
        std::vector<QVariant> row;
        while (meta.Fetch(row))
            (row[1].toLongLong() == 0 ? inputs : outputs) << row[0].toString();
        meta.CloseCursor();
        QString sql = QStringLiteral("EXECUTE PROCEDURE ") + (package.isEmpty() ? proc : package + QLatin1Char('.') + proc);
        if (!inputs.isEmpty()) {
            QStringList markers;
            for (const QString& n : inputs)
                markers << QLatin1Char(':') + n;
            sql += QLatin1Char('(') + markers.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        if (!FCommand)
            FCommand = std::make_unique<TFbCommand>(FConnection, t);
        FCommand->SetTransaction(t);
        FCommand->Prepare(sql);
        FParams.Rebuild(inputs + outputs);
        for (int i = 0; i < FParams.Count(); ++i)
            FParams[i].SetParamType(i < inputs.size() ? ptInput : ptOutput);
        FPrepared = true;
    });
}

void TFbStoredProc::ExecProc()
{
    Prepare();
    TFbTransaction* t = Transaction();
    RunInTransaction(t, [&] {
        FCommand->SetTransaction(t);
        std::vector<QVariant> out;
        FCommand->Execute(FParams, &out);
        const auto& cols = FCommand->Columns();
        for (size_t i = 0; i < cols.size() && i < out.size(); ++i)
            if (TParam* p = FParams.FindParam(cols[i].Name))
                p->SetRaw(cols[i].DataType, out[i], IsFixedType(cols[i].DataType) ? cols[i].Size : 0);
    });
}
