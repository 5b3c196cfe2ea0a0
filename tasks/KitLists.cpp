#include "tasks/KitLists.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cstring>

// --- Method list -----------------------------------------------------------

int TKitTMethodList::Add(const TMethod& m)
{
    mlCode.push_back(m);
    return Count() - 1;
}

void TKitTMethodList::Insert(int idx, const TMethod& m)
{
    mlCode.insert(mlCode.begin() + idx, m);
}

void TKitTMethodList::Delete(int idx)
{
    mlCode.erase(mlCode.begin() + idx);
}

int TKitTMethodList::Remove(const TMethod& m)
{
    const int idx = IndexOf(m);
    if (idx >= 0)
        Delete(idx);
    return idx;
}

void TKitTMethodList::Clear()
{
    mlCode.clear();
}

void TKitTMethodList::Assign(const TKitTMethodList& other)
{
    mlCode = other.mlCode;
}

int TKitTMethodList::IndexOf(const TMethod& m) const
{
    for (int i = 0; i < Count(); ++i)
        if (mlCode[size_t(i)] == m)
            return i;
    return -1;
}

int TKitTMethodList::Ensure(const TMethod& m)
{
    const int idx = IndexOf(m);
    return idx >= 0 ? idx : Add(m);
}

TMethod TKitTMethodList::Items(int idx) const
{
    return mlCode.at(size_t(idx));
}

// --- Walk enumerator -------------------------------------------------------

namespace {

template <class T>
const char* WalkName()
{
    return sizeof(T) == 8 ? "TKitInt64ListWalkEnumerator.HandleListChange: Unexpected list operation"
                          : "TKitIntegerListWalkEnumerator.HandleListChange: Unexpected list operation";
}

template <class T>
T ParseItem(const QString& s)
{
    if constexpr (sizeof(T) == 8)
        return StrToInt64(s);
    else
        return StrToInt(s);
}

template <class V>
void PutLE(uint8_t*& p, V v)
{
    std::memcpy(p, &v, sizeof v);  // x86-64 is little-endian
    p += sizeof v;
}

template <class V>
V GetLE(const uint8_t*& p)
{
    V v;
    std::memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
}

}  // namespace

template <class T>
TKitIntListWalkEnumeratorT<T>::TKitIntListWalkEnumeratorT(TKitIntListT<T>& list, int step, int idxTo, int idxFrom)
    : ilweIdxTo(idxTo == CKitLastIndex ? list.Count() - 1 : idxTo), ilweIndex(idxFrom - step), ilweList(&list),
      ilweStep(step)
{
    ilweList->RegisterNotification(
        MakeMethod<&TKitIntListWalkEnumeratorT<T>::HandleListChange, TKitIntListT<T>*, int, TKitListOperation>(this));
}

template <class T>
TKitIntListWalkEnumeratorT<T>::~TKitIntListWalkEnumeratorT()
{
    ilweList->UnregisterNotification(
        MakeMethod<&TKitIntListWalkEnumeratorT<T>::HandleListChange, TKitIntListT<T>*, int, TKitListOperation>(this));
}

template <class T>
bool TKitIntListWalkEnumeratorT<T>::MoveNext()
{
    ilweIndex += ilweStep;
    return ilweIndex <= ilweIdxTo;
}

template <class T>
void TKitIntListWalkEnumeratorT<T>::HandleListChange(TKitIntListT<T>*, int idxItem, TKitListOperation operation)
{
    int delta;
    if (operation == loInsert)
        delta = 1;
    else if (operation == loDelete)
        delta = -1;
    else
        throw Exception(QString::fromUtf8(WalkName<T>()));
    if (idxItem < ilweIndex) {
        ilweIndex += delta;
        ilweIdxTo += delta;
    } else if (idxItem <= ilweIdxTo) {
        ilweIdxTo += delta;
    }
}

// --- Integer list ----------------------------------------------------------

template <class T>
TKitIntListT<T>::TKitIntListT() = default;

template <class T>
TKitIntListT<T>::TKitIntListT(const std::vector<T>& items)
{
    Assign(items);
}

template <class T>
TKitIntListT<T>::~TKitIntListT() = default;

template <class T>
const char* TKitIntListT<T>::ListName() const
{
    return sizeof(T) == 8 ? "TKitInt64List" : "TKitIntegerList";
}

template <class T>
void TKitIntListT<T>::SetCapacity(int value)
{
    if (value > Capacity())
        ilList.reserve(size_t(value));
}

template <class T>
void TKitIntListT<T>::SetCount(int value)
{
    ilList.resize(size_t(std::max(value, 0)), T(0));
}

template <class T>
T TKitIntListT<T>::Items(int idx) const
{
    if (idx < 0 || idx >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(idx));
    return ilList[size_t(idx)];
}

template <class T>
void TKitIntListT<T>::SetItems(int idx, T value)
{
    if (idx < 0 || idx >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(idx));
    ilList[size_t(idx)] = value;
}

template <class T>
void TKitIntListT<T>::SetSorted(bool value)
{
    if (value && !ilSorted)
        QuickSortAll();
    ilSorted = value;
}

template <class T>
void TKitIntListT<T>::QuickSortAll()
{
    if (Count() > 1)
        QuickSort(0, Count() - 1, [this](int a, int b) {
            const T x = ilList[size_t(a)], y = ilList[size_t(b)];
            return x < y ? -1 : (x > y ? 1 : 0);
        });
}

template <class T>
QString TKitIntListT<T>::Text() const
{
    QString s;
    for (T v : ilList)
        s += QString::number(v) + QStringLiteral("\r\n");
    return s;
}

template <class T>
void TKitIntListT<T>::SetText(const QString& value)
{
    Clear();
    qsizetype start = 0;
    const qsizetype n = value.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && value[end] != QLatin1Char('\r') && value[end] != QLatin1Char('\n'))
            ++end;
        Add(ParseItem<T>(value.mid(start, end - start)));
        if (end < n && value[end] == QLatin1Char('\r') && end + 1 < n && value[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
}

template <class T>
int TKitIntListT<T>::AddIndex(T item, bool& exists)
{
    exists = false;
    if (!ilSorted)
        return Count();
    int idx;
    if (Find(item, idx)) {
        if (ilDuplicates == dupIgnore) {
            exists = true;
        } else if (ilDuplicates == dupError) {
            throw EListError(QStringLiteral("List does not allow duplicates ($0%1)")
                                 .arg(QString::number(uint64_t(std::make_unsigned_t<T>(item)), 16).toUpper()));
        }
    }
    return idx;
}

template <class T>
int TKitIntListT<T>::Add(T item)
{
    bool exists;
    const int idx = AddIndex(item, exists);
    if (!exists) {
        ilList.insert(ilList.begin() + idx, item);
        Notify(idx, loInsert);
    }
    return idx;
}

template <class T>
void TKitIntListT<T>::Append(const std::vector<T>& items)
{
    SetCapacity(Count() + int(items.size()));
    for (T v : items)
        Add(v);
}

template <class T>
void TKitIntListT<T>::Append(const TKitIntListT& list)
{
    Append(list.ilList);
}

template <class T>
void TKitIntListT<T>::Assign(const std::vector<T>& items)
{
    Clear();
    Append(items);
}

template <class T>
void TKitIntListT<T>::Assign(const TKitIntListT& list)
{
    const std::vector<T> copy = list.ilList;  // the list may be this one
    Assign(copy);
}

template <class T>
void TKitIntListT<T>::Clear()
{
    ilList.clear();
}

template <class T>
void TKitIntListT<T>::Delete(int idx)
{
    Items(idx);  // range check
    ilList.erase(ilList.begin() + idx);
    Notify(idx, loDelete);
}

template <class T>
uint8_t* TKitIntListT<T>::Dump(uint8_t* baseAddress) const
{
    uint8_t* p = baseAddress;
    if constexpr (sizeof(T) == 8)
        PutLE<int64_t>(p, Count());
    else
        PutLE<int32_t>(p, Count());
    for (T v : ilList)
        PutLE<T>(p, v);
    return p;
}

template <class T>
const uint8_t* TKitIntListT<T>::Restore(const uint8_t* baseAddress)
{
    const uint8_t* p = baseAddress;
    const int64_t n = sizeof(T) == 8 ? GetLE<int64_t>(p) : GetLE<int32_t>(p);
    SetCapacity(Count() + int(n));
    for (int64_t i = 0; i < n; ++i)
        Add(GetLE<T>(p));
    return p;
}

template <class T>
int TKitIntListT<T>::Ensure(T item)
{
    const int idx = IndexOf(item);
    return idx >= 0 ? idx : Add(item);
}

template <class T>
void TKitIntListT<T>::Exchange(int idx1, int idx2)
{
    Items(idx1);
    Items(idx2);
    std::swap(ilList[size_t(idx1)], ilList[size_t(idx2)]);
}

template <class T>
bool TKitIntListT<T>::Find(T value, int& idx) const
{
    WeftAssert(ilSorted, "Find only works on sorted lists!");
    bool result = false;
    int l = 0, h = Count() - 1;
    while (l <= h) {
        const int i = (l + h) >> 1;
        const T v = ilList[size_t(i)];
        if (v < value) {
            l = i + 1;
        } else {
            h = i - 1;
            if (v == value) {
                result = true;
                if (ilDuplicates != dupAccept)
                    l = i;
            }
        }
    }
    idx = l;
    return result;
}

template <class T>
T TKitIntListT<T>::First() const
{
    return Items(0);
}

template <class T>
T TKitIntListT<T>::Last() const
{
    return Items(Count() - 1);
}

template <class T>
void TKitIntListT<T>::Insert(int idx, T item)
{
    if (ilSorted)
        throw EListError(QStringLiteral("Cannot insert element in sorted list."));
    if (idx < 0 || idx > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(idx));
    ilList.insert(ilList.begin() + idx, item);
    Notify(idx, loInsert);
}

template <class T>
bool TKitIntListT<T>::LoadFromStream(QIODevice& stream)
{
    Clear();
    for (;;) {
        T v;
        const qint64 got = stream.read(reinterpret_cast<char*>(&v), sizeof v);
        if (got == 0 || got < 0)
            return got == 0;
        if (got < qint64(sizeof v))
            return false;
        Add(v);
    }
}

template <class T>
void TKitIntListT<T>::Move(int curIdx, int newIdx)
{
    if (ilSorted)
        throw EListError(QStringLiteral("Cannot move elements in sorted list."));
    if (curIdx == newIdx)
        return;
    const T v = Items(curIdx);
    Items(newIdx);
    ilList.erase(ilList.begin() + curIdx);
    ilList.insert(ilList.begin() + newIdx, v);
}

template <class T>
int TKitIntListT<T>::Remove(T item)
{
    const int idx = IndexOf(item);
    if (idx >= 0)
        Delete(idx);
    return idx;
}

template <class T>
void TKitIntListT<T>::SaveToStream(QIODevice& stream) const
{
    for (T v : ilList)
        stream.write(reinterpret_cast<const char*>(&v), sizeof v);
}

template <class T>
int TKitIntListT<T>::IndexOf(T item) const
{
    if (ilSorted) {
        int idx;
        return Find(item, idx) ? idx : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (ilList[size_t(i)] == item)
            return i;
    return -1;
}

template <class T>
void TKitIntListT<T>::Sort()
{
    SetSorted(false);
    SetSorted(true);
}

template <class T>
void TKitIntListT<T>::CustomSort(const std::function<int(int, int)>& compare)
{
    if (!ilSorted && Count() > 1)
        QuickSort(0, Count() - 1, compare);
}

template <class T>
void TKitIntListT<T>::QuickSort(int l, int r, const std::function<int(int, int)>& compare)
{
    int i;
    do {
        i = l;
        int j = r;
        int p = (l + r) >> 1;
        do {
            while (compare(i, p) < 0)
                ++i;
            while (compare(j, p) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    Exchange(i, j);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSort(l, j, compare);
        l = i;
    } while (i < r);
}

template <class T>
QString TKitIntListT<T>::AsDelimitedText(const QString& delimiter) const
{
    QString s;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            s += delimiter;
        s += QString::number(ilList[size_t(i)]);
    }
    return s;
}

template <class T>
QString TKitIntListT<T>::AsHexText(const QString& delimiter) const
{
    const QString sep = delimiter.isEmpty() ? QStringLiteral("\r\n") : delimiter;
    QString s;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            s += sep;
        s += QString::number(uint64_t(std::make_unsigned_t<T>(ilList[size_t(i)])), 16).toUpper();
    }
    return s;
}

template <class T>
std::vector<T> TKitIntListT<T>::Slice(int idxFrom, int idxTo, int step) const
{
    if (idxTo == CKitLastIndex)
        idxTo = Count() - 1;
    std::vector<T> r;
    for (int i = idxFrom; step > 0 ? i <= idxTo : i >= idxTo; i += step)
        r.push_back(Items(i));
    return r;
}

template <class T>
void TKitIntListT<T>::Notify(int idx, TKitListOperation op)
{
    // A handler may unregister itself (a walk that ends): go over a copy.
    if (ilNotificationHandlers.Count() == 0)
        return;
    TKitTMethodList handlers;
    handlers.Assign(ilNotificationHandlers);
    for (const TMethod& m : handlers)
        InvokeMethod<TKitIntListT<T>*, int, TKitListOperation>(m, this, idx, op);
}

void AppendInt32(TKitInt64List& target, const TKitIntegerList& source)
{
    std::vector<int64_t> items(source.begin(), source.end());
    target.Append(items);
}

void AssignInt32(TKitInt64List& target, const TKitIntegerList& source)
{
    std::vector<int64_t> items(source.begin(), source.end());
    target.Assign(items);
}

// --- Object lists ----------------------------------------------------------

template <class T>
TKitIntObjectListT<T>::TKitIntObjectListT(bool ownsObjects) : iolOwnsObjects(ownsObjects)
{
}

template <class T>
TKitIntObjectListT<T>::~TKitIntObjectListT()
{
    if (iolOwnsObjects)
        for (TWeftObject* o : iolObjects)
            delete o;
}

template <class T>
const char* TKitIntObjectListT<T>::ListName() const
{
    return sizeof(T) == 8 ? "TKitInt64ObjectList" : "TKitIntegerObjectList";
}

template <class T>
void TKitIntObjectListT<T>::CheckCounts(const char* operation) const
{
    if (iolObjects.size() != this->ilList.size())
        throw EAssertionFailed(QStringLiteral("%1.%2: Number of items and objects differ")
                                   .arg(QString::fromUtf8(ListName()), QString::fromUtf8(operation)));
}

template <class T>
void TKitIntObjectListT<T>::FreeIfOwned(TWeftObject* obj)
{
    if (iolOwnsObjects)
        delete obj;
}

template <class T>
void TKitIntObjectListT<T>::Clear()
{
    std::vector<TWeftObject*> objs;
    objs.swap(iolObjects);
    TKitIntListT<T>::Clear();
    for (TWeftObject* o : objs)
        FreeIfOwned(o);
}

template <class T>
void TKitIntObjectListT<T>::SetCount(int value)
{
    value = std::max(value, 0);
    while (int(iolObjects.size()) > value) {
        FreeIfOwned(iolObjects.back());
        iolObjects.pop_back();
    }
    iolObjects.resize(size_t(value), nullptr);
    TKitIntListT<T>::SetCount(value);
}

template <class T>
void TKitIntObjectListT<T>::Delete(int idx)
{
    this->Items(idx);
    CheckCounts("Delete");
    TWeftObject* obj = iolObjects[size_t(idx)];
    this->ilList.erase(this->ilList.begin() + idx);
    iolObjects.erase(iolObjects.begin() + idx);
    FreeIfOwned(obj);
    this->Notify(idx, loDelete);
}

template <class T>
uint8_t* TKitIntObjectListT<T>::Dump(uint8_t* baseAddress) const
{
    uint8_t* p = baseAddress;
    PutLE<int32_t>(p, this->Count());
    for (int i = 0; i < this->Count(); ++i) {
        PutLE<T>(p, this->ilList[size_t(i)]);
        PutLE<TWeftObject*>(p, iolObjects[size_t(i)]);
    }
    return p;
}

template <class T>
const uint8_t* TKitIntObjectListT<T>::Restore(const uint8_t* baseAddress)
{
    const uint8_t* p = baseAddress;
    const int32_t n = GetLE<int32_t>(p);
    this->SetCapacity(this->Count() + n);
    for (int32_t i = 0; i < n; ++i) {
        const T item = GetLE<T>(p);
        AddObject(item, GetLE<TWeftObject*>(p));
    }
    return p;
}

template <class T>
void TKitIntObjectListT<T>::Exchange(int idx1, int idx2)
{
    TKitIntListT<T>::Exchange(idx1, idx2);
    std::swap(iolObjects[size_t(idx1)], iolObjects[size_t(idx2)]);
}

template <class T>
bool TKitIntObjectListT<T>::LoadFromStream(QIODevice& stream)
{
    Clear();
    for (;;) {
        char buf[sizeof(T) + sizeof(TWeftObject*)];
        const qint64 got = stream.read(buf, sizeof buf);
        if (got <= 0)
            return got == 0;
        if (got < qint64(sizeof buf))
            return false;
        const uint8_t* p = reinterpret_cast<const uint8_t*>(buf);
        const T item = GetLE<T>(p);
        AddObject(item, GetLE<TWeftObject*>(p));
    }
}

template <class T>
void TKitIntObjectListT<T>::SaveToStream(QIODevice& stream) const
{
    for (int i = 0; i < this->Count(); ++i) {
        const T item = this->ilList[size_t(i)];
        TWeftObject* obj = iolObjects[size_t(i)];
        stream.write(reinterpret_cast<const char*>(&item), sizeof item);
        stream.write(reinterpret_cast<const char*>(&obj), sizeof obj);
    }
}

template <class T>
void TKitIntObjectListT<T>::Move(int curIdx, int newIdx)
{
    TKitIntListT<T>::Move(curIdx, newIdx);
    if (curIdx == newIdx)
        return;
    TWeftObject* obj = iolObjects[size_t(curIdx)];
    iolObjects.erase(iolObjects.begin() + curIdx);
    iolObjects.insert(iolObjects.begin() + newIdx, obj);
}

template <class T>
TWeftObject* TKitIntObjectListT<T>::GetObject(int idx) const
{
    this->Items(idx);
    return iolObjects[size_t(idx)];
}

template <class T>
void TKitIntObjectListT<T>::SetObject(int idx, TWeftObject* value)
{
    this->Items(idx);
    TWeftObject*& slot = iolObjects[size_t(idx)];
    if (slot != value) {
        FreeIfOwned(slot);
        slot = value;
    }
}

template <class T>
int TKitIntObjectListT<T>::AddObject(T item, TWeftObject* obj)
{
    bool exists;
    const int idx = this->AddIndex(item, exists);
    if (exists) {
        SetObject(idx, obj);
        return idx;
    }
    CheckCounts("AddObject");
    this->ilList.insert(this->ilList.begin() + idx, item);
    iolObjects.insert(iolObjects.begin() + idx, obj);
    this->Notify(idx, loInsert);
    return idx;
}

template <class T>
int TKitIntObjectListT<T>::EnsureObject(T item, TWeftObject* obj)
{
    const int idx = this->Ensure(item);
    SetObject(idx, obj);
    return idx;
}

template <class T>
int TKitIntObjectListT<T>::EnsureObject(T item, const std::function<TWeftObject*()>& factory)
{
    const int idx = this->Ensure(item);
    if (!iolObjects[size_t(idx)])
        SetObject(idx, factory());
    return idx;
}

template <class T>
TWeftObject* TKitIntObjectListT<T>::ExtractObject(int idx)
{
    this->Items(idx);
    TWeftObject* obj = iolObjects[size_t(idx)];
    this->ilList.erase(this->ilList.begin() + idx);
    iolObjects.erase(iolObjects.begin() + idx);
    this->Notify(idx, loDelete);
    return obj;
}

template <class T>
TWeftObject* TKitIntObjectListT<T>::FetchObject(T item) const
{
    const int idx = this->IndexOf(item);
    return idx >= 0 ? iolObjects[size_t(idx)] : nullptr;
}

template <class T>
void TKitIntObjectListT<T>::FreeObjects()
{
    for (TWeftObject*& o : iolObjects) {
        delete o;
        o = nullptr;
    }
}

template <class T>
void TKitIntObjectListT<T>::InsertObject(int idx, T item, TWeftObject* obj)
{
    if (this->ilSorted)
        throw EListError(QStringLiteral("Cannot insert element in sorted list."));
    if (idx < 0 || idx > this->Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(idx));
    CheckCounts("InsertObject");
    this->ilList.insert(this->ilList.begin() + idx, item);
    iolObjects.insert(iolObjects.begin() + idx, obj);
    this->Notify(idx, loInsert);
}

template class TKitIntListT<int32_t>;
template class TKitIntListT<int64_t>;
template class TKitIntObjectListT<int32_t>;
template class TKitIntObjectListT<int64_t>;
template class TKitIntListWalkEnumeratorT<int32_t>;
template class TKitIntListWalkEnumeratorT<int64_t>;
