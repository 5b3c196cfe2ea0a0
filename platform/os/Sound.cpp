#include "platform/os/Sound.h"

#include <canberra.h>

#include <QtGlobal>
#include <atomic>
#include <mutex>

namespace {

std::mutex gSoundLock;
TSoundSink gSink;
ca_context* gContext = nullptr;
bool gContextFailed = false;
std::atomic<bool> gFailureLogged{false};

void LogFailureOnce(const char* What, int Code)
{
    if (!gFailureLogged.exchange(true))
        qWarning("No event sounds: %s (%s); beeps stay silent", What, ca_strerror(Code));
}

// Opens the sound system at the first beep; a failure is kept so that a
// computer without sound does not retry on every beep.
ca_context* Context()
{
    if (gContext || gContextFailed)
        return gContext;
    int rc = ca_context_create(&gContext);
    if (rc == CA_SUCCESS)
        rc = ca_context_change_props(gContext, CA_PROP_APPLICATION_NAME, "sorvex", nullptr);
    if (rc == CA_SUCCESS)
        rc = ca_context_open(gContext);
    if (rc != CA_SUCCESS) {
        if (gContext)
            ca_context_destroy(gContext);
        gContext = nullptr;
        gContextFailed = true;
        LogFailureOnce("the sound system did not open", rc);
    }
    return gContext;
}

bool Play(const QString& EventId)
{
    std::lock_guard<std::mutex> lock(gSoundLock);
    if (gSink) {
        gSink(EventId);
        return true;
    }
    ca_context* ctx = Context();
    if (!ctx)
        return false;
    const int rc = ca_context_play(ctx, 0, CA_PROP_EVENT_ID, EventId.toUtf8().constData(), nullptr);
    if (rc != CA_SUCCESS) {
        LogFailureOnce("a sound could not be played", rc);
        return false;
    }
    return true;
}

} // namespace

QString SoundEventId(UINT uType)
{
    switch (uType) {
    case MB_ICONHAND: return QStringLiteral("dialog-error");
    case 0x20: return QStringLiteral("dialog-question");
    case MB_ICONEXCLAMATION: return QStringLiteral("dialog-warning");
    case MB_ICONASTERISK: return QStringLiteral("dialog-information");
    default: return QStringLiteral("bell");
    }
}

bool MessageBeep(UINT uType)
{
    return Play(SoundEventId(uType));
}

bool Beep(DWORD dwFreq, DWORD dwDuration)
{
    Q_UNUSED(dwFreq);
    Q_UNUSED(dwDuration);
    return Play(SoundEventId(MB_SIMPLEBEEP));
}

void SetSoundSink(TSoundSink Sink)
{
    std::lock_guard<std::mutex> lock(gSoundLock);
    gSink = std::move(Sink);
}
