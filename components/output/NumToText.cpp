#include "components/output/NumToText.h"

#include "platform/rtl/Exception.h"

#include <cmath>
#include <memory>

namespace {

const char* const NumberOutOfRange = "Number out of range";

// Three grammatical forms chosen by the group value: 1, 2 to 4, the rest.
QString CzechForm(long long n, const char* one, const char* few, const char* many)
{
    if (n == 1)
        return QString::fromUtf8(one);
    if (n >= 2 && n <= 4)
        return QString::fromUtf8(few);
    return QString::fromUtf8(many);
}

// Half to even, as the cents of 0.125 must not depend on the machine's mode.
long long RoundHalfEven(double v)
{
    return static_cast<long long>(std::nearbyint(v));
}

} // namespace

void TNumToTextUniv::AddText(const QString& Word)
{
    if (Word.isEmpty())
        return;
    if (!Text.isEmpty())
        Text += Separator;
    Text += Word;
}

void TNumToTextUniv::Convert()
{
    Text.clear();
    double v = Value;
    if (std::isnan(v))
        throw Exception(QString::fromLatin1(NumberOutOfRange));
    if (!(v >= 0)) {
        AddNegative();
        v = -v;
    }
    if (v >= 1e15)
        throw Exception(QString::fromLatin1(NumberOutOfRange));
    FIntegerPart = static_cast<long long>(std::trunc(v));
    if (v >= 1) {
        long long scale = 1000000000000000LL;  // 10^(3*5)
        for (int n = 5; n >= 1; --n) {
            const long long lower = scale / 1000;
            const int g = static_cast<int>((FIntegerPart % scale) / lower);
            if (g > 0) {
                if (g > 99)
                    AddHundreds(g / 100, n);
                AddTens(g % 100, n);
                AddExp(g, n);
            }
            scale = lower;
        }
    } else {
        AddZero();
    }
    AddCurrency();
    const int cents = static_cast<int>(RoundHalfEven(v * 100) % 100);
    if (cents != 0) {
        AddTens(cents, 0);
        AddSubCurrency();
    }
}

// ---- English ------------------------------------------------------------------

void TNumToTextEN::AddDigit(int num, int)
{
    static const char* const words[] = {"One", "Two", "Three", "Four", "Five", "Six", "Seven",
                                        "Eight", "Nine", "Ten", "Eleven", "Twelve", "Thirteen",
                                        "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen",
                                        "Nineteen"};
    if (num >= 1 && num <= 19)
        AddText(QString::fromLatin1(words[num - 1]));
}

void TNumToTextEN::AddTens(int num, int exp)
{
    static const char* const tens[] = {"Twenty", "Thirty", "Forty", "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};
    if (num < 20) {
        AddDigit(num, exp);
        return;
    }
    AddText(QString::fromLatin1(tens[num / 10 - 2]));
    AddDigit(num % 10, 0);
}

void TNumToTextEN::AddHundreds(int num, int)
{
    AddDigit(num, 1);
    AddText(QStringLiteral("Hundred"));
}

void TNumToTextEN::AddExp(int, int exp)
{
    static const char* const words[] = {"", "", "Thousand", "Million", "Billion", "Trillion"};
    if (exp >= 2 && exp <= 5)
        AddText(QString::fromLatin1(words[exp]));
}

void TNumToTextEN::AddCurrency()
{
    if (Currency.isEmpty())
        return;
    if (Currency.compare(QLatin1String("short"), Qt::CaseInsensitive) == 0
        || Currency.compare(QLatin1String("long"), Qt::CaseInsensitive) == 0)
        AddText(IntegerPart() % 100 == 1 ? QStringLiteral("Dollar") : QStringLiteral("Dollars"));
    else
        AddText(Currency);
}

void TNumToTextEN::AddSubCurrency()
{
    AddText(SubCurrency.isEmpty() ? QStringLiteral("Cents") : SubCurrency);
}

void TNumToTextEN::AddNegative() { AddText(QStringLiteral("minus")); }
void TNumToTextEN::AddZero() { AddText(QStringLiteral("Zero")); }

// ---- Czech --------------------------------------------------------------------

void TNumToTextCZ::AddDigit(int num, int exp)
{
    static const char* const words[] = {"tři", "čtyři", "pět", "šest", "sedm", "osm", "devět", "deset",
                                        "jedenáct", "dvanáct", "třináct", "čtrnáct", "patnáct",
                                        "šestnáct", "sedmnáct", "osmnáct", "devatenáct"};
    if (num == 1)
        AddText(QString::fromUtf8(exp == 0 || exp == 1 || exp == 4 ? "jedna" : "jeden"));
    else if (num == 2)
        AddText(QString::fromUtf8(exp == 1 || exp == 4 ? "dvě" : "dva"));
    else if (num >= 3 && num <= 19)
        AddText(QString::fromUtf8(words[num - 3]));
}

void TNumToTextCZ::AddTens(int num, int exp)
{
    static const char* const tens[] = {"dvacet", "třicet", "čtyřicet", "padesát", "šedesát", "sedmdesát", "osmdesát", "devadesát"};
    if (num < 20) {
        AddDigit(num, exp);
        return;
    }
    AddText(QString::fromUtf8(tens[num / 10 - 2]));
    AddDigit(num % 10, 0);
}

void TNumToTextCZ::AddHundreds(int num, int)
{
    if (num > 1)
        AddDigit(num, 1);
    if (num == 1)
        AddText(QStringLiteral("sto"));
    else if (num == 2)
        AddText(QString::fromUtf8("stě"));
    else if (num <= 4)
        AddText(QStringLiteral("sta"));
    else
        AddText(QStringLiteral("set"));
}

void TNumToTextCZ::AddExp(int num, int exp)
{
    switch (exp) {
    case 2: AddText(QString::fromUtf8(num >= 2 && num <= 4 ? "tisíce" : "tisíc")); break;
    case 3: AddText(CzechForm(num, "milión", "milióny", "miliónů")); break;
    case 4: AddText(CzechForm(num, "miliarda", "miliardy", "miliard")); break;
    case 5: AddText(CzechForm(num, "bilión", "bilióny", "biliónů")); break;
    default: break;
    }
}

void TNumToTextCZ::AddCurrency()
{
    if (Currency.isEmpty())
        return;
    const long long m = IntegerPart() % 100;
    const bool isShort = Currency.compare(QLatin1String("short"), Qt::CaseInsensitive) == 0;
    const bool isLong = Currency.compare(QLatin1String("long"), Qt::CaseInsensitive) == 0;
    if (!isShort && !isLong) {
        AddText(Currency);
        return;
    }
    AddText(CzechForm(m, "koruna", "koruny", "korun"));
    if (isLong)
        AddText(CzechForm(m, "česká", "české", "českých"));
}

void TNumToTextCZ::AddSubCurrency()
{
    AddText(SubCurrency.isEmpty() ? QString::fromUtf8("haléřů") : SubCurrency);
}

void TNumToTextCZ::AddNegative() { AddText(QString::fromUtf8("mínus")); }
void TNumToTextCZ::AddZero() { AddText(QStringLiteral("nula")); }

// ---- front --------------------------------------------------------------------

QString NumToTextLang(const QString& Language, const QString& Separator, const QString& Currency,
                      double Value, const QString& SubCurrency)
{
    std::unique_ptr<TNumToTextUniv> c;
    if (Language.compare(QLatin1String("CZ"), Qt::CaseInsensitive) == 0)
        c = std::make_unique<TNumToTextCZ>();
    else
        c = std::make_unique<TNumToTextEN>();
    c->Separator = Separator;
    c->Currency = Currency;
    c->SubCurrency = SubCurrency;
    c->Value = Value;
    c->Convert();
    return c->Text;
}

QString NumToTextEN(const QString& Separator, const QString& Currency, const QString& SubCurrency, double Value)
{
    return NumToTextLang(QStringLiteral("EN"), Separator, Currency, Value, SubCurrency);
}

QString NumToTextCZ(const QString& Separator, const QString& Currency, const QString& SubCurrency, double Value)
{
    return NumToTextLang(QStringLiteral("CZ"), Separator, Currency, Value, SubCurrency);
}
