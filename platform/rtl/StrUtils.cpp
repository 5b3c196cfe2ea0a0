#include "platform/rtl/StrUtils.h"

#include "platform/rtl/Exception.h"

#include <cmath>
#include <limits>

int Length(const QString& S)
{
    return int(S.size());
}

QString Copy(const QString& S, int Index, int Count)
{
    if (Index < 1)
        Index = 1;
    if (Count <= 0 || Index > S.size())
        return QString();
    return S.mid(Index - 1, Count);
}

int Pos(const QString& SubStr, const QString& S, int Offset)
{
    if (SubStr.isEmpty() || Offset < 1 || Offset > S.size())
        return 0;
    return int(S.indexOf(SubStr, Offset - 1, Qt::CaseSensitive)) + 1;
}

QString LeftStr(const QString& S, int Count)
{
    return Count <= 0 ? QString() : S.left(Count);
}

QString RightStr(const QString& S, int Count)
{
    return Count <= 0 ? QString() : S.right(Count);
}

QString StringOfChar(QChar Ch, int Count)
{
    return Count <= 0 ? QString() : QString(Count, Ch);
}

void Delete(QString& S, int Index, int Count)
{
    if (Index < 1 || Index > S.size() || Count <= 0)
        return;
    S.remove(Index - 1, Count);
}

void Insert(const QString& Source, QString& S, int Index)
{
    if (Index < 1)
        Index = 1;
    if (Index > S.size() + 1)
        Index = int(S.size()) + 1;
    S.insert(Index - 1, Source);
}

QString Trim(const QString& S)
{
    int a = 0, b = int(S.size()) - 1;
    while (a <= b && S[a].unicode() <= ' ')
        ++a;
    while (b >= a && S[b].unicode() <= ' ')
        --b;
    return S.mid(a, b - a + 1);
}

QString TrimLeft(const QString& S)
{
    int a = 0;
    while (a < S.size() && S[a].unicode() <= ' ')
        ++a;
    return S.mid(a);
}

QString TrimRight(const QString& S)
{
    int b = int(S.size()) - 1;
    while (b >= 0 && S[b].unicode() <= ' ')
        --b;
    return S.left(b + 1);
}

QString UpperCase(const QString& S)
{
    QString r = S;
    for (QChar& c : r)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    return r;
}

QString LowerCase(const QString& S)
{
    QString r = S;
    for (QChar& c : r)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    return r;
}

QString AnsiUpperCase(const QString& S)
{
    return S.toUpper();
}

QString AnsiLowerCase(const QString& S)
{
    return S.toLower();
}

bool SameText(const QString& A, const QString& B)
{
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

int CompareText(const QString& A, const QString& B)
{
    return A.compare(B, Qt::CaseInsensitive);
}

int CompareStr(const QString& A, const QString& B)
{
    return A.compare(B, Qt::CaseSensitive);
}

bool ContainsText(const QString& Text, const QString& SubText)
{
    return Text.contains(SubText, Qt::CaseInsensitive);
}

bool StartsText(const QString& SubText, const QString& Text)
{
    return Text.startsWith(SubText, Qt::CaseInsensitive);
}

bool EndsText(const QString& SubText, const QString& Text)
{
    return Text.endsWith(SubText, Qt::CaseInsensitive);
}

QString StringReplace(const QString& S, const QString& OldPattern, const QString& NewPattern, int Flags)
{
    if (OldPattern.isEmpty())
        return S;
    const Qt::CaseSensitivity cs = (Flags & rfIgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (Flags & rfReplaceAll) {
        QString r = S;
        return r.replace(OldPattern, NewPattern, cs);
    }
    const qsizetype at = S.indexOf(OldPattern, 0, cs);
    if (at < 0)
        return S;
    QString r = S;
    r.replace(at, OldPattern.size(), NewPattern);
    return r;
}

QString AnsiQuotedStr(const QString& S, QChar Quote)
{
    QString r = S;
    r.replace(Quote, QString(2, Quote));
    return Quote + r + Quote;
}

QString QuotedStr(const QString& S)
{
    return AnsiQuotedStr(S, QLatin1Char('\''));
}

QString AnsiDequotedStr(const QString& S, QChar Quote)
{
    if (S.size() < 2 || S.front() != Quote || S.back() != Quote)
        return S;
    QString inner = S.mid(1, S.size() - 2);
    return inner.replace(QString(2, Quote), QString(Quote));
}

QString IntToStr(int64_t Value)
{
    return QString::number(qlonglong(Value));
}

QString IntToHex(uint64_t Value, int Digits)
{
    return QString::number(qulonglong(Value), 16).toUpper().rightJustified(Digits, QLatin1Char('0'));
}

// Accepts optional spaces before, a sign, decimal digits or a hexadecimal
// "$" / "0x" prefix, as the classic conversion does.
bool TryStrToInt64(const QString& S, int64_t& Value)
{
    QString t = S;
    int i = 0;
    while (i < t.size() && t[i] == QLatin1Char(' '))
        ++i;
    bool neg = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        neg = t[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == QLatin1Char('0') && (t[i + 1] == QLatin1Char('x') || t[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return false;
    unsigned long long acc = 0;
    const unsigned long long limit = neg ? 9223372036854775808ULL : 9223372036854775807ULL;
    for (; i < t.size(); ++i) {
        const int d = t[i].isDigit() && t[i].unicode() < 128 ? t[i].unicode() - '0'
                      : (base == 16 && t[i].toLower() >= QLatin1Char('a') && t[i].toLower() <= QLatin1Char('f'))
                          ? t[i].toLower().unicode() - 'a' + 10
                          : -1;
        if (d < 0 || d >= base)
            return false;
        if (acc > (limit - unsigned(d)) / unsigned(base)) {
            if (base == 16 && !neg) {
                // hexadecimal may fill all 64 bits
                if (acc > (std::numeric_limits<unsigned long long>::max() - unsigned(d)) / 16)
                    return false;
            } else {
                return false;
            }
        }
        acc = acc * unsigned(base) + unsigned(d);
    }
    Value = neg ? int64_t(0 - acc) : int64_t(acc);
    return true;
}

bool TryStrToInt(const QString& S, int& Value)
{
    int64_t v = 0;
    if (!TryStrToInt64(S, v))
        return false;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) {
        // hexadecimal texts of 8 digits are 32-bit patterns
        if (v > 0 && v <= 0xFFFFFFFFLL && (S.contains(QLatin1Char('$')) || S.contains(QLatin1String("0x"), Qt::CaseInsensitive))) {
            Value = int(uint32_t(v));
            return true;
        }
        return false;
    }
    Value = int(v);
    return true;
}

int StrToInt(const QString& S)
{
    int v = 0;
    if (!TryStrToInt(S, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    return v;
}

int StrToIntDef(const QString& S, int Default)
{
    int v = 0;
    return TryStrToInt(S, v) ? v : Default;
}

int64_t StrToInt64(const QString& S)
{
    int64_t v = 0;
    if (!TryStrToInt64(S, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    return v;
}

int64_t StrToInt64Def(const QString& S, int64_t Default)
{
    int64_t v = 0;
    return TryStrToInt64(S, v) ? v : Default;
}

QString FloatToStr(double Value, const TFormatSettings& FS)
{
    if (std::isnan(Value))
        return QStringLiteral("NAN");
    if (std::isinf(Value))
        return Value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    QString r = QString::number(Value, 'g', 15);
    if (r.contains(QLatin1Char('e'))) {
        r = r.toUpper();
        // the classic form writes the exponent with a sign and at least two digits
        const qsizetype e = r.indexOf(QLatin1Char('E'));
        QString mant = r.left(e), exp = r.mid(e + 1);
        QChar sign = QLatin1Char('+');
        if (exp.startsWith(QLatin1Char('-')) || exp.startsWith(QLatin1Char('+'))) {
            sign = exp[0];
            exp = exp.mid(1);
        }
        r = mant + QLatin1Char('E') + sign + exp.rightJustified(2, QLatin1Char('0'));
    }
    r.replace(QLatin1Char('.'), FS.DecimalSeparator);
    return r;
}

bool TryStrToFloat(const QString& S, double& Value, const TFormatSettings& FS)
{
    QString t = Trim(S);
    if (t.isEmpty())
        return false;
    if (FS.DecimalSeparator != QLatin1Char('.')) {
        if (t.count(FS.DecimalSeparator) + t.count(QLatin1Char('.')) > 1)
            return false;
        t.replace(FS.DecimalSeparator, QLatin1Char('.'));
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok)
        return false;
    Value = v;
    return true;
}

double StrToFloat(const QString& S, const TFormatSettings& FS)
{
    double v = 0;
    if (!TryStrToFloat(S, v, FS))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(S));
    return v;
}

double StrToFloatDef(const QString& S, double Default, const TFormatSettings& FS)
{
    double v = 0;
    return TryStrToFloat(S, v, FS) ? v : Default;
}

namespace {

QString GroupThousands(const QString& digits, QChar sep)
{
    QString r;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            r += sep;
        r += digits[i];
    }
    return r;
}

QString FormatFloatSection(const QString& section, double value, const TFormatSettings& FS)
{
    // Scan the placeholders: digits before and after the decimal point.
    int intZeros = 0, intHashes = 0, fracZeros = 0, fracHashes = 0;
    bool seenPoint = false, thousands = false;
    bool inQuote = false;
    QChar quote;
    for (QChar c : section) {
        if (inQuote) {
            if (c == quote)
                inQuote = false;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            inQuote = true;
            quote = c;
        } else if (c == QLatin1Char('0')) {
            (seenPoint ? fracZeros : intZeros)++;
        } else if (c == QLatin1Char('#')) {
            (seenPoint ? fracHashes : intHashes)++;
        } else if (c == QLatin1Char('.')) {
            seenPoint = true;
        } else if (c == QLatin1Char(',')) {
            thousands = true;
        }
    }
    const int decimals = fracZeros + fracHashes;
    QString num = QString::number(std::fabs(value), 'f', decimals);
    QString intPart = num, fracPart;
    const qsizetype dot = num.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        intPart = num.left(dot);
        fracPart = num.mid(dot + 1);
    }
    while (fracPart.size() > fracZeros && fracPart.endsWith(QLatin1Char('0')))
        fracPart.chop(1);
    if (intPart == QLatin1String("0") && intZeros == 0)
        intPart.clear();
    intPart = intPart.rightJustified(intZeros, QLatin1Char('0'));
    if (thousands)
        intPart = GroupThousands(intPart, FS.ThousandSeparator);
    QString numberText = intPart;
    if (!fracPart.isEmpty())
        numberText += FS.DecimalSeparator + fracPart;

    // Write literals around the number where they stand in the picture.
    QString out;
    bool numberWritten = false;
    inQuote = false;
    for (QChar c : section) {
        if (inQuote) {
            if (c == quote)
                inQuote = false;
            else
                out += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            inQuote = true;
            quote = c;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (!numberWritten) {
                out += numberText;
                numberWritten = true;
            }
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

QString FormatFloat(const QString& Fmt, double Value, const TFormatSettings& FS)
{
    QStringList sections = Fmt.split(QLatin1Char(';'));
    QString section = sections.value(0);
    bool negativeSection = false;
    if (Value < 0 && sections.size() > 1 && !sections[1].isEmpty()) {
        section = sections[1];
        negativeSection = true;
    } else if (Value == 0 && sections.size() > 2 && !sections[2].isEmpty()) {
        section = sections[2];
    }
    if (section.isEmpty())
        return FloatToStr(Value, FS);
    QString r = FormatFloatSection(section, Value, FS);
    if (Value < 0 && !negativeSection) {
        // no minus for a value that rounds to zero
        bool allZero = true;
        for (QChar c : r)
            if (c.isDigit() && c != QLatin1Char('0'))
                allZero = false;
        if (!allZero)
            r.prepend(QLatin1Char('-'));
    }
    return r;
}

QString Format(const QString& Fmt, const QVariantList& Args, const TFormatSettings& FS)
{
    auto invalid = [&]() -> EConvertError {
        return EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(Fmt));
    };
    QString out;
    int argIndex = 0;
    const int n = int(Fmt.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = Fmt[i];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (++i >= n)
            throw invalid();
        if (Fmt[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            continue;
        }
        auto readNumber = [&](int& value) -> bool {
            if (Fmt[i] == QLatin1Char('*')) {
                if (argIndex >= Args.size())
                    throw invalid();
                value = Args[argIndex++].toInt();
                ++i;
                return true;
            }
            if (!Fmt[i].isDigit())
                return false;
            value = 0;
            while (i < n && Fmt[i].isDigit())
                value = value * 10 + (Fmt[i++].unicode() - '0');
            return true;
        };
        bool left = false;
        int width = -1, prec = -1, num = -1;
        if (readNumber(num)) {
            if (i < n && Fmt[i] == QLatin1Char(':')) {
                argIndex = num;
                ++i;
                num = -1;
            } else {
                width = num;
            }
        }
        if (i < n && Fmt[i] == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        if (width < 0 && i < n)
            readNumber(width);
        if (i < n && Fmt[i] == QLatin1Char('.')) {
            ++i;
            if (i >= n || !readNumber(prec))
                prec = 0;
        }
        if (i >= n || argIndex >= Args.size())
            throw invalid();
        const QChar type = Fmt[i].toLower();
        const QVariant& arg = Args[argIndex++];
        const bool isNumber = arg.typeId() == QMetaType::Int || arg.typeId() == QMetaType::LongLong ||
                              arg.typeId() == QMetaType::UInt || arg.typeId() == QMetaType::ULongLong ||
                              arg.typeId() == QMetaType::Long || arg.typeId() == QMetaType::ULong ||
                              arg.typeId() == QMetaType::Short || arg.typeId() == QMetaType::UShort ||
                              arg.typeId() == QMetaType::Char || arg.typeId() == QMetaType::UChar;
        const bool isFloat = arg.typeId() == QMetaType::Double || arg.typeId() == QMetaType::Float;
        QString piece;
        switch (type.unicode()) {
        case 'd':
        case 'u': {
            if (!isNumber)
                throw invalid();
            const qlonglong v = arg.toLongLong();
            piece = QString::number(v < 0 ? -v : v);
            if (prec > 0)
                piece = piece.rightJustified(prec, QLatin1Char('0'));
            if (v < 0)
                piece.prepend(QLatin1Char('-'));
            break;
        }
        case 'x': {
            if (!isNumber)
                throw invalid();
            piece = QString::number(arg.toULongLong(), 16).toUpper();
            if (prec > 0)
                piece = piece.rightJustified(prec, QLatin1Char('0'));
            break;
        }
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm': {
            if (!isFloat && !isNumber)
                throw invalid();
            const double v = arg.toDouble();
            if (type == QLatin1Char('e')) {
                piece = QString::number(v, 'E', prec < 0 ? 14 : qMax(prec - 1, 0));
            } else if (type == QLatin1Char('g')) {
                piece = FloatToStr(v, FS);
            } else {
                const int d = prec < 0 ? 2 : prec;
                const QString pat = (type == QLatin1Char('f')) ? QStringLiteral("0.") + QString(d, QLatin1Char('0'))
                                                                : QStringLiteral("#,##0.") + QString(d, QLatin1Char('0'));
                piece = FormatFloat(d == 0 ? pat.left(pat.size() - 1) : pat, v, FS);
                if (type == QLatin1Char('m'))
                    piece += QLatin1Char(' ') + FS.CurrencyString;
            }
            piece.replace(QLatin1Char('.'), type == QLatin1Char('e') ? FS.DecimalSeparator : QChar(QLatin1Char('.')));
            break;
        }
        case 'p':
            piece = IntToHex(arg.toULongLong(), 16);
            break;
        case 's':
            if (isFloat || !arg.canConvert<QString>())
                throw invalid();
            piece = arg.toString();
            if (prec >= 0)
                piece = piece.left(prec);
            break;
        default:
            throw invalid();
        }
        if (width > piece.size())
            piece = left ? piece.leftJustified(width) : piece.rightJustified(width);
        out += piece;
    }
    return out;
}
