#pragma once
// The scrambling counterpart of DecryptStr, for tests only: the program has none,
// the installation file's values are produced outside it.
#include <QString>
#include <cstdint>
QString ScrambleForTest(const QString& Plain, uint16_t Key);
