#include "tests/print/PrivateCups.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// The device of the test printers: every job is kept whole in the folder the
// device URI names ("capture:/folder"), put in place only once complete.
const char* const CaptureBackend = R"SH(#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct capture "Unknown" "Keeps jobs in a folder"'; exit 0; fi
dir="${DEVICE_URI#capture:}"
if [ -n "$6" ]; then cat "$6" > "$dir/.job-$1"; else cat > "$dir/.job-$1"; fi
mv "$dir/.job-$1" "$dir/job-$(printf %05d "$1")"
)SH";

int FreePort()
{
    QTcpServer s;
    return s.listen(QHostAddress::LocalHost, 0) ? int(s.serverPort()) : 0;
}

bool WriteFile(const QString& Name, const QByteArray& Data, QFile::Permissions Perm = {})
{
    QFile f(Name);
    if (!f.open(QIODevice::WriteOnly) || f.write(Data) != Data.size())
        return false;
    f.close();
    return Perm == QFile::Permissions() || f.setPermissions(Perm);
}

}  // namespace

TPrivateCups::TPrivateCups()
{
    FHadOldServer = qEnvironmentVariableIsSet("CUPS_SERVER");
    FOldServer = qgetenv("CUPS_SERVER");
    FRunning = Start();
    if (!FRunning)
        Stop();
}

TPrivateCups::~TPrivateCups()
{
    Stop();
}

QString TPrivateCups::Server() const
{
    return QStringLiteral("127.0.0.1:%1").arg(FPort);
}

bool TPrivateCups::Start()
{
    const QString cupsd = QFile::exists(QStringLiteral("/usr/sbin/cupsd")) ? QStringLiteral("/usr/sbin/cupsd") : QString();
    if (cupsd.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("lpadmin")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("lp")).isEmpty()) {
        FWhy = QStringLiteral("cupsd, lpadmin or lp is not installed (packages cups-daemon, cups-client)");
        return false;
    }
    if (!FDir.isValid()) {
        FWhy = QStringLiteral("no temporary folder");
        return false;
    }
    const QDir root(FDir.path());
    for (const char* sub : {"spool", "cache", "state", "log", "out", "serverbin/backend"})
        root.mkpath(QLatin1String(sub));
    // as root the scheduler runs its jobs as "lp", which must reach the folders
    const bool asRoot = ::geteuid() == 0;
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                      | QFile::ExeOther;
    QFile::setPermissions(FDir.path(), open);
    QFile::setPermissions(root.filePath(QStringLiteral("out")), open | QFile::WriteGroup | QFile::WriteOther);
    QFile::setPermissions(root.filePath(QStringLiteral("spool")), open | QFile::WriteGroup | QFile::WriteOther);
    for (const char* sub : {"filter", "cgi-bin", "daemon", "monitor", "notifier", "driver"})
        QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(sub), root.filePath(QStringLiteral("serverbin/")) + QLatin1String(sub));
    if (!WriteFile(root.filePath(QStringLiteral("serverbin/backend/capture")), CaptureBackend, open)) {
        FWhy = QStringLiteral("cannot write the capture device");
        return false;
    }
    QString user = QStringLiteral("lp"), groupName = QStringLiteral("lp");
    if (!asRoot) {
        const passwd* pw = ::getpwuid(::geteuid());
        const struct group* gr = ::getgrgid(::getegid());
        user = pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(::geteuid());
        groupName = gr ? QString::fromLocal8Bit(gr->gr_name) : QString::number(::getegid());
    }
    const QString files = QStringLiteral(
                              "FileDevice Yes\nServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                              "TempDir %1/spool\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                              "ServerBin %1/serverbin\nDataDir /usr/share/cups\nUser %2\nGroup %3\n")
                              .arg(FDir.path(), user, groupName);
    if (!WriteFile(root.filePath(QStringLiteral("cups-files.conf")), files.toUtf8())) {
        FWhy = QStringLiteral("cannot write the configuration");
        return false;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        FPort = FreePort();
        const QString conf = QStringLiteral(
                                 "Listen 127.0.0.1:%1\nLogLevel info\nBrowsing No\nWebInterface No\n"
                                 "<Location />\nOrder allow,deny\nAllow from 127.0.0.1\n</Location>\n"
                                 "<Location /admin>\nOrder allow,deny\nAllow from 127.0.0.1\n</Location>\n"
                                 "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n")
                                 .arg(FPort);
        WriteFile(root.filePath(QStringLiteral("cupsd.conf")), conf.toUtf8());
        FDaemon.setProcessChannelMode(QProcess::MergedChannels);
        FDaemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        FDaemon.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), root.filePath(QStringLiteral("cupsd.conf")),
                              QStringLiteral("-s"), root.filePath(QStringLiteral("cups-files.conf"))});
        if (!FDaemon.waitForStarted(5000)) {
            FWhy = QStringLiteral("cupsd did not start: ") + FDaemon.errorString();
            return false;
        }
        qputenv("CUPS_SERVER", Server().toUtf8());
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000 && FDaemon.state() == QProcess::Running) {
            QString out;
            if (Run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &out) && !out.contains(QLatin1String("not")))
                return true;
            QThread::msleep(100);
        }
        FWhy = QStringLiteral("cupsd did not answer: ") + QString::fromLocal8Bit(FDaemon.readAll());
        FDaemon.kill();
        FDaemon.waitForFinished(5000);
    }
    return false;
}

bool TPrivateCups::Run(const QString& Program, const QStringList& Args, QString* Output) const
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(Program, Args);
    if (!p.waitForStarted(5000) || !p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(5000);
        return false;
    }
    if (Output)
        *Output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool TPrivateCups::AddPrinter(const QString& Name, bool Default)
{
    const QString device = QStringLiteral("capture:") + QDir(FDir.path()).filePath(QStringLiteral("out"));
    QString out;
    if (!Run(QStringLiteral("lpadmin"), {QStringLiteral("-p"), Name, QStringLiteral("-v"), device, QStringLiteral("-E")}, &out)) {
        FWhy = QStringLiteral("lpadmin: ") + out;
        return false;
    }
    if (Default && !Run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), Name}, &out)) {
        FWhy = QStringLiteral("lpadmin -d: ") + out;
        return false;
    }
    return true;
}

QStringList TPrivateCups::Jobs(int Count, int TimeoutMs) const
{
    const QDir out(QDir(FDir.path()).filePath(QStringLiteral("out")));
    QElapsedTimer t;
    t.start();
    QStringList names;
    for (;;) {
        names = out.entryList({QStringLiteral("job-*")}, QDir::Files, QDir::Name);
        if (names.size() >= Count || t.elapsed() > TimeoutMs)
            break;
        QThread::msleep(100);
    }
    for (QString& n : names)
        n = out.filePath(n);
    return names;
}

QString TPrivateCups::PdfText(const QString& File)
{
    QFile f(File);
    if (!f.open(QIODevice::ReadOnly) || !f.read(5).startsWith("%PDF-"))
        return QString();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), File, QStringLiteral("-")});
    if (!p.waitForStarted(5000) || !p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(5000);
        return QString();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

void TPrivateCups::Stop()
{
    if (FDaemon.state() != QProcess::NotRunning) {
        FDaemon.terminate();
        if (!FDaemon.waitForFinished(10000)) {
            FDaemon.kill();
            FDaemon.waitForFinished(5000);
        }
    }
    if (FHadOldServer)
        qputenv("CUPS_SERVER", FOldServer);
    else
        qunsetenv("CUPS_SERVER");
    FRunning = false;
}
