#pragma once
// Currency: money as a 64-bit integer of ten-thousandths, so sums and
// comparisons are exact; converted to double only for display arithmetic.

#include <QString>
#include <cstdint>

class Currency {
public:
    constexpr Currency() = default;
    static constexpr Currency FromRaw(int64_t Raw) { Currency c; c.FRaw = Raw; return c; }
    // Rounded half away from zero to four decimals.
    static Currency FromDouble(double Value);
    // A value held with Scale decimals (as a database NUMERIC is).
    static Currency FromScaled(int64_t Value, int Scale);

    constexpr int64_t Raw() const { return FRaw; }
    double ToDouble() const { return double(FRaw) / 10000.0; }
    // The value rescaled to Scale decimals, rounded half away from zero.
    int64_t ToScaled(int Scale) const;
    // Plain decimal text with "." and the fewest decimals (at least none): "12.5".
    QString ToPlainString() const;

    friend constexpr bool operator==(Currency a, Currency b) { return a.FRaw == b.FRaw; }
    friend constexpr auto operator<=>(Currency a, Currency b) { return a.FRaw <=> b.FRaw; }
    friend constexpr Currency operator+(Currency a, Currency b) { return FromRaw(a.FRaw + b.FRaw); }
    friend constexpr Currency operator-(Currency a, Currency b) { return FromRaw(a.FRaw - b.FRaw); }

private:
    int64_t FRaw = 0;
};

// Rescales a fixed-point integer from one number of decimals to another,
// rounding half away from zero when decimals are dropped.
int64_t RescaleFixed(int64_t Value, int FromScale, int ToScale);
// Decimal text of a fixed-point integer with Scale decimals, "." separated.
QString FixedToPlainString(int64_t Value, int Scale);
