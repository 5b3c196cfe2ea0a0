#include "platform/comm/CommPorts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

QMutex gLock;
QStringList gRegistered;

bool HasDriver(const QString& TtyName)
{
    return QFileInfo::exists(QStringLiteral("/sys/class/tty/%1/device/driver").arg(TtyName));
}

}  // namespace

QStringList CommPortList()
{
    QStringList result;
    QStringList covered;
    QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& fi : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        result << fi.absoluteFilePath();
        covered << fi.canonicalFilePath();
    }
    QDir dev(QStringLiteral("/dev"));
    const QStringList names = dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*"), QStringLiteral("ttyS*")},
                                            QDir::System | QDir::Files);
    for (const QString& n : names) {
        const QString path = QStringLiteral("/dev/") + n;
        if (covered.contains(path))
            continue;
        // Most on-board ttyS entries are placeholders without hardware.
        if (n.startsWith(QLatin1String("ttyS")) && !HasDriver(n))
            continue;
        if (n.startsWith(QLatin1String("ttyS"))) {
            const QString type = QStringLiteral("/sys/class/tty/%1/type").arg(n);
            QFile f(type);
            if (f.open(QIODevice::ReadOnly) && f.readAll().trimmed() == "0")
                continue;
        }
        result << path;
    }
    {
        QMutexLocker g(&gLock);
        for (const QString& p : gRegistered)
            if (!result.contains(p))
                result << p;
    }
    result.sort();
    return result;
}

QString CommPortPath(int Number)
{
    const QStringList list = CommPortList();
    if (Number < 1 || Number > list.size())
        return QString();
    return list.at(Number - 1);
}

int CommPortNumber(const QString& Path)
{
    return static_cast<int>(CommPortList().indexOf(Path)) + 1;
}

bool CommPortExists(const QString& Path)
{
    if (Path.isEmpty())
        return false;
    const QByteArray p = QFile::encodeName(Path);
    int fd = ::open(p.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY || errno == EACCES || errno == EPERM;
    termios t{};
    const bool tty = tcgetattr(fd, &t) == 0;
    ::close(fd);
    return tty;
}

void RegisterCommPort(const QString& Path)
{
    QMutexLocker g(&gLock);
    if (!gRegistered.contains(Path))
        gRegistered << Path;
}

void UnregisterCommPort(const QString& Path)
{
    QMutexLocker g(&gLock);
    gRegistered.removeAll(Path);
}
