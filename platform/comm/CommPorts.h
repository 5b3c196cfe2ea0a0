#pragma once
// The serial ports of this computer, named by device path.
//
// The list holds the stable by-id names of USB adapters, the USB and ACM
// devices without such a name, the on-board ports that have a driver and any
// path registered by the program or a test. It is sorted by text; where the port layer speaks of port number n it means entry n of this
// list (1-based).

#include <QString>
#include <QStringList>

QStringList CommPortList();
// The path of port number n, empty when there is none.
QString CommPortPath(int Number);
// The number of a path in the list, 0 when it is not listed.
int CommPortNumber(const QString& Path);
// Whether the path names a serial device that exists (held by someone or not).
bool CommPortExists(const QString& Path);

// Paths the system cannot discover by itself (pseudo-terminals).
void RegisterCommPort(const QString& Path);
void UnregisterCommPort(const QString& Path);
