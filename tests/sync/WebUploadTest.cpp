// The upload half as another connection and the service see it: each
// message's rows are claimed before it goes and leave the queue before the
// next one goes; rows a live desk holds at the head of a long queue are
// passed over, not waited for; a pass keeps one connection to the service.

#include "tests/sync/WebDesk.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

constexpr int64_t kFirstRun = 1000000001;

void AddRuns(WebDesk& D, int64_t From, int Count)
{
    for (int K = 0; K < Count; ++K)
        D.Exec(QStringLiteral("insert into vrk_results_class (results_class_id, event_id, person_id, control_card, person_name, "
                              "result_status, origin_client_id, origin_client_name, time_sec) values (%1, 3001, -999, '%2', "
                              "'Juoksija %2', 'V', 1, 'Maali', 3600)")
                   .arg(From + K)
                   .arg(100000 + K));
}

// "queued:claimed" rows as a connection of its own sees them now.
QString QueueSeenFromOutside(const QString& Database)
{
    return RowOnOwnConnection(Database, QStringLiteral("select count(*), count(claimed_at) from vrk_data_replication "
                                                       "where repl_status <> 'P'"))
        .join(QLatin1Char(':'));
}

}  // namespace

TEST(WebUpload, EachMessageIsClaimedBeforeItGoesAndDoneBeforeTheNextGoes)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    A.RunPass();  // logs in
    AddRuns(A, kFirstRun, 3);
    QStringList Seen;
    W.Service.BeforeEachCall([&](const QString& Path) {
        if (Path.endsWith(QStringLiteral("client/message")))
            Seen << QueueSeenFromOutside(A.Db.Path());
    });
    EXPECT_EQ(A.RunPass(), 0);
    W.Service.BeforeEachCall({});
    EXPECT_EQ(Seen, (QStringList{"3:1", "2:1", "1:1"}));
    EXPECT_EQ(QueueSeenFromOutside(A.Db.Path()), QStringLiteral("0:0"));
    EXPECT_EQ(A.Host.Unsent, 0);
}

TEST(WebUpload, RowsALiveDeskHoldsAtTheHeadOfTheQueueArePassedOver)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    A.RunPass();
    // The main connection, open since before the worker's, stands for a
    // live desk sending the first 25 runs.
    const QString Live = A.Value(QStringLiteral("select current_connection from rdb$database")).toString();
    AddRuns(A, kFirstRun, 25);
    A.Exec(QStringLiteral("update vrk_data_replication set claimed_at = current_timestamp, claimed_by = %1, claimed_user = current_user, "
                          "sync_message_id = 77")
               .arg(Live));
    AddRuns(A, kFirstRun + 25, 2);
    EXPECT_EQ(A.RunPass(), 0);
    EXPECT_EQ(A.QueueLength(), 25);
    EXPECT_EQ(A.Count(QStringLiteral("select count(*) from vrk_data_replication where claimed_by = %1").arg(Live)), 25);
    EXPECT_EQ(W.Service.State().UploadedRecords().size(), 2);
}

TEST(WebUpload, APassKeepsOneConnectionToTheService)
{
    WebAccount W;
    WebDesk A(W.Service, W.Service.State().AddClient(W.Account, QStringLiteral("A")));
    A.RunPass();
    AddRuns(A, kFirstRun, 6);
    const int Before = W.Service.ConnectionsSeen();
    EXPECT_EQ(A.RunPass(), 0);
    EXPECT_EQ(A.QueueLength(), 0);
    EXPECT_EQ(W.Service.ConnectionsSeen() - Before, 1);
}
