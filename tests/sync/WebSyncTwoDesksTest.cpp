// Two desks, each with its own event database, linked to one stand-in
// service: check-ins and finish reads made at one desk reach the service and
// the other desk after a pass, edits come back; a soak run against the
// service's failure knobs shows that every change arrives exactly once and
// none is lost; the access token and the client secret never reach the log.

#include "tests/sync/WebDesk.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>

namespace {

void CheckIn(WebDesk& D, int64_t Id, const QString& Card, const QString& Name)
{
    D.Exec(QStringLiteral("insert into vrk_results_class (results_class_id, event_id, person_id, control_card, person_name, "
                          "result_status, origin_client_id, origin_client_name, start_time) values (%1, 3001, -999, '%2', '%3', 'M', "
                          "%4, 'Desk', '2026-06-02 17:05:00')")
               .arg(Id)
               .arg(Card, Name)
               .arg(D.Client.ClientId));
}

void FinishRead(WebDesk& D, int64_t Id, int Seconds)
{
    D.Exec(QStringLiteral("update vrk_results_class set result_status = 'V', time_sec = %2, finish_time = '2026-06-02 18:00:00' "
                          "where results_class_id = %1")
               .arg(Id)
               .arg(Seconds));
}

// Passes at every desk until nothing waits anywhere; false when it does not settle.
bool SyncUntilQuiet(WebAccount& W, std::initializer_list<WebDesk*> Desks, int MaxRounds = 60)
{
    for (int Round = 0; Round < MaxRounds; ++Round) {
        bool Quiet = true;
        for (WebDesk* D : Desks)
            Quiet = Quiet && D->QueueLength() == 0 && W.Service.State().PendingCount(D->Client.ClientId) == 0;
        if (Quiet)
            return true;
        for (WebDesk* D : Desks) {
            D->ReleaseHoldBack();
            D->RunPass();
        }
    }
    return false;
}

QString RunText(WebDesk& D, int64_t Id)
{
    return D.Value(QStringLiteral("select result_status || '/' || coalesce(cast(time_sec as integer), -1) || '/' || person_name "
                                  "from vrk_results_class where results_class_id = %1")
                       .arg(Id))
        .toString();
}

}  // namespace

TEST(WebSyncTwoDesks, CheckInsAndFinishReadsTravelBothWays)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("Lähtö")));
    WebDesk B(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("Maali")));

    CheckIn(A, 1000000001, QStringLiteral("123456"), QStringLiteral("Virtanen \"Ville\" C:\\new"));
    CheckIn(A, 1000000002, QStringLiteral("123457"), QStringLiteral("Ääkkönen Åsa"));
    FinishRead(A, 1000000001, 3601);
    ASSERT_TRUE(SyncUntilQuiet(W, {&A, &B}));

    EXPECT_EQ(RunText(B, 1000000001), QStringLiteral("V/3601/Virtanen \"Ville\" C:\\new"));
    EXPECT_EQ(RunText(B, 1000000002), QStringLiteral("M/-1/Ääkkönen Åsa"));
    const QJsonObject OnService = W.Service.State().Row(W.Account, QStringLiteral("vrk_results_class"), QStringLiteral("1000000001"));
    EXPECT_EQ(OnService.value(QStringLiteral("result_status")).toString(), QStringLiteral("V"));
    // Downloaded rows are not queued again at B: nothing travels back.
    EXPECT_EQ(B.QueueLength(), 0);

    // An edit at B comes back to A.
    FinishRead(B, 1000000002, 2999);
    ASSERT_TRUE(SyncUntilQuiet(W, {&A, &B}));
    EXPECT_EQ(RunText(A, 1000000002), QStringLiteral("V/2999/Ääkkönen Åsa"));
    EXPECT_GT(B.Host.GridRefreshes, 0);
    EXPECT_GT(A.Host.CountRefreshes, 0);
    EXPECT_EQ(A.Host.Unsent, 0);
}

TEST(WebSyncTwoDesks, SoakAgainstFailureKnobsKeepsEveryChangeExactlyOnce)
{
    // SORVEX_SOAK_CHANGES raises the number of changes (e.g. 2000).
    const int Wanted = qEnvironmentVariableIsSet("SORVEX_SOAK_CHANGES") ? qEnvironmentVariableIntValue("SORVEX_SOAK_CHANGES") : 300;
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("Lähtö")));
    WebDesk B(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("Maali")));
    for (WebDesk* D : {&A, &B})
        D->Worker->ReadTimeoutMs = 400;
    QRandomGenerator Random(2026);

    int Changes = 0;
    QList<std::pair<WebDesk*, int64_t>> Runs;
    QElapsedTimer Clock;
    Clock.start();
    while (Changes < Wanted) {
        for (int K = 0; K < 25 && Changes < Wanted; ++K) {
            WebDesk& D = Random.bounded(2) ? A : B;
            const int64_t Base = &D == &A ? 1000000000 : 2000000000;
            const auto Own = std::count_if(Runs.begin(), Runs.end(), [&](const auto& R) { return R.first == &D; });
            if (Own > 0 && Random.bounded(3) == 0) {
                // A finish read of one of this desk's runs.
                int64_t Id = 0;
                for (const auto& R : Runs)
                    if (R.first == &D && Random.bounded(int(Own)) == 0)
                        Id = R.second;
                if (Id == 0)
                    Id = Base + 1;
                FinishRead(D, Id, 1000 + Changes);
            } else {
                const int64_t Id = Base + 1 + Own;
                CheckIn(D, Id, QString::number(500000 + Changes), QStringLiteral("Juoksija %1").arg(Changes));
                Runs.append({&D, Id});
            }
            ++Changes;
        }
        switch (Random.bounded(6)) {
        case 0: W.Service.FailNextCalls(1 + Random.bounded(2), 500); break;
        case 1: W.Service.DropNextConnections(1); break;
        case 2: W.Service.DelayNextReplies(600, 1); break;
        case 3: W.Service.FailNextCalls(1, 200, QByteArray("{\"result\": \"{\\\"processed\\\": [")); break;
        case 4: W.Service.CutNextReplies(1); break;
        default: break;
        }
        for (WebDesk* D : {&A, &B}) {
            D->ReleaseHoldBack();
            D->RunPass();
        }
    }
    W.Service.FailNextCalls(0);
    ASSERT_TRUE(SyncUntilQuiet(W, {&A, &B}, 200));
    std::printf("[ soak ] %d changes from two desks in %lld ms\n", Changes, static_cast<long long>(Clock.elapsed()));

    // Every change reached the service: each queue row's id arrived (a batch
    // whose reply was lost arrives again, and the service applies it once).
    QSet<QString> Uploaded;
    for (const QJsonObject& R : W.Service.State().UploadedRecords())
        Uploaded.insert(R.value(QStringLiteral("uploader")).toString() + QLatin1Char('|') +
                        R.value(QStringLiteral("client_message_id")).toString());
    EXPECT_EQ(Uploaded.size(), Changes);
    // Every change was delivered to the other desk exactly once, counted on
    // the wire: the rows of the confirmed download messages, per message (a
    // confirmation sent again after a lost reply is the same delivery, and
    // says the same), not as distinct ids, so a change fanned out or
    // delivered twice shows.
    QMap<QString, QJsonArray> Deliveries;
    for (const QJsonObject& C : W.Service.State().Confirmations()) {
        const QString Message = C.value(QStringLiteral("message_id")).toString();
        const QJsonArray Rows = C.value(QStringLiteral("processed")).toArray();
        if (Deliveries.contains(Message))
            EXPECT_EQ(Deliveries.value(Message), Rows) << Message.toStdString();
        Deliveries.insert(Message, Rows);
    }
    int Delivered = 0;
    for (const QJsonArray& Rows : Deliveries)
        Delivered += static_cast<int>(Rows.size());
    EXPECT_EQ(Delivered, Changes);
    // ... and each desk applied each message delivered to it once: its record
    // of applied messages holds every message it confirmed, each once.
    QMap<QString, QSet<QString>> ConfirmedBy;
    for (const auto& E : W.Service.State().RequestLog())
        if (E.Resource == QLatin1String("web/confirmation") && E.Status == 200)
            ConfirmedBy[E.Headers.value(QStringLiteral("id"))].insert(
                QJsonDocument::fromJson(E.Body).object().value(QStringLiteral("message_id")).toString());
    for (WebDesk* D : {&A, &B})
        EXPECT_EQ(D->Count(QStringLiteral("select count(*) from vrk_web_message_in")),
                  ConfirmedBy.value(QString::number(D->Client.ClientId)).size());
    // Both desks hold every run in its last state, once.
    for (const auto& [Origin, Id] : Runs) {
        WebDesk& Other = Origin == &A ? B : A;
        EXPECT_EQ(RunText(Other, Id), RunText(*Origin, Id)) << Id;
    }
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_results_class")), Runs.size());
    EXPECT_EQ(B.Count(QStringLiteral("select count(*) from vrk_results_class")), Runs.size());

    // No access token the desks used, and neither secret, reached the day log.
    QSet<QString> Tokens;
    for (const auto& E : W.Service.State().RequestLog())
        if (!E.Headers.value(QStringLiteral("access_token")).isEmpty())
            Tokens.insert(E.Headers.value(QStringLiteral("access_token")));
    EXPECT_GT(Tokens.size(), 2);  // the failures made the desks log in again
    for (WebDesk* D : {&A, &B}) {
        const QString Log = D->Host.Log.join(QLatin1Char('\n'));
        EXPECT_FALSE(Log.contains(A.Client.Secret));
        EXPECT_FALSE(Log.contains(B.Client.Secret));
        for (const QString& Token : Tokens)
            EXPECT_FALSE(Log.contains(Token));
    }
}
