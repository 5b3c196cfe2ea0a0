// The data module on a database served by a Firebird server (DB_NAME in the
// "host/port:path" form) while a second desk's connection stores reads into
// the same database at the same moment.

#include "data/vrkDataModule.h"
#include "app/vrkMainForm.h"
#include "tests/support/DataModuleFixture.h"
#include "tests/support/FirebirdServer.h"
#include "tests/system/CardReads.h"

#include <QSet>
#include <gtest/gtest.h>
#include <latch>
#include <memory>
#include <thread>

namespace {

class ServerConnection : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Server = std::make_unique<TFirebirdServer>(); }
    static void TearDownTestSuite() { Server.reset(); }

    void SetUp() override
    {
        Path = Server->CopyEventDatabase();
        formMain->s_db_name = Server->Remote(Path);
        formMain->s_db_user_name = TFirebirdServer::User();
        formMain->s_db_password = TFirebirdServer::Password();
        ASSERT_TRUE(F.Connect());
        LoadFixtureEvent(Login());
        formMain->nCurrentProcessedEvent = 100;
        formMain->nCurrentProcessedEventS = 1;
    }

    TDeskLogin Login() const { return {Server->Remote(Path), TFirebirdServer::User(), TFirebirdServer::Password()}; }

    static std::unique_ptr<TFirebirdServer> Server;
    DataModuleFixture F;
    QString Path;
};
std::unique_ptr<TFirebirdServer> ServerConnection::Server;

}  // namespace

TEST_F(ServerConnection, TwoDesksStoreReadsAtTheSameTimeWithoutLosingOneOrALockError)
{
    constexpr int kReads = 60;
    std::latch go(2);
    TReadBatch other;
    std::thread desk([&] { other = StoreReads(Login(), 200000, kReads, &go); });
    go.arrive_and_wait();
    QSet<qint64> ids;
    QStringList messages;
    for (int i = 0; i < kReads; ++i) {
        int64_t id = 0;
        QString wasInForest, message, flag;
        F.Module->insertResultsClass(CourseAChip(100000 + i, i), QStringLiteral("E"), QString(), QString(), id, wasInForest, message, flag);
        if (!message.isEmpty())
            messages << message;
        ids.insert(id);
    }
    desk.join();

    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_TRUE(other.Error.isEmpty()) << other.Error.toStdString();
    for (qint64 id : other.Ids)
        ids.insert(id);
    ids.remove(0);
    EXPECT_EQ(ids.size(), 2 * kReads);
    EXPECT_EQ(F.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where EVENT_ID = 100")).toInt(), 2 * kReads);
    // every read was evaluated against the courses, not merely stored
    EXPECT_EQ(F.Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where EVENT_ID = 100 and STATUS = '0' "
                                     "and cast(TIME_SEC as integer) = 2400")).toInt(),
              2 * kReads);
    EXPECT_TRUE(F.Messages(QStringLiteral("Error")).isEmpty()) << F.Messages(QStringLiteral("Error")).join('\n').toStdString();
}

TEST_F(ServerConnection, AWrongPasswordIsRefusedByTheServer)
{
    TFbConnection con;
    con.DatabaseName = Server->Remote(Path);
    con.UserName = TFirebirdServer::User();
    con.Password = QStringLiteral("wrong");
    EXPECT_ANY_THROW(con.Open());
}
