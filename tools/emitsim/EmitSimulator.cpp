#include "tools/emitsim/EmitSimulator.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <thread>
#include <unistd.h>

TEmitSimulator::TEmitSimulator(int Fd, int Baud)
    : FFd(Fd)
    , FBaud(Baud > 0 ? Baud : 9600)
{
}

bool TEmitSimulator::WritePaced(const QByteArray& Wire)
{
    using clock = std::chrono::steady_clock;
    // Bytes leave in small groups, as a UART with a short FIFO delivers them;
    // the group's time on the line is kept exactly over the whole stream.
    const int group = FPacing ? 4 : static_cast<int>(Wire.size());
    const auto start = clock::now();
    int sent = 0;
    while (sent < Wire.size()) {
        if (FStop)
            return false;
        const int n = std::min<int>(group, static_cast<int>(Wire.size()) - sent);
        int done = 0;
        while (done < n) {
            ssize_t w = ::write(FFd, Wire.constData() + sent + done, static_cast<size_t>(n - done));
            if (w > 0) {
                done += static_cast<int>(w);
                continue;
            }
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0 && errno == EAGAIN) {
                pollfd p{FFd, POLLOUT, 0};
                ::poll(&p, 1, 50);
                continue;
            }
            return false;
        }
        sent += n;
        if (FPacing) {
            const auto due = start + std::chrono::microseconds(static_cast<int64_t>(sent * ByteMicros()));
            std::this_thread::sleep_until(due);
        }
    }
    return true;
}

bool TEmitSimulator::PlaceCard(const TEmitCard& Card, int Repeats, int StartOffset)
{
    const QByteArray wire = EmitWire(EmitFrame(Card));
    QByteArray stream;
    for (int i = 0; i < Repeats; ++i)
        stream += wire;
    return WritePaced(stream.mid(std::max(0, StartOffset)));
}
