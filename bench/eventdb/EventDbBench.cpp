// A card read in a large event: 60 courses over 200 controls, 5,000 runs
// already read. One iteration stores and validates a new read (the
// database matches it against every course), the finish dialog accepts it,
// and the result board fetches its standings. Each step commits like the
// program does; the "Async" variants run on a copy whose forced writes are
// off (gfix), which shows the procedures' own cost apart from the disk's
// synchronous page writes at commit.

#include "platform/database/FbQuery.h"
#include "platform/database/FbScript.h"
#include "tests/support/TestDatabase.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <memory>
#include <vector>

namespace {

struct BigEvent {
    TestDatabase db;
    TFbConnection con;
    TFbTransaction tr;
    std::vector<QStringList> courses;  // control codes per course
    int reads = 0;

    explicit BigEvent(bool AsyncWrites)
    {
        if (AsyncWrites)
            QProcess::execute(QStringLiteral("gfix"), {QStringLiteral("-write"), QStringLiteral("async"), db.Path(),
                                                       QStringLiteral("-user"), QStringLiteral("SYSDBA")});
        con.DatabaseName = db.Path();
        con.Open();
        tr.SetConnection(&con);
        QFile f(QStringLiteral(SORVEX_SOURCE_DIR "/bench/eventdb/big_event.sql"));
        f.open(QIODevice::ReadOnly);
        TFbScript s;
        s.Connection = &con;
        s.Transaction = &tr;
        s.ExecuteScript(QString::fromUtf8(f.readAll()));
        if (tr.Active())
            tr.Commit();
        TFbQuery q;
        q.SetConnection(&con);
        q.SetTransaction(&tr);
        q.SQL().Add(QStringLiteral("select controls_string from vrk_course where event_id = 200 order by course_id"));
        q.Open();
        for (q.First(); !q.Eof(); q.Next())
            courses.push_back(q.FieldByName(QStringLiteral("CONTROLS_STRING"))->AsString().split(QLatin1Char(',')));
        q.Close();
        tr.Commit();
    }

    // The emit string of the n-th runner: its course, a clean run at about
    // 4 min a control, read 5 minutes after the finish.
    QString Emit(int n) const
    {
        const QStringList& codes = courses[size_t(n % int(courses.size()))];
        const int card = 100001 + n;
        QString s = QStringLiteral("\"X\",\"0\",\"0\",\"%1\",\"01.06.2024 20.00.00.000\",\"01.06.2024 20.00.00.000\",%2,0012,0019")
                        .arg(card, 6, 10, QLatin1Char('0'))
                        .arg(card);
        int used = 0, t = 0;
        auto add = [&](int code, int time) {
            s += QStringLiteral(",%1,%2").arg(code, 3, 10, QLatin1Char('0')).arg(time, 5, 10, QLatin1Char('0'));
            ++used;
        };
        add(0, 0);
        for (const QString& c : codes) {
            if (used >= 46)
                break;
            t += 200 + (n * 7 + used * 13) % 120;
            add(c.toInt(), t);
        }
        t += 60 + n % 30;
        add(100, t);
        add(250, t + 300);
        while (used < 50)
            add(0, 0);
        return s;
    }

    // Store and validate a read, then accept it as the dialog does.
    int64_t Read(int n)
    {
        TFbQuery q;
        q.SetConnection(&con);
        q.SetTransaction(&tr);
        q.SQL().Add(QStringLiteral("SELECT OUT_RESULTS_CLASS_ID, OUT_WAS_IN_FOREST, OUT_MESSAGE, OUT_FLAG FROM "
                                   "E_RESULTS_CLASS.RESULTS_CLASS_INSERT(:IN_EVENT_ID, :IN_CHIP_STRING, :IN_TO_FOREST, "
                                   ":IN_START_TIME, :IN_LANGUAGE_CODE, :IN_CONTROL_CARD) "));
        q.ParamByName(QStringLiteral("IN_EVENT_ID")).SetAsLargeInt(200);
        q.ParamByName(QStringLiteral("IN_CHIP_STRING")).SetAsString(Emit(n));
        q.ParamByName(QStringLiteral("IN_TO_FOREST")).SetAsString(QStringLiteral("E"));
        q.ParamByName(QStringLiteral("IN_START_TIME")).SetAsString(QString());
        q.ParamByName(QStringLiteral("IN_LANGUAGE_CODE")).SetAsString(QStringLiteral("FI"));
        q.ParamByName(QStringLiteral("IN_CONTROL_CARD")).SetAsString(QString());
        q.Open();
        const int64_t id = q.FieldByName(QStringLiteral("OUT_RESULTS_CLASS_ID"))->AsLargeInt();
        q.Close();
        tr.Commit();
        TFbQuery u;
        u.SetConnection(&con);
        u.SetTransaction(&tr);
        u.SQL().Add(QStringLiteral("update vrk_results_class set result_status = 'V', updated = current_timestamp "
                                   "where results_class_id = :id"));
        u.ParamByName(QStringLiteral("ID")).SetAsLargeInt(id);
        u.ExecSQL();
        tr.Commit();
        return id;
    }

    QString Board(int64_t id)
    {
        TFbQuery q;
        q.SetConnection(&con);
        q.SetTransaction(&tr);
        q.SQL().Add(QStringLiteral("select OUT_SIJA, OUT_SARJA, OUT_PERSON_NAME, OUT_TIME_STR, OUT_P1_NIMI, OUT_P13_NIMI "
                                   "from E_RESULTS_CLASS.HAE_RESULT_BOARD_DATA(:IN_RESULTS_CLASS_ID) "));
        q.ParamByName(QStringLiteral("IN_RESULTS_CLASS_ID")).SetAsLargeInt(id);
        q.Open();
        const QString place = q.FieldByName(QStringLiteral("OUT_SIJA"))->AsString();
        q.Close();
        tr.Commit();
        return place;
    }
};

std::unique_ptr<BigEvent> Prepared(bool AsyncWrites)
{
    auto ev = std::make_unique<BigEvent>(AsyncWrites);
    for (int n = 0; n < 5000; ++n)
        ev->Read(n);
    ev->reads = 5000;
    return ev;
}

BigEvent& Event(bool AsyncWrites)
{
    static std::unique_ptr<BigEvent> forced, async;
    std::unique_ptr<BigEvent>& e = AsyncWrites ? async : forced;
    if (!e)
        e = Prepared(AsyncWrites);
    return *e;
}

void BM_StoreValidateAndBoard(benchmark::State& state)
{
    BigEvent& e = Event(state.range(0) != 0);
    for (auto _ : state) {
        const int64_t id = e.Read(e.reads++);
        benchmark::DoNotOptimize(e.Board(id));
    }
}
BENCHMARK(BM_StoreValidateAndBoard)->Arg(0)->Arg(1)->ArgName("async")->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_StoreAndValidate(benchmark::State& state)
{
    BigEvent& e = Event(state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(e.Read(e.reads++));
}
BENCHMARK(BM_StoreAndValidate)->Arg(0)->Arg(1)->ArgName("async")->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_BoardStandings(benchmark::State& state)
{
    BigEvent& e = Event(state.range(0) != 0);
    const int64_t id = e.Read(e.reads++);
    for (auto _ : state)
        benchmark::DoNotOptimize(e.Board(id));
}
BENCHMARK(BM_BoardStandings)->Arg(0)->Arg(1)->ArgName("async")->Unit(benchmark::kMillisecond)->Iterations(500);

}  // namespace

BENCHMARK_MAIN();
