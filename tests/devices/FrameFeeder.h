#pragma once
// Feeds wire bytes to the frame assembler the way the reader port does: bytes
// arrive in chunks, each arrival announces every unread byte, the assembler
// takes them with GetChar, and bytes it leaves unread are announced again with
// the next arrival. Confirmed cards are collected; after each one the frame
// under assembly is replaced, as the reader window does.

#include "devices/vrkEmitReader.h"

#include <QByteArray>
#include <QStringList>
#include <cstdint>

class FrameFeeder {
public:
    explicit FrameFeeder(T250Read& Read);
    ~FrameFeeder();

    // One arrival of bytes at the current time.
    void Arrive(const QByteArray& Wire);
    // Arrivals of Chunk bytes each; 0 means all at once.
    void ArriveInChunks(const QByteArray& Wire, int Chunk);
    // Moves the assembler's clock on.
    void Pause(int64_t Milliseconds) { FNow += Milliseconds; }

    QStringList Emits;      // emit strings handed on
    QStringList Cards;      // their card numbers (field 7)
    int Unread() const { return static_cast<int>(FPending.size() - FPos); }
    int Taken = 0;          // bytes taken with GetChar

private:
    T250Read& FRead;
    QByteArray FPending;
    qsizetype FPos = 0;
    int64_t FNow = 1000000;
};

// Field n (1-based) of an emit string.
QString EmitField(const QString& Emit, int n);
// An emit string without its two read times, and what it must be for a card.
QString EmitContent(const QString& Emit);
struct TEmitCard;
QString ExpectedEmitContent(const TEmitCard& Card);
