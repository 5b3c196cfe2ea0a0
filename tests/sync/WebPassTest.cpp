// The synchronisation pass and the worker around it: batches of at most five
// rows of one table, an answer that lacks its lists fails the pass and keeps
// the rows, a refused batch keeps the service's text, the login's failures,
// the first download of a newly linked computer, the cycles of the real
// background worker and how quickly closing ends them.

#include "tests/sync/WebDesk.h"

#include "platform/os/MessageWindow.h"
#include "tasks/WeftInit.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

void AddPersons(WebDesk& D, int From, int Count)
{
    for (int K = From; K < From + Count; ++K)
        D.Exec(QStringLiteral("insert into vrk_person (person_id, event_series_id, person_name, person_sex, web_show, print_receipt, "
                              "do_sync, inserted, updated) values (%1, 7, 'Henkilö %1', 'M', 'K', 'E', 'K', current_timestamp, "
                              "current_timestamp)")
                   .arg(300000000 + K));
}

// Starts the desk's worker cycling (its pauses set by the caller) and waits
// for its login.
::testing::AssertionResult StartCyclingAndLogIn(WebDesk& A)
{
    A.Worker->ReadTimeoutMs = 1000;
    A.Worker->FormCreate();
    A.Worker->StartOnline();
    if (RunMessageLoopUntil([&] { return !A.Session.AccessToken().isEmpty(); }, 20000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no login";
}

}  // namespace

TEST(WebPass, QueueTravelsInBatchesOfFiveRowsOfOneTable)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    A.RunPass();  // logs in
    AddPersons(A, 1, 7);
    A.RunPass();
    QMap<QString, int> PerBatch;
    for (const QJsonObject& R : W.Service.State().UploadedRecords())
        ++PerBatch[R.value(QStringLiteral("message_id")).toString()];
    EXPECT_EQ(PerBatch.values(), (QList<int>{5, 2}));
    EXPECT_EQ(A.QueueLength(), 0);
    EXPECT_EQ(A.Host.Unsent, 0);
}

TEST(WebPass, ReplyWithoutItsListsFailsThePassAndKeepsTheRows)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    A.RunPass();  // logs in
    AddPersons(A, 1, 2);
    W.Service.FailNextCalls(1, 200, QByteArray(R"({"result": "{\"processed\": []}"})"));
    EXPECT_EQ(A.RunPass(), 1);
    EXPECT_TRUE(A.Session.AccessToken().isEmpty());
    // The rows' marks were rolled back: they may go again at once.
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_data_replication where processed is null")), 2);
    EXPECT_TRUE(A.Host.Log.join(QLatin1Char('\n')).contains(QStringLiteral("errors")));
}

TEST(WebPass, RefusedBatchKeepsTheServiceText)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    A.RunPass();
    AddPersons(A, 1, 2);
    W.Service.FailNextCalls(1, 500, QByteArray(R"({"result": "Palvelu on huollossa."})"));
    EXPECT_EQ(A.RunPass(), 0);
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_data_replication where error_message = 'Palvelu on huollossa.'")), 2);
    A.ReleaseHoldBack();
    A.RunPass();
    EXPECT_EQ(A.QueueLength(), 0);
}

TEST(WebPass, LoginFailures)
{
    struct {
        int Status;
        const char* Body;
        const char* Logged;
        int SwitchedOff;
    } Cases[] = {
        {404, "", "Ei yhteyttä Web -tulospalveluun.: HTTP 404: Palvelua ei löydy.", 0},
        {401, R"({"message": "Virheellinen asiakastunnus."})", "Ei yhteyttä Web -tulospalveluun.: Virheellinen asiakastunnus.", 1},
        {401, "ei json", "Ei yhteyttä Web -tulospalveluun.: ", 0},
        {200, R"({"token": "x"})", "Ei yhteyttä Web -tulospalveluun.: Unknown field: access_token", 0},
        {503, R"({"message": "Huolto."})", "Ei yhteyttä Web -tulospalveluun.: Huolto.", 0},
    };
    for (const auto& C : Cases) {
        WebAccount W;
        WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
        W.Service.FailNextCalls(1, C.Status, QByteArray(C.Body));
        QString Reply;
        EXPECT_EQ(A.Worker->json_rest_in(QString(), Reply), 1);
        EXPECT_TRUE(A.Session.AccessToken().isEmpty());
        EXPECT_FALSE(A.Host.Connected) << C.Status;
        ASSERT_FALSE(A.Host.Log.isEmpty());
        EXPECT_TRUE(A.Host.Log.last().startsWith(QString::fromUtf8(C.Logged))) << A.Host.Log.last().toStdString();
        EXPECT_EQ(A.Worker->DoNotConnect.load(), C.SwitchedOff) << C.Status << C.Body;
    }
}

TEST(WebPass, FirstDownloadOfANewComputerRunsUntilTheServiceIsEmpty)
{
    WebAccount W;
    W.Service.State().AddTempCode(W.Account, QStringLiteral("TMP-1"), QStringLiteral("Uusi kone"));
    W.Service.State().PutRow(W.Account, QStringLiteral("vrk_club"),
                             QJsonObject{{"club_id", "100000017"}, {"event_series_id", "7"}, {"club_name", "OK Testi"},
                                         {"inserted", "2026-06-01T18:00:00"}, {"updated", "2026-06-01T18:00:00"}});
    WebDesk A(W.Service, {0, QString()});
    TFbQuery Proc;
    Proc.SetConnection(&A.Main);
    TWebMainCalls Main(A.Session, A.Host, A.Host, Proc, A.MainTr);

    QString Reply;
    EXPECT_EQ(Main.hae_tmp_client_rest(QStringLiteral("väärä"), Reply), 9);
    EXPECT_TRUE(Reply.contains(QStringLiteral("message")));
    ASSERT_EQ(Main.hae_tmp_client_rest(QStringLiteral("TMP-1"), Reply), 0);
    const QJsonObject Row = QJsonDocument::fromJson(Reply.toUtf8()).object();
    A.Session.SetClient(Row.value("client_id").toString().toLongLong(), Row.value("client_secret").toString());
    A.Client = {A.Session.ClientId(), A.Session.ClientSecret()};
    A.Session.SetFirstSyncDone(QStringLiteral("N"));

    A.RunPass();  // logs in
    A.RunPass();
    EXPECT_EQ(A.Host.FirstSyncMarks, 1);
    EXPECT_EQ(A.Session.FirstSyncDone(), QStringLiteral("Y"));
    EXPECT_EQ(A.Host.Dialogs.count(
                  QStringLiteral("Ensimmäisen käyttökerran synkronointi Web -tulospalvelusta on valmis. Virkistä Navigaatiopuu!")),
              1);
    EXPECT_EQ(W.Service.State().PendingCount(A.Client.ClientId), 0);
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_club where club_id = 100000017")), 1);
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_event where event_id = 3001")), 1);

    // The calendar then lists the linked series with its season and event.
    A.Exec(QStringLiteral("delete from vrk_event"));
    Main.hae_tapahtumat();
    EXPECT_TRUE(Main.bWebTapahtumatHaettu);
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_event where event_id = 3001")), 1);
    EXPECT_TRUE(A.Host.Actions.contains(QStringLiteral("Kalenterit ja tapahtumat ladattu.")));
}

TEST(WebPass, EventDataIsAllOrNothing)
{
    WebAccount W;
    const QString T = QStringLiteral("2026-06-01T18:00:00");
    auto& S = W.Service.State();
    S.PutRow(W.Account, QStringLiteral("vrk_class"),
             QJsonObject{{"class_id", "4001"}, {"event_id", "3001"}, {"class_name", "H21"}, {"fee", "1500"}, {"active_class", "K"},
                         {"inserted", T}, {"updated", T}});
    S.PutRow(W.Account, QStringLiteral("vrk_course"),
             QJsonObject{{"course_id", "5001"}, {"event_id", "3001"}, {"course_name", "A"}, {"inserted", T}, {"updated", T}});
    S.PutRow(W.Account, QStringLiteral("vrk_controls"),
             QJsonObject{{"control_id", "7031"}, {"event_id", "3001"}, {"control_code", "31"}, {"online_control", "E"},
                         {"mandatory_control", "K"}, {"inserted", T}, {"updated", T}});
    S.PutRow(W.Account, QStringLiteral("vrk_course_controls"),
             QJsonObject{{"course_control_id", "8001"}, {"course_id", "5001"}, {"control_id", "7031"}, {"control_code", "31"},
                         {"control_sequence", "1"}, {"online_control", "E"}, {"inserted", T}, {"updated", T}});
    S.PutRow(W.Account, QStringLiteral("vrk_class_course"),
             QJsonObject{{"class_course_id", "6001"}, {"class_id", "4001"}, {"course_id", "5001"}, {"inserted", T}, {"updated", T}});
    WebDesk A(W.Service, S.AddClient(W.Account, QStringLiteral("A")));
    TFbQuery Proc;
    Proc.SetConnection(&A.Main);
    TWebMainCalls Main(A.Session, A.Host, A.Host, Proc, A.MainTr);

    Main.hae_tapahtuma_tiedot(3001);
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_class where class_id = 4001 and deleted = 'E'")), 1)
        << A.Host.Dialogs.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_course_controls where course_control_id = 8001")), 1);
    EXPECT_DOUBLE_EQ(A.Value(QStringLiteral("select fee from vrk_class where class_id = 4001")).toDouble(), 15.0);
    EXPECT_TRUE(A.Host.Actions.contains(QStringLiteral("Tapahtuman ratatiedot ladattu.")));

    // A reply whose second class fails: nothing of it is kept, and the class
    // already here is not left marked deleted.
    W.Service.FailNextCalls(
        1, 200,
        QStringLiteral(R"({"classes": [{"class_id": "4009", "class_name": "Uusi", "active_class": "K", "inserted": "%1", "updated": "%1",
                          "class_courses": []}, {"class_name": "Ilman tunnusta", "active_class": "K", "inserted": "%1", "updated": "%1",
                          "class_courses": []}]})")
            .arg(T)
            .toUtf8());
    Main.hae_tapahtuma_tiedot(3001);
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_class where class_id = 4009")), 0);
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_class where class_id = 4001 and deleted = 'E'")), 1);
    EXPECT_TRUE(A.Host.Dialogs.last().startsWith(QStringLiteral("Tapahtuman ratatietojen haku epäonnistui.")));
    EXPECT_TRUE(A.Host.Dialogs.join(QLatin1Char('\n')).contains(QStringLiteral("(classes):Unknown field: class_id")));
}

TEST(WebPass, WorkerCyclesAndClosesWithinOneTimeOut)
{
    QString Error;
    ASSERT_TRUE(weft::initialize(&Error)) << Error.toStdString();
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    A.Worker->CyclePauseMs = 50;
    // Rows queued after the login go at once (a login holds back the rows it delays).
    ASSERT_TRUE(StartCyclingAndLogIn(A));
    AddPersons(A, 1, 3);
    ASSERT_TRUE(RunMessageLoopUntil([&] { return A.QueueLength() == 0 && A.Host.CountRefreshes > 3; }, 20000))
        << A.QueueLength() << " " << A.Host.CountRefreshes << " " << A.Host.Log.join(QLatin1Char('\n')).toStdString()
;
    EXPECT_TRUE(A.Host.Log.contains(QStringLiteral("Yhteys tietokantaan muodostettu (sync).")));

    // A cycle stuck in a slow call: closing waits for that call only.
    W.Service.DelayNextReplies(5000, 20);
    RunMessageLoopUntil([] { return false; }, 200);
    QElapsedTimer Clock;
    Clock.start();
    A.Worker->StopOnline();
    EXPECT_LT(Clock.elapsed(), 2500);
}

TEST(WebPass, WorkerSwitchesItselfOffWhenItsDatabaseCannotBeOpened)
{
    QString Error;
    ASSERT_TRUE(weft::initialize(&Error)) << Error.toStdString();
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    A.Session.SetDb({A.Db.Folder() + QStringLiteral("/puuttuu.fdb"), QString(), QString()});
    A.Worker->FormCreate();
    A.Worker->StartOnline();
    ASSERT_TRUE(RunMessageLoopUntil([&] { return A.Worker->DoNotConnect.load() == 1 && A.Host.CountRefreshes >= 1; }, 10000));
    RunMessageLoopUntil([] { return false; }, 200);
    EXPECT_FALSE(A.Host.Connected);
    EXPECT_EQ(A.Host.Log.count(QStringLiteral("Yhteyden muodostus tietokantaan epäonnistui (sync).")), 1);
    EXPECT_EQ(A.Host.CountRefreshes, 1);
    A.Worker->StopOnline();
}

TEST(WebPass, MainWindowLoginAndRegistrationFailures)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    TFbQuery Proc;
    Proc.SetConnection(&A.Main);
    TWebMainCalls Main(A.Session, A.Host, A.Host, Proc, A.MainTr);
    A.Session.SetAccessToken(QStringLiteral("vanha"));

    // A refused login answers at once: the window is not held for the
    // worker's ten-second pause.
    W.Service.FailNextCalls(1, 404, QByteArray("{}"));
    QElapsedTimer Clock;
    Clock.start();
    Main.ConnectOnline();
    EXPECT_LT(Clock.elapsed(), 5000);
    EXPECT_EQ(A.Host.Log.last(), QStringLiteral("Ei yhteyttä Web -tulospalveluun.: HTTP 404: Palvelua ei löydy."));
    EXPECT_FALSE(A.Host.Connected);
    EXPECT_EQ(A.Session.AccessToken(), QStringLiteral("vanha"));

    W.Service.FailNextCalls(1, 401, QByteArray(R"({"message": "Kielletty."})"));
    Main.ConnectOnline();
    EXPECT_EQ(A.Host.Log.last(), QStringLiteral("Ei yhteyttä Web -tulospalveluun.: {\"message\": \"Kielletty.\"}"));

    Main.ConnectOnline();
    EXPECT_TRUE(A.Host.Connected);
    EXPECT_NE(A.Session.AccessToken(), QStringLiteral("vanha"));

    QString Reply = QStringLiteral("ennallaan");
    W.Service.FailNextCalls(1, 500);
    EXPECT_EQ(Main.hae_tmp_client_rest(QStringLiteral("TMP-9"), Reply), 9);
    EXPECT_TRUE(Reply.isEmpty());
    EXPECT_EQ(A.Host.Dialogs.last(), QStringLiteral("Ei yhteyttä Web -tulospalveluun."));

    // A calendar request that fails leaves the download to be tried again.
    W.Service.FailNextCalls(1, 503);
    Main.hae_tapahtumat();
    EXPECT_FALSE(Main.bWebTapahtumatHaettu);
    EXPECT_TRUE(A.Host.Dialogs.last().startsWith(QStringLiteral("Tapahtumien haku epäonnistui.")));
    const QString Log = A.Host.Log.join(QLatin1Char('\n'));
    EXPECT_FALSE(Log.contains(A.Client.Secret));
    EXPECT_FALSE(Log.contains(A.Session.AccessToken()));
}

TEST(WebPass, AFailingServiceIsAskedLessAndLessOftenAndAtOnceAgainAfterASuccess)
{
    QString Error;
    ASSERT_TRUE(weft::initialize(&Error)) << Error.toStdString();
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    A.Worker->CyclePauseMs = 20;
    A.Worker->LoginPauseMs = 20;
    A.Worker->MaxFailurePauseMs = 640;
    ASSERT_TRUE(StartCyclingAndLogIn(A));
    AddPersons(A, 1, 1);
    ASSERT_TRUE(RunMessageLoopUntil([&] { return A.QueueLength() == 0; }, 20000));

    // Every call fails for two seconds: without a back-off the 20 ms cycle
    // would ask about a hundred times.
    const auto CallsNow = [&] { return static_cast<int>(A.Host.Log.count(QStringLiteral("json_rest_in Execute exception"))); };
    W.Service.DropNextConnections(1000000);
    const int Before = CallsNow();
    RunMessageLoopUntil([] { return false; }, 2000);
    const int During = CallsNow() - Before;
    EXPECT_LE(During, 15) << "failed fetches while failing";
    EXPECT_GE(During, 3);

    // Back again: the queue empties within the longest pause and the
    // pause is short again.
    W.Service.DropNextConnections(0);
    AddPersons(A, 2, 1);
    ASSERT_TRUE(RunMessageLoopUntil([&] { return A.QueueLength() == 0; }, 5000));
    EXPECT_TRUE(RunMessageLoopUntil([&] { return A.Worker->FailedPasses() == 0; }, 3000));
    EXPECT_EQ(A.Worker->PauseAfterFailures(A.Worker->FailedPasses()), 0);
    A.Worker->StopOnline();
}
