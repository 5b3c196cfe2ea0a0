#include "platform/os/QuitSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int gPipe[2] = {-1, -1};
std::atomic<int> gReceived{0};
TQuitSignalHandler gHandler;

// Async-signal-safe: a byte into the pipe, or the default action for the
// second signal.
void OnSignal(int Signal)
{
    if (gReceived.fetch_add(1) > 0) {
        std::signal(Signal, SIG_DFL);
        ::raise(Signal);
        return;
    }
    const unsigned char b = static_cast<unsigned char>(Signal);
    const int saved = errno;
    [[maybe_unused]] const ssize_t n = ::write(gPipe[1], &b, 1);
    errno = saved;
}

bool OpenPipe()
{
    if (gPipe[0] >= 0)
        return true;
    if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto* notifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        unsigned char b = 0;
        while (::read(gPipe[0], &b, 1) == 1)
            if (gHandler)
                gHandler(b);
    });
    return true;
}

}  // namespace

void ReclaimQuitSignals()
{
    if (gPipe[0] < 0 || !gHandler)
        return;
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

void WatchQuitSignals(TQuitSignalHandler Handler)
{
    gHandler = std::move(Handler);
    gReceived = 0;
    if (!gHandler) {
        // Nobody to close: the signals do what they do by default again.
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        return;
    }
    if (OpenPipe())
        ReclaimQuitSignals();
}

const char* QuitSignalName(int Signal)
{
    switch (Signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "?";
    }
}
