#include "sync/jsonnode.h"

#include "platform/rtl/StrUtils.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

TFormatSettings MakeJsonNodeFormatSettings()
{
    TFormatSettings FS = FormatSettings();
    FS.DateSeparator = QLatin1Char('-');
    FS.TimeSeparator = QLatin1Char(':');
    FS.ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    FS.LongDateFormat = QStringLiteral("yyyy-mm-dd");
    FS.ShortTimeFormat = QStringLiteral("hh:nn:ss");
    FS.LongTimeFormat = QStringLiteral("hh:nn:ss");
    return FS;
}

// Fixed-size blocks that never move, so nodes and containers can point at
// each other; blocks grow so small replies stay small.
template <class T>
class TBlockPool {
public:
    T* New()
    {
        if (FUsed == FBlockSize) {
            FBlockSize = FBlocks.empty() ? 16 : std::min<size_t>(FBlockSize * 2, 4096);
            FBlocks.emplace_back(new T[FBlockSize]);
            FUsed = 0;
        }
        return &FBlocks.back()[FUsed++];
    }

private:
    std::vector<std::unique_ptr<T[]>> FBlocks;
    size_t FBlockSize = 0;
    size_t FUsed = 0;
};

const QString TrueText = QStringLiteral("True");
const QString FalseText = QStringLiteral("False");

[[noreturn]] void CannotConvert(const QString& From, const char* To)
{
    throw EVariantError(QStringLiteral("Could not convert variant of type (%1) into type (%2)").arg(From, QLatin1String(To)));
}

// An integer text of the reply. Hexadecimal is read as a number, never as a
// bit pattern that wraps round to a negative value.
bool ReadInteger(const QString& Text, int64_t& Value)
{
    if (!TryStrToInt64(Text, Value))
        return false;
    return Value >= 0 || Text.contains(QLatin1Char('-'));
}

}  // namespace

TFormatSettings JsonNodeFormatSettings = MakeJsonNodeFormatSettings();

// Everything a parsed tree is made of, owned by its root.
struct TJsonStore {
    QString Source;
    TBlockPool<TJsonNode> Nodes;
    TBlockPool<TJsonNodeItems> Dicts;
    TBlockPool<TJsonNodeListItems> Lists;
    std::vector<QString> Decoded;  // texts with escapes; moving keeps their data in place
};

// ---------------------------------------------------------------------------
// Containers

bool TJsonNodeItems::Add(QStringView Name, TJsonNode* Node)
{
    constexpr size_t IndexFrom = 32;
    if (FIndex) {
        if (FIndex->contains(Name))
            return false;
        FIndex->insert(Name, Node);
    } else {
        for (const auto& Entry : FEntries)
            if (Entry.first.size() == Name.size() && Entry.first == Name)
                return false;
        if (FEntries.size() + 1 >= IndexFrom) {
            FIndex = std::make_unique<QHash<QStringView, TJsonNode*>>();
            FIndex->reserve(static_cast<qsizetype>(IndexFrom * 2));
            for (const auto& Entry : FEntries)
                FIndex->insert(Entry.first, Entry.second);
            FIndex->insert(Name, Node);
        }
    }
    FEntries.emplace_back(Name, Node);
    return true;
}

TJsonNode* TJsonNodeItems::Find(QStringView Name) const
{
    if (FIndex)
        return FIndex->value(Name, nullptr);
    for (const auto& Entry : FEntries)
        if (Entry.first.size() == Name.size() && Entry.first == Name)
            return Entry.second;
    return nullptr;
}

bool TJsonNodeItems::TryGetValue(const QString& Name, TJsonNode*& Node) const
{
    Node = Find(Name);
    return Node != nullptr;
}

QStringList TJsonNodeItems::Keys() const
{
    QStringList Result;
    Result.reserve(static_cast<qsizetype>(FEntries.size()));
    for (const auto& Entry : FEntries)
        Result.append(Entry.first.toString());
    return Result;
}

// ---------------------------------------------------------------------------
// The one-pass reader

struct TJsonParser {
    struct TValue {
        TJsonNode::TValueKind Kind = TJsonNode::TValueKind::vkUnassigned;
        bool Bool = false;
        QStringView Text;
    };

    TJsonStore* Store = nullptr;
    const char16_t* P = nullptr;

    static bool IsBlank(char16_t C) { return C <= u' '; }

    // The pending token, trimmed, read as a value. Quotes counted and a
    // backslash seen while the token ran tell whether it needs decoding.
    TValue GetValue(qsizetype Start, qsizetype End, int Quotes, bool Backslash)
    {
        TValue V;
        while (Start < End && IsBlank(P[Start]))
            ++Start;
        while (End > Start && IsBlank(P[End - 1]))
            --End;
        const qsizetype Len = End - Start;
        if (Len == 0)
            return V;
        if (P[Start] != u'"') {
            const QStringView Token(P + Start, Len);
            if (Token == u"null") {
                V.Kind = TJsonNode::TValueKind::vkNull;
            } else if (Token == u"true" || Token == u"false") {
                V.Kind = TJsonNode::TValueKind::vkBoolean;
                V.Bool = Token == u"true";
            } else {
                V.Kind = TJsonNode::TValueKind::vkText;
                V.Text = Token;
            }
            return V;
        }
        if (Len == 2 && P[End - 1] == u'"') {
            V.Kind = TJsonNode::TValueKind::vkText;
            V.Text = QStringView(P + Start, 0);
            return V;
        }
        if (!Backslash && Quotes == 2 && Len >= 2 && P[End - 1] == u'"') {
            V.Kind = TJsonNode::TValueKind::vkText;
            V.Text = QStringView(P + Start + 1, Len - 2);
            return V;
        }
        QString Out;
        Out.reserve(Len);
        bool Escape = false;
        for (qsizetype K = Start; K < End; ++K) {
            const char16_t C = P[K];
            if (Escape) {
                Escape = false;
                switch (C) {
                case u'"': case u'/': case u'\\': Out.append(QChar(C)); break;
                case u'b': Out.append(QChar(8)); break;
                case u'f': Out.append(QChar(12)); break;
                case u'n': Out.append(QChar(10)); break;
                case u'r': Out.append(QChar(13)); break;
                case u't': Out.append(QChar(9)); break;
                case u'u': {
                    const qsizetype Avail = std::min<qsizetype>(4, End - K - 1);
                    const QStringView Hex(P + K + 1, Avail);
                    bool Ok = Avail > 0;
                    unsigned Code = 0;
                    for (qsizetype H = 0; Ok && H < Avail; ++H) {
                        const char16_t D = Hex[H].unicode();
                        Code <<= 4;
                        if (D >= u'0' && D <= u'9') Code |= D - u'0';
                        else if (D >= u'a' && D <= u'f') Code |= D - u'a' + 10;
                        else if (D >= u'A' && D <= u'F') Code |= D - u'A' + 10;
                        else Ok = false;
                    }
                    if (!Ok)
                        throw EJSONParseError(QStringLiteral("Invalid unicode \\u%1").arg(Hex.toString()));
                    Out.append(QChar(static_cast<char16_t>(Code)));
                    K += Avail;
                    break;
                }
                default: break;  // an unknown escape vanishes with its backslash
                }
            } else if (C == u'\\') {
                Escape = true;
            } else if (C != u'"') {
                Out.append(QChar(C));
            }
        }
        if (Out.isEmpty())
            return V;
        Store->Decoded.push_back(std::move(Out));
        V.Kind = TJsonNode::TValueKind::vkText;
        V.Text = QStringView(Store->Decoded.back());
        return V;
    }

    static void SetValue(TJsonNode* Node, const TValue& V)
    {
        Node->FKind = V.Kind;
        Node->FBool = V.Bool;
        Node->FText = V.Text;
    }

    TJsonNode* NewNode(TJsonNode* Parent)
    {
        TJsonNode* Node = Store->Nodes.New();
        Node->FParent = Parent;
        return Node;
    }

    void AddItem(TJsonNode* List, const TValue& V)
    {
        if (V.Kind == TJsonNode::TValueKind::vkUnassigned)
            return;
        TJsonNode* Node = NewNode(List);
        SetValue(Node, V);
        List->FListItems->FItems.push_back(Node);
    }

    std::unique_ptr<TJsonNode> Run(const QString& AJSON)
    {
        auto OwnedStore = std::make_unique<TJsonStore>();
        Store = OwnedStore.get();
        Store->Source = AJSON;
        P = reinterpret_cast<const char16_t*>(Store->Source.constData());
        const qsizetype N = Store->Source.size();

        std::unique_ptr<TJsonNode> Result;
        TJsonNode* Cur = nullptr;
        qsizetype TokenStart = -1;
        int Quotes = 0;
        bool Backslash = false;
        char16_t Prev = u' ';
        bool PrevEscaped = false;
        bool InString = false;

        for (qsizetype I = 0; I < N; ++I) {
            const char16_t C = P[I];
            if (TokenStart < 0) {
                TokenStart = I;
                Quotes = 0;
                Backslash = false;
            }
            const bool Escaped = Prev == u'\\' && !PrevEscaped;
            if (C == u'"' && !Escaped) {
                InString = !InString;
                ++Quotes;
            } else if (C == u'\\') {
                Backslash = true;
            }
            PrevEscaped = Escaped;
            Prev = C;
            if (InString) {
                // Nothing but quotes and backslashes changes the state inside a string.
                qsizetype J = I + 1;
                while (J < N && P[J] != u'"' && P[J] != u'\\')
                    ++J;
                if (J > I + 1) {
                    Prev = P[J - 1];
                    PrevEscaped = false;
                    I = J - 1;
                }
                continue;
            }
            switch (C) {
            case u'\t': case u'\n': case u'\r': case u' ':
                continue;
            case u'{':
            case u'[': {
                TJsonNode* Node;
                if (Cur && Cur->FIsKeyValue) {
                    Node = Cur;
                } else {
                    if (!Result) {
                        Result.reset(new TJsonNode(Cur));
                        Node = Result.get();
                    } else {
                        Node = NewNode(Cur);
                    }
                    Cur = Node;
                }
                Node->FIsKeyValue = false;
                if (C == u'{') {
                    Node->FIsDict = true;
                    Node->FItems = Store->Dicts.New();
                } else {
                    Node->FIsList = true;
                    Node->FListItems = Store->Lists.New();
                }
                if (Node->FParent && Node->FParent->FIsList)
                    Node->FParent->FListItems->FItems.push_back(Node);
                break;
            }
            case u':':
                // A name outside an object (text that is not JSON) is dropped.
                if (Cur && Cur->FIsDict) {
                    const TValue Name = GetValue(TokenStart, I, Quotes, Backslash);
                    QStringView Key;
                    if (Name.Kind == TJsonNode::TValueKind::vkText)
                        Key = Name.Text;
                    else if (Name.Kind == TJsonNode::TValueKind::vkBoolean)
                        Key = Name.Bool ? QStringView(TrueText) : QStringView(FalseText);
                    TJsonNode* Member = NewNode(Cur);
                    Member->FIsKeyValue = true;
                    if (!Cur->FItems->Add(Key, Member))
                        throw EListError(QStringLiteral("Duplicates not allowed"));
                    Cur = Member;
                }
                break;
            case u',':
                if (Cur) {
                    if (!Cur->FIsList && !Cur->FIsDict) {
                        SetValue(Cur, GetValue(TokenStart, I, Quotes, Backslash));
                        Cur = Cur->FParent;
                    } else if (Cur->FIsList) {
                        AddItem(Cur, GetValue(TokenStart, I, Quotes, Backslash));
                    }
                }
                break;
            case u'}':
                if (Cur && !Cur->FIsDict) {
                    SetValue(Cur, GetValue(TokenStart, I, Quotes, Backslash));
                    Cur = Cur->FParent;
                }
                if (Cur)
                    Cur = Cur->FParent;
                break;
            case u']':
                if (Cur && Cur->FIsList)
                    AddItem(Cur, GetValue(TokenStart, I, Quotes, Backslash));
                if (Cur)
                    Cur = Cur->FParent;
                break;
            default:
                continue;  // part of the pending token
            }
            TokenStart = -1;
        }
        if (Result)
            Result->FStore = std::move(OwnedStore);
        return Result;
    }
};

// ---------------------------------------------------------------------------
// TJsonNode

TJsonNode::TJsonNode(TJsonNode* AParent) : FParent(AParent) {}

TJsonNode::~TJsonNode() = default;

std::unique_ptr<TJsonNode> TJsonNode::Parse(const QString& AJSON)
{
    TJsonParser Parser;
    return Parser.Run(AJSON);
}

QVariant TJsonNode::Value() const
{
    switch (FKind) {
    case TValueKind::vkUnassigned: return QVariant();
    case TValueKind::vkNull: return QVariant::fromValue(nullptr);
    case TValueKind::vkBoolean: return QVariant(FBool);
    case TValueKind::vkText: return QVariant(FText.toString());
    }
    return QVariant();
}

QString TJsonNode::KindName() const
{
    switch (FKind) {
    case TValueKind::vkUnassigned: return QStringLiteral("Empty");
    case TValueKind::vkNull: return QStringLiteral("Null");
    case TValueKind::vkBoolean: return QStringLiteral("Boolean");
    case TValueKind::vkText: return QStringLiteral("UnicodeString");
    }
    return QString();
}

QString TJsonNode::AsString() const
{
    switch (FKind) {
    case TValueKind::vkBoolean: return FBool ? TrueText : FalseText;
    case TValueKind::vkText: return FText.toString();
    default: return QString();
    }
}

int TJsonNode::AsInteger() const
{
    switch (FKind) {
    case TValueKind::vkUnassigned: return 0;
    case TValueKind::vkBoolean: return FBool ? -1 : 0;
    case TValueKind::vkText: {
        int64_t V = 0;
        if (ReadInteger(FText.toString(), V) && V >= std::numeric_limits<int>::min() &&
            V <= std::numeric_limits<int>::max())
            return int(V);
        break;
    }
    default: break;
    }
    CannotConvert(KindName(), "Integer");
}

int64_t TJsonNode::AsInt64() const
{
    switch (FKind) {
    case TValueKind::vkUnassigned: return 0;
    case TValueKind::vkBoolean: return FBool ? -1 : 0;
    case TValueKind::vkText: {
        int64_t V = 0;
        if (ReadInteger(FText.toString(), V))
            return V;
        break;
    }
    default: break;
    }
    CannotConvert(KindName(), "Int64");
}

bool TJsonNode::AsBoolean() const
{
    switch (FKind) {
    case TValueKind::vkUnassigned: return false;
    case TValueKind::vkBoolean: return FBool;
    case TValueKind::vkText: {
        const QString S = FText.toString().trimmed();
        if (S.compare(TrueText, Qt::CaseInsensitive) == 0)
            return true;
        if (S.compare(FalseText, Qt::CaseInsensitive) == 0)
            return false;
        // A number converts (non-zero is true); "nan" and "inf" are no numbers here.
        double D = 0;
        if (TryStrToFloat(S, D) && std::isfinite(D))
            return D != 0;
        break;
    }
    default: break;
    }
    CannotConvert(KindName(), "Boolean");
}

TDateTime TJsonNode::AsDateTime() const
{
    const QString S = AsString();
    if (S.size() == 10)
        return StrToDate(S, JsonNodeFormatSettings);
    if (S.size() == 8)
        return StrToTime(S, JsonNodeFormatSettings);
    return XMLTimeToDateTime(S);
}

TJsonNode& TJsonNode::Member(QStringView Name) const
{
    TJsonNode* Node = FItems ? FItems->Find(Name) : nullptr;
    if (!Node)
        throw EJSONUnknownFieldOrIndex(QStringLiteral("Unknown field: %1").arg(Name));
    return *Node;
}

TJsonNode& TJsonNode::Item(int64_t Index) const
{
    if (Index < 0)
        throw EArgumentOutOfRangeException(QStringLiteral("Argument out of range"));
    if (!FListItems || Index >= FListItems->Count())
        throw EJSONUnknownFieldOrIndex(QStringLiteral("Unknown index: %1").arg(Index));
    return *FListItems->FItems[static_cast<size_t>(Index)];
}

TJsonNode& TJsonNode::GetJSONByNameOrIndex(const QVariant& AData) const
{
    switch (AData.typeId()) {
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::SChar:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return Item(AData.toLongLong());
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return Member(AData.toString());
    case QMetaType::UShort:
    case QMetaType::UInt:
        return Member(QString::number(AData.toUInt()));
    default:
        break;
    }
    QString Kind;
    switch (AData.typeId()) {
    case QMetaType::UnknownType: Kind = QStringLiteral("Empty"); break;
    case QMetaType::Nullptr: Kind = QStringLiteral("Null"); break;
    case QMetaType::Bool: Kind = QStringLiteral("Boolean"); break;
    case QMetaType::Double: Kind = QStringLiteral("Double"); break;
    case QMetaType::Float: Kind = QStringLiteral("Single"); break;
    case QMetaType::ULongLong: Kind = QStringLiteral("UInt64"); break;
    case QMetaType::QDateTime: case QMetaType::QDate: Kind = QStringLiteral("Date"); break;
    default: Kind = QString::fromLatin1(AData.typeName()); break;
    }
    throw EJSONUnknownFieldOrIndex(QStringLiteral("Unknown field variant type: %1.").arg(Kind));
}

std::vector<TJsonNode*>::const_iterator TJsonNode::begin() const
{
    static const std::vector<TJsonNode*> None;
    return FListItems ? FListItems->begin() : None.begin();
}

std::vector<TJsonNode*>::const_iterator TJsonNode::end() const
{
    static const std::vector<TJsonNode*> None;
    return FListItems ? FListItems->end() : None.end();
}

// ---------------------------------------------------------------------------

TDateTime XMLTimeToDateTime(const QString& Text)
{
    const QString S = Text.trimmed();
    auto Fail = [&]() -> TDateTime {
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(Text));
    };
    auto At = [&](qsizetype K) { return K < S.size() ? S.at(K) : QChar(); };
    auto Digits = [&](qsizetype From, qsizetype Count, int& Value) {
        if (From + Count > S.size())
            return false;
        Value = 0;
        for (qsizetype K = From; K < From + Count; ++K) {
            const QChar C = S.at(K);
            if (!C.isDigit())
                return false;
            Value = Value * 10 + C.digitValue();
        }
        return true;
    };
    int Y, Mo, D;
    if (!Digits(0, 4, Y) || S.size() < 10 || S.at(4) != QLatin1Char('-') || !Digits(5, 2, Mo)
        || S.at(7) != QLatin1Char('-') || !Digits(8, 2, D))
        return Fail();
    TDateTime Result = 0;
    if (!TryEncodeDate(Y, Mo, D, Result))
        return Fail();
    qsizetype Pos = 10;
    int H = 0, Mi = 0, Se = 0, Ms = 0;
    if (Pos < S.size() && (S.at(Pos) == QLatin1Char('T') || S.at(Pos) == QLatin1Char(' '))) {
        if (!Digits(Pos + 1, 2, H) || At(Pos + 3) != QLatin1Char(':') || !Digits(Pos + 4, 2, Mi))
            return Fail();
        Pos += 6;
        if (At(Pos) == QLatin1Char(':')) {
            if (!Digits(Pos + 1, 2, Se))
                return Fail();
            Pos += 3;
            if (At(Pos) == QLatin1Char('.') || At(Pos) == QLatin1Char(',')) {
                ++Pos;
                int Scale = 100;
                while (Pos < S.size() && S.at(Pos).isDigit()) {
                    Ms += S.at(Pos).digitValue() * Scale;
                    Scale /= 10;
                    ++Pos;
                }
            }
        }
        if (H == 24 && Mi == 0 && Se == 0 && Ms == 0) {
            H = 0;
            Result += 1;
        }
        TDateTime T = 0;
        if (!TryEncodeTime(H, Mi, Se, Ms, T))
            return Fail();
        Result += T;
    }
    if (Pos < S.size()) {
        const QChar Z = S.at(Pos);
        if (Z == QLatin1Char('Z') && Pos + 1 == S.size())
            return Result;
        int OH = 0, OM = 0;
        if ((Z != QLatin1Char('+') && Z != QLatin1Char('-')) || !Digits(Pos + 1, 2, OH))
            return Fail();
        qsizetype After = Pos + 3;
        if (At(After) == QLatin1Char(':'))
            ++After;
        if (After < S.size()) {
            if (!Digits(After, 2, OM))
                return Fail();
            After += 2;
        }
        if (After != S.size() || OH > 23 || OM > 59)
            return Fail();
        const int Offset = (OH * 60 + OM) * (Z == QLatin1Char('+') ? 1 : -1);
        Result = IncMilliSecond(Result, -int64_t(Offset) * 60000);
    }
    return Result;
}
