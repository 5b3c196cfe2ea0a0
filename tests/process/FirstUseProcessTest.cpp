// First use in the real program against the stand-in web service as its own
// process: a refused code keeps the dialog open with the service's reason,
// the demo account's temporary code links this computer, and the start tree
// then shows the account's series and events.

#include "tests/support/ProgramUnderTest.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

std::string S(const QString& Text)
{
    return Text.toStdString();
}

// The stand-in service on loopback ports, killed with the test.
struct TServiceProcess {
    TServiceProcess()
    {
        Process.start(QStringLiteral(SORVEX_BIN_DIR "/sorvex-webservice"),
                      {QStringLiteral("--demo"), QStringLiteral(SORVEX_SOURCE_DIR "/tools/webservice/demo-account.json")});
        Process.waitForStarted(10000);
        while (Ca.isEmpty() && Process.waitForReadyRead(15000))
            while (Process.canReadLine()) {
                const QString line = QString::fromUtf8(Process.readLine()).trimmed();
                const QString value = line.section(QLatin1Char('='), 1);
                if (line.startsWith(QStringLiteral("REST_BASE_URL=")))
                    First = value;
                else if (line.startsWith(QStringLiteral("REST_BASE_URL_V2=")))
                    Second = value;
                else if (line.startsWith(QStringLiteral("SORVEX_CA_FILE=")))
                    Ca = value;
            }
    }
    ~TServiceProcess()
    {
        Process.kill();
        Process.waitForFinished(5000);
    }
    QProcess Process;
    QString First, Second, Ca;
};

}  // namespace

TEST(FirstUseProcess, TheDemoCodeLinksThisComputerAndTheTreeShowsTheAccountsEvents)
{
    TServiceProcess service;
    ASSERT_FALSE(service.Ca.isEmpty());
    TProgramUnderTest p;
    p.Options.LinkedClient = false;
    p.Options.RestBaseUrl = service.First;
    p.Options.RestBaseUrlV2 = service.Second;
    p.Options.CaFile = service.Ca;
    ASSERT_TRUE(p.Start()) << S(p.LastError());
    TDriverClient& d = p.Driver;
    ASSERT_TRUE(d.Wait(QStringLiteral("FormFirstUse.fcdtTempClientID"), 20000)) << S(d.LastError());
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("FormFirstUse"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_first_use.png"));

    // a code the service does not know: its reason in a box, the dialog stays
    ASSERT_TRUE(d.Set(QStringLiteral("FormFirstUse.fcdtTempClientID"), QStringLiteral("WRONG-0000"))) << S(d.LastError());
    ASSERT_TRUE(d.Click(QStringLiteral("FormFirstUse.btnOK"))) << S(d.LastError());
    ASSERT_TRUE(d.Wait(QStringLiteral("FormFirstUse.btnOK"))) << S(d.LastError());
    QElapsedTimer clock;
    clock.start();
    while (d.Boxes().Lines().isEmpty() && clock.elapsed() < 10000)
        QThread::msleep(50);
    ASSERT_EQ(d.Boxes().Lines().size(), 1) << S(p.DialogLog());

    // the demo code links it
    ASSERT_TRUE(d.Set(QStringLiteral("FormFirstUse.fcdtTempClientID"), QStringLiteral("DEMO-1234"))) << S(d.LastError());
    ASSERT_TRUE(d.Click(QStringLiteral("FormFirstUse.btnOK"))) << S(d.LastError());
    ASSERT_TRUE(d.Gone(QStringLiteral("FormFirstUse"), 15000)) << S(d.LastError()) << S(p.DialogLog());
    ASSERT_TRUE(d.Wait(QStringLiteral("formMain.tvMainTree"))) << S(d.LastError());

    // the notification box tells that the first synchronisation runs and,
    // through its "Valmis", when it is done; "Valmis" closes it with the tree
    // showing the account's series and events
    ASSERT_TRUE(d.Wait(QStringLiteral("formMain.gbNotification"))) << S(d.LastError());
    clock.restart();
    while (!p.DayLog().contains(QStringLiteral("Virkistä Navigaatiopuu")) && clock.elapsed() < 20000)
        QThread::msleep(100);
    ASSERT_TRUE(d.WaitFor(QStringLiteral("formMain.lblNotification"), QStringLiteral("on valmis"))) << S(d.LastError());
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("formMain"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_first_sync_ready.png"));
    ASSERT_TRUE(d.Click(QStringLiteral("formMain.buttonNotification"))) << S(d.LastError());
    ASSERT_TRUE(d.Gone(QStringLiteral("formMain.gbNotification"))) << S(d.LastError());
    ASSERT_TRUE(d.Click(QStringLiteral("formMain.btnTreeExpand"))) << S(d.LastError());
    QString tree = d.Tree(QStringLiteral("formMain.tvMainTree")).Text;
    EXPECT_TRUE(tree.contains(QStringLiteral("Tiistairastit"))) << S(tree) << S(p.DayLog());
    EXPECT_TRUE(tree.contains(QStringLiteral("Tiistairastit 1"))) << S(tree);
    if (const QByteArray shots = qgetenv("SORVEX_DRIVER_SHOTS"); !shots.isEmpty())
        d.Grab(QStringLiteral("formMain"), QString::fromLocal8Bit(shots) + QStringLiteral("/process_after_first_use.png"));

    ASSERT_TRUE(p.QuitAndWait()) << S(p.LastError());
    EXPECT_EQ(p.Value(QStringLiteral("select client_name from vrk_client where in_use = 'K'")).toString(), QStringLiteral("Maalikone"));
}
