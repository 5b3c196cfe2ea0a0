#pragma once
// An Emit 250 card reader on the far end of a pseudo-terminal: cards are put
// on it from a thread of its own, so the test's main thread stays free to run
// the event loop that delivers the port's notifications.

#include "tests/support/PtyPair.h"
#include "tools/emitsim/EmitSimulator.h"

#include <atomic>
#include <cstdint>
#include <thread>

class SimulatedReader {
public:
    explicit SimulatedReader(int Baud = 9600);
    ~SimulatedReader();

    const QString& PortPath() const { return FPty.NearPath(); }
    PtyPair& Pty() { return FPty; }
    TEmitSimulator& Simulator() { return FSim; }

    // The card lies on the reader for Repeats frames, from a thread; Busy()
    // is true until the last byte is written. Bytes of the wire stream that
    // are not sent (Limit >= 0: the card is lifted after Limit bytes).
    void Place(const TEmitCard& Card, int Repeats, int Limit = -1);
    // Writes raw wire bytes at the line speed, from a thread.
    void Send(const QByteArray& Wire);
    bool Busy() const { return FBusy; }
    void Wait();
    // Steady-clock microseconds at which the last byte of the last send was
    // written.
    int64_t LastByteMicros() const { return FLastByte; }

private:
    PtyPair FPty;
    TEmitSimulator FSim;
    std::thread FThread;
    std::atomic<bool> FBusy{false};
    std::atomic<int64_t> FLastByte{0};
};
