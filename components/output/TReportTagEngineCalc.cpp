// Expressions and conditions of the tag language. Arithmetic follows the usual
// precedence with left association and unary minus ("10-4-3" is 3); terms are
// numbers, fields, calculated-field statistics, functions and variables.
// Conditions keep their own rules: brackets group sub-conditions, "not"
// covers the rest, " and " binds more loosely than " or ".
#include "components/output/TReportTagEngine.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/output/rRepText.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"

#include <QRegularExpression>

#include <cmath>

namespace {

bool IsOperatorChar(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('*') || c == QLatin1Char('/');
}

// A number in scientific notation waiting for its exponent's sign ("1,5E").
bool EndsInExponentMark(const QString& Atom)
{
    static const QRegularExpression re(QStringLiteral("^\\s*\\d+([.,]\\d+)?[eE]$"));
    return re.match(Atom).hasMatch();
}

// The inside of "name[...]" from the first "[" to its matching "]".
bool SquareInside(const QString& Term, int NameLength, QString& Inside)
{
    if (Term.size() <= NameLength || Term[NameLength] != QLatin1Char('['))
        return false;
    int depth = 0;
    for (int i = NameLength; i < Term.size(); ++i) {
        if (Term[i] == QLatin1Char('['))
            ++depth;
        else if (Term[i] == QLatin1Char(']') && --depth == 0) {
            Inside = Term.mid(NameLength + 1, i - NameLength - 1);
            return true;
        }
    }
    return false;
}

class TExprParser {
public:
    TExprParser(const QString& Text, std::function<double(const QString&)> Term)
        : S(Text), GetTerm(std::move(Term)) {}

    double Parse()
    {
        const double v = Sum();
        SkipBlanks();
        if (I < S.size())
            throw Exception(S);
        return v;
    }

private:
    double Sum()
    {
        double v = Product();
        for (;;) {
            SkipBlanks();
            if (I < S.size() && S[I] == QLatin1Char('+')) {
                ++I;
                v += Product();
            } else if (I < S.size() && S[I] == QLatin1Char('-')) {
                ++I;
                v -= Product();
            } else {
                return v;
            }
        }
    }

    double Product()
    {
        double v = Unary();
        for (;;) {
            SkipBlanks();
            if (I < S.size() && S[I] == QLatin1Char('*')) {
                ++I;
                v *= Unary();
            } else if (I < S.size() && S[I] == QLatin1Char('/')) {
                ++I;
                const double d = Unary();
                if (d == 0)
                    throw Exception(QStringLiteral("Floating point division by zero"));
                v /= d;
            } else {
                return v;
            }
        }
    }

    double Unary()
    {
        SkipBlanks();
        if (I < S.size() && S[I] == QLatin1Char('-')) {
            ++I;
            return -Unary();
        }
        if (I < S.size() && S[I] == QLatin1Char('+')) {
            ++I;
            return Unary();
        }
        if (I < S.size() && S[I] == QLatin1Char('(')) {
            ++I;
            const double v = Sum();
            SkipBlanks();
            if (I >= S.size() || S[I] != QLatin1Char(')'))
                throw Exception(S);
            ++I;
            return v;
        }
        return GetTerm(Atom().trimmed());
    }

    // A term runs to the next operator outside square brackets and quotes; a
    // round bracket right after a name belongs to it (a host function).
    QString Atom()
    {
        const int start = I;
        int square = 0, round = 0;
        bool quoted = false;
        for (; I < S.size(); ++I) {
            const QChar c = S[I];
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            if (quoted)
                continue;
            if (c == QLatin1Char('['))
                ++square;
            else if (c == QLatin1Char(']'))
                --square;
            else if (c == QLatin1Char('(') && square == 0 && I > start)
                ++round;
            else if (c == QLatin1Char(')') && square == 0 && round > 0)
                --round;
            else if (square == 0 && round == 0) {
                if (c == QLatin1Char('(') || c == QLatin1Char(')'))
                    break;
                if (IsOperatorChar(c)) {
                    if ((c == QLatin1Char('+') || c == QLatin1Char('-')) && EndsInExponentMark(S.mid(start, I - start)))
                        continue;
                    break;
                }
            }
        }
        return S.mid(start, I - start);
    }

    void SkipBlanks()
    {
        while (I < S.size() && S[I].isSpace())
            ++I;
    }

    const QString& S;
    std::function<double(const QString&)> GetTerm;
    int I = 0;
};

const char* const CalcFunctions[10] = {"Sum", "Max", "Min", "Count", "Avg",
                                       "GrandSum", "GrandMax", "GrandMin", "GrandCount", "GrandAvg"};

} // namespace

double TReportTagEngine::GetCalcNumValue(const QString& Expr, bool Tolerant)
{
    return CalcExpr(Expr, Tolerant);
}

double TReportTagEngine::CalcExpr(const QString& Expr, bool Tolerant)
{
    const QString text = Expr.trimmed();
    if (text.isEmpty())
        return 0;
    TExprParser parser(text, [this, Tolerant](const QString& Term) { return GetVal(Term, Tolerant); });
    try {
        return parser.Parse();
    } catch (const TReportException&) {
        throw;
    } catch (const Exception& e) {
        if (e.Message() == text)
            RaiseRepErr(reBracket, text);
        throw;
    }
}

double TReportTagEngine::GetVal(const QString& Term, bool Tolerant)
{
    if (Term.isEmpty())
        return 0;
    double number;
    if (IsNumericTag(Term, number))
        return number;

    if (Term.size() >= 2 && Term[1] == QLatin1Char('.') && Term[0] >= QLatin1Char('A') && Term[0] <= QLatin1Char('Z')) {
        const int slot = Term[0].unicode() - 'A';
        const QString name = Term.mid(2);
        if (DSActive(slot)) {
            TDataSet* ds = FSlots[slot].DS;
            if (name == QLatin1String("#"))
                return ds->RecNo();
            if (name == QLatin1String("##"))
                return ds->RecordCount();
            if (TField* f = ds->FindField(name)) {
                try {
                    if (f->DataType() == ftBoolean)
                        return f->AsBoolean() ? 1 : 0;
                    if (f->IsNull())
                        return 0;
                    // Texts count only when they read as numbers.
                    double n;
                    if (f->DataType() != ftString && f->DataType() != ftWideString && f->DataType() != ftFixedChar
                        && f->DataType() != ftFixedWideChar && !IsBlobType(f->DataType()))
                        return f->AsFloat();
                    if (IsNumericTag(f->AsString(), n))
                        return n;
                    if (Tolerant)
                        return 0;
                } catch (const Exception&) {
                    if (Tolerant)
                        return 0;
                }
            }
        }
    }

    // Longest names first, so "GrandSum" is not read as something shorter.
    for (int index = 9; index >= 0; --index) {
        const QString fn = QString::fromLatin1(CalcFunctions[index]);
        if (!Term.startsWith(fn + QLatin1Char('['), Qt::CaseInsensitive))
            continue;
        const int close = Term.indexOf(QLatin1Char(']'), fn.size());
        const QString name = close > 0 ? Term.mid(fn.size() + 1, close - fn.size() - 1) : QString();
        if (name.size() >= 2)
            return GetCalcFieldValue(index, name);
    }

    if (SameText(Term, QStringLiteral("Today[]")))
        return Date();
    if (SameText(Term, QStringLiteral("Now[]")))
        return Time();

    QString inside;
    if (Term.startsWith(QLatin1String("abs"), Qt::CaseInsensitive) && SquareInside(Term, 3, inside)) {
        try {
            return std::fabs(CalcExpr(inside, Tolerant));
        } catch (const Exception&) {
        }
    }
    if (Term.startsWith(QLatin1String("strlen"), Qt::CaseInsensitive) && SquareInside(Term, 6, inside)
        && inside.size() >= 2) {
        bool resolved;
        return ProcTagStr(inside.trimmed(), resolved).size();
    }
    const bool cs = Term.startsWith(QLatin1String("strposcs"), Qt::CaseInsensitive);
    if ((cs && SquareInside(Term, 8, inside)) || (!cs && Term.startsWith(QLatin1String("strpos"), Qt::CaseInsensitive)
                                                  && SquareInside(Term, 6, inside))) {
        QString list = inside;
        const QString tag = GetListPart(list, QLatin1Char(','));
        const QString needleItem = GetListPart(list, QLatin1Char(','));
        bool resolved;
        const QString value = ProcTagStr(tag, resolved);
        QString needle = needleItem;
        if (IsConstantTag(needleItem))
            needle.remove(QLatin1Char('"'));
        else
            needle = ProcTagStr(needleItem, resolved);
        return value.indexOf(needle, 0, cs ? Qt::CaseSensitive : Qt::CaseInsensitive) + 1;
    }

    bool found = false;
    const QString v = GetVarUserValue(Term, found);
    if (found && IsNumericTag(v, number))
        return number;
    RaiseRepErr(reCalcFunction, Term);
}

QString TReportTagEngine::GetCalcValue(const QString& Expr, const QString& Format, bool Tolerant)
{
    const double v = CalcExpr(Expr, Tolerant);
    if (Format.size() >= 2 && Format.startsWith(QLatin1Char('#')) && Format.endsWith(QLatin1Char('#')))
        return FormatDateTime(Format.mid(1, Format.size() - 2), v);
    const QString text = Format.isEmpty() ? FloatToStr(v) : FormatFloat(Format, v);
    return CheckScientificFormat(text);
}

QString TReportTagEngine::CheckScientificFormat(const QString& Text)
{
    QString mantissa, sign, digits;
    if (!ConvertScientificFormat || !SplitScientific(Text, mantissa, sign, digits))
        return Text;
    return mantissa + QStringLiteral(" x 10\\super ") + sign + digits + QStringLiteral("\\nosupersub ");
}

// ---- conditions -------------------------------------------------------------------

bool TReportTagEngine::GetConditionResult(const QString& Cond)
{
    return DecideCondition(Cond);
}

bool TReportTagEngine::DecideCondition(QString Cond)
{
    // 1. Brackets group sub-conditions, decided inside out.
    for (;;) {
        const TBracketParts p = SepBracket(Cond);
        if (p.Inside.isEmpty())
            break;
        const bool inner = DecideCondition(p.Inside);
        Cond = p.Head + (inner ? QStringLiteral("\"TRUE\"") : QStringLiteral("\"FALSE\"")) + p.Tail;
    }
    const QString c = Cond.trimmed();
    // 2-4. Negation covers the rest; " and " is looser than " or ".
    if (c.startsWith(QLatin1String("not "), Qt::CaseInsensitive))
        return !DecideCondition(c.mid(4));
    int at = c.indexOf(QLatin1String(" and "), 0, Qt::CaseInsensitive);
    if (at >= 0)
        return DecideCondition(c.left(at)) && DecideCondition(c.mid(at + 5));
    at = c.indexOf(QLatin1String(" or "), 0, Qt::CaseInsensitive);
    if (at >= 0)
        return DecideCondition(c.left(at)) || DecideCondition(c.mid(at + 4));

    // 5. Comparison at the first operator of the table that occurs.
    static const char* const ops[] = {"==", ">=", "<=", "<>", "=", ">", "<"};
    for (const char* op : ops) {
        const int p = c.indexOf(QLatin1String(op));
        if (p < 0)
            continue;
        const QString o = QString::fromLatin1(op);
        bool numL = false, numR = false;
        const QString l = GetCondValue(c.left(p).trimmed(), numL);
        const QString r = GetCondValue(c.mid(p + o.size()).trimmed(), numR);
        int cmp;
        if (numL && numR) {
            const double a = StrToFloat(l), b = StrToFloat(r);
            cmp = a < b ? -1 : (a > b ? 1 : 0);
        } else if (o == QLatin1String("==")) {
            return l == r;
        } else {
            cmp = QString::localeAwareCompare(l.toLower(), r.toLower());
        }
        if (o == QLatin1String("==") || o == QLatin1String("="))
            return cmp == 0;
        if (o == QLatin1String(">="))
            return cmp >= 0;
        if (o == QLatin1String("<="))
            return cmp <= 0;
        if (o == QLatin1String("<>"))
            return cmp != 0;
        if (o == QLatin1String(">"))
            return cmp > 0;
        return cmp < 0;
    }

    // 6. Truth literals and dataset references.
    if (c == QLatin1String("\"FALSE\""))
        return false;
    if (c == QLatin1String("\"TRUE\""))
        return true;
    if (c.size() >= 3 && c[1] == QLatin1Char('.') && c[0] >= QLatin1Char('A') && c[0] <= QLatin1Char('Z')) {
        const int slot = c[0].unicode() - 'A';
        if (TDataSet* ds = FSlots[slot].DS) {
            if (c[2] == QLatin1Char('0'))
                return !ds->Active() || ds->IsEmpty();
            if (c[2] == QLatin1Char('@'))
                return FSlots[slot].DS_eof;
            try {
                if (ds->Active())
                    if (TField* f = ds->FindField(c.mid(2)))
                        return f->AsBoolean();
            } catch (const Exception&) {
            }
        }
    }
    RaiseRepErr(reCalcFunction, c);
}

QString TReportTagEngine::GetCondValue(const QString& Operand, bool& Numeric)
{
    Numeric = false;
    if (IsConstantTag(Operand)) {
        QString t = DecodeText(Operand);
        t.remove(QLatin1Char('"'));
        return t;
    }
    if (Operand.size() >= 2 && Operand.startsWith(QLatin1Char('#')) && Operand.endsWith(QLatin1Char('#'))) {
        const QString d = Operand.mid(1, Operand.size() - 2);
        static const QRegularExpression digits(QStringLiteral("^\\d+$"));
        if ((d.size() == 8 || d.size() == 14) && digits.match(d).hasMatch()) {
            try {
                TDateTime v = EncodeDate(d.mid(0, 4).toInt(), d.mid(4, 2).toInt(), d.mid(6, 2).toInt());
                if (d.size() == 14)
                    v += EncodeTime(d.mid(8, 2).toInt(), d.mid(10, 2).toInt(), d.mid(12, 2).toInt(), 0);
                Numeric = true;
                return FloatToExprText(v);
            } catch (const Exception&) {
            }
        }
    } else {
        try {
            const QString v = FloatToExprText(CalcExpr(Operand, false));
            Numeric = true;
            return v;
        } catch (const Exception&) {
        }
    }
    // the data as it is, not as escaped for the document
    if (IsFieldTag(Operand))
        return DecodeText(GetDBValue(Operand[0].unicode() - 'A', Operand.mid(2), QString()));
    bool found = false;
    const QString v = GetVarUserValue(Operand, found);
    if (found)
        return v;
    RaiseRepErr(reCalcFunction, Operand);
}
