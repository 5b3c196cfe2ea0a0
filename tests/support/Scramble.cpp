#include "tests/support/Scramble.h"

#include "tools/scramble/Scramble.h"

QString ScrambleForTest(const QString& Plain, uint16_t Key)
{
    return ScrambleText(Plain, Key);
}
