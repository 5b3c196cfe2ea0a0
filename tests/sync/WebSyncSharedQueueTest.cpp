// Two desks' web workers on one database (through the Firebird server) serve
// one upload queue: a row is claimed, and the claim committed, before it goes
// out, so passes running side by side never send a row twice; a claim left by
// a desk that died, or one older than any HTTP call lasts, is taken over,
// while a live desk's fresh claim is left alone.

#include "tests/support/FirebirdServer.h"
#include "tests/sync/WebDesk.h"

#include <gtest/gtest.h>

#include <QJsonObject>
#include <QMap>
#include <latch>
#include <memory>
#include <thread>

namespace {

constexpr int64_t kFirstRun = 1000000001;

class SharedQueue : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Server = std::make_unique<TFirebirdServer>(); }
    static void TearDownTestSuite() { Server.reset(); }

    void SetUp() override
    {
        Login = {Server->Remote(Server->CopyEventDatabase(QStringLiteral("SHARED%1.FDB").arg(++Copies))), TFirebirdServer::User(),
                 TFirebirdServer::Password()};
        // Both desks are the one client of the event, as desks sharing a database are.
        Client = W.Service.State().AddClient(W.Account, QStringLiteral("Maali"));
        A = std::make_unique<WebDesk>(W.Service, Client, Login);
        B = std::make_unique<WebDesk>(W.Service, Client, Login);
    }

    // A pass over the empty queue: the worker connects and logs in, so that
    // the passes of the test send at their first try.
    static void WarmUp(WebDesk& D) { ASSERT_EQ(D.RunPass(), 0); }

    void CheckIns(int Count)
    {
        for (int i = 0; i < Count; ++i)
            A->Exec(QStringLiteral("insert into vrk_results_class (results_class_id, event_id, person_id, control_card, person_name, "
                                   "result_status, origin_client_id, origin_client_name, start_time) values (%1, 3001, -999, '%2', "
                                   "'Juoksija %2', 'M', %3, 'Maali', '2026-06-02 17:05:00')")
                        .arg(kFirstRun + i)
                        .arg(500000 + i)
                        .arg(Client.ClientId));
    }

    // How often the service received each queue row.
    QMap<QString, int> Receipts()
    {
        QMap<QString, int> r;
        for (const QJsonObject& o : W.Service.State().UploadedRecords())
            if (o.value(QStringLiteral("list")).toString() == QLatin1String("results_classes"))
                ++r[o.value(QStringLiteral("client_message_id")).toVariant().toString()];
        return r;
    }

    static std::unique_ptr<TFirebirdServer> Server;
    static int Copies;
    TWebSession::TDbParams Login;
    WebAccount W;
    webservice::TClientCredentials Client;
    std::unique_ptr<WebDesk> A, B;
};

std::unique_ptr<TFirebirdServer> SharedQueue::Server;
int SharedQueue::Copies = 0;

TEST_F(SharedQueue, TwoWorkersPassingTogetherSendEveryRowOnce)
{
    constexpr int kRuns = 40;
    WarmUp(*A);
    WarmUp(*B);
    CheckIns(kRuns);
    ASSERT_EQ(A->QueueLength(), kRuns);
    // Slow replies keep each batch in flight while the other worker reads the queue.
    W.Service.DelayNextReplies(40, 4 * kRuns);

    std::latch Go(2);
    auto Passes = [&](WebDesk& D) {
        Go.arrive_and_wait();
        for (int Round = 0; Round < 20 && D.QueueLength() > 0; ++Round)
            D.RunPass();
    };
    std::thread Ta([&] { Passes(*A); });
    std::thread Tb([&] { Passes(*B); });
    Ta.join();
    Tb.join();

    EXPECT_EQ(A->QueueLength(), 0);
    const QMap<QString, int> Got = Receipts();
    EXPECT_EQ(Got.size(), kRuns);
    for (auto It = Got.cbegin(); It != Got.cend(); ++It)
        EXPECT_EQ(It.value(), 1) << "queue row " << It.key().toStdString() << " sent " << It.value() << " times";
}

TEST_F(SharedQueue, ALiveDesksClaimIsSkippedADeadOrStaleClaimIsTakenOver)
{
    const QString LiveB = B->Value(QStringLiteral("select current_connection from rdb$database")).toString();
    // A desk that claimed a row and died; it connected before A's worker does.
    const QString Dead = RowOnOwnConnection(Login.Name, QStringLiteral("select current_connection from rdb$database"),
                                            Login.User, Login.Password)
                             .value(0);
    WarmUp(*A);
    CheckIns(3);
    auto Claim = [&](int64_t Run, const QString& By, const QString& Age) {
        A->Exec(QStringLiteral("update vrk_data_replication set claimed_at = dateadd(%1 second to current_timestamp), claimed_by = %2, "
                               "claimed_user = current_user, sync_message_id = 77 where repl_data_id = %3")
                    .arg(Age, By)
                    .arg(Run));
    };
    Claim(kFirstRun, LiveB, QStringLiteral("-5"));        // B is sending it now
    Claim(kFirstRun + 1, Dead, QStringLiteral("-5"));     // its desk died
    Claim(kFirstRun + 2, LiveB, QStringLiteral("-600"));  // far older than any call

    A->RunPass();

    auto Queued = [&](int64_t Run) {
        return A->Count(QStringLiteral("select count(*) from vrk_data_replication where repl_data_id = %1").arg(Run));
    };
    EXPECT_EQ(Queued(kFirstRun), 1);
    EXPECT_EQ(Queued(kFirstRun + 1), 0);
    EXPECT_EQ(Queued(kFirstRun + 2), 0);
    EXPECT_EQ(A->Value(QStringLiteral("select claimed_by || '/' || sync_message_id from vrk_data_replication where repl_data_id = %1")
                           .arg(kFirstRun))
                  .toString(),
              LiveB + QStringLiteral("/77"));
    EXPECT_EQ(Receipts().size(), 2);
}

}  // namespace

