#include "platform/rtl/FileUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

QString IncludeTrailingPathDelimiter(const QString& S)
{
    return S.endsWith(QLatin1Char('/')) ? S : S + QLatin1Char('/');
}

QString ExcludeTrailingPathDelimiter(const QString& S)
{
    QString r = S;
    while (r.size() > 1 && r.endsWith(QLatin1Char('/')))
        r.chop(1);
    return r;
}

QString ExtractFilePath(const QString& FileName)
{
    const qsizetype p = FileName.lastIndexOf(QLatin1Char('/'));
    return p >= 0 ? FileName.left(p + 1) : QString();
}

QString ExtractFileDir(const QString& FileName)
{
    const qsizetype p = FileName.lastIndexOf(QLatin1Char('/'));
    return p > 0 ? FileName.left(p) : (p == 0 ? QStringLiteral("/") : QString());
}

QString ExtractFileName(const QString& FileName)
{
    return FileName.mid(FileName.lastIndexOf(QLatin1Char('/')) + 1);
}

QString ExtractFileExt(const QString& FileName)
{
    const QString name = ExtractFileName(FileName);
    const qsizetype p = name.lastIndexOf(QLatin1Char('.'));
    return p >= 0 ? name.mid(p) : QString();
}

QString ChangeFileExt(const QString& FileName, const QString& Extension)
{
    const QString ext = ExtractFileExt(FileName);
    return FileName.left(FileName.size() - ext.size()) + Extension;
}

bool FileExists(const QString& FileName)
{
    const QFileInfo fi(FileName);
    return fi.exists() && !fi.isDir();
}

bool DirectoryExists(const QString& Directory)
{
    return QFileInfo(Directory).isDir();
}

bool ForceDirectories(const QString& Dir)
{
    return !Dir.isEmpty() && QDir().mkpath(Dir);
}

bool CreateDir(const QString& Dir)
{
    return QDir().mkdir(Dir);
}

bool DeleteFile(const QString& FileName)
{
    return QFile::remove(FileName);
}

bool RenameFile(const QString& OldName, const QString& NewName)
{
    return QFile::rename(OldName, NewName);
}

QString ExecutableDir()
{
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0)
        return IncludeTrailingPathDelimiter(QDir::currentPath());
    return ExtractFilePath(QString::fromLocal8Bit(buf, n));
}

void Sleep(unsigned Milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

void SetUserFileMode(const QString& FileName)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(FileName).constData(), 0666 & ~mask);
}
