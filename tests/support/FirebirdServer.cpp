#include "tests/support/FirebirdServer.h"

#include "tests/support/TestDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

const char* const kServerBinaries[] = {"/usr/sbin/firebird", "/opt/firebird/bin/firebird"};
const char* const kIsqlBinaries[] = {"/usr/bin/isql-fb", "/opt/firebird/bin/isql"};
// The installed engine's own files (plugins, messages, character sets) that
// the private root links to.
const char* const kLibraryFolders[] = {"/usr/lib/x86_64-linux-gnu/firebird/3.0", "/usr/lib/aarch64-linux-gnu/firebird/3.0",
                                       "/opt/firebird"};

QString FirstExisting(std::initializer_list<const char*> Paths)
{
    for (const char* p : Paths)
        if (QFileInfo::exists(QString::fromLatin1(p)))
            return QString::fromLatin1(p);
    return QString();
}

QString ServerBinary() { return FirstExisting({kServerBinaries[0], kServerBinaries[1]}); }
QString IsqlBinary() { return FirstExisting({kIsqlBinaries[0], kIsqlBinaries[1]}); }
QString LibraryFolder()
{
    for (const char* p : kLibraryFolders)
        if (QFileInfo::exists(QString::fromLatin1(p) + QStringLiteral("/plugins")))
            return QString::fromLatin1(p);
    return QString();
}

void Fail(const QString& Text)
{
    throw std::runtime_error(("Firebird server: " + Text).toStdString());
}

// A loopback port nobody listens on right now.
int FreePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (s >= 0 && ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    if (s >= 0)
        ::close(s);
    if (port == 0)
        Fail(QStringLiteral("no free loopback port"));
    return port;
}

bool Accepts(int Port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(Port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

// The child's environment: ours, with the engine pointed at the private root
// (configuration, lock files, sort files).
std::vector<std::string> ServerEnvironment(const QString& Root)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        if (v.rfind("FIREBIRD=", 0) != 0 && v.rfind("FIREBIRD_LOCK=", 0) != 0 && v.rfind("FIREBIRD_TMP=", 0) != 0)
            env.push_back(v);
    }
    const std::string root = Root.toStdString();
    env.push_back("FIREBIRD=" + root);
    env.push_back("FIREBIRD_LOCK=" + root + "lock");
    env.push_back("FIREBIRD_TMP=" + root + "tmp");
    return env;
}

// Starts Argv in its own process group with the private environment; stdin
// from /dev/null, stdout and stderr into Output. The child is killed when the
// starting thread ends, so no server outlives a crashed test.
pid_t Spawn(const QStringList& Argv, const QString& Root, const QString& Output)
{
    std::vector<std::string> args;
    for (const QString& a : Argv)
        args.push_back(a.toStdString());
    const std::vector<std::string> env = ServerEnvironment(Root);
    std::vector<char*> argp, envp;
    for (const std::string& a : args)
        argp.push_back(const_cast<char*>(a.c_str()));
    argp.push_back(nullptr);
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const std::string out = Output.toStdString();
    const std::string dir = Root.toStdString();
    const pid_t parent = ::getpid();

    const pid_t pid = ::fork();
    if (pid < 0)
        Fail(QStringLiteral("cannot start a process"));
    if (pid == 0) {
        // only async-signal-safe calls from here on
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        const int in = ::open("/dev/null", O_RDONLY);
        const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (in < 0 || o < 0 || ::chdir(dir.c_str()) != 0)
            ::_exit(127);
        ::dup2(in, 0);
        ::dup2(o, 1);
        ::dup2(o, 2);
        ::execve(argp[0], argp.data(), envp.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for Pid to end, at most Limit; true when it ended (and was reaped).
bool WaitEnd(pid_t Pid, std::chrono::milliseconds Limit, int* Status = nullptr)
{
    const auto until = std::chrono::steady_clock::now() + Limit;
    for (;;) {
        int st = 0;
        const pid_t r = ::waitpid(Pid, &st, WNOHANG);
        if (r == Pid || (r < 0 && errno == ECHILD)) {
            if (Status)
                *Status = st;
            return true;
        }
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(10ms);
    }
}

void KillGroup(pid_t Pid)
{
    ::kill(-Pid, SIGKILL);
    ::kill(Pid, SIGKILL);
    WaitEnd(Pid, 10s);
}

QByteArray ReadAll(const QString& Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& Path, const QByteArray& Text)
{
    QFile f(Path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Text) != Text.size())
        Fail(QStringLiteral("cannot write ") + Path);
}

}  // namespace

bool TFirebirdServer::Installed()
{
    return !ServerBinary().isEmpty() && !IsqlBinary().isEmpty() && !LibraryFolder().isEmpty();
}

TFirebirdServer::TFirebirdServer()
{
    if (!Installed())
        Fail(QStringLiteral("the server package (firebird3.0-server) is not installed"));
    if (!FDir.isValid())
        Fail(QStringLiteral("cannot create a temporary folder"));
    const QString lib = LibraryFolder();
    for (const char* item : {"plugins", "intl", "UDF", "firebird.msg", "plugins.conf"})
        QFile::link(lib + QLatin1Char('/') + QLatin1String(item), Folder() + QLatin1String(item));
    for (const char* sub : {"lock", "tmp"})
        if (::mkdir((Folder() + QLatin1String(sub)).toLocal8Bit().constData(), 0700) != 0)
            Fail(QStringLiteral("cannot create ") + Folder() + QLatin1String(sub));
    // A port taken between choosing it and the server binding it: try another.
    for (int attempt = 0; attempt < 3; ++attempt) {
        WriteRoot(FreePort());
        if (attempt == 0)
            MakeSecurityDatabase();
        if (Start(FPort))
            return;
    }
    Fail(QStringLiteral("the server did not start: ") + QString::fromLocal8Bit(ReadAll(Folder() + "server.out")));
}

TFirebirdServer::~TFirebirdServer()
{
    Stop();
}

QString TFirebirdServer::Folder() const
{
    return FDir.path() + QLatin1Char('/');
}

QString TFirebirdServer::Remote(const QString& LocalPath) const
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(FPort).arg(LocalPath);
}

QString TFirebirdServer::CopyEventDatabase(const QString& Name) const
{
    const QString path = Folder() + Name;
    QFile::remove(path);
    if (!QFile::copy(TestDatabase::TemplatePath(), path))
        Fail(QStringLiteral("cannot copy the event database template ") + TestDatabase::TemplatePath());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void TFirebirdServer::WriteRoot(int Port)
{
    FPort = Port;
    const QByteArray conf = "RemoteServicePort = " + QByteArray::number(Port)
                            + "\nRemoteBindAddress = 127.0.0.1\nSecurityDatabase = " + Folder().toUtf8()
                            + "security3.fdb\nUdfAccess = None\n";
    WriteFile(Folder() + "firebird.conf", conf);
    WriteFile(Folder() + "databases.conf", QByteArray());
}

// The security database is made with isql on the embedded engine inside the
// private root, and SYSDBA gets its password there before the server starts.
void TFirebirdServer::MakeSecurityDatabase()
{
    const QString script = Folder() + "security.sql";
    WriteFile(script, "create database '" + Folder().toUtf8() + "security3.fdb';\n"
                      "create or alter user SYSDBA password '" + Password().toUtf8() + "' using plugin Srp;\n"
                      "commit;\n");
    const QString out = Folder() + "isql.out";
    const pid_t pid = Spawn({IsqlBinary(), QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-user"), User(),
                             QStringLiteral("-i"), script},
                            Folder(), out);
    int status = 0;
    if (!WaitEnd(pid, 60s, &status)) {
        KillGroup(pid);
        Fail(QStringLiteral("isql did not finish making the security database"));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Fail(QStringLiteral("isql could not make the security database: ") + QString::fromLocal8Bit(ReadAll(out)));
}

bool TFirebirdServer::Start(int Port)
{
    FPid = Spawn({ServerBinary()}, Folder(), Folder() + "server.out");
    const auto until = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < until) {
        if (Accepts(Port))
            return true;
        if (WaitEnd(FPid, 0ms)) {
            FPid = -1;
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    Stop();
    return false;
}

bool TFirebirdServer::Restart()
{
    Stop();
    return Start(FPort);
}

void TFirebirdServer::Stop()
{
    if (FPid <= 0)
        return;
    ::kill(FPid, SIGTERM);
    if (!WaitEnd(FPid, 10s))
        KillGroup(FPid);
    FPid = -1;
}
