#pragma once
// A pseudo-terminal pair: the far end (master) for a program that plays a
// device, the near end a path that the port layer opens like a serial port.

#include <QString>

class TPseudoTerminal {
public:
    TPseudoTerminal() = default;
    ~TPseudoTerminal();
    TPseudoTerminal(const TPseudoTerminal&) = delete;
    TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

    // Creates the pair; false with errno set on failure.
    bool Open();
    // Closes the far end: whoever holds the near end sees the line hang up.
    void CloseMaster();
    int MasterFd() const { return FMaster; }
    const QString& SlavePath() const { return FSlavePath; }

private:
    int FMaster = -1;
    QString FSlavePath;
};
