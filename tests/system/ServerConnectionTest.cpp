// The data module on a database served by a Firebird server (DB_NAME in the
// "host/port:path" form) while a second desk's connection stores reads into
// the same database at the same moment.

#include "data/vrkDataModule.h"
#include "app/vrkMainForm.h"
#include "tests/eventdb/EventDbFixture.h"
#include "tests/support/DataModuleFixture.h"
#include "tests/support/FirebirdServer.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>
#include <latch>
#include <memory>
#include <thread>

namespace {

const std::vector<std::pair<int, int>> kCourseA = {{0, 0}, {31, 600}, {132, 1200}, {33, 1800}, {100, 2400}, {250, 2700}};

QString Chip(int Card, int Index)
{
    const QString at = QStringLiteral("01.06.2024 18.%1.%2.000").arg(Index / 60, 2, 10, QLatin1Char('0')).arg(Index % 60, 2, 10, QLatin1Char('0'));
    return EventDb::Emit(QString::number(Card), kCourseA, at);
}

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
        QFile fx(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
        ASSERT_TRUE(fx.open(QIODevice::ReadOnly));
        F.Exec(QString::fromUtf8(fx.readAll()));
        formMain->nCurrentProcessedEvent = 100;
        formMain->nCurrentProcessedEventS = 1;
    }

    static std::unique_ptr<TFirebirdServer> Server;
    DataModuleFixture F;
    QString Path;
};
std::unique_ptr<TFirebirdServer> ServerConnection::Server;

// A second desk: its own connection storing reads as the data module does,
// one transaction per read.
struct SecondDesk {
    QString Error;
    QList<qint64> Ids;

    void Run(const QString& Database, int Reads, std::latch& Go)
    {
        try {
            TFbConnection con;
            con.DatabaseName = Database;
            con.UserName = TFirebirdServer::User();
            con.Password = TFirebirdServer::Password();
            con.Open();
            Go.arrive_and_wait();
            for (int i = 0; i < Reads; ++i) {
                TFbTransaction t;
                t.SetConnection(&con);
                TFbQuery q;
                q.SetConnection(&con);
                q.SetTransaction(&t);
                q.SQL().Add(QStringLiteral("select OUT_RESULTS_CLASS_ID, OUT_MESSAGE from E_RESULTS_CLASS.RESULTS_CLASS_INSERT("
                                           "100, :CHIP, 'E', null, 'FI', null)"));
                t.StartTransaction();
                q.ParamByName(QStringLiteral("CHIP")).SetAsString(Chip(200000 + i, i));
                q.Open();
                const QString message = q.FieldByName(QStringLiteral("OUT_MESSAGE"))->AsString();
                Ids << q.FieldByName(QStringLiteral("OUT_RESULTS_CLASS_ID"))->AsLargeInt();
                q.Close();
                t.Commit();
                if (!message.isEmpty() && Error.isEmpty())
                    Error = message;
            }
            con.Close();
        } catch (const std::exception& e) {
            Error = QString::fromUtf8(e.what());
            Go.count_down();
        }
    }
};

}  // namespace

TEST_F(ServerConnection, TwoDesksStoreReadsAtTheSameTimeWithoutLosingOneOrALockError)
{
    constexpr int kReads = 60;
    std::latch go(2);
    SecondDesk other;
    std::thread desk([&] { other.Run(Server->Remote(Path), kReads, go); });
    go.arrive_and_wait();
    QSet<qint64> ids;
    QStringList messages;
    for (int i = 0; i < kReads; ++i) {
        int64_t id = 0;
        QString wasInForest, message, flag;
        F.Module->insertResultsClass(Chip(100000 + i, i), QStringLiteral("E"), QString(), QString(), id, wasInForest, message, flag);
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
