#pragma once
// A pseudo-terminal pair for tests: the near end is a serial port the port
// layer opens by path (it is entered in the port list while the pair lives),
// the far end plays the device: the test writes what the device sends and
// reads what the program sent.

#include "platform/comm/PseudoTerminal.h"

#include <QByteArray>
#include <QString>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const QString& NearPath() const { return FPty.SlavePath(); }
    int FarFd() const { return FPty.MasterFd(); }
    // The port number of the near end in the port list.
    int NearNumber() const;

    // Writes all bytes at once on the far end.
    void WriteFar(const QByteArray& Bytes);
    // Reads from the far end until Count bytes came or TimeoutMs passed.
    QByteArray ReadFar(int Count, int TimeoutMs);
    // Drops what the far end has not read yet.
    void DrainFar();
    // Closes the far end, as a device unplugged.
    void CloseFar();

private:
    TPseudoTerminal FPty;
};
