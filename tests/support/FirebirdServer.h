#pragma once
// Debian's Firebird server as a plain child process of the test: a root folder
// of its own (firebird.conf with a private loopback port, a security database
// made for it with a SYSDBA password, its own lock and temporary folders, so
// it shares nothing with the embedded engine or a system-wide server), started
// by the constructor once it accepts connections, and stopped by the
// destructor (killed when it does not end in time). The server also dies with
// the thread that started it, so a crashed test leaves no server behind.

#include <QString>
#include <QTemporaryDir>
#include <sys/types.h>

class TFirebirdServer {
public:
    // Throws std::runtime_error saying why the server could not be started.
    TFirebirdServer();
    ~TFirebirdServer();
    TFirebirdServer(const TFirebirdServer&) = delete;
    TFirebirdServer& operator=(const TFirebirdServer&) = delete;

    // Whether the server package is installed (its binary and isql exist).
    static bool Installed();

    int Port() const { return FPort; }
    pid_t Pid() const { return FPid; }
    static QString User() { return QStringLiteral("SYSDBA"); }
    static QString Password() { return QStringLiteral("srv-test"); }
    // The server's root folder, with a trailing "/".
    QString Folder() const;
    // The connection string of a database file on this server:
    // "127.0.0.1/<port>:<path>".
    QString Remote(const QString& LocalPath) const;
    // A fresh copy of the event database the build made, in the server's
    // folder; returns its local path.
    QString CopyEventDatabase(const QString& Name = QStringLiteral("EVENT.FDB")) const;

    // Stops the server (idempotent).
    void Stop();
    // Starts it again on the same port after Stop (a server restarted under
    // its clients); false when it did not come up.
    bool Restart();

private:
    void WriteRoot(int Port);
    void MakeSecurityDatabase();
    bool Start(int Port);

    QTemporaryDir FDir;
    int FPort = 0;
    pid_t FPid = -1;
};
