#include "components/framed/FcIntegerList.h"

#include <utility>

void TFcIntegerList::CheckRange(int Value) const
{
    if (FMin != FMax && (Value < FMin || Value > FMax))
        throw EOutOfRange(QStringLiteral("Value must be within %1..%2").arg(FMin).arg(FMax));
}

void TFcIntegerList::SetMin(int Value)
{
    if (Value == FMin)
        return;
    for (int v : FList)
        if (v < Value)
            throw EOutOfRange(QStringLiteral("Unable to set new minimum value.\rList contains values below %1").arg(Value));
    FMin = Value;
    if (FMax < FMin)
        FMax = FMin;
}

void TFcIntegerList::SetMax(int Value)
{
    if (Value == FMax)
        return;
    for (int v : FList)
        if (v > Value)
            throw EOutOfRange(QStringLiteral("Unable to set new maximum value.\rList contains values above %1").arg(Value));
    FMax = Value;
    if (FMin > FMax)
        FMin = FMax;
}

void TFcIntegerList::SetSorted(bool Value)
{
    if (Value && !FSorted)
        Sort();
    FSorted = Value;
}

namespace {

void CheckIndex(int Index, size_t Count)
{
    if (Index < 0 || size_t(Index) >= Count)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

}  // namespace

int TFcIntegerList::Items(int Index) const
{
    CheckIndex(Index, FList.size());
    return FList[size_t(Index)];
}

void TFcIntegerList::SetItem(int Index, int Value)
{
    CheckIndex(Index, FList.size());
    CheckRange(Value);
    FList[size_t(Index)] = Value;
}

bool TFcIntegerList::Find(int Value, int& Index) const
{
    bool found = false;
    int lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (FList[size_t(mid)] < Value) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (FList[size_t(mid)] == Value) {
                found = true;
                if (FDuplicates != dupAccept)
                    lo = mid;
            }
        }
    }
    Index = lo;
    return found;
}

void TFcIntegerList::QuickSort(int L, int R)
{
    // Hoare partitioning about the middle item, then both parts
    int i = L, j = R;
    const int pivot = FList[size_t((L + R) / 2)];
    do {
        while (FList[size_t(i)] < pivot)
            ++i;
        while (FList[size_t(j)] > pivot)
            --j;
        if (i <= j) {
            std::swap(FList[size_t(i)], FList[size_t(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (L < j)
        QuickSort(L, j);
    if (i < R)
        QuickSort(i, R);
}

void TFcIntegerList::Sort()
{
    if (FSorted || Count() <= 1)
        return;
    QuickSort(0, Count() - 1);
}

int TFcIntegerList::Add(int Value)
{
    int index = Count();
    if (FSorted && Find(Value, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EListError(QStringLiteral("Duplicates not allowed"));
    }
    InsertNumber(index, Value);
    return index;
}

void TFcIntegerList::AddIntegers(const TFcIntegerList& List)
{
    for (int v : List.FList)
        Add(v);
}

void TFcIntegerList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FList.erase(FList.begin() + Index);
}

void TFcIntegerList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1, FList.size());
    CheckIndex(Index2, FList.size());
    std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
}

int TFcIntegerList::IndexOf(int Value) const
{
    if (FSorted) {
        int index;
        return Find(Value, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (FList[size_t(i)] == Value)
            return i;
    return -1;
}

void TFcIntegerList::Insert(int Index, int Value)
{
    if (FSorted)
        throw EListError(QStringLiteral("Operation not allowed on sorted list"));
    if (Index < 0 || Index > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    InsertNumber(Index, Value);
}

void TFcIntegerList::InsertNumber(int Index, int Value)
{
    CheckRange(Value);
    // with dupIgnore a value already held is silently dropped, also unsorted
    if (FDuplicates == dupIgnore && IndexOf(Value) >= 0)
        return;
    FList.insert(FList.begin() + Index, Value);
}

void TFcIntegerList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex, FList.size());
    CheckIndex(NewIndex, FList.size());
    const int v = FList[size_t(CurIndex)];
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, v);
}

void TFcIntegerList::Assign(const TFcIntegerList& Source)
{
    Clear();
    AddIntegers(Source);
}

void TFcIntegerList::ReadIntegers(const std::vector<int>& Values)
{
    Clear();
    for (int v : Values)
        Add(v);
}
