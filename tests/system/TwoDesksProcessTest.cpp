// Two real programs on one event database served by a Firebird server, each
// with its own card reader, reading cards at the same moment in self-service
// mode: every read is stored once, no lock or storing error reaches either
// operator, and after a refresh both desks' grids show both desks' reads. The
// server is restarted under them in the middle of reading: no read is lost.

#include "tests/support/FirebirdServer.h"
#include "tests/support/ProgramUnderTest.h"
#include "tests/support/SimulatedReader.h"
#include "tests/system/CardReads.h"
#include "tests/system/Scenario.h"
#include "tools/webservice/WebServiceServer.h"

#include <QFile>
#include <QJsonObject>
#include <QJsonDocument>
#include <QMap>
#include <QThread>
#include <gtest/gtest.h>

namespace {

constexpr int kCards = 12;
constexpr int kFirstCardA = 300000;
constexpr int kFirstCardB = 400000;
constexpr int kRestartWhileReading = 3;
constexpr int kReadWhileAway = 6;

struct TDesk {
    SimulatedReader Reader;
    TProgramUnderTest Program;
};

}  // namespace

TEST(TwoDesksOnOneServer, BothReadCardsAtOnceWithoutLosingOneOrShowingALockError)
{
    TFirebirdServer server;
    webservice::TWebServiceServer service;
    QFile demo(QStringLiteral(SORVEX_SOURCE_DIR "/tools/webservice/demo-account.json"));
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    const int64_t account = service.State().LoadAccount(QJsonDocument::fromJson(demo.readAll()).object());
    const webservice::TClientCredentials client = service.State().AddClient(account, QStringLiteral("Maalikone"));

    const TDeskLogin login{server.Remote(server.CopyEventDatabase()), TFirebirdServer::User(), TFirebirdServer::Password()};
    LinkDesk(login, client.ClientId, client.Secret);
    RegisterRunners(login, kFirstCardA, kCards);
    RegisterRunners(login, kFirstCardB, kCards);
    CheckInRunners(login, kFirstCardA, kCards);
    CheckInRunners(login, kFirstCardB, kCards);

    TDesk a, b;
    for (TDesk* d : {&a, &b}) {
        TProgramOptions& o = d->Program.Options;
        o.LinkedClient = false;
        o.DatabaseName = login.Database;
        o.DatabasePassword = login.Password;
        o.ReaderPort = d->Reader.PortPath();
        o.RestBaseUrl = service.FirstBaseURL();
        o.RestBaseUrlV2 = service.SecondBaseURL();
        o.CaFile = service.CertificateFile();
        o.ExtraDeviceLines = {{QStringLiteral("CHIP_READER"), QStringLiteral("READ_DELAY=0")}};
        ASSERT_TRUE(d->Program.Start()) << d->Program.LastError().toStdString();
        TDriverClient& drv = d->Program.Driver;
        ASSERT_TRUE(drv.Wait(QStringLiteral("formMain"))) << drv.LastError().toStdString();
        ASSERT_TRUE(drv.Click(QStringLiteral("formMain.actMaaliAloita"))) << drv.LastError().toStdString();
        ASSERT_TRUE(drv.Click(QStringLiteral("formMain.actResultBoard"))) << drv.LastError().toStdString();
        ASSERT_TRUE(drv.Wait(QStringLiteral("formResultBoard"))) << drv.LastError().toStdString();
    }

    // Card i at both readers at once; the next pair once both are stored.
    auto runsOf = [&](int Card) {
        return ValueOf(login, QStringLiteral("select count(*) from VRK_RESULTS_CLASS where EVENT_ID = 100 and CONTROL_CARD = '%1' "
                                             "and RESULT_STATUS = 'V' and STATUS = '0'")
                                  .arg(Card))
            .toInt();
    };
    // The server is restarted under the desks twice: once while a pair is on
    // the readers, and once with a pair read while it is away. The desks
    // attach again and go on; a read the server missed is kept and stored
    // once it is back.
    for (int i = 0; i < kCards; ++i) {
        a.Reader.Place(CourseACard(uint32_t(kFirstCardA + i)), 4);
        b.Reader.Place(CourseACard(uint32_t(kFirstCardB + i)), 4);
        if (i == kRestartWhileReading) {
            ASSERT_TRUE(server.Restart());
        } else if (i == kReadWhileAway) {
            server.Stop();
        }
        a.Reader.Wait();
        b.Reader.Wait();
        if (i == kReadWhileAway) {
            QThread::msleep(1500);  // both reads meet the missing server
            ASSERT_TRUE(server.Restart());
        }
        ASSERT_TRUE(WaitFor([&] { return runsOf(kFirstCardA + i) > 0 && runsOf(kFirstCardB + i) > 0; }, 40000))
            << "card pair " << i << "\n" << a.Program.DayLog().right(3000).toStdString();
    }
    EXPECT_EQ(ValueOf(login, QStringLiteral("select count(*) from VRK_RESULTS_CLASS where EVENT_ID = 100")).toInt(), 2 * kCards);
    EXPECT_EQ(ValueOf(login, QStringLiteral("select count(distinct CONTROL_CARD) from VRK_RESULTS_CLASS where EVENT_ID = 100 "
                                            "and RESULT_STATUS = 'V' and STATUS = '0'"))
                  .toInt(),
              2 * kCards);

    for (TDesk* d : {&a, &b}) {
        TDriverClient& drv = d->Program.Driver;
        ASSERT_TRUE(drv.Click(QStringLiteral("formMain.actMainGridRefresh"))) << drv.LastError().toStdString();
        const TDriverReply grid = drv.Grid(QStringLiteral("formMain.rdbgrdResultsClass"));
        ASSERT_TRUE(grid) << drv.LastError().toStdString();
        const QString rows = grid.Text;
        for (int i = 0; i < kCards; ++i) {
            EXPECT_TRUE(rows.contains(QStringLiteral("Juoksija %1").arg(kFirstCardA + i))) << i;
            EXPECT_TRUE(rows.contains(QStringLiteral("Juoksija %1").arg(kFirstCardB + i))) << i;
        }
        // Only the read the missing server refused was told, as the lost
        // connection in Finnish.
        for (const QString& box : UnexpectedBoxes(drv))
            EXPECT_TRUE(box.contains(QStringLiteral("katkesi"))) << box.toStdString();
    }
    // Both desks' web workers serve the one upload queue: every accepted run
    // reaches the service, and no queue row is sent by both desks.
    const QVariant ids = ValueOf(login, QStringLiteral("select list(RESULTS_CLASS_ID) from VRK_RESULTS_CLASS where EVENT_ID = 100"));
    EXPECT_TRUE(WaitFor(
        [&] {
            for (const QString& id : ids.toString().split(QLatin1Char(',')))
                if (service.State().Row(account, QStringLiteral("vrk_results_class"), id).value(QStringLiteral("result_status"))
                        .toString() != QLatin1String("V"))
                    return false;
            return true;
        },
        60000))
        << a.Program.DayLog().right(3000).toStdString() << "\n" << b.Program.DayLog().right(3000).toStdString();
    QMap<QString, int> sent;  // queue row -> how often it reached the service
    for (const QJsonObject& o : service.State().UploadedRecords())
        ++sent[o.value(QStringLiteral("list")).toString() + o.value(QStringLiteral("client_message_id")).toVariant().toString()];
    for (auto it = sent.cbegin(); it != sent.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().toStdString();
    for (TDesk* d : {&a, &b})
        EXPECT_TRUE(d->Program.QuitAndWait()) << d->Program.LastError().toStdString();
}
