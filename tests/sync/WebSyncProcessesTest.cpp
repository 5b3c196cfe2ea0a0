// The whole chain in separate processes: the stand-in service as its own
// program, and two desks, each a process with its own database, linked to it
// with the demo account's temporary codes. Check-ins and finish reads made at
// each desk end up at the other.

#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

namespace {

QString Tool(const char* Name)
{
    return QStringLiteral(SORVEX_BIN_DIR "/") + QString::fromLatin1(Name);
}

}  // namespace

TEST(WebSyncProcesses, TwoDeskProcessesExchangeTheirRunsThroughTheServiceProgram)
{
    QProcess Service;
    Service.start(Tool("sorvex-webservice"),
                  {QStringLiteral("--demo"), QStringLiteral(SORVEX_SOURCE_DIR "/tools/webservice/demo-account.json")});
    ASSERT_TRUE(Service.waitForStarted(10000));
    QString First, Second, Ca;
    while (Ca.isEmpty() && Service.waitForReadyRead(15000))
        while (Service.canReadLine()) {
            const QString Line = QString::fromUtf8(Service.readLine()).trimmed();
            if (Line.startsWith(QStringLiteral("REST_BASE_URL=")))
                First = Line.section(QLatin1Char('='), 1);
            else if (Line.startsWith(QStringLiteral("REST_BASE_URL_V2=")))
                Second = Line.section(QLatin1Char('='), 1);
            else if (Line.startsWith(QStringLiteral("SORVEX_CA_FILE=")))
                Ca = Line.section(QLatin1Char('='), 1);
        }
    ASSERT_FALSE(Ca.isEmpty());

    TestDatabase DbA, DbB;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert(QStringLiteral("SORVEX_CA_FILE"), Ca);
    QProcess A, B;
    for (QProcess* P : {&A, &B})
        P->setProcessEnvironment(Env);
    A.start(Tool("sync_desk"), {DbA.Path(), First, Second, QStringLiteral("DEMO-1234"), QStringLiteral("1000000001"),
                                QStringLiteral("12"), QStringLiteral("24")});
    B.start(Tool("sync_desk"), {DbB.Path(), First, Second, QStringLiteral("DEMO-5678"), QStringLiteral("2000000001"),
                                QStringLiteral("12"), QStringLiteral("24")});
    for (QProcess* P : {&A, &B}) {
        ASSERT_TRUE(P->waitForFinished(120000));
        EXPECT_EQ(P->exitCode(), 0) << P->readAllStandardError().right(2000).toStdString();
    }
    Service.terminate();
    Service.waitForFinished(5000);

    const QString OutA = QString::fromUtf8(A.readAllStandardOutput());
    const QString OutB = QString::fromUtf8(B.readAllStandardOutput());
    EXPECT_TRUE(OutA.startsWith(QStringLiteral("RUNS 24"))) << OutA.left(200).toStdString();
    // Both desks hold the same runs in the same state.
    EXPECT_EQ(OutA, OutB);
    EXPECT_TRUE(OutB.contains(QStringLiteral("1000000001 V 3000 Juoksija 1000000001")));
    EXPECT_TRUE(OutA.contains(QStringLiteral("2000000002 M -1 Juoksija 2000000002")));
}
