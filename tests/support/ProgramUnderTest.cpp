#include "tests/support/ProgramUnderTest.h"

#include "app/vrkCommon.h"
#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "platform/database/FbScript.h"
#include "platform/database/Fields.h"
#include "resources/MainWindowTexts.h"
#include "tests/support/Scramble.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <csignal>
#include <sys/prctl.h>

namespace {

QString IniText(const QMap<QString, QStringList>& Sections)
{
    QString text;
    for (auto it = Sections.begin(); it != Sections.end(); ++it) {
        text += QLatin1Char('[') + it.key() + QStringLiteral("]\r\n");
        for (const QString& line : it.value())
            text += line + QStringLiteral("\r\n");
    }
    return text;
}

struct TDatabaseSession {
    explicit TDatabaseSession(const QString& Path)
    {
        Connection.DatabaseName = Path;
        Connection.UserName = QStringLiteral("SYSDBA");
        Connection.Open();
        Transaction.SetConnection(&Connection);
        Transaction.StartTransaction();
    }
    ~TDatabaseSession()
    {
        if (Transaction.Active())
            Transaction.Commit();
        Connection.Close();
    }
    TFbConnection Connection;
    TFbTransaction Transaction;
};

}  // namespace

TProgramUnderTest::TProgramUnderTest() = default;

TProgramUnderTest::~TProgramUnderTest()
{
    Driver.Disconnect();
    Kill();
}

void TProgramUnderTest::Exec(const QString& Script)
{
    TDatabaseSession s(Db.Path());
    TFbScript script;
    script.Connection = &s.Connection;
    script.Transaction = &s.Transaction;
    script.ExecuteScript(Script);
}

QVariant TProgramUnderTest::Value(const QString& Sql)
{
    TDatabaseSession s(Db.Path());
    TFbQuery q;
    q.SetConnection(&s.Connection);
    q.SetTransaction(&s.Transaction);
    q.SQL().Add(Sql);
    q.Open();
    const QVariant v = q.IsEmpty() ? QVariant() : q.Fields()[0]->AsVariant();
    q.Close();
    return v;
}

void TProgramUnderTest::WriteConfiguration()
{
    QMap<QString, QStringList> system;
    QStringList& connect = system[QStringLiteral("CONNECT_PARAMS")];
    connect = {QStringLiteral("DB_NAME=") + (Options.DatabaseName.isEmpty() ? Db.Path() : Options.DatabaseName),
               QStringLiteral("USER_NAME=") + ScrambleForTest(QStringLiteral("SYSDBA"), DecryptStartKey)};
    if (!Options.DatabasePassword.isEmpty())
        connect << QStringLiteral("PASSWORD=") + ScrambleForTest(Options.DatabasePassword, DecryptStartKey);
    if (!Options.RestBaseUrl.isEmpty())
        system[QStringLiteral("WEB_SERVICE")] = {QStringLiteral("REST_BASE_URL=") + Options.RestBaseUrl,
                                                 QStringLiteral("REST_BASE_URL_V2=") + Options.RestBaseUrlV2};
    Home.Write(QStringLiteral("vrkEventSystem.ini"), IniText(system).toUtf8());

    QMap<QString, QStringList> devices;
    devices[QStringLiteral("CHIP_READER")] = {QStringLiteral("COM=") + Options.ReaderPort};
    devices[QStringLiteral("CHIP_PRINTER")] = {QStringLiteral("COM=") + Options.PrinterPort,
                                               QStringLiteral("TYPE=") + QString::number(Options.PrinterType)};
    for (const auto& [section, line] : Options.ExtraDeviceLines)
        devices[section] << line;
    Home.Write(QStringLiteral("vrkEvent.ini"), IniText(devices).toUtf8());
}

bool TProgramUnderTest::Start()
{
    Kill();
    Driver.Disconnect();  // a restart connects afresh
    WriteConfiguration();
    if (Options.LinkedClient && Value(QStringLiteral("select count(*) from vrk_client where in_use = 'K'")).toInt() == 0)
        Exec(QStringLiteral("execute procedure E_CLIENT.INSERT_CLIENT(5, 'Maalikone', 'Tiistairastit', 'K', null, '%1', 's3cret');")
                 .arg(txt::ProgramVersion));
    const QString socket = Home.File(QStringLiteral("driver.sock"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SORVEX_HOME"), Home.Path());
    env.insert(QStringLiteral("SORVEX_RUNTIME_DIR"), Home.Path());
    env.insert(QStringLiteral("SORVEX_DIALOG_LOG"), Home.File(QStringLiteral("dialogs.log")));
    env.insert(QStringLiteral("SORVEX_TEST_DRIVER"), socket);
    if (Options.Display.isEmpty()) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), Options.Display);
    }
    if (!Options.CaFile.isEmpty())
        env.insert(QStringLiteral("SORVEX_CA_FILE"), Options.CaFile);
    FProcess = std::make_unique<QProcess>();
    FProcess->setProcessEnvironment(env);
    FProcess->setWorkingDirectory(Home.Path());
    FProcess->setStandardOutputFile(Home.File(QStringLiteral("stdout.txt")));
    FProcess->setStandardErrorFile(Home.File(QStringLiteral("stderr.txt")), QIODevice::Append);
    // Dies with the test process, whatever ends it.
    FProcess->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    // SORVEX_PROGRAM_WRAPPER: a command the program runs under (a memory
    // profiler, for a measurement), its words separated by spaces.
    QStringList command = QString::fromLocal8Bit(qgetenv("SORVEX_PROGRAM_WRAPPER")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    command << QStringLiteral(SORVEX_BIN_DIR "/sorvex");
    FProcess->start(command.takeFirst(), command);
    if (!FProcess->waitForStarted(10000)) {
        FLastError = QStringLiteral("sorvex did not start: ") + FProcess->errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        if (!Running()) {
            FLastError = QStringLiteral("sorvex ended at start: ") + ErrorOutput();
            return false;
        }
        if (Driver.Connect(socket, 200))
            return true;
    }
    FLastError = Driver.LastError();
    return false;
}

bool TProgramUnderTest::Running() const
{
    return FProcess && FProcess->state() != QProcess::NotRunning;
}

qint64 TProgramUnderTest::Pid() const
{
    return Running() ? FProcess->processId() : 0;
}

bool TProgramUnderTest::QuitAndWait(int TimeoutMs)
{
    if (!Running())
        return true;
    if (!Driver.Quit()) {
        FLastError = Driver.LastError();
        return false;
    }
    if (!FProcess->waitForFinished(TimeoutMs)) {
        FLastError = QStringLiteral("sorvex did not end after quit");
        Kill();
        return false;
    }
    Driver.Disconnect();
    if (FProcess->exitStatus() != QProcess::NormalExit || FProcess->exitCode() != 0) {
        FLastError = QStringLiteral("sorvex ended with %1: ").arg(FProcess->exitCode()) + ErrorOutput();
        return false;
    }
    return true;
}

void TProgramUnderTest::Kill()
{
    if (!Running())
        return;
    FProcess->kill();
    FProcess->waitForFinished(10000);
}

bool TProgramUnderTest::Signal(int Signal)
{
    if (!Running())
        return false;
    return ::kill(static_cast<pid_t>(FProcess->processId()), Signal) == 0;
}

bool TProgramUnderTest::WaitEnded(int TimeoutMs)
{
    if (!Running())
        return true;
    if (!FProcess->waitForFinished(TimeoutMs))
        return false;
    Driver.Disconnect();
    return true;
}

QString TProgramUnderTest::ErrorOutput()
{
    return QString::fromUtf8(Home.Read(QStringLiteral("stderr.txt")));
}

QString TProgramUnderTest::DialogLog() const
{
    return QString::fromUtf8(Home.Read(QStringLiteral("dialogs.log")));
}

QString TProgramUnderTest::DayLog() const
{
    return QString::fromUtf8(Home.Read(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("_loki.csv")));
}
