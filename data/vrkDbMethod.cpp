#include "data/vrkDbMethod.h"

#include "app/vrkDoMessage.h"
#include "resources/SafeguardTexts.h"

#include <QHash>

QString DbMethodLogText(const QString& Name, const QString& Message, TDbLogStyle Style)
{
    if (Style == TDbLogStyle::Others)
        return Name + QStringLiteral(".OTHERS: ") + Message;
    return QStringLiteral("(") + Name + QStringLiteral("): ") + Message;
}

namespace {

void RunOnce(TFbTransaction& Transaction, const std::function<void()>& Body, const TDbMethodOptions& Options)
{
    // A read left open read-only (reads made together) has read what it
    // needed: a method that writes ends it and starts its own.
    if (!Options.ReadOnly && Transaction.ActiveReadOnly())
        Transaction.Commit();
    if (!Transaction.Active()) {
        // (only this start: the transaction's own mode stays for its others)
        const bool readOnly = Transaction.ReadOnly;
        Transaction.ReadOnly = Options.ReadOnly || readOnly;
        try {
            Transaction.StartTransaction();
        } catch (...) {
            Transaction.ReadOnly = readOnly;
            throw;
        }
        Transaction.ReadOnly = readOnly;
    }
    Body();
    if (Options.Commit && Transaction.Active())
        Transaction.Commit();
}

// A connection that no longer answers (the server was restarted, the engine
// shut it down) is attached again, so the method and the desk go on; false
// when it answers (the failure was the method's own) or cannot be attached.
bool ReconnectWhenLost(TFbTransaction& Transaction, const QString& Name)
{
    TFbConnection* c = Transaction.Connection();
    if (!c || !(c->Lost() || (c->Connected() && !c->Alive())))
        return false;
    try {
        c->Reconnect();
        do_message(false, txt::DbReconnected.arg(Name), MSG_WARNING);
        return true;
    } catch (const std::exception& e) {
        do_message(false, txt::DbReconnectFailed + ExceptionMessage(e), MSG_ERROR);
        return false;
    }
}

}  // namespace

QString RunDbMethod(const QString& Name, TFbTransaction& Transaction, const std::function<void()>& Body,
                    TDbMethodOptions Options)
{
    try {
        try {
            RunOnce(Transaction, Body, Options);
        } catch (const std::exception&) {
            if (!ReconnectWhenLost(Transaction, Name))
                throw;
            // Once more on the new connection: what failed was not stored.
            RunOnce(Transaction, Body, Options);
        }
        return QString();
    } catch (const std::exception& e) {
        const QString message = ExceptionMessage(e);
        if (Options.ErrorMessage)
            *Options.ErrorMessage = message;
        const QString text = DbMethodLogText(Name, Options.MessagePrefix + message, Options.LogStyle);
        do_message(false, text, MSG_ERROR);
        if (Transaction.Active()) {
            try {
                Transaction.Rollback();
            } catch (...) {
                // The handle is gone either way; the first error is the one to report.
            }
        }
        if (Options.Reraise)
            throw;
        return text;
    }
}

namespace {
const QString kStatementCacheName = QStringLiteral("PreparedStatements");

// The prepared statements of one shared query, by their text.
class TStatementCache : public TComponent {
public:
    explicit TStatementCache(TComponent* AOwner) : TComponent(AOwner) { SetName(kStatementCacheName); }
    QHash<QString, TFbQuery*> Statements;
};
}  // namespace

TFbQuery& SetStatement(TFbQuery& Statement, std::initializer_list<QString> Lines)
{
    auto* cache = dynamic_cast<TStatementCache*>(Statement.FindComponent(kStatementCacheName));
    if (!cache)
        cache = new TStatementCache(&Statement);
    QString key;
    for (const QString& l : Lines)
        key += l + QLatin1Char('\n');
    TFbQuery*& q = cache->Statements[key];
    if (!q) {
        q = new TFbQuery(cache);
        q->SetConnection(Statement.Connection());
        q->SetTransaction(Statement.Transaction());
        for (const QString& l : Lines)
            q->SQL().Add(l);
    }
    q->Close();
    return *q;
}

namespace {
TField* Req(TDataSet& D, const QString& Field)
{
    TField* f = D.FieldByName(Field);
    if (f->IsNull())
        throw EDatabaseError(QStringLiteral("Field '%1' is null").arg(Field));
    return f;
}
[[noreturn]] void NullParam(const TParam& P)
{
    throw EDatabaseError(QStringLiteral("Parameter '%1' is null").arg(P.Name()));
}
}  // namespace

QString NullStr(TDataSet& D, const QString& Field, const QString& Default)
{
    TField* f = D.FieldByName(Field);
    return f->IsNull() ? Default : f->AsString();
}
int64_t NullId(TDataSet& D, const QString& Field, int64_t Default)
{
    TField* f = D.FieldByName(Field);
    return f->IsNull() ? Default : f->AsLargeInt();
}
int NullInt(TDataSet& D, const QString& Field, int Default)
{
    TField* f = D.FieldByName(Field);
    return f->IsNull() ? Default : f->AsInteger();
}
float NullSingle(TDataSet& D, const QString& Field, float Default)
{
    TField* f = D.FieldByName(Field);
    return f->IsNull() ? Default : f->AsSingle();
}
Currency NullMoney(TDataSet& D, const QString& Field)
{
    return D.FieldByName(Field)->AsCurrency();
}
TDateTime NullDateTime(TDataSet& D, const QString& Field)
{
    return D.FieldByName(Field)->AsDateTime();
}
QString ReqStr(TDataSet& D, const QString& Field) { return Req(D, Field)->AsString(); }
int64_t ReqId(TDataSet& D, const QString& Field) { return Req(D, Field)->AsLargeInt(); }
int ReqInt(TDataSet& D, const QString& Field) { return Req(D, Field)->AsInteger(); }
TDateTime ReqDateTime(TDataSet& D, const QString& Field) { return Req(D, Field)->AsDateTime(); }

QString NullStr(const TParam& P, const QString& Default) { return P.IsNull() ? Default : P.AsString(); }
int64_t NullId(const TParam& P, int64_t Default) { return P.IsNull() ? Default : P.AsLargeInt(); }
int NullInt(const TParam& P, int Default) { return P.IsNull() ? Default : P.AsInteger(); }
float NullSingle(const TParam& P, float Default) { return P.IsNull() ? Default : P.AsSingle(); }
Currency NullMoney(const TParam& P) { return P.AsCurrency(); }
QString ReqStr(const TParam& P)
{
    if (P.IsNull())
        NullParam(P);
    return P.AsString();
}
int64_t ReqId(const TParam& P)
{
    if (P.IsNull())
        NullParam(P);
    return P.AsLargeInt();
}
