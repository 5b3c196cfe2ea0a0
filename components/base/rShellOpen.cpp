#include "components/base/rShellOpen.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

constexpr int OpenedOk = 33;
constexpr int FileNotFound = 2;
constexpr int NoAssociation = 31;

bool IsProgramFile(const QFileInfo& Info)
{
    if (!Info.isFile() || !Info.isExecutable())
        return false;
    QFile f(Info.filePath());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4);
    return head.startsWith("#!") || head == "\x7f" "ELF";
}

// The opener runs detached, so a viewer it starts outlives this program; a
// small shell writes its exit code where we can read it.
int AskOpener(const QString& FileName, const QString& Folder)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return QProcess::startDetached(QStringLiteral("xdg-open"), {FileName}, Folder) ? OpenedOk : NoAssociation;
    const QString status = dir.filePath(QStringLiteral("status"));
    const QString script = QStringLiteral("xdg-open \"$1\"; echo $? > \"$2.part\"; mv \"$2.part\" \"$2\"");
    if (!QProcess::startDetached(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, QStringLiteral("sh"), FileName, status}, Folder))
        return NoAssociation;
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(status)) {
        if (clock.elapsed() > ShellOpenAnswerMs) {
            dir.setAutoRemove(false);  // the shell still writes there; /tmp is cleaned by the system
            return OpenedOk;
        }
        QThread::msleep(15);
    }
    QFile f(status);
    if (!f.open(QIODevice::ReadOnly))
        return NoAssociation;
    const int code = f.readAll().trimmed().toInt();
    if (code == 0)
        return OpenedOk;
    return code == 2 ? FileNotFound : NoAssociation;
}

// A program file runs detached; hidden, it finds no display to show a window on.
int StartProgram(const QFileInfo& Info, const QString& Params, const QString& Folder, int ShowCmd)
{
    QProcess p;
    p.setProgram(Info.absoluteFilePath());
    p.setArguments(QProcess::splitCommand(Params));
    p.setWorkingDirectory(Folder);
    if (ShowCmd == SW_HIDE) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        p.setProcessEnvironment(env);
    }
    return p.startDetached() ? OpenedOk : NoAssociation;
}

}  // namespace

int ShellOpen(const QString& FileName, const QString& Params, const QString& Folder, int ShowCmd)
{
    const QFileInfo info(FileName);
    if (!info.exists() && !FileName.contains(QLatin1String("://")) && !FileName.startsWith(QLatin1String("mailto:")))
        return FileNotFound;
    if (IsProgramFile(info))
        return StartProgram(info, Params, Folder, ShowCmd);
    return AskOpener(FileName, Folder);
}
