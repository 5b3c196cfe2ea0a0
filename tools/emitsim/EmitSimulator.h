#pragma once
// The card reader played on the far end of a pseudo-terminal: while a card
// lies on it the reader sends the card's frame again and again, at the line
// speed of 9600 baud (8 data bits, no parity, 1 stop bit: 960 bytes a second).

#include "tools/emitsim/EmitCard.h"

#include <QByteArray>
#include <atomic>
#include <cstdint>

class TEmitSimulator {
public:
    // Fd is the far end; it stays owned by the caller.
    explicit TEmitSimulator(int Fd, int Baud = 9600);

    // Writes wire bytes paced at the line speed. Pacing off writes at once.
    // False when the far end failed or Stop was called.
    bool WritePaced(const QByteArray& Wire);
    // The card lies on the reader for Repeats frames. The reader may be caught
    // mid-frame: the first StartOffset bytes of the first frame are not sent.
    bool PlaceCard(const TEmitCard& Card, int Repeats, int StartOffset = 0);

    void SetPacing(bool On) { FPacing = On; }
    int Baud() const { return FBaud; }
    // Ends a running PlaceCard or WritePaced from another thread (the card is
    // lifted).
    void Stop() { FStop = true; }
    void Reset() { FStop = false; }
    // Microseconds a byte takes on the line (ten bits).
    double ByteMicros() const { return 10.0e6 / FBaud; }

private:
    int FFd;
    int FBaud;
    bool FPacing = true;
    std::atomic<bool> FStop{false};
};
