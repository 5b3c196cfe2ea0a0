#include "tools/scramble/Scramble.h"

#include "app/vrkCommon.h"

QString ScrambleText(const QString& Plain, uint16_t Key)
{
    const QByteArray bytes = Plain.toUtf8();
    QString out;
    uint16_t key = Key;
    for (char ch : bytes) {
        const uint8_t c = uint8_t(ch) ^ uint8_t(key >> 8);  // the scrambled byte
        out += QString::asprintf("%02X", c);
        key = uint16_t((uint32_t(c) + key) * DecryptMultiplier + DecryptAddend);
    }
    return out;
}

QString ScrambleText(const QString& Plain)
{
    return ScrambleText(Plain, DecryptStartKey);
}
