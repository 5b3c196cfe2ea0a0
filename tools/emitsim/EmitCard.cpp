#include "tools/emitsim/EmitCard.h"

#include <QStringList>

namespace {

uint8_t Negated(int Sum)
{
    return static_cast<uint8_t>((256 - (Sum & 0xFF)) & 0xFF);
}

}  // namespace

bool TEmitCard::Parse(const QString& Text, TEmitCard& Card)
{
    Card = TEmitCard();
    const QStringList parts = Text.trimmed().split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return false;
    const QStringList head = parts.first().split(QLatin1Char(':'));
    bool ok = false;
    const qulonglong number = head.value(0).toULongLong(&ok);
    if (!ok || number > 0xFFFFFF)
        return false;
    Card.Number = static_cast<uint32_t>(number);
    if (head.size() >= 2) {
        Card.Week = head.at(1).toInt(&ok);
        if (!ok || Card.Week < 0 || Card.Week > 255)
            return false;
    }
    if (head.size() >= 3) {
        Card.Year = head.at(2).toInt(&ok);
        if (!ok || Card.Year < 0 || Card.Year > 255)
            return false;
    }
    for (int i = 1; i < parts.size(); ++i) {
        const QStringList p = parts.at(i).split(QLatin1Char('/'));
        TEmitPunch punch;
        bool ok1 = false, ok2 = p.size() == 2;
        punch.Code = p.value(0).toInt(&ok1);
        if (ok2)
            punch.Time = p.value(1).toInt(&ok2);
        if (!ok1 || !ok2 || punch.Code < 0 || punch.Code > 255 || punch.Time < 0 || punch.Time > 65535
            || Card.Punches.size() >= 50)
            return false;
        Card.Punches << punch;
    }
    return true;
}

QByteArray EmitFrame(const TEmitCard& Card)
{
    QByteArray f(EmitFrameLength, '\0');
    auto set = [&f](int k, int v) { f[k - 1] = static_cast<char>(v & 0xFF); };
    set(1, 0xFF);
    set(2, 0xFF);
    set(3, Card.Number);
    set(4, Card.Number >> 8);
    set(5, Card.Number >> 16);
    set(7, Card.Week);
    set(8, Card.Year);
    int sum = 0;
    for (int k = 3; k <= 9; ++k)
        sum += static_cast<uint8_t>(f[k - 1]);
    set(10, Negated(sum));
    for (int i = 0; i < Card.Punches.size() && i < 50; ++i) {
        set(11 + 3 * i, Card.Punches[i].Code);
        set(12 + 3 * i, Card.Punches[i].Time);
        set(13 + 3 * i, Card.Punches[i].Time >> 8);
    }
    for (int k = 161; k <= 216 && k - 161 < Card.Filler.size(); ++k)
        f[k - 1] = Card.Filler[k - 161];
    int all = 0;
    for (int k = 1; k <= 216; ++k)
        all += static_cast<uint8_t>(f[k - 1]);
    set(217, Negated(all));
    return f;
}

QByteArray EmitWire(const QByteArray& Decoded)
{
    QByteArray w = Decoded;
    for (char& c : w)
        c = static_cast<char>(static_cast<uint8_t>(c) ^ EmitXor);
    return w;
}

uint8_t EmitChecksum(const QByteArray& Frame)
{
    return static_cast<uint8_t>(Frame.at(EmitFrameLength - 1));
}

uint8_t EmitCheckByte(const QByteArray& Frame)
{
    return static_cast<uint8_t>(Frame.at(9));
}
