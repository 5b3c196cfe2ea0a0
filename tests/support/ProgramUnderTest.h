#pragma once
// The real program (build/bin/sorvex) as a second process, driven through its
// test driver: a private program folder with the configuration files, a fresh
// event database, offscreen windows, message boxes logged and answered by the
// driver. The process is always killed when the object goes (and when the
// test process dies): a program left running holds the database engine's
// machine-wide lock and stalls every other database test.
//
//   TProgramUnderTest p;                 // folder, database, linked computer
//   p.Options.ReaderPort = reader.PortPath();
//   ASSERT_TRUE(p.Start()) << p.LastError();
//   ASSERT_TRUE(p.Driver.Wait("formMain")) << p.Driver.LastError();
//   ...
//   ASSERT_TRUE(p.QuitAndWait()) << p.LastError();

#include "tests/support/DriverClient.h"
#include "tests/support/TempProgramDir.h"
#include "tests/support/TestDatabase.h"

#include <QProcess>
#include <QString>
#include <memory>

struct TProgramOptions {
    // A linked computer in the database, so the main window opens without
    // the first-use dialog.
    bool LinkedClient = true;
    // DB_NAME and PASSWORD for a database other than the test's own file,
    // e.g. "127.0.0.1/<port>:<path>" on a Firebird server (Exec and Value
    // still use the own file).
    QString DatabaseName;
    QString DatabasePassword;
    QString ReaderPort;      // the card reader's port (vrkEvent.ini)
    QString PrinterPort;     // the receipt printer's port; empty: none
    int PrinterType = 0;
    QString RestBaseUrl;     // the web service (vrkEventSystem.ini)
    QString RestBaseUrlV2;
    QString CaFile;          // SORVEX_CA_FILE of the loopback web service
    // An X display (":5") to show the windows on instead of offscreen.
    QString Display;
    // Lines added to vrkEvent.ini's sections, e.g. "UI" -> "TEST=K".
    QList<QPair<QString, QString>> ExtraDeviceLines;
};

class TProgramUnderTest {
public:
    TProgramUnderTest();
    ~TProgramUnderTest();
    TProgramUnderTest(const TProgramUnderTest&) = delete;
    TProgramUnderTest& operator=(const TProgramUnderTest&) = delete;

    // Runs statements on the database (only while the program is not running:
    // the embedded engine lets one process open the file).
    void Exec(const QString& Script);
    // A single value of a query, under the same condition.
    QVariant Value(const QString& Sql);

    // Writes the configuration, starts the program and connects the driver.
    bool Start();
    bool Running() const;
    // The running program's process id (0 when not running).
    qint64 Pid() const;
    // Quits through the driver and waits for the process to end (exit code 0).
    bool QuitAndWait(int TimeoutMs = 20000);
    // Kills the process at once (a no-op when it is not running).
    void Kill();
    // Sends a signal to the process (SIGTERM, SIGINT); false when it is not
    // running.
    bool Signal(int Signal);
    // Waits until the process has ended by itself; false after TimeoutMs.
    bool WaitEnded(int TimeoutMs);
    // What the program wrote to stderr so far.
    QString ErrorOutput();
    // The message boxes logged to SORVEX_DIALOG_LOG.
    QString DialogLog() const;
    // Today's day log of the program ("yyyyMMdd_loki.csv" in its folder).
    QString DayLog() const;
    const QString& LastError() const { return FLastError; }

    TProgramOptions Options;
    TempProgramDir Home;
    TestDatabase Db;
    TDriverClient Driver;

private:
    void WriteConfiguration();
    std::unique_ptr<QProcess> FProcess;
    QString FLastError;
    QByteArray FStderr;
};
