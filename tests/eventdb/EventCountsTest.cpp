// The event line's figures kept by the database as runs change: they are
// the figures of the full count over the event's runs, whatever happened to
// the runs (stored, checked, deleted, moved to another event), with changes
// of other transactions committed while the kept rows were folded, and in an
// event file that had runs before the counts were kept.

#include "platform/database/FbQuery.h"
#include "tests/eventdb/EventDbFixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr int kEvents[] = {100, 101};

class EventCountsTest : public ::testing::Test {
protected:
    EventCountsTest()
    {
        db.Exec(QStringLiteral("insert into VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, EVENT_DATE) "
                               "values (101, 10, 'Iltarastit 2', '2024-06-08 00:00:00')"));
    }

    // The figures of one event, both ways, as "results/forest/mp/dnf/no time/classes".
    static std::string Figures(const TRow& r)
    {
        QStringList l;
        for (const char* name : {"OUT_RESULTS", "OUT_IN_FOREST", "OUT_MP", "OUT_DNF", "OUT_NO_TIME", "OUT_CLASSES"})
            l << QString::number(r.value(QLatin1String(name)).toInt());
        return l.join(QLatin1Char('/')).toStdString();
    }
    std::string Counted(int Event)
    {
        return Figures(db.Row(QStringLiteral("EXECUTE PROCEDURE E_EVENT.GET_EVENT_STATS(:IN_EVENT_ID, 'FI')"),
                              {{"IN_EVENT_ID", Event}}));
    }
    std::string Kept(int Event)
    {
        return Figures(db.Row(QStringLiteral("EXECUTE PROCEDURE VRK_EVENT_STATS(:IN_EVENT_ID)"), {{"IN_EVENT_ID", Event}}));
    }
    void ExpectKeptAsCounted(const char* When)
    {
        for (int e : kEvents)
            EXPECT_EQ(Kept(e), Counted(e)) << When << ", event " << e;
    }

    // A varied day of Steps changes, the same every time: runs stored with
    // every result status and course status, checked again, deleted and
    // moved between the events.
    void VariedChanges(int Steps, int FirstRun)
    {
        static const char* const resultStatuses[] = {"I", "M", "V", "L", "T", "E", "O", "-1", "-2"};
        static const char* const statuses[] = {nullptr, "0", "2", "3", "5"};
        uint32_t seed = 12345u + uint32_t(FirstRun);
        auto next = [&](uint32_t n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
        int runs = 0;
        for (int i = 0; i < Steps; ++i) {
            const int run = FirstRun + int(next(uint32_t(runs + 1)));
            const char* const st = statuses[next(5)];
            const QVariant status = st ? QVariant(QString::fromLatin1(st)) : QVariant();
            const QString resultStatus = QString::fromLatin1(resultStatuses[next(9)]);
            switch (runs == 0 ? 0 : next(5)) {
            case 0:
                db.Exec(QStringLiteral("insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS, STATUS) "
                                       "values (:ID, :EVENT_ID, :ID, :RS, :ST)"),
                        {{"ID", FirstRun + runs++}, {"EVENT_ID", kEvents[next(2)]}, {"RS", resultStatus}, {"ST", status}});
                break;
            case 1:
                db.Exec(QStringLiteral("update VRK_RESULTS_CLASS set STATUS = :ST where RESULTS_CLASS_ID = :ID"),
                        {{"ID", run}, {"ST", status}});
                break;
            case 2:
                db.Exec(QStringLiteral("update VRK_RESULTS_CLASS set RESULT_STATUS = :RS where RESULTS_CLASS_ID = :ID"),
                        {{"ID", run}, {"RS", resultStatus}});
                break;
            case 3:
                db.Exec(QStringLiteral("update VRK_RESULTS_CLASS set EVENT_ID = :EVENT_ID, PERSON_NAME = 'Siirretty' "
                                       "where RESULTS_CLASS_ID = :ID"),
                        {{"ID", run}, {"EVENT_ID", kEvents[next(2)]}});
                break;
            default:
                db.Exec(QStringLiteral("delete from VRK_RESULTS_CLASS where RESULTS_CLASS_ID = :ID"), {{"ID", run}});
                break;
            }
        }
    }

    EventDb db;
};

TEST_F(EventCountsTest, KeptFiguresAreTheFullCountsThroughAVariedDay)
{
    ExpectKeptAsCounted("at the start");
    // a card read stored and checked the program's way
    db.Value(QStringLiteral("SELECT OUT_RESULTS_CLASS_ID FROM E_RESULTS_CLASS.RESULTS_CLASS_INSERT(:IN_EVENT_ID, "
                            ":IN_CHIP_STRING, :IN_TO_FOREST) "),
             {{"IN_EVENT_ID", 100},
              {"IN_CHIP_STRING", EventDb::Emit(QStringLiteral("12345"), {{0, 0}, {31, 600}, {100, 900}})},
              {"IN_TO_FOREST", "E"}});
    ExpectKeptAsCounted("after a card read");
    for (int round = 0; round < 6; ++round) {
        VariedChanges(60, 900000 + round * 1000);
        ExpectKeptAsCounted("after a round of changes");
    }
    // the kept rows were folded on the way (more changes than the fold's step)
    EXPECT_LT(db.Value(QStringLiteral("select count(*) from VRK_EVENT_RUN_COUNTS")).toInt(), 300);
}

TEST_F(EventCountsTest, ChangesCommittedWhileTheRowsAreFoldedAreCountedOnce)
{
    TFbTransaction open;
    open.SetConnection(&db.Connection());
    open.StartTransaction();
    TFbQuery q;
    q.SetConnection(&db.Connection());
    q.SetTransaction(&open);
    q.SQL().Add(QStringLiteral("insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS, STATUS) "
                               "values (899999, 100, '899999', 'V', '3')"));
    q.ExecSQL();
    VariedChanges(250, 910000);  // folds the committed rows more than once
    ExpectKeptAsCounted("with a change not yet committed");
    open.Commit();
    ExpectKeptAsCounted("once it is committed");
}

TEST_F(EventCountsTest, AnEventFileFromBeforeTheCountsIsCountedOnceByItsUpgrade)
{
    // runs written before the counts were kept
    db.Script(QStringLiteral("ALTER TRIGGER VRK_RESULTS_CLASS_COUNTS INACTIVE;\nCOMMIT;\n"));
    db.Exec(QStringLiteral("delete from VRK_EVENT_RUN_COUNTS"));
    VariedChanges(80, 920000);
    QFile f(QStringLiteral(SORVEX_SOURCE_DIR "/eventdb/163_run_changes_and_counts.sql"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString upgrade = QString::fromUtf8(f.readAll());
    db.Script(upgrade);
    ExpectKeptAsCounted("after the upgrade");
    // kept from there on, and a second run of the upgrade counts nothing twice
    VariedChanges(40, 930000);
    db.Script(upgrade);
    ExpectKeptAsCounted("after changes and the upgrade once more");
}

}  // namespace
