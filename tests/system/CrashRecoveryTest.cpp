// A desk killed with SIGKILL in the middle of its work and started again on
// the same program folder: the single-instance mark of the dead copy does not
// stop the new one, the database opens consistent with every read committed
// before the kill, the web messages still waiting are sent after the restart,
// and none that the service had confirmed is sent again.

#include "tests/system/CardReads.h"
#include "tests/system/DeskFolder.h"
#include "tests/system/DeskProgram.h"
#include "tools/webservice/WebServiceServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QMap>
#include <QSet>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool WaitFor(const std::function<bool()>& Done, int Ms)
{
    QElapsedTimer t;
    t.start();
    while (!Done()) {
        if (t.elapsed() > Ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

class CrashRecovery : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("SORVEX_CA_FILE", Service.CertificateFile().toLocal8Bit());
        QFile demo(QStringLiteral(SORVEX_SOURCE_DIR "/tools/webservice/demo-account.json"));
        ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
        Account = Service.State().LoadAccount(QJsonDocument::fromJson(demo.readAll()).object());
        const webservice::TClientCredentials client = Service.State().AddClient(Account, QStringLiteral("Maalikone"));
        Db = Desk.LocalDatabase();
        TDeskLogin login;
        login.Database = Db;
        LinkDesk(login, client.ClientId, client.Secret);
        RegisterRunners(login, 300000, kReads);
        Reads = StoreReads(login, 300000, kReads);
        ASSERT_TRUE(Reads.Error.isEmpty()) << Reads.Error.toStdString();
        AcceptRuns(login, Reads.Ids);
        ASSERT_EQ(ValueOf(login, QStringLiteral("select count(*) from VRK_DATA_REPLICATION where REPL_DATA = 'VRK_RESULTS_CLASS'")).toInt(), kReads);
        TDeskSettings settings;
        settings.FirstUrl = Service.FirstBaseURL();
        settings.SecondUrl = Service.SecondBaseURL();
        Desk.Configure(settings);
    }
    void TearDown() override { qunsetenv("SORVEX_CA_FILE"); }

    QList<QJsonObject> UploadedRuns() const
    {
        QList<QJsonObject> r;
        for (const QJsonObject& o : Service.State().UploadedRecords())
            if (o.value(QStringLiteral("list")).toString() == QLatin1String("results_classes"))
                r << o;
        return r;
    }
    bool AllRunsAtTheService() const
    {
        for (qint64 id : Reads.Ids)
            if (Service.State().Row(Account, QStringLiteral("vrk_results_class"), QString::number(id)).isEmpty())
                return false;
        return true;
    }

    std::string Trace(const TDeskProgram& P) const
    {
        QString t = QStringLiteral("requests:");
        for (const auto& r : Service.State().RequestLog())
            t += QStringLiteral(" %1 %2 %3;").arg(r.Method, r.Resource).arg(r.Status);
        t += QStringLiteral("\ndialogs: ") + Desk.Dialogs();
        for (const char* kind : {"Error", "Warning", "Information"})
            t += QStringLiteral("\n%1: ").arg(QLatin1String(kind)) + Desk.DayLog(QLatin1String(kind)).join(QStringLiteral(" | "));
        t += QStringLiteral("\noutput: ") + QString::fromLocal8Bit(P.Output().right(3000));
        return t.toStdString();
    }

    static constexpr int kReads = 30;
    mutable webservice::TWebServiceServer Service;
    int64_t Account = 0;
    TDeskFolder Desk;
    QString Db;
    TReadBatch Reads;
};

}  // namespace

TEST_F(CrashRecovery, ADeskKilledDuringASyncPassSendsTheRestAfterRestartAndNothingTwice)
{
    // Slow replies keep a batch in flight when the kill comes.
    Service.DelayNextReplies(300, 1000);
    {
        TDeskProgram first(Desk);
        ASSERT_TRUE(WaitFor([&] { return UploadedRuns().size() >= kReads / 3 || !first.Running(); }, 60000)) << Trace(first);
        ASSERT_TRUE(first.Running()) << first.Output().toStdString();
        first.KillHard();
    }
    const int before = UploadedRuns().size();
    EXPECT_LT(before, kReads);  // the kill came in the middle of the pass

    TDeskProgram second(Desk);
    EXPECT_TRUE(WaitFor([&] { return AllRunsAtTheService() || !second.Running(); }, 90000));
    ASSERT_TRUE(second.Running()) << second.Output().toStdString();  // the dead copy's mark did not stop it
    second.KillHard();

    // Only the batch whose reply the kill cut off may come again.
    QMap<QString, QString> firstBatch;  // client message -> batch that first carried it
    QSet<QString> resentBatches;
    for (const QJsonObject& o : UploadedRuns()) {
        const QString id = o.value(QStringLiteral("client_message_id")).toVariant().toString();
        const QString batch = o.value(QStringLiteral("message_id")).toVariant().toString();
        if (firstBatch.contains(id))
            resentBatches.insert(firstBatch[id]);
        else
            firstBatch[id] = batch;
    }
    EXPECT_LE(resentBatches.size(), 1);
    EXPECT_EQ(firstBatch.size(), kReads);
    EXPECT_TRUE(Desk.Dialogs().isEmpty()) << Desk.Dialogs().toStdString();
    EXPECT_TRUE(Desk.DayLog(QStringLiteral("Error")).isEmpty()) << Desk.DayLog(QStringLiteral("Error")).join('\n').toStdString();

    // Killed twice, the database opens and holds every read as it was stored.
    TDeskLogin login;
    login.Database = Db;
    EXPECT_EQ(ValueOf(login, QStringLiteral("select count(*) from VRK_RESULTS_CLASS where EVENT_ID = 100 and STATUS = '0'")).toInt(), kReads);
}
