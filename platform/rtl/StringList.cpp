#include "platform/rtl/StringList.h"

#include "platform/rtl/Exception.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace {

// Holds a list's change notice until a compound change is complete.
class TUpdateScope {
public:
    explicit TUpdateScope(TStringList& L) : FList(L) { FList.BeginUpdate(); }
    ~TUpdateScope() { FList.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TStringList& FList;
};

}  // namespace

TStringList::TStringList(const TStringList& Other)
    : Duplicates(Other.Duplicates), Delimiter(Other.Delimiter), QuoteChar(Other.QuoteChar),
      NameValueSeparator(Other.NameValueSeparator), StrictDelimiter(Other.StrictDelimiter), LineBreak(Other.LineBreak),
      FItems(Other.FItems), FSorted(Other.FSorted), FCaseSensitive(Other.FCaseSensitive)
{
}

TStringList& TStringList::operator=(const TStringList& Other)
{
    if (this == &Other)
        return *this;
    Duplicates = Other.Duplicates;
    Delimiter = Other.Delimiter;
    QuoteChar = Other.QuoteChar;
    NameValueSeparator = Other.NameValueSeparator;
    StrictDelimiter = Other.StrictDelimiter;
    LineBreak = Other.LineBreak;
    FItems = Other.FItems;
    FSorted = Other.FSorted;
    FCaseSensitive = Other.FCaseSensitive;
    Changed();
    return *this;
}

void TStringList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        if (OnChange)
            OnChange();
    }
}

void TStringList::Changed()
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (OnChange)
        OnChange();
}

const QString& TStringList::operator[](int Index) const
{
    CheckIndex(Index);
    return FItems[size_t(Index)].S;
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TStringList::SetStrings(int Index, const QString& S)
{
    CheckIndex(Index);
    FItems[size_t(Index)].S = S;
    Changed();
}

void* TStringList::Objects(int Index) const
{
    CheckIndex(Index);
    return FItems[size_t(Index)].Obj;
}

void TStringList::SetObjects(int Index, void* Obj)
{
    CheckIndex(Index);
    FItems[size_t(Index)].Obj = Obj;
    Changed();
}

int TStringList::CompareStrings(const QString& A, const QString& B) const
{
    return A.compare(B, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

int TStringList::Add(const QString& S)
{
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const QString& S, void* Obj)
{
    if (!FSorted) {
        FItems.push_back({S, Obj});
        Changed();
        return Count() - 1;
    }
    int at = 0;
    if (Find(S, at)) {
        if (Duplicates == dupIgnore)
            return at;
        if (Duplicates == dupError)
            throw EStringListError(QStringLiteral("String list does not allow duplicates"));
    }
    FItems.insert(FItems.begin() + at, Item{S, Obj});
    Changed();
    return at;
}

void TStringList::AddStrings(const TStringList& Other)
{
    TUpdateScope scope(*this);
    for (int i = 0; i < Other.Count(); ++i)
        AddObject(Other[i], Other.Objects(i));
}

void TStringList::Insert(int Index, const QString& S)
{
    if (FSorted)
        throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
    if (Index < 0 || Index > Count())
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.insert(FItems.begin() + Index, Item{S, nullptr});
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
}

void TStringList::Exchange(int A, int B)
{
    CheckIndex(A);
    CheckIndex(B);
    std::swap(FItems[size_t(A)], FItems[size_t(B)]);
    Changed();
}

int TStringList::IndexOf(const QString& S) const
{
    if (FSorted) {
        int at = 0;
        return Find(S, at) ? at : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(FItems[size_t(i)].S, S) == 0)
            return i;
    return -1;
}

int TStringList::IndexOfName(const QString& Name) const
{
    for (int i = 0; i < Count(); ++i) {
        const QString& s = FItems[size_t(i)].S;
        const qsizetype p = s.indexOf(NameValueSeparator);
        if (p >= 0 && CompareStrings(s.left(p), Name) == 0)
            return i;
    }
    return -1;
}

int TStringList::IndexOfObject(const void* Obj) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].Obj == Obj)
            return i;
    return -1;
}

bool TStringList::Find(const QString& S, int& Index) const
{
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = CompareStrings(FItems[size_t(mid)].S, S);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (Duplicates != dupAccept)
                    lo = mid;
            }
        }
    }
    Index = lo;
    return found;
}

QString TStringList::Names(int Index) const
{
    const QString& s = (*this)[Index];
    const qsizetype p = s.indexOf(NameValueSeparator);
    return p >= 0 ? s.left(p) : QString();
}

QString TStringList::ValueFromIndex(int Index) const
{
    const QString& s = (*this)[Index];
    const qsizetype p = s.indexOf(NameValueSeparator);
    return p >= 0 ? s.mid(p + 1) : QString();
}

QString TStringList::Values(const QString& Name) const
{
    const int i = IndexOfName(Name);
    return i >= 0 ? ValueFromIndex(i) : QString();
}

void TStringList::SetValues(const QString& Name, const QString& Value)
{
    const int i = IndexOfName(Name);
    if (Value.isEmpty()) {
        if (i >= 0)
            Delete(i);
        return;
    }
    const QString line = Name + NameValueSeparator + Value;
    if (i >= 0)
        SetStrings(i, line);
    else
        Add(line);
}

QString TStringList::Text() const
{
    QString r;
    for (const Item& it : FItems)
        r += it.S + LineBreak;
    return r;
}

void TStringList::SetText(const QString& S)
{
    TUpdateScope scope(*this);
    Clear();
    int start = 0;
    const int n = int(S.size());
    for (int i = 0; i < n; ++i) {
        if (S[i] == QLatin1Char('\r') || S[i] == QLatin1Char('\n')) {
            Add(S.mid(start, i - start));
            if (S[i] == QLatin1Char('\r') && i + 1 < n && S[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        Add(S.mid(start));
}

QString TStringList::DelimitedText() const
{
    QString r;
    for (int i = 0; i < Count(); ++i) {
        const QString& s = FItems[size_t(i)].S;
        bool quote = s.contains(QuoteChar) || s.contains(Delimiter);
        if (!StrictDelimiter)
            for (QChar c : s)
                if (c.unicode() <= ' ')
                    quote = true;
        if (i > 0)
            r += Delimiter;
        if (quote) {
            QString q = s;
            q.replace(QuoteChar, QString(2, QuoteChar));
            r += QuoteChar + q + QuoteChar;
        } else {
            r += s;
        }
    }
    return r;
}

void TStringList::SetDelimitedText(const QString& S)
{
    TUpdateScope scope(*this);
    Clear();
    const int n = int(S.size());
    int i = 0;
    auto isSep = [&](QChar c) { return c == Delimiter || (!StrictDelimiter && c.unicode() <= ' ' && c.unicode() > 0); };
    if (!StrictDelimiter)
        while (i < n && S[i].unicode() <= ' ')
            ++i;
    while (i < n) {
        QString item;
        if (S[i] == QuoteChar) {
            ++i;
            while (i < n) {
                if (S[i] == QuoteChar) {
                    if (i + 1 < n && S[i + 1] == QuoteChar) {
                        item += QuoteChar;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += S[i++];
            }
            while (i < n && !isSep(S[i]))
                item += S[i++];
        } else {
            while (i < n && !isSep(S[i]))
                item += S[i++];
        }
        Add(item);
        if (!StrictDelimiter)
            while (i < n && S[i].unicode() <= ' ' && S[i] != Delimiter)
                ++i;
        if (i < n && S[i] == Delimiter) {
            ++i;
            if (i == n)
                Add(QString());
            if (!StrictDelimiter)
                while (i < n && S[i].unicode() <= ' ' && S[i] != Delimiter)
                    ++i;
        }
    }
}

QString TStringList::CommaText() const
{
    TStringList copy;
    for (const Item& it : FItems)
        copy.Add(it.S);
    return copy.DelimitedText();
}

void TStringList::SetCommaText(const QString& S)
{
    const QChar d = Delimiter;
    const bool strict = StrictDelimiter;
    Delimiter = QLatin1Char(',');
    StrictDelimiter = false;
    SetDelimitedText(S);
    Delimiter = d;
    StrictDelimiter = strict;
}

void TStringList::Sort()
{
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.S, b.S) < 0; });
    Changed();
}

void TStringList::SetSorted(bool V)
{
    if (V && !FSorted)
        Sort();
    FSorted = V;
}

void TStringList::SetCaseSensitive(bool V)
{
    FCaseSensitive = V;
    if (FSorted)
        Sort();
}

QString DecodeTextBytes(const QByteArray& Bytes)
{
    if (Bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(Bytes.mid(3));
    if (Bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(Bytes.mid(2));
    if (Bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(Bytes.mid(2));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(Bytes);
    if (!utf8.hasError())
        return s;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(Bytes);
    return QString::fromLatin1(Bytes);
}

void TStringList::LoadFromFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EFileStreamError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
    SetText(DecodeTextBytes(f.readAll()));
}

void TStringList::SaveToFile(const QString& FileName) const
{
    QSaveFile f(FileName);
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly) || f.write(Text().toUtf8()) < 0 || !f.commit())
        throw EFileStreamError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
}

QStringList TStringList::ToQStringList() const
{
    QStringList r;
    for (const Item& it : FItems)
        r << it.S;
    return r;
}

void TStringList::Assign(const QStringList& L)
{
    TUpdateScope scope(*this);
    Clear();
    for (const QString& s : L)
        Add(s);
}
