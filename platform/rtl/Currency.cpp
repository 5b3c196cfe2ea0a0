#include "platform/rtl/Currency.h"

#include <cmath>

namespace {
int64_t Pow10(int n)
{
    int64_t r = 1;
    while (n-- > 0)
        r *= 10;
    return r;
}
}  // namespace

int64_t RescaleFixed(int64_t Value, int FromScale, int ToScale)
{
    if (FromScale == ToScale)
        return Value;
    if (ToScale > FromScale)
        return Value * Pow10(ToScale - FromScale);
    const int64_t d = Pow10(FromScale - ToScale);
    const int64_t q = Value / d;
    const int64_t r = Value % d;
    if (2 * (r < 0 ? -r : r) >= d)
        return q + (Value < 0 ? -1 : 1);
    return q;
}

QString FixedToPlainString(int64_t Value, int Scale)
{
    if (Scale <= 0)
        return QString::number(Value * Pow10(-Scale));
    const bool neg = Value < 0;
    const uint64_t mag = neg ? uint64_t(0) - uint64_t(Value) : uint64_t(Value);
    const uint64_t p = uint64_t(Pow10(Scale));
    QString frac = QString::number(mag % p).rightJustified(Scale, QLatin1Char('0'));
    QString s = QString::number(mag / p) + QLatin1Char('.') + frac;
    return neg ? QLatin1Char('-') + s : s;
}

Currency Currency::FromDouble(double Value)
{
    return FromRaw(int64_t(std::llround(Value * 10000.0)));
}

Currency Currency::FromScaled(int64_t Value, int Scale)
{
    return FromRaw(RescaleFixed(Value, Scale, 4));
}

int64_t Currency::ToScaled(int Scale) const
{
    return RescaleFixed(FRaw, 4, Scale);
}

QString Currency::ToPlainString() const
{
    QString s = FixedToPlainString(FRaw, 4);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}
