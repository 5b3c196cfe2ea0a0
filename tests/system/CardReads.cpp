#include "tests/system/CardReads.h"

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "platform/database/FbScript.h"
#include "tests/eventdb/EventDbFixture.h"

#include <QFile>
#include <stdexcept>

namespace {

const std::vector<std::pair<int, int>> kCourseA = {{0, 0}, {31, 600}, {132, 1200}, {33, 1800}, {100, 2400}, {250, 2700}};

void Open(TFbConnection& Con, const TDeskLogin& Login)
{
    Con.DatabaseName = Login.Database;
    Con.UserName = Login.User;
    Con.Password = Login.Password;
    Con.Open();
}

void Run(const TDeskLogin& Login, const QStringList& Statements)
{
    TFbConnection con;
    Open(con, Login);
    for (const QString& sql : Statements) {
        TFbTransaction t;
        t.SetConnection(&con);
        TFbQuery q;
        q.SetConnection(&con);
        q.SetTransaction(&t);
        q.SQL().Add(sql);
        t.StartTransaction();
        q.ExecSQL();
        t.Commit();
    }
    con.Close();
}

}  // namespace

QString CourseAChip(int Card, int Index)
{
    const QString at = QStringLiteral("01.06.2024 18.%1.%2.000")
                           .arg(Index / 60 % 60, 2, 10, QLatin1Char('0'))
                           .arg(Index % 60, 2, 10, QLatin1Char('0'));
    return EventDb::Emit(QString::number(Card), kCourseA, at);
}

void LoadFixtureEvent(const TDeskLogin& Login)
{
    QFile fx(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
    if (!fx.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read tests/eventdb/fixture.sql");
    TFbConnection con;
    Open(con, Login);
    TFbTransaction t;
    t.SetConnection(&con);
    TFbScript s;
    s.Connection = &con;
    s.Transaction = &t;
    t.StartTransaction();
    s.ExecuteScript(QString::fromUtf8(fx.readAll()));
    if (t.Active())
        t.Commit();
    con.Close();
}

void LinkDesk(const TDeskLogin& Login, qint64 ClientId, const QString& Secret)
{
    LoadFixtureEvent(Login);  // first: linking deactivates the fixture's own computer
    Run(Login, {QStringLiteral("execute procedure E_CLIENT.INSERT_CLIENT(%1, 'Maalikone', 'Testi', 'K', null, '26.1', '%2')")
                    .arg(ClientId)
                    .arg(Secret),
                QStringLiteral("update VRK_CLIENT set FIRST_SYNC_DONE = 'Y', DO_SYNC = 'K' where CLIENT_ID = %1").arg(ClientId)});
    Run(Login, {QStringLiteral("update VRK_EVENT set EVENT_DATE = CURRENT_DATE where EVENT_ID = 100"),
                QStringLiteral("update or insert into VRK_CLIENT_EVENT_SERIES (CLIENT_ID, EVENT_SERIES_ID) values (%1, 1)").arg(ClientId),
                QStringLiteral("update VRK_CLIENT set LAST_EVENT_ID = 100 where CLIENT_ID = %1").arg(ClientId)});
}

void RegisterRunners(const TDeskLogin& Login, int FirstCard, int Count)
{
    QStringList sql;
    for (int i = 0; i < Count; ++i)
        sql << QStringLiteral("insert into VRK_PERSON (PERSON_ID, EVENT_SERIES_ID, PERSON_NAME, CONTROL_CARD) "
                              "values (%1, 1, 'Juoksija %2', '%2')")
                   .arg(5000000 + FirstCard + i)
                   .arg(FirstCard + i);
    Run(Login, sql);
}

void CheckInRunners(const TDeskLogin& Login, int FirstCard, int Count, qint64 EventId, qint64 ClassCourseId)
{
    QStringList sql;
    for (int i = 0; i < Count; ++i)
        sql << QStringLiteral("insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, LEG_NUMBER, CONTROL_CARD, PERSON_ID, "
                              "ENTRY_FEE, INSERTED, UPDATED, CLASS_COURSE_ID, ORIGIN_CLIENT_ID, ORIGIN_CLIENT_NAME, RENTED_CHIP, "
                              "RESULT_STATUS, FIRST_RESULT_STATUS, PERSON_NAME, REGISTERED_TIME) "
                              "select first 1 VRK_NEW_ID(), %2, 1, P.CONTROL_CARD, P.PERSON_ID, 12, CURRENT_TIMESTAMP, "
                              "CURRENT_TIMESTAMP, %3, C.CLIENT_ID, C.CLIENT_NAME, 'E', 'M', 'M', P.PERSON_NAME, CURRENT_TIMESTAMP "
                              "from VRK_PERSON P, VRK_CLIENT C where P.CONTROL_CARD = '%1' and C.IN_USE = 'K'")
                   .arg(FirstCard + i)
                   .arg(EventId)
                   .arg(ClassCourseId);
    Run(Login, sql);
}

void AcceptRuns(const TDeskLogin& Login, const QList<qint64>& Ids)
{
    QStringList sql;
    for (qint64 id : Ids)
        sql << QStringLiteral("update VRK_RESULTS_CLASS set UPDATED = CURRENT_TIMESTAMP where RESULTS_CLASS_ID = %1").arg(id);
    Run(Login, sql);
}

QVariant ValueOf(const TDeskLogin& Login, const QString& Sql)
{
    TFbConnection con;
    Open(con, Login);
    TFbTransaction t;
    t.SetConnection(&con);
    TFbQuery q;
    q.SetConnection(&con);
    q.SetTransaction(&t);
    q.SQL().Add(Sql);
    t.StartTransaction();
    q.Open();
    const QVariant v = q.Eof() ? QVariant() : q.Fields()[0]->AsVariant();
    q.Close();
    t.Commit();
    con.Close();
    return v;
}

TReadBatch StoreReads(const TDeskLogin& Login, int FirstCard, int Count, std::latch* Go)
{
    TReadBatch batch;
    bool waited = false;
    try {
        TFbConnection con;
        Open(con, Login);
        if (Go)
            Go->arrive_and_wait();
        waited = true;
        for (int i = 0; i < Count; ++i) {
            TFbTransaction t;
            t.SetConnection(&con);
            TFbQuery q;
            q.SetConnection(&con);
            q.SetTransaction(&t);
            q.SQL().Add(QStringLiteral("select OUT_RESULTS_CLASS_ID, OUT_MESSAGE from E_RESULTS_CLASS.RESULTS_CLASS_INSERT("
                                       "100, :CHIP, 'E', null, 'FI', null)"));
            t.StartTransaction();
            q.ParamByName(QStringLiteral("CHIP")).SetAsString(CourseAChip(FirstCard + i, i));
            q.Open();
            const QString message = q.FieldByName(QStringLiteral("OUT_MESSAGE"))->AsString();
            batch.Ids << q.FieldByName(QStringLiteral("OUT_RESULTS_CLASS_ID"))->AsLargeInt();
            q.Close();
            t.Commit();
            if (!message.isEmpty() && batch.Error.isEmpty())
                batch.Error = message;
        }
        con.Close();
    } catch (const std::exception& e) {
        batch.Error = QString::fromUtf8(e.what());
        if (Go && !waited)
            Go->count_down();
    }
    return batch;
}
