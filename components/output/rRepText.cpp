#include "components/output/rRepText.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"
#include "resources/ReportTexts.h"

#include <QLocale>

namespace {

const QString& KindText(TRepErrKind Kind)
{
    switch (Kind) {
    case reBracket: return reptxt::ErrBracket;
    case reCalcField: return reptxt::ErrCalcField;
    case reDataset: return reptxt::ErrDataset;
    case reNotFound: return reptxt::ErrNotFound;
    case reCalcFunction: return reptxt::ErrCalcFunction;
    case reTag: return reptxt::ErrTag;
    case rePrinter: return reptxt::ErrPrinter;
    case reTableOneRow: return reptxt::ErrTableOneRow;
    }
    return reptxt::ErrTag;
}

} // namespace

QString FillText(const QString& Template, const QString& Value)
{
    QString s = Template;
    int p = s.indexOf(QLatin1String("%s"));
    if (p < 0)
        p = s.indexOf(QLatin1String("%d"));
    if (p >= 0)
        s.replace(p, 2, Value);
    return s;
}

void RaiseRepErr(TRepErrKind Kind, const QString& Text)
{
    QString t = Text;
    t.remove(QLatin1Char('\\'));
    throw TReportException(reptxt::BadFormat + QLatin1Char('\n') + FillText(KindText(Kind), t));
}

TBracketParts SepBracket(const QString& Text)
{
    int depth = 0;
    bool quoted = false;
    int open = -1, close = -1;
    for (int i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('(')) {
            if (open < 0)
                open = i;
            ++depth;
        } else if (!quoted && c == QLatin1Char(')')) {
            if (--depth < 0)
                RaiseRepErr(reBracket, Text);
            if (depth == 0 && close < 0 && open >= 0)
                close = i;
        }
    }
    if (depth != 0 || quoted)
        RaiseRepErr(reBracket, Text);
    if (open < 0)
        return {Text, QString(), QString()};
    return {Text.left(open), Text.mid(open + 1, close - open - 1), Text.mid(close + 1)};
}

int GetFirstSep(QChar Sep, const QString& Text)
{
    int round = 0, square = 0;
    bool quoted = false;
    for (int i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (quoted)
            continue;
        if (c == Sep && round == 0 && square == 0)
            return i + 1;
        if (c == QLatin1Char('('))
            ++round;
        else if (c == QLatin1Char(')'))
            --round;
        else if (c == QLatin1Char('['))
            ++square;
        else if (c == QLatin1Char(']'))
            --square;
    }
    return 0;
}

QString GetListPart(QString& List, QChar Sep)
{
    List = List.trimmed();
    QString item;
    QString rest;
    if (List.startsWith(QLatin1String("str_"), Qt::CaseInsensitive)) {
        const TBracketParts p = SepBracket(List);
        item = p.Head + QLatin1Char('(') + p.Inside + QLatin1Char(')');
        rest = p.Tail.trimmed();
    } else if (List.startsWith(QLatin1Char('"'))) {
        int i = 1;
        QString inner;
        bool closed = false;
        while (i < List.size()) {
            if (List[i] == QLatin1Char('"')) {
                if (i + 1 < List.size() && List[i + 1] == QLatin1Char('"')) {
                    inner += QLatin1Char('"');
                    i += 2;
                    continue;
                }
                closed = true;
                break;
            }
            inner += List[i++];
        }
        if (!closed)
            throw Exception(List);
        item = QLatin1Char('"') + inner + QLatin1Char('"');
        rest = List.mid(i + 1).trimmed();
    } else {
        const int p = GetFirstSep(Sep, List);
        if (p == 0) {
            item = List.trimmed();
            rest.clear();
        } else {
            item = List.left(p - 1).trimmed();
            rest = List.mid(p - 1);
        }
    }
    if (!rest.isEmpty()) {
        if (rest[0] != Sep)
            throw Exception(rest);
        rest = rest.mid(1).trimmed();
    }
    List = rest;
    return item;
}

QString FindTagStr(const QString& Pattern, QString& Text, int Start, int& Pos, bool Delete, int* MatchLength)
{
    Pos = -1;
    const int x = Pattern.indexOf(QLatin1Char('X'));
    const QString before = x < 0 ? Pattern : Pattern.left(x);
    const QString after = x < 0 ? QString() : Pattern.mid(x + 1);
    const int b = Text.indexOf(before, std::max(0, Start), Qt::CaseInsensitive);
    if (b < 0)
        return QString();
    const int insideStart = b + before.size();
    const int a = after.isEmpty() ? insideStart : Text.indexOf(after, insideStart, Qt::CaseInsensitive);
    if (a < 0)
        return QString();
    Pos = b;
    const QString inside = Text.mid(insideStart, a - insideStart);
    const int length = a + after.size() - b;
    if (MatchLength)
        *MatchLength = length;
    if (Delete)
        Text.remove(b, length);
    return inside;
}

bool IsConstantTag(const QString& Text)
{
    return !Text.isEmpty() && Text.front() == QLatin1Char('"') && Text.back() == QLatin1Char('"');
}

bool IsNumericTag(const QString& Text, double& Value)
{
    const QString t = UpdateToDecimalSeparator(Text.trimmed());
    if (t.isEmpty())
        return false;
    return TryStrToFloat(t, Value);
}

bool IsFieldTag(const QString& Text)
{
    return Text.size() >= 3 && Text[0] >= QLatin1Char('A') && Text[0] <= QLatin1Char('Z') && Text[1] == QLatin1Char('.');
}

QString FloatToExprText(double Value)
{
    QString s = QString::number(Value, 'f', QLocale::FloatingPointShortest);
    return s.replace(QLatin1Char('.'), GetDecimalSeparator());
}

QString FormatMaskText(const QString& EditMask, const QString& Value)
{
    QString mask = EditMask;
    const int semi = mask.indexOf(QLatin1Char(';'));
    if (semi >= 0)
        mask = mask.left(semi);
    static const QString takers = QStringLiteral("09#LlAaCc");
    QString out;
    int v = 0;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar m = mask[i];
        if (m == QLatin1Char('\\') && i + 1 < mask.size()) {
            out += mask[++i];
        } else if (m == QLatin1Char('!') || m == QLatin1Char('>') || m == QLatin1Char('<')) {
            continue;
        } else if (takers.contains(m)) {
            if (v >= Value.size())
                break;
            out += Value[v++];
        } else {
            out += m;
        }
    }
    return out + Value.mid(v);
}

bool IsSeekWordBoundary(QChar C)
{
    static const QString chars = QStringLiteral("\\ .,;()[]_?!\"'<>+-*/=");
    return chars.contains(C);
}

void SeekAndReplace(QString& Text, const QString& Old, bool WholeWord, const QString& SeekFrom, const QString& SeekTo,
                    const std::function<TSeekReplacement(const QString& Text, int Pos)>& Make)
{
    if (Old.isEmpty())
        return;
    int start = 0;
    if (!SeekFrom.isEmpty()) {
        start = Text.indexOf(SeekFrom, 0, Qt::CaseInsensitive);
        if (start < 0)
            return;
    }
    int limit = SeekTo.isEmpty() ? -1 : int(Text.indexOf(SeekTo, start, Qt::CaseInsensitive));
    if (limit < 0)
        limit = Text.size();
    int at = start;
    for (;;) {
        const int p = Text.indexOf(Old, at, Qt::CaseInsensitive);
        if (p < 0 || p + Old.size() > limit)
            return;
        if (WholeWord) {
            const bool before = p == 0 || IsSeekWordBoundary(Text[p - 1]);
            const bool after = p + Old.size() < Text.size() && IsSeekWordBoundary(Text[p + Old.size()]);
            if (!before || !after) {
                at = p + 1;
                continue;
            }
        }
        const TSeekReplacement r = Make(Text, p);
        Text.replace(r.Start, r.Length, r.Text);
        limit += r.Text.size() - r.Length;
        at = r.Start + r.Text.size();
    }
}

QString ApplyScriptMarks(const QString& Text, const QString& Super, const QString& Sub, const QString& Plain)
{
    QString n = Text;
    for (const auto& [mark, code] : {std::pair{QStringLiteral("\\^"), Super}, std::pair{QStringLiteral("\\_"), Sub}}) {
        const int a = n.indexOf(mark);
        if (a < 0)
            continue;
        n.replace(a, mark.size(), code);
        const int b = n.indexOf(QLatin1String("\\="), a + code.size());
        if (b >= 0)
            n.replace(b, 2, Plain);
        else
            n += Plain;
    }
    return n;
}

bool SplitScientific(const QString& Text, QString& Mantissa, QString& Sign, QString& Digits)
{
    const int e = Text.indexOf(QLatin1Char('E'));
    if (e < 0)
        return false;
    Mantissa = Text.left(e);
    Digits = Text.mid(e + 1);
    Sign = Digits.startsWith(QLatin1Char('-')) ? QStringLiteral("-") : QString();
    if (Digits.startsWith(QLatin1Char('-')) || Digits.startsWith(QLatin1Char('+')))
        Digits.remove(0, 1);
    while (Digits.size() > 1 && Digits.startsWith(QLatin1Char('0')))
        Digits.remove(0, 1);
    return true;
}
