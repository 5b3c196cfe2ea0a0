#pragma once
// An Emit 250 card as the reader sends it: the 217-byte frame with its fields,
// and the XOR-ed bytes on the wire.
//
// Frame bytes (decoded, numbered from 1): 1-2 sync $FF $FF; 3-5 card number,
// least significant byte first; 6 unused; 7 production week; 8 production
// year; 9 unused; 10 check byte (bytes 3 to 10 sum to 0 modulo 256); 11+3i
// control code and 12+3i, 13+3i time of punch slot i (i = 0..49, time least
// significant byte first); 161-216 unused (Filler); 217 the reader's checksum
// (all 217 bytes sum to 0 modulo 256).

#include <QByteArray>
#include <QString>
#include <QVector>
#include <cstdint>

struct TEmitPunch {
    int Code = 0;
    int Time = 0;
};

struct TEmitCard {
    uint32_t Number = 0;  // 24 bits
    int Week = 0;
    int Year = 0;
    QVector<TEmitPunch> Punches;  // up to 50; the rest of the slots are zero
    QByteArray Filler;            // bytes 161..216; missing bytes are zero

    // "NUMBER[:WEEK:YEAR][,CODE/TIME]..." such as "12345:12:19,31/528,32/600".
    // Returns false for a description it cannot read.
    static bool Parse(const QString& Text, TEmitCard& Card);
};

constexpr int EmitFrameLength = 217;
constexpr uint8_t EmitXor = 0xDF;

// The 217 decoded bytes of the card's frame.
QByteArray EmitFrame(const TEmitCard& Card);
// The bytes on the wire: every byte XOR $DF.
QByteArray EmitWire(const QByteArray& Decoded);
// The frame's reader checksum (byte 217) and check byte (byte 10).
uint8_t EmitChecksum(const QByteArray& Frame);
uint8_t EmitCheckByte(const QByteArray& Frame);
