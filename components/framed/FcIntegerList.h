#pragma once
// A list of 32-bit integers with optional sorting, a duplicates policy and
// an optional inclusive range (none while Min equals Max).

#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"

#include <vector>

SORVEX_EXCEPTION_KIND(EOutOfRange, EListError)

class TFcIntegerList {
public:
    virtual ~TFcIntegerList() = default;
    int Count() const { return int(FList.size()); }
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    // An index outside the list raises the list error "List index out of bounds (%d)".
    int Items(int Index) const;
    virtual void SetItem(int Index, int Value);

    virtual bool Find(int Value, int& Index) const;
    virtual void Sort();
    virtual int Add(int Value);
    virtual void AddIntegers(const TFcIntegerList& List);
    virtual void Clear() { FList.clear(); }
    virtual void Delete(int Index);
    virtual void Exchange(int Index1, int Index2);
    virtual int IndexOf(int Value) const;
    virtual void Insert(int Index, int Value);
    virtual void InsertNumber(int Index, int Value);
    virtual void Move(int CurIndex, int NewIndex);
    bool Equals(const TFcIntegerList& Other) const { return FList == Other.FList; }
    void Assign(const TFcIntegerList& Source);
    // What a window stores: "Min", "Max" (when not 0) and "Integers".
    void ReadIntegers(const std::vector<int>& Values);

private:
    void CheckRange(int Value) const;
    void QuickSort(int L, int R);
    std::vector<int> FList;
    TDuplicates FDuplicates = dupIgnore;
    int FMin = 0;
    int FMax = 0;
    bool FSorted = false;
};
