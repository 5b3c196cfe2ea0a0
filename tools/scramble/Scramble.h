#pragma once
// The scrambled hexadecimal form of a text, as the program's DecryptStr reads
// it back: what an installer writes as USER_NAME and PASSWORD in
// vrkEventSystem.ini. The program itself never writes these.

#include <QString>
#include <cstdint>

QString ScrambleText(const QString& Plain, uint16_t Key);
// With the program's own start key.
QString ScrambleText(const QString& Plain);
