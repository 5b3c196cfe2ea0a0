// A plain writer, no desk: how often a process killed right after the engine
// cleared away a deleted row leaves a file that full validation reports as
// having damaged indexes. Each round, in a child process with two
// connections to one file (as a desk has: the window and the web worker):
// rows are stored, one is claimed, marked and deleted as a sent queue row
// is, the other connection reads the table through (the engine clears the
// deleted row's versions and index entries away) and commits, a change to a
// row on another page is committed (the index pages it shares go out), and
// the process kills itself. gfix -v -full then runs on the file.
// SORVEX_PROBE_ROUNDS sets the rounds (default 100).
//
//   build/bench/bin/garbage_kill_probe

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "tests/system/Scenario.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

struct TAttachment {
    explicit TAttachment(const QString& Path)
    {
        Connection.DatabaseName = Path;
        Connection.UserName = QStringLiteral("SYSDBA");
        Connection.CharacterSet = QStringLiteral("UTF8");
        Connection.Open();
        Transaction.SetConnection(&Connection);
        Query.SetConnection(&Connection);
        Query.SetTransaction(&Transaction);
    }
    void Exec(const QString& Sql)
    {
        if (!Transaction.Active())
            Transaction.StartTransaction();
        Query.SQL().SetText(Sql);
        Query.ExecSQL();
    }
    void ReadThrough()
    {
        if (!Transaction.Active())
            Transaction.StartTransaction();
        Query.SQL().SetText(QStringLiteral("select count(*) from Q"));
        Query.Open();
        Query.Close();
    }
    void Commit() { Transaction.Commit(); }
    TFbConnection Connection;
    TFbTransaction Transaction;
    TFbQuery Query;
};

void Create(const QString& Path)
{
    TFbConnection::CreateDatabase(Path);
    TAttachment a(Path);
    a.Exec(QStringLiteral("create table Q (ID bigint not null primary key, DATA_ID bigint, STATUS char(1), MSG bigint, "
                          "PAD varchar(2500))"));
    a.Commit();
    for (const char* index : {"create index IX_Q_DATA on Q (DATA_ID)", "create index IX_Q_STATUS on Q (STATUS)",
                              "create index IX_Q_MSG on Q (MSG)"})
        a.Exec(QLatin1String(index));
    a.Commit();
}

[[noreturn]] void Round(const QString& Path, int N)
{
    TAttachment a(Path), b(Path);
    // Rows of about 2.5 KB that do not compress: three to a page.
    for (int i = 0; i < 8; ++i)
        a.Exec(QStringLiteral("insert into Q values (%1, %1, 'N', null, lpad('', 2400, uuid_to_char(gen_uuid())))").arg(N * 100 + i));
    a.Commit();
    a.Exec(QStringLiteral("update Q set MSG = %1 where ID = %2").arg(N).arg(N * 100));
    a.Commit();
    a.Exec(QStringLiteral("update Q set STATUS = 'S' where ID = %1").arg(N * 100));
    a.Exec(QStringLiteral("delete from Q where ID = %1").arg(N * 100));
    a.Commit();
    b.ReadThrough();
    b.Commit();
    a.Exec(QStringLiteral("update Q set STATUS = 'P', MSG = %1 where ID = %2").arg(N + 1).arg(N * 100 + 7));
    a.Commit();
    ::kill(::getpid(), SIGKILL);
    std::abort();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QLatin1String(argv[1]) == QLatin1String("--round"))
        Round(QString::fromLocal8Bit(argv[2]), atoi(argv[3]));
    const int rounds = qEnvironmentVariableIsSet("SORVEX_PROBE_ROUNDS") ? qEnvironmentVariableIntValue("SORVEX_PROBE_ROUNDS") : 100;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PROBE.FDB"));
    Create(path);
    int damaged = 0;
    for (int n = 1; n <= rounds; ++n) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--round"), path, QString::number(n)});
        if (!child.waitForFinished(60000)) {
            child.kill();
            child.waitForFinished(5000);
            std::fprintf(stderr, "round %d did not end\n", n);
            return 1;
        }
        if (child.exitStatus() != QProcess::CrashExit) {
            std::fprintf(stderr, "round %d failed: %s\n", n, child.readAllStandardError().constData());
            return 1;
        }
        if (const QString errors = ValidationErrors(path); !errors.isEmpty()) {
            ++damaged;
            if (damaged <= 3)
                std::printf("after round %d: %s\n", n, qPrintable(errors));
        }
    }
    std::printf("a plain writer killed %d times: %d files did not validate\n", rounds, damaged);
    return 0;
}
