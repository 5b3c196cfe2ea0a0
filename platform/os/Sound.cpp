#include "platform/os/Sound.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <mutex>

namespace {

std::mutex SinkLock;
TSoundSink CurrentSink;

// The freedesktop sound theme's names for the four kinds.
QString SoundId(unsigned uType)
{
    switch (uType) {
    case MB_ICONASTERISK:
        return QStringLiteral("dialog-information");
    case MB_ICONEXCLAMATION:
        return QStringLiteral("dialog-warning");
    case MB_ICONHAND:
        return QStringLiteral("dialog-error");
    default:
        return QStringLiteral("bell");
    }
}

void Play(unsigned uType)
{
    // The player is looked up once; a machine without one stays silent.
    static const QString player = QStandardPaths::findExecutable(QStringLiteral("canberra-gtk-play"));
    if (player.isEmpty())
        return;
    QProcess::startDetached(player, {QStringLiteral("-i"), SoundId(uType)});
}

}  // namespace

bool MessageBeep(unsigned uType)
{
    TSoundSink sink;
    {
        std::lock_guard<std::mutex> g(SinkLock);
        sink = CurrentSink;
    }
    try {
        if (sink)
            sink(uType);
        else
            Play(uType);
    } catch (...) {
    }
    return true;
}

TSoundSink SetSoundSink(TSoundSink Sink)
{
    std::lock_guard<std::mutex> g(SinkLock);
    TSoundSink previous = std::move(CurrentSink);
    CurrentSink = std::move(Sink);
    return previous;
}
