#include "platform/database/FilterExpr.h"

#include "platform/rtl/DateUtils.h"

#include <QDateTime>
#include <algorithm>
#include <vector>

namespace {

enum class TokKind { End, LParen, RParen, Name, Text, Number, Op, Word };

struct Token {
    TokKind Kind = TokKind::End;
    QString Text;  // name, text literal, operator, upper-cased word, number
    int Pos = 0;
};

[[noreturn]] void SyntaxError(const QString& Why, int Pos)
{
    throw EDatabaseError(QStringLiteral("Filter expression: %1 at position %2").arg(Why).arg(Pos + 1));
}

bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

std::vector<Token> Tokenize(const QString& S)
{
    std::vector<Token> r;
    int i = 0;
    const int n = S.size();
    while (i < n) {
        const QChar c = S[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        t.Pos = i;
        if (c == QLatin1Char('(')) {
            t.Kind = TokKind::LParen;
            ++i;
        } else if (c == QLatin1Char(')')) {
            t.Kind = TokKind::RParen;
            ++i;
        } else if (c == QLatin1Char('[') || c == QLatin1Char('"')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
            const int e = S.indexOf(close, i + 1);
            if (e < 0)
                SyntaxError(QStringLiteral("unclosed field name"), i);
            t.Kind = TokKind::Name;
            t.Text = S.mid(i + 1, e - i - 1);
            i = e + 1;
        } else if (c == QLatin1Char('\'')) {
            t.Kind = TokKind::Text;
            ++i;
            bool closed = false;
            while (i < n) {
                if (S[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && S[i + 1] == QLatin1Char('\'')) {
                        t.Text += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                t.Text += S[i++];
            }
            if (!closed)
                SyntaxError(QStringLiteral("unclosed text"), t.Pos);
        } else if (c.isDigit() || (c == QLatin1Char('-') && i + 1 < n && (S[i + 1].isDigit() || S[i + 1] == QLatin1Char('.')) &&
                                   (r.empty() || r.back().Kind == TokKind::Op || r.back().Kind == TokKind::LParen))) {
            t.Kind = TokKind::Number;
            t.Text += c;
            ++i;
            while (i < n && (S[i].isDigit() || S[i] == QLatin1Char('.') || S[i] == QLatin1Char('e') || S[i] == QLatin1Char('E') ||
                             ((S[i] == QLatin1Char('+') || S[i] == QLatin1Char('-')) && (S[i - 1] == QLatin1Char('e') || S[i - 1] == QLatin1Char('E')))))
                t.Text += S[i++];
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('=') || c == QLatin1Char('!')) {
            t.Kind = TokKind::Op;
            t.Text = c;
            ++i;
            if (i < n && (S[i] == QLatin1Char('=') || (c == QLatin1Char('<') && S[i] == QLatin1Char('>')))) {
                t.Text += S[i];
                ++i;
            }
            if (t.Text == QLatin1String("!"))
                SyntaxError(QStringLiteral("unknown operator"), t.Pos);
            if (t.Text == QLatin1String("!="))
                t.Text = QStringLiteral("<>");
            if (t.Text == QLatin1String("=="))
                t.Text = QStringLiteral("=");
        } else if (IsNameChar(c)) {
            while (i < n && IsNameChar(S[i]))
                t.Text += S[i++];
            const QString up = t.Text.toUpper();
            static const QStringList words = {QStringLiteral("AND"), QStringLiteral("OR"), QStringLiteral("NOT"), QStringLiteral("LIKE"),
                                              QStringLiteral("IS"), QStringLiteral("NULL"), QStringLiteral("TRUE"), QStringLiteral("FALSE")};
            if (words.contains(up)) {
                t.Kind = TokKind::Word;
                t.Text = up;
            } else {
                t.Kind = TokKind::Name;
            }
        } else {
            SyntaxError(QStringLiteral("unexpected character '%1'").arg(c), i);
        }
        r.push_back(t);
    }
    Token end;
    end.Pos = n;
    r.push_back(end);
    return r;
}

// The kind of value a comparison works on.
enum class Domain { Text, Number, DateTime, Boolean };

Domain DomainOf(const TField& F)
{
    const TFieldType t = F.DataType();
    if (t == ftBoolean)
        return Domain::Boolean;
    if (IsDateTimeType(t))
        return Domain::DateTime;
    if (IsNumericFieldType(t))
        return Domain::Number;
    return Domain::Text;
}

bool ReadNumber(const QString& S, double& v)
{
    bool ok = false;
    v = S.trimmed().toDouble(&ok);
    if (!ok) {
        QString s = S.trimmed();
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        v = s.toDouble(&ok);
    }
    return ok;
}

bool ReadDateTime(const QString& S, double& v)
{
    TDateTime d = 0;
    if (TryStrToDateTime(S.trimmed(), d) || TryStrToDate(S.trimmed(), d)) {
        v = d;
        return true;
    }
    QDateTime q = QDateTime::fromString(S.trimmed(), Qt::ISODate);
    if (!q.isValid()) {
        const QDate dd = QDate::fromString(S.trimmed(), Qt::ISODate);
        if (dd.isValid())
            q = dd.startOfDay();
    }
    if (!q.isValid())
        return false;
    v = QDateTimeToDateTime(q);
    return true;
}

bool ReadBoolean(const QString& S, bool& v)
{
    const QString s = S.trimmed();
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1")) {
        v = true;
        return true;
    }
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || s == QLatin1String("0")) {
        v = false;
        return true;
    }
    return false;
}

}  // namespace

bool FilterLikeMatch(const QString& Value, const QString& Pattern, bool CaseInsensitive)
{
    const QString v = CaseInsensitive ? Value.toCaseFolded() : Value;
    const QString p = CaseInsensitive ? Pattern.toCaseFolded() : Pattern;
    // Greedy match with one back-tracking point: the last "*" seen.
    int vi = 0, pi = 0, star = -1, mark = 0;
    const int vn = v.size(), pn = p.size();
    auto isAny = [&](int k) { return p[k] == QLatin1Char('*') || p[k] == QLatin1Char('%'); };
    while (vi < vn) {
        if (pi < pn && !isAny(pi) && (p[pi] == QLatin1Char('_') || p[pi] == v[vi])) {
            ++vi;
            ++pi;
        } else if (pi < pn && isAny(pi)) {
            star = pi++;
            mark = vi;
        } else if (star >= 0) {
            pi = star + 1;
            vi = ++mark;
        } else {
            return false;
        }
    }
    while (pi < pn && isAny(pi))
        ++pi;
    return pi == pn;
}

struct TFilterExpression::Node {
    enum Kind { Or, And, Not, Compare, NullTest, Constant } K = Constant;
    // Not: the one operand. Or, And: every operand of the chain, in order, so a
    // long chain is one level deep however many terms it has.
    std::vector<std::shared_ptr<Node>> Items;
    // Comparison.
    QString Op;  // = <> < <= > >= LIKE
    bool Negate = false;
    Domain D = Domain::Text;
    const TField* LF = nullptr;
    const TField* RF = nullptr;
    QString LText, RText;  // literal texts (Text domain), RText folded when case-insensitive
    double LNum = 0, RNum = 0;
    bool LBool = false, RBool = false;
    bool Prefix = false;  // "= 'ab*'" as a prefix test
    bool CaseInsensitive = false;
    bool ConstValue = false;
};

namespace {

using NodeP = std::shared_ptr<TFilterExpression::Node>;

struct Operand {
    const TField* F = nullptr;
    bool IsNull = false;
    bool IsBool = false;
    bool BoolValue = false;
    bool IsNumber = false;
    QString Text;  // text literal or number text
    bool IsText = false;
};

class Parser {
public:
    Parser(const TDataSet& DS, const QString& S, TFilterOptions O) : FDS(DS), FToks(Tokenize(S)), FOptions(O) {}

    NodeP Parse()
    {
        if (Peek().Kind == TokKind::End)
            SyntaxError(QStringLiteral("empty expression"), 0);
        NodeP n = ParseOr();
        if (Peek().Kind != TokKind::End)
            SyntaxError(QStringLiteral("unexpected '%1'").arg(Peek().Text), Peek().Pos);
        return n;
    }

private:
    const Token& Peek() const { return FToks[size_t(FPos)]; }
    Token Take() { return FToks[size_t(FPos++)]; }
    bool IsWord(const char* W) const { return Peek().Kind == TokKind::Word && Peek().Text == QLatin1String(W); }

    NodeP ParseOr() { return ParseChain("OR", TFilterExpression::Node::Or, &Parser::ParseAnd); }
    NodeP ParseAnd() { return ParseChain("AND", TFilterExpression::Node::And, &Parser::ParseFactor); }

    // Operands joined by one word, gathered into one node.
    NodeP ParseChain(const char* Word, TFilterExpression::Node::Kind Kind, NodeP (Parser::*Operand)())
    {
        NodeP first = (this->*Operand)();
        if (!IsWord(Word))
            return first;
        auto n = std::make_shared<TFilterExpression::Node>();
        n->K = Kind;
        n->Items.push_back(first);
        while (IsWord(Word)) {
            Take();
            n->Items.push_back((this->*Operand)());
        }
        return n;
    }

    NodeP ParseFactor()
    {
        // NOT and parentheses nest by recursion: a limit keeps a hostile text
        // from running the stack out.
        if (IsWord("NOT") || Peek().Kind == TokKind::LParen) {
            if (FDepth >= MaxNesting)
                SyntaxError(QStringLiteral("nested more than %1 levels deep").arg(MaxNesting), Peek().Pos);
            ++FDepth;
            NodeP n = ParseNested();
            --FDepth;
            return n;
        }
        return ParseComparison();
    }
    NodeP ParseNested()
    {
        if (IsWord("NOT")) {
            Take();
            auto n = std::make_shared<TFilterExpression::Node>();
            n->K = TFilterExpression::Node::Not;
            n->Items.push_back(ParseFactor());
            return n;
        }
        Take();
        NodeP n = ParseOr();
        if (Peek().Kind != TokKind::RParen)
            SyntaxError(QStringLiteral("missing ')'"), Peek().Pos);
        Take();
        return n;
    }

    Operand ParseOperand()
    {
        const Token t = Take();
        Operand o;
        switch (t.Kind) {
        case TokKind::Name: {
            o.F = FDS.FindField(t.Text);
            if (!o.F)
                throw EDatabaseError(QStringLiteral("Filter expression: field '%1' not found").arg(t.Text));
            break;
        }
        case TokKind::Text:
            o.IsText = true;
            o.Text = t.Text;
            break;
        case TokKind::Number:
            o.IsNumber = true;
            o.Text = t.Text;
            break;
        case TokKind::Word:
            if (t.Text == QLatin1String("NULL"))
                o.IsNull = true;
            else if (t.Text == QLatin1String("TRUE") || t.Text == QLatin1String("FALSE")) {
                o.IsBool = true;
                o.BoolValue = t.Text == QLatin1String("TRUE");
            } else
                SyntaxError(QStringLiteral("unexpected '%1'").arg(t.Text), t.Pos);
            break;
        default:
            SyntaxError(t.Kind == TokKind::End ? QStringLiteral("unexpected end") : QStringLiteral("unexpected '%1'").arg(t.Text), t.Pos);
        }
        return o;
    }

    NodeP ParseComparison()
    {
        const int startPos = Peek().Pos;
        Operand l = ParseOperand();
        auto n = std::make_shared<TFilterExpression::Node>();
        n->CaseInsensitive = FOptions & foCaseInsensitive;
        if (IsWord("IS")) {
            Take();
            bool neg = false;
            if (IsWord("NOT")) {
                Take();
                neg = true;
            }
            if (!IsWord("NULL"))
                SyntaxError(QStringLiteral("NULL expected"), Peek().Pos);
            Take();
            return MakeNullTest(l, neg, startPos);
        }
        QString op;
        if (Peek().Kind == TokKind::Op) {
            op = Take().Text;
        } else if (IsWord("LIKE")) {
            Take();
            op = QStringLiteral("LIKE");
        } else if (IsWord("NOT")) {
            Take();
            if (!IsWord("LIKE"))
                SyntaxError(QStringLiteral("LIKE expected"), Peek().Pos);
            Take();
            op = QStringLiteral("LIKE");
            n->Negate = true;
        } else {
            SyntaxError(QStringLiteral("operator expected"), Peek().Pos);
        }
        Operand r = ParseOperand();
        if (r.IsNull || l.IsNull) {
            if (op != QLatin1String("=") && op != QLatin1String("<>"))
                SyntaxError(QStringLiteral("NULL can only be tested with = or <>"), startPos);
            return MakeNullTest(r.IsNull ? l : r, op == QLatin1String("<>"), startPos);
        }
        n->K = TFilterExpression::Node::Compare;
        n->Op = op;
        if (!l.F && r.F) {
            // Keep the field on the left: mirror the ordering.
            std::swap(l, r);
            if (op == QLatin1String("<"))
                n->Op = QStringLiteral(">");
            else if (op == QLatin1String(">"))
                n->Op = QStringLiteral("<");
            else if (op == QLatin1String("<="))
                n->Op = QStringLiteral(">=");
            else if (op == QLatin1String(">="))
                n->Op = QStringLiteral("<=");
            else if (op == QLatin1String("LIKE"))
                SyntaxError(QStringLiteral("LIKE needs the value on the left"), startPos);
        }
        n->LF = l.F;
        n->RF = r.F;
        if (n->Op == QLatin1String("LIKE"))
            n->D = Domain::Text;
        else if (l.F)
            n->D = DomainOf(*l.F);
        else if (l.IsNumber || r.IsNumber)
            n->D = Domain::Number;
        else if (l.IsBool || r.IsBool)
            n->D = Domain::Boolean;
        else
            n->D = Domain::Text;
        if (!l.F)
            Convert(l, n->D, n->LText, n->LNum, n->LBool, startPos);
        if (!r.F)
            Convert(r, n->D, n->RText, n->RNum, n->RBool, startPos);
        if (!r.F && n->D == Domain::Text) {
            if (n->Op == QLatin1String("=") && !(FOptions & foNoPartialCompare) && n->RText.endsWith(QLatin1Char('*'))) {
                n->Prefix = true;
                n->RText.chop(1);
            }
            if (n->CaseInsensitive && n->Op != QLatin1String("LIKE"))
                n->RText = n->RText.toCaseFolded();
        }
        if (!l.F && !r.F) {
            // Two constants: decide now.
            n->ConstValue = TFilterExpressionEvaluate(*n);
            n->K = TFilterExpression::Node::Constant;
        }
        return n;
    }

    static bool TFilterExpressionEvaluate(const TFilterExpression::Node& N);

    NodeP MakeNullTest(const Operand& O, bool Negate, int Pos)
    {
        auto n = std::make_shared<TFilterExpression::Node>();
        if (!O.F) {
            n->K = TFilterExpression::Node::Constant;
            n->ConstValue = O.IsNull != Negate;
            (void)Pos;
            return n;
        }
        n->K = TFilterExpression::Node::NullTest;
        n->LF = O.F;
        n->Negate = Negate;
        return n;
    }

    void Convert(const Operand& O, Domain D, QString& Text, double& Num, bool& Bool, int Pos)
    {
        const QString src = O.IsBool ? (O.BoolValue ? QStringLiteral("true") : QStringLiteral("false")) : O.Text;
        switch (D) {
        case Domain::Text:
            Text = src;
            return;
        case Domain::Number:
            if (O.IsBool) {
                Num = O.BoolValue ? 1 : 0;
                return;
            }
            if (!ReadNumber(src, Num))
                throw EDatabaseError(QStringLiteral("Filter expression: '%1' is not a number (position %2)").arg(src).arg(Pos + 1));
            return;
        case Domain::DateTime:
            if (!ReadDateTime(src, Num))
                throw EDatabaseError(QStringLiteral("Filter expression: '%1' is not a date (position %2)").arg(src).arg(Pos + 1));
            return;
        case Domain::Boolean:
            if (O.IsBool) {
                Bool = O.BoolValue;
                return;
            }
            if (!ReadBoolean(src, Bool))
                throw EDatabaseError(QStringLiteral("Filter expression: '%1' is not a boolean value (position %2)").arg(src).arg(Pos + 1));
            return;
        }
    }

    static constexpr int MaxNesting = 200;

    const TDataSet& FDS;
    std::vector<Token> FToks;
    int FPos = 0;
    int FDepth = 0;
    TFilterOptions FOptions;
};

int Order(double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); }

bool Apply(const QString& Op, int c)
{
    if (Op == QLatin1String("="))
        return c == 0;
    if (Op == QLatin1String("<>"))
        return c != 0;
    if (Op == QLatin1String("<"))
        return c < 0;
    if (Op == QLatin1String("<="))
        return c <= 0;
    if (Op == QLatin1String(">"))
        return c > 0;
    return c >= 0;
}

QString FieldText(const TField& F)
{
    const QVariant raw = F.RawValue();
    if (raw.typeId() == QMetaType::QString)
        return raw.toString();
    return F.AsString();
}

bool EvalCompare(const TFilterExpression::Node& N)
{
    // Null field values fail every comparison but the null tests.
    if (N.LF && N.LF->IsNull())
        return false;
    if (N.RF && N.RF->IsNull())
        return false;
    switch (N.D) {
    case Domain::Text: {
        QString l = N.LF ? FieldText(*N.LF) : N.LText;
        if (N.Op == QLatin1String("LIKE"))
            return FilterLikeMatch(l, N.RF ? FieldText(*N.RF) : N.RText, N.CaseInsensitive) != N.Negate;
        QString r = N.RF ? FieldText(*N.RF) : N.RText;
        if (N.CaseInsensitive) {
            l = l.toCaseFolded();
            if (N.RF)
                r = r.toCaseFolded();
        }
        if (N.Prefix)
            return l.startsWith(r) == (N.Op == QLatin1String("="));
        return Apply(N.Op, QString::compare(l, r));
    }
    case Domain::Number: {
        const double l = N.LF ? N.LF->AsFloat() : N.LNum;
        const double r = N.RF ? N.RF->AsFloat() : N.RNum;
        return Apply(N.Op, Order(l, r));
    }
    case Domain::DateTime: {
        const double l = N.LF ? N.LF->AsDateTime() : N.LNum;
        const double r = N.RF ? N.RF->AsDateTime() : N.RNum;
        return Apply(N.Op, Order(l, r));
    }
    case Domain::Boolean: {
        const bool l = N.LF ? N.LF->AsBoolean() : N.LBool;
        const bool r = N.RF ? N.RF->AsBoolean() : N.RBool;
        return Apply(N.Op, int(l) - int(r));
    }
    }
    return false;
}

bool Eval(const TFilterExpression::Node& N)
{
    switch (N.K) {
    case TFilterExpression::Node::Or:
        return std::any_of(N.Items.begin(), N.Items.end(), [](const auto& I) { return Eval(*I); });
    case TFilterExpression::Node::And:
        return std::all_of(N.Items.begin(), N.Items.end(), [](const auto& I) { return Eval(*I); });
    case TFilterExpression::Node::Not:
        return !Eval(*N.Items.front());
    case TFilterExpression::Node::NullTest:
        return N.LF->IsNull() != N.Negate;
    case TFilterExpression::Node::Compare:
        return EvalCompare(N);
    case TFilterExpression::Node::Constant:
        return N.ConstValue;
    }
    return false;
}

bool Parser::TFilterExpressionEvaluate(const TFilterExpression::Node& N) { return EvalCompare(N); }

}  // namespace

TFilterExpression::TFilterExpression(const TDataSet& DataSet, const QString& Text, TFilterOptions Options)
    : FRoot(Parser(DataSet, Text, Options).Parse())
{
}

TFilterExpression::~TFilterExpression() = default;

bool TFilterExpression::Evaluate() const { return Eval(*FRoot); }

namespace {

// A compiled filter bound to the field objects it was parsed against. A
// dataset whose query makes new fields on reopen gets the text parsed again.
struct BoundFilter {
    QString Text;
    TFilterOptions Options = 0;
    std::unique_ptr<TFilterExpression> Expr;
    std::vector<const TField*> Fields;

    bool Stale(const TDataSet& D) const
    {
        if (!Expr || int(Fields.size()) != D.FieldCount())
            return true;
        for (size_t i = 0; i < Fields.size(); ++i)
            if (Fields[i] != D.Fields()[int(i)])
                return true;
        return false;
    }
    void Bind(const TDataSet& D)
    {
        Expr = std::make_unique<TFilterExpression>(D, Text, Options);
        Fields.clear();
        for (int i = 0; i < D.FieldCount(); ++i)
            Fields.push_back(D.Fields()[i]);
    }
};

}  // namespace

TDataSet::TRecordPredicate CompileFilterExpression(TDataSet& DataSet, const QString& Filter, TFilterOptions Options)
{
    auto bound = std::make_shared<BoundFilter>();
    bound->Text = Filter;
    bound->Options = Options;
    // A dataset that has its fields is checked now, so a bad text fails when
    // it is assigned; a query before its first open is checked on opening.
    if (DataSet.FieldCount() > 0)
        bound->Bind(DataSet);
    return [bound](TDataSet& D) {
        if (bound->Stale(D))
            bound->Bind(D);
        return bound->Expr->Evaluate();
    };
}
