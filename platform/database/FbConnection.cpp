#include "platform/database/FbConnection.h"

#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"

#include <firebird/Interface.h>
#include <ibase.h>

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

using namespace Firebird;

namespace {

IMaster* Master()
{
    static IMaster* m = fb_get_master_interface();
    return m;
}

// A status wrapper that raises FbException and gives its status back.
class TStatus {
public:
    TStatus() : FWrap(Master()->getStatus()) {}
    ~TStatus() { FWrap.dispose(); }
    ThrowStatusWrapper* operator&() { return &FWrap; }

private:
    ThrowStatusWrapper FWrap;
};

constexpr unsigned CS_NONE = 0;
constexpr unsigned CS_OCTETS = 1;
constexpr unsigned CS_UTF8 = 4;
// Days from Firebird's day zero (17.11.1858) to ours (30.12.1899).
constexpr int DateDelta = 15018;
constexpr double TimeUnitsPerDay = 864000000.0;  // 1/10000 s

ISC_TIMESTAMP EncodeTimestamp(double dt)
{
    double days = std::floor(dt);
    int64_t t = std::llround((dt - days) * TimeUnitsPerDay);
    if (t >= int64_t(TimeUnitsPerDay)) {
        t -= int64_t(TimeUnitsPerDay);
        days += 1;
    }
    ISC_TIMESTAMP ts;
    ts.timestamp_date = ISC_DATE(int(days) + DateDelta);
    ts.timestamp_time = ISC_TIME(t);
    return ts;
}

double DecodeTimestamp(ISC_DATE d, ISC_TIME t)
{
    return double(int(d) - DateDelta) + double(t) / TimeUnitsPerDay;
}

QString UpperTrim(const char* s)
{
    return QString::fromUtf8(s).trimmed();
}

void ReadColumns(IMessageMetadata* meta, std::vector<TFbColumn>& cols)
{
    TStatus s;
    cols.clear();
    if (!meta)
        return;
    const unsigned n = meta->getCount(&s);
    for (unsigned i = 0; i < n; ++i) {
        TFbColumn c;
        c.Name = UpperTrim(meta->getAlias(&s, i));
        if (c.Name.isEmpty())
            c.Name = UpperTrim(meta->getField(&s, i));
        c.Relation = UpperTrim(meta->getRelation(&s, i));
        c.Field = UpperTrim(meta->getField(&s, i));
        c.SqlType = meta->getType(&s, i) & ~1u;
        c.SqlScale = meta->getScale(&s, i);
        c.SqlLength = meta->getLength(&s, i);
        c.SubType = meta->getSubType(&s, i);
        c.CharSet = meta->getCharSet(&s, i) & 0xFF;
        c.Nullable = meta->isNullable(&s, i);
        c.Offset = meta->getOffset(&s, i);
        c.NullOffset = meta->getNullOffset(&s, i);
        const int bpc = c.CharSet == CS_UTF8 ? 4 : 1;
        switch (c.SqlType) {
        case SQL_TEXT:
            c.DataType = c.CharSet == CS_OCTETS ? ftBytes : ftFixedWideChar;
            c.Size = int(c.SqlLength) / bpc;
            break;
        case SQL_VARYING:
            c.DataType = c.CharSet == CS_OCTETS ? ftVarBytes : ftWideString;
            c.Size = int(c.SqlLength) / bpc;
            break;
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            if (c.SqlScale < 0) {
                c.DataType = ftFMTBcd;
                c.Size = -c.SqlScale;
            } else {
                c.DataType = c.SqlType == SQL_SHORT ? ftSmallint : (c.SqlType == SQL_LONG ? ftInteger : ftLargeint);
            }
            break;
        case SQL_FLOAT:
            c.DataType = ftSingle;
            break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            c.DataType = ftFloat;
            break;
        case SQL_TIMESTAMP:
            c.DataType = ftDateTime;
            break;
        case SQL_TYPE_DATE:
            c.DataType = ftDate;
            break;
        case SQL_TYPE_TIME:
            c.DataType = ftTime;
            break;
        case SQL_BOOLEAN:
            c.DataType = ftBoolean;
            break;
        case SQL_BLOB:
            c.DataType = c.SubType == 1 ? ftWideMemo : ftBlob;
            break;
        default:
            c.DataType = ftUnknown;
            break;
        }
        cols.push_back(c);
    }
}

}  // namespace

[[noreturn]] void RaiseFbError(const void* FbExceptionPtr)
{
    const FbException& e = *static_cast<const FbException*>(FbExceptionPtr);
    IStatus* st = e.getStatus();
    char buf[2048];
    Master()->getUtilInterface()->formatStatus(buf, sizeof buf, st);
    const intptr_t* v = st->getErrors();
    int64_t code = (v && v[0] == isc_arg_gds) ? int64_t(v[1]) : 0;
    int sqlcode = int(isc_sqlcode(reinterpret_cast<const ISC_STATUS*>(v)));
    throw EFbError(QString::fromUtf8(buf), code, sqlcode);
}

#define FB_GUARD(body)                   \
    try {                                \
        body                             \
    } catch (const FbException& fbe) {   \
        RaiseFbError(&fbe);              \
    }

// ---- TFbConnection ----

TFbConnection::TFbConnection(TComponent* AOwner) : TComponent(AOwner) {}

TFbConnection::~TFbConnection()
{
    try {
        Close();
    } catch (...) {
    }
    auto trs = FTransactions;
    for (TFbTransaction* t : trs)
        t->SetConnection(nullptr);
    FOwnDefault.reset();
}

TFbTransaction* TFbConnection::DefaultTransaction() const
{
    if (FDefaultTransaction)
        return FDefaultTransaction;
    auto* self = const_cast<TFbConnection*>(this);
    if (!self->FOwnDefault) {
        self->FOwnDefault = std::make_unique<TFbTransaction>();
        self->FOwnDefault->SetConnection(self);
    }
    return self->FOwnDefault.get();
}

namespace {
IXpbBuilder* ConnectParams(ThrowStatusWrapper* s, const QString& user, const QString& password,
                           const QString& role, const QString& charset)
{
    IXpbBuilder* dpb = Master()->getUtilInterface()->getXpbBuilder(s, IXpbBuilder::DPB, nullptr, 0);
    if (!user.isEmpty())
        dpb->insertString(s, isc_dpb_user_name, user.toUtf8().constData());
    if (!password.isEmpty())
        dpb->insertString(s, isc_dpb_password, password.toUtf8().constData());
    if (!role.isEmpty())
        dpb->insertString(s, isc_dpb_sql_role_name, role.toUtf8().constData());
    dpb->insertString(s, isc_dpb_lc_ctype, charset.toUtf8().constData());
    dpb->insertTag(s, isc_dpb_utf8_filename);
    return dpb;
}
}  // namespace

void TFbConnection::Open()
{
    if (FAttachment)
        return;
    if (DatabaseName.isEmpty())
        throw EDatabaseError(QStringLiteral("No database name given"));
    TStatus s;
    IXpbBuilder* dpb = nullptr;
    FB_GUARD({
        dpb = ConnectParams(&s, UserName, Password, RoleName, CharacterSet);
        IProvider* prov = Master()->getDispatcher();
        try {
            FAttachment = prov->attachDatabase(&s, DatabaseName.toUtf8().constData(), dpb->getBufferLength(&s),
                                               dpb->getBuffer(&s));
        } catch (...) {
            prov->release();
            dpb->dispose();
            throw;
        }
        prov->release();
        dpb->dispose();
    })
}

void TFbConnection::Close()
{
    if (!FAttachment)
        return;
    auto sets = FDataSets;
    for (TDataSet* d : sets)
        d->Close();
    auto cmds = FCommands;
    for (TFbCommand* c : cmds)
        c->Unprepare();
    auto trs = FTransactions;
    for (TFbTransaction* t : trs) {
        if (t->Active()) {
            try {
                t->Rollback();
            } catch (...) {
                t->Detach();
            }
        }
    }
    TStatus s;
    try {
        FAttachment->detach(&s);
    } catch (const FbException&) {
        FAttachment->release();
    }
    FAttachment = nullptr;
}

bool TFbConnection::Alive() const
{
    if (!FAttachment)
        return false;
    TStatus s;
    try {
        FAttachment->ping(&s);
        return true;
    } catch (const FbException&) {
        return false;
    }
}

void TFbConnection::Reconnect()
{
    if (!FLost) {
        FReopen.clear();
        for (TDataSet* d : FDataSets)
            if (d->Active())
                FReopen.push_back(d);
    }
    FLost = true;
    Close();
    Open();
    FLost = false;
    const std::vector<TDataSet*> reopen = std::exchange(FReopen, {});
    for (TDataSet* d : reopen) {
        if (std::find(FDataSets.begin(), FDataSets.end(), d) == FDataSets.end() || d->Active())
            continue;  // gone meanwhile, or opened by a master
        try {
            d->Open();
        } catch (const std::exception&) {
            // Its window shows it closed; the next refresh opens it.
        }
    }
}

void TFbConnection::CreateDatabase(const QString& Path, const QString& User, const QString& Password, int PageSize)
{
    TStatus s;
    FB_GUARD({
        IXpbBuilder* dpb = ConnectParams(&s, User, Password, QString(), QStringLiteral("UTF8"));
        dpb->insertString(&s, isc_dpb_set_db_charset, "UTF8");
        dpb->insertInt(&s, isc_dpb_page_size, PageSize);
        IProvider* prov = Master()->getDispatcher();
        try {
            IAttachment* a = prov->createDatabase(&s, Path.toUtf8().constData(), dpb->getBufferLength(&s),
                                                  dpb->getBuffer(&s));
            a->detach(&s);
        } catch (...) {
            prov->release();
            dpb->dispose();
            throw;
        }
        prov->release();
        dpb->dispose();
    })
}

void TFbConnection::RegisterTransaction(TFbTransaction* T) { FTransactions.push_back(T); }
void TFbConnection::UnregisterTransaction(TFbTransaction* T)
{
    FTransactions.erase(std::remove(FTransactions.begin(), FTransactions.end(), T), FTransactions.end());
    if (FDefaultTransaction == T)
        FDefaultTransaction = nullptr;
}
void TFbConnection::RegisterDataSet(TDataSet* D) { FDataSets.push_back(D); }
void TFbConnection::UnregisterDataSet(TDataSet* D)
{
    FDataSets.erase(std::remove(FDataSets.begin(), FDataSets.end(), D), FDataSets.end());
    FReopen.erase(std::remove(FReopen.begin(), FReopen.end(), D), FReopen.end());
}
void TFbConnection::RegisterCommand(TFbCommand* C) { FCommands.push_back(C); }
void TFbConnection::UnregisterCommand(TFbCommand* C)
{
    FCommands.erase(std::remove(FCommands.begin(), FCommands.end(), C), FCommands.end());
}

// ---- TFbTransaction ----

TFbTransaction::TFbTransaction(TComponent* AOwner) : TComponent(AOwner) {}

TFbTransaction::~TFbTransaction()
{
    if (FHandle) {
        try {
            Rollback();
        } catch (...) {
            Detach();
        }
    }
    SetConnection(nullptr);
}

void TFbTransaction::SetConnection(TFbConnection* v)
{
    if (FConnection == v)
        return;
    if (FHandle)
        throw EDatabaseError(QStringLiteral("Cannot change the connection of an active transaction"));
    if (FConnection)
        FConnection->UnregisterTransaction(this);
    FConnection = v;
    if (FConnection)
        FConnection->RegisterTransaction(this);
}

void TFbTransaction::StartTransaction()
{
    if (FHandle)
        throw EDatabaseError(QStringLiteral("Transaction is already active"));
    if (!FConnection || !FConnection->Connected())
        throw EDatabaseError(QStringLiteral("Connection is not open"));
    TStatus s;
    FB_GUARD({
        IXpbBuilder* tpb = Master()->getUtilInterface()->getXpbBuilder(&s, IXpbBuilder::TPB, nullptr, 0);
        tpb->insertTag(&s, ReadOnly ? isc_tpb_read : isc_tpb_write);
        if (Isolation == xiReadCommitted) {
            tpb->insertTag(&s, isc_tpb_read_committed);
            tpb->insertTag(&s, isc_tpb_rec_version);
        } else {
            tpb->insertTag(&s, isc_tpb_concurrency);
        }
        if (LockTimeout > 0) {
            tpb->insertTag(&s, isc_tpb_wait);
            tpb->insertInt(&s, isc_tpb_lock_timeout, LockTimeout);
        } else {
            tpb->insertTag(&s, isc_tpb_nowait);
        }
        try {
            FHandle = FConnection->Handle()->startTransaction(&s, tpb->getBufferLength(&s), tpb->getBuffer(&s));
            FStartedReadOnly = ReadOnly;
        } catch (...) {
            tpb->dispose();
            throw;
        }
        tpb->dispose();
    })
}

bool TFbTransaction::EnsureActive()
{
    if (FHandle)
        return false;
    StartTransaction();
    return true;
}

void TFbTransaction::Commit()
{
    if (!FHandle)
        throw EDatabaseError(QStringLiteral("Transaction is not active"));
    TStatus s;
    FB_GUARD({
        FHandle->commit(&s);
        FHandle = nullptr;
    })
}

void TFbTransaction::Rollback()
{
    if (!FHandle)
        throw EDatabaseError(QStringLiteral("Transaction is not active"));
    TStatus s;
    try {
        FHandle->rollback(&s);
        FHandle = nullptr;
    } catch (const FbException& fbe) {
        // A transaction that cannot be rolled back (the connection broke) is
        // gone all the same; never leave a dead handle marked active.
        FHandle->release();
        FHandle = nullptr;
        RaiseFbError(&fbe);
    }
}

void TFbTransaction::Detach()
{
    if (FHandle)
        FHandle->release();
    FHandle = nullptr;
}

// ---- TFbCommand ----

TFbCommand::TFbCommand(TFbConnection* Connection, TFbTransaction* Transaction)
    : FConnection(Connection), FTransaction(Transaction)
{
    if (FConnection)
        FConnection->RegisterCommand(this);
}

TFbCommand::~TFbCommand()
{
    Unprepare();
    if (FConnection)
        FConnection->UnregisterCommand(this);
}

ITransaction* TFbCommand::Tra() const
{
    TFbTransaction* t = FTransaction ? FTransaction : (FConnection ? FConnection->DefaultTransaction() : nullptr);
    if (!t || !t->Active())
        throw EDatabaseError(QStringLiteral("Transaction is not active"));
    return t->Handle();
}

void TFbCommand::Prepare(const QString& SQL, bool NamedParams)
{
    if (FStatement && SQL == FSQL)
        return;
    Unprepare();
    if (!FConnection || !FConnection->Connected())
        throw EDatabaseError(QStringLiteral("Connection is not open"));
    TParsedSQL parsed = NamedParams ? ParseNamedParams(SQL) : TParsedSQL{SQL, {}};
    TStatus s;
    FB_GUARD({
        FStatement = FConnection->Handle()->prepare(&s, Tra(), 0, parsed.Text.toUtf8().constData(), SQL_DIALECT_V6,
                                                    IStatement::PREPARE_PREFETCH_METADATA);
        FStatementType = FStatement->getType(&s);
        IMessageMetadata* in = FStatement->getInputMetadata(&s);
        ReadColumns(in, FInputs);
        in->release();
        FOutMeta = FStatement->getOutputMetadata(&s);
        ReadColumns(FOutMeta, FColumns);
        FOutBuffer.assign(FOutMeta->getMessageLength(&s), 0);
    })
    FSQL = SQL;
    FMarkerNames = parsed.Names;
    FDistinctNames = DistinctParamNames(parsed.Names);
}

void TFbCommand::Unprepare()
{
    CloseCursor();
    TStatus s;
    if (FOutMeta) {
        FOutMeta->release();
        FOutMeta = nullptr;
    }
    if (FStatement) {
        try {
            FStatement->free(&s);
        } catch (const FbException&) {
            FStatement->release();
        }
        FStatement = nullptr;
    }
    FSQL.clear();
    FColumns.clear();
    FInputs.clear();
}

bool TFbCommand::ChangesRows() const
{
    if (FStatementType == isc_info_sql_stmt_update || FStatementType == isc_info_sql_stmt_delete)
        return true;
    // UPDATE and DELETE with RETURNING report themselves as procedure calls.
    static const QRegularExpression re(QStringLiteral("^\\s*(UPDATE|DELETE)\\s"), QRegularExpression::CaseInsensitiveOption);
    return FStatementType == isc_info_sql_stmt_exec_procedure && re.match(FSQL).hasMatch();
}

bool TFbCommand::IsDDL() const
{
    return FStatementType == isc_info_sql_stmt_ddl;
}

bool TFbCommand::HasCursor() const
{
    return FStatementType == isc_info_sql_stmt_select || FStatementType == isc_info_sql_stmt_select_for_upd;
}

std::vector<unsigned char> TFbCommand::BuildInput(const TParams& Params, IMessageMetadata*& Meta)
{
    Meta = nullptr;
    std::vector<unsigned char> buf;
    if (FMarkerNames.isEmpty())
        return buf;
    TStatus s;
    const int n = int(FMarkerNames.size());
    std::vector<const TParam*> ps(size_t(n), nullptr);
    std::vector<QByteArray> text;
    text.resize(size_t(n));
    IMessageMetadata* described = FStatement->getInputMetadata(&s);
    IMetadataBuilder* b = described->getBuilder(&s);
    described->release();
    try {
        for (int i = 0; i < n; ++i) {
            const TParam* p = Params.FindParam(FMarkerNames[i]);
            if (!p)
                throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(FMarkerNames[i]));
            ps[size_t(i)] = p;
            if (p->IsNull())
                continue;
            const unsigned target = FInputs[size_t(i)].SqlType;
            const unsigned ui = unsigned(i);
            const TFieldType k = p->DataType();
            if (target == SQL_BLOB && (IsStringType(k) || IsBlobType(k) || k == ftUnknown))
                continue;  // written as a blob below
            if (IsStringType(k) || k == ftMemo || k == ftWideMemo || k == ftFmtMemo || k == ftUnknown) {
                text[size_t(i)] = p->AsString().toUtf8();
                b->setType(&s, ui, SQL_VARYING | 1);
                b->setCharSet(&s, ui, CS_UTF8);
                b->setLength(&s, ui, unsigned(std::max<qsizetype>(1, text[size_t(i)].size())));
            } else if (IsIntegerType(k)) {
                b->setType(&s, ui, SQL_INT64 | 1);
                b->setLength(&s, ui, 8);
                b->setScale(&s, ui, 0);
            } else if (IsFixedType(k) || k == ftCurrency) {
                b->setType(&s, ui, SQL_INT64 | 1);
                b->setLength(&s, ui, 8);
                b->setScale(&s, ui, -p->Scale());
            } else if (k == ftFloat || k == ftSingle || k == ftExtended) {
                b->setType(&s, ui, SQL_DOUBLE | 1);
                b->setLength(&s, ui, 8);
                b->setScale(&s, ui, 0);
            } else if (k == ftDate) {
                b->setType(&s, ui, SQL_TYPE_DATE | 1);
                b->setLength(&s, ui, 4);
            } else if (k == ftTime) {
                b->setType(&s, ui, SQL_TYPE_TIME | 1);
                b->setLength(&s, ui, 4);
            } else if (IsDateTimeType(k)) {
                b->setType(&s, ui, SQL_TIMESTAMP | 1);
                b->setLength(&s, ui, 8);
            } else if (k == ftBoolean) {
                b->setType(&s, ui, SQL_BOOLEAN | 1);
                b->setLength(&s, ui, 1);
            } else {
                text[size_t(i)] = p->AsBytes();
                b->setType(&s, ui, SQL_VARYING | 1);
                b->setCharSet(&s, ui, CS_OCTETS);
                b->setLength(&s, ui, unsigned(std::max<qsizetype>(1, text[size_t(i)].size())));
            }
        }
        Meta = b->getMetadata(&s);
    } catch (...) {
        b->release();
        throw;
    }
    b->release();
    buf.assign(Meta->getMessageLength(&s), 0);
    unsigned char* m = buf.data();
    for (int i = 0; i < n; ++i) {
        const unsigned ui = unsigned(i);
        const TParam* p = ps[size_t(i)];
        short* nul = reinterpret_cast<short*>(m + Meta->getNullOffset(&s, ui));
        if (p->IsNull()) {
            *nul = -1;
            continue;
        }
        *nul = 0;
        unsigned char* at = m + Meta->getOffset(&s, ui);
        const unsigned type = Meta->getType(&s, ui) & ~1u;
        switch (type) {
        case SQL_VARYING: {
            const QByteArray& t = text[size_t(i)];
            const unsigned short len = static_cast<unsigned short>(t.size());
            std::memcpy(at, &len, 2);
            std::memcpy(at + 2, t.constData(), len);
            break;
        }
        case SQL_INT64: {
            ISC_INT64 v = IsFixedType(p->DataType()) || p->DataType() == ftCurrency ? p->RawValue().toLongLong()
                                                                                     : p->AsLargeInt();
            std::memcpy(at, &v, 8);
            break;
        }
        case SQL_DOUBLE: {
            double v = p->AsFloat();
            std::memcpy(at, &v, 8);
            break;
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP ts = EncodeTimestamp(p->AsDateTime());
            std::memcpy(at, &ts, sizeof ts);
            break;
        }
        case SQL_TYPE_DATE: {
            ISC_DATE d = EncodeTimestamp(p->AsDateTime()).timestamp_date;
            std::memcpy(at, &d, sizeof d);
            break;
        }
        case SQL_TYPE_TIME: {
            ISC_TIME t = EncodeTimestamp(p->AsDateTime()).timestamp_time;
            std::memcpy(at, &t, sizeof t);
            break;
        }
        case SQL_BOOLEAN:
            *at = p->AsBoolean() ? 1 : 0;
            break;
        case SQL_BLOB: {
            const QByteArray data = IsStringType(p->DataType()) || p->DataType() == ftUnknown ||
                                            p->DataType() == ftMemo || p->DataType() == ftWideMemo
                                        ? p->AsString().toUtf8()
                                        : p->AsBytes();
            ISC_QUAD id;
            IBlob* blob = FConnection->Handle()->createBlob(&s, Tra(), &id, 0, nullptr);
            for (qsizetype off = 0; off < data.size(); off += 32768) {
                const unsigned len = unsigned(std::min<qsizetype>(32768, data.size() - off));
                blob->putSegment(&s, len, data.constData() + off);
            }
            blob->close(&s);
            std::memcpy(at, &id, sizeof id);
            break;
        }
        default:
            // A null kept the described type; anything else is a value of a
            // kind the statement cannot take.
            throw EDatabaseError(QStringLiteral("Parameter '%1' has an unsupported type").arg(FMarkerNames[i]));
        }
    }
    return buf;
}

namespace {

// A value of the message buffer, which keeps no alignment for it.
template <class T>
T LoadAt(const unsigned char* at)
{
    T v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

}  // namespace

void TFbCommand::DecodeRow(const unsigned char* m, std::vector<QVariant>& Row)
{
    Row.resize(FColumns.size());
    for (size_t i = 0; i < FColumns.size(); ++i) {
        const TFbColumn& c = FColumns[i];
        const short nul = *reinterpret_cast<const short*>(m + c.NullOffset);
        if (nul) {
            Row[i] = QVariant();
            continue;
        }
        const unsigned char* at = m + c.Offset;
        switch (c.SqlType) {
        case SQL_TEXT: {
            if (c.CharSet == CS_OCTETS) {
                Row[i] = QByteArray(reinterpret_cast<const char*>(at), int(c.SqlLength));
            } else {
                int len = int(c.SqlLength);
                while (len > 0 && at[len - 1] == ' ')
                    --len;
                Row[i] = QString::fromUtf8(reinterpret_cast<const char*>(at), len);
            }
            break;
        }
        case SQL_VARYING: {
            unsigned short len;
            std::memcpy(&len, at, 2);
            if (c.CharSet == CS_OCTETS)
                Row[i] = QByteArray(reinterpret_cast<const char*>(at + 2), len);
            else
                Row[i] = QString::fromUtf8(reinterpret_cast<const char*>(at + 2), len);
            break;
        }
        case SQL_SHORT:
            Row[i] = qint64(LoadAt<ISC_SHORT>(at));
            break;
        case SQL_LONG:
            Row[i] = qint64(LoadAt<ISC_LONG>(at));
            break;
        case SQL_INT64:
            Row[i] = qint64(LoadAt<ISC_INT64>(at));
            break;
        case SQL_FLOAT:
            Row[i] = double(LoadAt<float>(at));
            break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            Row[i] = LoadAt<double>(at);
            break;
        case SQL_TIMESTAMP: {
            const auto ts = LoadAt<ISC_TIMESTAMP>(at);
            Row[i] = DecodeTimestamp(ts.timestamp_date, ts.timestamp_time);
            break;
        }
        case SQL_TYPE_DATE:
            Row[i] = DecodeTimestamp(LoadAt<ISC_DATE>(at), 0);
            break;
        case SQL_TYPE_TIME:
            Row[i] = double(LoadAt<ISC_TIME>(at)) / TimeUnitsPerDay;
            break;
        case SQL_BOOLEAN:
            Row[i] = *at != 0;
            break;
        case SQL_BLOB: {
            ISC_QUAD id;
            std::memcpy(&id, at, sizeof id);
            TStatus s;
            IBlob* blob = FConnection->Handle()->openBlob(&s, Tra(), &id, 0, nullptr);
            QByteArray data;
            char chunk[32768];
            for (;;) {
                unsigned got = 0;
                const int r = blob->getSegment(&s, sizeof chunk, chunk, &got);
                if (r == IStatus::RESULT_OK || r == IStatus::RESULT_SEGMENT)
                    data.append(chunk, int(got));
                else
                    break;
            }
            blob->close(&s);
            if (c.SubType == 1)
                Row[i] = QString::fromUtf8(data);
            else
                Row[i] = data;
            break;
        }
        default:
            Row[i] = QVariant();
            break;
        }
    }
}

void TFbCommand::Execute(const TParams& Params, std::vector<QVariant>* Outputs)
{
    if (!FStatement)
        throw EDatabaseError(QStringLiteral("Statement is not prepared"));
    TStatus s;
    IMessageMetadata* inMeta = nullptr;
    FB_GUARD({
        try {
            std::vector<unsigned char> in = BuildInput(Params, inMeta);
            const bool hasOut = !FColumns.empty();
            FStatement->execute(&s, Tra(), inMeta, in.empty() ? nullptr : in.data(), hasOut ? FOutMeta : nullptr,
                                hasOut ? FOutBuffer.data() : nullptr);
            FRowsAffected = int64_t(FStatement->getAffectedRecords(&s));
            if (inMeta)
                inMeta->release();
            inMeta = nullptr;
            if (hasOut && Outputs)
                DecodeRow(FOutBuffer.data(), *Outputs);
        } catch (...) {
            if (inMeta)
                inMeta->release();
            throw;
        }
    })
}

void TFbCommand::Open(const TParams& Params)
{
    if (!FStatement)
        throw EDatabaseError(QStringLiteral("Statement is not prepared"));
    CloseCursor();
    TStatus s;
    IMessageMetadata* inMeta = nullptr;
    FB_GUARD({
        try {
            std::vector<unsigned char> in = BuildInput(Params, inMeta);
            FCursor = FStatement->openCursor(&s, Tra(), inMeta, in.empty() ? nullptr : in.data(), FOutMeta, 0);
            if (inMeta)
                inMeta->release();
        } catch (...) {
            if (inMeta)
                inMeta->release();
            throw;
        }
    })
}

bool TFbCommand::Fetch(std::vector<QVariant>& Row)
{
    if (!FCursor)
        return false;
    TStatus s;
    bool got = false;
    FB_GUARD({
        got = FCursor->fetchNext(&s, FOutBuffer.data()) == IStatus::RESULT_OK;
        if (got)
            DecodeRow(FOutBuffer.data(), Row);
    })
    return got;
}

void TFbCommand::CloseCursor()
{
    if (!FCursor)
        return;
    TStatus s;
    try {
        FCursor->close(&s);
    } catch (const FbException&) {
        FCursor->release();
    }
    FCursor = nullptr;
}
