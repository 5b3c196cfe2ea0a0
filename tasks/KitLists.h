#pragma once
// Bookkeeping lists of the task framework: integer lists (32- and 64-bit),
// optionally sorted with a duplicates policy, with change notifications and
// walks that follow inserts and deletes; the same with an object attached to
// each item (optionally owned); and a list of method references.
//
// None is thread-safe: each list belongs to one thread at a time.

#include "platform/rtl/StringList.h"  // TDuplicates
#include "tasks/WeftBase.h"

#include <QIODevice>
#include <QString>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

enum TKitListOperation { loInsert = 0, loDelete = 1 };

// A list of (code, data) method references.
class TKitTMethodList {
public:
    int Add(const TMethod& m);
    void Insert(int idx, const TMethod& m);
    void Delete(int idx);
    // Deletes the first equal entry; its former index or -1.
    int Remove(const TMethod& m);
    void Clear();
    void Assign(const TKitTMethodList& other);
    int IndexOf(const TMethod& m) const;
    bool Contains(const TMethod& m) const { return IndexOf(m) >= 0; }
    // Adds m when absent; its index.
    int Ensure(const TMethod& m);
    TMethod Items(int idx) const;
    int Count() const { return int(mlCode.size()); }
    int Capacity() const { return int(mlCode.capacity()); }
    std::vector<TMethod>::const_iterator begin() const { return mlCode.begin(); }
    std::vector<TMethod>::const_iterator end() const { return mlCode.end(); }

private:
    std::vector<TMethod> mlCode;  // code and data pairs kept together
};

template <class T>
class TKitIntListT;

// Enumerates indexes of a list and follows inserts and deletes made during
// the walk, so items before the current position neither repeat nor skip.
template <class T>
class TKitIntListWalkEnumeratorT {
public:
    TKitIntListWalkEnumeratorT(TKitIntListT<T>& list, int step, int idxTo, int idxFrom);
    ~TKitIntListWalkEnumeratorT();
    TKitIntListWalkEnumeratorT(const TKitIntListWalkEnumeratorT&) = delete;
    TKitIntListWalkEnumeratorT& operator=(const TKitIntListWalkEnumeratorT&) = delete;
    bool MoveNext();
    int Current() const { return ilweIndex; }
    void HandleListChange(TKitIntListT<T>* list, int idxItem, TKitListOperation operation);

private:
    int ilweIdxTo;
    int ilweIndex;
    TKitIntListT<T>* ilweList;
    int ilweStep;
};

// The index sequence of a walk, for range-for: for (int i : list.Walk()) ...
template <class T>
class TKitIntListWalk {
public:
    TKitIntListWalk(TKitIntListT<T>& list, int idxFrom, int idxTo, int step)
        : FEnum(std::make_unique<TKitIntListWalkEnumeratorT<T>>(list, step, idxTo, idxFrom))
    {
    }
    TKitIntListWalkEnumeratorT<T>& GetEnumerator() { return *FEnum; }
    struct iterator {
        TKitIntListWalkEnumeratorT<T>* E;
        bool AtEnd;
        int operator*() const { return E->Current(); }
        iterator& operator++()
        {
            AtEnd = !E->MoveNext();
            return *this;
        }
        bool operator!=(const iterator& o) const { return AtEnd != o.AtEnd; }
    };
    iterator begin() { return iterator{FEnum.get(), !FEnum->MoveNext()}; }
    iterator end() { return iterator{FEnum.get(), true}; }

private:
    std::unique_ptr<TKitIntListWalkEnumeratorT<T>> FEnum;
};

constexpr int CKitLastIndex = std::numeric_limits<int32_t>::max();

// An integer list (T = int32_t: TKitIntegerList, T = int64_t: TKitInt64List).
template <class T>
class TKitIntListT {
public:
    using TItem = T;
    TKitIntListT();
    explicit TKitIntListT(const std::vector<T>& items);
    virtual ~TKitIntListT();
    TKitIntListT(const TKitIntListT&) = delete;
    TKitIntListT& operator=(const TKitIntListT&) = delete;

    int Capacity() const { return int(ilList.capacity()); }
    virtual void SetCapacity(int value);
    int Count() const { return int(ilList.size()); }
    // Grows with zero items or drops items at the end.
    virtual void SetCount(int value);
    T Items(int idx) const;
    T operator[](int idx) const { return Items(idx); }
    virtual void SetItems(int idx, T value);
    TDuplicates Duplicates() const { return ilDuplicates; }
    void SetDuplicates(TDuplicates value) { ilDuplicates = value; }
    bool Sorted() const { return ilSorted; }
    void SetSorted(bool value);
    // Every item in decimal followed by CR LF.
    QString Text() const;
    // Clears, then adds one item per line (CR, LF or CR LF); a line that is no
    // number raises EConvertError, the items before it stay added.
    void SetText(const QString& value);

    virtual int Add(T item);
    void Append(const std::vector<T>& items);
    void Append(const TKitIntListT& list);
    void Assign(const std::vector<T>& items);
    void Assign(const TKitIntListT& list);
    virtual void Clear();
    virtual void Delete(int idx);
    // Writes count then items (both 8 bytes for 64-bit lists, both 4 bytes
    // for 32-bit ones; object lists: a 4-byte count, then item and object
    // pointer per entry); returns the address after the last.
    virtual uint8_t* Dump(uint8_t* baseAddress) const;
    int Ensure(T item);
    virtual void Exchange(int idx1, int idx2);
    bool Find(T value, int& idx) const;
    T First() const;
    virtual void Insert(int idx, T item);
    T Last() const;
    virtual bool LoadFromStream(QIODevice& stream);
    virtual void Move(int curIdx, int newIdx);
    int Remove(T item);
    virtual const uint8_t* Restore(const uint8_t* baseAddress);
    virtual void SaveToStream(QIODevice& stream) const;

    int IndexOf(T item) const;
    bool Contains(T item) const { return IndexOf(item) >= 0; }
    bool Contains(T item, int& idx) const
    {
        idx = IndexOf(item);
        return idx >= 0;
    }
    bool EqualTo(const TKitIntListT& other) const { return ilList == other.ilList; }
    void Sort();
    // Sorts an unsorted list with compare(idx1, idx2) < 0, 0, > 0.
    void CustomSort(const std::function<int(int, int)>& compare);
    QString AsDelimitedText(const QString& delimiter) const;
    QString AsHexText(const QString& delimiter = QString()) const;

    // Handlers are called as (list, index, operation) after every insert
    // and delete; make them with MakeMethod<&C::M, TKitIntListT<T>*, int,
    // TKitListOperation>(obj).
    void RegisterNotification(const TMethod& handler) { ilNotificationHandlers.Add(handler); }
    void UnregisterNotification(const TMethod& handler) { ilNotificationHandlers.Remove(handler); }

    typename std::vector<T>::const_iterator begin() const { return ilList.begin(); }
    typename std::vector<T>::const_iterator end() const { return ilList.end(); }
    // The items at idxFrom, idxFrom + step, ... up to idxTo (CKitLastIndex:
    // the last one), copied now.
    std::vector<T> Slice(int idxFrom, int idxTo = CKitLastIndex, int step = 1) const;
    // Indexes from idxFrom to idxTo, following changes made during the walk.
    TKitIntListWalk<T> Walk(int idxFrom = 0, int idxTo = CKitLastIndex, int step = 1)
    {
        return TKitIntListWalk<T>(*this, idxFrom, idxTo, step);
    }

protected:
    // The class name used in messages ("TKitIntegerList", "TKitInt64List").
    virtual const char* ListName() const;
    void Notify(int idx, TKitListOperation op);
    // Where Add puts item: the end of an unsorted list, its sorted place
    // otherwise; exists is set when dupIgnore finds it (dupError raises).
    int AddIndex(T item, bool& exists);
    void QuickSortAll();
    void QuickSort(int l, int r, const std::function<int(int, int)>& compare);

    TDuplicates ilDuplicates = dupIgnore;
    std::vector<T> ilList;
    TKitTMethodList ilNotificationHandlers;
    bool ilSorted = false;
};

// An integer list with an object per item, freed on removal when owned.
template <class T>
class TKitIntObjectListT : public TKitIntListT<T> {
public:
    explicit TKitIntObjectListT(bool ownsObjects = false);
    ~TKitIntObjectListT() override;

    int Add(T item) override { return AddObject(item, nullptr); }
    void Clear() override;
    void Delete(int idx) override;
    uint8_t* Dump(uint8_t* baseAddress) const override;
    void Exchange(int idx1, int idx2) override;
    void Insert(int idx, T item) override { InsertObject(idx, item, nullptr); }
    bool LoadFromStream(QIODevice& stream) override;
    void Move(int curIdx, int newIdx) override;
    const uint8_t* Restore(const uint8_t* baseAddress) override;
    void SaveToStream(QIODevice& stream) const override;
    void SetCount(int value) override;

    TWeftObject* GetObject(int idx) const;
    TWeftObject* Objects(int idx) const { return GetObject(idx); }
    virtual void SetObject(int idx, TWeftObject* value);
    virtual int AddObject(T item, TWeftObject* obj);
    virtual int EnsureObject(T item, TWeftObject* obj);
    // Ensures the item; creates its object with factory when it has none.
    virtual int EnsureObject(T item, const std::function<TWeftObject*()>& factory);
    TWeftObject* ExtractObject(int idx);
    TWeftObject* FetchObject(T item) const;
    void FreeObjects();
    virtual void InsertObject(int idx, T item, TWeftObject* obj);
    bool OwnsObjects() const { return iolOwnsObjects; }

    // (key, object) pairs; the key is the item as a 64-bit number.
    struct TKeyValue {
        int64_t kvKey = 0;
        TWeftObject* kvValue = nullptr;
    };
    // A walk that yields the refilled key-value entry of each index.
    class TWalkKV {
    public:
        TWalkKV(TKitIntObjectListT& list, int idxFrom, int idxTo, int step)
            : FList(list), FWalk(list, idxFrom, idxTo, step)
        {
        }
        bool MoveNext()
        {
            if (!FWalk.GetEnumerator().MoveNext())
                return false;
            const int i = FWalk.GetEnumerator().Current();
            FKV.kvKey = int64_t(FList.Items(i));
            FKV.kvValue = FList.GetObject(i);
            return true;
        }
        const TKeyValue& Current() const { return FKV; }

    private:
        TKitIntObjectListT& FList;
        TKitIntListWalk<T> FWalk;
        TKeyValue FKV;
    };
    std::unique_ptr<TWalkKV> WalkKV(int idxFrom = 0, int idxTo = CKitLastIndex, int step = 1)
    {
        return std::make_unique<TWalkKV>(*this, idxFrom, idxTo, step);
    }

protected:
    const char* ListName() const override;
    void CheckCounts(const char* operation) const;
    void FreeIfOwned(TWeftObject* obj);

    std::vector<TWeftObject*> iolObjects;
    bool iolOwnsObjects;
};

using TKitIntegerList = TKitIntListT<int32_t>;
using TKitInt64List = TKitIntListT<int64_t>;
using TKitIntegerObjectList = TKitIntObjectListT<int32_t>;
using TKitInt64ObjectList = TKitIntObjectListT<int64_t>;
using TKitIntegerListWalkEnumerator = TKitIntListWalkEnumeratorT<int32_t>;
using TKitInt64ListWalkEnumerator = TKitIntListWalkEnumeratorT<int64_t>;
using IKitIntegerList = std::shared_ptr<TKitIntegerList>;
using IKitInt64List = std::shared_ptr<TKitInt64List>;

// A 64-bit list filled from a 32-bit one (items sign-extended).
void AppendInt32(TKitInt64List& target, const TKitIntegerList& source);
void AssignInt32(TKitInt64List& target, const TKitIntegerList& source);

extern template class TKitIntListT<int32_t>;
extern template class TKitIntListT<int64_t>;
extern template class TKitIntObjectListT<int32_t>;
extern template class TKitIntObjectListT<int64_t>;
extern template class TKitIntListWalkEnumeratorT<int32_t>;
extern template class TKitIntListWalkEnumeratorT<int64_t>;
