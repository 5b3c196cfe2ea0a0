#include "platform/os/NamedMutex.h"

#include <QDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString RuntimeDir()
{
    for (const char* var : {"SORVEX_RUNTIME_DIR", "XDG_RUNTIME_DIR"}) {
        const QString v = qEnvironmentVariable(var);
        if (!v.isEmpty() && QDir(v).exists())
            return v;
    }
    return QStringLiteral("/tmp");
}

TNamedMutex::TNamedMutex(const QString& Name)
{
    QString safe;
    for (QChar c : Name)
        safe += (c.isLetterOrNumber() || c == QLatin1Char('-')) ? c : QChar(QLatin1Char('_'));
    FLockFile = RuntimeDir() + QStringLiteral("/sorvex-") + safe + QStringLiteral(".lock");
    FFd = ::open(FLockFile.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (FFd < 0) {
        FLastError = ERROR_ACCESS_DENIED;
        FErrorText = QString::fromLocal8Bit(strerror(errno));
        return;
    }
    if (::flock(FFd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            FLastError = ERROR_ALREADY_EXISTS;
        } else {
            FLastError = ERROR_ACCESS_DENIED;
            FErrorText = QString::fromLocal8Bit(strerror(errno));
        }
        ::close(FFd);
        FFd = -1;
    }
}

TNamedMutex::~TNamedMutex()
{
    if (FFd >= 0) {
        ::flock(FFd, LOCK_UN);
        ::close(FFd);
    }
}
