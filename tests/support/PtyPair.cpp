#include "tests/support/PtyPair.h"

#include "platform/comm/CommPorts.h"

#include <QElapsedTimer>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

PtyPair::PtyPair()
{
    if (!FPty.Open())
        throw std::runtime_error("cannot open a pseudo-terminal");
    RegisterCommPort(FPty.SlavePath());
}

PtyPair::~PtyPair()
{
    UnregisterCommPort(FPty.SlavePath());
}

int PtyPair::NearNumber() const
{
    return CommPortNumber(FPty.SlavePath());
}

void PtyPair::WriteFar(const QByteArray& Bytes)
{
    int done = 0;
    while (done < Bytes.size()) {
        ssize_t n = ::write(FarFd(), Bytes.constData() + done, static_cast<size_t>(Bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw std::runtime_error("write to the far end failed");
        done += static_cast<int>(n);
    }
}

QByteArray PtyPair::ReadFar(int Count, int TimeoutMs)
{
    QByteArray result;
    QElapsedTimer t;
    t.start();
    while (result.size() < Count) {
        const int left = TimeoutMs - static_cast<int>(t.elapsed());
        if (left <= 0)
            break;
        pollfd p{FarFd(), POLLIN, 0};
        if (::poll(&p, 1, left) <= 0)
            continue;
        if (!(p.revents & POLLIN)) {
            // No near end open at the moment: nothing can come yet.
            ::usleep(2000);
            continue;
        }
        char buf[4096];
        ssize_t n = ::read(FarFd(), buf, std::min<size_t>(sizeof buf, static_cast<size_t>(Count - result.size())));
        if (n > 0)
            result.append(buf, static_cast<int>(n));
        else
            ::usleep(2000);
    }
    return result;
}

void PtyPair::DrainFar()
{
    for (;;) {
        pollfd p{FarFd(), POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0 || !(p.revents & POLLIN))
            return;
        char buf[4096];
        if (::read(FarFd(), buf, sizeof buf) <= 0)
            return;
    }
}

void PtyPair::CloseFar()
{
    FPty.CloseMaster();
}
