#include "sync/jsonnode.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
// each other; blocks grow so small replies stay small. What is made here is
// never destroyed one by one: the types hold nothing that needs it (a tree's
// inner nodes own no store), and the tree goes away with its blocks.
template <class T>
class TBlockPool {
public:
    T* New()
    {
        if (FUsed == FBlockSize) {
            FBlockSize = FBlocks.empty() ? 16 : std::min<size_t>(FBlockSize * 2, 1024);
            FBlocks.emplace_back(new TSlot[FBlockSize]);
            FUsed = 0;
        }
        return new (&FBlocks.back()[FUsed++]) T();
    }

private:
    struct alignas(T) TSlot {
        unsigned char Bytes[sizeof(T)];
    };
    std::vector<std::unique_ptr<TSlot[]>> FBlocks;
    size_t FBlockSize = 0;
    size_t FUsed = 0;
};

// Copies of finished member and item lists, packed one after another.
template <class T>
class TArrayArena {
    static_assert(std::is_trivially_destructible_v<T>);

public:
    const T* Copy(const T* From, size_t Count)
    {
        if (Count == 0)
            return nullptr;
        if (FFree < Count) {
            FBlockSize = std::max<size_t>(Count, FBlocks.empty() ? 64 : std::min<size_t>(FBlockSize * 2, 2048));
            FBlocks.emplace_back(new T[FBlockSize]);
            FNext = FBlocks.back().get();
            FFree = FBlockSize;
        }
        T* Result = FNext;
        std::copy_n(From, Count, Result);
        FNext += Count;
        FFree -= Count;
        return Result;
    }

private:
    std::vector<std::unique_ptr<T[]>> FBlocks;
    size_t FBlockSize = 0;
    T* FNext = nullptr;
    size_t FFree = 0;
};

// The next quote or backslash from From on, or End.
qsizetype FindQuoteOrBackslash(const char16_t* P, qsizetype From, qsizetype End)
{
#if defined(__SSE2__)
    const __m128i Quote = _mm_set1_epi16(u'"');
    const __m128i Back = _mm_set1_epi16(u'\\');
    for (; From + 8 <= End; From += 8) {
        const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P + From));
        const int Mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(V, Quote), _mm_cmpeq_epi16(V, Back)));
        if (Mask)
            return From + (__builtin_ctz(static_cast<unsigned>(Mask)) >> 1);
    }
#endif
    for (; From < End; ++From)
        if (P[From] == u'"' || P[From] == u'\\')
            return From;
    return End;
}

bool SameText(QStringView A, QStringView B)
{
    return A.size() == B.size() &&
           std::memcmp(A.utf16(), B.utf16(), static_cast<size_t>(A.size()) * sizeof(char16_t)) == 0;
}

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
    TArrayArena<TJsonNodeItems::TEntry> Members;
    TArrayArena<TJsonNode*> Items;
    std::vector<std::unique_ptr<QHash<QStringView, TJsonNode*>>> Indexes;
    std::vector<QString> Decoded;  // texts with escapes; moving keeps their data in place
};

// ---------------------------------------------------------------------------
// Containers

TJsonNode* TJsonNodeItems::Find(QStringView Name) const
{
    if (FIndex)
        return FIndex->value(Name, nullptr);
    for (const TEntry* Entry = FEntries; Entry != FEntries + FCount; ++Entry)
        if (SameText(Entry->first, Name))
            return Entry->second;
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
    Result.reserve(FCount);
    for (const TEntry* Entry = FEntries; Entry != FEntries + FCount; ++Entry)
        Result.append(Entry->first.toString());
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
    // An object or array that can still get members or items; they gather
    // in the scratch lists and move to the store when it is left.
    struct TOpen {
        TJsonNode* Node;
        size_t From;
    };

    TJsonStore* Store = nullptr;
    const char16_t* P = nullptr;
    std::vector<TOpen> Open;
    std::vector<TJsonNodeItems::TEntry> MemberScratch;
    std::vector<TJsonNode*> ItemScratch;

    static bool IsBlank(char16_t C) { return C <= u' '; }

    static bool Is(const char16_t* Token, qsizetype Len, const char16_t (&Word)[5])
    {
        return Len == 4 && Token[0] == Word[0] && Token[1] == Word[1] && Token[2] == Word[2] && Token[3] == Word[3];
    }

    // The pending token, trimmed, read as a value. Quotes counted and a
    // backslash seen while the token ran tell whether it needs decoding.
    inline TValue GetValue(qsizetype Start, qsizetype End, int Quotes, bool Backslash)
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
            if (Is(P + Start, Len, u"null")) {
                V.Kind = TJsonNode::TValueKind::vkNull;
            } else if (Is(P + Start, Len, u"true")) {
                V.Kind = TJsonNode::TValueKind::vkBoolean;
                V.Bool = true;
            } else if (Len == 5 && QStringView(P + Start, Len) == u"false") {
                V.Kind = TJsonNode::TValueKind::vkBoolean;
            } else {
                V.Kind = TJsonNode::TValueKind::vkText;
                V.Text = QStringView(P + Start, Len);
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
        return Decode(Start, End);
    }

    TValue Decode(qsizetype Start, qsizetype End)
    {
        TValue V;
        QString Out;
        Out.reserve(End - Start);
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
        // A node keeps its text's length in 32 bits.
        if (V.Text.size() > std::numeric_limits<int32_t>::max())
            throw EJSONParseError(QStringLiteral("Value too long"));
        Node->FKind = static_cast<unsigned char>(V.Kind);
        Node->FBool = V.Bool;
        Node->FTextData = V.Text.utf16();
        Node->FTextSize = static_cast<int32_t>(V.Text.size());
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
        ItemScratch.push_back(Node);
    }

    // false when the name is there already
    bool AddMember(TJsonNode* Dict, QStringView Name, TJsonNode* Node)
    {
        constexpr size_t IndexFrom = 32;
        TJsonNodeItems* Items = Dict->FItems;
        const size_t From = Open.back().From;
        if (Items->FIndex) {
            if (Items->FIndex->contains(Name))
                return false;
            Items->FIndex->insert(Name, Node);
        } else {
            for (size_t K = From; K < MemberScratch.size(); ++K)
                if (SameText(MemberScratch[K].first, Name))
                    return false;
            if (MemberScratch.size() - From + 1 >= IndexFrom) {
                Store->Indexes.push_back(std::make_unique<QHash<QStringView, TJsonNode*>>());
                Items->FIndex = Store->Indexes.back().get();
                Items->FIndex->reserve(static_cast<qsizetype>(IndexFrom * 2));
                for (size_t K = From; K < MemberScratch.size(); ++K)
                    Items->FIndex->insert(MemberScratch[K].first, MemberScratch[K].second);
                Items->FIndex->insert(Name, Node);
            }
        }
        MemberScratch.emplace_back(Name, Node);
        return true;
    }

    // The innermost open container is complete: its members or items move
    // to the store in one piece.
    void Close()
    {
        const TOpen Done = Open.back();
        Open.pop_back();
        if (Done.Node->FIsDict) {
            TJsonNodeItems* Items = Done.Node->FItems;
            Items->FCount = static_cast<int>(MemberScratch.size() - Done.From);
            Items->FEntries = Store->Members.Copy(MemberScratch.data() + Done.From, MemberScratch.size() - Done.From);
            MemberScratch.resize(Done.From);
        } else {
            TJsonNodeListItems* Items = Done.Node->FListItems;
            Items->FCount = static_cast<int>(ItemScratch.size() - Done.From);
            Items->FItems = Store->Items.Copy(ItemScratch.data() + Done.From, ItemScratch.size() - Done.From);
            ItemScratch.resize(Done.From);
        }
    }

    // Leaves the current node for its parent.
    TJsonNode* Up(TJsonNode* Cur)
    {
        if (Cur->FIsDict || Cur->FIsList)
            Close();
        return Cur->FParent;
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
        bool EscapeNext = false;  // the previous character was a backslash not itself escaped

        for (qsizetype I = 0; I < N; ++I) {
            const char16_t C = P[I];
            if (TokenStart < 0) {
                TokenStart = I;
                Quotes = 0;
                Backslash = false;
            }
            const bool Escaped = EscapeNext;
            EscapeNext = false;
            if (C == u'"') {
                if (Escaped)
                    continue;  // part of the pending token
                // A string: nothing but its closing quote and backslashes
                // (each escaping the character after it) matter inside it.
                ++Quotes;
                qsizetype J = I + 1;
                for (;;) {
                    J = FindQuoteOrBackslash(P, std::min(J, N), N);
                    if (J >= N || P[J] == u'"')
                        break;
                    Backslash = true;
                    J += 2;
                }
                if (J >= N)
                    break;  // the text ends inside the string
                ++Quotes;
                I = J;
                continue;
            }
            if (C == u'\\') {
                Backslash = true;
                EscapeNext = !Escaped;
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
                if (Node->FParent && Node->FParent->FIsList)
                    ItemScratch.push_back(Node);
                if (C == u'{') {
                    Node->FIsDict = true;
                    Node->FItems = Store->Dicts.New();
                    Open.push_back({Node, MemberScratch.size()});
                } else {
                    Node->FIsList = true;
                    Node->FListItems = Store->Lists.New();
                    Open.push_back({Node, ItemScratch.size()});
                }
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
                    if (!AddMember(Cur, Key, Member))
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
                    Cur = Up(Cur);
                }
                if (Cur)
                    Cur = Up(Cur);
                break;
            case u']':
                if (Cur && Cur->FIsList)
                    AddItem(Cur, GetValue(TokenStart, I, Quotes, Backslash));
                if (Cur)
                    Cur = Up(Cur);
                break;
            default:
                continue;  // part of the pending token
            }
            TokenStart = -1;
        }
        while (!Open.empty())
            Close();
        if (Result) {
            Result->FStore = OwnedStore.release();
            Result->FIsRoot = true;
        }
        return Result;
    }
};

// ---------------------------------------------------------------------------
// TJsonNode

TJsonNode::TJsonNode(TJsonNode* AParent) : FParent(AParent) {}

TJsonNode::~TJsonNode()
{
    if (FIsRoot)
        delete FStore;
}

std::unique_ptr<TJsonNode> TJsonNode::Parse(const QString& AJSON)
{
    TJsonParser Parser;
    return Parser.Run(AJSON);
}

QVariant TJsonNode::Value() const
{
    switch (ValueKind()) {
    case TValueKind::vkUnassigned: return QVariant();
    case TValueKind::vkNull: return QVariant::fromValue(nullptr);
    case TValueKind::vkBoolean: return QVariant(FBool);
    case TValueKind::vkText: return QVariant(Text().toString());
    }
    return QVariant();
}

QString TJsonNode::KindName() const
{
    switch (ValueKind()) {
    case TValueKind::vkUnassigned: return QStringLiteral("Empty");
    case TValueKind::vkNull: return QStringLiteral("Null");
    case TValueKind::vkBoolean: return QStringLiteral("Boolean");
    case TValueKind::vkText: return QStringLiteral("UnicodeString");
    }
    return QString();
}

QString TJsonNode::AsString() const
{
    switch (ValueKind()) {
    case TValueKind::vkBoolean: return FBool ? TrueText : FalseText;
    case TValueKind::vkText: return Text().toString();
    default: return QString();
    }
}

int TJsonNode::AsInteger() const
{
    switch (ValueKind()) {
    case TValueKind::vkUnassigned: return 0;
    case TValueKind::vkBoolean: return FBool ? -1 : 0;
    case TValueKind::vkText: {
        int64_t V = 0;
        if (ReadInteger(Text().toString(), V) && V >= std::numeric_limits<int>::min() &&
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
    switch (ValueKind()) {
    case TValueKind::vkUnassigned: return 0;
    case TValueKind::vkBoolean: return FBool ? -1 : 0;
    case TValueKind::vkText: {
        int64_t V = 0;
        if (ReadInteger(Text().toString(), V))
            return V;
        break;
    }
    default: break;
    }
    CannotConvert(KindName(), "Int64");
}

bool TJsonNode::AsBoolean() const
{
    switch (ValueKind()) {
    case TValueKind::vkUnassigned: return false;
    case TValueKind::vkBoolean: return FBool;
    case TValueKind::vkText: {
        const QString S = Text().toString().trimmed();
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
    TJsonNode* Node = FIsDict ? FItems->Find(Name) : nullptr;
    if (!Node)
        throw EJSONUnknownFieldOrIndex(QStringLiteral("Unknown field: %1").arg(Name));
    return *Node;
}

TJsonNode& TJsonNode::Item(int64_t Index) const
{
    if (Index < 0)
        throw EArgumentOutOfRangeException(QStringLiteral("Argument out of range"));
    if (!FIsList || Index >= FListItems->Count())
        throw EJSONUnknownFieldOrIndex(QStringLiteral("Unknown index: %1").arg(Index));
    return *FListItems->FItems[Index];
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
static_assert(sizeof(TJsonNode) == 32, "a node is kept to 32 bytes");
