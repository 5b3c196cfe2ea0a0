// Reading date-time texts written in a display format (part of the utility
// routines of rtool.h).
#include "components/base/rtool.h"

#include "platform/rtl/StrUtils.h"

#include <cmath>

namespace {

const QString FormatSeparators = QStringLiteral(" .-/:*_[]{}()");
constexpr int MaxPieces = 10;

struct TPiece {
    QString Text;
    QString Separator;
};

// The format cut at its separators (at most MaxPieces pieces; the last one
// has no separator).
std::vector<TPiece> CutFormat(const QString& Format)
{
    std::vector<TPiece> pieces;
    QString rest = Format;
    while (int(pieces.size()) < MaxPieces - 1) {
        int at = -1;
        for (int i = 0; i < rest.size(); ++i)
            if (FormatSeparators.contains(rest[i])) {
                at = i;
                break;
            }
        if (at < 0)
            break;
        pieces.push_back({rest.left(at), rest.mid(at, 1)});
        rest = rest.mid(at + 1);
    }
    pieces.push_back({rest, QString()});
    return pieces;
}

// The text cut with the format's separators in turn.
QStringList CutText(const QString& S, const std::vector<TPiece>& Format, QChar DateSeparator)
{
    QStringList parts;
    QString rest = S;
    for (const TPiece& f : Format) {
        int at = f.Separator.isEmpty() ? -1 : int(rest.indexOf(f.Separator));
        int sepLength = int(f.Separator.size());
        if (at < 0 && f.Separator == QLatin1String("/")) {
            at = int(rest.indexOf(DateSeparator));
            sepLength = 1;
        }
        if (at < 0) {
            parts << rest;
            rest.clear();
        } else {
            parts << rest.left(at);
            rest = rest.mid(at + sepLength);
        }
    }
    return parts;
}

class TScan {
public:
    TScan(const std::vector<TPiece>& Format, const QStringList& Parts) : FFormat(Format), FParts(Parts) {}

    // The index of the Occurrence-th format piece that holds Letter and is
    // not longer than Limit, or -1.
    int PieceOf(QChar Letter, int Limit, int Occurrence = 1) const
    {
        int seen = 0;
        for (int i = 0; i < int(FFormat.size()); ++i) {
            const QString& f = FFormat[size_t(i)].Text;
            if (f.contains(Letter, Qt::CaseInsensitive) && f.size() <= Limit && ++seen == Occurrence)
                return i;
        }
        return -1;
    }

    QString Part(int Piece) const { return Piece >= 0 && Piece < FParts.size() ? FParts[Piece].trimmed() : QString(); }

    // The number of a component, 0 when its text is no number, -1 when no piece qualified.
    int Number(QChar Letter, int Limit, int Occurrence = 1) const
    {
        const int piece = PieceOf(Letter, Limit, Occurrence);
        if (piece < 0)
            return -1;
        bool ok = false;
        const int v = Part(piece).toInt(&ok);
        return ok ? v : 0;
    }

    bool AnyPartIs(const QString& Text) const
    {
        if (Text.isEmpty())
            return false;
        for (const QString& p : FParts)
            if (p.trimmed().compare(Text, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

private:
    const std::vector<TPiece>& FFormat;
    const QStringList& FParts;
};

}  // namespace

bool ScanFormattedDateTime(const QString& S, const QString& Format, TDateTime& Value, const TFormatSettings& Settings)
{
    QString format = Format;
    format.remove(QLatin1Char('"'));
    const std::vector<TPiece> pieces = CutFormat(format);
    const QStringList parts = CutText(S, pieces, Settings.DateSeparator);
    const TScan scan(pieces, parts);

    const int day = scan.Number(QLatin1Char('d'), 2);
    int month = scan.Number(QLatin1Char('m'), 4);
    if (month == 0) {
        const QString name = scan.Part(scan.PieceOf(QLatin1Char('m'), 4));
        for (int i = 0; i < 12; ++i)
            if (name.compare(Settings.ShortMonthNames.value(i), Qt::CaseInsensitive) == 0 ||
                name.compare(Settings.LongMonthNames.value(i), Qt::CaseInsensitive) == 0) {
                month = i + 1;
                break;
            }
    }
    int year = scan.Number(QLatin1Char('y'), 4);
    const int hour = scan.Number(QLatin1Char('h'), 2);
    int minute = scan.Number(QLatin1Char('n'), 2);
    const int second = scan.Number(QLatin1Char('s'), 2);
    const int msec = scan.Number(QLatin1Char('z'), 3);

    int curYear = 0, curMonth = 0, curDay = 0;
    DecodeDate(Date(), curYear, curMonth, curDay);
    if (day != -1) {
        // a format with a day but no year part means the current year
        if (year <= 0)
            year = curYear;
        else if (year < 100)
            year += curYear / 100 * 100;
    }
    if (minute == -1) {
        // minutes written with "m": the only "m" of a time, else the second one
        minute = day == -1 && year == -1 ? scan.Number(QLatin1Char('m'), 2) : scan.Number(QLatin1Char('m'), 4, 2);
    }

    TDateTime result = 0;
    bool added = false;
    if (day != -1) {
        TDateTime d = 0;
        if (!TryEncodeDate(year, month, day, d))
            return false;
        result += d;
        added = true;
    }
    if (hour != -1) {
        int h = std::max(0, hour);
        // an afternoon hour is moved on by twelve (12 pm stays noon)
        if (h < 12 && (scan.AnyPartIs(QStringLiteral("pm")) || scan.AnyPartIs(Settings.TimePMString)))
            h += 12;
        TDateTime t = 0;
        if (!TryEncodeTime(h, std::max(0, minute), std::max(0, second), std::max(0, msec), t))
            return false;
        result += t;
        added = true;
    }
    if (!added)
        return false;
    Value = result;
    return true;
}

bool ScanFormattedDateTime(const QString& S, const QString& Format, TDateTime& Value)
{
    return ScanFormattedDateTime(S, Format, Value, FormatSettings());
}

TDateTime FormattedStrToDateTimeDef(const QString& S, const QString& Format, TDateTime Default, bool UseDateEx)
{
    TDateTime value = Default;
    if (!Trim(Format).isEmpty())
        return ScanFormattedDateTime(S, Trim(Format), value) ? value : Default;
    if (UseDateEx && StrToDateEx(S, value, Default, 0, 0))
        return value;
    return TryLocaleStrToDateTime(S, value) ? value : Default;
}

bool TryLocaleStrToDateTime(const QString& S, TDateTime& Value)
{
    // a text without a blank is a date or, failing that, a time alone
    return TryStrToDateTime(S, Value) || TryStrToTime(S, Value);
}
