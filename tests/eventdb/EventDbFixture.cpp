#include "tests/eventdb/EventDbFixture.h"

#include "platform/database/FbQuery.h"
#include "platform/database/FbScript.h"

#include <QFile>
#include <stdexcept>

EventDb::EventDb(bool LoadFixture)
{
    FCon.DatabaseName = FDb.Path();
    FCon.Open();
    FTr.SetConnection(&FCon);
    if (LoadFixture) {
        QFile f(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the event fixture");
        Script(QString::fromUtf8(f.readAll()));
    }
}

void EventDb::Script(const QString& Text)
{
    TFbScript s;
    s.Connection = &FCon;
    s.Transaction = &FTr;
    s.ExecuteScript(Text);
    if (FTr.Active())
        FTr.Commit();
}

namespace {
void Bind(TFbQuery& q, const TArgs& Args)
{
    for (const auto& [name, value] : Args)
        q.ParamByName(name).SetValue(value);
}
}  // namespace

std::vector<TRow> EventDb::Rows(const QString& Sql, const TArgs& Args)
{
    std::vector<TRow> rows;
    TFbQuery q;
    q.SetConnection(&FCon);
    q.SetTransaction(&FTr);
    q.SQL().Add(Sql);
    try {
        Bind(q, Args);
        q.Open();
        for (q.First(); !q.Eof(); q.Next()) {
            TRow r;
            for (int i = 0; i < q.FieldCount(); ++i) {
                TField* f = q.Fields()[i];
                r.insert(f->FieldName().toUpper(), f->IsNull() ? QVariant() : f->Value());
            }
            rows.push_back(r);
        }
        q.Close();
        FTr.Commit();
    } catch (...) {
        if (FTr.Active())
            FTr.Rollback();
        throw;
    }
    return rows;
}

TRow EventDb::Row(const QString& Sql, const TArgs& Args)
{
    auto rows = Rows(Sql, Args);
    return rows.empty() ? TRow() : rows.front();
}

QVariant EventDb::Value(const QString& Sql, const TArgs& Args)
{
    TRow r = Row(Sql, Args);
    return r.isEmpty() ? QVariant() : r.first();
}

void EventDb::Exec(const QString& Sql, const TArgs& Args)
{
    TFbQuery q;
    q.SetConnection(&FCon);
    q.SetTransaction(&FTr);
    q.SQL().Add(Sql);
    try {
        Bind(q, Args);
        q.ExecSQL();
        FTr.Commit();
    } catch (...) {
        if (FTr.Active())
            FTr.Rollback();
        throw;
    }
}

QString EventDb::Emit(const QString& Card, const std::vector<std::pair<int, int>>& Punches, const QString& ReadTime)
{
    QString s = QStringLiteral("\"X\",\"0\",\"0\",\"%1\",\"%2\",\"%2\",%3,0012,0019")
                    .arg(Card.rightJustified(6, QLatin1Char('0')), ReadTime, QString::number(Card.toLongLong()));
    for (int i = 0; i < 50; ++i) {
        const auto p = i < int(Punches.size()) ? Punches[size_t(i)] : std::pair<int, int>(0, 0);
        s += QStringLiteral(",%1,%2").arg(p.first, 3, 10, QLatin1Char('0')).arg(p.second, 5, 10, QLatin1Char('0'));
    }
    return s;
}
